// The link checker's walk.
#include "internet/LinkCrawl.h"

#include "internet/HTMLParser.h"
#include "internet/LinkAddress.h"
#include "internet/LinkTables.h"
#include "internet/TextUtil.h"
#include "internet/URLHelpers.h"
#include "platform/FileIO.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace {

const TWording ParseFailed{"Error during parse:\n%1"};
const TWording StateOk{"OK %1"};
const TWording StateBad{"Bad %1"};
const TWording StateCheckedAbove{"Checked above"};
const TWording StateUnknown{"Unknown"};
const TWording StateWithReason{"%1: %2"};
const TWording NotChecked{"not checked, the check was cancelled"};
const TWording NotCheckable{"only web addresses and local files are checked"};
const TWording NoSuchStart{"it is neither a file that exists nor a web address"};
const TWording ServerAnswered{"the server answered %1"};
const TWording TooLarge{"larger than %1 bytes, its links were not read"};
const TWording RedirectLoop{"more than %1 redirects (a redirect loop)"};
const TWording NoneListed{"its links are not listed, the limit of %1 links was reached"};
const TWording SomeListed{"only %1 of its %2 links are listed, the limit of %3 links was reached"};
constexpr std::uintmax_t kMaxLocalPage = 8 << 20;
// Told once MaxReasons are known.
const TWording ManyReasons{"no further reason can be kept"};

bool IsHtmlFileName(std::string_view path)
{
    std::string lower = vx::net::LowerCase(path);
    for (std::string_view ext : {".htm", ".html", ".shtml"})
        if (lower.size() >= ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0)
            return true;
    return false;
}

TMessage TooLargeReason(std::uintmax_t limit)
{
    return TMessage(TooLarge, {std::to_string(limit)});
}

} // namespace

TLinkCrawl::TLinkCrawl(TCurlHttpFetcher& fetcher) : fetcher_(fetcher)
{
    reasons_.emplace_back();
}

std::string_view TLinkCrawl::Address(int node) const
{
    return addresses_.Text(nodes_[static_cast<std::size_t>(node)].Address);
}

const TMessage& TLinkCrawl::Reason(int node) const
{
    return reasons_[nodes_[static_cast<std::size_t>(node)].Reason];
}

TMessage TLinkCrawl::StatusText(int node) const
{
    const TLinkNode& n = nodes_[static_cast<std::size_t>(node)];
    TMessage state;
    switch (n.State) {
    case lsOk: state = TMessage(StateOk, {std::to_string(n.Status)}); break;
    case lsBad: state = TMessage(StateBad, {std::to_string(n.Status)}); break;
    case lsCheckedAbove: state = TMessage(StateCheckedAbove, {}); break;
    default: state = TMessage(StateUnknown, {}); break;
    }
    if (n.Reason == 0)
        return state;
    return TMessage(StateWithReason, {std::move(state), Reason(node)});
}

std::uint16_t TLinkCrawl::Intern(TMessage reason)
{
    std::string english = reason.English();
    if (english.empty())
        return 0;
    auto it = reasonIndex_.find(english);
    if (it != reasonIndex_.end())
        return it->second;
    // The reason that tells of the others takes a place of its own past the limit.
    if (reasons_.size() >= std::min<std::size_t>(MaxReasons, UINT16_MAX) && english != ManyReasons.English())
        return Intern(TMessage(ManyReasons, {}));
    reasons_.push_back(std::move(reason));
    auto index = static_cast<std::uint16_t>(reasons_.size() - 1);
    reasonIndex_.emplace(std::move(english), index);
    return index;
}

int TLinkCrawl::AddNode(std::string_view address, int kind, int parent)
{
    TLinkNode node;
    node.Address = addresses_.Add(address);
    node.Kind = static_cast<std::uint8_t>(kind);
    node.Parent = parent;
    nodes_.push_back(node);
    return static_cast<int>(nodes_.size()) - 1;
}

