// What the main window's remaining commands keep between runs, and the
// command functions the binding table names.
#pragma once

#include "platform/TStringList.h"

#include <QObject>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TForm1;

namespace vx::shell {

struct TLaunch;

class TCommandState : public QObject {
public:
    using QObject::QObject;

    // The assistant's tips, one per line of the tips file of TipsLanguage
    // (none before the first reading).
    TStringList Tips;
    std::optional<std::string> TipsLanguage;
    bool TipsStarted = false;
    std::mt19937 Random{std::random_device{}()};
    // The preview of an ASP page goes through the web server (the warning's choice).
    bool ThroughWebServer = false;
};

// The state of the form, made on first use.
TCommandState& CommandState(TForm1& form);

void BindDropTargets(TForm1& form);

// The plug-in manager's commands reach the Plug-ins menu and leave it with their plug-in.
void ConnectPluginManager(TForm1& form);
// "Load Plugins": the plug-ins of the manager's folder with the extension "plg".
void LoadPlugins(TForm1& form);

// A help index beside the program: in its folder or its data folder; "" when there is none.
std::string HelpFilePath(std::string_view name);
// Each says so when its help index is missing or no program could be started for it.
void OpenHelpIndex(TForm1& form);
void OpenVBScriptHelp(TForm1& form);
// Action name and address of each outside web link.
const std::vector<std::pair<const char*, const char*>>& WebLinks();
// Opens the address in the desktop's browser; says so, with the address, when none could be started.
void OpenWebLink(const std::string& url);
void PreviewInExternalBrowser(TForm1& form);
void PreviewInInternalBrowser(TForm1& form);
// True when the preview window's browser control has an engine to browse with.
bool InternalPreviewAvailable();
// The web server's root folder, as the preferences store keeps it (value
// "webroot"); empty when unknown.
std::string WebRoot();
// The preview warning's choice ("1": through the web server) becomes the preview's way.
void TakeWebServerChoice(TLaunch& launch);

} // namespace vx::shell
