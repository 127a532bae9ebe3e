#include "platform/LeftBehind.h"

#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/FileDescriptor.h"
#include "platform/FileIO.h"
#include "platform/WholeCopies.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace vx {

namespace {

constexpr std::string_view KeptAsideMarker = ".vxold-";

const TWording CannotMove{"Cannot move %1: %2"};
const TWording CannotMoveTo{"Cannot move %1 to %2: %3"};

// The text of the file a helper is measured against: its digest is taken
// once, and only where a helper is as long as the file.
class TFileText {
public:
    explicit TFileText(const std::string& target) : target_(target) {}

    // Whether a helper open as fd, of size bytes, holds nothing the file
    // does not: nothing, or the text the file holds. One that cannot be
    // read stays.
    bool HoldsAllOf(int fd, std::uint64_t size)
    {
        if (size == 0)
            return true;
        if (!digest_) {
            const TFileDescriptor file(::open(target_.c_str(), O_RDONLY | O_CLOEXEC));
            digest_ = file.IsOpen() ? TextHeldBy(file.Get()) : std::nullopt;
        }
        return *digest_ && (*digest_)->Length == size && TextHeldBy(fd) == **digest_;
    }

private:
    std::string target_;
    std::optional<std::optional<TTextDigest>> digest_;
};

// The temporaries that in-place saves through other names of the file left
// where they were killed, before they named them as their copies: the index
// files the copies under the file's identity.
void AddTemporariesFiledUnder(const std::string& target, std::span<const TFiledCopy> entries,
                              std::vector<std::string>& found)
{
    TFileIdentity identity;
    if (entries.empty() || !IdentityOf(target, identity))
        return;
    for (const TFiledCopy& filed : entries) {
        if (!SameFile(filed.FiledUnder, identity))
            continue;
        if (std::string temporary = TemporaryOfCopy(filed.Copy); FileExists(temporary))
            found.push_back(std::move(temporary));
    }
}

} // namespace

TLeftBehind TidyLeftBehind(const std::string& path, std::span<const TFiledCopy> filed)
{
    const std::string target = LinkTarget(path);
    const std::string stem = NameOf(HelperStem(target));
    const auto helperName = [&](std::string_view name, std::uint64_t) {
        // Both markers are as long: the length rules out most names at once.
        static_assert(WriteTemporaryMarker.size() == KeptAsideMarker.size());
        return name.size() == stem.size() + KeptAsideMarker.size() + HelperTagLength && name.starts_with(stem) &&
               (HelperMarkerAt(name, WriteTemporaryMarker) == stem.size() ||
                HelperMarkerAt(name, KeptAsideMarker) == stem.size());
    };
    std::vector<std::string> found = EntriesWhere(FolderOf(target), helperName);
    AddTemporariesFiledUnder(target, filed, found);

    TLeftBehind left;
    TFileText fileText(target);
    std::vector<std::pair<dev_t, ino_t>> seen;
    for (std::string& helper : found) {
        if (!IsOwnFile(helper))
            continue;
        const TFileDescriptor fd(::open(helper.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        // Held while it is looked at, so that no write takes it meanwhile.
        if (!fd.IsOpen() || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 || !NamesFile(helper, fd.Get()) ||
            ::fstat(fd.Get(), &st) != 0)
            continue;
        const std::pair<dev_t, ino_t> file{st.st_dev, st.st_ino};
        if (std::find(seen.begin(), seen.end(), file) != seen.end())
            continue;
        seen.push_back(file);
        if (fileText.HoldsAllOf(fd.Get(), static_cast<std::uint64_t>(st.st_size)))
            ::unlink(helper.c_str());
        else
            (IsWriteTemporary(NameOf(helper)) ? left.Temporaries : left.KeptAside).push_back(std::move(helper));
    }
    return left;
}

std::string KeptAsideName(const std::string& helper)
{
    std::string aside = helper;
    for (const std::string_view marker : {WholeCopyMarker, WriteTemporaryMarker}) {
        if (const size_t at = HelperMarkerAt(aside, marker); at != std::string::npos)
            return aside.replace(at, marker.size(), KeptAsideMarker);
    }
    return aside;
}

void KeepAside(const std::string& helper)
{
    const std::string aside = KeptAsideName(helper);
    if (aside == helper)
        throw EWriteError(SystemFailure(CannotMove, {helper}, EINVAL));
    if (!RenameNoReplace(helper, aside)) {
        const int error = errno;
        throw EWriteError(SystemFailure(CannotMoveTo, {helper, aside}, error));
    }
    SyncFolder(FolderOf(aside));
}

} // namespace vx
