#include "platform/FileHold.h"

#include "platform/Exception.h"
#include "platform/FileIO.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <initializer_list>

namespace vx {

namespace {

const TWording SavedByAnother{"Cannot write file %1: another program is saving or reading it"};
const TWording BeingSaved{"Cannot open file %1 now: another program is saving it"};

// How a holder opens the file: a writer for reading and writing where it
// may (an in-place save writes through the descriptor it holds), for either
// alone where it may not; a reader for reading.
int OpenToHold(const std::string& target, TFileHold::TUse use, bool& readable)
{
    const std::initializer_list<int> writer = {O_RDWR, O_RDONLY, O_WRONLY};
    const std::initializer_list<int> reader = {O_RDONLY};
    for (const int access : use == TFileHold::TUse::Writing ? writer : reader) {
        // Not blocking: a name may lead to a pipe.
        const int fd = ::open(target.c_str(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) {
            readable = access != O_WRONLY;
            return fd;
        }
        if (errno != EACCES && errno != EPERM && errno != ETXTBSY)
            return -1;
    }
    return -1;
}

} // namespace

TFileHold::TFileHold(const std::string& path, TUse use) : path_(path), target_(LinkTarget(path))
{
    // A save renames its file over the name while it holds the one it
    // replaces: held once that save is done, the name leads elsewhere.
    for (int attempt = 0; attempt < 8; ++attempt) {
        TFileDescriptor fd(OpenToHold(target_, use, readable_));
        struct stat st {};
        if (!fd.IsOpen() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
            return;
        if (::flock(fd.Get(), (use == TUse::Writing ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            if (use == TUse::Writing)
                throw EWriteError(TMessage(SavedByAnother, {path}));
            throw EFOpenError(TMessage(BeingSaved, {path}));
        }
        if (NamesFile(target_, fd.Get())) {
            fd_ = std::move(fd);
            return;
        }
    }
    readable_ = false;
}

bool NamesFile(const std::string& path, int fd)
{
    struct stat named {}, open {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

} // namespace vx
