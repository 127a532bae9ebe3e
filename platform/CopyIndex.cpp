// Whole copies filed by the identity of their file.
#include "platform/CopyIndex.h"

#include "platform/Exception.h"
#include "platform/FileDescriptor.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Sha256.h"
#include "platform/WholeCopies.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace vx {

namespace {

constexpr std::string_view Signature = "VELLUMIX WHOLE COPY 1\n";
constexpr std::string_view TextField = "text";
constexpr std::string_view ReplacedField = "replaced";
constexpr std::size_t DigestLength = 64;
// Far more than an entry holds: anything larger is no entry of ours.
constexpr off_t LargestEntry = 1 << 16;

const TWording CannotCreateFolder{"Cannot create folder %1: %2"};
const TWording NoDigest{"The digest of the text could not be taken"};

std::string EntryName(const TFileIdentity& identity, const std::string& tag)
{
    std::string name = std::to_string(identity.Device) + "-" + std::to_string(identity.Inode) + "-";
    if (identity.Birth)
        name += std::to_string(identity.Birth->Seconds) + "." + std::to_string(identity.Birth->Nanoseconds) + "-";
    else if (identity.Generation)
        name += 'g' + std::to_string(*identity.Generation) + '-';
    return name + tag;
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

// The identity and tag an entry's name files its copy under; false for a
// name of another form.
bool ReadName(const std::string& entry, TFiledCopy& filed)
{
    std::string_view name = std::string_view(entry).substr(entry.rfind('/') + 1);
    if (IsWriteTemporary(name) || !TakeNumber(name, filed.FiledUnder.Device, '-') ||
        !TakeNumber(name, filed.FiledUnder.Inode, '-'))
        return false;
    TBirthTime birth;
    std::uint64_t generation = 0;
    std::string_view rest = name;
    if (TakeNumber(rest, birth.Seconds, '.') && TakeNumber(rest, birth.Nanoseconds, '-')) {
        filed.FiledUnder.Birth = birth;
        name = rest;
    } else if (rest = name.substr(std::min<std::size_t>(1, name.size()));
               name.starts_with('g') && TakeNumber(rest, generation, '-')) {
        filed.FiledUnder.Generation = generation;
        name = rest;
    }
    filed.Tag = std::string(name);
    return !filed.Tag.empty();
}

std::string DigestLine(std::string_view field, const TTextDigest& text)
{
    return std::string(field) + " " + std::to_string(text.Length) + " " + text.Digest + "\n";
}

std::string EntryText(const std::string& copy, const TTextDigest& text, const std::optional<TTextDigest>& replaced)
{
    std::string entry = std::string(Signature) + std::to_string(copy.size()) + "\n" + copy + "\n" +
                        DigestLine(TextField, text);
    if (replaced)
        entry += DigestLine(ReplacedField, *replaced);
    return entry;
}

bool IsDigest(std::string_view text)
{
    const auto isHexDigit = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    return text.size() == DigestLength && std::all_of(text.begin(), text.end(), isHexDigit);
}

// Reads a digest line's value, "<length> <digest>\n".
bool TakeDigest(std::string_view line, TTextDigest& text)
{
    if (!TakeNumber(line, text.Length, ' ') || !line.ends_with('\n') || !IsDigest(line.substr(0, line.size() - 1)))
        return false;
    text.Digest = line.substr(0, line.size() - 1);
    return true;
}

// The fields of an entry's text; false for text of another form. Lines of
// fields this version does not know are passed over.
bool ReadText(std::string_view text, TFiledCopy& filed)
{
    std::size_t length = 0;
    if (!text.starts_with(Signature))
        return false;
    text.remove_prefix(Signature.size());
    if (!TakeNumber(text, length, '\n') || length == 0 || length >= text.size() || text[length] != '\n')
        return false;
    filed.Copy = std::string(text.substr(0, length));
    text.remove_prefix(length + 1);
    bool hasText = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return false;
        std::string_view line = text.substr(0, end + 1);
        text.remove_prefix(end + 1);
        const std::string_view field = line.substr(0, line.find(' '));
        line.remove_prefix(std::min(line.size(), field.size() + 1));
        if (field == TextField) {
            if (!TakeDigest(line, filed.Text))
                return false;
            hasText = true;
        } else if (field == ReplacedField) {
            TTextDigest replaced;
            if (!TakeDigest(line, replaced))
                return false;
            filed.Replaced = std::move(replaced);
        }
    }
    return hasText;
}

bool ReadEntry(const std::string& entry, TFiledCopy& filed)
{
    filed.Entry = entry;
    struct stat st {};
    if (!ReadName(entry, filed) || ::lstat(entry.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_size > LargestEntry)
        return false;
    try {
        return ReadText(ReadWholeFile(entry), filed);
    } catch (const EStreamError&) {
        return false;
    }
}

bool FolderExists(const std::string& folder)
{
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Whether a name may stand for the copy: only one that is not there is gone.
bool CopyThere(const std::string& copy)
{
    struct stat st {};
    return ::lstat(copy.c_str(), &st) == 0 || errno != ENOENT;
}

// Removes the temporary of an entry's write unless that write is under way
// (it holds its temporary locked): a killed one holds nothing anybody needs.
void RemoveUnlessWritten(const std::string& temporary)
{
    const TFileDescriptor fd(::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.IsOpen() && ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0 && NamesFile(temporary, fd.Get()))
        ::unlink(temporary.c_str());
}

// What statx answers for a file as its identity. Where it tells no birth
// time, the inode's generation tells a reused inode apart: open gives it (a
// regular file's only: opening a device may wake it), where the file can be
// opened.
TFileIdentity IdentityFrom(const struct statx& st, const std::function<int()>& open)
{
    TFileIdentity identity{static_cast<std::uint64_t>(makedev(st.stx_dev_major, st.stx_dev_minor)), st.stx_ino,
                           std::nullopt, std::nullopt};
    if (st.stx_mask & STATX_BTIME) {
        identity.Birth = TBirthTime{st.stx_btime.tv_sec, st.stx_btime.tv_nsec};
        return identity;
    }
    long generation = 0;
    if (S_ISREG(st.stx_mode))
        if (const int fd = open(); fd >= 0 && ::ioctl(fd, FS_IOC_GETVERSION, &generation) == 0)
            identity.Generation = static_cast<std::uint64_t>(static_cast<unsigned long>(generation));
    return identity;
}

} // namespace

std::string CopyIndexFolder()
{
    return JoinPath(DataFolder(), "whole-copies");
}

bool IdentityOf(const std::string& path, TFileIdentity& identity)
{
    struct statx st {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_INO | STATX_BTIME | STATX_TYPE, &st) != 0)
        return false;
    TFileDescriptor opened;
    // A file the user may not read has no generation to tell.
    identity = IdentityFrom(st, [&] {
        opened = TFileDescriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        return opened.Get();
    });
    return true;
}

bool IdentityOfOpenFile(int fd, TFileIdentity& identity)
{
    struct statx st {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME | STATX_TYPE, &st) != 0)
        return false;
    identity = IdentityFrom(st, [fd] { return fd; });
    return true;
}

