// The link checker's walk, without a window: from a start page (a web address
// or a local file) every page reachable inside the start page's folder is
// checked breadth-first and becomes a node of a tree whose children are the
// links found on it. Web pages are fetched in batches through the fetcher, so
// many requests run at once while the tree still fills in queue order.
// Addresses are normalised before they are queued and the queue is bounded,
// so no site makes the walk endless.
#pragma once

#include "internet/HttpFetcher.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

enum TLinkState { lsUnknown = 1, lsOk = 2, lsBad = 3, lsCheckedAbove = 4 };

struct TLinkNode {
    std::string Address;
    int Kind = 0;
    int State = lsUnknown;
    // The HTTP status, 404 for a missing local file, 0 until known or after a failed request.
    int Status = 0;
    int Parent = -1;
};

class TLinkCrawl {
public:
    explicit TLinkCrawl(IHttpFetcher& fetcher) : fetcher_(fetcher) {}

    // Walks from start until every queued address was checked or Cancel was called.
    void Run(const std::string& start);
    // Stops the walk before its next page.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

    // Node 0 is the start page; a node's parent always comes before it.
    const std::vector<TLinkNode>& Nodes() const { return nodes_; }
    std::size_t QueueSize() const { return queue_.size(); }

    std::size_t MaxQueue = 50000;
    // Pages fetched ahead of the one being checked.
    std::size_t Prefetch = 64;

    std::function<void(int node)> OnNodeAdded;
    std::function<void(int node)> OnNodeChanged;
    // The page being worked on and what is done to it ("Loading", "Parsing").
    std::function<void(const std::string& address, const std::string& phase)> OnStatus;
    // "Error during parse:\n" + the tokenizer's message; the links found before it still count.
    std::function<void(const std::string& message)> OnParseError;
    // Run after each page, so a window stays responsive and can cancel.
    std::function<void()> ProcessMessages;

private:
    struct TQueued {
        std::string Address;
        int Node;
    };
    // Found links: the text as found (compared without case) -> resolved address and kind.
    struct TFoundLink {
        std::string Address;
        int Kind;
    };

    int AddNode(TLinkNode node);
    void SetNode(int node, int state, int status);
    void CheckPage(std::size_t index);
    // The web request a queued address needs, if any.
    std::optional<TFetchRequest> RequestFor(const std::string& address) const;
    void FetchAhead(std::size_t index);
    bool InsideSite(const std::string& address) const;
    void ParsePage(const std::string& address, int node, const std::string& page);
    void AddChildren(int parent, const std::vector<TFoundLink>& links, const std::vector<std::string>& anchors);

    IHttpFetcher& fetcher_;
    std::vector<TLinkNode> nodes_;
    std::vector<TQueued> queue_;
    std::unordered_set<std::string> queued_;
    std::unordered_map<std::size_t, TFetchReply> replies_;
    std::size_t fetchedUpTo_ = 0;
    std::string siteBase_;
    bool remote_ = false;
    bool cancelled_ = false;
};
