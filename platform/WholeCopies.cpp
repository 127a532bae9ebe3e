// Whole copies of cut in-place writes, and what a file's text says of them.
#include "platform/WholeCopies.h"

#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/Sha256.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

namespace vx {

namespace {

constexpr std::string_view CopyMarker = ".vxcopy-";
constexpr std::string_view SetAsideMarker = ".vxold-";
constexpr std::size_t TagLength = 6;

const TWording CannotMove{"Cannot move %1: %2"};
const TWording CannotMoveTo{"Cannot move %1 to %2: %3"};

namespace fs = std::filesystem;

bool IsCopyName(std::string_view name)
{
    const size_t at = name.rfind(CopyMarker);
    return at != std::string_view::npos && at > 0 && name.size() - at - CopyMarker.size() == TagLength;
}

std::int64_t ModifiedAt(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// A copy that may be the file's, with what its index entry tells.
struct TCandidate {
    std::string Path;
    std::optional<TReplacedText> Replaced;
};

// The copies that may be the file target names: each once, however often
// it is found.
class TCandidates {
public:
    explicit TCandidates(const std::string& target) : target_(target), entries_(FiledCopies())
    {
        IdentityOf(target, identity_);
        for (const std::string& path : EntriesStartingWith(fs::path(target).parent_path().string(), "")) {
            if (IsCopyName(fs::path(path).filename().string()) && MadeBesideTheFile(path))
                Add(path);
        }
        for (const TFiledCopy& filed : entries_) {
            const bool filedUnderIt =
                filed.FiledUnder.Device == identity_.Device && filed.FiledUnder.Inode == identity_.Inode;
            if (FileExists(filed.Copy)) {
                if (filedUnderIt || MadeBesideTheFile(filed.Copy))
                    Add(filed.Copy);
            } else if (filedUnderIt) {
                AddMoved(fs::path(filed.Copy).filename());
            }
        }
    }

    const std::vector<TCandidate>& List() const { return found_; }
    // Whether the copy stands beside a name of the file: a copy of other
    // text there is told of, one found elsewhere is another file's.
    bool MadeBesideTheFile(const std::string& copy) const { return SameFile(CopiedFileName(copy), target_); }

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
        const std::optional<TFiledCopy> filed = EntryOfCopy(entries_, path, CopyTag(path));
        found_.push_back({path, filed ? filed->Replaced : std::nullopt});
    }
    // A copy whose folder was renamed since it was filed: beside the file,
    // or in a folder above it, as a folder holding both the copy and a
    // subfolder with another name of the file is.
    void AddMoved(const fs::path& name)
    {
        for (fs::path folder = fs::path(target_).parent_path(); !folder.empty(); folder = folder.parent_path()) {
            if (const std::string path = (folder / name).string(); FileExists(path))
                Add(path);
            if (folder == folder.root_path())
                break;
        }
    }

    std::string target_;
    TFileIdentity identity_;
    std::vector<TFiledCopy> entries_;
    std::vector<TFileIdentity> seen_;
    std::vector<TCandidate> found_;
};

// The copies for the file that candidates were found for, holding fileText,
// that it is to hear of, newest first.
std::vector<TWholeCopy> Classify(const TCandidates& candidates, std::string_view fileText)
{
    std::vector<std::pair<std::int64_t, TWholeCopy>> dated;
    for (const TCandidate& candidate : candidates.List()) {
        TWholeCopy copy{candidate.Path, {}, TCopyStanding::Other};
        try {
            copy.Text = ReadWholeFile(copy.Path);
        } catch (const EStreamError&) {
            continue;
        }
        copy.Standing = StandingOf(fileText, copy.Text, candidate.Replaced);
        if (copy.Standing != TCopyStanding::Other || candidates.MadeBesideTheFile(copy.Path))
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
                         const std::optional<TReplacedText>& replaced)
{
    if (fileText == copyText)
        return TCopyStanding::Whole;
    if (replaced && fileText.size() == replaced->Length && Sha256Hex(fileText) == replaced->Digest)
        return TCopyStanding::Replaced;
    if (copyText.starts_with(fileText))
        return TCopyStanding::CutShort;
    return TCopyStanding::Other;
}

std::vector<TWholeCopy> WholeCopiesOf(const std::string& path, std::string_view fileText)
{
    return Classify(TCandidates(LinkTarget(path)), fileText);
}

std::vector<std::string> CopiesASaveSupersedes(const std::string& path)
{
    std::vector<std::string> superseded;
    const TCandidates candidates(LinkTarget(path));
    if (candidates.List().empty())
        return superseded;
    try {
        for (TWholeCopy& copy : Classify(candidates, ReadWholeFile(path))) {
            if (copy.Standing != TCopyStanding::Other)
                superseded.push_back(std::move(copy.Path));
        }
    } catch (const EStreamError&) {
        // What the file holds cannot be told: no copy is known to be its.
    }
    return superseded;
}

std::string WholeCopyName(const std::string& file, const std::string& tag)
{
    return file + std::string(CopyMarker) + tag;
}

std::string CopyTag(const std::string& copy)
{
    return copy.size() < TagLength ? copy : copy.substr(copy.size() - TagLength);
}

std::string CopiedFileName(const std::string& copy)
{
    const size_t at = copy.rfind(CopyMarker);
    return at == std::string::npos ? std::string() : copy.substr(0, at);
}

void RemoveWholeCopy(const std::string& copy)
{
    if (::unlink(copy.c_str()) == 0 || errno == ENOENT)
        RemoveEntryOf(copy);
}

std::string SetAsideName(const std::string& copy)
{
    std::string aside = copy;
    const size_t at = aside.rfind(CopyMarker);
    if (at != std::string::npos)
        aside.replace(at, CopyMarker.size(), SetAsideMarker);
    return aside;
}

void SetAsideWholeCopy(const std::string& copy)
{
    const std::string aside = SetAsideName(copy);
    if (aside == copy)
        throw EWriteError(SystemFailure(CannotMove, {copy}, EINVAL));
    if (!RenameNoReplace(copy, aside)) {
        const int error = errno;
        throw EWriteError(SystemFailure(CannotMoveTo, {copy, aside}, error));
    }
    SyncFolder(fs::path(aside).parent_path().string());
    RemoveEntryOf(copy);
}

} // namespace vx
