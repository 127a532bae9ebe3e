// The link checker's walk.
#include "internet/LinkCrawl.h"

#include "internet/HTMLParser.h"
#include "internet/LinkAddress.h"
#include "internet/LinkTables.h"
#include "internet/TextUtil.h"
#include "internet/URLHelpers.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <system_error>

namespace {

constexpr std::uintmax_t kMaxLocalPage = 8 << 20;

bool IsHtmlFileName(const std::string& path)
{
    std::string lower = vx::net::LowerCase(path);
    for (const char* ext : {".htm", ".html", ".shtml"}) {
        std::string_view e(ext);
        if (lower.size() >= e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0)
            return true;
    }
    return false;
}

// The page's bytes, or nothing when the file cannot be read.
std::optional<std::string> ReadLocalPage(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) > kMaxLocalPage || ec)
        return std::nullopt;
    try {
        return vx::ReadWholeFile(path);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

} // namespace

int TLinkCrawl::AddNode(TLinkNode node)
{
    nodes_.push_back(std::move(node));
    int index = static_cast<int>(nodes_.size()) - 1;
    if (OnNodeAdded)
        OnNodeAdded(index);
    return index;
}

void TLinkCrawl::SetNode(int node, int state, int status)
{
    nodes_[static_cast<std::size_t>(node)].State = state;
    nodes_[static_cast<std::size_t>(node)].Status = status;
    if (OnNodeChanged)
        OnNodeChanged(node);
}

bool TLinkCrawl::InsideSite(const std::string& address) const
{
    return address.compare(0, siteBase_.size(), siteBase_) == 0;
}

void TLinkCrawl::Run(const std::string& start)
{
    nodes_.clear();
    queue_.clear();
    queued_.clear();
    replies_.clear();
    fetchedUpTo_ = 0;
    cancelled_ = false;
    std::error_code ec;
    remote_ = !std::filesystem::is_regular_file(start, ec);
    std::string first = remote_ ? vx::net::NormalizeAddress(start) : start;
    siteBase_ = GetURLBase(first);
    int root = AddNode({first, 0, lsUnknown, 0, -1});
    queue_.push_back({first, root});
    queued_.insert(vx::net::LowerCase(first));
    for (std::size_t i = 0; !cancelled_ && i < queue_.size(); ++i) {
        CheckPage(i);
        if (ProcessMessages)
            ProcessMessages();
    }
    if (OnStatus)
        OnStatus(first, cancelled_ ? "Cancelled" : "Finished");
}

std::optional<TFetchRequest> TLinkCrawl::RequestFor(const std::string& address) const
{
    if (!vx::net::IsHttpAddress(address))
        return std::nullopt;
    return TFetchRequest{address, !(remote_ && InsideSite(address))};
}

void TLinkCrawl::FetchAhead(std::size_t index)
{
    if (index < fetchedUpTo_)
        return;
    std::size_t end = std::min(queue_.size(), index + std::max<std::size_t>(Prefetch, 1));
    std::vector<TFetchRequest> requests;
    std::vector<std::size_t> owners;
    for (std::size_t i = index; i < end; ++i) {
        if (auto request = RequestFor(queue_[i].Address)) {
            requests.push_back(*request);
            owners.push_back(i);
        }
    }
    if (!requests.empty()) {
        auto replies = fetcher_.FetchAll(requests);
        for (std::size_t k = 0; k < owners.size(); ++k)
            replies_[owners[k]] = std::move(replies[k]);
    }
    fetchedUpTo_ = end;
}

void TLinkCrawl::CheckPage(std::size_t index)
{
    const std::string address = queue_[index].Address;
    const int node = queue_[index].Node;
    if (OnStatus)
        OnStatus(address, "Loading");
    std::string page;
    bool parse = false;
    if (vx::net::IsHttpAddress(address)) {
        FetchAhead(index);
        TFetchReply reply = std::move(replies_[index]);
        replies_.erase(index);
        if (!reply.Ok) {
            SetNode(node, lsBad, 0);
            return;
        }
        if (!IsSuccess(reply.Status)) {
            SetNode(node, lsBad, reply.Status);
            return;
        }
        SetNode(node, lsOk, reply.Status);
        parse = remote_ && InsideSite(address) && IsHtmlContentType(reply.ContentType);
        page = std::move(reply.Body);
    } else if (!remote_ && !vx::net::HasScheme(address)) {
        std::string file = vx::net::LocalFilePart(address);
        auto bytes = ReadLocalPage(file);
        if (!bytes) {
            SetNode(node, lsBad, 404);
            return;
        }
        SetNode(node, lsOk, 200);
        parse = InsideSite(file) && IsHtmlFileName(file);
        page = std::move(*bytes);
    } else {
        return;
    }
    if (parse)
        ParsePage(address, node, page);
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
            OnParseError(std::string("Error during parse:\n") + e.what());
    }
    std::vector<TFoundLink> ordered;
    for (auto& [key, link] : links)
        ordered.push_back(link);
    AddChildren(node, ordered, anchors);
}

void TLinkCrawl::AddChildren(int parent, const std::vector<TFoundLink>& links, const std::vector<std::string>& anchors)
{
    for (const TFoundLink& link : links) {
        TLinkNode child{link.Address, PrefixKind(link.Address, LinkCheckerPrefixes(), link.Kind), lsUnknown, 0, parent};
        if (child.Kind == 1) {
            bool found = std::find(anchors.begin(), anchors.end(), vx::net::LowerCase(link.Address)) != anchors.end();
            child.State = found ? lsOk : lsBad;
            AddNode(std::move(child));
            continue;
        }
        std::string key = vx::net::LowerCase(link.Address);
        if (queued_.count(key)) {
            child.State = lsCheckedAbove;
            AddNode(std::move(child));
            continue;
        }
        int index = AddNode(std::move(child));
        // A full queue leaves the link unknown rather than growing without end.
        if (queue_.size() < MaxQueue) {
            queue_.push_back({link.Address, index});
            queued_.insert(key);
        }
    }
}
