#pragma once
// The benchmarks' trees are made from this fixed sequence, so that every
// run measures the same names and sizes.

namespace bench {

inline unsigned long long next() {
    static unsigned long long state = 88172645463325252ULL;
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

}  // namespace bench
