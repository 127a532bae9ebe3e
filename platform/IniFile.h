// TIniFile: a profile file of "[section]" and "key=value" lines. Including this
// header also gives TCustomIniFile and the registry-backed TRegIniFile.
//
// Every write goes to the file at once (atomically), and every call first
// reloads the file when it changed on disk, so several TIniFile objects on one
// file, in one process or several, see each other's changes. UpdateFile
// therefore has nothing left to do. Comments and lines that are not settings
// are kept when the file is rewritten; lines end in CR LF. The file is UTF-8;
// one that is not was written by an earlier version in Windows-1252, reads as
// such and is rewritten in UTF-8.
#pragma once

#include "platform/CustomIniFile.h"
#include "platform/IniDocument.h"
#include "platform/RegIniFile.h"

#include <cstdint>
#include <string>

class TIniFile : public TCustomIniFile {
public:
    // Loads the file when it exists; a missing file is an empty profile.
    explicit TIniFile(const std::string& fileName);

    // The trimmed value, less one pair of matching surrounding quotes ("x" or 'x').
    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) override;
    // Raises EIniFileException when the file cannot be written (nothing on disk
    // changes), when the file exists but could not be read (so it is never
    // replaced by a near-empty one), or for names and values a line cannot hold.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    void ReadSection(const std::string& section, TStrings& idents) override;
    void ReadSections(TStrings& sections) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override {}

private:
    struct Stamp {
        bool exists = false;
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t seconds = 0, nanoseconds = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stampNow() const;
    void refresh();
    void save();

    vx::ini::Document doc_;
    Stamp stamp_;
    bool known_ = false;
    bool unreadable_ = false;
};
