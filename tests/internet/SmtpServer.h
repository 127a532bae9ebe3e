// A real SMTP server (aiosmtpd) on 127.0.0.1 that stores each accepted
// message in a folder: "<n>.env" holds "FROM <addr>" and "TO <addr>" lines,
// "<n>.eml" the data exactly as received, "<n>.att.<name>" each attachment,
// "<n>.dec" the subject, sender and recipients and a plain body as a mail
// reader decodes them (UTF-8). A recipient whose local part starts with
// "refuse" is answered with 550.
#pragma once

#include "tests/internet/PythonPeer.h"

#include <string>
#include <vector>

namespace vx::test {

class SmtpServer {
public:
    explicit SmtpServer(const std::string& folder);
    int Port() const { return peer_.Port(); }
    // The envelope lines and the data of the nth accepted message (from 1).
    std::vector<std::string> Envelope(int n) const;
    std::string Data(int n) const;
    std::string Decoded(int n) const;
    // An attachment of the nth message as the mail parser decoded it.
    std::string Attachment(int n, const std::string& fileName) const;

private:
    std::string folder_;
    PythonPeer peer_;
};

} // namespace vx::test
