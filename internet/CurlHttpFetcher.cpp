// HTTP through libcurl's multi interface.
#include "internet/CurlHttpFetcher.h"

#include "internet/ConnectionSockets.h"
#include "internet/HostGate.h"
#include "internet/TextUtil.h"
#include "internet/URLHelpers.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

#include <unistd.h>

namespace {

// A server starts with a few requests at once; its gate lets it have more while it keeps up.
constexpr int kInitialPerHost = 4;

const TWording CannotStart{"Cannot start an HTTP request"};
const TWording ReplyTooLarge{"Reply larger than %1 bytes"};

CURLM* Multi(void* multi)
{
    return static_cast<CURLM*>(multi);
}

TFetchFailure FailureOf(CURLcode result, bool tooLarge)
{
    if (tooLarge)
        return TFetchFailure::TooLarge;
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return TFetchFailure::InvalidHost;
    case CURLE_COULDNT_CONNECT:
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE: return TFetchFailure::ConnectionFailed;
    case CURLE_OPERATION_TIMEDOUT: return TFetchFailure::TimedOut;
    case CURLE_TOO_MANY_REDIRECTS: return TFetchFailure::TooManyRedirects;
    default: return TFetchFailure::Other;
    }
}

} // namespace

struct TCurlHttpFetcher::TTransfer {
    TCurlHttpFetcher* Owner = nullptr;
    std::uint64_t Id = 0;
    TFetchRequest Request;
    std::string Host;
    CURL* Easy = nullptr;
    TFetchReply Reply;
    std::int64_t MaxBody = 0;
    bool TooLarge = false;
    bool Events = false;
    // Connections of this request that were dropped or refused.
    int Drops = 0;
    int RequestsSent = 0;
    int LastEvent = -1;
    std::uint32_t Ticket = 0;
    // The socket of the request's connection, -1 until known.
    int Socket = -1;
};

// libcurl's callbacks, with access to the fetcher's event list.
struct TFetchCallbacks {
    using TTransfer = TCurlHttpFetcher::TTransfer;

    static size_t Body(char* ptr, size_t size, size_t count, void* user)
    {
        auto* t = static_cast<TTransfer*>(user);
        const size_t n = size * count;
        if (static_cast<std::int64_t>(t->Reply.Body.size() + n) > t->MaxBody) {
            t->TooLarge = true;
            return 0;
        }
        t->Reply.Body.append(ptr, n);
        return n;
    }
    static size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }
    // At the end of a reply's headers, the headers are acknowledged at once. A
    // server that writes headers and body apart without TCP_NODELAY holds the
    // body until that acknowledgement, which the system delays by 40 ms on a
    // connection that goes on with one request after another: on every
    // request of a kept connection, but the first few.
    static size_t Header(char* ptr, size_t size, size_t count, void* user)
    {
        const size_t n = size * count;
        auto* t = static_cast<TTransfer*>(user);
        if (t->Socket >= 0 && (n == 0 || ptr[0] == '\r' || ptr[0] == '\n'))
            TConnectionSockets::AcknowledgeNow(t->Socket);
        return n;
    }
    static int Debug(CURL*, curl_infotype type, char*, size_t, void* user)
    {
        auto* t = static_cast<TTransfer*>(user);
        if (type == CURLINFO_HEADER_OUT) {
            // Every request after the first is one a redirect asked for.
            if (t->RequestsSent++ > 0)
                t->Owner->Report(*t, THttpEvent::Redirected);
            t->Owner->Report(*t, THttpEvent::Sent);
        } else if (type == CURLINFO_HEADER_IN || type == CURLINFO_DATA_IN) {
            t->Owner->Report(*t, THttpEvent::Received);
        }
        return 0;
    }
    static int SocketOpened(void* user, curl_socket_t socket, curlsocktype)
    {
        auto* t = static_cast<TTransfer*>(user);
        t->Socket = socket;
        t->Owner->Report(*t, THttpEvent::HostResolved);
        return CURL_SOCKOPT_OK;
    }
    static int Connected(void* user, char* remoteIp, char*, int remotePort, int localPort)
    {
        auto* t = static_cast<TTransfer*>(user);
        t->Socket = t->Owner->sockets_.Attach(remoteIp ? remoteIp : "", remotePort, localPort, t->Socket);
        t->Owner->Report(*t, THttpEvent::Connected);
        return CURL_PREREQFUNC_OK;
    }
    static int CloseSocket(void* owner, curl_socket_t socket)
    {
        static_cast<TCurlHttpFetcher*>(owner)->sockets_.Closed(socket);
        return ::close(socket);
    }
};

bool IsHtmlContentType(const std::string& contentType)
{
    std::string media = contentType.substr(0, contentType.find(';'));
    return vx::net::LowerCase(vx::net::Trim(media)) == "text/html";
}

