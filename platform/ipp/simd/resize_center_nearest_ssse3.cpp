// SSSE3 rows of the nearest-neighbour kernel. Single-channel: a block of 16
// outputs whose samples lie within 16 (or 32) bytes takes them with one
// (or two) loads and a pshufb each, masks built with the plan; other
// blocks go byte by byte. Three-channel: four pixels as 32-bit loads,
// packed to 12 bytes by one pshufb.
#include "platform/ipp/resize_center_nearest.h"

#include <tmmintrin.h>

namespace tulipp::resize_center {
static_assert(kNearestBlock == 16, "a block is one register of bytes");

TUL_TARGET_SSSE3 void NearestGraySsse3(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n)
{
    int k = 0;
    for (; k + kNearestBlock <= n; k += kNearestBlock) {
        const int b = k / kNearestBlock;
        const Ipp8u* s = src + t.offset[k];
        const __m128i* mask = reinterpret_cast<const __m128i*>(t.shuffle + static_cast<std::ptrdiff_t>(b) * 32);
        __m128i v;
        switch (t.kind[b]) {
        case kNearestOneLoad:
            v = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), _mm_loadu_si128(mask));
            break;
        case kNearestTwoLoads:
            v = _mm_or_si128(
                _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), _mm_loadu_si128(mask)),
                _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16)), _mm_loadu_si128(mask + 1)));
            break;
        default:
            NearestScalar<1>(src, NearestTable{t.offset + k, nullptr, nullptr, 0}, out + k, kNearestBlock);
            continue;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), v);
    }
    NearestScalar<1>(src, NearestTable{t.offset + k, nullptr, nullptr, 0}, out + k, n - k);
}

TUL_TARGET_SSSE3 void NearestRgbSsse3(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n)
{
    // Bytes 0-2 of each 32-bit lane, in order; the last four bytes zero.
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const std::int32_t* off = t.offset;
    int k = 0;
    // Each step stores 16 bytes for 12: the four after them belong to the
    // next two pixels, written later, so two must follow; and the four
    // 32-bit loads must stay within the span.
    for (; k + 6 <= n && k + 4 <= t.wide; k += 4) {
        const __m128i v = _mm_setr_epi32(Load32(src + off[k]), Load32(src + off[k + 1]), Load32(src + off[k + 2]),
                                         Load32(src + off[k + 3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * k), _mm_shuffle_epi8(v, pack));
    }
    NearestScalar<3>(src, NearestTable{off + k, nullptr, nullptr, 0}, out + 3 * k, n - k);
}

}  // namespace tulipp::resize_center
