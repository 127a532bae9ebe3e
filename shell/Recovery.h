// Recovery copies: while the program runs, the text of every editor that
// holds changes no file has is copied into a folder of the user's data folder
// a moment after the typing pauses, and the copy goes again once the text is
// saved or closed. A run that ends without removing its copies (killed, a
// crashing plug-in, a power cut) leaves them for the next start to offer.
#pragma once

#include "platform/TextEncoding.h"
#include "shell/DocumentFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vx::shell {

// Where an editor of the main window stands: document slot Number (1 to 5),
// or extra workspace Number.
struct TRecoveryPlace {
    bool Workspace = false;
    int Number = 0;
    bool operator==(const TRecoveryPlace&) const = default;
};

struct TRecoveryRecord {
    TRecoveryPlace Place;
    // The document's file; empty for text without one.
    std::string FileName;
    // The file as it was when its text was loaded or last saved.
    TFileStamp Stamp;
    // The text saving the document would write, in UTF-8, and how its file
    // stores it: kept apart, so that the text comes back as it was whatever
    // its bytes look like, and a character the encoding lacks with it.
    std::string Text;
    vx::TTextEncoding Encoding = vx::TTextEncoding::Utf8;
    bool ByteOrderMark = false;
};

std::string RecoveryBytes(const TRecoveryRecord& record);
// None for bytes that are no whole record (cut short, damaged, foreign, an
// encoding of another name, a text that is not well-formed UTF-8). A record of
// an earlier version kept the file's bytes only: they are read as the file
// would be.
std::optional<TRecoveryRecord> ParseRecovery(std::string_view bytes);

class TLeftRecovery;

// This run's copies. The run's folder is made with the first copy and locked
// for as long as the run lasts; the lock dies with the process, however it ends.
class TRecoveryKeeper {
public:
    using TMakeRecord = std::function<TRecoveryRecord()>;

    // root: the folder every run keeps its copies in. pause: looks without a
    // change before a copy is written.
    TRecoveryKeeper(std::string root, int pause);
    // Removes the run's copies and the earlier ones it took over: the user
    // has decided about the texts.
    ~TRecoveryKeeper();
    TRecoveryKeeper(const TRecoveryKeeper&) = delete;
    TRecoveryKeeper& operator=(const TRecoveryKeeper&) = delete;

    // One look at an editor (key) that stands at place: unsaved tells whether
    // it holds text no file has, changes is its change count. Its copy is
    // written (make gives what) once the count has rested for the pause, or at
    // once with flush; an editor without unsaved text loses its copy. Raises
    // the file errors of writing.
    void Look(const void* key, TRecoveryPlace place, bool unsaved, std::uint64_t changes, bool flush,
              const TMakeRecord& make);
    // The editor's text was saved or closed: its copy goes now.
    void Drop(const void* key, TRecoveryPlace place);
    // Once a run: the editors (keys) hold the texts of copies earlier runs
    // left (their paths, found by left). Each such copy goes as soon as a copy
    // of its editor is written here, or when the editor loses its own copy
    // (saved, closed, no unsaved text), or with the run; left, with the locks
    // of those runs, lasts until the last of them is gone, so that no other
    // start offers them meanwhile.
    void Adopt(std::unique_ptr<TLeftRecovery> left, const std::vector<std::pair<const void*, std::string>>& copies);
    // The run's folder; empty until the first copy was written.
    const std::string& Folder() const { return folder_; }
    // Whether the last copy the run tried to write failed.
    bool Failing() const { return failing_; }

private:
    struct TState {
        std::uint64_t Seen = 0;
        std::uint64_t Written = 0;
        // The change count whose copy could not be written.
        std::optional<std::uint64_t> Failed;
        int Quiet = 0;
        bool HasCopy = false;
        // The earlier run's copy the editor's text was restored from, while it stays.
        std::string Earlier;
    };
    void Write(const TRecoveryRecord& record);
    void Remove(TRecoveryPlace place);
    void RemoveEarlier(TState& state);

    std::string root_;
    int pause_;
    std::string folder_;
    int lock_ = -1;
    bool failing_ = false;
    std::unordered_map<const void*, TState> states_;
    std::unique_ptr<TLeftRecovery> left_;
};

// The copies earlier runs left behind. Each such run's folder stays locked
// while this object lasts, so that no other start offers it too.
class TLeftRecovery {
public:
    struct TCopy {
        std::string Path;
        TRecoveryRecord Record;
    };

    // Finds the folders of runs that ended without removing them. A copy
    // whose writing was cut off once it was whole holds the latest text of
    // its place, and is offered in place of the one it was to replace.
    // Every other file in them than a whole copy (one that ParseRecovery
    // refuses, or a write the run did not finish) is moved to
    // DamagedFolder(root), never removed; folders left without a copy to
    // offer are removed at once.
    explicit TLeftRecovery(const std::string& root);
    ~TLeftRecovery();
    TLeftRecovery(const TLeftRecovery&) = delete;
    TLeftRecovery& operator=(const TLeftRecovery&) = delete;

    // In the order of their places: slots first, then workspaces.
    const std::vector<TCopy>& Copies() const { return copies_; }
    // Where the files that were no whole copy are kept now: in the damaged
    // folder, or where they were when they could not be moved (their run's
    // folder then stays, and a later start tries again).
    const std::vector<std::string>& SetAside() const { return setAside_; }
    // The copy at the path is restored or given up: it goes.
    void Remove(std::string path);
    // Removes the folders whose copies are all gone.
    void Tidy();

private:
    struct TRun {
        std::string Folder;
        int Lock;
    };

    void Scan(const std::string& root, const TRun& run);

    std::vector<TRun> runs_;
    std::vector<TCopy> copies_;
    std::vector<std::string> setAside_;
};

// The folder the runs keep their copies in: "recovery" in the user's data folder.
std::string RecoveryRoot();
// Where copies that cannot be read whole are kept: "damaged" in root, a
// folder no start offers or tidies.
std::string DamagedFolder(const std::string& root);

} // namespace vx::shell