TCurlHttpFetcher::TCurlHttpFetcher()
{
    static const bool init = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    (void)init;
    multi_ = curl_multi_init();
}

TCurlHttpFetcher::~TCurlHttpFetcher()
{
    CancelAll();
    if (multi_)
        curl_multi_cleanup(Multi(multi_));
}

THostGate& TCurlHttpFetcher::Gate(const std::string& host)
{
    auto& gate = gates_[host];
    if (!gate)
        gate = std::make_unique<THostGate>(kInitialPerHost, Parallel);
    return *gate;
}

void TCurlHttpFetcher::Report(TTransfer& transfer, THttpEvent event)
{
    if (!transfer.Events || transfer.LastEvent == static_cast<int>(event))
        return;
    transfer.LastEvent = static_cast<int>(event);
    events_.emplace_back(transfer.Id, event);
}

void TCurlHttpFetcher::Submit(std::uint64_t id, TFetchRequest request)
{
    auto transfer = std::make_unique<TTransfer>();
    transfer->Owner = this;
    transfer->Id = id;
    // Every request to a proxy goes over the proxy's connections.
    transfer->Host = Proxy.empty() ? vx::net::LowerCase(GetURLRoot(request.Url)) : Proxy;
    transfer->Request = std::move(request);
    transfer->Events = static_cast<bool>(OnEvent);
    pending_.push_back(std::move(transfer));
}

void TCurlHttpFetcher::StartPending()
{
    const std::size_t parallel = static_cast<std::size_t>(std::max(Parallel, 1));
    for (auto it = pending_.begin(); it != pending_.end() && running_.size() < parallel;) {
        if (!Gate((*it)->Host).MayStart()) {
            ++it;
            continue;
        }
        Start(std::move(*it));
        it = pending_.erase(it);
    }
}

void TCurlHttpFetcher::Start(std::unique_ptr<TTransfer> t)
{
    THostGate& gate = Gate(t->Host);
    t->Reply = TFetchReply();
    t->TooLarge = false;
    t->MaxBody = MaxBody;
    t->RequestsSent = 0;
    t->Socket = -1;
    t->Easy = curl_easy_init();
    if (!t->Easy || !multi_) {
        t->Reply.Error = TMessage(CannotStart, {});
        done_.emplace_back(t->Id, std::move(t->Reply));
        return;
    }
    CURL* e = t->Easy;
    curl_easy_setopt(e, CURLOPT_URL, t->Request.Url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(TimeOutMs));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(gate.ConnectTimeoutMs(TimeOutMs, t->Drops)));
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, static_cast<long>(MaxRedirects));
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Vellumix");
    curl_easy_setopt(e, CURLOPT_NOBODY, t->Request.Head ? 1L : 0L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, t->Request.Head ? &TFetchCallbacks::Discard : &TFetchCallbacks::Body);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &TFetchCallbacks::Header);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, t.get());
    curl_easy_setopt(e, CURLOPT_PRIVATE, t.get());
    if (!Proxy.empty()) {
        curl_easy_setopt(e, CURLOPT_PROXY, Proxy.c_str());
        if (ProxyPort > 0)
            curl_easy_setopt(e, CURLOPT_PROXYPORT, static_cast<long>(ProxyPort));
    }
    curl_easy_setopt(e, CURLOPT_SOCKOPTFUNCTION, &TFetchCallbacks::SocketOpened);
    curl_easy_setopt(e, CURLOPT_SOCKOPTDATA, t.get());
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, &TFetchCallbacks::Connected);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, t.get());
    // Connections outlive their requests: the fetcher hears of their end.
    curl_easy_setopt(e, CURLOPT_CLOSESOCKETFUNCTION, &TFetchCallbacks::CloseSocket);
    curl_easy_setopt(e, CURLOPT_CLOSESOCKETDATA, this);
    if (t->Events) {
        curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, &TFetchCallbacks::Debug);
        curl_easy_setopt(e, CURLOPT_DEBUGDATA, t.get());
    }
    curl_multi_add_handle(Multi(multi_), e);
    t->Ticket = gate.Started();
    running_.push_back(std::move(t));
}

