// The favourite files' list and its file.
#include "shell/FaveList.h"

#include "platform/TStringList.h"
#include "shell/ListFiles.h"

namespace vx::shell {

TFaveList::TFaveList(std::string path) : path_(std::move(path)) {}

void TFaveList::Load()
{
    items_.clear();
    TStringList lines;
    if (!LoadListFile(path_, lines))
        return;
    for (int i = 0; i < lines.Count(); ++i)
        if (!lines[i].empty())
            items_.push_back(lines[i]);
}

void TFaveList::Add(const std::string& path)
{
    items_.push_back(path);
    Save();
}

void TFaveList::Remove(int index)
{
    if (index < 0 || index >= static_cast<int>(items_.size()))
        return;
    items_.erase(items_.begin() + index);
    Save();
}

void TFaveList::Save() const
{
    TStringList lines;
    for (const std::string& item : items_)
        lines.Add(item);
    lines.SaveToFile(path_);
}

} // namespace vx::shell
