// A host name field holds a host alone: no port, protocol, folder or blank.
#include "internet/HostName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IsHostNameAlone, AHostWithAPortProtocolFolderOrBlankIsNoHostName)
{
    const struct {
        std::string entry;
        bool alone;
    } cases[] = {
        {"ftp.example.com", true},
        {"127.0.0.1", true},
        {"localhost", true},
        {"  mail.example.com \t", true},
        {"", true},
        {"::1", true},
        {"fe80::2:1", true},
        {"::ffff:192.0.2.1", true},
        {"127.0.0.1:2121", false},
        {"mail.example.com:25", false},
        {"ftp.example.com:", false},
        {"[::1]:21", false},
        {"[::1]", false},
        {"ftp://ftp.example.com", false},
        {"ftp://ftp.example.com/www", false},
        {"ftp.example.com/www", false},
        {"\\\\server\\share", false},
        {"mail.example.com 25", false},
        {"user@ftp.example.com", false},
        {std::string("ftp.exa\0mple.com", 16), false},
        {"ftp.example.com:21x", false},
        {"host:name:with:colons", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::net::IsHostNameAlone(c.entry), c.alone) << "\"" << c.entry << "\"";
}

} // namespace
