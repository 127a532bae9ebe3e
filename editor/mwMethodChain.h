// Method chains: lists of handlers fired in order, through which one object
// (a highlighter) notifies every object hooked into it (its editors).
#pragma once

#include "platform/Exception.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

VX_DECLARE_EXCEPTION(EmwMethodChain, Exception);

// Names one entry of a chain for its removal; 0 names none.
using TmwChainHandle = std::uint32_t;

class TmwMethodChain {
public:
    using TMethod = std::function<void()>;
    // DoContinue comes in True; answering False skips the remaining handlers.
    using TExceptionEvent =
        std::function<void(TmwMethodChain* Sender, const std::exception& E, bool& DoContinue)>;

    TmwMethodChain() : TmwMethodChain("TmwMethodChain") {}
    virtual ~TmwMethodChain() = default;
    TmwMethodChain(const TmwMethodChain&) = delete;
    TmwMethodChain& operator=(const TmwMethodChain&) = delete;

    // Raises EmwMethodChain when method is empty.
    TmwChainHandle Add(TMethod method);
    // Raises EmwMethodChain for handle 0; an unknown handle removes nothing.
    void Remove(TmwChainHandle handle);
    // Calls every entry in list order. Handlers may add or remove entries while
    // the chain fires: entries added are called in the same round, and removing
    // one never makes the chain skip another.
    void Fire();

    int Count() const { return static_cast<int>(entries_.size()); }
    const std::string& ClassName() const { return className_; }

    TExceptionEvent OnException;

protected:
    explicit TmwMethodChain(std::string className) : className_(std::move(className)) {}

    virtual void CallEvent(const TMethod& method) { method(); }
    // Called from inside the handler of E: without OnException, E is raised again.
    virtual bool DoHandleException(const std::exception& E);

private:
    // Where firing goes on after the entry handle, which was at position i.
    size_t NextAfter(TmwChainHandle handle, size_t i) const;

    struct Entry {
        TmwChainHandle handle;
        TMethod method;
    };
    std::string className_;
    std::vector<Entry> entries_;
    TmwChainHandle lastHandle_ = 0;
};

// A chain of notify events, each called with the Sender given at creation.
class TmwNotifyEventChain : public TmwMethodChain {
public:
    using TNotifyEvent = std::function<void(void* Sender)>;

    explicit TmwNotifyEventChain(void* sender) : TmwMethodChain("TmwNotifyEventChain"), sender_(sender) {}

    // Raises EmwMethodChain when handler is empty.
    TmwChainHandle AddHandler(TNotifyEvent handler);
    void RemoveHandler(TmwChainHandle handle) { Remove(handle); }

    void* Sender() const { return sender_; }

private:
    void* sender_;
};
