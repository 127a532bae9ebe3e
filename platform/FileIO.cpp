#include "platform/FileIO.h"

#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/WholeCopies.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <thread>
#include <utility>
#include <vector>

namespace vx {

const TWording CannotOpenFile{"Cannot open file %1: %2"};

namespace {

constexpr std::size_t TempSuffixLength = 6;
// The longest marker a helper's name takes.
constexpr std::size_t LongestMarker = WholeCopyMarker.size();
constexpr std::string_view KeptAsideMarker = ".vxold-";
// How long a save waits for another program's save of the same file: such a
// save takes a moment, and a program stopped while it holds the file must not
// hang the window.
constexpr std::chrono::seconds LockPatience{5};

const TWording CannotRead{"Cannot read file %1: %2"};
const TWording CannotCreate{"Cannot create file %1: %2"};
const TWording CannotWrite{"Cannot write file %1: %2"};
const TWording CannotWriteKept{"Cannot write file %1: %2; the text is kept in %3"};
const TWording AnotherSaveUnderWay{"Cannot write file %1: another program is saving it"};
const TWording CannotMove{"Cannot move %1: %2"};
const TWording CannotMoveTo{"Cannot move %1 to %2: %3"};

bool writeAll(int fd, std::string_view data)
{
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool writeAll(int fd, std::span<const std::string_view> pieces)
{
    return std::all_of(pieces.begin(), pieces.end(), [fd](std::string_view piece) { return writeAll(fd, piece); });
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether path still names the file open as fd.
bool namesFile(const std::string& path, int fd)
{
    struct stat named {}, open {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

// Creates the temporary a write of target goes through, locked for as long
// as it is open, so that no open of the file takes it for one a killed write
// left: its descriptor, or -1 with errno set.
int createTemporary(const std::string& target, std::string& tmp)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        tmp = HelperStem(target) + std::string(WriteTemporaryMarker) + std::string(TempSuffixLength, 'X');
        const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        ::flock(fd, LOCK_EX);
        // Before it was locked, an open may have found it empty and removed it.
        if (namesFile(tmp, fd))
            return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Takes the file's lock for a write in place, waiting while another
// program's save holds it; false when that save takes too long. A file
// system without locks writes unlocked.
bool lockForWriting(int fd)
{
    const auto deadline = std::chrono::steady_clock::now() + LockPatience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Whether a temporary open as fd, left by a killed write of target, holds
// nothing the file does not: nothing, or the text the file holds.
bool holdsNothingMore(int fd, const std::string& target)
{
    const std::optional<TTextDigest> left = TextHeldBy(fd);
    if (!left || left->Length == 0)
        return left.has_value();
    const int file = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    const bool same = file >= 0 && TextHeldBy(file) == left;
    if (file >= 0)
        ::close(file);
    return same;
}

// Removes an index entry (none: empty) once the copy it files is gone: a
// crash in between leaves an entry to no copy, which the next look drops,
// never a copy that only its own name finds.
void unfile(const std::string& entry)
{
    if (!entry.empty())
        ::unlink(entry.c_str());
}

// A write that fails before the file changed: the text is still the
// editor's alone, and nothing of the write stays behind.
[[noreturn]] void abandon(TMessage reason, const std::string& tmp, int tmpFd, const std::string& entry, int file)
{
    if (file >= 0)
        ::close(file);
    ::unlink(tmp.c_str());
    ::close(tmpFd);
    unfile(entry);
    throw EWriteError(std::move(reason));
}

// Cuts the file open for writing to nothing and writes data into it; the
// descriptor keeps the inode. A write that stops half way leaves the start
// of data, which tells that the file is the copy's, whatever else is known.
bool cutAndWrite(int fd, std::span<const std::string_view> data)
{
    return ::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
}

// While the file is rewritten it holds part of its old text or of the new
// one: a whole copy of the new text must then outlive a crash, and be
// offered when the file is opened again by any of its names. The new text
// goes into the temporary (tmp, open as tmpFd) first; then, with the file
// locked against other programs' saves, the old text and the new one are
// filed under the file's identity, the temporary is flushed and named as the
// copy, and the file is cut and written. The identity is the one the file
// has once open for writing, which may be another than before (overlayfs
// copies the file up).
void rewriteKeepingCopy(const std::string& path, const std::string& target, const std::string& tmp, int tmpFd,
                        std::span<const std::string_view> data)
{
    if (!writeAll(tmpFd, data))
        abandon(SystemFailure(CannotWrite, {path}), tmp, tmpFd, {}, -1);
    // The disk may take the text while the texts are hashed.
    ::sync_file_range(tmpFd, 0, 0, SYNC_FILE_RANGE_WRITE);
    int file = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    const bool readable = file >= 0;
    if (!readable)
        file = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (file < 0)
        abandon(SystemFailure(CannotWrite, {path}), tmp, tmpFd, {}, -1);
    if (!lockForWriting(file))
        abandon(TMessage(AnotherSaveUnderWay, {path}), tmp, tmpFd, {}, file);
    const std::string tag = tmp.substr(tmp.size() - TempSuffixLength);
    const std::string copy = WholeCopyName(target, tag);
    TFileIdentity identity;
    std::string entry;
    if (IdentityOfOpenFile(file, identity))
        entry = FileCopyUnder(identity, tag, copy, DigestOf(data), readable ? TextHeldBy(file) : std::nullopt);
    if (::fsync(tmpFd) != 0 || !RenameNoReplace(tmp, copy))
        abandon(SystemFailure(CannotWrite, {path}), tmp, tmpFd, entry, file);
    ::close(tmpFd);
    SyncFolder(folderOf(target));
    const bool written = cutAndWrite(file, data);
    const int error = errno;
    ::close(file);
    if (!written)
        throw EWriteError(TMessage(CannotWriteKept, {path, std::string(std::strerror(error)), copy}));
    ::unlink(copy.c_str());
    unfile(entry);
}

} // namespace

std::string ReadWholeFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(SystemFailure(CannotOpenFile, {path}));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EFOpenError(SystemFailure(CannotOpenFile, {path}, EISDIR));
    }
    std::string data;
    if (st.st_size > 0)
        data.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            TMessage message = SystemFailure(CannotRead, {path});
            ::close(fd);
            throw EReadError(std::move(message));
        }
        if (n == 0)
            break;
        data.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return data;
}

std::string LinkTarget(const std::string& path)
{
    std::string current = path;
    // The system's own limit on nested links; a loop ends here too.
    for (int depth = 0; depth < 40; ++depth) {
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0)
            return current;
        std::string next(buf, static_cast<size_t>(n));
        if (next.empty() || next.front() != '/')
            next = folderOf(current) + "/" + next;
        current = std::move(next);
    }
    return current;
}

bool IsWriteTemporary(std::string_view name)
{
    const size_t at = name.rfind(WriteTemporaryMarker);
    return at != std::string_view::npos && at > 0 && name.size() - at - WriteTemporaryMarker.size() == TempSuffixLength;
}

std::string HelperStem(const std::string& file)
{
    const std::string folder = folderOf(file);
    const std::string name = nameOf(file);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const size_t longest = (limit > 0 ? static_cast<size_t>(limit) : NAME_MAX) - LongestMarker - TempSuffixLength;
    if (name.size() <= longest)
        return file;
    size_t cut = longest;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return file.substr(0, file.size() - name.size() + cut);
}

std::vector<std::string> TidyLeftTemporaries(const std::string& path)
{
    const std::string target = LinkTarget(path);
    const std::string prefix = nameOf(HelperStem(target)) + std::string(WriteTemporaryMarker);
    std::vector<std::string> kept;
    for (std::string& temporary : EntriesStartingWith(folderOf(target), prefix)) {
        if (nameOf(temporary).size() != prefix.size() + TempSuffixLength || !IsOwnFile(temporary))
            continue;
        const int fd = ::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Held while it is looked at, so that no write takes it meanwhile.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && namesFile(temporary, fd)) {
            if (holdsNothingMore(fd, target))
                ::unlink(temporary.c_str());
            else
                kept.push_back(std::move(temporary));
        }
        ::close(fd);
    }
    return kept;
}

std::string KeptAsideName(const std::string& helper)
{
    std::string aside = helper;
    for (const std::string_view marker : {WholeCopyMarker, WriteTemporaryMarker}) {
        const size_t at = aside.rfind(marker);
        if (at != std::string::npos && aside.size() - at - marker.size() == TempSuffixLength)
            return aside.replace(at, marker.size(), KeptAsideMarker);
    }
    return aside;
}

void KeepAside(const std::string& helper)
{
    const std::string aside = KeptAsideName(helper);
    if (aside == helper)
        throw EWriteError(SystemFailure(CannotMove, {helper}, EINVAL));
    if (!RenameNoReplace(helper, aside)) {
        const int error = errno;
        throw EWriteError(SystemFailure(CannotMoveTo, {helper, aside}, error));
    }
    SyncFolder(folderOf(aside));
}

bool RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // File systems that cannot tell: the names are all but unique.
    return errno == EINVAL && ::rename(from.c_str(), to.c_str()) == 0;
}

