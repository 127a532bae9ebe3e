// Whole copies of cut in-place writes: whose each is, and what a file's text
// says of it.
#include "platform/WholeCopies.h"

#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/FileDescriptor.h"
#include "platform/FileIO.h"
#include "platform/LeftBehind.h"
#include "platform/Sha256.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

namespace vx {

namespace {

const TWording NotTheTextFiled{"%1 does not hold the text its save filed"};

namespace fs = std::filesystem;

bool IsCopyName(std::string_view name)
{
    const size_t at = HelperMarkerAt(name, WholeCopyMarker);
    return at != std::string_view::npos && at > 0;
}

std::int64_t ModifiedAt(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

bool IsFolder(const fs::path& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Bytes to compare a piece at a time: a text in memory, or an open file,
// which is never read whole.
class TBytes {
public:
    explicit TBytes(std::string_view text) : text_(text), size_(text.size()) {}
    TBytes(int fd, std::uint64_t size) : fd_(fd), size_(size) {}

    std::uint64_t Size() const { return size_; }
    // Reads length bytes from offset; false when the file gives fewer.
    bool Read(std::uint64_t offset, char* buffer, std::size_t length) const
    {
        if (fd_ < 0) {
            std::memcpy(buffer, text_.data() + offset, length);
            return true;
        }
        while (length > 0) {
            const ssize_t n = ::pread(fd_, buffer, length, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            buffer += n;
            offset += static_cast<std::uint64_t>(n);
            length -= static_cast<std::size_t>(n);
        }
        return true;
    }
    // The digest of all of them; empty when they cannot be read.
    std::string Digest() const
    {
        if (fd_ < 0)
            return Sha256Hex(text_);
        const std::optional<TTextDigest> held = TextHeldBy(fd_);
        return held && held->Length == size_ ? held->Digest : std::string();
    }

private:
    int fd_ = -1;
    std::string_view text_;
    std::uint64_t size_;
};

// How many bytes a and b begin with alike.
std::uint64_t SharedStart(const TBytes& a, const TBytes& b)
{
    const std::uint64_t most = std::min(a.Size(), b.Size());
    const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(65536, most));
    std::string x(piece, '\0'), y(piece, '\0');
    for (std::uint64_t at = 0; at < most; at += piece) {
        const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(piece, most - at));
        if (!a.Read(at, x.data(), length) || !b.Read(at, y.data(), length))
            return at;
        const auto end = x.begin() + static_cast<std::ptrdiff_t>(length);
        if (const auto differ = std::mismatch(x.begin(), end, y.begin()).first; differ != end)
            return at + static_cast<std::uint64_t>(differ - x.begin());
    }
    return most;
}

// Whether the bytes are the text.
bool Hold(const TBytes& bytes, const TTextDigest& text)
{
    return bytes.Size() == text.Length && bytes.Digest() == text.Digest;
}

TCopyStanding Judge(const TBytes& file, const TBytes& copy, const std::optional<TTextDigest>& replaced)
{
    const bool holdsItsStart = SharedStart(file, copy) == file.Size();
    if (holdsItsStart && file.Size() == copy.Size())
        return TCopyStanding::Whole;
    if (replaced && Hold(file, *replaced))
        return TCopyStanding::Replaced;
    return holdsItsStart ? TCopyStanding::CutShort : TCopyStanding::Other;
}

// Whether a file holding what the standing says is one the copy's cut write
// left: one cut to nothing only at the name the copy was made beside, where
// the copy's own file is not known for certain.
bool IsCutState(TCopyStanding standing, bool empty, bool beside)
{
    return standing == TCopyStanding::Whole || standing == TCopyStanding::Replaced ||
           (standing == TCopyStanding::CutShort && (!empty || beside));
}

// An open file's bytes; closed with the object.
class TOpenFile {
public:
    explicit TOpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat st {};
        if (fd_.IsOpen() && (::fstat(fd_.Get(), &st) != 0 || !S_ISREG(st.st_mode))) {
            fd_.Close();
            errno = EISDIR;
        }
        size_ = static_cast<std::uint64_t>(st.st_size);
    }

    bool IsOpen() const { return fd_.IsOpen(); }
    TBytes Bytes() const { return TBytes(fd_.Get(), size_); }

private:
    TFileDescriptor fd_;
    std::uint64_t size_ = 0;
};

// A copy that may concern the file, with its index entry where it has one.
struct TCandidate {
    std::string Path;
    std::optional<TFiledCopy> Filed;
};

// Whose a copy is, as far as the names around it tell.
enum class TOwner {
    // The file it was filed under is the one being opened.
    ThisFile,
    // The file it was filed under stands in the copy's folder, and is another.
    Another,
    // Its file is not found, or it was filed nowhere.
    NotFound,
};

// The copies that may concern the file target names: each once, however
// often it is found.
class TCandidates {
public:
    TCandidates(const std::string& target, std::vector<TFiledCopy> index) : target_(target), entries_(std::move(index))
    {
        IdentityOf(target, identity_);
        // Only the names of copies become paths: a folder may hold thousands of files.
        const auto copyNamed = [](std::string_view name, std::uint64_t) { return IsCopyName(name); };
        for (const std::string& path : EntriesWhere(fs::path(target).parent_path().string(), copyNamed)) {
            if (MadeBesideTheFile(path))
                Add(path);
        }
        for (const TFiledCopy& filed : entries_) {
            const bool filedUnderIt = SameFile(filed.FiledUnder, identity_);
            if (FileExists(filed.Copy)) {
                if (filedUnderIt || MadeBesideTheFile(filed.Copy))
                    Add(filed.Copy);
            } else if (filedUnderIt) {
                AddMoved(filed.Copy);
            }
        }
    }

