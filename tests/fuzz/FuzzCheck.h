#pragma once

#include <cstdio>
#include <cstdlib>

namespace velmora::fuzz {

// A broken rule is a finding: say which one, then abort so that libFuzzer
// keeps the input that broke it.
inline void Require(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", rule);
    std::abort();
}

}  // namespace velmora::fuzz
