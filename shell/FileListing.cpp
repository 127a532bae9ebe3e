#include "shell/FileListing.h"

#include "platform/AnsiText.h"
#include "shell/FileMasks.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace vx::shell {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t MaxTypeName = 80;

std::int64_t UnixTime(fs::file_time_type time)
{
    const auto system = std::chrono::file_clock::to_sys(time);
    return std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
}

template <class T> int CompareNumber(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int Compare(const TFileObject& a, const TFileObject& b, TFileSort kind)
{
    switch (kind) {
    case TFileSort::Name: return CompareIgnoringCase(a.Name, b.Name, TCaseFold::Lower);
    case TFileSort::Size: return CompareNumber(a.Size, b.Size);
    case TFileSort::Date: return CompareNumber(a.Time, b.Time);
    case TFileSort::Type: return CompareIgnoringCase(a.TypeName, b.TypeName, TCaseFold::Lower);
    case TFileSort::None: break;
    }
    return 0;
}

} // namespace

int TFileListing::Load(const std::string& folder, std::string_view maskText)
{
    Clear();
    folder_ = folder;
    const std::vector<std::string> masks = ParseMasks(maskText, true);
    std::error_code ec;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code entryError;
        if (name.empty() || name[0] == '.' || it->is_directory(entryError))
            continue;
        if (!MatchesAnyMask(name, masks, true))
            continue;
        TFileObject file;
        file.Name = name;
        const auto size = it->file_size(entryError);
        file.Size = entryError ? 0 : static_cast<std::int64_t>(size);
        const auto time = it->last_write_time(entryError);
        file.Time = entryError ? 0 : UnixTime(time);
        file.TypeName = TypeNameOf(it->path().string());
        totalSize_ += file.Size;
        files_.push_back(std::move(file));
    }
    return Count();
}

void TFileListing::Clear()
{
    files_.clear();
    totalSize_ = 0;
}

void TFileListing::Sort(TFileSort kind, bool ascending)
{
    if (kind == TFileSort::None)
        return;
    std::stable_sort(files_.begin(), files_.end(), [kind, ascending](const TFileObject& a, const TFileObject& b) {
        const int order = Compare(a, b, kind);
        return ascending ? order < 0 : order > 0;
    });
}

void TFileListing::RenameTypes()
{
    for (int i = 0; i < Count(); ++i)
        files_[i].TypeName = TypeNameOf(FullName(i));
}

std::string TFileListing::TypeNameOf(const std::string& path) const
{
    return typeNameOf_ ? typeNameOf_(path).substr(0, MaxTypeName) : std::string();
}

std::string TFileListing::FullName(int index) const
{
    return AddBackslash(folder_) + files_.at(index).Name;
}

std::string FormatFileSize(std::uint64_t size, char separator)
{
    const std::string digits = std::to_string(size);
    std::string result;
    const std::size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    result.append(digits, 0, first);
    for (std::size_t i = first; i < digits.size(); i += 3) {
        result += separator;
        result.append(digits, i, 3);
    }
    return result;
}

std::string AddBackslash(std::string_view path)
{
    std::string result(path);
    if (result.empty() || result.back() != '/')
        result += '/';
    return result;
}

} // namespace vx::shell
