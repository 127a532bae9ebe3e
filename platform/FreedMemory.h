// Giving the pages of freed heap memory back to the system.
#pragma once

namespace vx {

// After a large temporary block is freed below live data (a file read whole
// before it was split into lines), its pages stay resident until handed back.
void ReturnFreedPages();

} // namespace vx
