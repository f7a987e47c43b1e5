#pragma once

// A broken property ends the run, so that libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

namespace torvanu::fuzz {

[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void require(bool condition, const char* what)
{
    if (!condition)
        fail(what);
}

} // namespace torvanu::fuzz
