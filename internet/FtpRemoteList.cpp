// Rows of the remote folder.
#include "internet/FtpRemoteList.h"

#include "internet/TextUtil.h"

void TFtpRemoteList::Assign(const std::vector<std::string>& listing)
{
    rows_.clear();
    for (auto& entry : ParseListing(listing))
        if (entry.Kind != TFtpEntryKind::Link)
            rows_.push_back(std::move(entry));
}

const TFtpEntry* TFtpRemoteList::Row(int index) const
{
    return index >= 0 && index < Count() ? &rows_[static_cast<std::size_t>(index)] : nullptr;
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
        if (row.Kind == TFtpEntryKind::Directory)
            names.push_back(row.Name);
    return names;
}
