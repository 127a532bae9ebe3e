// FTP through libcurl's easy interface.
#include "internet/CurlFtpSession.h"

#include "internet/FtpBinaryList.h"
#include "internet/FtpListing.h"
#include "internet/SmtpReply.h"
#include "internet/TcpLineTransport.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct TCurlFtpSession::Handle {
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* quote = nullptr;
    ~Handle()
    {
        curl_slist_free_all(quote);
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
    }
};

namespace {

// How long a wait lasts before Idle runs again.
constexpr int kSliceMs = 50;

// The calls, as a failure names them.
const TWording ConnectCall{"Connect"};
const TWording ListCall{"List"};
const TWording ChangeDirCall{"Change directory"};
const TWording DeleteCall{"Delete"};
const TWording MakeDirCall{"Make directory"};
const TWording UploadCall{"Upload"};
const TWording DownloadCall{"Download"};
const TWording CallCancelled{"%1 cancelled"};
const TWording CallStalled{"%1 stalled: %2"};
const TWording CallFailed{"%1 failed: %2"};
// With the host name or the server's reply the failure came with.
const TWording CallFailedWith{"%1 failed: %2 (%3)"};
const TWording AtTopFolder{"Change directory failed: already in the top folder"};
const TWording InvalidRemoteName{"Invalid remote name: %1"};
const TWording NotConnected{"Not connected"};
const TWording CannotStart{"Cannot start an FTP session"};
const TWording CannotOpen{"Cannot open file %1: %2"};
const TWording CannotCreate{"Cannot create file %1: %2"};
const TWording CannotWrite{"Cannot write file %1: %2"};

TMessage SystemReason(const TWording& failure, const std::string& path)
{
    return TMessage(failure, {path, std::string(std::strerror(errno))});
}

void GlobalInit()
{
    static const bool done = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    (void)done;
}

size_t WriteToFd(char* ptr, size_t size, size_t count, void* user)
{
    int fd = *static_cast<int*>(user);
    size_t n = size * count, done = 0;
    while (done < n) {
        ssize_t w = ::write(fd, ptr + done, n - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return 0;
        done += static_cast<size_t>(w);
    }
    return n;
}

size_t ReadFromFile(char* buffer, size_t size, size_t count, void* user)
{
    return std::fread(buffer, size, count, static_cast<FILE*>(user));
}

std::string Escape(CURL* easy, const std::string& segment)
{
    char* escaped = curl_easy_escape(easy, segment.c_str(), static_cast<int>(segment.size()));
    std::string out = escaped ? escaped : "";
    curl_free(escaped);
    return out;
}

} // namespace

// The callbacks reach the session's private reply state through this friend.
struct TCurlCallbacks {
    static size_t Header(char* ptr, size_t size, size_t count, void* user)
    {
        auto* session = static_cast<TCurlFtpSession*>(user);
        std::string line(ptr, size * count);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        // The last line of a reply has a blank after its code.
        if (line.size() >= 3 && SmtpCodeNumber(line.substr(0, 3)) > 0 && (line.size() == 3 || line[3] == ' '))
            session->reply_ = line;
        return size * count;
    }
    static int Progress(void* user, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t ulnow)
    {
        auto* session = static_cast<TCurlFtpSession*>(user);
        if (session->OnProgress)
            session->OnProgress(dlnow, ulnow);
        // The library waits for the server's word on a finished upload without
        // returning to Run's loop; it calls here about once a second meanwhile,
        // so the window lives on and Cancel ends that wait too.
        if (session->Idle)
            session->Idle();
        return session->cancelled_ ? 1 : 0;
    }
    static int SocketOpened(void* user, curl_socket_t, curlsocktype)
    {
        // Data connections open sockets too; only the first connection tells of the host.
        auto* session = static_cast<TCurlFtpSession*>(user);
        if (!session->connected_ && session->OnHostResolved)
            session->OnHostResolved();
        return CURL_SOCKOPT_OK;
    }
};

TCurlFtpSession::TCurlFtpSession(std::chrono::seconds listTimeLimit) : listTimeLimit_(listTimeLimit)
{
    GlobalInit();
}

TCurlFtpSession::~TCurlFtpSession() = default;

int TCurlFtpSession::ReplyNumber() const
{
    return reply_.size() >= 3 ? SmtpCodeNumber(reply_.substr(0, 3)) : 0;
}

std::string TCurlFtpSession::CurrentDir() const
{
    std::string path = "/";
    for (const auto& folder : folders_)
        path += folder + "/";
    return path;
}

std::string TCurlFtpSession::Url(const std::string& name, const std::vector<std::string>* folders) const
{
    std::string url = "ftp://" + login_.Host + ":" + std::to_string(login_.Port) + "/";
    for (const auto& folder : folders ? *folders : folders_)
        url += Escape(handle_->easy, folder) + "/";
    if (!name.empty())
        url += Escape(handle_->easy, name);
    return url;
}

void TCurlFtpSession::CheckName(const std::string& name) const
{
    if (!IsPlainFileName(name) || name.find_first_of("\r\n") != std::string::npos)
        throw EFtpError(TMessage(InvalidRemoteName, {name}));
}

void TCurlFtpSession::Prepare(const std::string& url)
{
    if (!handle_)
        throw EFtpError(TMessage(NotConnected, {}));
    CURL* easy = handle_->easy;
    curl_easy_reset(easy);
    curl_slist_free_all(handle_->quote);
    handle_->quote = nullptr;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_USERNAME, login_.User.c_str());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, login_.Password.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(login_.TimeOutMs));
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(login_.TimeOutMs / 1000 + 1));
    // A transfer that all but stalls is ended rather than waited on for ever.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, static_cast<long>(kStallBytesPerSecond));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(FtpStallSeconds(login_)));
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &TCurlCallbacks::Header);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &TCurlCallbacks::Progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &TCurlCallbacks::SocketOpened);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, this);
}

