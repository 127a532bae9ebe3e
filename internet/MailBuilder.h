// The lines of a message as it goes after DATA: the header lines in their
// fixed order, one empty line, then the body (a MIME multipart body with the
// encoded attachments when there are any). Values from the fields are kept to
// one line each, so no field can add a header of its own.
#pragma once

#include "internet/SakMsg.h"

#include <random>
#include <string>
#include <vector>

namespace vx::net {

struct TMailContext {
    std::string LocalHostName;
    // The server's name, added to a From without "@".
    std::string Host;
    std::string MailerTitle;
};

// Attachments must already hold their encoded lines.
std::vector<std::string> BuildMailLines(const TSakMsg& msg, const TMailContext& context, std::mt19937& random);
// count letters drawn from 'a' up to and including last.
std::string RandomLetters(int count, char last, std::mt19937& random);
// The lines as they travel: text holding CR or LF split into lines, and a
// leading "." doubled so no line can end the data early.
std::vector<std::string> DataLines(const std::vector<std::string>& lines);

} // namespace vx::net