bool SameFile(const TFileIdentity& first, const TFileIdentity& second)
{
    const auto agree = [](const auto& a, const auto& b) { return !a || !b || *a == *b; };
    return first.Device == second.Device && first.Inode == second.Inode && agree(first.Birth, second.Birth) &&
           agree(first.Generation, second.Generation);
}

bool SameFile(const std::string& first, const std::string& second)
{
    TFileIdentity a, b;
    return IdentityOf(first, a) && IdentityOf(second, b) && SameFile(a, b);
}

bool TellsItsInodeApart(const TFileIdentity& first, const TFileIdentity& second)
{
    return (first.Birth && second.Birth) || (first.Generation && second.Generation);
}

TTextDigest DigestOf(std::string_view text)
{
    return DigestOf(std::span(&text, 1));
}

TTextDigest DigestOf(std::span<const std::string_view> pieces)
{
    TSha256 digest;
    std::uint64_t length = 0;
    for (const std::string_view piece : pieces) {
        digest.Add(piece);
        length += piece.size();
    }
    return {length, digest.HexDigest()};
}

std::optional<TTextDigest> TextHeldBy(int fd)
{
    TSha256 digest;
    std::string piece(1 << 20, '\0');
    std::uint64_t length = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, piece.data(), piece.size(), static_cast<off_t>(length));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        digest.Add(std::string_view(piece).substr(0, static_cast<std::size_t>(n)));
        length += static_cast<std::uint64_t>(n);
    }
    std::string hex = digest.HexDigest();
    if (hex.empty())
        return std::nullopt;
    return TTextDigest{length, std::move(hex)};
}

std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy,
                          const TTextDigest& text, const std::optional<TTextDigest>& replaced)
{
    const std::string folder = CopyIndexFolder();
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure)
        throw EFCreateError(SystemFailure(CannotCreateFolder, {folder}, failure.value()));
    ::chmod(folder.c_str(), 0700);
    // A digest that could not be taken matches no text: the copy could never be offered.
    if (text.Digest.empty())
        throw EWriteError(TMessage(NoDigest, {}));
    const std::string entry = JoinPath(folder, EntryName(identity, tag));
    WriteFileAtomic(entry, EntryText(std::filesystem::absolute(copy).string(), text, replaced), TFileAccess::OwnerOnly);
    SyncFolder(folder);
    return entry;
}

std::vector<TFiledCopy> FiledCopies()
{
    std::vector<TFiledCopy> entries;
    for (const std::string& entry : EntriesStartingWith(CopyIndexFolder(), "")) {
        if (IsWriteTemporary(NameOf(entry))) {
            RemoveUnlessWritten(entry);
            continue;
        }
        TFiledCopy filed;
        if (!ReadEntry(entry, filed))
            continue;
        // A write under way has filed its copy before naming it, and names
        // it in one step: where neither the copy nor, after it, the
        // temporary is there, the copy is there now or gone for good. One
        // killed meanwhile left its temporary, which the next open of its
        // file tells of. Most entries' copies are there at the first look.
        if (!CopyThere(filed.Copy) && !FileExists(TemporaryOfCopy(filed.Copy)) && !CopyThere(filed.Copy) &&
            FolderExists(FolderOf(filed.Copy))) {
            ::unlink(entry.c_str());
            continue;
        }
        entries.push_back(std::move(filed));
    }
    return entries;
}

std::optional<TFiledCopy> EntryOfCopy(const std::vector<TFiledCopy>& entries, const std::string& copy,
                                      const std::string& tag)
{
    const std::string name = std::filesystem::path(copy).filename().string();
    for (const TFiledCopy& filed : entries) {
        if (filed.Tag != tag)
            continue;
        // A copy whose folder was renamed is known by its name and tag.
        const bool moved = !FileExists(filed.Copy) && std::filesystem::path(filed.Copy).filename() == name;
        if (moved || SameFile(filed.Copy, copy))
            return filed;
    }
    return std::nullopt;
}

} // namespace vx
