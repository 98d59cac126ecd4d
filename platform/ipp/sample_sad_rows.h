// Rows of a sampled sum of absolute differences: |a[k] - b[k]| summed over
// the bytes k = 0, Apart, 2 Apart, ... below `bytes`. The frame-difference
// measure samples 4:2:0 luma every 8th byte and YUY2 every 16th (every
// 8th pixel's luma). Every path gives the scalar row's sum and reads only
// the `bytes` bytes of each row.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

#include <cstdint>

namespace tulipp {

using SampleSadRowFn = std::uint64_t (*)(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes);

template <int Apart>
std::uint64_t SampleSadRowScalar(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes);
template <int Apart>
std::uint64_t SampleSadRowSse2(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes);
template <int Apart>
std::uint64_t SampleSadRowAvx2(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes);

// The vector rows mask every byte but the samples and let psadbw add each
// 8-byte group's one difference, so they serve the two grids whose
// samples start 8-byte groups.
template <int Apart>
inline constexpr RowSet<SampleSadRowFn> kSampleSadRows{SampleSadRowScalar<Apart>, SampleSadRowSse2<Apart>, nullptr,
                                                       SampleSadRowAvx2<Apart>};

}  // namespace tulipp
