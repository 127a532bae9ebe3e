// TIPWatch: polls the machine's address on a timer and reports whether it is
// online. This is what the main window's status bar reads: IsOnline,
// CurrentIP and PreviousIP, and OnStatusChanged fired on the user-interface
// thread whenever the online state changes. The history is kept in
// "iphist.dat" in the user's data folder and written when the watcher is destroyed.
#pragma once

#include "internet/IPWatchState.h"
#include "shell/api/AddressWatch.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QTimer;

class TIPWatch : public QObject, public vx::shell::IAddressWatch {
public:
    explicit TIPWatch(QObject* owner = nullptr);
    // For tests: another address source and history file.
    TIPWatch(QObject* owner, std::unique_ptr<vx::net::IAddressSource> source, const std::string& historyPath);
    ~TIPWatch() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int WatchInterval() const { return interval_; }
    void SetWatchInterval(int value);
    bool IsOnline() const override { return state_.IsOnline(); }
    std::string CurrentIP() const override { return state_.CurrentIP(); }
    std::string PreviousIP() const { return state_.PreviousIP(); }
    std::string GetLocalIP() { return state_.GetLocalIP(); }

    std::function<void(TIPWatch* Sender)> OnStatusChanged;

private:
    void Tick();

    TIPWatchState state_;
    QTimer* timer_;
    bool enabled_ = true;
    int interval_ = 1000;
    bool busy_ = false;
};
