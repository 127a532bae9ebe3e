// A file held against other programs' saves for as long as the object lasts,
// shared by readers, and one writer's alone. It is taken at once or not at
// all, so that no window ever waits on another program: a save or an open
// that finds the file held says so, and the user tries again. Every save of
// a file and every open of a document holds it, so that no save writes over
// another's that it did not see, and no open judges a file half written.
//
// Two locks hold it, and another program is kept out by either: an advisory
// lock on the file itself (symbolic links followed), which every program
// taking such locks meets; and a lock in the user's data folder keyed by the
// file's identity (device and inode), which every running instance of this
// program meets whatever the file's own file system does with the first (a
// FUSE file system that locks each name apart, NFS without a lock daemon).
// Not kept out: another user's instance on such a file system, and a program
// that takes no lock.
//
// Nothing is held where there is no file yet, or where it cannot be opened
// (the reader or writer then says why). Where neither lock can be had, the
// file is held against nobody, and Unguarded says why.
#pragma once

#include "platform/Exception.h"
#include "platform/FileDescriptor.h"

#include <optional>
#include <string>

namespace vx {

// A save refused because another program holds the file.
VX_DECLARE_EXCEPTION(EHeldByAnother, EWriteError);

class TFileHold {
public:
    enum class TUse { Reading, Writing };

    // Raises EHeldByAnother "Cannot write file <path>: another program is
    // saving or reading it…" when held for writing, or EFOpenError "Cannot
    // open file <path> now: another program is saving it…" when held for
    // reading, where another program holds the file.
    TFileHold(const std::string& path, TUse use);

    // The name the file was held by, and the file it leads to.
    const std::string& Path() const { return path_; }
    const std::string& Target() const { return target_; }
    // The file held, open for reading or writing as the user may, and as
    // the use needs (held for writing: both where allowed); -1 where nothing
    // is held.
    int Descriptor() const { return fd_.Get(); }
    bool Readable() const { return readable_; }
    // Why the file is held against nobody: neither lock could be had. None
    // where one was, or where nothing is held.
    const std::optional<TMessage>& Unguarded() const { return unguarded_; }

private:
    std::string path_;
    std::string target_;
    TFileDescriptor fd_;
    // The data folder's lock file, open with the file's range locked.
    TFileDescriptor identityLock_;
    bool readable_ = false;
    std::optional<TMessage> unguarded_;
};

// Whether path still names the file open as fd: a save may have renamed
// another file over the name since it was opened.
bool NamesFile(const std::string& path, int fd);

} // namespace vx
