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
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace vx {

const TWording CannotOpenFile{"Cannot open file %1: %2"};

namespace {

constexpr std::size_t TempSuffixLength = 6;
// The longest marker a helper's name takes: ".vxcopy-".
constexpr std::size_t LongestMarker = 8;

const TWording CannotRead{"Cannot read file %1: %2"};
const TWording CannotCreate{"Cannot create file %1: %2"};
const TWording CannotWrite{"Cannot write file %1: %2"};
const TWording CannotWriteKept{"Cannot write file %1: %2; the text is kept in %3"};


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

// Writes data into the temporary open as fd, flushes and closes it: why it
// could not, where it could not.
std::optional<TMessage> writeOut(int fd, std::string_view data, const std::string& path)
{
    std::optional<TMessage> failure;
    const bool written = writeAll(fd, data) && ::fsync(fd) == 0;
    if (!written)
        failure = SystemFailure(CannotWrite, {path});
    if (::close(fd) != 0 && written)
        failure = SystemFailure(CannotWrite, {path});
    return failure;
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
// inode. A write that stops half way must leave what tells that the file is
// the copy's: a short text is cut to nothing first, so that only the start of
// the new text is left; a long one (writeOver, see IsWrittenOver) is written
// over from its start, leaving the start of the new text and the rest of the
// old one, which its pieces' digests tell, and cut to its length last.
bool overwriteInPlace(int fd, std::string_view data, bool writeOver)
{
    const bool ok = (writeOver || ::ftruncate(fd, 0) == 0) && ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, data) &&
                    ::ftruncate(fd, static_cast<off_t>(data.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 && ok)
        return false;
    errno = error;
    return ok;
}

// Removes the whole copy once the file holds its text. Its name goes at once;
// the file system frees its blocks on a thread of its own, as the last
// descriptor of it closes, so that the save need not wait for that.
void dropCopy(const std::string& copy)
{
    const int fd = ::open(copy.c_str(), O_RDONLY | O_CLOEXEC);
    ::unlink(copy.c_str());
    if (fd >= 0)
        std::thread([fd] { ::close(fd); }).detach();
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
[[noreturn]] void abandon(TMessage reason, const std::string& tmp, const std::string& entry, int file)
{
    if (file >= 0)
        ::close(file);
    ::unlink(tmp.c_str());
    unfile(entry);
    throw EWriteError(std::move(reason));
}

// What filing a copy gives: its entry (empty where it could not be filed),
// and the text the file held where it could be read.
struct TFiling {
    std::string Entry;
    std::optional<TReplacedText> Replaced;
};

// Files the copy under the identity of the file open as fd, with the text
// the file holds where it may be read (readable).
TFiling fileCopyOf(int fd, bool readable, const std::string& tag, const std::string& copy, std::uint64_t length)
{
    TFiling filing{{}, readable ? TextHeldBy(fd) : std::nullopt};
    TFileIdentity identity;
    if (IdentityOfOpenFile(fd, identity))
        filing.Entry = FileCopyUnder(identity, tag, copy, length, filing.Replaced);
    return filing;
}

// While the file is rewritten it holds part old, part new text: a whole
// copy of the new text must then outlive a crash, and be offered when the
// file is opened again by any of its names. So the text the file holds is
// hashed (what tells, should the rewrite be cut off, which of the file's
// bytes are still that text) and filed under the file's identity
// with the new text's length while the temporary (tmp, open as tmpFd) takes
// the new text; its last byte waits for the entry, so that a temporary is
// never whole before the index can tell it is. Then the temporary is
// flushed and named as the copy, and the file is written. The
// identity is the one the file has once open for writing, which may be
// another than before (overlayfs copies the file up).
void rewriteKeepingCopy(const std::string& path, const std::string& target, const std::string& tmp, int tmpFd,
                        std::string_view data)
{
    const std::string tag = tmp.substr(tmp.size() - TempSuffixLength);
    const std::string copy = WholeCopyName(target, tag);
    int file = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    const bool readable = file >= 0;
    if (!readable)
        file = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (file < 0) {
        TMessage reason = SystemFailure(CannotWrite, {path});
        ::close(tmpFd);
        abandon(std::move(reason), tmp, {}, -1);
    }
    std::future<TFiling> filing =
        std::async(std::launch::async, fileCopyOf, file, readable, std::cref(tag), std::cref(copy), data.size());
    const std::string_view body = data.substr(0, data.empty() ? 0 : data.size() - 1);
    std::optional<TMessage> failure;
    if (!writeAll(tmpFd, body))
        failure = SystemFailure(CannotWrite, {path});
    else // The disk may take the text meanwhile.
        ::sync_file_range(tmpFd, 0, 0, SYNC_FILE_RANGE_WRITE);
    const TFiling filed = filing.get();
    const std::string& entry = filed.Entry;
    if (failure)
        ::close(tmpFd);
    else
        failure = writeOut(tmpFd, data.substr(body.size()), path);
    if (failure)
        abandon(std::move(*failure), tmp, entry, file);
    if (!RenameNoReplace(tmp, copy))
        abandon(SystemFailure(CannotWrite, {path}), tmp, entry, file);
    SyncFolder(folderOf(target));
    // Only the entry's pieces tell what a write over the text left of it.
    const bool writeOver = !entry.empty() && filed.Replaced && IsWrittenOver(*filed.Replaced);
    if (!overwriteInPlace(file, data, writeOver)) {
        const int error = errno;
        throw EWriteError(TMessage(CannotWriteKept, {path, std::string(std::strerror(error)), copy}));
    }
    dropCopy(copy);
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

void RemoveStaleTemporaries(const std::string& path)
{
    const std::string target = LinkTarget(path);
    const std::string stem = HelperStem(target);
    const std::string prefix = nameOf(stem) + std::string(WriteTemporaryMarker);
    std::vector<std::string> stale;
    for (std::string& temporary : EntriesStartingWith(folderOf(target), prefix)) {
        if (nameOf(temporary).size() == prefix.size() + TempSuffixLength && IsOwnFile(temporary))
            stale.push_back(std::move(temporary));
    }
    if (stale.empty())
        return;
    // Names the temporaries the index knows to be whole copies.
    FiledCopies();
    for (const std::string& temporary : stale)
        ::unlink(temporary.c_str());
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

    std::string tmp = HelperStem(target) + std::string(WriteTemporaryMarker) + std::string(TempSuffixLength, 'X');
    int fd = ::mkstemp(tmp.data());
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
        RemoveStaleTemporaries(target);
        return;
    }
    ::fchmod(fd, mode);

    std::optional<TMessage> failure = writeOut(fd, data, path);
    if (!failure && ::rename(tmp.c_str(), target.c_str()) != 0)
        failure = SystemFailure(CannotWrite, {path});
    if (failure) {
        ::unlink(tmp.c_str());
        throw EWriteError(std::move(*failure));
    }
    RemoveStaleTemporaries(target);
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
