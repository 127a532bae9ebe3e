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
    std::vector<std::string> waiting;
};

DamageReports& damageReports()
{
    static DamageReports reports;
    return reports;
}

void reportDamage(const std::string& message)
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
    for (const std::string& message : reports.waiting)
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
    failure_.clear();
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
    if (!failure_.empty())
        throw ERegistryException(failure_);
    path_ = JoinPath(ConfigFolder(), rootName_ + ".reg");
    if (!pathExists(path_)) {
        root_ = std::make_unique<Key>(rootName_);
        return;
    }
    std::string damage;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path_, ec);
    if (!ec && size > MaxSettingsFileSize) {
        damage = "larger than " + std::to_string(MaxSettingsFileSize >> 20) + " MB";
    } else {
        std::string text;
        try {
            text = ReadWholeFile(path_);
        } catch (const Exception& e) {
            throw ERegistryException("Cannot read the registry file " + path_ + ": " + e.Message());
        }
        try {
            root_ = ParseRegFile(text, rootName_);
            return;
        } catch (const ERegFileError& e) {
            damage = e.Message();
        }
    }
    std::string aside = asideName(path_);
    if (std::rename(path_.c_str(), aside.c_str()) != 0) {
        failure_ = "The registry file " + path_ + " is corrupt (" + damage + ") and cannot be renamed: "
            + std::strerror(errno);
        throw ERegistryException(failure_);
    }
    root_ = std::make_unique<Key>(rootName_);
    reportDamage("The registry file " + path_ + " is corrupt (" + damage + "); it was renamed to " + aside
                 + " and its settings start empty");
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
        throw ERegistryException("Cannot write the registry file " + path_ + ": " + e.Message());
    }
    dirty_ = false;
}

} // namespace vx::reg
