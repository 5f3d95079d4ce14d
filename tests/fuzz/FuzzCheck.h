#pragma once

// What every fuzz target uses: a broken expectation aborts, so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fuzzFault(const char* what) {
    std::fprintf(stderr, "fuzz fault: %s\n", what);
    std::abort();
}

inline void fuzzCheck(bool condition, const char* what) {
    if (!condition)
        fuzzFault(what);
}