void TLinkCrawl::SetNode(int node, int state, int status, std::uint16_t reason)
{
    TLinkNode& n = nodes_[static_cast<std::size_t>(node)];
    n.State = static_cast<std::uint8_t>(state);
    n.Status = static_cast<std::int16_t>(std::clamp(status, 0, 999));
    n.Reason = reason;
    if (OnNodeChanged)
        OnNodeChanged(node);
}

void TLinkCrawl::SetReason(int node, std::uint16_t reason)
{
    nodes_[static_cast<std::size_t>(node)].Reason = reason;
}

bool TLinkCrawl::InsideSite(std::string_view address) const
{
    return address.substr(0, siteBase_.size()) == siteBase_;
}

void TLinkCrawl::Reset(const std::string& first)
{
    if (OnResetting)
        OnResetting();
    fetcher_.CancelAll();
    addresses_.Clear();
    std::vector<TLinkNode>().swap(nodes_);
    std::vector<std::uint32_t>().swap(queue_);
    reasons_.resize(1);
    reasonIndex_.clear();
    replies_.clear();
    submitted_ = 0;
    buffered_ = 0;
    cancelled_ = false;
    limitReached_ = false;
    siteBase_ = GetURLBase(first);
    int root = AddNode(first, 0, -1);
    addresses_.MarkQueued(nodes_[0].Address);
    queue_.push_back(static_cast<std::uint32_t>(root));
    if (OnReset)
        OnReset();
}

void TLinkCrawl::Run(const std::string& start)
{
    std::error_code ec;
    remote_ = !std::filesystem::is_regular_file(start, ec);
    const std::string first = remote_ ? vx::net::NormalizeAddress(start) : start;
    Reset(first);
    std::size_t i = 0;
    for (; !cancelled_ && i < queue_.size(); ++i) {
        CheckPage(i);
        if (ProcessMessages)
            ProcessMessages();
    }
    fetcher_.CancelAll();
    replies_.clear();
    if (cancelled_)
        MarkUnchecked(i);
    if (OnStatus)
        OnStatus(first, Outcome());
}

TMessage TLinkCrawl::StartPageFailure() const
{
    if (nodes_.empty())
        return {};
    const TLinkNode& start = nodes_[0];
    // A refused or failed request, an unreadable file and a start that is
    // neither say why; a server's answer outside 2xx says it in its status.
    if (start.State == lsBad && start.Reason == 0)
        return TMessage(ServerAnswered, {std::to_string(start.Status)});
    if (start.State == lsBad || start.State == lsUnknown)
        return Reason(0);
    return {};
}

std::string TLinkCrawl::Outcome() const
{
    if (!StartPageFailure().English().empty())
        return "Failed";
    return cancelled_ ? "Cancelled" : "Finished";
}

void TLinkCrawl::MarkUnchecked(std::size_t from)
{
    const std::uint16_t reason = Intern(TMessage(NotChecked, {}));
    for (std::size_t i = from; i < queue_.size(); ++i) {
        TLinkNode& n = nodes_[queue_[i]];
        if (n.State == lsUnknown && n.Reason == 0)
            n.Reason = reason;
    }
}

std::optional<TFetchRequest> TLinkCrawl::RequestFor(std::string_view address) const
{
    if (!vx::net::IsHttpAddress(address))
        return std::nullopt;
    return TFetchRequest{std::string(address), !(remote_ && InsideSite(address))};
}

void TLinkCrawl::SubmitAhead(std::size_t index)
{
    const std::size_t end = std::min(queue_.size(), index + std::max<std::size_t>(Prefetch, 1));
    // Bodies waiting to be read hold back further requests, never the page that is needed now.
    for (; submitted_ < end && (submitted_ <= index || buffered_ < MaxBuffered); ++submitted_)
        if (auto request = RequestFor(Address(static_cast<int>(queue_[submitted_]))))
            fetcher_.Submit(submitted_, std::move(*request));
}

