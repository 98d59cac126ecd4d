// The one way a row family chooses its instruction-set path.
//
// Every row family (one kernel operation on one row) has a scalar reference
// row and any number of vector rows. The family lists them once in a
// RowSet; production, tests and benchmarks all ask the set for the row of a
// level with For(level), so none of them keeps a mapping of its own. A null
// entry means the family has no row of that level and takes the best one
// below it. Vector rows are compiled for their own target with the
// attributes below, so the library as a whole stays baseline x86-64.
#pragma once

#include "platform/ipp/simd_level.h"

#define TUL_TARGET_SSE2 __attribute__((target("sse2")))
#define TUL_TARGET_SSSE3 __attribute__((target("ssse3")))
#define TUL_TARGET_AVX2 __attribute__((target("avx2")))
#define TUL_TARGET_AVX512 __attribute__((target("avx512f,avx512bw")))

namespace tulipp {

template <typename Fn>
struct RowSet {
    Fn scalar = nullptr;
    Fn sse2 = nullptr;
    Fn ssse3 = nullptr;
    Fn avx2 = nullptr;
    Fn avx512 = nullptr;

    // The best row at or below `level`.
    constexpr Fn For(SimdLevel level) const
    {
        if (level >= SimdLevel::AVX512 && avx512 != nullptr)
            return avx512;
        if (level >= SimdLevel::AVX2 && avx2 != nullptr)
            return avx2;
        if (level >= SimdLevel::SSSE3 && ssse3 != nullptr)
            return ssse3;
        if (level >= SimdLevel::SSE2 && sse2 != nullptr)
            return sse2;
        return scalar;
    }

    // Whether `level` has a row of its own or below it, rather than the
    // scalar reference.
    constexpr bool Vectorised(SimdLevel level) const { return For(level) != scalar; }

    // The row of the level the primitives use now.
    Fn Active() const { return For(ActiveSimdLevel()); }
};

}  // namespace tulipp
