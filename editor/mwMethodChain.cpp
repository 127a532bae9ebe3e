// Method chains: adding, removing and firing handlers, and the exception policy.
#include "editor/mwMethodChain.h"

TmwChainHandle TmwMethodChain::Add(TMethod method)
{
    if (!method)
        throw EmwMethodChain(className_ + ".Entry : the parameter `AEvent' must be specified.");
    // Handles stay unique for the life of the chain; 0 is skipped on wrap-around.
    if (++lastHandle_ == 0)
        ++lastHandle_;
    entries_.push_back(Entry{lastHandle_, std::move(method)});
    return lastHandle_;
}

void TmwMethodChain::Remove(TmwChainHandle handle)
{
    if (handle == 0)
        throw EmwMethodChain(className_ + ".Remove: the parameter `AEvent' must be specified.");
    for (auto i = entries_.size(); i-- > 0;)
        if (entries_[i].handle == handle)
            entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
}

void TmwMethodChain::Fire()
{
    size_t i = 0;
    while (i < entries_.size()) {
        // Copies, since the handler may change the list under us.
        TmwChainHandle handle = entries_[i].handle;
        TMethod method = entries_[i].method;
        try {
            CallEvent(method);
        } catch (const std::exception& e) {
            if (!DoHandleException(e))
                return;
        }
        i = NextAfter(handle, i);
    }
}

size_t TmwMethodChain::NextAfter(TmwChainHandle handle, size_t i) const
{
    for (size_t j = 0; j < entries_.size(); ++j)
        if (entries_[j].handle == handle)
            return j + 1;
    // The entry removed itself: its successor has slid into its place.
    return i;
}

bool TmwMethodChain::DoHandleException(const std::exception& E)
{
    if (!OnException)
        throw;
    bool doContinue = true;
    OnException(this, E, doContinue);
    return doContinue;
}

TmwChainHandle TmwNotifyEventChain::AddHandler(TNotifyEvent handler)
{
    if (!handler)
        return Add(TMethod());
    return Add([this, handler = std::move(handler)] { handler(sender_); });
}