    const std::vector<TCandidate>& List() const { return found_; }
    // Whether the copy stands at a name of the file: the name it was made
    // beside leads to the file.
    bool MadeBesideTheFile(const std::string& copy) const { return SameFile(CopiedFileName(copy), target_); }

    // Whose the copy open as copy is, the file holding what standing says of
    // it. A file is the copy's where it has the identity the copy was filed
    // under; where that tells only the inode, where it also holds what the
    // copy's cut write left.
    TOwner OwnerOf(const TCandidate& candidate, const TBytes& copy, TCopyStanding standing, bool empty) const
    {
        if (!candidate.Filed)
            return TOwner::NotFound;
        const TFileIdentity& own = candidate.Filed->FiledUnder;
        if (SameFile(own, identity_) &&
            (TellsItsInodeApart(own, identity_) || IsCutState(standing, empty, MadeBesideTheFile(candidate.Path))))
            return TOwner::ThisFile;
        return StandsBeside(candidate, copy) ? TOwner::Another : TOwner::NotFound;
    }

private:
    void Add(const std::string& path)
    {
        TFileIdentity identity;
        if (!IsOwnFile(path) || !IdentityOf(path, identity))
            return;
        const auto known = [&](const TFileIdentity& seen) { return SameFile(seen, identity); };
        if (std::any_of(seen_.begin(), seen_.end(), known))
            return;
        seen_.push_back(identity);
        found_.push_back({path, EntryOfCopy(entries_, path, CopyTag(path))});
    }
    // A copy whose folder was renamed since it was filed: beside the file,
    // or in a folder above it, as a folder holding both the copy and a
    // subfolder with another name of the file is; or where the folder it
    // stood in (or one above) stands under a new name beside its old one.
    void AddMoved(const fs::path& was)
    {
        const fs::path name = was.filename();
        for (fs::path folder = fs::path(target_).parent_path(); !folder.empty(); folder = folder.parent_path()) {
            if (const std::string path = (folder / name).string(); FileExists(path))
                Add(path);
            if (folder == folder.root_path())
                break;
        }
        fs::path kept = was.parent_path();
        fs::path below;
        while (!kept.empty() && kept != kept.root_path() && !IsFolder(kept)) {
            below = below.empty() ? kept.filename() : kept.filename() / below;
            kept = kept.parent_path();
        }
        if (below.empty())
            return;
        // below names the folder that went, and those in it down to the copy's.
        const fs::path inside = fs::path(below).lexically_relative(*below.begin()) / name;
        const auto aFolder = [](std::string_view name, std::uint64_t) { return name != "." && name != ".."; };
        for (const std::string& sibling : EntriesWhere(kept.string(), aFolder)) {
            if (const std::string path = (fs::path(sibling) / inside).lexically_normal().string(); FileExists(path))
                Add(path);
        }
    }
    // Whether another file than this one, in the copy's folder (at the name
    // the copy was made beside, or under another), is the copy's: it has the
    // identity the copy was filed under, and where that tells only the
    // inode, holds what the copy's cut write left, or its whole text.
    bool StandsBeside(const TCandidate& candidate, const TBytes& copy) const
    {
        const TFiledCopy& filed = *candidate.Filed;
        const auto isOwn = [&](const std::string& path) {
            TFileIdentity identity;
            if (!IdentityOf(path, identity) || !SameFile(identity, filed.FiledUnder) || SameFile(identity, identity_))
                return false;
            if (TellsItsInodeApart(identity, filed.FiledUnder))
                return true;
            const TOpenFile file(path);
            return file.IsOpen() && Judge(file.Bytes(), copy, filed.Replaced) != TCopyStanding::Other;
        };
        if (isOwn(CopiedFileName(candidate.Path)))
            return true;
        const auto itsInode = [&](std::string_view, std::uint64_t inode) { return inode == filed.FiledUnder.Inode; };
        const std::vector<std::string> names =
            EntriesWhere(fs::path(candidate.Path).parent_path().string(), itsInode);
        return std::any_of(names.begin(), names.end(), isOwn);
    }

