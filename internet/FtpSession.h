// An FTP session as the publishing window uses it: log in, list, change folder,
// transfer, delete and create folders. Each call raises EFtpError when it
// fails, with the server's reply where there was one; a call that returns has
// been confirmed by the server. While a call waits, Idle runs every few
// milliseconds, so the window processes its events and can Cancel the call.
// Transfers report their bytes through OnProgress; one that moves less than
// kStallBytesPerSecond for FtpStallSeconds, a listing too, is ended as stalled.
// A listing has a time limit of its own as well.
#pragma once

#include "platform/Exception.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

VX_DECLARE_EXCEPTION(EFtpError, Exception);
// The server answered the command with a refusal.
VX_DECLARE_EXCEPTION(EFtpRefused, EFtpError);
// The server's name could not be resolved.
VX_DECLARE_EXCEPTION(EFtpInvalidHost, EFtpError);
// The call was cancelled.
VX_DECLARE_EXCEPTION(EFtpCancelled, EFtpError);

// A listing that had not come whole when its time limit was over.
class EFtpListTimedOut : public EFtpError {
public:
    explicit EFtpListTimedOut(std::chrono::seconds limit)
        : EFtpError("List stopped: not all of it came within " + std::to_string(limit.count()) + " seconds"),
          limit_(limit)
    {
    }
    std::chrono::seconds Limit() const { return limit_; }

private:
    std::chrono::seconds limit_;
};

struct TFtpLogin {
    std::string Host;
    int Port = 21;
    std::string User;
    std::string Password;
    // The longest wait for the server, in milliseconds.
    int TimeOutMs = 20000;
};

class IFtpSession {
public:
    virtual ~IFtpSession() = default;

    // Logs in and reads the first folder's listing to prove it.
    virtual void Connect(const TFtpLogin& login) = 0;
    virtual void Disconnect() = 0;
    virtual bool Connected() const = 0;
    // The raw LIST lines of the current folder; EFtpListTimedOut when they
    // come so slowly that the listing outlasts its time limit.
    virtual std::vector<std::string> List() = 0;
    // A name of the current folder, or ".." for the folder above.
    virtual void ChangeDir(const std::string& name) = 0;
    // "/" followed by the folders changed into.
    virtual std::string CurrentDir() const = 0;
    virtual void Upload(const std::string& localPath, const std::string& remoteName) = 0;
    // Writes the file under localPath only once it arrived whole.
    virtual void Download(const std::string& remoteName, const std::string& localPath) = 0;
    virtual void Delete(const std::string& name) = 0;
    virtual void MakeDirectory(const std::string& name) = 0;

    // The server's last reply line and its number.
    virtual int ReplyNumber() const = 0;
    virtual std::string ReplyText() const = 0;
    virtual std::string RemoteAddress() const = 0;
    virtual std::string LocalAddress() const = 0;

    // Makes the running call raise EFtpCancelled at its next wait.
    virtual void Cancel() = 0;

    // Bytes received and sent during the current transfer.
    std::function<void(std::int64_t received, std::int64_t sent)> OnProgress;
    // The server's name was resolved and its address is being connected to.
    std::function<void()> OnHostResolved;
    // Run while a call waits; it may call Cancel.
    std::function<void()> Idle;

    static constexpr int kStallBytesPerSecond = 100;
};

// How long a transfer may move less than kStallBytesPerSecond before it ends
// as stalled: a second longer than the login's longest wait.
inline int FtpStallSeconds(const TFtpLogin& login)
{
    return login.TimeOutMs / 1000 + 1;
}
