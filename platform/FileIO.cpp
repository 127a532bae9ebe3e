#include "platform/FileIO.h"

#include "platform/Exception.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr std::string_view TempMarker = ".vxtmp-";
constexpr std::size_t TempSuffixLength = 6;

std::string withReason(const std::string& text, int error = errno)
{
    return text + ": " + std::strerror(error);
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

// Rewrites target in place with data; the open descriptor keeps the inode.
bool overwriteInPlace(const std::string& target, std::string_view data)
{
    int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0 && ok)
        return false;
    errno = error;
    return ok;
}

} // namespace

std::string ReadWholeFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(withReason("Cannot open file " + path));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EFOpenError(withReason("Cannot open file " + path, EISDIR));
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
            std::string message = withReason("Cannot read file " + path);
            ::close(fd);
            throw EReadError(message);
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
    const std::string target = LinkTarget(path);
    const std::string prefix = nameOf(target) + std::string(TempMarker);
    const std::string folder = folderOf(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + TempSuffixLength || !name.starts_with(prefix))
            continue;
        const std::string full = folder + "/" + std::string(name);
        struct stat st {};
        if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(full.c_str());
    }
    ::closedir(dir);
}

void WriteFileAtomic(const std::string& path, std::string_view data, TFileAccess access)
{
    const std::string target = LinkTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw EFCreateError(withReason("Cannot create file " + path, EISDIR));
        // A file without any write permission is read-only for everybody, as
        // a read-only file is where the program comes from, root included.
        if (::access(target.c_str(), W_OK) != 0)
            throw EFCreateError(withReason("Cannot create file " + path));
        if ((old.st_mode & 0222) == 0)
            throw EFCreateError(withReason("Cannot create file " + path, EACCES));
    }

    std::string tmp = target + std::string(TempMarker) + std::string(TempSuffixLength, 'X');
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        throw EFCreateError(withReason("Cannot create file " + path));
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
    std::string reason = ok ? std::string() : withReason("Cannot write file " + path);
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = withReason("Cannot write file " + path);
    }
    if (ok && inPlace) {
        if (!overwriteInPlace(target, data))
            // The flushed temporary holds the whole text: it stays for the user.
            throw EWriteError(withReason("Cannot write file " + path) + "; the text is kept in " + tmp);
        ::unlink(tmp.c_str());
    } else if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        reason = withReason("Cannot write file " + path);
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        throw EWriteError(reason);
    }
    RemoveStaleTemporaries(target);
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace vx
