// The link checker's walk, without a window: from a start page (a web address
// or a local file) every page reachable inside the start page's folder is
// checked breadth-first and becomes a node of a tree whose children are the
// links found on it. Web pages are asked for ahead of the one being checked,
// so many requests run at once while the tree still fills in queue order.
// Addresses are normalised before they are queued. A node costs a few dozen
// bytes besides its address, and the walk lists at most MaxLinks links: past
// that it still checks the pages it queued but lists no more of their links,
// and says so on each of them.
#pragma once

#include "internet/AddressStore.h"
#include "internet/CurlHttpFetcher.h"
#include "platform/Wording.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

enum TLinkState : std::uint8_t { lsUnknown = 1, lsOk = 2, lsBad = 3, lsCheckedAbove = 4 };

struct TLinkNode {
    TAddressStore::TId Address = 0;
    std::int32_t Parent = -1;
    // The links found on the page: ChildCount nodes from FirstChild on.
    std::uint32_t FirstChild = 0;
    std::uint32_t ChildCount = 0;
    // The HTTP status, 404 for a missing local file, 0 until known or after a failed request.
    std::int16_t Status = 0;
    std::uint8_t Kind = 0;
    std::uint8_t State = lsUnknown;
    // Index of what the state leaves unsaid among the walk's reasons; 0 for nothing.
    std::uint16_t Reason = 0;
};

class TLinkCrawl {
public:
    explicit TLinkCrawl(TCurlHttpFetcher& fetcher);

    // Walks from start until every queued address was checked or Cancel was called.
    void Run(const std::string& start);
    // Stops the walk after the page being checked: its reply is still
    // awaited (within the fetcher's time-out) and its links listed, the
    // requests made ahead of it are dropped, and the links not checked say so.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    // The walk stopped listing links at MaxLinks.
    bool LimitReached() const { return limitReached_; }
    // Why the last walk's start page could not be read (the request's
    // failure, the server's status, the file's read error); an empty message
    // when it was read.
    TMessage StartPageFailure() const;
    // How the last walk ended, as OnStatus said last: "Failed" when its start
    // page could not be read, else "Cancelled" or "Finished".
    std::string Outcome() const;

    // Node 0 is the start page; a node's parent always comes before it.
    const std::vector<TLinkNode>& Nodes() const { return nodes_; }
    std::string_view Address(int node) const;
    // Why the node shows what it shows beyond its state; an empty message when that says it all.
    const TMessage& Reason(int node) const;
    // As the status bar shows a node: "OK 200", "Bad 404", "Checked above" or
    // "Unknown", followed by ": " and the reason when there is one; the
    // window words it in the chosen language.
    TMessage StatusText(int node) const;
    std::size_t QueueSize() const { return queue_.size(); }

    std::size_t MaxLinks = 250000;
    // Reasons kept, the empty one counted, up to 65535; once that many are
    // known, further ones are told by one saying so.
    std::size_t MaxReasons = 60000;
    // Pages asked for ahead of the one being checked.
    std::size_t Prefetch = 64;
    // Bodies of pages fetched ahead and not read yet are held up to about this many bytes.
    std::size_t MaxBuffered = 32 << 20;

    // Before the last walk's tree goes, and once the new root stands.
    std::function<void()> OnResetting;
    std::function<void()> OnReset;
    // Before and after the links of a page become its children.
    std::function<void(int parent, int count)> OnChildrenAdding;
    std::function<void(int parent)> OnChildrenAdded;
    // A node's state or status changed.
    std::function<void(int node)> OnNodeChanged;
    // The page being worked on and what is done to it ("Loading", "Parsing").
    std::function<void(const std::string& address, const std::string& phase)> OnStatus;
    // "Error during parse:\n" + the tokenizer's message; the links found before it still count.
    std::function<void(const TMessage& message)> OnParseError;
    // Run after each page and while replies are awaited, so a window stays responsive and can cancel.
    std::function<void()> ProcessMessages;

private:
    struct TFoundLink {
        std::string Address;
        int Kind;
    };

    void Reset(const std::string& first);
    int AddNode(std::string_view address, int kind, int parent);
    void SetNode(int node, int state, int status, std::uint16_t reason = 0);
    void SetReason(int node, std::uint16_t reason);
    std::uint16_t Intern(TMessage reason);
    void CheckPage(std::size_t index);
    // The page's body to parse, or nothing when the page is not parsed.
    std::optional<std::string> CheckWebPage(std::string_view address, int node, std::size_t index);
    std::optional<std::string> CheckLocalPage(std::string_view address, int node);
    // The web request a queued address needs, if any.
    std::optional<TFetchRequest> RequestFor(std::string_view address) const;
    void SubmitAhead(std::size_t index);
    TFetchReply AwaitReply(std::size_t index);
    bool InsideSite(std::string_view address) const;
    void ParsePage(const std::string& address, int node, const std::string& page);
    void AddChildren(int parent, const std::vector<TFoundLink>& links, const std::vector<std::string>& anchors);
    void MarkUnchecked(std::size_t from);

    TCurlHttpFetcher& fetcher_;
    TAddressStore addresses_;
    std::vector<TLinkNode> nodes_;
    // Node of each queued address, in the order of discovery.
    std::vector<std::uint32_t> queue_;
    std::vector<TMessage> reasons_;
    std::map<std::string, std::uint16_t> reasonIndex_;
    std::unordered_map<std::size_t, TFetchReply> replies_;
    std::size_t submitted_ = 0;
    std::size_t buffered_ = 0;
    std::string siteBase_;
    bool remote_ = false;
    bool cancelled_ = false;
    bool limitReached_ = false;
};
