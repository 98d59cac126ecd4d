// SSSE3 rows of the RGB repacking and integer rescaling, four pixels a
// step: 24-bit pixels are spread to 32 bits with pshufb, the colour bytes
// mapped in 16-bit lanes, the fourth byte set, and 24-bit results packed
// back with pshufb. A 24-bit side moves 16 bytes for its 12, so the loop
// stops while two more pixels lie inside the row; the bytes a store
// writes past its four pixels are rewritten by the next step or the tail.
#include "platform/ipp/rgb_repack_rows.h"

#include <tmmintrin.h>

namespace tulipp {
namespace {

template <RgbMap Map>
TUL_TARGET_SSSE3 inline __m128i MapBytes(__m128i p)
{
    if constexpr (Map == RgbMap::Keep) {
        return p;
    } else {
        const __m128i zero = _mm_setzero_si128();
        __m128i lo = _mm_unpacklo_epi8(p, zero), hi = _mm_unpackhi_epi8(p, zero);
        if constexpr (Map == RgbMap::ToShifted) {
            const __m128i k220 = _mm_set1_epi16(220);
            lo = _mm_srli_epi16(_mm_mullo_epi16(lo, k220), 8);
            hi = _mm_srli_epi16(_mm_mullo_epi16(hi, k220), 8);
        } else {
            const __m128i k9 = _mm_set1_epi16(9), k1192 = _mm_set1_epi16(1192);
            lo = _mm_add_epi16(lo, _mm_mulhi_epu16(_mm_mullo_epi16(lo, k9), k1192));
            hi = _mm_add_epi16(hi, _mm_mulhi_epu16(_mm_mullo_epi16(hi, k9), k1192));
        }
        return _mm_packus_epi16(lo, hi);  // saturates c + 9c/55 above 255
    }
}

}  // namespace

template <int SrcBytes, int DstBytes, RgbMap Map, bool CopyFourth>
TUL_TARGET_SSSE3 void RgbRowSsse3(const Ipp8u* src, Ipp8u* dst, int width)
{
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    constexpr int kReach = SrcBytes == 3 || DstBytes == 3 ? 6 : 4;
    int x = 0;
    for (; x + kReach <= width; x += 4) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + SrcBytes * x));
        if constexpr (SrcBytes == 3)
            p = _mm_shuffle_epi8(p, spread);
        __m128i q = _mm_and_si128(MapBytes<Map>(p), colour);
        if constexpr (CopyFourth)
            q = _mm_or_si128(q, _mm_andnot_si128(colour, p));
        if constexpr (DstBytes == 3)
            q = _mm_shuffle_epi8(q, pack);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + DstBytes * x), q);
    }
    RgbRowScalar<SrcBytes, DstBytes, Map, CopyFourth>(src + SrcBytes * x, dst + DstBytes * x, width - x);
}

template void RgbRowSsse3<4, 3, RgbMap::Keep, false>(const Ipp8u*, Ipp8u*, int);
template void RgbRowSsse3<3, 4, RgbMap::Keep, false>(const Ipp8u*, Ipp8u*, int);
template void RgbRowSsse3<3, 4, RgbMap::ToShifted, false>(const Ipp8u*, Ipp8u*, int);
template void RgbRowSsse3<4, 3, RgbMap::ToShifted, false>(const Ipp8u*, Ipp8u*, int);
template void RgbRowSsse3<4, 4, RgbMap::ToShifted, true>(const Ipp8u*, Ipp8u*, int);
template void RgbRowSsse3<3, 4, RgbMap::ToPlain, false>(const Ipp8u*, Ipp8u*, int);
template void RgbRowSsse3<4, 4, RgbMap::ToPlain, true>(const Ipp8u*, Ipp8u*, int);

}  // namespace tulipp
