// The UTF-8 byte order mark: taken off the text when a document is read,
// written before it again when it is saved.
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextEncodingMark, ReadingTakesTheMarkOffAUtf8FileOnly)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::string text;
        vx::TTextEncoding encoding;
        bool mark;
    };
    const Row rows[] = {
        {"a UTF-8 page with the mark", "\xEF\xBB\xBF<p>caf\xC3\xA9</p>\r\n", "<p>caf\xC3\xA9</p>\r\n",
         vx::TTextEncoding::Utf8, true},
        {"the mark alone", "\xEF\xBB\xBF", "", vx::TTextEncoding::Utf8, true},
        {"only the first of two marks", "\xEF\xBB\xBF\xEF\xBB\xBFx", "\xEF\xBB\xBFx", vx::TTextEncoding::Utf8, true},
        {"the same character later is text", "<p>\xEF\xBB\xBF", "<p>\xEF\xBB\xBF", vx::TTextEncoding::Utf8, false},
        {"no mark", "<p>", "<p>", vx::TTextEncoding::Utf8, false},
        {"an empty file", "", "", vx::TTextEncoding::Utf8, false},
        // Not UTF-8: the three bytes are the characters they are in Windows-1252.
        {"a Windows-1252 file starting with the same bytes", "\xEF\xBB\xBF" "caf\xE9",
         "\xC3\xAF\xC2\xBB\xC2\xBF" "caf\xC3\xA9", vx::TTextEncoding::Windows1252, false},
        {"a mark cut short", "\xEF\xBB<p>", "\xC3\xAF\xC2\xBB<p>", vx::TTextEncoding::Windows1252, false},
    };
    for (const Row& row : rows) {
        const vx::TDecodedText decoded = vx::DecodeDocument(row.bytes);
        EXPECT_EQ(decoded.Text, row.text) << row.name;
        EXPECT_EQ(decoded.Encoding, row.encoding) << row.name;
        EXPECT_EQ(decoded.ByteOrderMark, row.mark) << row.name;
        EXPECT_EQ(vx::EncodeForSaving(decoded.Text, decoded.Encoding, decoded.ByteOrderMark), row.bytes)
            << row.name << ": saving gives back the file";
    }
}

TEST(TextEncodingMark, SavingPutsTheMarkBeforeTheTextOfAUtf8FileOnly)
{
    struct Row {
        const char* text;
        vx::TTextEncoding encoding;
        bool mark;
        std::string bytes;
    };
    const Row rows[] = {
        {"<p>caf\xC3\xA9", vx::TTextEncoding::Utf8, true, "\xEF\xBB\xBF<p>caf\xC3\xA9"},
        {"", vx::TTextEncoding::Utf8, true, "\xEF\xBB\xBF"},
        {"<p>caf\xC3\xA9", vx::TTextEncoding::Utf8, false, "<p>caf\xC3\xA9"},
        // Windows-1252 has no mark of its own.
        {"<p>caf\xC3\xA9", vx::TTextEncoding::Windows1252, true, "<p>caf\xE9"},
        {"<p>caf\xC3\xA9", vx::TTextEncoding::Windows1252, false, "<p>caf\xE9"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(vx::EncodeForSaving(row.text, row.encoding, row.mark), row.bytes) << row.text << " " << row.mark;
    EXPECT_THROW(vx::EncodeForSaving("a\xCE\xB1", vx::TTextEncoding::Windows1252, true), vx::EEncodingError);
}
