// Rows of the remote folder.
#include "internet/FtpRemoteList.h"

#include "internet/TextUtil.h"

void TFtpRemoteList::Assign(const std::vector<std::string>& listing)
{
    lines_ = listing;
    rows_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto entry = ParseListLine(lines_[i]);
        if (entry && entry->Kind != TFtpEntryKind::Link)
            rows_.push_back({std::move(*entry), static_cast<int>(i)});
    }
}

void TFtpRemoteList::Clear()
{
    lines_.clear();
    rows_.clear();
}

const TFtpEntry* TFtpRemoteList::Row(int index) const
{
    return index >= 0 && index < Count() ? &rows_[static_cast<std::size_t>(index)].Entry : nullptr;
}

int TFtpRemoteList::RowOfLine(int line) const
{
    for (int i = 0; i < Count(); ++i)
        if (rows_[static_cast<std::size_t>(i)].Line == line)
            return i;
    return -1;
}

std::string TFtpRemoteList::Markup(const TFtpEntry& entry)
{
    std::string line = vx::net::HtmlEscape(entry.Raw);
    if (entry.Kind == TFtpEntryKind::Directory)
        return "[DIR] <b><font color=\"#cc0000\">" + line + "</font></b>";
    return "[FIL] <font color=\"#000099\">" + line + "</font>";
}

std::vector<std::string> TFtpRemoteList::FolderNames() const
{
    std::vector<std::string> names;
    for (const auto& row : rows_)
        if (row.Entry.Kind == TFtpEntryKind::Directory)
            names.push_back(row.Entry.Name);
    return names;
}
