// Checking a plug-in object without touching memory that may not be there:
// bytes are read through a pipe, which the system refuses for an address
// that cannot be read instead of ending the program.
#include "shell/plugins/uilPluginCheck.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

namespace vx::shell {

namespace {

const TWording ObjectUnreadable{"the plug-in object cannot be read"};
const TWording NameUnreadable{"its name cannot be read or is longer than %1 characters"};
const TWording FunctionOutsideLibraries{"a function of it lies in no loaded library"};
const TWording TooManyCommands{"it offers %1 commands, more than the %2 a plug-in may offer"};
const TWording CommandsUnreadable{"its commands cannot be read"};
const TWording CommandTextUnreadable{"a command's text cannot be read or is longer than %1 characters"};
const TWording CommandPictureUnreadable{"a command's picture cannot be read"};
const TWording CommandFunctionOutsideLibraries{"a command's function lies in no loaded library"};

class TMemoryProbe {
public:
    TMemoryProbe()
    {
        if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0)
            fds_[0] = fds_[1] = -1;
    }
    ~TMemoryProbe()
    {
        for (int fd : fds_)
            if (fd >= 0)
                ::close(fd);
    }
    TMemoryProbe(const TMemoryProbe&) = delete;
    TMemoryProbe& operator=(const TMemoryProbe&) = delete;

    // Whether size bytes from at can be read; copied to out when it is given.
    bool Read(const void* at, std::size_t size, void* out = nullptr)
    {
        if (!at)
            return false;
        auto* from = static_cast<const char*>(at);
        auto* to = static_cast<char*>(out);
        while (size > 0) {
            const std::size_t piece = std::min(size, Piece);
            char buffer[Piece];
            if (!Pass(from, piece, buffer))
                return false;
            if (to) {
                std::memcpy(to, buffer, piece);
                to += piece;
            }
            from += piece;
            size -= piece;
        }
        return true;
    }

    // A zero-ended text of at most limit characters; false when it cannot be
    // read or has no end within the limit. Null reads as "".
    bool Text(const char* at, std::size_t limit)
    {
        if (!at)
            return true;
        for (std::size_t read = 0; read <= limit;) {
            // Up to the end of at's page: the next page may not be there.
            const auto address = reinterpret_cast<std::uintptr_t>(at + read);
            const std::size_t piece = std::min(Piece - address % Piece, limit + 1 - read);
            char buffer[Piece];
            if (!Pass(at + read, piece, buffer))
                return false;
            if (std::memchr(buffer, '\0', piece))
                return true;
            read += piece;
        }
        return false;
    }

private:
    static constexpr std::size_t Piece = 4096;

    // Sends the bytes through the pipe and takes them back out.
    bool Pass(const char* from, std::size_t size, char* to)
    {
        if (fds_[1] < 0)
            return false;
        // The system call itself: a text is read up to its page's end, past
        // its zero, which is no fault of the caller's (a write through the
        // C library may be checked byte by byte).
        long written;
        do
            written = ::syscall(SYS_write, fds_[1], from, size);
        while (written < 0 && errno == EINTR);
        if (written != static_cast<long>(size)) {
            Drain();
            return false;
        }
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = ::read(fds_[0], to + got, size - got);
            if (n <= 0 && errno != EINTR)
                return false;
            if (n > 0)
                got += static_cast<std::size_t>(n);
        }
        return true;
    }
    void Drain()
    {
        char scrap[Piece];
        while (::read(fds_[0], scrap, sizeof scrap) > 0) {
        }
    }

    int fds_[2];
};

// A function the plug-in hands over must lie in a library the process loaded.
template <class F> bool InLibrary(F function)
{
    Dl_info info{};
    return !function || ::dladdr(reinterpret_cast<const void*>(function), &info) != 0;
}

std::optional<TMessage> CommandDefect(TMemoryProbe& probe, const vx_plugin_command& command)
{
    for (const char* text : {command.caption, command.hint, command.data})
        if (!probe.Text(text, MaxPluginText))
            return TMessage(CommandTextUnreadable, {std::to_string(MaxPluginText)});
    if (command.bitmap) {
        vx_plugin_bitmap bitmap{};
        if (!probe.Read(command.bitmap, sizeof bitmap, &bitmap))
            return TMessage(CommandPictureUnreadable, {});
        // Pictures beyond the bounds are ignored, not read.
        if (bitmap.width > 0 && bitmap.height > 0 && bitmap.width <= 256 && bitmap.height <= 256 &&
            !probe.Read(bitmap.pixels, static_cast<std::size_t>(bitmap.width) * bitmap.height * sizeof(uint32_t)))
            return TMessage(CommandPictureUnreadable, {});
    }
    if (!InLibrary(command.execute))
        return TMessage(CommandFunctionOutsideLibraries, {});
    return std::nullopt;
}

} // namespace

std::optional<TMessage> PluginDefect(const vx_plugin* object)
{
    TMemoryProbe probe;
    vx_plugin plugin{};
    if (!probe.Read(object, sizeof plugin, &plugin))
        return TMessage(ObjectUnreadable, {});
    if (!probe.Text(plugin.name, MaxPluginText) || !probe.Text(plugin.plugin_name, MaxPluginText))
        return TMessage(NameUnreadable, {std::to_string(MaxPluginText)});
    if (!InLibrary(plugin.initialize) || !InLibrary(plugin.receive) || !InLibrary(plugin.destroy))
        return TMessage(FunctionOutsideLibraries, {});
    if (!plugin.commands || plugin.command_count <= 0)
        return std::nullopt;
    if (plugin.command_count > MaxPluginCommands)
        return TMessage(TooManyCommands, {std::to_string(plugin.command_count), std::to_string(MaxPluginCommands)});
    for (int i = 0; i < plugin.command_count; ++i) {
        vx_plugin_command command{};
        if (!probe.Read(plugin.commands + i, sizeof command, &command))
            return TMessage(CommandsUnreadable, {});
        if (std::optional<TMessage> defect = CommandDefect(probe, command))
            return defect;
    }
    return std::nullopt;
}

} // namespace vx::shell
