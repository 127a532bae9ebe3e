// The folder monitor: inotify watches read on a worker thread.
#include "controls/stores/RxNotify.h"

#include "controls/common/FileUtil.h"
#include "controls/stores/RxSync.h"
#include "platform/Exception.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Application.h"

#include <QPointer>
#include <QTimer>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <unordered_map>

namespace {

constexpr std::uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

std::uint32_t WatchMask(TFileChangeFilters filter)
{
    // Name events are always watched: new sub-folders must be seen to be watched.
    std::uint32_t mask = kNameEvents | IN_ONLYDIR;
    if (filter & (fnAttributes | fnSecurity))
        mask |= IN_ATTRIB;
    if (filter & (fnSize | fnLastWrite))
        mask |= IN_MODIFY;
    if (filter & fnLastWrite)
        mask |= IN_CLOSE_WRITE;
    if (filter & fnLastAccess)
        mask |= IN_ACCESS;
    return mask;
}

bool Counts(const inotify_event& event, TFileChangeFilters filter)
{
    if (event.mask & IN_Q_OVERFLOW)
        return true;
    if (event.mask & kNameEvents) {
        bool dir = event.mask & IN_ISDIR;
        return (filter & (dir ? fnDirName : fnFileName)) || ((event.mask & IN_CREATE) && (filter & fnCreation));
    }
    return event.mask & WatchMask(filter) & ~(kNameEvents | IN_ONLYDIR);
}

} // namespace

// One watch session: the inotify watches of the folder (and its sub-folders) and
// the worker that waits on them. Created and destroyed on the owner's thread;
// destruction stops and joins the worker, and drops reports not yet delivered.
class TRxFolderMonitor::TNotifyThread {
public:
    TNotifyThread(QObject* owner, const std::string& folder, TFileChangeFilters filter, bool subtree,
                  std::function<void(std::uint64_t)> report)
        : filter_(filter)
        , subtree_(subtree)
        , signal_(owner, std::move(report))
    {
        inotify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        stop_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (inotify_ < 0 || stop_ < 0 || !AddWatch(folder)) {
            std::string message = std::strerror(errno);
            CloseFiles();
            throw EOSError(message);
        }
        if (subtree_)
            WatchSubfolders(folder);
        worker_ = std::thread(&TNotifyThread::Run, this);
    }

    ~TNotifyThread()
    {
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(stop_, &one, sizeof one);
        worker_.join();
        CloseFiles();
    }

private:
    void CloseFiles()
    {
        if (inotify_ >= 0)
            ::close(inotify_);
        if (stop_ >= 0)
            ::close(stop_);
    }

    // As deep as the system's watch limit allows; folders beyond it go unwatched.
    void WatchSubfolders(const std::string& folder)
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec) && !AddWatch(it->path().string()) && errno == ENOSPC)
                return;
        }
    }

    void Run()
    {
        // The buffer must hold at least one event with the longest name.
        alignas(inotify_event) char buffer[64 * 1024];
        pollfd fds[2] = {{inotify_, POLLIN, 0}, {stop_, POLLIN, 0}};
        for (;;) {
            if (poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (fds[1].revents)
                return;
            if (!(fds[0].revents & POLLIN))
                return;
            ssize_t n = ::read(inotify_, buffer, sizeof buffer);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (n <= 0)
                return;
            if (Scan(buffer, static_cast<size_t>(n)))
                signal_.Post();
        }
    }

    // Watches new sub-folders; true when one of the events is a change that counts.
    bool Scan(const char* buffer, size_t size)
    {
        bool counts = false;
        for (size_t at = 0; at + sizeof(inotify_event) <= size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += sizeof(inotify_event) + event->len;
            counts = counts || Counts(*event, filter_);
            if (subtree_ && (event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) && event->len) {
                auto found = folders_.find(event->wd);
                if (found != folders_.end()) {
                    std::string path = found->second + "/" + event->name;
                    AddWatch(path);
                    WatchSubfolders(path);
                }
            }
            if (event->mask & IN_IGNORED)
                folders_.erase(event->wd);
        }
        return counts;
    }

    bool AddWatch(const std::string& path)
    {
        int wd = inotify_add_watch(inotify_, path.c_str(), WatchMask(filter_));
        if (wd < 0)
            return false;
        folders_[wd] = path;
        return true;
    }

    TFileChangeFilters filter_;
    bool subtree_;
    vx::TMainThreadSignal signal_;
    int inotify_ = -1;
    int stop_ = -1;
    // Watch -> folder path; the constructor fills it before the worker starts,
    // then only the worker touches it.
    std::unordered_map<int, std::string> folders_;
    std::thread worker_;
};

TRxFolderMonitor::TRxFolderMonitor(QObject* owner)
    : QObject(owner)
{
}

TRxFolderMonitor::~TRxFolderMonitor()
{
    OnChange = nullptr;
    thread_.reset();
}

void TRxFolderMonitor::SetActive(bool value)
{
    if (value != Active())
        SetMonitor(value);
}

void TRxFolderMonitor::SetMonitor(bool active)
{
    ++session_;
    thread_.reset();
    std::string folder = vx::NativePath(folderName_);
    if (!active || !vx::DirExists(folder))
        return;
    thread_ = std::make_unique<TNotifyThread>(this, folder, filter_, monitorSubtree_,
                                              [this](std::uint64_t count) { Changed(count); });
}

void TRxFolderMonitor::SetFolderName(const std::string& value)
{
    if (value == folderName_)
        return;
    folderName_ = value;
    SetMonitor(Active());
}

void TRxFolderMonitor::SetFilter(TFileChangeFilters value)
{
    if (value == filter_)
        return;
    filter_ = value;
    SetMonitor(Active());
}

void TRxFolderMonitor::SetMonitorSubtree(bool value)
{
    if (value == monitorSubtree_)
        return;
    monitorSubtree_ = value;
    SetMonitor(Active());
}

void TRxFolderMonitor::SetDelayTime(int value)
{
    if (value == delayTime_)
        return;
    delayTime_ = value;
    if (!delayTimer_)
        return;
    // A report that waits is delivered now rather than lost.
    if (delayTime_ <= 0)
        DelayElapsed();
    else
        delayTimer_->start(delayTime_);
}

void TRxFolderMonitor::Changed(std::uint64_t count)
{
    if (delayTime_ <= 0) {
        // A handler may restart the monitor: the rest of the count belongs to the
        // watch that ended.
        QPointer<TRxFolderMonitor> alive(this);
        const unsigned session = session_;
        for (std::uint64_t i = 0; i < count && alive && session_ == session; ++i)
            Report();
        return;
    }
    if (delayTimer_)
        return;
    delayTimer_ = new QTimer(this);
    delayTimer_->setSingleShot(true);
    QObject::connect(delayTimer_, &QTimer::timeout, this, [this] { DelayElapsed(); });
    delayTimer_->start(delayTime_);
}

void TRxFolderMonitor::DelayElapsed()
{
    // The timer may be the sender of the call that got here.
    delayTimer_->deleteLater();
    delayTimer_ = nullptr;
    Report();
}

void TRxFolderMonitor::Report()
{
    if (!OnChange)
        return;
    // A copy: the handler may destroy the monitor. Its errors are shown, as any
    // error of an event handler is.
    vx::TNotifyEvent handler = OnChange;
    vx::DeliverShowingExceptions([&] {
        handler(this);
        return true;
    });
}
