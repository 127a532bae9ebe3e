// Finds a text in, or replaces it across, files on disk. Each file is read
// whole; lines keep their own ends (LF, CR LF or CR) byte for byte, and a
// changed file is written through a unique temporary file beside it and
// renamed over it, so a failed write leaves the original as it was.
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
    // Failed with Error() set when the file could not be read or written.
    TFileOutcome ReplaceInFile(const std::string& fileName);

    const TReplaceCounters& Counters() const { return counters_; }
    const std::string& Error() const { return error_; }

private:
    bool Counts(std::string_view text, std::size_t at, const std::string& out) const;

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
