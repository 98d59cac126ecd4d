// The nearest-neighbour kernel's row family and the tables its rows read.
//
// A row copies, for each written column k, the N bytes of the source pixel
// at byte offset offset[k] of the source row (offsets never decrease). The
// vector rows read the same bytes as the scalar one or, for wider loads,
// only where the table says the load stays within the row's used span.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace tulipp::resize_center {

// One pixel of four bytes (or the first four bytes of a three-byte pixel,
// which the gathers then drop), loaded without an alignment assumption.
inline std::int32_t Load32(const Ipp8u* p)
{
    std::int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Outputs per block of the single-channel shuffle gather: one register.
constexpr int kNearestBlock = 16;

// How a block of kNearestBlock single-channel outputs is gathered: its
// samples lie within 16 or 32 bytes of its first one, and that many bytes
// from the first one are inside the span; or byte by byte.
enum NearestBlockKind : Ipp8u { kNearestBytewise = 0, kNearestOneLoad = 1, kNearestTwoLoads = 2 };

struct NearestTable {
    const std::int32_t* offset;  // per output, byte offset of its pixel from the span's start
    const Ipp8u* kind;           // per block, a NearestBlockKind (single channel; null when not built)
    const Ipp8u* shuffle;        // per block, two 16-byte pshufb masks (low and high load)
    int wide;                    // leading outputs whose 4-byte load stays within the span
};

using NearestRow = void (*)(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n);

template <int N>
void NearestScalar(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n)
{
    for (int k = 0; k < n; ++k) {
        const Ipp8u* s = src + t.offset[k];
        for (int c = 0; c < N; ++c)
            out[k * N + c] = s[c];
    }
}

void NearestGraySsse3(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n);
void NearestRgbSsse3(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n);
void NearestRgbaSse2(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n);

// pshufb does the single-channel gathers and packs three-channel pixels;
// four-channel pixels are whole 32-bit lanes already.
inline constexpr RowSet<NearestRow> kNearestGrayRows{NearestScalar<1>, nullptr, NearestGraySsse3};
inline constexpr RowSet<NearestRow> kNearestRgbRows{NearestScalar<3>, nullptr, NearestRgbSsse3};
inline constexpr RowSet<NearestRow> kNearestRgbaRows{NearestScalar<4>, NearestRgbaSse2};

inline constexpr RowSet<NearestRow> NearestRowsOf(int channels)
{
    return channels == 1 ? kNearestGrayRows : channels == 3 ? kNearestRgbRows : kNearestRgbaRows;
}

// A table's storage: offsets of `channels`-byte pixels within a span of
// spanBytes bytes, and for single-channel rows the block kinds and masks.
struct NearestTaps {
    std::vector<std::int32_t> offset;
    std::vector<Ipp8u> kind;
    std::vector<Ipp8u> shuffle;
    int wide = 0;

    NearestTable Table() const
    {
        return {offset.data(), kind.empty() ? nullptr : kind.data(), shuffle.empty() ? nullptr : shuffle.data(),
                wide};
    }
};

// Fills the block kinds, masks and wide count for the offsets already in
// `taps`.
void BuildNearestTable(NearestTaps& taps, int channels, int spanBytes);

}  // namespace tulipp::resize_center
