// Start-up work of the component units.
#include "controls/common/StartupUnits.h"

#include "controls/common/RXConst.h"

#include <QCoreApplication>
#include <QTimer>

namespace vx {

namespace {

QTimer* gDesignTimer = nullptr;
TOSVersion gOSVersion;

} // namespace

void InitializeComponentUnits()
{
    if (gDesignTimer)
        return;
    RegisterRxCursors();
    // Owned by the application so that it goes with it at shut-down.
    gDesignTimer = new QTimer(QCoreApplication::instance());
    gDesignTimer->setInterval(60000);
    QObject::connect(gDesignTimer, &QObject::destroyed, [] { gDesignTimer = nullptr; });
    gOSVersion = ReadOSVersion();
}

QTimer* DesignTimer()
{
    return gDesignTimer;
}

const TOSVersion& OSVersion()
{
    return gOSVersion;
}

} // namespace vx