void WriteFileAtomic(const std::string& path, std::string_view data, TFileAccess access)
{
    WriteFileAtomic(path, std::span(&data, 1), access);
}

void WriteFileAtomic(const std::string& path, std::span<const std::string_view> data, TFileAccess access)
{
    const std::string target = LinkTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw EFCreateError(SystemFailure(CannotCreate, {path}, EISDIR));
        // A file without any write permission is read-only for everybody, as
        // a read-only file is where the program comes from, root included.
        if (::access(target.c_str(), W_OK) != 0)
            throw EFCreateError(SystemFailure(CannotCreate, {path}));
        if ((old.st_mode & 0222) == 0)
            throw EFCreateError(SystemFailure(CannotCreate, {path}, EACCES));
    }

    std::string tmp;
    const int fd = createTemporary(target, tmp);
    if (fd < 0)
        throw EFCreateError(SystemFailure(CannotCreate, {path}));
    mode_t mode = 0666;
    if (exists)
        mode = old.st_mode & 07777;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (access == TFileAccess::OwnerOnly)
        mode = S_IRUSR | S_IWUSR;
    // A rename would give the file a new identity: other hard links would keep
    // the old text, and a file of another owner would change hands.
    bool inPlace = exists && old.st_nlink > 1;
    if (exists && !inPlace && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        inPlace = ::fchown(fd, old.st_uid, old.st_gid) != 0;
    if (inPlace) {
        // The temporary becomes the whole copy, which its owner must be able
        // to read back whatever the file allows.
        ::fchmod(fd, mode | S_IRUSR | S_IWUSR);
        rewriteKeepingCopy(path, target, tmp, fd, data);
    } else {
        ::fchmod(fd, mode);
        // Renamed while it is still open, and so locked: no open takes it meanwhile.
        if (!writeAll(fd, data) || ::fsync(fd) != 0 ||
            ::renameat(AT_FDCWD, tmp.c_str(), AT_FDCWD, target.c_str()) != 0)
            abandon(SystemFailure(CannotWrite, {path}), tmp, fd, {}, -1);
        ::close(fd);
    }
    TidyLeftTemporaries(target);
}

std::vector<std::string> EntriesStartingWith(const std::string& folder, std::string_view prefix)
{
    return EntriesWhere(folder, [prefix](std::string_view name, std::uint64_t) { return name.starts_with(prefix); });
}

std::vector<std::string> EntriesWhere(const std::string& folder,
                                      const std::function<bool(std::string_view, std::uint64_t)>& takes)
{
    std::vector<std::string> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (takes(name, entry->d_ino))
            found.push_back(folder + "/" + std::string(name));
    }
    ::closedir(dir);
    return found;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool IsOwnFile(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

TMessage SystemFailure(const TWording& wording, std::vector<TMessage> names, int error)
{
    names.emplace_back(std::strerror(error));
    return TMessage(wording, std::move(names));
}

} // namespace vx
