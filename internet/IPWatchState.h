// What the IP watcher knows: whether the machine is online, with which
// address, the address before it, and the history of addresses it was online
// with (iphist.dat, oldest first, at most 25 lines, never empty or loopback).
// Tick takes one reading; the component around it owns the timer.
#pragma once

#include "internet/LocalAddresses.h"
#include "platform/TStringList.h"

#include <memory>
#include <string>

class TIPWatchState {
public:
    static constexpr int kHistoryLines = 25;

    // Reads the history file when it exists.
    TIPWatchState(std::unique_ptr<vx::net::IAddressSource> source, std::string historyPath);

    // Takes one reading; true when the online state changed.
    bool Tick();
    // Adds the current address when online and writes the history file atomically.
    void Finish();

    bool IsOnline() const { return online_; }
    const std::string& CurrentIP() const { return current_; }
    const std::string& PreviousIP() const { return previous_; }
    const TStringList& History() const { return history_; }
    std::string GetLocalIP();

private:
    void AddToHistory(const std::string& address);

    std::unique_ptr<vx::net::IAddressSource> source_;
    std::string historyPath_;
    TStringList history_;
    bool online_ = false;
    std::string current_;
    std::string previous_;
    bool firstConnectionDone_ = false;
};
