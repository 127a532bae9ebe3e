// The names the main window's messages give documents.
#include "shell/qt/mainwindow/DocumentNames.h"

#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"

namespace vx::shell {

namespace {

const TRunTimeText WorkspaceWithoutFile{"Workspace %1 (no file)"};
const TRunTimeText DocumentWithoutFile{"Document %1 (no file)"};

} // namespace

std::string DocumentName(const std::string& fileName, bool workspace, int number)
{
    if (!fileName.empty())
        return vx::PathText(fileName);
    return (workspace ? WorkspaceWithoutFile : DocumentWithoutFile)({std::to_string(number)});
}

} // namespace vx::shell
