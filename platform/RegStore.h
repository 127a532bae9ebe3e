// The shared settings tree of one registry root, loaded lazily from its
// REGEDIT4 file under the config folder and written back atomically. Every
// registry object in the process works on the same tree; a mutex guards it.
#pragma once

#include "platform/RegTree.h"
#include "platform/Wording.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace vx::reg {

// Settings files larger than this are not read: a settings tree is small, and
// a file this large is damaged or not ours.
inline constexpr std::uintmax_t MaxSettingsFileSize = 16u << 20;

// Tells the user about a damaged settings file, in a message the window words
// in the chosen language. It runs with a store locked and must not use the
// registry itself (a window posts the message to show it later). Each file set
// aside is reported once; reports made while no reporter is set wait for the
// next one set.
using TDamageReporter = std::function<void(const TMessage& message)>;
void SetDamageReporter(TDamageReporter reporter);

class Store {
public:
    // The store of the root of that name ("HKEY_CURRENT_USER"); its file is
    // "<config folder>/HKEY_CURRENT_USER.reg".
    static Store& For(std::string_view rootName);
    // Forgets every loaded tree, so that the next access reads the files anew
    // as a new process would. Unwritten changes are dropped.
    static void ResetAll();

    // The locked tree. Holding it keeps other threads out.
    class Access {
    public:
        Key& Root() { return *store_->root_; }
        // Records that the tree differs from the file.
        void Changed() { store_->dirty_ = true; }

    private:
        friend class Store;
        Access(Store& store, std::unique_lock<std::mutex> lock) : store_(&store), lock_(std::move(lock)) {}
        Store* store_;
        std::unique_lock<std::mutex> lock_;
    };

    // Locks the store, loading the file on first use. A file that cannot be
    // parsed, or is larger than MaxSettingsFileSize, is renamed to
    // "<file>.corrupt-<timestamp>" and reported through the damage reporter
    // with a message naming the file (and the line); the store then starts as
    // an empty tree. A file that cannot be read or set aside raises an
    // ERegistryException on every call, so that it is never overwritten by an
    // empty tree.
    Access Open();

    // Writes the tree to its file, readable by the owner alone, when it changed
    // since it was last written.
    // Raises ERegistryException when the file cannot be written; the change
    // stays pending and the old file stays as it was.
    void Flush();

    explicit Store(std::string rootName) : rootName_(std::move(rootName)) {}

private:
    void load();
    void reset();

    std::mutex mutex_;
    std::string rootName_;
    std::string path_;
    std::unique_ptr<Key> root_;
    // Why the file can be neither read nor set aside.
    std::optional<TMessage> failure_;
    bool dirty_ = false;
};

} // namespace vx::reg
