// The harnesses' invariant check: a failed one aborts, so libFuzzer keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define CHECK(cond)                                                                             \
    do {                                                                                        \
        if (!(cond)) {                                                                          \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)
