#include "platform/FileIO.h"

#include "platform/CopyIndex.h"
#include "platform/Exception.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace vx {

namespace {

constexpr std::string_view TempMarker = ".vxtmp-";
constexpr std::string_view CopyMarker = ".vxcopy-";
constexpr std::string_view SetAsideMarker = ".vxold-";
constexpr std::size_t TempSuffixLength = 6;

const TWording CannotOpen{"Cannot open file %1: %2"};
const TWording CannotRead{"Cannot read file %1: %2"};
const TWording CannotCreate{"Cannot create file %1: %2"};
const TWording CannotWrite{"Cannot write file %1: %2"};
const TWording CannotWriteKept{"Cannot write file %1: %2; the text is kept in %3"};
const TWording CannotMove{"Cannot move %1: %2"};
const TWording CannotMoveTo{"Cannot move %1 to %2: %3"};

// The failure with the system's reason for error after the names.
TMessage failure(const TWording& wording, std::vector<TMessage> names, int error = errno)
{
    names.emplace_back(std::strerror(error));
    return TMessage(wording, std::move(names));
}

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

// Rewrites the file open for writing with data; the descriptor keeps the
// inode. Cut to its new length only once the text is in: a write that stops
// half way leaves as much of the file as it can.
bool overwriteInPlace(int fd, std::string_view data)
{
    const bool ok = writeAll(fd, data) && ::ftruncate(fd, static_cast<off_t>(data.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 && ok)
        return false;
    errno = error;
    return ok;
}

// What tells the copies of one file apart: the end of a whole copy's name.
std::string tagOf(const std::string& copy)
{
    return copy.substr(copy.size() - TempSuffixLength);
}

// Removes an index entry (none: empty) once the copy it files is gone: a
// crash in between leaves an entry to no copy, which the next look drops,
// never a copy that only its own name finds.
void unfile(const std::string& entry)
{
    if (!entry.empty())
        ::unlink(entry.c_str());
}

// While the file is rewritten it holds part old, part new text: the flushed
// temporary is then the only whole one. Named as a whole copy, it outlives a
// crash and is offered when the file is opened again; filed under the file's
// identity first, so that no moment has a copy that only one of the file's
// names would find. The identity is the one the file has once open for
// writing, which may be another than before (overlayfs copies the file up).
void rewriteKeepingCopy(const std::string& path, const std::string& target, const std::string& tmp,
                        std::string_view data)
{
    std::string copy = tmp;
    copy.replace(copy.size() - TempSuffixLength - TempMarker.size(), TempMarker.size(), CopyMarker);
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        // Nothing was written: the text is still the editor's alone.
        TMessage reason = failure(CannotWrite, {path});
        ::unlink(tmp.c_str());
        throw EWriteError(std::move(reason));
    }
    TFileIdentity identity;
    const std::string entry =
        IdentityOfOpenFile(fd, identity) ? FileCopyUnder(identity, tagOf(copy), copy) : std::string();
    if (!RenameNoReplace(tmp, copy)) {
        TMessage reason = failure(CannotWrite, {path});
        ::close(fd);
        ::unlink(tmp.c_str());
        unfile(entry);
        throw EWriteError(std::move(reason));
    }
    SyncFolder(folderOf(target));
    if (!overwriteInPlace(fd, data)) {
        const int error = errno;
        throw EWriteError(TMessage(CannotWriteKept, {path, std::string(std::strerror(error)), copy}));
    }
    ::unlink(copy.c_str());
    unfile(entry);
}

// The regular files of the user beside target named <target name><marker>XXXXXX.
std::vector<std::string> filesMarked(const std::string& target, std::string_view marker)
{
    const std::string prefix = nameOf(target) + std::string(marker);
    std::vector<std::string> found = EntriesStartingWith(folderOf(target), prefix);
    std::erase_if(found, [&](const std::string& path) {
        return nameOf(path).size() != prefix.size() + TempSuffixLength || !IsOwnFile(path);
    });
    return found;
}

std::int64_t modifiedAt(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace

std::string ReadWholeFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(failure(CannotOpen, {path}));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EFOpenError(failure(CannotOpen, {path}, EISDIR));
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
            TMessage message = failure(CannotRead, {path});
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
    const size_t at = name.rfind(TempMarker);
    return at != std::string_view::npos && at > 0 && name.size() - at - TempMarker.size() == TempSuffixLength;
}

void RemoveStaleTemporaries(const std::string& path)
{
    for (const std::string& temporary : filesMarked(LinkTarget(path), TempMarker))
        ::unlink(temporary.c_str());
}

std::vector<TWholeCopy> WholeCopiesOf(const std::string& path)
{
    std::vector<TWholeCopy> copies;
    for (std::string& beside : filesMarked(LinkTarget(path), CopyMarker))
        copies.push_back({std::move(beside), true});
    TFileIdentity identity;
    if (IdentityOf(path, identity)) {
        for (TWholeCopy& filed : CopiesFiledUnder(identity)) {
            const bool known = std::any_of(copies.begin(), copies.end(),
                                           [&](const TWholeCopy& copy) { return SameFile(copy.Path, filed.Path); });
            if (!known)
                copies.push_back(std::move(filed));
        }
    }
    std::vector<std::pair<std::int64_t, TWholeCopy>> dated;
    for (TWholeCopy& copy : copies)
        dated.emplace_back(modifiedAt(copy.Path), std::move(copy));
    std::stable_sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    copies.clear();
    for (auto& [when, copy] : dated)
        copies.push_back(std::move(copy));
    return copies;
}

std::vector<std::string> CopiesASaveSupersedes(const std::string& path)
{
    std::vector<std::string> superseded;
    for (TWholeCopy& copy : WholeCopiesOf(path)) {
        if (copy.Settled)
            superseded.push_back(std::move(copy.Path));
    }
    return superseded;
}

bool RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // File systems that cannot tell: the names are all but unique.
    return errno == EINVAL && ::rename(from.c_str(), to.c_str()) == 0;
}

