// A test's own settings folder: $VELLUMIX_CONFIG points at a fresh temporary
// folder and the registry trees are dropped, so each test starts from nothing.
#pragma once

#include "platform/Registry.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <string>

namespace vx::test {

class RegistrySandbox {
public:
    RegistrySandbox()
    {
        const char* old = std::getenv("VELLUMIX_CONFIG");
        oldConfig_ = old ? old : "";
        setenv("VELLUMIX_CONFIG", dir_.path().c_str(), 1);
        TRegistry::ResetStoreForTests();
    }
    ~RegistrySandbox()
    {
        TRegistry::ResetStoreForTests();
        setenv("VELLUMIX_CONFIG", oldConfig_.c_str(), 1);
    }
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    const TempDir& Dir() const { return dir_; }
    std::string File(const std::string& root = "HKEY_CURRENT_USER") const { return dir_.file(root + ".reg"); }

private:
    TempDir dir_{"vellumix-reg"};
    std::string oldConfig_;
};

} // namespace vx::test
