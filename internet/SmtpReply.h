// One SMTP reply assembled from its lines: "250-first" continues, "250 last"
// (or a bare "250") completes it. The code is the first three characters and
// the text characters 4 to 67, both trimmed, as the dialog shows it.
#pragma once

#include <string>
#include <string_view>

// The code as a number; 0 when it is not three digits.
int SmtpCodeNumber(std::string_view code);
// Whether the line starts with a reply code (100 to 599), as every line of a
// reply must; what else a server sends is no reply the program can read.
bool IsSmtpReplyLine(std::string_view line);

class TSmtpReply {
public:
    // Feeds one line; true when it completed the reply. Feeding after that
    // starts a new reply.
    bool AddLine(std::string_view line);
    bool Complete() const { return complete_; }
    const std::string& Code() const { return code_; }
    const std::string& Text() const { return text_; }

private:
    std::string code_;
    std::string text_;
    bool complete_ = false;
};
