// The remote folder as the publishing window shows it: every line of the
// listing, the total line and links included, and one parse of it into rows
// for the folders and files, each knowing the line it came from, so every
// command acts on the row the user chose.
#pragma once

#include "internet/FtpListing.h"

#include <string>
#include <vector>

struct TFtpRow {
    TFtpEntry Entry;
    // Index of the listing line the row was read from.
    int Line = 0;
};

class TFtpRemoteList {
public:
    void Assign(const std::vector<std::string>& listing);
    void Clear();

    const std::vector<std::string>& Lines() const { return lines_; }
    int Count() const { return static_cast<int>(rows_.size()); }
    // Null outside 0..Count-1.
    const TFtpEntry* Row(int index) const;
    const std::vector<TFtpRow>& Rows() const { return rows_; }
    // The row read from the listing line, -1 for a line that gave none.
    int RowOfLine(int line) const;
    // The row's markup for the HTML list box, the listing line escaped.
    static std::string Markup(const TFtpEntry& entry);
    // The names of the folder rows, for the folder box.
    std::vector<std::string> FolderNames() const;

private:
    std::vector<std::string> lines_;
    std::vector<TFtpRow> rows_;
};