int TCurlFtpSession::Run()
{
    CURLM* multi = handle_->multi;
    CURL* easy = handle_->easy;
    curl_multi_add_handle(multi, easy);
    int result = CURLE_OK;
    for (bool done = false; !done;) {
        int running = 0;
        curl_multi_perform(multi, &running);
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
            if (msg->msg == CURLMSG_DONE) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || cancelled_)
            break;
        curl_multi_poll(multi, nullptr, 0, kSliceMs, nullptr);
        if (Idle)
            Idle();
    }
    // Taken out mid-way, the transfer ends and its connection is closed.
    curl_multi_remove_handle(multi, easy);
    return result;
}

void TCurlFtpSession::Perform(const TWording& what)
{
    cancelled_ = false;
    const auto rc = static_cast<CURLcode>(Run());
    char* ip = nullptr;
    if (curl_easy_getinfo(handle_->easy, CURLINFO_PRIMARY_IP, &ip) == CURLE_OK && ip && *ip)
        remoteIp_ = ip;
    if (curl_easy_getinfo(handle_->easy, CURLINFO_LOCAL_IP, &ip) == CURLE_OK && ip && *ip)
        localIp_ = ip;
    const TMessage call(what, {});
    if (cancelled_)
        throw EFtpCancelled(TMessage(CallCancelled, {call}));
    if (rc == CURLE_OK)
        return;
    curl_off_t transferStarted = 0;
    curl_easy_getinfo(handle_->easy, CURLINFO_PRETRANSFER_TIME_T, &transferStarted);
    if (rc == CURLE_OPERATION_TIMEDOUT && transferStarted > 0)
        throw EFtpError(
            TMessage(CallStalled, {call, TRateFloor{kStallBytesPerSecond, FtpStallSeconds(login_)}.Text()}));
    const std::string reason = curl_easy_strerror(rc);
    if (rc == CURLE_COULDNT_RESOLVE_HOST)
        throw EFtpInvalidHost(TMessage(CallFailedWith, {call, reason, login_.Host}));
    if (ReplyNumber() >= 400)
        throw EFtpRefused(TMessage(CallFailedWith, {call, reason, reply_}));
    throw EFtpError(TMessage(CallFailed, {call, reason}));
}

