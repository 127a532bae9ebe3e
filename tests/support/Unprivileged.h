// Runs a piece of a test as an ordinary user: permission checks do not apply
// to root, and CI runs as root. The body runs in a forked child that drops to
// the "nobody" user when the test runs as root; its result is the child's exit
// status (0 for success), or -1 when the child did not exit normally.
#pragma once

#include <functional>
#include <string>

namespace vx::test {

int RunUnprivileged(const std::function<int()>& body);

// Hands a folder and what it holds to the user the body runs as (nothing to
// do when the test does not run as root).
void GiveToUnprivileged(const std::string& path);

} // namespace vx::test
