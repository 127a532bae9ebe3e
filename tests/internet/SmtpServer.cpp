// The aiosmtpd peer.
#include "tests/internet/SmtpServer.h"

#include "tests/support/TempDir.h"

#include <sstream>

namespace vx::test {

namespace {

constexpr const char* kScript = R"PY(
import asyncio, email, os, sys
from email import policy
from aiosmtpd.smtp import SMTP

folder = sys.argv[1]

class Handler:
    count = 0
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith('refuse'):
            return '550 No such user here'
        envelope.rcpt_tos.append(address)
        return '250 OK'
    async def handle_DATA(self, server, session, envelope):
        Handler.count += 1
        base = os.path.join(folder, str(Handler.count))
        with open(base + '.eml', 'wb') as f:
            f.write(envelope.original_content)
        for part in email.message_from_bytes(envelope.original_content).walk():
            name = part.get_filename()
            if name:
                with open(base + '.att.' + name, 'wb') as f:
                    f.write(part.get_payload(decode=True))
        parsed = email.message_from_bytes(envelope.original_content, policy=policy.default)
        with open(base + '.dec', 'w', encoding='utf-8') as f:
            for name in ('Subject', 'From', 'To'):
                f.write('%s: %s\n' % (name, parsed[name]))
            if not parsed.is_multipart():
                f.write(parsed.get_content())
        with open(base + '.env', 'w') as f:
            f.write('FROM ' + envelope.mail_from + '\n')
            for r in envelope.rcpt_tos:
                f.write('TO ' + r + '\n')
        return '250 Message accepted for delivery'

loop = asyncio.new_event_loop()
asyncio.set_event_loop(loop)
server = loop.run_until_complete(loop.create_server(
    lambda: SMTP(Handler(), hostname='peer.test', loop=loop), '127.0.0.1', 0))
print(server.sockets[0].getsockname()[1], flush=True)
loop.run_forever()
)PY";

} // namespace

SmtpServer::SmtpServer(const std::string& folder)
    : folder_(folder), peer_(kScript, {QString::fromStdString(folder)})
{
}

std::vector<std::string> SmtpServer::Envelope(int n) const
{
    std::istringstream in(readFile(folder_ + "/" + std::to_string(n) + ".env"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string SmtpServer::Attachment(int n, const std::string& fileName) const
{
    return readFile(folder_ + "/" + std::to_string(n) + ".att." + fileName);
}

std::string SmtpServer::Decoded(int n) const
{
    return readFile(folder_ + "/" + std::to_string(n) + ".dec");
}

std::string SmtpServer::Data(int n) const
{
    return readFile(folder_ + "/" + std::to_string(n) + ".eml");
}

} // namespace vx::test
