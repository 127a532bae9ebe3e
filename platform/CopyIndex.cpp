// Whole copies filed by the identity of their file.
#include "platform/CopyIndex.h"

#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Sha256.h"
#include "platform/WholeCopies.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <filesystem>
#include <future>
#include <string_view>
#include <system_error>

namespace vx {

namespace {

constexpr std::string_view Signature = "VELLUMIX WHOLE COPY 1\n";
constexpr std::string_view LengthField = "length ";
// An entry of the last version: "replaced <length> <digest of the whole>".
constexpr std::string_view ReplacedField = "replaced ";
// "pieces <length> <piece length> <digest> <digest> ...".
constexpr std::string_view PiecesField = "pieces ";
constexpr std::size_t DigestLength = 64;
// Far more than an entry holds (a text of 16 GB has 16,384 pieces): anything
// larger is no entry of ours.
constexpr off_t LargestEntry = 1 << 21;

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

// The identity and tag an entry's name files its copy under; false for a
// name of another form.
bool ReadName(const std::string& entry, TFiledCopy& filed)
{
    std::string_view name = std::string_view(entry).substr(entry.rfind('/') + 1);
    if (IsWriteTemporary(name) || !TakeNumber(name, filed.FiledUnder.Device, '-') ||
        !TakeNumber(name, filed.FiledUnder.Inode, '-'))
        return false;
    TBirthTime birth;
    std::string_view rest = name;
    if (TakeNumber(rest, birth.Seconds, '.') && TakeNumber(rest, birth.Nanoseconds, '-')) {
        filed.FiledUnder.Birth = birth;
        name = rest;
    }
    filed.Tag = std::string(name);
    return !filed.Tag.empty();
}

std::string EntryText(const std::string& copy, std::uint64_t length, const std::optional<TReplacedText>& replaced)
{
    std::string text = std::string(Signature) + std::to_string(copy.size()) + "\n" + copy + "\n" +
                       std::string(LengthField) + std::to_string(length) + "\n";
    if (replaced) {
        text += std::string(PiecesField) + std::to_string(replaced->Length) + " " +
                std::to_string(replaced->PieceLength);
        for (const std::string& piece : replaced->Pieces)
            text += " " + piece;
        text += "\n";
    }
    return text;
}

// The fields of an entry's text; false for text of another form.
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
    if (text.starts_with(LengthField)) {
        std::uint64_t copyLength = 0;
        text.remove_prefix(LengthField.size());
        if (!TakeNumber(text, copyLength, '\n'))
            return false;
        filed.Length = copyLength;
    }
    if (text.empty())
        return true;
    TReplacedText replaced;
    const bool pieces = text.starts_with(PiecesField);
    if (!pieces && !text.starts_with(ReplacedField))
        return false;
    text.remove_prefix(pieces ? PiecesField.size() : ReplacedField.size());
    if (!TakeNumber(text, replaced.Length, ' ') || (pieces && !TakeNumber(text, replaced.PieceLength, ' ')))
        return false;
    if (!pieces)
        replaced.PieceLength = std::max<std::uint64_t>(replaced.Length, 1);
    if (replaced.PieceLength == 0 || text.empty() || text.back() != '\n')
        return false;
    for (std::string_view rest = text.substr(0, text.size() - 1); !rest.empty();) {
        if (rest.size() < DigestLength || (rest.size() > DigestLength && rest[DigestLength] != ' '))
            return false;
        replaced.Pieces.emplace_back(rest.substr(0, DigestLength));
        rest.remove_prefix(std::min(rest.size(), DigestLength + 1));
    }
    const std::uint64_t count = std::max<std::uint64_t>(1, (replaced.Length + replaced.PieceLength - 1) / replaced.PieceLength);
    if (replaced.Pieces.size() != count)
        return false;
    filed.Replaced = std::move(replaced);
    return true;
}

// Reads an entry: a file of ours, or a symbolic link of an earlier version
// to the copy.
bool ReadEntry(const std::string& entry, TFiledCopy& filed)
{
    filed.Entry = entry;
    if (!ReadName(entry, filed))
        return false;
    struct stat st {};
    if (::lstat(entry.c_str(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(entry.c_str(), buffer, sizeof buffer);
        if (length <= 0 || length == sizeof buffer)
            return false;
        filed.Copy.assign(buffer, static_cast<size_t>(length));
        return true;
    }
    if (!S_ISREG(st.st_mode) || st.st_size > LargestEntry)
        return false;
    try {
        return ReadText(ReadWholeFile(entry), filed);
    } catch (const EStreamError&) {
        return false;
    }
}

// Whether the write that filed the copy, which is not there, is under way
// or died before naming it. Where its temporary holds as many bytes as the
// entry says the text has, the text is whole there, and is named as the copy
// now. A shorter one is being written, or is what a write cut off while it
// wrote left; its entry stays until the open that removes it.
bool WriteOfCopyLeft(const TFiledCopy& filed)
{
    const std::string temporary = TemporaryOfCopy(filed.Copy);
    struct stat st {};
    if (temporary.empty() || !IsOwnFile(temporary) || ::stat(temporary.c_str(), &st) != 0)
        return false;
    if (filed.Length && static_cast<std::uint64_t>(st.st_size) == *filed.Length &&
        RenameNoReplace(temporary, filed.Copy))
        SyncFolder(std::filesystem::path(filed.Copy).parent_path().string());
    return true;
}

bool FolderExists(const std::string& folder)
{
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameInode(const TFileIdentity& first, const TFileIdentity& second)
{
    return first.Device == second.Device && first.Inode == second.Inode;
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

TReplacedText ReplacedTextOf(std::string_view text, std::uint64_t pieceLength)
{
    TReplacedText replaced{text.size(), pieceLength, {}};
    std::size_t at = 0;
    do {
        replaced.Pieces.push_back(Sha256Hex(text.substr(at, pieceLength)));
        at += pieceLength;
    } while (at < text.size());
    return replaced;
}

namespace {

// The digests of the file's pieces numbered first to last (exclusive) of a
// text of length bytes; none where one cannot be read whole.
std::optional<std::vector<std::string>> DigestsOfPieces(int fd, std::uint64_t length, std::uint64_t first,
                                                        std::uint64_t last)
{
    std::vector<std::string> digests;
    std::string piece(static_cast<std::size_t>(std::min(length, ReplacedPieceLength)), '\0');
    for (std::uint64_t number = first; number < last; ++number) {
        const std::uint64_t start = number * ReplacedPieceLength;
        const std::size_t size = static_cast<std::size_t>(std::min(ReplacedPieceLength, length - start));
        for (std::size_t filled = 0; filled < size;) {
            const ssize_t n = ::pread(fd, piece.data() + filled, size - filled, static_cast<off_t>(start + filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return std::nullopt;
            filled += static_cast<std::size_t>(n);
        }
        digests.push_back(Sha256Hex(std::string_view(piece).substr(0, size)));
    }
    return digests;
}

} // namespace

std::optional<TReplacedText> TextHeldBy(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    TReplacedText held{static_cast<std::uint64_t>(st.st_size), ReplacedPieceLength, {}};
    const std::uint64_t pieces = std::max<std::uint64_t>(1, (held.Length + ReplacedPieceLength - 1) / ReplacedPieceLength);
    // The processor takes longer to hash a text than the disk to give it: two
    // halves at once.
    const std::uint64_t half = pieces / 2;
    auto second = std::async(std::launch::async, DigestsOfPieces, fd, held.Length, half, pieces);
    std::optional<std::vector<std::string>> first = DigestsOfPieces(fd, held.Length, 0, half);
    std::optional<std::vector<std::string>> rest = second.get();
    if (!first || !rest)
        return std::nullopt;
    held.Pieces = std::move(*first);
    held.Pieces.insert(held.Pieces.end(), rest->begin(), rest->end());
    return held;
}

bool IsWrittenOver(const TReplacedText& replaced)
{
    return replaced.Pieces.size() >= 2;
}

std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy,
                          std::uint64_t length, const std::optional<TReplacedText>& replaced)
{
    const std::string folder = IndexFolder();
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    ::chmod(folder.c_str(), 0700);
    const std::string absolute = std::filesystem::absolute(copy, failure).string();
    if (failure)
        return {};
    const std::string entry = JoinPath(folder, EntryName(identity, tag));
    try {
        WriteFileAtomic(entry, EntryText(absolute, length, replaced), TFileAccess::OwnerOnly);
    } catch (const EStreamError&) {
        return {};
    }
    SyncFolder(folder);
    return entry;
}

std::vector<TFiledCopy> FiledCopies()
{
    std::vector<TFiledCopy> entries;
    for (const std::string& entry : EntriesStartingWith(IndexFolder(), "")) {
        TFiledCopy filed;
        if (!ReadEntry(entry, filed))
            continue;
        struct stat st {};
        if (::lstat(filed.Copy.c_str(), &st) != 0 && errno == ENOENT && !WriteOfCopyLeft(filed) &&
            FolderExists(std::filesystem::path(filed.Copy).parent_path().string())) {
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
