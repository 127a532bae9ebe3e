// The snippets folder and its list.
#include "shell/Snippets.h"

#include "localisation/RunTimeText.h"
#include "platform/AnsiText.h"
#include "platform/Cp1252.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/TStringList.h"
#include "platform/Utf8.h"
#include "shell/FolderFiles.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace vx::shell {

namespace {

const TRunTimeText NoName{"Please give the snippet a name."};
const TRunTimeText NoDotDot{"A snippet name cannot hold \"..\"."};
const TRunTimeText NoReservedCharacter{"A snippet name cannot hold the character \"%1\"."};
const TRunTimeText NoControlCharacters{"A snippet name cannot hold control characters."};

constexpr std::string_view ReservedCharacters = "<>:\"/\\|?*";

bool IsControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

std::string SnippetFileName(std::string_view name)
{
    std::string file(name);
    std::replace(file.begin(), file.end(), ' ', '0');
    return file + ".snp";
}

std::string SnippetNameProblem(std::string_view name)
{
    if (Trim(name).empty())
        return NoName();
    if (name.find("..") != std::string_view::npos)
        return NoDotDot();
    for (char c : name) {
        if (ReservedCharacters.find(c) != std::string_view::npos)
            return NoReservedCharacter({std::string(1, c)});
        if (IsControl(c))
            return NoControlCharacters();
    }
    return {};
}

std::vector<TSnippet> ParseSnippetList(std::string_view text)
{
    TStringList lines;
    lines.SetText(text);
    std::vector<TSnippet> snippets;
    for (int i = 0; i + 1 < lines.Count(); i += 2)
        snippets.push_back({lines[i], lines[i + 1]});
    return snippets;
}

TSnippetStore::TSnippetStore(std::string folder) : folder_(std::move(folder))
{
    if (folder_.empty())
        folder_ = std::filesystem::path(UserDataPath("snippets\\snippets.dat")).parent_path().string();
}

std::string TSnippetStore::ListPath() const
{
    return JoinPath(folder_, "snippets.dat");
}

std::vector<TSnippet> TSnippetStore::List() const
{
    if (!FileExists(ListPath()))
        return {};
    return ParseSnippetList(TextFromFileBytes(ReadWholeFile(ListPath())));
}

std::string TSnippetStore::Text(const std::string& file) const
{
    // Earlier versions named a snippet's file in Windows-1252 bytes; the list
    // names it in UTF-8 once read.
    if (!FileExists(JoinPath(folder_, file)))
        if (const std::optional<std::string> legacy = Utf8ToCp1252(file); legacy && *legacy != file)
            return ReadFileInFolder(folder_, *legacy);
    return ReadFileInFolder(folder_, file);
}

bool TSnippetStore::Taken(std::string_view name) const
{
    const std::string file = SnippetFileName(name);
    if (FileExists(JoinPath(folder_, file)))
        return true;
    const std::vector<TSnippet> listed = List();
    return std::any_of(listed.begin(), listed.end(), [&file](const TSnippet& s) { return s.File == file; });
}

void TSnippetStore::Save(std::string_view name, std::string_view text)
{
    if (const std::string problem = SnippetNameProblem(name); !problem.empty())
        throw EConvertError(problem);
    const std::string file = SnippetFileName(name);
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    WriteFileAtomic(JoinPath(folder_, file), text);
    TStringList lines;
    for (const TSnippet& snippet : List())
        if (snippet.File != file) {
            lines.Add(snippet.Name);
            lines.Add(snippet.File);
        }
    lines.Add(std::string(name));
    lines.Add(file);
    lines.SaveToFile(ListPath());
}

} // namespace vx::shell
