// The texts of the main window's two status bars, made from a snapshot of
// what they show: the clock, the user, the network state and the focused
// editor. Free of any window, so every panel can be checked without one.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>

namespace vx::shell {

// A keyboard lock as the keyboard reports it. A lock whose key is held down
// keeps its panel; Unknown (no keyboard state to read) leaves the panel empty.
enum class TKeyLock { Unknown, Off, On, Held };

struct TEditorStatus {
    int CaretLine = 1;   // 1-based
    int CaretColumn = 1; // 1-based
    int LineLength = 0;  // characters of the caret line
    bool Modified = false;
    bool ReadOnly = false;
    bool InsertMode = true;
};

struct TStatusSnapshot {
    std::string TimeOfDay;
    std::string Date;
    std::string LoginName; // as the account database gives it
    // The address watcher's view; none while no watcher is plugged in.
    struct TAddress {
        std::string CurrentIP;
        bool Online = false;
    };
    std::optional<TAddress> Address;
    // The focused editor; none when no editor has the focus.
    std::optional<TEditorStatus> Editor;
    TKeyLock NumLock = TKeyLock::Unknown;
    TKeyLock CapsLock = TKeyLock::Unknown;
    std::chrono::steady_clock::duration ProjectElapsed{};
};

inline constexpr int MainPanelCount = 5;
inline constexpr int DocPanelCount = 7;
using TMainPanels = std::array<std::string, MainPanelCount>;
using TDocPanels = std::array<std::string, DocPanelCount>;

// The layout texts the panels show before the first refresh.
const TMainPanels& MainPanelLayout();
// The same in the current language.
TMainPanels CurrentMainPanelLayout();
const TDocPanels& DocPanelLayout();

// Clock, date, user, address and online state.
TMainPanels MainPanelTexts(const TStatusSnapshot& snapshot);
// The document panels; with no focused editor they keep previous, and a held
// lock key keeps its panel's previous text.
TDocPanels DocPanelTexts(const TStatusSnapshot& snapshot, const TDocPanels& previous);

// The name of the account the program runs as, from the account database;
// empty when it has no entry there.
std::string AccountUserName();
// The user name for the panel: empty when longer than 20 characters, else
// with its first letter (a to z) upper-cased.
std::string UserNamePanel(const std::string& loginName);
// Hours, minutes and seconds of elapsed time, hours going on past 24.
std::string ElapsedText(std::chrono::steady_clock::duration elapsed);

} // namespace vx::shell