    std::string target_;
    TFileIdentity identity_;
    std::vector<TFiledCopy> entries_;
    std::vector<TFileIdentity> seen_;
    std::vector<TCandidate> found_;
};

bool IsOffered(TCopyStanding standing)
{
    return standing == TCopyStanding::CutShort || standing == TCopyStanding::Replaced;
}

// The copies the file that candidates were found for, holding file, is to
// hear of, newest first; their texts are not read.
std::vector<TWholeCopy> Classify(const TCandidates& candidates, const TBytes& file)
{
    std::vector<std::pair<std::int64_t, TWholeCopy>> dated;
    for (const TCandidate& candidate : candidates.List()) {
        TWholeCopy copy{candidate.Path, TCopyStanding::Other, {}, {},
                        candidate.Filed ? std::optional(candidate.Filed->Text) : std::nullopt};
        const bool beside = candidates.MadeBesideTheFile(candidate.Path);
        const TOpenFile opened(copy.Path);
        if (!opened.IsOpen()) {
            copy.Standing = TCopyStanding::Unreadable;
            copy.Unread = SystemFailure(CannotOpenFile, {copy.Path});
            dated.emplace_back(ModifiedAt(copy.Path), std::move(copy));
            continue;
        }
        copy.Standing = Judge(file, opened.Bytes(), candidate.Filed ? candidate.Filed->Replaced : std::nullopt);
        const TOwner owner = candidates.OwnerOf(candidate, opened.Bytes(), copy.Standing, file.Size() == 0);
        if (owner == TOwner::Another) {
            // Another file's: whatever this one holds, it neither takes nor ends it.
            copy.Standing = TCopyStanding::Other;
            if (beside)
                dated.emplace_back(ModifiedAt(copy.Path), std::move(copy));
            continue;
        }
        if (owner == TOwner::NotFound) {
            if (!IsCutState(copy.Standing, file.Size() == 0, beside))
                copy.Standing = TCopyStanding::Other;
            if (!beside && copy.Standing == TCopyStanding::Other)
                continue;
        }
        dated.emplace_back(ModifiedAt(copy.Path), std::move(copy));
    }
    std::stable_sort(dated.begin(), dated.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<TWholeCopy> copies;
    for (auto& [when, copy] : dated)
        copies.push_back(std::move(copy));
    return copies;
}

void RemoveEntryOf(const std::string& copy)
{
    if (const std::optional<TFiledCopy> filed = EntryOfCopy(FiledCopies(), copy, CopyTag(copy)))
        ::unlink(filed->Entry.c_str());
}

} // namespace

TCopyStanding StandingOf(std::string_view fileText, std::string_view copyText,
                         const std::optional<TTextDigest>& replaced)
{
    return Judge(TBytes(fileText), TBytes(copyText), replaced);
}

std::vector<TWholeCopy> WholeCopiesOf(const std::string& path, std::string_view fileText,
                                      std::vector<TFiledCopy> index)
{
    std::vector<TWholeCopy> copies = Classify(TCandidates(LinkTarget(path), std::move(index)), TBytes(fileText));
    for (TWholeCopy& copy : copies) {
        if (!IsOffered(copy.Standing))
            continue;
        try {
            copy.Text = ReadWholeFile(copy.Path);
            // Only a copy that holds the whole text its save wrote is put in place of the file's.
            if (copy.Filed && DigestOf(copy.Text) != *copy.Filed)
                throw EReadError(TMessage(NotTheTextFiled, {copy.Path}));
        } catch (const EStreamError& e) {
            copy.Standing = TCopyStanding::Unreadable;
            copy.Unread = e.Said();
            copy.Text.clear();
        }
    }
    return copies;
}

std::vector<std::string> CopiesASaveSupersedes(const std::string& path)
{
    std::vector<std::string> superseded;
    const TCandidates candidates(LinkTarget(path), FiledCopies());
    if (candidates.List().empty())
        return superseded;
    // What the file holds cannot be told where it cannot be read: no copy is known to be its.
    const TOpenFile file(path);
    if (!file.IsOpen())
        return superseded;
    for (TWholeCopy& copy : Classify(candidates, file.Bytes())) {
        if (IsOffered(copy.Standing))
            superseded.push_back(std::move(copy.Path));
    }
    return superseded;
}

std::string WholeCopyName(const std::string& file, const std::string& tag)
{
    return HelperStem(file) + std::string(WholeCopyMarker) + tag;
}

std::string CopyTag(const std::string& copy)
{
    return copy.size() < HelperTagLength ? copy : copy.substr(copy.size() - HelperTagLength);
}

std::string TemporaryOfCopy(const std::string& copy)
{
    const size_t at = HelperMarkerAt(copy, WholeCopyMarker);
    if (at == std::string::npos)
        return {};
    return copy.substr(0, at) + std::string(WriteTemporaryMarker) + CopyTag(copy);
}

std::string CopiedFileName(const std::string& copy)
{
    const size_t at = copy.rfind(WholeCopyMarker);
    if (at == std::string::npos)
        return {};
    const std::string stem = copy.substr(0, at);
    // A stem cut short is within a character (up to 4 bytes) of the longest
    // a name may take before its marker: one longer than that it would be cut.
    const std::string longer = stem + "1234";
    if (FileExists(stem) || HelperStem(longer) == longer)
        return stem;
    // A name too long to take a marker: the copy's began with it cut short.
    const std::string tag = CopyTag(copy);
    for (const std::string& file :
         EntriesStartingWith(fs::path(stem).parent_path().string(), fs::path(stem).filename().string())) {
        if (file != stem && WholeCopyName(file, tag) == copy)
            return file;
    }
    return stem;
}

void RemoveWholeCopy(const std::string& copy)
{
    if (::unlink(copy.c_str()) == 0 || errno == ENOENT)
        RemoveEntryOf(copy);
}

void SetAsideWholeCopy(const std::string& copy)
{
    KeepAside(copy);
    RemoveEntryOf(copy);
}

} // namespace vx
