// The FTP session on libcurl: one easy handle in one multi handle for the
// whole session, so the control connection is kept between calls, and each
// call is moved on in short waits with Idle between them.
#pragma once

#include "internet/FtpSession.h"

#include <chrono>
#include <memory>

class TCurlFtpSession : public IFtpSession {
public:
    // The longest a listing may take. The stall floor alone would let a server
    // that trickles just above it take the best part of two days over the 16 MB a listing may
    // hold. Ten minutes carry some 40,000 entries (3 MB) at dial-up speed
    // (5 KB a second): a site's folder holds far fewer, so only a server that
    // trickles meets the limit.
    static constexpr std::chrono::seconds kListTimeLimit{600};

    explicit TCurlFtpSession(std::chrono::seconds listTimeLimit = kListTimeLimit);
    ~TCurlFtpSession() override;

    void Connect(const TFtpLogin& login) override;
    void Disconnect() override;
    bool Connected() const override { return connected_; }
    std::vector<std::string> List() override;
    void ChangeDir(const std::string& name) override;
    std::string CurrentDir() const override;
    void Upload(const std::string& localPath, const std::string& remoteName) override;
    void Download(const std::string& remoteName, const std::string& localPath) override;
    void Delete(const std::string& name) override;
    void MakeDirectory(const std::string& name) override;
    int ReplyNumber() const override;
    std::string ReplyText() const override { return reply_; }
    std::string RemoteAddress() const override { return remoteIp_; }
    std::string LocalAddress() const override { return localIp_; }
    void Cancel() override { cancelled_ = true; }

    // The longest listing accepted, in bytes.
    static constexpr std::int64_t kMaxListing = 16 << 20;

private:
    struct Handle;
    // The URL of the current folder, or of a name in it.
    std::string Url(const std::string& name = {}, const std::vector<std::string>* folders = nullptr) const;
    void Prepare(const std::string& url);
    // Runs the prepared request; raises EFtpError with what went wrong.
    void Perform(const TWording& what);
    // Moves the request on in short waits until it ends or is cancelled; libcurl's result.
    int Run();
    void Command(const std::string& command, const TWording& what);
    void CheckName(const std::string& name) const;
    // Quote commands run before curl changes folder, so they name the full path
    // from the folder the login started in.
    std::string ServerPath(const std::string& name) const;

    std::unique_ptr<Handle> handle_;
    TFtpLogin login_;
    std::vector<std::string> folders_;
    std::string entryPath_;
    bool connected_ = false;
    std::string reply_;
    std::string pendingReply_;
    std::string remoteIp_;
    std::string localIp_;
    bool cancelled_ = false;
    std::chrono::seconds listTimeLimit_;
    friend struct TCurlCallbacks;
};