TFetchReply TLinkCrawl::AwaitReply(std::size_t index)
{
    bool aheadDropped = false;
    for (;;) {
        auto it = replies_.find(index);
        if (it != replies_.end()) {
            TFetchReply reply = std::move(it->second);
            replies_.erase(it);
            buffered_ -= reply.Body.size();
            return reply;
        }
        // A cancelled walk still finishes the page being checked (its request
        // ends by the fetcher's time-out at the latest); what was asked for
        // ahead of it is not wanted any more.
        if (cancelled_ && !aheadDropped) {
            fetcher_.CancelAllBut(index);
            aheadDropped = true;
        }
        for (auto& [id, reply] : fetcher_.Step(50)) {
            buffered_ += reply.Body.size();
            replies_.emplace(static_cast<std::size_t>(id), std::move(reply));
        }
        if (ProcessMessages && !replies_.count(index))
            ProcessMessages();
    }
}

void TLinkCrawl::CheckPage(std::size_t index)
{
    const int node = static_cast<int>(queue_[index]);
    const std::string address(Address(node));
    if (OnStatus)
        OnStatus(address, "Loading");
    std::optional<std::string> page;
    if (vx::net::IsHttpAddress(address)) {
        page = CheckWebPage(address, node, index);
    } else if (!remote_ && !vx::net::HasScheme(address)) {
        page = CheckLocalPage(address, node);
    } else {
        SetReason(node, Intern(TMessage(node == 0 ? NoSuchStart : NotCheckable, {})));
        return;
    }
    if (page)
        ParsePage(address, node, *page);
}

std::optional<std::string> TLinkCrawl::CheckWebPage(std::string_view address, int node, std::size_t index)
{
    SubmitAhead(index);
    TFetchReply reply = AwaitReply(index);
    if (reply.Failure == TFetchFailure::TooLarge && IsSuccess(reply.Status)) {
        SetNode(node, lsOk, reply.Status, Intern(TooLargeReason(static_cast<std::uintmax_t>(fetcher_.MaxBody))));
        return std::nullopt;
    }
    if (reply.Failure == TFetchFailure::TooManyRedirects) {
        SetNode(node, lsBad, reply.Status,
                Intern(TMessage(RedirectLoop, {std::to_string(fetcher_.MaxRedirects)})));
        return std::nullopt;
    }
    if (!reply.Ok) {
        SetNode(node, lsBad, 0, Intern(reply.Error));
        return std::nullopt;
    }
    if (!IsSuccess(reply.Status)) {
        SetNode(node, lsBad, reply.Status);
        return std::nullopt;
    }
    SetNode(node, lsOk, reply.Status);
    if (!remote_ || !InsideSite(address) || !IsHtmlContentType(reply.ContentType))
        return std::nullopt;
    return std::move(reply.Body);
}

std::optional<std::string> TLinkCrawl::CheckLocalPage(std::string_view address, int node)
{
    const std::string file = vx::net::LocalFilePart(address);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        SetNode(node, lsBad, 404);
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (!ec && size > kMaxLocalPage) {
        SetNode(node, lsOk, 200, Intern(TooLargeReason(kMaxLocalPage)));
        return std::nullopt;
    }
    std::string bytes;
    try {
        bytes = vx::ReadWholeFile(file);
    } catch (const Exception& e) {
        // A file that is there but cannot be read: the 404 alone would say it is missing.
        SetNode(node, lsBad, 404, Intern(e.Said()));
        return std::nullopt;
    }
    SetNode(node, lsOk, 200);
    if (!InsideSite(file) || !IsHtmlFileName(file))
        return std::nullopt;
    // A page that is not UTF-8 is read as Windows-1252, as the editor reads
    // it: a link naming "café.htm" finds the file whichever way it was saved.
    return vx::TextFromFileBytes(bytes);
}

