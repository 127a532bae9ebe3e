// ODBC counts the sizes of names and of text columns in characters; the
// program's text is UTF-8, in which a character takes up to four bytes. A
// buffer sized in bytes by such a count would cut text inside a character.
#pragma once

#include <cstddef>

// The bytes that hold text of the given number of characters and its terminating zero.
constexpr std::size_t OdbcTextBytes(std::size_t characters)
{
    return characters * 4 + 1;
}
