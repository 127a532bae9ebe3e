// Whole copies filed by the identity of their file.
#include "platform/CopyIndex.h"

#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>

namespace vx {

namespace {

std::string IndexFolder()
{
    return JoinPath(DataFolder(), "whole-copies");
}

std::string EntryPrefix(const TFileIdentity& identity)
{
    return std::to_string(identity.Device) + "-" + std::to_string(identity.Inode) + "-";
}

bool FolderExists(const std::string& folder)
{
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The copy an entry points to; empty when the entry is no link.
std::string Target(const std::string& entry)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(entry.c_str(), buffer, sizeof buffer);
    return length <= 0 || length == sizeof buffer ? std::string() : std::string(buffer, static_cast<size_t>(length));
}

} // namespace

bool IdentityOf(const std::string& path, TFileIdentity& identity)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return true;
}

std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy)
{
    const std::string folder = IndexFolder();
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    ::chmod(folder.c_str(), 0700);
    const std::string absolute = std::filesystem::absolute(copy, failure).string();
    const std::string entry = JoinPath(folder, EntryPrefix(identity) + tag);
    if (failure || ::symlink(absolute.c_str(), entry.c_str()) != 0)
        return {};
    SyncFolder(folder);
    return entry;
}

std::vector<std::string> CopiesFiledUnder(const TFileIdentity& identity)
{
    std::vector<std::string> copies;
    for (const std::string& entry : EntriesStartingWith(IndexFolder(), EntryPrefix(identity))) {
        const std::string copy = Target(entry);
        struct stat st {};
        if (copy.empty()) {
            ::unlink(entry.c_str());
        } else if (::lstat(copy.c_str(), &st) != 0) {
            // A copy on a file system that is not mounted now may come back.
            if (errno == ENOENT && FolderExists(std::filesystem::path(copy).parent_path().string()))
                ::unlink(entry.c_str());
        } else if (IsOwnFile(copy)) {
            // Only a file of the user's own is offered as the user's text.
            copies.push_back(copy);
        }
    }
    return copies;
}

} // namespace vx
