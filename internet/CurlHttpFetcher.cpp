// HTTP through libcurl's multi interface.
#include "internet/CurlHttpFetcher.h"

#include "internet/TextUtil.h"

#include <curl/curl.h>

#include <memory>

namespace {

struct TTransfer {
    CURL* easy = nullptr;
    TFetchReply* reply = nullptr;
    std::int64_t maxBody = 0;
    bool tooLarge = false;
    ~TTransfer()
    {
        if (easy)
            curl_easy_cleanup(easy);
    }
};

size_t WriteBody(char* ptr, size_t size, size_t count, void* user)
{
    auto* t = static_cast<TTransfer*>(user);
    size_t n = size * count;
    if (static_cast<std::int64_t>(t->reply->Body.size() + n) > t->maxBody) {
        t->tooLarge = true;
        return 0;
    }
    t->reply->Body.append(ptr, n);
    return n;
}

size_t NoBody(char*, size_t size, size_t count, void*)
{
    return size * count;
}

} // namespace

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
}

std::vector<TFetchReply> TCurlHttpFetcher::FetchAll(const std::vector<TFetchRequest>& requests)
{
    std::vector<TFetchReply> replies(requests.size());
    std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(), &curl_multi_cleanup);
    if (!multi) {
        for (auto& r : replies)
            r.Error = "Cannot start an HTTP request";
        return replies;
    }
    curl_multi_setopt(multi.get(), CURLMOPT_MAX_TOTAL_CONNECTIONS, static_cast<long>(Parallel));
    std::vector<std::unique_ptr<TTransfer>> transfers(requests.size());
    std::size_t next = 0;
    int running = 0;
    auto start = [&](std::size_t i) {
        auto t = std::make_unique<TTransfer>();
        t->reply = &replies[i];
        t->maxBody = MaxBody;
        t->easy = curl_easy_init();
        CURL* e = t->easy;
        curl_easy_setopt(e, CURLOPT_URL, requests[i].Url.c_str());
        curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(TimeOutMs));
        curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(TimeOutMs));
        curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(e, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(e, CURLOPT_USERAGENT, "Vellumix");
        curl_easy_setopt(e, CURLOPT_NOBODY, requests[i].Head ? 1L : 0L);
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, requests[i].Head ? &NoBody : &WriteBody);
        curl_easy_setopt(e, CURLOPT_WRITEDATA, t.get());
        curl_easy_setopt(e, CURLOPT_PRIVATE, t.get());
        if (!Proxy.empty()) {
            curl_easy_setopt(e, CURLOPT_PROXY, Proxy.c_str());
            if (ProxyPort > 0)
                curl_easy_setopt(e, CURLOPT_PROXYPORT, static_cast<long>(ProxyPort));
        }
        curl_multi_add_handle(multi.get(), e);
        transfers[i] = std::move(t);
    };
    auto finish = [&](CURLMsg* msg) {
        TTransfer* t = nullptr;
        curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&t));
        TFetchReply& reply = *t->reply;
        long status = 0;
        curl_easy_getinfo(t->easy, CURLINFO_RESPONSE_CODE, &status);
        char* type = nullptr;
        curl_easy_getinfo(t->easy, CURLINFO_CONTENT_TYPE, &type);
        reply.ContentType = type ? type : "";
        reply.Status = static_cast<int>(status);
        if (msg->data.result == CURLE_OK) {
            reply.Ok = true;
        } else {
            reply.Body.clear();
            reply.Error = t->tooLarge ? "Reply larger than " + std::to_string(t->maxBody) + " bytes"
                                      : curl_easy_strerror(msg->data.result);
            reply.Ok = false;
            reply.InvalidHost = msg->data.result == CURLE_COULDNT_RESOLVE_HOST;
            if (!t->tooLarge)
                reply.Status = 0;
        }
        curl_multi_remove_handle(multi.get(), t->easy);
        curl_easy_cleanup(t->easy);
        t->easy = nullptr;
    };
    const std::size_t parallel = static_cast<std::size_t>(Parallel > 0 ? Parallel : 1);
    for (;;) {
        while (next < requests.size() && static_cast<std::size_t>(running) < parallel) {
            start(next++);
            ++running;
        }
        int stillRunning = 0;
        curl_multi_perform(multi.get(), &stillRunning);
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued)) {
            if (msg->msg == CURLMSG_DONE) {
                finish(msg);
                --running;
            }
        }
        if (running == 0 && next >= requests.size())
            break;
        if (static_cast<std::size_t>(running) >= parallel || next >= requests.size()) {
            curl_multi_poll(multi.get(), nullptr, 0, 50, nullptr);
            if (Idle)
                Idle();
        }
    }
    return replies;
}
