#include "platform/RegStore.h"

#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/RegFile.h"
#include "platform/TStringList.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <list>
#include <sys/stat.h>
#include <vector>

namespace vx::reg {

namespace {

const TWording CannotRead{"Cannot read the registry file %1: %2"};
const TWording CannotWrite{"Cannot write the registry file %1: %2"};
const TWording TooLarge{"larger than %1 MB"};
const TWording CorruptKept{"The registry file %1 is corrupt (%2) and cannot be renamed: %3"};
const TWording CorruptSetAside{"The registry file %1 is corrupt (%2); it was renamed to %3 and its settings start empty"};

std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

std::list<Store>& stores()
{
    static std::list<Store> list;
    return list;
}

bool pathExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string asideName(const std::string& path)
{
    std::time_t now = std::time(nullptr);
    std::tm tm {};
    ::localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    std::string base = path + ".corrupt-" + stamp;
    std::string name = base;
    for (int n = 1; pathExists(name); ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

struct DamageReports {
    std::mutex mutex;
    TDamageReporter reporter;
    std::vector<TMessage> waiting;
};

DamageReports& damageReports()
{
    static DamageReports reports;
    return reports;
}

void reportDamage(const TMessage& message)
{
    DamageReports& reports = damageReports();
    std::lock_guard lock(reports.mutex);
    if (reports.reporter)
        reports.reporter(message);
    else
        reports.waiting.push_back(message);
}

} // namespace

void SetDamageReporter(TDamageReporter reporter)
{
    DamageReports& reports = damageReports();
    std::lock_guard lock(reports.mutex);
    reports.reporter = std::move(reporter);
    if (!reports.reporter)
        return;
    for (const TMessage& message : reports.waiting)
        reports.reporter(message);
    reports.waiting.clear();
}

Store& Store::For(std::string_view rootName)
{
    std::lock_guard guard(registryMutex());
    for (Store& store : stores())
        if (SameText(store.rootName_, rootName))
            return store;
    return stores().emplace_back(std::string(rootName));
}

void Store::ResetAll()
{
    {
        std::lock_guard lock(damageReports().mutex);
        damageReports().waiting.clear();
    }
    std::lock_guard guard(registryMutex());
    for (Store& store : stores()) {
        std::lock_guard lock(store.mutex_);
        store.reset();
    }
}

void Store::reset()
{
    root_.reset();
    failure_.reset();
    path_.clear();
    dirty_ = false;
}

Store::Access Store::Open()
{
    std::unique_lock lock(mutex_);
    if (!root_)
        load();
    return Access(*this, std::move(lock));
}

void Store::load()
{
    if (failure_)
        throw ERegistryException(*failure_);
    path_ = JoinPath(ConfigFolder(), rootName_ + ".reg");
    if (!pathExists(path_)) {
        root_ = std::make_unique<Key>(rootName_);
        return;
    }
    TMessage damage;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path_, ec);
    if (!ec && size > MaxSettingsFileSize) {
        damage = TMessage(TooLarge, {std::to_string(MaxSettingsFileSize >> 20)});
    } else {
        std::string text;
        try {
            text = ReadWholeFile(path_);
        } catch (const Exception& e) {
            throw ERegistryException(TMessage(CannotRead, {path_, e.Said()}));
        }
        try {
            root_ = ParseRegFile(text, rootName_);
            return;
        } catch (const ERegFileError& e) {
            damage = e.Said();
        }
    }
    std::string aside = asideName(path_);
    if (std::rename(path_.c_str(), aside.c_str()) != 0) {
        failure_ = TMessage(CorruptKept, {path_, damage, std::string(std::strerror(errno))});
        throw ERegistryException(*failure_);
    }
    root_ = std::make_unique<Key>(rootName_);
    reportDamage(TMessage(CorruptSetAside, {path_, std::move(damage), aside}));
}

void Store::Flush()
{
    std::lock_guard lock(mutex_);
    if (!root_ || !dirty_)
        return;
    try {
        // Settings may hold passwords: a new settings folder is the user's alone.
        std::filesystem::path folder = std::filesystem::path(path_).parent_path();
        std::error_code ec;
        if (std::filesystem::create_directories(folder, ec))
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
        WriteFileAtomic(path_, FormatRegFile(*root_, rootName_), TFileAccess::OwnerOnly);
    } catch (const Exception& e) {
        throw ERegistryException(TMessage(CannotWrite, {path_, e.Said()}));
    }
    dirty_ = false;
}

} // namespace vx::reg
