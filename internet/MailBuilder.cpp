// Building the header and body lines of a message.
#include "internet/MailBuilder.h"

#include "internet/MailAddress.h"
#include "internet/MailBody.h"
#include "internet/MailHeaderText.h"
#include "internet/TextUtil.h"

#include <ctime>

namespace vx::net {

std::string RandomLetters(int count, char last, std::mt19937& random)
{
    std::uniform_int_distribution<int> pick(0, last - 'a');
    std::string out;
    for (int i = 0; i < count; ++i)
        out += static_cast<char>('a' + pick(random));
    return out;
}

namespace {

void AddHeader(std::vector<std::string>& lines, const char* name, const std::string& value)
{
    lines.push_back(std::string(name) + ": " + OneLine(value));
}

// A text header; outside ASCII as encoded words, one a line after the first.
void AddTextHeader(std::vector<std::string>& lines, const char* name, const std::string& value)
{
    const std::vector<std::string> words = EncodedWords(OneLine(value));
    lines.push_back(std::string(name) + ": " + words.front());
    for (std::size_t i = 1; i < words.size(); ++i)
        lines.push_back(" " + words[i]);
}

void AddAddressHeader(std::vector<std::string>& lines, const char* name, const std::string& value)
{
    AddHeader(lines, name, EncodeAddressList(OneLine(value)));
}

std::string MessageId(const TMailContext& context, std::mt19937& random)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return "<SAK." + std::to_string(local.tm_mday) + "." + std::to_string(local.tm_mon + 1) + "."
         + std::to_string(local.tm_year + 1900) + "." + RandomLetters(8, 't', random) + "@" + context.LocalHostName
         + ">";
}

std::string FromValue(const TSakMsg& msg, const TMailContext& context)
{
    if (msg.UserName.empty())
        return msg.From;
    std::string address = msg.From.find('@') != std::string::npos ? msg.From : msg.From + "@" + context.Host;
    return QuotedName(msg.UserName) + " <" + BareAddress(address) + ">";
}

void AddTextPartHeaders(std::vector<std::string>& lines, const TMailBody& text)
{
    lines.push_back("Content-Type: Text/Plain; charset=" + text.Charset);
    lines.push_back("Content-Transfer-Encoding: " + text.TransferEncoding);
}

// A file name inside a quoted parameter: one line, no quote to end it early.
std::string ParamValue(const std::string& value)
{
    std::string out = OneLine(value);
    for (char& c : out)
        if (c == '"')
            c = '\'';
    return out;
}

} // namespace

std::vector<std::string> BuildMailLines(const TSakMsg& msg, const TMailContext& context, std::mt19937& random)
{
    std::vector<std::string> lines;
    lines.push_back("Message-Id: " + MessageId(context, random));
    if (!msg.InReplyTo.empty())
        AddHeader(lines, "In-Reply-To", msg.InReplyTo);
    AddHeader(lines, "Date", msg.Date);
    lines.push_back("X-Priority: " + std::to_string(static_cast<int>(msg.Priority) + 1));
    AddAddressHeader(lines, "From", FromValue(msg, context));
    if (!msg.ReplyTo.empty())
        AddAddressHeader(lines, "Reply-To", msg.ReplyTo);
    AddHeader(lines, "X-Mailer", context.MailerTitle);
    AddAddressHeader(lines, "To", msg.SendTo);
    AddAddressHeader(lines, "CC", msg.CC);
    AddTextHeader(lines, "Subject", msg.Subject);
    lines.push_back("MIME-Version: 1.0");

    std::vector<std::string> body;
    const TMailBody text = EncodeMailBody(msg.Text(), msg.TextEncoding);
    const TAttachedFiles& files = msg.AttachedFiles();
    if (files.Count() == 0) {
        AddTextPartHeaders(lines, text);
    } else {
        std::string boundary = "--_SAK_bound_" + RandomLetters(12, 'y', random);
        std::string delimiter = "--" + boundary;
        lines.push_back("Content-Type: multipart/mixed; boundary=\"" + boundary + "\"");
        body.push_back(delimiter);
        AddTextPartHeaders(body, text);
        body.emplace_back();
        body.insert(body.end(), text.Lines.begin(), text.Lines.end());
        for (int f = 0; f < files.Count(); ++f) {
            const TAttachedFile& file = files.Items(f);
            std::string name = ParamValue(file.FileName);
            body.push_back(delimiter);
            body.push_back("Content-Type: " + OneLine(file.ContentType) + "; name=\"" + name + "\"");
            body.push_back("Content-Transfer-Encoding: base64");
            body.push_back("Content-Disposition: inline; FileName=\"" + name + "\"");
            body.emplace_back();
            for (int l = 0; l < file.EncodedLines.Count(); ++l)
                body.push_back(file.EncodedLines[l]);
        }
        body.emplace_back();
        body.push_back(delimiter + "--");
        body.emplace_back();
    }
    for (int i = 0; i < msg.ExtraHeaders().Count(); ++i)
        lines.push_back(OneLine(msg.ExtraHeaders()[i]));

    lines.emplace_back();
    if (files.Count() == 0)
        lines.insert(lines.end(), text.Lines.begin(), text.Lines.end());
    lines.insert(lines.end(), body.begin(), body.end());
    return lines;
}

std::vector<std::string> DataLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string& line : lines) {
        for (std::string_view piece : LinePieces(line)) {
            std::string stuffed(piece);
            if (!stuffed.empty() && stuffed[0] == '.')
                stuffed.insert(stuffed.begin(), '.');
            out.push_back(std::move(stuffed));
        }
    }
    return out;
}

} // namespace vx::net
