// TRxFolderMonitor: watches a folder (and, with MonitorSubtree, the folders below
// it) on a worker thread and reports changes through OnChange on the thread that
// owns the monitor. Only that thread calls its members.
#pragma once

#include "controls/common/Events.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>

class QTimer;

// Which changes count; the values are those of the platform's change filter.
enum TFileChangeFilter : unsigned {
    fnFileName = 0x001,
    fnDirName = 0x002,
    fnAttributes = 0x004,
    fnSize = 0x008,
    fnLastWrite = 0x010,
    fnLastAccess = 0x020,
    fnCreation = 0x040,
    fnSecurity = 0x100,
};
using TFileChangeFilters = unsigned;

class TRxFolderMonitor : public QObject {
public:
    explicit TRxFolderMonitor(QObject* owner = nullptr);
    ~TRxFolderMonitor() override;

    // True while the folder is watched. Setting it true for a folder that does
    // not exist leaves it false, without an error; EOSError when the system
    // refuses to watch an existing folder.
    bool Active() const { return thread_ != nullptr; }
    void SetActive(bool value);
    // With a delay (ms), a burst of changes is reported once, that long after
    // its first change.
    int DelayTime() const { return delayTime_; }
    void SetDelayTime(int value);
    TFileChangeFilters Filter() const { return filter_; }
    void SetFilter(TFileChangeFilters value);
    // Backslashes are taken as folder separators. A change restarts the monitor.
    const std::string& FolderName() const { return folderName_; }
    void SetFolderName(const std::string& value);
    bool MonitorSubtree() const { return monitorSubtree_; }
    // True while a change waits for the delay to pass.
    bool ChangePending() const { return delayTimer_ != nullptr; }
    void SetMonitorSubtree(bool value);

    vx::TNotifyEvent OnChange;

private:
    class TNotifyThread;

    void SetMonitor(bool active);
    void Changed(std::uint64_t count);
    void DelayElapsed();
    void Report();

    int delayTime_ = 0;
    TFileChangeFilters filter_ = fnFileName | fnDirName | fnSize | fnLastWrite;
    std::string folderName_;
    bool monitorSubtree_ = true;
    std::unique_ptr<TNotifyThread> thread_;
    unsigned session_ = 0; // counts the starts and stops of the watch
    QTimer* delayTimer_ = nullptr; // a child, while a report waits
};
