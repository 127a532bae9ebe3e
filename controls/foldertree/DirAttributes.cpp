// Folder attributes from the folder's status, its mount and its DOS bits.
#include "controls/foldertree/DirAttributes.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace {

// The write bit of the class the user falls in (owner, group, others); root's
// power to write anyway does not make a folder marked read-only writable.
bool UserMayWrite(const TFolderFacts& facts, const TFolderUser& user)
{
    if (facts.owner == user.uid)
        return facts.mode & S_IWUSR;
    if (std::find(user.groups.begin(), user.groups.end(), facts.group) != user.groups.end())
        return facts.mode & S_IWGRP;
    return facts.mode & S_IWOTH;
}

TFolderUser RunningUser()
{
    TFolderUser user;
    user.uid = geteuid();
    user.groups.push_back(getegid());
    const int count = getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int read = getgroups(count, groups.data());
        for (int i = 0; i < read; ++i)
            user.groups.push_back(groups[static_cast<std::size_t>(i)]);
    }
    return user;
}

std::string ReadDosAttributes(const std::string& path)
{
    char value[64];
    const ssize_t size = getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value);
    return size > 0 ? std::string(value, static_cast<std::size_t>(size)) : std::string();
}

} // namespace

unsigned DosAttributes(const std::string& value)
{
    if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X'))
        return 0;
    unsigned bits = 0;
    for (std::size_t i = 2; i < value.size() && i < 10 && std::isxdigit(static_cast<unsigned char>(value[i])); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(value[i])));
        bits = bits << 4 | static_cast<unsigned>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return bits & (faReadOnly | faHidden | faSystem | faArchive);
}

unsigned FolderAttributes(const TFolderFacts& facts, const TFolderUser& user)
{
    unsigned bits = DosAttributes(facts.dosAttributes);
    if (!facts.name.empty() && facts.name[0] == '.')
        bits |= faHidden;
    if (facts.readOnlyMount || !UserMayWrite(facts, user))
        bits |= faReadOnly;
    if (facts.owner < FirstUserId && facts.owner != user.uid)
        bits |= faSystem;
    return bits;
}

unsigned ReadFolderAttributes(const std::string& path, const std::string& name)
{
    TFolderFacts facts;
    facts.name = name;
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return !name.empty() && name[0] == '.' ? unsigned(faHidden) : 0u;
    facts.mode = status.st_mode;
    facts.owner = status.st_uid;
    facts.group = status.st_gid;
    struct statvfs volume {};
    facts.readOnlyMount = statvfs(path.c_str(), &volume) == 0 && (volume.f_flag & ST_RDONLY);
    facts.dosAttributes = ReadDosAttributes(path);
    static const TFolderUser user = RunningUser();
    return FolderAttributes(facts, user);
}
