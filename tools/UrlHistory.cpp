// The URL history file.
#include "tools/UrlHistory.h"

#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Utf8.h"
#include "tools/TextLines.h"

#include <algorithm>

namespace vx::tools {

TUrlHistory::TUrlHistory() : TUrlHistory(UserDataPath("data\\urldata.dat")) {}

TUrlHistory::TUrlHistory(std::string path) : path_(std::move(path))
{
    if (!vx::FileExists(path_))
        return;
    // A history an earlier version wrote is Windows-1252.
    const std::string text = TextFromFileBytes(ReadWholeFile(path_));
    for (std::string_view line : SplitLines(text))
        items_.emplace_back(line);
}

bool TUrlHistory::FileExists() const
{
    return vx::FileExists(path_);
}

bool TUrlHistory::Contains(const std::string& url) const
{
    return std::find(items_.begin(), items_.end(), url) != items_.end();
}

void TUrlHistory::Add(const std::string& url)
{
    if (url.empty() || Contains(url))
        return;
    items_.push_back(url);
    try {
        Save();
    } catch (...) {
        items_.pop_back();
        throw;
    }
}

void TUrlHistory::Delete(int index)
{
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    items_.erase(items_.begin() + index);
    Save();
}

void TUrlHistory::Save() const
{
    std::string text;
    for (const std::string& item : items_)
        text += item + "\r\n";
    WriteFileAtomic(path_, text);
}

} // namespace vx::tools