void TLinkCrawl::ParsePage(const std::string& address, int node, const std::string& page)
{
    if (OnStatus)
        OnStatus(address, "Parsing");
    const std::string ownBase = GetURLBase(address);
    std::string pageBase = ownBase;
    // Sorted without regard to case; a second copy keeps the smaller kind.
    std::map<std::string, TFoundLink> links;
    std::vector<std::string> anchors;
    std::istringstream stream(page);
    try {
        THTMLParser parser(stream);
        for (; parser.TokenKind() != ptEOF; parser.NextToken()) {
            if (parser.TokenKind() != ptTag)
                continue;
            std::string name = vx::net::UpperCase(parser.Text());
            const TStringList& attributes = parser.Attributes();
            if (name == "BASE") {
                // A relative base is taken from the page's own folder.
                std::string href = vx::net::Trim(attributes.Values("HREF"));
                if (!href.empty() && !vx::net::HasScheme(href))
                    href = vx::net::ResolveLink(href, address, ownBase);
                pageBase = href.empty() ? ownBase : (href.back() == '/' ? href : href + "/");
                continue;
            }
            if (name == "A" && !attributes.Values("NAME").empty())
                anchors.push_back(vx::net::LowerCase("#" + attributes.Values("NAME")));
            for (const TTagLink& link : TagLinks(name, attributes, LinkCheckerRules())) {
                bool anchor = link.Value[0] == '#';
                std::string resolved =
                    anchor ? link.Value
                           : vx::net::NormalizeAddress(vx::net::ResolveLink(link.Value, address, pageBase));
                if (resolved.empty())
                    continue;
                auto [it, added] = links.try_emplace(vx::net::LowerCase(resolved), TFoundLink{resolved, link.Kind});
                if (anchor)
                    it->second.Kind = 1;
                else if (!added)
                    it->second.Kind = std::min(it->second.Kind, link.Kind);
            }
        }
    } catch (const EParserError& e) {
        if (OnParseError)
            OnParseError(TMessage(ParseFailed, {e.Said()}));
    }
    std::vector<TFoundLink> ordered;
    ordered.reserve(links.size());
    for (auto& [key, link] : links)
        ordered.push_back(std::move(link));
    std::map<std::string, TFoundLink>().swap(links);
    AddChildren(node, ordered, anchors);
}

void TLinkCrawl::AddChildren(int parent, const std::vector<TFoundLink>& links, const std::vector<std::string>& anchors)
{
    const std::size_t room = MaxLinks > nodes_.size() ? MaxLinks - nodes_.size() : 0;
    const std::size_t count = std::min(links.size(), room);
    if (count < links.size()) {
        limitReached_ = true;
        const std::string limit = std::to_string(MaxLinks);
        SetReason(parent, Intern(count == 0 ? TMessage(NoneListed, {limit})
                                            : TMessage(SomeListed, {std::to_string(count),
                                                                    std::to_string(links.size()), limit})));
    }
    if (count == 0)
        return;
    if (OnChildrenAdding)
        OnChildrenAdding(parent, static_cast<int>(count));
    const auto first = static_cast<std::uint32_t>(nodes_.size());
    for (std::size_t i = 0; i < count; ++i) {
        const TFoundLink& link = links[i];
        const int kind = PrefixKind(link.Address, LinkCheckerPrefixes(), link.Kind);
        if (kind == 1) {
            bool found = std::find(anchors.begin(), anchors.end(), vx::net::LowerCase(link.Address)) != anchors.end();
            nodes_[static_cast<std::size_t>(AddNode(link.Address, kind, parent))].State = found ? lsOk : lsBad;
            continue;
        }
        if (auto queued = addresses_.FindQueued(link.Address)) {
            TLinkNode node;
            // The same spelling is kept once.
            node.Address = addresses_.Text(*queued) == link.Address ? *queued : addresses_.Add(link.Address);
            node.Kind = static_cast<std::uint8_t>(kind);
            node.Parent = parent;
            node.State = lsCheckedAbove;
            nodes_.push_back(node);
            continue;
        }
        const int child = AddNode(link.Address, kind, parent);
        addresses_.MarkQueued(nodes_[static_cast<std::size_t>(child)].Address);
        queue_.push_back(static_cast<std::uint32_t>(child));
    }
    TLinkNode& page = nodes_[static_cast<std::size_t>(parent)];
    page.FirstChild = first;
    page.ChildCount = static_cast<std::uint32_t>(count);
    if (OnChildrenAdded)
        OnChildrenAdded(parent);
}
