#include "platform/FileHold.h"

#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <initializer_list>

namespace vx {

namespace {

const TWording SavedByAnother{
    "Cannot write file %1: another program is saving or reading it. Saving again in a moment will work."};
const TWording BeingSaved{
    "Cannot open file %1 now: another program is saving it. Opening it again in a moment will work."};
const TWording NotLocked{"Cannot lock %1 (%2), nor in %3 (%4): another program saving it at the same time is "
                         "not kept from it"};

// The file in the data folder whose bytes stand for the files held.
constexpr const char* HoldsName = "file-holds";

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

enum class TLocking { Held, Refused, Unavailable };

TLocking LockFile(int fd, TFileHold::TUse use, int& error)
{
    if (::flock(fd, (use == TFileHold::TUse::Writing ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0)
        return TLocking::Held;
    error = errno;
    return error == EWOULDBLOCK ? TLocking::Refused : TLocking::Unavailable;
}

// The byte that stands for a file: its device and inode mixed (splitmix64),
// within the offsets a lock may take. Two files meeting on one byte would
// only keep each other's saves apart.
off_t PlaceOf(const struct stat& file)
{
    std::uint64_t x = static_cast<std::uint64_t>(file.st_dev) * 0x9E3779B97F4A7C15u ^ file.st_ino;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return static_cast<off_t>((x ^ (x >> 31)) >> 2);
}

// Locks the file's byte in the data folder's lock file through an open file
// description of its own, as two holds in one program are two holders.
TLocking LockIdentity(const struct stat& file, TFileHold::TUse use, TFileDescriptor& lock, int& error)
{
    TFileDescriptor holds(::open(JoinPath(DataFolder(), HoldsName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!holds.IsOpen()) {
        error = errno;
        return TLocking::Unavailable;
    }
    struct flock range {};
    range.l_type = use == TFileHold::TUse::Writing ? F_WRLCK : F_RDLCK;
    range.l_whence = SEEK_SET;
    range.l_start = PlaceOf(file);
    range.l_len = 1;
    if (::fcntl(holds.Get(), F_OFD_SETLK, &range) == 0) {
        lock = std::move(holds);
        return TLocking::Held;
    }
    error = errno;
    return error == EAGAIN || error == EACCES ? TLocking::Refused : TLocking::Unavailable;
}

[[noreturn]] void Refuse(const std::string& path, TFileHold::TUse use)
{
    if (use == TFileHold::TUse::Writing)
        throw EHeldByAnother(TMessage(SavedByAnother, {path}));
    throw EFOpenError(TMessage(BeingSaved, {path}));
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
        TFileDescriptor identityLock;
        int identityError = 0;
        int fileError = 0;
        const TLocking byIdentity = LockIdentity(st, use, identityLock, identityError);
        if (byIdentity == TLocking::Refused)
            Refuse(path, use);
        const TLocking byFile = LockFile(fd.Get(), use, fileError);
        if (byFile == TLocking::Refused)
            Refuse(path, use);
        if (!NamesFile(target_, fd.Get()))
            continue;
        if (byIdentity == TLocking::Unavailable && byFile == TLocking::Unavailable)
            unguarded_ = TMessage(NotLocked, {path, std::string(std::strerror(fileError)), DataFolder(),
                                              std::string(std::strerror(identityError))});
        fd_ = std::move(fd);
        identityLock_ = std::move(identityLock);
        return;
    }
    // Saved over again and again while it was being taken: held by others.
    Refuse(path, use);
}

bool NamesFile(const std::string& path, int fd)
{
    struct stat named {}, open {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

} // namespace vx
