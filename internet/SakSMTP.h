// TSakSMTP: sends TSakMsg messages over SMTP. Each step of the dialogue -
// connecting and waiting for the greeting, or one command and its whole reply
// - must end within TimeOut, however the server trickles its lines or goes on
// talking; sending the message's lines must not stall for longer. Cancel
// stops the dialogue at its next wait. Any failure - a refused reply, a reply
// it cannot read, a closed connection, a time-out, a cancel - closes the connection and fires
// OnError with the reply code (0 when the server gave none) and the reply or
// failure text.
#pragma once

#include "internet/SakMsg.h"
#include "internet/SmtpReply.h"
#include "internet/TcpLineTransport.h"

#include <cstdint>
#include <functional>
#include <random>
#include <string>

// Misuse of the component: sending while not connected or without addresses.
VX_DECLARE_EXCEPTION(ESakSMTPError, Exception);

class TSakSMTP {
public:
    using TNotify = std::function<void(TSakSMTP* Sender)>;

    TSakSMTP();
    ~TSakSMTP();
    TSakSMTP(const TSakSMTP&) = delete;
    TSakSMTP& operator=(const TSakSMTP&) = delete;

    std::string Port = "25";
    // A host name or a dotted address.
    std::string Host;
    bool LocalizedDates = false;
    std::uint16_t EncodeProgressStep = 10;
    std::uint16_t SendProgressStep = 10;
    // The longest a step of the dialogue may take, in milliseconds.
    int TimeOut = 30000;
    // The pause after each data line, in milliseconds.
    int LinePause = 30;
    // What follows "X-Mailer: ".
    std::string MailerTitle = "Vellumix";
    // Run between waits so the window that sends stays responsive.
    std::function<void()> ProcessMessages;

    TNotify OnConnect;
    TNotify OnQuit;
    std::function<void(TSakSMTP* Sender, int code, const std::string& text)> OnError;
    TNotify OnBeforeSend;
    TNotify OnAfterSend;
    std::function<void(TSakSMTP* Sender, const std::string& fileName, std::int64_t size)> OnEncodeStart;
    std::function<void(TSakSMTP* Sender, std::uint16_t percent)> OnEncodeProgress;
    TNotify OnEncodeEnd;
    std::function<void(TSakSMTP* Sender, std::uint16_t percent)> OnSendProgress;

    // Connects and greets the server; Error() tells whether it failed.
    void Connect();
    // True when the server accepted the message. Raises ESakSMTPError "Not
    // connected." and "\"From\" field not specified." / "\"SendTo\" ...".
    bool SendMessage(TSakMsg& msg);
    // Says QUIT when connected, then closes the connection.
    void Quit();
    // Makes the running Connect or SendMessage fail with "Sending cancelled"
    // at its next wait; the message is not delivered.
    void Cancel() { cancelled_ = true; }

    bool Connected() const { return connected_; }
    bool Error() const { return error_; }
    const std::string& ReplyCode() const { return replyCode_; }
    // The server's last reply as it came, or the failure in words of ours.
    const TMessage& Reply() const { return reply_; }
    std::string ReplyText() const { return reply_.English(); }

private:
    // Reads one whole reply into the reply code and text; a line without a
    // reply code raises ENetError with the line.
    void ReadReply();
    // Sends the command line and checks the reply's code; false after an error.
    bool Exchange(const std::string& command, const char* expected);
    bool Expect(const char* expected);
    bool Fail(int code, TMessage text);
    void CloseTransport();
    void EncodeAttachments(TSakMsg& msg);
    bool SendData(const std::vector<std::string>& lines);
    void Idle();

    TTcpLineTransport transport_;
    bool cancelled_ = false;
    std::string replyCode_;
    TMessage reply_;
    bool error_ = false;
    bool connected_ = false;
    std::uint16_t sendProgress_ = 0;
    std::uint16_t encodeProgress_ = 0;
    std::mt19937 random_;
};
