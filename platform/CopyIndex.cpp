// Whole copies filed by the identity of their file.
#include "platform/CopyIndex.h"

#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <filesystem>
#include <string_view>
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

std::string EntryName(const TFileIdentity& identity, const std::string& tag)
{
    if (!identity.Birth)
        return EntryPrefix(identity) + tag;
    return EntryPrefix(identity) + std::to_string(identity.Birth->Seconds) + "." +
           std::to_string(identity.Birth->Nanoseconds) + "-" + tag;
}

// Reads the number at the start of text, which must end in separator, and
// moves text past both.
template <typename TNumber>
bool TakeNumber(std::string_view& text, TNumber& number, char separator)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop == end || *stop != separator)
        return false;
    text.remove_prefix(static_cast<size_t>(stop - text.data()) + 1);
    return true;
}

// The identity an entry's name files its copy under; none for a name of
// another form.
std::optional<TFileIdentity> FiledUnder(const std::string& entry)
{
    std::string_view name = std::string_view(entry).substr(entry.rfind('/') + 1);
    TFileIdentity identity;
    if (!TakeNumber(name, identity.Device, '-') || !TakeNumber(name, identity.Inode, '-'))
        return std::nullopt;
    TBirthTime birth;
    if (TakeNumber(name, birth.Seconds, '.') && TakeNumber(name, birth.Nanoseconds, '-'))
        identity.Birth = birth;
    return identity;
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

bool SameInode(const TFileIdentity& first, const TFileIdentity& second)
{
    return first.Device == second.Device && first.Inode == second.Inode;
}

// Whose the copy filed under an identity is, as the file on that inode now
// sees it.
enum class TOwner { File, Unsettled, Another };

TOwner OwnerOf(const std::string& copy, const TFileIdentity& filed, const TFileIdentity& file)
{
    if (!SameInode(filed, file))
        return TOwner::Another;
    if (filed.Birth && file.Birth)
        return *filed.Birth == *file.Birth ? TOwner::File : TOwner::Another;
    // Nothing tells apart the files the inode was given to but the name the
    // copy was made beside. Renamed or deleted since, it may have been this
    // file's or that of one whose inode this file took over: the user knows.
    TFileIdentity named;
    return IdentityOf(CopiedFileName(copy), named) && SameFile(named, file) ? TOwner::File : TOwner::Unsettled;
}

// What statx answers for a file as its identity.
TFileIdentity IdentityFrom(const struct statx& st)
{
    TFileIdentity identity{static_cast<std::uint64_t>(makedev(st.stx_dev_major, st.stx_dev_minor)), st.stx_ino,
                           std::nullopt};
    if (st.stx_mask & STATX_BTIME)
        identity.Birth = TBirthTime{st.stx_btime.tv_sec, st.stx_btime.tv_nsec};
    return identity;
}

} // namespace

bool IdentityOf(const std::string& path, TFileIdentity& identity)
{
    struct statx st {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_INO | STATX_BTIME, &st) != 0)
        return false;
    identity = IdentityFrom(st);
    return true;
}

bool IdentityOfOpenFile(int fd, TFileIdentity& identity)
{
    struct statx st {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME, &st) != 0)
        return false;
    identity = IdentityFrom(st);
    return true;
}

bool SameFile(const TFileIdentity& first, const TFileIdentity& second)
{
    return SameInode(first, second) && (!first.Birth || !second.Birth || *first.Birth == *second.Birth);
}

bool SameFile(const std::string& first, const std::string& second)
{
    TFileIdentity a, b;
    return IdentityOf(first, a) && IdentityOf(second, b) && SameFile(a, b);
}

std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy)
{
    const std::string folder = IndexFolder();
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    ::chmod(folder.c_str(), 0700);
    const std::string absolute = std::filesystem::absolute(copy, failure).string();
    const std::string entry = JoinPath(folder, EntryName(identity, tag));
    if (failure || ::symlink(absolute.c_str(), entry.c_str()) != 0)
        return {};
    SyncFolder(folder);
    return entry;
}

std::vector<TWholeCopy> CopiesFiledUnder(const TFileIdentity& identity)
{
    std::vector<TWholeCopy> copies;
    for (const std::string& entry : EntriesStartingWith(IndexFolder(), EntryPrefix(identity))) {
        const std::string copy = Target(entry);
        const std::optional<TFileIdentity> filed = FiledUnder(entry);
        struct stat st {};
        if (copy.empty()) {
            ::unlink(entry.c_str());
        } else if (::lstat(copy.c_str(), &st) != 0) {
            // A copy on a file system that is not mounted now may come back.
            if (errno == ENOENT && FolderExists(std::filesystem::path(copy).parent_path().string()))
                ::unlink(entry.c_str());
        } else if (filed && IsOwnFile(copy)) {
            // Only a file of the user's own is offered as the user's text.
            const TOwner owner = OwnerOf(copy, *filed, identity);
            if (owner != TOwner::Another)
                copies.push_back({copy, owner == TOwner::File});
        }
    }
    return copies;
}

std::string EntryOfCopy(const std::string& copy, const std::string& tag)
{
    const std::string ending = "-" + tag;
    for (const std::string& entry : EntriesStartingWith(IndexFolder(), "")) {
        if (entry.ends_with(ending) && FiledUnder(entry) && SameFile(Target(entry), copy))
            return entry;
    }
    return {};
}

} // namespace vx
