// A file held against other programs' saves for as long as the object lasts:
// an advisory lock on the file a path names (symbolic links followed), shared
// by readers, and one writer's alone. It is taken at once or not at all, so
// that no window ever waits on another program: a save or an open that finds
// the file held says so, and the user tries again. Every save of a file and
// every open of a document holds it, so that no save writes over another's
// that it did not see, and no open judges a file half written.
//
// Nothing is held where there is no file yet, where it cannot be opened (the
// reader or writer then says why), or on a file system without locks.
#pragma once

#include "platform/FileDescriptor.h"

#include <string>

namespace vx {

class TFileHold {
public:
    enum class TUse { Reading, Writing };

    // Raises EWriteError "Cannot write file <path>: another program is
    // saving or reading it" when held for writing, or EFOpenError "Cannot
    // open file <path> now: another program is saving it" when held for
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

private:
    std::string path_;
    std::string target_;
    TFileDescriptor fd_;
    bool readable_ = false;
};

// Whether path still names the file open as fd: a save may have renamed
// another file over the name since it was opened.
bool NamesFile(const std::string& path, int fd);

} // namespace vx
