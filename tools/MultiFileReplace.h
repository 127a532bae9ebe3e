// Finds a text in, or replaces it across, files on disk. Each file is read
// whole, as UTF-8 or, when it is not well-formed UTF-8, as Windows-1252; lines
// keep their own ends (LF, CR LF or CR) byte for byte, and a changed file is
// written back in its own encoding, with the byte order mark a UTF-8 file
// began with (never searched as text), through a unique temporary file beside
// it and renamed over it, so a failed write leaves the original as it was.
// Letter case is ignored for whole characters (é finds É).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vx::tools {

struct TReplaceOptions {
    std::string Find;
    std::string Replacement;
    bool IgnoreCase = true;
    bool WholeWords = false;
    bool Prompt = false;
    bool Backup = false;
    bool FindOnly = true;
};

enum class TPromptAnswer { Yes, No, Cancel, All };
// Asked before each replacement while prompting; gets the question's text.
using TReplacePrompt = std::function<TPromptAnswer(const std::string& question)>;

struct TReplaceCounters {
    std::int64_t FilesRead = 0;
    std::int64_t BytesRead = 0;
    std::int64_t Occurrences = 0;
    std::int64_t BytesWritten = 0;
};

enum class TFileOutcome { Accepted, NothingFound, Failed };

class TMultiFileReplace {
public:
    TMultiFileReplace(TReplaceOptions options, TReplacePrompt prompt);

    // Accepted when at least one occurrence was found (and, replacing, written);
    // Failed with Error() set, in the current language, when the file could
    // not be read or written, or when it is a Windows-1252 file with an
    // occurrence and the replacement holds a character the code page has not
    // (the file is left alone).
    TFileOutcome ReplaceInFile(const std::string& fileName);

    const TReplaceCounters& Counters() const { return counters_; }
    const std::string& Error() const { return error_; }

private:
    // Whether the occurrence at at counts, before being the text that now precedes it.
    bool Counts(std::string_view text, std::size_t at, std::string_view before) const;
    // Whether the text holds an occurrence that counts; compared is the text as searched.
    bool Occurs(std::string_view text, std::string_view compared) const;
    std::string RefusalFor(const std::string& fileName) const;

    TReplaceOptions options_;
    std::string key_;
    TReplacePrompt prompt_;
    TReplaceCounters counters_;
    std::string error_;
};

// The question of the prompt for an occurrence at offset at of text.
std::string ReplaceQuestion(const TReplaceOptions& options, const std::string& fileName, std::string_view text,
                            std::size_t at);

// Whether the ";"-separated extension list (".htm;.asp" or "*.*") holds the
// file's extension as a whole entry, letter case ignored.
bool MatchesExtensionList(std::string_view extensions, const std::string& fileName);

} // namespace vx::tools
