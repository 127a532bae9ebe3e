#include "platform/FileIO.h"

#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/FileDescriptor.h"
#include "platform/LeftBehind.h"
#include "platform/ProgramPaths.h"
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
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace vx {

const TWording CannotOpenFile{"Cannot open file %1: %2"};

namespace {

// The longest marker a helper's name takes.
constexpr std::size_t LongestMarker = WholeCopyMarker.size();

const TWording CannotRead{"Cannot read file %1: %2"};
const TWording CannotCreate{"Cannot create file %1: %2"};
const TWording CannotWrite{"Cannot write file %1: %2"};
const TWording CannotWriteKept{"Cannot write file %1: %2; the text is kept in %3"};
const TWording NoCopyKept{"Cannot write file %1: while it is rewritten, a copy of the text must be kept in %2, and "
                          "none could be: %3. Save As under another name keeps the text, and so does this save once "
                          "that folder can be written again."};

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

// A temporary beside target, from pattern ("...XXXXXX"). A folder of the
// user's data folder is the program's own, made where it is missing (it
// could not be when the file was first looked for, or was removed since);
// where it cannot be, why is what stopped the write.
int CreateTemporary(std::string& pattern, const std::string& target)
{
    const std::string unfilled = pattern;
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT || !target.starts_with(JoinPath(DataFolder(), "")))
        return fd;
    std::error_code failure;
    std::filesystem::create_directories(FolderOf(target), failure);
    if (failure) {
        errno = failure.value();
        return -1;
    }
    pattern = unfilled;
    return ::mkostemp(pattern.data(), O_CLOEXEC);
}

// The temporary a write of a file goes through, beside it, locked for as
// long as it is open, so that no tidy takes it for one a killed write left;
// removed with the object unless it was renamed.
class TWriteTemporary {
public:
    TWriteTemporary(const std::string& path, const std::string& target)
    {
        for (int attempt = 0; attempt < 8; ++attempt) {
            path_ = HelperStem(target) + std::string(WriteTemporaryMarker) + std::string(HelperTagLength, 'X');
            fd_ = TFileDescriptor(CreateTemporary(path_, target));
            if (!fd_.IsOpen())
                throw EFCreateError(SystemFailure(CannotCreate, {path}));
            ::flock(fd_.Get(), LOCK_EX);
            // Before it was locked, a tidy may have found it empty and removed it.
            if (NamesFile(path_, fd_.Get()))
                return;
        }
        path_.clear();
        throw EFCreateError(SystemFailure(CannotCreate, {path}, EEXIST));
    }
    ~TWriteTemporary()
    {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TWriteTemporary(const TWriteTemporary&) = delete;
    TWriteTemporary& operator=(const TWriteTemporary&) = delete;

    int Fd() const { return fd_.Get(); }
    std::string Tag() const { return path_.substr(path_.size() - HelperTagLength); }
    // Renames it to name, over what stands there or not; false, with errno
    // set, when it stays.
    bool RenameTo(const std::string& name, bool replace)
    {
        if (replace ? ::renameat(AT_FDCWD, path_.c_str(), AT_FDCWD, name.c_str()) != 0
                    : !RenameNoReplace(path_, name))
            return false;
        path_.clear();
        return true;
    }

private:
    std::string path_;
    TFileDescriptor fd_;
};

// The index entry that files a whole copy while its file is rewritten; it
// goes with the object unless the rewrite began, which may leave the file
// cut: then it stays, for the copy to be found by every name of the file.
class TFiledEntry {
public:
    explicit TFiledEntry(std::string entry) : entry_(std::move(entry)) {}
    ~TFiledEntry()
    {
        if (removeWithObject_)
            ::unlink(entry_.c_str());
    }
    TFiledEntry(const TFiledEntry&) = delete;
    TFiledEntry& operator=(const TFiledEntry&) = delete;

    void Keep() { removeWithObject_ = false; }
    // Once the copy is gone: an entry to no copy, which a crash in between
    // leaves, the next look drops.
    void Remove()
    {
        ::unlink(entry_.c_str());
        removeWithObject_ = false;
    }

private:
    std::string entry_;
    bool removeWithObject_ = true;
};

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
// goes into the temporary first; then the old text and the new one are filed
// under the file's identity, the temporary is flushed and named as the copy,
// and the file is cut and written through the descriptor that holds it. A
// file whose copy cannot be filed, where only the name beside it would find
// it, is left as it is. The identity is the one the file has once open for
// writing, which may be another than before (overlayfs copies the file up).
void rewriteKeepingCopy(const TFileHold& held, TWriteTemporary& temporary, std::span<const std::string_view> data)
{
    const std::string& path = held.Path();
    const int file = held.Descriptor();
    const int flags = file >= 0 ? ::fcntl(file, F_GETFL) : -1;
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY)
        throw EWriteError(SystemFailure(CannotWrite, {path}, flags < 0 ? EBADF : EACCES));
    if (!writeAll(temporary.Fd(), data))
        throw EWriteError(SystemFailure(CannotWrite, {path}));
    // The disk may take the text while the texts are hashed.
    ::sync_file_range(temporary.Fd(), 0, 0, SYNC_FILE_RANGE_WRITE);
    const std::string copy = WholeCopyName(held.Target(), temporary.Tag());
    TFileIdentity identity;
    if (!IdentityOfOpenFile(file, identity))
        throw EWriteError(SystemFailure(CannotWrite, {path}));
    std::string filed;
    try {
        filed = FileCopyUnder(identity, temporary.Tag(), copy, DigestOf(data),
                              held.Readable() ? TextHeldBy(file) : std::nullopt);
    } catch (const EStreamError& e) {
        throw EWriteError(TMessage(NoCopyKept, {path, CopyIndexFolder(), e.Said()}));
    }
    TFiledEntry entry(std::move(filed));
    if (::fsync(temporary.Fd()) != 0 || !temporary.RenameTo(copy, false))
        throw EWriteError(SystemFailure(CannotWrite, {path}));
    SyncFolder(FolderOf(held.Target()));
    entry.Keep();
    if (!cutAndWrite(file, data)) {
        const int error = errno;
        throw EWriteError(TMessage(CannotWriteKept, {path, std::string(std::strerror(error)), copy}));
    }
    ::unlink(copy.c_str());
    entry.Remove();
}

} // namespace

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ReadWholeFile(const std::string& path)
{
    const TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen())
        throw EFOpenError(SystemFailure(CannotOpenFile, {path}));
    struct stat st {};
    if (::fstat(fd.Get(), &st) == 0 && S_ISDIR(st.st_mode))
        throw EFOpenError(SystemFailure(CannotOpenFile, {path}, EISDIR));
    std::string data;
    if (st.st_size > 0)
        data.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.Get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw EReadError(SystemFailure(CannotRead, {path}));
        }
        if (n == 0)
            break;
        data.append(buf, static_cast<size_t>(n));
    }
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
            next = FolderOf(current) + "/" + next;
        current = std::move(next);
    }
    return current;
}

