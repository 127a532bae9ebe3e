// Connects to a data source that no configuration names, without asking the
// driver for one: the driver manager refuses, and the error is shown as the
// program shows an error no window catches.
#pragma once

#include "database/mSession.h"
#include "platform/qt/Application.h"

namespace vx::test {

inline void ConnectToMissingDataSource()
{
    vx::DeliverShowingExceptions([] {
        TmDataBase missing;
        missing.SetDataBaseName("missing_dsn");
        missing.DriverCompletion = sdNoPrompt;
        missing.Connect();
        return true;
    });
}

} // namespace vx::test
