#include "tools/MultiFileReplace.h"

#include "platform/AnsiText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"

#include <filesystem>

namespace vx::tools {

namespace {

bool IsWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || u >= 127;
}

} // namespace

TMultiFileReplace::TMultiFileReplace(TReplaceOptions options, TReplacePrompt prompt)
    : options_(std::move(options)), prompt_(std::move(prompt))
{
    key_ = options_.IgnoreCase ? AnsiUpperCase(options_.Find) : options_.Find;
}

bool TMultiFileReplace::Counts(std::string_view text, std::size_t at, const std::string& out) const
{
    if (!options_.WholeWords)
        return true;
    // The text before the occurrence is the text as changed so far.
    const bool wordBefore = options_.FindOnly ? at > 0 && IsWordChar(text[at - 1])
                                              : !out.empty() && IsWordChar(out.back());
    if (wordBefore)
        return false;
    const std::size_t after = at + key_.size();
    return after >= text.size() || !IsWordChar(text[after]);
}

TFileOutcome TMultiFileReplace::ReplaceInFile(const std::string& fileName)
{
    error_.clear();
    std::string text;
    try {
        text = ReadWholeFile(fileName);
    } catch (const Exception&) {
        error_ = "Error accessing file " + fileName;
        return TFileOutcome::Failed;
    }
    ++counters_.FilesRead;
    counters_.BytesRead += static_cast<std::int64_t>(text.size());
    if (key_.empty())
        return TFileOutcome::NothingFound;

    const std::string upper = options_.IgnoreCase ? AnsiUpperCase(text) : std::string();
    const std::string_view compared = options_.IgnoreCase ? std::string_view(upper) : std::string_view(text);
    std::string out;
    if (!options_.FindOnly)
        out.reserve(text.size());
    bool prompting = options_.Prompt && !options_.FindOnly;
    std::int64_t accepted = 0;
    std::size_t pos = 0;
    // The find text holds no line break, so no occurrence spans two lines and
    // the whole text can be searched at once. After each occurrence the search
    // goes on behind it in the text as read: behind an inserted replacement,
    // or at the place of a deletion.
    for (std::size_t at; (at = compared.find(key_, pos)) != std::string_view::npos;) {
        if (!options_.FindOnly)
            out.append(text, pos, at - pos);
        pos = at + key_.size();
        bool take = Counts(text, at, out);
        if (take && prompting) {
            const TPromptAnswer answer =
                prompt_ ? prompt_(ReplaceQuestion(options_, fileName, text, at)) : TPromptAnswer::Yes;
            if (answer == TPromptAnswer::Cancel) {
                // The rest of the file stays as it is; what was replaced before is kept.
                pos = at;
                break;
            }
            take = answer != TPromptAnswer::No;
            prompting = answer != TPromptAnswer::All;
        }
        if (take) {
            ++accepted;
            ++counters_.Occurrences;
        }
        if (!options_.FindOnly) {
            if (take)
                out += options_.Replacement;
            else
                out.append(text, at, key_.size());
        }
    }
    if (accepted == 0)
        return TFileOutcome::NothingFound;
    if (options_.FindOnly)
        return TFileOutcome::Accepted;
    out.append(text, std::min(pos, text.size()), std::string::npos);
    try {
        if (options_.Backup)
            std::filesystem::copy_file(fileName, fileName + ".bak",
                                       std::filesystem::copy_options::overwrite_existing);
        WriteFileAtomic(fileName, out);
    } catch (const std::exception& e) {
        error_ = e.what();
        return TFileOutcome::Failed;
    }
    counters_.BytesWritten += static_cast<std::int64_t>(out.size());
    return TFileOutcome::Accepted;
}

std::string ReplaceQuestion(const TReplaceOptions& options, const std::string& fileName, std::string_view text,
                            std::size_t at)
{
    const std::size_t lineStart = [&] {
        const std::size_t breakAt = text.find_last_of("\r\n", at == 0 ? 0 : at - 1);
        return at == 0 || breakAt == std::string_view::npos ? 0 : breakAt + 1;
    }();
    std::string_view line = text.substr(lineStart, 200);
    line = line.substr(0, line.find_first_of("\r\n"));
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    return "Replace \"" + options.Find + "\" with \"" + options.Replacement + "\" in file\n" + fileName +
           "\nFor the following line:\n\n" + std::string(line);
}

bool MatchesExtensionList(std::string_view extensions, const std::string& fileName)
{
    const std::string extension = AnsiLowerCase(std::filesystem::path(fileName).extension().string());
    std::size_t start = 0;
    while (start <= extensions.size()) {
        const std::size_t end = std::min(extensions.find(';', start), extensions.size());
        const std::string entry = AnsiLowerCase(Trim(extensions.substr(start, end - start)));
        if (entry == "*.*" || (!entry.empty() && entry == extension))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace vx::tools