std::string SetAsideName(const std::string& copy)
{
    std::string aside = copy;
    const size_t at = aside.rfind(CopyMarker);
    if (at != std::string::npos)
        aside.replace(at, CopyMarker.size(), SetAsideMarker);
    return aside;
}

void RemoveWholeCopy(const std::string& copy)
{
    const std::string entry = EntryOfCopy(copy, tagOf(copy));
    if (::unlink(copy.c_str()) == 0 || errno == ENOENT)
        unfile(entry);
}

std::string CopiedFileName(const std::string& copy)
{
    const size_t at = copy.rfind(CopyMarker);
    return at == std::string::npos ? std::string() : copy.substr(0, at);
}

void SetAsideWholeCopy(const std::string& copy)
{
    const std::string aside = SetAsideName(copy);
    if (aside == copy)
        throw EWriteError(failure(CannotMove, {copy}, EINVAL));
    const std::string entry = EntryOfCopy(copy, tagOf(copy));
    if (!RenameNoReplace(copy, aside)) {
        const int error = errno;
        throw EWriteError(failure(CannotMoveTo, {copy, aside}, error));
    }
    SyncFolder(folderOf(aside));
    unfile(entry);
}

void WriteFileAtomic(const std::string& path, std::string_view data, TFileAccess access)
{
    const std::string target = LinkTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw EFCreateError(failure(CannotCreate, {path}, EISDIR));
        // A file without any write permission is read-only for everybody, as
        // a read-only file is where the program comes from, root included.
        if (::access(target.c_str(), W_OK) != 0)
            throw EFCreateError(failure(CannotCreate, {path}));
        if ((old.st_mode & 0222) == 0)
            throw EFCreateError(failure(CannotCreate, {path}, EACCES));
    }

    std::string tmp = target + std::string(TempMarker) + std::string(TempSuffixLength, 'X');
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        throw EFCreateError(failure(CannotCreate, {path}));
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
    ::fchmod(fd, mode);
    // A rename would give the file a new identity: other hard links would keep
    // the old text, and a file of another owner would change hands.
    bool inPlace = exists && old.st_nlink > 1;
    if (exists && !inPlace && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        inPlace = ::fchown(fd, old.st_uid, old.st_gid) != 0;

    bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    TMessage reason = ok ? TMessage() : failure(CannotWrite, {path});
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = failure(CannotWrite, {path});
    }
    if (ok && inPlace) {
        rewriteKeepingCopy(path, target, tmp, data);
    } else if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        reason = failure(CannotWrite, {path});
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        throw EWriteError(std::move(reason));
    }
    RemoveStaleTemporaries(target);
}

std::vector<std::string> EntriesStartingWith(const std::string& folder, std::string_view prefix)
{
    std::vector<std::string> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.starts_with(prefix))
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

} // namespace vx
