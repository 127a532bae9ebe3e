// The attributes a folder shows in the folder tree's filter. Linux has no
// attribute bits of its own for them: a folder is hidden when its name starts
// with a dot, read-only when its permission bits give the user no write
// access or its file system is mounted read-only, and system when a system
// account (below the first user id) other than the user owns it. The bits a
// Windows share keeps in the folder's "user.DOSATTRIB" attribute (the form
// Samba stores them in) count as well; archive comes only from there.
#pragma once

#include <string>
#include <vector>

enum TFolderAttribute : unsigned { faReadOnly = 0x01, faHidden = 0x02, faSystem = 0x04, faArchive = 0x20 };

// What the system tells of a folder.
struct TFolderFacts {
    std::string name;
    unsigned mode = 0;   // permission bits
    unsigned owner = 0;  // user id
    unsigned group = 0;  // group id
    bool readOnlyMount = false;
    std::string dosAttributes; // the "user.DOSATTRIB" value, empty when none
};

// Who asks.
struct TFolderUser {
    unsigned uid = 0;
    std::vector<unsigned> groups;
};

inline constexpr unsigned FirstUserId = 1000;

// The attribute bits of a folder for that user.
unsigned FolderAttributes(const TFolderFacts& facts, const TFolderUser& user);
// The bits of a "user.DOSATTRIB" value: the hexadecimal text it starts with.
unsigned DosAttributes(const std::string& value);
// The attribute bits of the folder at path for the running program; a folder
// that cannot be examined has only the bits its name gives.
unsigned ReadFolderAttributes(const std::string& path, const std::string& name);
