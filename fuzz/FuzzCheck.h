// What a fuzz target does when a reader breaks one of its own promises: names the
// promise and aborts, which libFuzzer reports as a crash with the input saved.
// An exception the reader does not document is left to escape for the same effect.
#pragma once

#include <cstdio>
#include <cstdlib>

#define VX_FUZZ_CHECK(condition)                                                          \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)
