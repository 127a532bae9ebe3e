// A folder seen through bindfs, a FUSE file system, while the object lives:
// it locks each name of a hard-linked file apart, as some FUSE file systems
// do. Mounting needs bindfs, /dev/fuse and, here, root; Mounted() says
// whether it is there.
#pragma once

#include <string>

namespace vx::test {

class TBindMount {
public:
    // Makes both folders and mounts real at seen.
    TBindMount(const std::string& real, const std::string& seen);
    ~TBindMount();
    TBindMount(const TBindMount&) = delete;
    TBindMount& operator=(const TBindMount&) = delete;

    bool Mounted() const { return mounted_; }

private:
    std::string seen_;
    bool mounted_ = false;
};

} // namespace vx::test
