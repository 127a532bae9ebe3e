// The status bars' texts.
#include "shell/StatusText.h"

#include "localisation/RunTimeText.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace vx::shell {

namespace {

// The panels' words, in the current language.
const TRunTimeText AddressLayout{" IP-Address"};
const TRunTimeText OnlineLayout{"Online status"};
const TRunTimeText Online{"Online"};
const TRunTimeText Offline{"Offline"};
const TRunTimeText ProjectTime{"Project time : "};
const TRunTimeText Modified{"Modified"};
const TRunTimeText UnModified{"Un-Modified"};
const TRunTimeText ReadOnly{"Read Only"};
const TRunTimeText ReadAndWrite{"Read & Write"};
const TRunTimeText Insert{"Insert"};
const TRunTimeText Overwrite{"Overwrite"};

// The longest name the panel shows; a longer one shows nothing at all.
constexpr std::size_t MaxUserName = 20;

std::string LockText(TKeyLock lock, const char* on, const std::string& previous)
{
    switch (lock) {
    case TKeyLock::On:
        return on;
    case TKeyLock::Held:
        return previous;
    case TKeyLock::Off:
    case TKeyLock::Unknown:
        break;
    }
    return {};
}

} // namespace

const TMainPanels& MainPanelLayout()
{
    static const TMainPanels layout{"", "", "", AddressLayout.English(), OnlineLayout.English()};
    return layout;
}

TMainPanels CurrentMainPanelLayout()
{
    return {"", "", "", AddressLayout(), OnlineLayout()};
}

const TDocPanels& DocPanelLayout()
{
    static const TDocPanels layout{"0000:0000:0000", "NUM", "CAPS", "Session time: 00:00:00", "Modified", "Overwrite",
                                   ""};
    return layout;
}

std::string AccountUserName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_name)
        return {};
    return found->pw_name;
}

std::string UserNamePanel(const std::string& loginName)
{
    if (loginName.size() > MaxUserName)
        return {};
    std::string name = loginName;
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

std::string ElapsedText(std::chrono::steady_clock::duration elapsed)
{
    using namespace std::chrono;
    const long long total = std::max<long long>(duration_cast<seconds>(elapsed).count(), 0);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    return text;
}

TMainPanels MainPanelTexts(const TStatusSnapshot& snapshot)
{
    TMainPanels panels;
    panels[0] = snapshot.TimeOfDay;
    panels[1] = snapshot.Date;
    panels[2] = UserNamePanel(snapshot.LoginName);
    if (snapshot.Address) {
        panels[3] = snapshot.Address->CurrentIP;
        panels[4] = snapshot.Address->Online ? Online() : Offline();
    }
    return panels;
}

TDocPanels DocPanelTexts(const TStatusSnapshot& snapshot, const TDocPanels& previous)
{
    if (!snapshot.Editor)
        return previous;
    const TEditorStatus& editor = *snapshot.Editor;
    TDocPanels panels;
    panels[0] = std::to_string(editor.CaretLine) + ":" + std::to_string(editor.CaretColumn) + ":" +
                std::to_string(editor.LineLength);
    panels[1] = LockText(snapshot.NumLock, "NUM", previous[1]);
    panels[2] = LockText(snapshot.CapsLock, "CAPS", previous[2]);
    panels[3] = ProjectTime() + ElapsedText(snapshot.ProjectElapsed);
    panels[4] = editor.Modified ? Modified() : UnModified();
    panels[5] = editor.ReadOnly ? ReadOnly() : ReadAndWrite();
    panels[6] = editor.InsertMode ? Insert() : Overwrite();
    return panels;
}

} // namespace vx::shell
