// SSE2 row of the nearest-neighbour kernel for four-channel pixels: four
// 32-bit pixel loads gathered into one register and stored at once.
#include "platform/ipp/resize_center_nearest.h"

#include <emmintrin.h>

namespace tulipp::resize_center {

TUL_TARGET_SSE2 void NearestRgbaSse2(const Ipp8u* src, const NearestTable& t, Ipp8u* out, int n)
{
    const std::int32_t* off = t.offset;
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        const __m128i v = _mm_setr_epi32(Load32(src + off[k]), Load32(src + off[k + 1]), Load32(src + off[k + 2]),
                                         Load32(src + off[k + 3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * k), v);
    }
    NearestScalar<4>(src, NearestTable{off + k, nullptr, nullptr, 0}, out + 4 * k, n - k);
}

}  // namespace tulipp::resize_center
