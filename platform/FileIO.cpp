#include "platform/FileIO.h"

#include "platform/Exception.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {

std::string withReason(const std::string& text)
{
    return text + ": " + std::strerror(errno);
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

} // namespace

std::string ReadWholeFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError("Cannot open file " + path);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EFOpenError("Cannot open file " + path);
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

void WriteFileAtomic(const std::string& path, std::string_view data)
{
    std::string tmp = path + ".vxtmp-XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        throw EFCreateError("Cannot create file " + path);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    mode_t mode = 0666;
    if (::stat(path.c_str(), &old) == 0)
        mode = old.st_mode & 07777;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);

    bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    std::string reason = ok ? std::string() : withReason("Cannot write file " + path);
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = withReason("Cannot write file " + path);
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = withReason("Cannot write file " + path);
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        throw EWriteError(reason);
    }
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace vx
