// The IP watcher's readings and history.
#include "internet/IPWatchState.h"

#include "platform/Exception.h"
#include "platform/FileIO.h"

TIPWatchState::TIPWatchState(std::unique_ptr<vx::net::IAddressSource> source, std::string historyPath)
    : source_(std::move(source)), historyPath_(std::move(historyPath))
{
    if (!vx::FileExists(historyPath_))
        return;
    TStringList lines;
    try {
        lines.LoadFromFile(historyPath_);
    } catch (const Exception&) {
        return;
    }
    // A file edited by hand may hold blanks, loopback lines or more than fit.
    for (int i = 0; i < lines.Count(); ++i)
        AddToHistory(lines[i]);
    if (history_.Count() > 0)
        previous_ = history_[history_.Count() - 1];
}

std::string TIPWatchState::GetLocalIP()
{
    return vx::net::PickLocalAddress(source_->Addresses());
}

void TIPWatchState::AddToHistory(const std::string& address)
{
    if (address.empty() || vx::net::IsLoopbackAddress(address))
        return;
    if (history_.Count() > 0 && history_[history_.Count() - 1] == address)
        return;
    history_.Add(address);
    while (history_.Count() > kHistoryLines)
        history_.Delete(0);
}

bool TIPWatchState::Tick()
{
    bool wasOnline = online_;
    std::string was = current_;
    current_ = GetLocalIP();
    online_ = !current_.empty() && !vx::net::IsLoopbackAddress(current_);
    if (wasOnline == online_)
        return false;
    if (!online_) {
        if (!was.empty() && !vx::net::IsLoopbackAddress(was))
            previous_ = was;
        AddToHistory(previous_);
    } else if (!firstConnectionDone_) {
        int last = history_.Count() - 1;
        if (last >= 0 && history_[last] == current_) {
            history_.Delete(last);
            previous_ = last > 0 ? history_[last - 1] : std::string();
        }
        firstConnectionDone_ = true;
    }
    return true;
}

void TIPWatchState::Finish()
{
    if (online_)
        AddToHistory(current_);
    history_.SaveToFile(historyPath_);
}
