// Method chains: order, removal by handle, firing while the chain changes, exceptions.
#include "editor/mwMethodChain.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

TEST(MethodChain, EmptyHandlersAreRejectedWithTheClassName)
{
    TmwNotifyEventChain chain(nullptr);
    try {
        chain.AddHandler({});
        FAIL() << "no exception";
    } catch (const EmwMethodChain& e) {
        EXPECT_STREQ(e.what(), "TmwNotifyEventChain.Entry : the parameter `AEvent' must be specified.");
    }
    TmwMethodChain plain;
    EXPECT_THROW(plain.Add({}), EmwMethodChain);
    try {
        plain.Remove(0);
        FAIL() << "no exception";
    } catch (const EmwMethodChain& e) {
        EXPECT_STREQ(e.what(), "TmwMethodChain.Remove: the parameter `AEvent' must be specified.");
    }
}

TEST(MethodChain, FiresInOrderWithSenderAndRemovesByHandle)
{
    int sender = 0;
    TmwNotifyEventChain chain(&sender);
    std::vector<int> calls;
    auto a = chain.AddHandler([&](void* s) { calls.push_back(1); EXPECT_EQ(s, &sender); });
    auto b = chain.AddHandler([&](void*) { calls.push_back(2); });
    chain.AddHandler([&](void*) { calls.push_back(3); });
    EXPECT_NE(a, b);
    chain.Fire();
    EXPECT_EQ(calls, (std::vector<int>{1, 2, 3}));
    chain.RemoveHandler(b);
    chain.RemoveHandler(b + 100); // unknown: nothing happens
    calls.clear();
    chain.Fire();
    EXPECT_EQ(calls, (std::vector<int>{1, 3}));
    EXPECT_EQ(chain.Count(), 2);
}

TEST(MethodChain, HandlersAddedWhileFiringRunInTheSameRound)
{
    TmwMethodChain chain;
    int second = 0;
    int added = 0;
    chain.Add([&] {
        if (added++ == 0)
            chain.Add([&] { ++second; });
    });
    chain.Fire();
    EXPECT_EQ(second, 1);
    EXPECT_EQ(chain.Count(), 2);
}

TEST(MethodChain, HandlerRemovingItselfWhileFiring)
{
    TmwMethodChain chain;
    TmwChainHandle self = 0;
    int calls = 0;
    self = chain.Add([&] { chain.Remove(self); ++calls; });
    chain.Add([&] { ++calls; });
    chain.Fire();
    EXPECT_EQ(chain.Count(), 1);
    EXPECT_EQ(calls, 2); // the next handler is not skipped
}

TEST(MethodChain, ExceptionsWithoutHandlerPropagate)
{
    TmwMethodChain chain;
    int after = 0;
    chain.Add([] { throw std::runtime_error("boom"); });
    chain.Add([&] { ++after; });
    EXPECT_THROW(chain.Fire(), std::runtime_error);
    EXPECT_EQ(after, 0);
}

TEST(MethodChain, OnExceptionDecidesWhetherToContinue)
{
    TmwMethodChain chain;
    int after = 0;
    std::string seen;
    chain.Add([] { throw std::runtime_error("boom"); });
    chain.Add([&] { ++after; });
    chain.OnException = [&](TmwMethodChain* sender, const std::exception& e, bool& doContinue) {
        EXPECT_EQ(sender, &chain);
        EXPECT_TRUE(doContinue);
        seen = e.what();
    };
    chain.Fire();
    EXPECT_EQ(seen, "boom");
    EXPECT_EQ(after, 1);
    chain.OnException = [&](TmwMethodChain*, const std::exception&, bool& doContinue) { doContinue = false; };
    chain.Fire();
    EXPECT_EQ(after, 1);
}