void TCurlFtpSession::Connect(const TFtpLogin& login)
{
    Disconnect();
    login_ = login;
    handle_ = std::make_unique<Handle>();
    handle_->multi = curl_multi_init();
    handle_->easy = curl_easy_init();
    if (!handle_->multi || !handle_->easy)
        throw EFtpError(TMessage(CannotStart, {}));
    reply_.clear();
    try {
        Prepare(Url());
        curl_easy_setopt(handle_->easy, CURLOPT_NOBODY, 1L);
        Perform(ConnectCall);
        char* entry = nullptr;
        if (curl_easy_getinfo(handle_->easy, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry)
            entryPath_ = entry;
    } catch (...) {
        handle_.reset();
        throw;
    }
    connected_ = true;
}

void TCurlFtpSession::Disconnect()
{
    handle_.reset();
    folders_.clear();
    connected_ = false;
}

std::vector<std::string> TCurlFtpSession::List()
{
    if (!handle_)
        throw EFtpError(TMessage(NotConnected, {}));
    // Some servers allow one connection at a time: the kept one goes first.
    curl_multi_cleanup(handle_->multi);
    handle_->multi = curl_multi_init();
    if (!handle_->multi)
        throw EFtpError(TMessage(CannotStart, {}));
    cancelled_ = false;
    // Without the folder the login started in, the listing goes by the folders changed into.
    std::string folder = entryPath_.empty() ? CurrentDir().substr(1) : ServerPath("");
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    std::vector<std::string> lines = ListFolderBinary(login_, folder, [this] {
        if (Idle)
            Idle();
        if (cancelled_)
            throw EFtpCancelled(TMessage(CallCancelled, {TMessage(ListCall, {})}));
    }, kMaxListing, listTimeLimit_);
    if (OnProgress) {
        std::int64_t bytes = 0;
        for (const std::string& line : lines)
            bytes += static_cast<std::int64_t>(line.size()) + 2;
        OnProgress(bytes, 0);
    }
    return lines;
}

void TCurlFtpSession::ChangeDir(const std::string& name)
{
    std::vector<std::string> target = folders_;
    if (name == "..") {
        if (target.empty())
            throw EFtpError(TMessage(AtTopFolder, {}));
        target.pop_back();
    } else {
        CheckName(name);
        target.push_back(name);
    }
    Prepare(Url({}, &target));
    curl_easy_setopt(handle_->easy, CURLOPT_NOBODY, 1L);
    Perform(ChangeDirCall);
    folders_ = std::move(target);
}

void TCurlFtpSession::Command(const std::string& command, const TWording& what)
{
    Prepare(Url());
    handle_->quote = curl_slist_append(nullptr, command.c_str());
    curl_easy_setopt(handle_->easy, CURLOPT_QUOTE, handle_->quote);
    curl_easy_setopt(handle_->easy, CURLOPT_NOBODY, 1L);
    Perform(what);
}

std::string TCurlFtpSession::ServerPath(const std::string& name) const
{
    std::string entry = entryPath_;
    if (!entry.empty() && entry.back() == '/')
        entry.pop_back();
    return entry + CurrentDir() + name;
}

void TCurlFtpSession::Delete(const std::string& name)
{
    CheckName(name);
    Command("DELE " + ServerPath(name), DeleteCall);
}

void TCurlFtpSession::MakeDirectory(const std::string& name)
{
    CheckName(name);
    Command("MKD " + ServerPath(name), MakeDirCall);
}

void TCurlFtpSession::Upload(const std::string& localPath, const std::string& remoteName)
{
    CheckName(remoteName);
    FILE* file = std::fopen(localPath.c_str(), "rb");
    if (!file)
        throw EFtpError(SystemReason(CannotOpen, localPath));
    struct stat info {};
    ::fstat(fileno(file), &info);
    try {
        Prepare(Url(remoteName));
        curl_easy_setopt(handle_->easy, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(handle_->easy, CURLOPT_READFUNCTION, &ReadFromFile);
        curl_easy_setopt(handle_->easy, CURLOPT_READDATA, file);
        curl_easy_setopt(handle_->easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(info.st_size));
        Perform(UploadCall);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    std::fclose(file);
}

void TCurlFtpSession::Download(const std::string& remoteName, const std::string& localPath)
{
    CheckName(remoteName);
    std::string temp = localPath + ".vxpart-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw EFtpError(SystemReason(CannotCreate, localPath));
    bool ok = false;
    try {
        Prepare(Url(remoteName));
        curl_easy_setopt(handle_->easy, CURLOPT_WRITEFUNCTION, &WriteToFd);
        curl_easy_setopt(handle_->easy, CURLOPT_WRITEDATA, &fd);
        Perform(DownloadCall);
        ok = ::fsync(fd) == 0;
    } catch (...) {
        ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ok = ::close(fd) == 0 && ok && ::rename(temp.c_str(), localPath.c_str()) == 0;
    if (!ok) {
        const TMessage failure = SystemReason(CannotWrite, localPath);
        ::unlink(temp.c_str());
        throw EFtpError(failure);
    }
}
