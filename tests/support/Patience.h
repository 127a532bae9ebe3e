// How long a test waits for what should happen (a worker's report, a timer's
// tick, a window coming up, a peer's answer): only a fault runs it out,
// however busy the machine, and a test that passes never waits it through.
#pragma once

namespace vx::test {

inline constexpr int kPatienceMs = 30000;

} // namespace vx::test