bool IsWriteTemporary(std::string_view name)
{
    const size_t at = HelperMarkerAt(name, WriteTemporaryMarker);
    return at != std::string_view::npos && at > 0;
}

std::string HelperStem(const std::string& file)
{
    const std::string folder = FolderOf(file);
    const std::string name = NameOf(file);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const size_t longest = (limit > 0 ? static_cast<size_t>(limit) : NAME_MAX) - LongestMarker - HelperTagLength;
    if (name.size() <= longest)
        return file;
    size_t cut = longest;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return file.substr(0, file.size() - name.size() + cut);
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
    WriteFileAtomic(TFileHold(path, TFileHold::TUse::Writing), data, access);
}

void WriteFileAtomic(const TFileHold& held, std::span<const std::string_view> data, TFileAccess access)
{
    const std::string& path = held.Path();
    const std::string& target = held.Target();
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

    TWriteTemporary temporary(path, target);
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
        inPlace = ::fchown(temporary.Fd(), old.st_uid, old.st_gid) != 0;
    if (inPlace) {
        // The temporary becomes the whole copy, which its owner must be able
        // to read back whatever the file allows.
        ::fchmod(temporary.Fd(), mode | S_IRUSR | S_IWUSR);
        rewriteKeepingCopy(held, temporary, data);
    } else {
        ::fchmod(temporary.Fd(), mode);
        // Renamed while it is still open, and so locked: no tidy takes it meanwhile.
        if (!writeAll(temporary.Fd(), data) || ::fsync(temporary.Fd()) != 0 || !temporary.RenameTo(target, true))
            throw EWriteError(SystemFailure(CannotWrite, {path}));
        // The rename lasts through a power cut only once the folder is flushed.
        SyncFolder(FolderOf(target));
    }
    TidyLeftBehind(target);
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
    const TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsOpen())
        ::fsync(fd.Get());
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
