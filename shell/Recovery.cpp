// Recovery copies and the folders of the runs that keep them.
#include "shell/Recovery.h"

#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Utf8.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <system_error>
#include <utility>

namespace vx::shell {

namespace {

constexpr std::string_view Signature = "VELLUMIX RECOVERY 2\n";
// Records of this version hold the bytes of the file instead of the text.
constexpr std::string_view FileBytesSignature = "VELLUMIX RECOVERY 1\n";
constexpr const char* RunPrefix = "run-";
const TWording CannotCreateFolder{"Cannot create a folder in %1: %2"};
const TWording CannotLock{"Cannot lock folder %1: %2"};
constexpr const char* LockName = "lock";
constexpr std::string_view CopyExtension = ".vxr";
constexpr const char* DamagedName = "damaged";

// Reads the fields of a record in order; any field out of place stops it.
class TFieldReader {
public:
    explicit TFieldReader(std::string_view bytes) : rest_(bytes) {}

    bool Literal(std::string_view text)
    {
        if (!rest_.starts_with(text))
            return false;
        rest_.remove_prefix(text.size());
        return true;
    }
    // A number ended by the given character.
    template <class N> bool Number(N& value, char end)
    {
        const auto [next, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
        if (error != std::errc() || next == rest_.data() + rest_.size() || *next != end)
            return false;
        rest_.remove_prefix(static_cast<std::size_t>(next - rest_.data()) + 1);
        return true;
    }
    // A length on a line of its own, then that many bytes and a line end.
    bool Counted(std::string& value)
    {
        std::size_t length = 0;
        if (!Number(length, '\n') || length >= rest_.size() || rest_[length] != '\n')
            return false;
        value.assign(rest_.substr(0, length));
        rest_.remove_prefix(length + 1);
        return true;
    }
    // An encoding by the name CharsetName gives it, and a line end.
    bool Encoding(vx::TTextEncoding& value)
    {
        for (const vx::TTextEncoding encoding : {vx::TTextEncoding::Utf8, vx::TTextEncoding::Windows1252})
            if (Literal(std::string(vx::CharsetName(encoding)) + "\n")) {
                value = encoding;
                return true;
            }
        return false;
    }
    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// A whole record found in a run's folder.
struct TFound {
    std::string Path;
    TRecoveryRecord Record;
    // Written to its temporary, which was not renamed yet: the name the
    // rename was to give it.
    std::string Named;
    std::filesystem::file_time_type Modified;
    bool BeingWritten() const { return !Named.empty(); }
};

bool IsCopyName(const std::string& name)
{
    return std::filesystem::path(name).extension() == CopyExtension;
}

std::string PlaceName(TRecoveryPlace place)
{
    return std::string(place.Workspace ? "workspace-" : "slot-") + std::to_string(place.Number) +
           std::string(CopyExtension);
}

// A length on a line of its own, then the value and a line end.
std::string Counted(std::string_view value)
{
    return std::to_string(value.size()) + "\n" + std::string(value) + "\n";
}

// A record up to its text, the text's length last. A save writes its copy
// first: the text, which may be long, is written from where it is after
// this, not copied behind it.
std::string RecoveryHead(const TRecoveryRecord& record)
{
    return std::string(Signature) + (record.Place.Workspace ? "workspace " : "slot ") +
           std::to_string(record.Place.Number) + "\n" + Counted(record.FileName) + "stamp " +
           std::to_string(record.Stamp.Exists ? 1 : 0) + " " + std::to_string(record.Stamp.Size) + " " +
           std::to_string(record.Stamp.WriteTime) + "\nencoding " + std::string(vx::CharsetName(record.Encoding)) +
           "\nmark " + std::to_string(record.ByteOrderMark ? 1 : 0) + "\n" + std::to_string(record.Text.size()) + "\n";
}

// An open descriptor of the folder's lock file, locked; in a folder that
// cannot be written and has no lock file, the folder itself, locked, so that
// two starts do not both offer its copies; none when another run holds it.
std::optional<int> LockRun(const std::string& folder)
{
    const std::string path = folder + "/" + LockName;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A lock needs no writing: a folder the user may only read is still offered.
    if (fd < 0 && (errno == EACCES || errno == EROFS))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return fd;
}

void Unlock(int lock)
{
    if (lock >= 0)
        ::close(lock);
}

void RemoveFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

bool PlaceBefore(const TRecoveryPlace& a, const TRecoveryPlace& b)
{
    return a.Workspace != b.Workspace ? !a.Workspace : a.Number < b.Number;
}

// Moves a file of the run's folder that is no whole copy into the damaged
// folder, named after its run and itself, next to nothing it could replace;
// answers where it is now: where it was when it could not be moved.
std::string KeepAside(const std::string& root, const std::string& run, const std::string& path)
{
    const std::string folder = DamagedFolder(root);
    ::mkdir(folder.c_str(), 0700);
    const std::string name = JoinPath(folder, std::filesystem::path(run).filename().string() + "-" +
                                                  std::filesystem::path(path).filename().string());
    for (int n = 0; n < 100; ++n) {
        const std::string to = n == 0 ? name : name + "." + std::to_string(n);
        if (RenameNoReplace(path, to))
            return to;
        if (errno != EEXIST)
            break;
    }
    return path;
}

} // namespace

std::string RecoveryBytes(const TRecoveryRecord& record)
{
    return RecoveryHead(record) + record.Text + "\n";
}

std::optional<TRecoveryRecord> ParseRecovery(std::string_view bytes)
{
    TFieldReader in(bytes);
    TRecoveryRecord record;
    int exists = 0;
    const bool fileBytes = in.Literal(FileBytesSignature);
    if (!fileBytes && !in.Literal(Signature))
        return std::nullopt;
    record.Place.Workspace = in.Literal("workspace ");
    if (!record.Place.Workspace && !in.Literal("slot "))
        return std::nullopt;
    if (!in.Number(record.Place.Number, '\n') || record.Place.Number < 1 || !in.Counted(record.FileName) ||
        !in.Literal("stamp ") || !in.Number(exists, ' ') || exists < 0 || exists > 1 ||
        !in.Number(record.Stamp.Size, ' ') || !in.Number(record.Stamp.WriteTime, '\n'))
        return std::nullopt;
    record.Stamp.Exists = exists == 1;
    if (fileBytes) {
        if (!in.Counted(record.Text) || !in.AtEnd())
            return std::nullopt;
        vx::TDecodedText decoded = vx::DecodeDocument(std::move(record.Text));
        record.Text = std::move(decoded.Text);
        record.Encoding = decoded.Encoding;
        record.ByteOrderMark = decoded.ByteOrderMark;
        return record;
    }
    int mark = 0;
    if (!in.Literal("encoding ") || !in.Encoding(record.Encoding) || !in.Literal("mark ") || !in.Number(mark, '\n') ||
        mark < 0 || mark > 1 || !in.Counted(record.Text) || !in.AtEnd() || !vx::utf8::IsValid(record.Text))
        return std::nullopt;
    record.ByteOrderMark = mark == 1;
    return record;
}

std::string RecoveryRoot()
{
    return JoinPath(DataFolder(), "recovery");
}

std::string DamagedFolder(const std::string& root)
{
    return JoinPath(root, DamagedName);
}

TRecoveryKeeper::TRecoveryKeeper(std::string root, int pause) : root_(std::move(root)), pause_(pause) {}

TRecoveryKeeper::~TRecoveryKeeper()
{
    for (auto& [key, state] : states_)
        RemoveEarlier(state);
    if (folder_.empty())
        return;
    RemoveFolder(folder_);
    ::close(lock_);
}

void TRecoveryKeeper::Look(const void* key, TRecoveryPlace place, bool unsaved, std::uint64_t changes, bool flush,
                           const TMakeRecord& make)
{
    TState& state = states_[key];
    if (!unsaved) {
        state.Seen = changes;
        state.Quiet = 0;
        if (state.HasCopy)
            Remove(place);
        state.HasCopy = false;
        RemoveEarlier(state);
        return;
    }
    if (changes != state.Seen) {
        state.Seen = changes;
        state.Quiet = 0;
    } else {
        ++state.Quiet;
    }
    if (state.HasCopy && state.Written == changes)
        return;
    // A failing disk is not tried again every look, only after the next
    // change, or by a save, which must not write the file before its text
    // is kept here.
    if (!flush && (state.Quiet < pause_ || state.Failed == changes))
        return;
    failing_ = true;
    try {
        Write(make());
    } catch (...) {
        state.Failed = changes;
        throw;
    }
    failing_ = false;
    state.Failed.reset();
    state.Written = changes;
    state.HasCopy = true;
    // This run holds the text on disk now.
    RemoveEarlier(state);
}

void TRecoveryKeeper::Drop(const void* key, TRecoveryPlace place)
{
    const auto found = states_.find(key);
    if (found == states_.end())
        return;
    RemoveEarlier(found->second);
    if (!found->second.HasCopy)
        return;
    found->second.HasCopy = false;
    Remove(place);
}

void TRecoveryKeeper::Adopt(std::unique_ptr<TLeftRecovery> left,
                            const std::vector<std::pair<const void*, std::string>>& copies)
{
    for (const auto& [key, path] : copies)
        states_[key].Earlier = path;
    if (!copies.empty())
        left_ = std::move(left);
}

void TRecoveryKeeper::RemoveEarlier(TState& state)
{
    if (state.Earlier.empty())
        return;
    left_->Remove(std::exchange(state.Earlier, {}));
    left_->Tidy();
    if (std::none_of(states_.begin(), states_.end(), [](const auto& entry) { return !entry.second.Earlier.empty(); }))
        left_.reset();
}

void TRecoveryKeeper::Write(const TRecoveryRecord& record)
{
    if (folder_.empty()) {
        std::error_code failure;
        std::filesystem::create_directories(root_, failure);
        ::chmod(root_.c_str(), 0700);
        std::string folder = JoinPath(root_, std::string(RunPrefix) + "XXXXXX");
        // Where the root could not be made, that is what stopped the copy.
        if (failure || !::mkdtemp(folder.data())) {
            const int error = failure ? failure.value() : errno;
            throw EFCreateError(TMessage(CannotCreateFolder, {root_, std::string(std::strerror(error))}));
        }
        const std::optional<int> lock = LockRun(folder);
        if (!lock) {
            const int error = errno;
            RemoveFolder(folder);
            throw EFCreateError(TMessage(CannotLock, {folder, std::string(std::strerror(error))}));
        }
        lock_ = *lock;
        folder_ = std::move(folder);
    }
    // The text may be private: readable by its owner only.
    const std::string head = RecoveryHead(record);
    const std::string_view pieces[] = {head, record.Text, "\n"};
    WriteFileAtomic(JoinPath(folder_, PlaceName(record.Place)), pieces, TFileAccess::OwnerOnly);
}

void TRecoveryKeeper::Remove(TRecoveryPlace place)
{
    if (!folder_.empty())
        std::remove(JoinPath(folder_, PlaceName(place)).c_str());
}

TLeftRecovery::TLeftRecovery(const std::string& root)
{
    std::error_code failure;
    for (std::filesystem::directory_iterator it(root, failure), end; !failure && it != end; it.increment(failure)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (!name.starts_with(RunPrefix) || !it->is_directory(kind) || it->is_symlink(kind))
            continue;
        const std::string folder = it->path().string();
        const std::optional<int> lock = LockRun(folder);
        if (!lock)
            continue;
        runs_.push_back({folder, *lock});
        Scan(root, runs_.back());
    }
    std::stable_sort(copies_.begin(), copies_.end(),
                     [](const TCopy& a, const TCopy& b) { return PlaceBefore(a.Record.Place, b.Record.Place); });
    Tidy();
}

void TLeftRecovery::Scan(const std::string& root, const TRun& run)
{
    std::vector<std::string> unread;
    std::vector<TFound> found;
    std::error_code failure;
    for (std::filesystem::directory_iterator it(run.Folder, failure), end; !failure && it != end;
         it.increment(failure)) {
        std::error_code kind;
        if (it->path().filename() == LockName || !it->is_regular_file(kind))
            continue;
        const std::string path = it->path().string();
        const std::string name = it->path().filename().string();
        const bool written = IsCopyName(name);
        // A copy killed while it was written, maybe once it was whole.
        const std::size_t marker = HelperMarkerAt(name, WriteTemporaryMarker);
        const bool beingWritten = marker != std::string::npos && IsCopyName(name.substr(0, marker));
        std::optional<TRecoveryRecord> record;
        try {
            if (written || beingWritten)
                record = ParseRecovery(ReadWholeFile(path));
        } catch (const EStreamError&) {
            // Unreadable now: kept aside as a damaged one is.
        }
        if (!record) {
            unread.push_back(path);
            continue;
        }
        // Named by the place it holds: the copy it was to replace is that place's.
        std::string named = beingWritten ? JoinPath(run.Folder, PlaceName(record->Place)) : std::string();
        found.push_back({path, std::move(*record), std::move(named), it->last_write_time(kind)});
    }
    // A copy written whole but not yet named holds a later text than the one
    // it was to replace. The rename its write was making is finished now:
    // the older text, left in a folder kept for another copy, would be
    // offered by a later start once this one is restored and saved.
    for (TFound& copy : found) {
        const auto later = [&](const TFound& other) {
            return other.Record.Place == copy.Record.Place &&
                   std::pair(other.BeingWritten(), other.Modified) > std::pair(copy.BeingWritten(), copy.Modified);
        };
        if (std::any_of(found.begin(), found.end(), later))
            continue;
        if (copy.BeingWritten() && ::rename(copy.Path.c_str(), copy.Named.c_str()) == 0)
            copy.Path = copy.Named;
        copies_.push_back({std::move(copy.Path), std::move(copy.Record)});
    }
    // Moved once the folder is read: moving while reading it may skip a file.
    for (const std::string& path : unread)
        setAside_.push_back(KeepAside(root, run.Folder, path));
}

TLeftRecovery::~TLeftRecovery()
{
    for (const TRun& run : runs_)
        Unlock(run.Lock);
}

void TLeftRecovery::Remove(std::string path)
{
    std::remove(path.c_str());
    std::erase_if(copies_, [&](const TCopy& c) { return c.Path == path; });
}

void TLeftRecovery::Tidy()
{
    for (auto run = runs_.begin(); run != runs_.end();) {
        const std::string prefix = run->Folder + "/";
        const auto inRun = [&](const std::string& path) { return path.starts_with(prefix); };
        const bool holds =
            std::any_of(copies_.begin(), copies_.end(), [&](const TCopy& copy) { return inRun(copy.Path); }) ||
            std::any_of(setAside_.begin(), setAside_.end(), inRun);
        if (holds) {
            ++run;
            continue;
        }
        RemoveFolder(run->Folder);
        Unlock(run->Lock);
        run = runs_.erase(run);
    }
}

} // namespace vx::shell
