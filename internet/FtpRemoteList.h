// The remote folder as the publishing window shows it: one parse of the
// listing, and for each row of the list box its own entry, so every command
// acts on the row the user chose. Folders and files get rows; links and
// lines of neither kind do not.
#pragma once

#include "internet/FtpListing.h"

#include <string>
#include <vector>

class TFtpRemoteList {
public:
    void Assign(const std::vector<std::string>& listing);
    void Clear() { rows_.clear(); }

    int Count() const { return static_cast<int>(rows_.size()); }
    // Null outside 0..Count-1.
    const TFtpEntry* Row(int index) const;
    const std::vector<TFtpEntry>& Rows() const { return rows_; }
    // The row's markup for the HTML list box, the listing line escaped.
    static std::string Markup(const TFtpEntry& entry);
    // The names of the folder rows, for the folder box.
    std::vector<std::string> FolderNames() const;

private:
    std::vector<TFtpEntry> rows_;
};
