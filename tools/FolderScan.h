// The folder scan of the multi-file search: which files of a folder (and,
// when asked, of its sub-folders) join the file list, and the stored filter.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vx::tools {

struct TScanSettings {
    // Lower case, ";"-separated, each with its leading dot, or "*.*".
    std::string Extensions = ".htm;.html;.asp;.asa;.js;.vbs;.shtml;.htx";
    bool IncludeSubfolders = false;

    // The stored values "File Extensions" and "Include Subdirectories".
    static TScanSettings Load();
    void Save() const;
};

// The files the scan adds for path (a file or a folder): in each folder its
// files sorted by name, then its sub-folders' files in the same way. Read-only
// and hidden files are left out. looking is told every name looked at.
std::vector<std::string> ScanDir(std::string path, const TScanSettings& settings,
                                 const std::function<void(const std::string&)>& looking = {});

} // namespace vx::tools
