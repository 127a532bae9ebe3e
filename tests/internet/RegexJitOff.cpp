// The suite runs under valgrind in CI. Qt compiles the patterns of file name
// filters (the publishing window lists local files by mask) to machine code
// that valgrind cannot follow and reports as reads of uninitialised memory;
// Qt's interpreter does the same matching without them. Set before main, so
// before any pattern is compiled.
#include <cstdlib>

namespace {
const bool regexJitOff = [] {
    setenv("QT_ENABLE_REGEXP_JIT", "0", 1);
    return true;
}();
}
