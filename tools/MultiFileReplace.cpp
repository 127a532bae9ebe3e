#include "tools/MultiFileReplace.h"

#include "localisation/RunTimeText.h"
#include "platform/AnsiText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/TextEncoding.h"
#include "platform/Utf8.h"

#include <filesystem>

namespace vx::tools {

namespace {

const TRunTimeText ReplaceLine{"Replace \"%1\" with \"%2\" in file\n%3\nFor the following line:\n\n%4"};
const TRunTimeText Refused{"The file %1 is a Windows-1252 file, which has no character \"%2\" of the replacement: it was "
                           "not changed"};
const TRunTimeText CannotAccess{"Error accessing file %1"};

// Every byte of a character outside ASCII is a word character.
bool IsWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || u >= 127;
}

} // namespace

TMultiFileReplace::TMultiFileReplace(TReplaceOptions options, TReplacePrompt prompt)
    : options_(std::move(options)), prompt_(std::move(prompt))
{
    key_ = options_.IgnoreCase ? AnsiLowerCase(options_.Find) : options_.Find;
}

bool TMultiFileReplace::Counts(std::string_view text, std::size_t at, std::string_view before) const
{
    if (!options_.WholeWords)
        return true;
    if (!before.empty() && IsWordChar(before.back()))
        return false;
    const std::size_t after = at + key_.size();
    return after >= text.size() || !IsWordChar(text[after]);
}

bool TMultiFileReplace::Occurs(std::string_view text, std::string_view compared) const
{
    for (std::size_t at = 0; (at = compared.find(key_, at)) != std::string_view::npos; ++at)
        if (Counts(text, at, text.substr(0, at)))
            return true;
    return false;
}

std::string TMultiFileReplace::RefusalFor(const std::string& fileName) const
{
    std::size_t bad = 0;
    EncodeDocument(options_.Replacement, TTextEncoding::Windows1252, &bad);
    const std::string_view character =
        std::string_view(options_.Replacement).substr(bad, utf8::CharLength(options_.Replacement, bad));
    return Refused({fileName, character});
}

TFileOutcome TMultiFileReplace::ReplaceInFile(const std::string& fileName)
{
    error_.clear();
    TDecodedText file;
    try {
        const std::string bytes = ReadWholeFile(fileName);
        counters_.BytesRead += static_cast<std::int64_t>(bytes.size());
        file = DecodeDocument(bytes);
    } catch (const Exception&) {
        error_ = CannotAccess({fileName});
        return TFileOutcome::Failed;
    }
    ++counters_.FilesRead;
    if (key_.empty())
        return TFileOutcome::NothingFound;

    // Folded text keeps every character's length, so positions in it are positions in the text.
    const std::string& text = file.Text;
    const std::string folded = options_.IgnoreCase ? AnsiLowerCase(text) : std::string();
    const std::string_view compared = options_.IgnoreCase ? std::string_view(folded) : std::string_view(text);
    if (!options_.FindOnly && !CanHold(file.Encoding, options_.Replacement) && Occurs(text, compared)) {
        error_ = RefusalFor(fileName);
        return TFileOutcome::Failed;
    }
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
        // The text before the occurrence is the text as changed so far.
        bool take = Counts(text, at, options_.FindOnly ? std::string_view(text).substr(0, at) : std::string_view(out));
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
        // The file keeps its encoding and byte order mark: checked above, a
        // Windows-1252 file holds every character of out.
        const std::string bytes = EncodeForSaving(out, file.Encoding, file.ByteOrderMark);
        if (options_.Backup)
            std::filesystem::copy_file(fileName, fileName + ".bak",
                                       std::filesystem::copy_options::overwrite_existing);
        WriteFileAtomic(fileName, bytes);
        counters_.BytesWritten += static_cast<std::int64_t>(bytes.size());
    } catch (const std::exception& e) {
        error_ = ErrorText(e);
        return TFileOutcome::Failed;
    }
    return TFileOutcome::Accepted;
}

std::string ReplaceQuestion(const TReplaceOptions& options, const std::string& fileName, std::string_view text,
                            std::size_t at)
{
    const std::size_t lineStart = [&] {
        const std::size_t breakAt = text.find_last_of("\r\n", at == 0 ? 0 : at - 1);
        return at == 0 || breakAt == std::string_view::npos ? 0 : breakAt + 1;
    }();
    std::string_view line = text.substr(lineStart);
    line = line.substr(0, utf8::OffsetOfChar(line, 200));
    line = line.substr(0, line.find_first_of("\r\n"));
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    return ReplaceLine({options.Find, options.Replacement, fileName, line});
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