bool TCurlHttpFetcher::Finish(TTransfer& t, int code)
{
    const auto result = static_cast<CURLcode>(code);
    CURL* e = t.Easy;
    long status = 0, connects = 0, osError = 0;
    curl_off_t connectUs = 0, lookupUs = 0;
    char* type = nullptr;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(e, CURLINFO_CONTENT_TYPE, &type);
    curl_easy_getinfo(e, CURLINFO_NUM_CONNECTS, &connects);
    curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &connectUs);
    curl_easy_getinfo(e, CURLINFO_NAMELOOKUP_TIME_T, &lookupUs);
    curl_easy_getinfo(e, CURLINFO_OS_ERRNO, &osError);
    TFetchReply& reply = t.Reply;
    reply.Status = static_cast<int>(status);
    reply.ContentType = type ? type : "";
    curl_multi_remove_handle(Multi(multi_), e);
    curl_easy_cleanup(e);
    t.Easy = nullptr;

    THostGate& gate = Gate(t.Host);
    gate.Ended();
    const bool newConnection = connects > 0;
    if (result == CURLE_OK) {
        gate.Answered(t.Ticket, newConnection ? connectUs - lookupUs : -1);
        reply.Ok = true;
        reply.Failure = TFetchFailure::None;
        return true;
    }
    // A server that accepted connections before and now drops, refuses or
    // closes a new one unanswered is overloaded: ask again, more slowly.
    const bool neverConnected = connectUs == 0;
    const bool overloaded = gate.Reachable() && !t.TooLarge
                         && ((result == CURLE_OPERATION_TIMEDOUT && neverConnected) || result == CURLE_COULDNT_CONNECT
                             || (newConnection && (result == CURLE_GOT_NOTHING || result == CURLE_RECV_ERROR
                                                   || result == CURLE_SEND_ERROR)));
    if (overloaded) {
        gate.Overloaded(t.Ticket);
        if (++t.Drops <= kMaxRetries)
            return false;
    }
    reply.Ok = false;
    reply.Failure = FailureOf(result, t.TooLarge);
    reply.Body.clear();
    if (t.TooLarge) {
        reply.Error = TMessage(ReplyTooLarge, {std::to_string(t.MaxBody)});
    } else {
        std::string said = curl_easy_strerror(result);
        if (osError != 0)
            said += std::string(" (") + std::strerror(static_cast<int>(osError)) + ")";
        reply.Error = std::move(said);
    }
    if (reply.Failure != TFetchFailure::TooLarge && reply.Failure != TFetchFailure::TooManyRedirects)
        reply.Status = 0;
    return true;
}

void TCurlHttpFetcher::Pump()
{
    StartPending();
    if (running_.empty())
        return;
    int stillRunning = 0;
    curl_multi_perform(Multi(multi_), &stillRunning);
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(Multi(multi_), &queued)) {
        if (msg->msg != CURLMSG_DONE)
            continue;
        auto it = std::find_if(running_.begin(), running_.end(),
                               [&](const auto& t) { return t->Easy == msg->easy_handle; });
        if (it == running_.end())
            continue;
        std::unique_ptr<TTransfer> t = std::move(*it);
        running_.erase(it);
        if (Finish(*t, msg->data.result))
            done_.emplace_back(t->Id, std::move(t->Reply));
        else
            pending_.push_front(std::move(t));
    }
    StartPending();
}

std::vector<TCurlHttpFetcher::TDone> TCurlHttpFetcher::Step(int waitMs)
{
    Pump();
    if (done_.empty() && waitMs > 0 && !running_.empty()) {
        curl_multi_poll(Multi(multi_), nullptr, 0, waitMs, nullptr);
        Pump();
    }
    if (OnEvent)
        for (const auto& [id, event] : std::exchange(events_, {}))
            OnEvent(id, event);
    events_.clear();
    return std::exchange(done_, {});
}

void TCurlHttpFetcher::CancelAll()
{
    CancelWhere([](std::uint64_t) { return true; });
}

void TCurlHttpFetcher::CancelAllBut(std::uint64_t keep)
{
    CancelWhere([keep](std::uint64_t id) { return id != keep; });
}

void TCurlHttpFetcher::CancelWhere(const std::function<bool(std::uint64_t id)>& drop)
{
    std::erase_if(running_, [&](const std::unique_ptr<TTransfer>& t) {
        if (!drop(t->Id))
            return false;
        curl_multi_remove_handle(Multi(multi_), t->Easy);
        curl_easy_cleanup(t->Easy);
        t->Easy = nullptr;
        Gate(t->Host).Ended();
        return true;
    });
    std::erase_if(pending_, [&](const std::unique_ptr<TTransfer>& t) { return drop(t->Id); });
    std::erase_if(done_, [&](const TDone& d) { return drop(d.first); });
    std::erase_if(events_, [&](const std::pair<std::uint64_t, THttpEvent>& e) { return drop(e.first); });
}

std::vector<TFetchReply> TCurlHttpFetcher::FetchAll(const std::vector<TFetchRequest>& requests)
{
    std::vector<TFetchReply> replies(requests.size());
    const std::uint64_t base = nextOwnId_;
    nextOwnId_ += requests.size();
    for (std::size_t i = 0; i < requests.size(); ++i)
        Submit(base + i, requests[i]);
    std::size_t left = requests.size();
    while (left > 0) {
        for (auto& [id, reply] : Step(50)) {
            if (id >= base && id - base < replies.size()) {
                replies[id - base] = std::move(reply);
                --left;
            }
        }
        if (left > 0 && Idle)
            Idle();
    }
    return replies;
}
