#include "tests/support/AtOpen.h"

#include "tests/support/Patience.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/fanotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace vx::test {

namespace {

// Answers every open of the file, running the action at the first one the
// watched process makes; ends after it.
[[noreturn]] void Watch(const std::string& path, pid_t watched, const std::function<void()>& action, int ready)
{
    const int group = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC, O_RDONLY | O_CLOEXEC);
    const char watching =
        group >= 0 && ::fanotify_mark(group, FAN_MARK_ADD, FAN_OPEN_PERM, AT_FDCWD, path.c_str()) == 0 ? '1' : '0';
    if (::write(ready, &watching, 1) != 1 || watching != '1')
        ::_exit(1);
    for (;;) {
        alignas(fanotify_event_metadata) char buffer[4096];
        ssize_t length = ::read(group, buffer, sizeof buffer);
        if (length <= 0)
            ::_exit(2);
        for (auto* event = reinterpret_cast<fanotify_event_metadata*>(buffer); FAN_EVENT_OK(event, length);
             event = FAN_EVENT_NEXT(event, length)) {
            const bool theirs = event->pid == watched;
            if (theirs)
                action();
            const fanotify_response allow{event->fd, FAN_ALLOW};
            if (::write(group, &allow, sizeof allow) != sizeof allow)
                ::_exit(3);
            ::close(event->fd);
            if (theirs)
                ::_exit(0);
        }
    }
}

} // namespace

TAtOpen::TAtOpen(const std::string& path, std::function<void()> action)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return;
    const pid_t watched = ::getpid();
    child_ = ::fork();
    if (child_ == 0) {
        ::close(ready[0]);
        Watch(path, watched, action, ready[1]);
    }
    ::close(ready[1]);
    char watching = '0';
    watching_ = child_ > 0 && ::read(ready[0], &watching, 1) == 1 && watching == '1';
    ::close(ready[0]);
}

bool TAtOpen::Acted()
{
    if (child_ <= 0)
        return false;
    int status = 0;
    for (int waited = 0; waited < kPatienceMs; waited += 10) {
        if (::waitpid(child_, &status, WNOHANG) == child_) {
            child_ = -1;
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        ::poll(nullptr, 0, 10);
    }
    return false;
}

TAtOpen::~TAtOpen()
{
    if (child_ <= 0)
        return;
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
}

} // namespace vx::test
