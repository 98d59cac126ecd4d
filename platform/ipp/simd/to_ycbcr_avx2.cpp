// AVX2 rows of RGB24/RGB32 to BT.601 Y'CbCr, sixteen pixels per step. The
// low 128-bit lane carries pixels 0-7 and the high lane pixels 8-15 from
// the loads on, so every step works within lanes (as AVX2's pack and
// shuffle instructions do) and only the planar stores reorder across them.
//
// Each numerator is an exact integer: pshufb spreads every pixel into a
// dword of B and G words and a dword of its R word, and two pmaddwd by the
// x1000 coefficients add up to the pixel's sum (its 2x2 block's or pair's
// after the rows and the neighbouring columns are added). The rounding
// division floor((N + offset + d/2) / d) is then exact in integers: d is
// 125 x 2^k (1000, 2000, 4000), so a shift by k comes first, leaving a
// non-negative value below 2^15 (kMaxQuotientInput), and floor(x / 125)
// of that is (x x 33555) >> 22, a pmulhuw and a shift (checked for every
// such x below).
#include "platform/ipp/to_ycbcr_rows.h"

#include <immintrin.h>

namespace tulipp {
namespace {

using namespace tulipp::color;

// The largest shifted numerator: luma (219045 + 16500) >> 3; 4:2:0 chroma
// (447780 + 514000) >> 5; 4:2:2 chroma (223890 + 257000) >> 4.
constexpr int kMaxQuotientInput = 30055;
constexpr bool DividesBy125(int limit)
{
    for (int x = 0; x <= limit; ++x)
        if (((x * 33555) >> 22) != x / 125)
            return false;
    return true;
}
static_assert(DividesBy125(kMaxQuotientInput) && kMaxQuotientInput < 32768);
static_assert(((219045 + 16500) >> 3) <= kMaxQuotientInput && ((447780 + 514000) >> 5) <= kMaxQuotientInput &&
              ((223890 + 257000) >> 4) <= kMaxQuotientInput);

TUL_TARGET_AVX2 inline __m256i Lanes(const Ipp8u* low, const Ipp8u* high)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

// Four pixels per lane: B, G words per dword, and R words (high word 0).
struct Pixels {
    __m256i bg, r;
};

// Masks that spread four pixels of `bytes` bytes starting at lane byte
// `first`.
template <int Bytes, int First>
struct Spread {
    static constexpr char At(int k, int c) { return static_cast<char>(First + Bytes * k + c); }
    TUL_TARGET_AVX2 static Pixels Of(__m256i raw)
    {
        const __m256i bg = _mm256_setr_epi8(At(0, 0), -1, At(0, 1), -1, At(1, 0), -1, At(1, 1), -1, At(2, 0), -1,
                                            At(2, 1), -1, At(3, 0), -1, At(3, 1), -1, At(0, 0), -1, At(0, 1), -1,
                                            At(1, 0), -1, At(1, 1), -1, At(2, 0), -1, At(2, 1), -1, At(3, 0), -1,
                                            At(3, 1), -1);
        const __m256i r = _mm256_setr_epi8(At(0, 2), -1, -1, -1, At(1, 2), -1, -1, -1, At(2, 2), -1, -1, -1,
                                           At(3, 2), -1, -1, -1, At(0, 2), -1, -1, -1, At(1, 2), -1, -1, -1,
                                           At(2, 2), -1, -1, -1, At(3, 2), -1, -1, -1);
        return {_mm256_shuffle_epi8(raw, bg), _mm256_shuffle_epi8(raw, r)};
    }
};

// Pixels 0-3 | 8-11 (half 0) or 4-7 | 12-15 (half 1) of the sixteen at p.
// RGB24 loads read exactly the 48 bytes of the sixteen.
template <int Bytes>
TUL_TARGET_AVX2 inline Pixels Load(const Ipp8u* p, int half)
{
    if constexpr (Bytes == 4)
        return Spread<4, 0>::Of(Lanes(p + 16 * half, p + 32 + 16 * half));
    else
        return half == 0 ? Spread<3, 0>::Of(Lanes(p, p + 24)) : Spread<3, 4>::Of(Lanes(p + 8, p + 32));
}

TUL_TARGET_AVX2 inline Pixels Add(Pixels a, Pixels b)
{
    return {_mm256_add_epi16(a.bg, b.bg), _mm256_add_epi16(a.r, b.r)};
}

// The equation's numerator (offset aside) for each pixel or column.
TUL_TARGET_AVX2 inline __m256i Dot(Pixels p, int cb, int cg, int cr)
{
    const __m256i bg = _mm256_set1_epi32(static_cast<int>((static_cast<unsigned>(cg) << 16) | (cb & 0xFFFF)));
    return _mm256_add_epi32(_mm256_madd_epi16(p.bg, bg), _mm256_madd_epi16(p.r, _mm256_set1_epi32(cr & 0xFFFF)));
}

// floor((n + offset + d/2) / d) for d = 125 << shift, of two registers of
// dwords, as words (a's before b's in each lane).
TUL_TARGET_AVX2 inline __m256i Divide(__m256i a, __m256i b, int offset, int shift)
{
    const __m256i bias = _mm256_set1_epi32(offset + (125 << shift) / 2);
    const __m256i x = _mm256_packs_epi32(_mm256_srli_epi32(_mm256_add_epi32(a, bias), shift),
                                         _mm256_srli_epi32(_mm256_add_epi32(b, bias), shift));
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(static_cast<short>(33555))), 6);
}

// Luma's floor((n + 16500) / 1000) with n >= 0: 16500 is 4 x 4125, so it
// is floor((floor(n / 4) + 4125) / 250), the bias added once to the packed
// words, and floor(x / 250) is (x x 33555) >> 23 for every x it meets.
constexpr int kLumaBias = bt601::kYOffset * bt601::kScale + bt601::kScale / 2;
constexpr int kMaxLumaQuarter = (bt601::kYr + bt601::kYg + bt601::kYb) * 255 / 4 + kLumaBias / 4;
constexpr bool DividesBy250(int limit)
{
    for (int x = 0; x <= limit; ++x)
        if (((x * 33555LL) >> 23) != x / 250)
            return false;
    return true;
}
static_assert(kLumaBias % 4 == 0 && DividesBy250(kMaxLumaQuarter) && kMaxLumaQuarter < 65536);

TUL_TARGET_AVX2 inline __m256i Luma(Pixels a, Pixels b)
{
    using namespace bt601;
    const __m256i x = _mm256_add_epi16(_mm256_packus_epi32(_mm256_srli_epi32(Dot(a, kYb, kYg, kYr), 2),
                                                           _mm256_srli_epi32(Dot(b, kYb, kYg, kYr), 2)),
                                       _mm256_set1_epi16(static_cast<short>(kLumaBias / 4)));
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16(static_cast<short>(33555))), 7);
}

// Cb and Cr of adjacent columns' sums: pixels 0+1, 2+3 of a, then of b.
// The columns are added before the products: a dword add of two pixels'
// (B, G) or (R, 0) words adds each word apart, as no word sum (at most
// 4 x 255) carries into the next.
struct Chroma {
    __m256i cb, cr;
};
TUL_TARGET_AVX2 inline Chroma PairChroma(Pixels a, Pixels b)
{
    using namespace bt601;
    const Pixels pairs{_mm256_hadd_epi32(a.bg, b.bg), _mm256_hadd_epi32(a.r, b.r)};
    return {Dot(pairs, kCbB, kCbG, kCbR), Dot(pairs, kCrB, kCrG, kCrR)};
}

static_assert(bt601::kScale == 1000);

template <class L>
TUL_TARGET_AVX2 void Rows420(const Ipp8u* row0, const Ipp8u* row1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int width)
{
    constexpr int B = L::kBytes;
    for (int x = 0; x + 16 <= width; x += 16) {
        const Pixels a0 = Load<B>(row0 + B * x, 0), b0 = Load<B>(row0 + B * x, 1);
        const Pixels a1 = Load<B>(row1 + B * x, 0), b1 = Load<B>(row1 + B * x, 1);
        // Lanes: y0 0-7, y1 0-7 | y0 8-15, y1 8-15, then rows apart.
        const __m256i ys = _mm256_permute4x64_epi64(_mm256_packus_epi16(Luma(a0, b0), Luma(a1, b1)), 0xD8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y0 + x), _mm256_castsi256_si128(ys));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y1 + x), _mm256_extracti128_si256(ys, 1));
        const Chroma c = PairChroma(Add(a0, a1), Add(b0, b1));
        // Lanes: cb 0-3, cr 0-3 | cb 4-7, cr 4-7; then cb 0-7, cr 0-7.
        const __m256i w = Divide(c.cb, c.cr, bt601::kChromaOffset * 4000, 5);
        const __m128i uv = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(
            _mm256_packus_epi16(w, _mm256_setzero_si256()), _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(u + x / 2), uv);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(v + x / 2), _mm_srli_si128(uv, 8));
    }
    const int x = width / 16 * 16;
    Rows420Scalar<L>(row0 + B * x, row1 + B * x, y0 + x, y1 + x, u + x / 2, v + x / 2, width - x);
}

template <class L>
TUL_TARGET_AVX2 void Yuy2Row(const Ipp8u* row, Ipp8u* yuy2, int width)
{
    constexpr int B = L::kBytes;
    for (int x = 0; x + 16 <= width; x += 16) {
        const Pixels a = Load<B>(row + B * x, 0), b = Load<B>(row + B * x, 1);
        const __m256i ys = Luma(a, b);
        const Chroma c = PairChroma(a, b);
        const __m256i uv = Divide(_mm256_unpacklo_epi32(c.cb, c.cr), _mm256_unpackhi_epi32(c.cb, c.cr),
                                  bt601::kChromaOffset * 2000, 4);
        // Each lane: the packed row of its own eight pixels.
        const __m256i out = _mm256_unpacklo_epi8(_mm256_packus_epi16(ys, ys), _mm256_packus_epi16(uv, uv));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(yuy2 + 2 * x), out);
    }
    Yuy2PairsScalar<L>(row, yuy2, width / 16 * 8, width / 2);
    Yuy2LoneScalar<L>(row, yuy2, width);
}

}  // namespace

void Rows420Bgr3Avx2(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr3>(r0, r1, y0, y1, u, v, w);
}
void Rows420Bgr4Avx2(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr4>(r0, r1, y0, y1, u, v, w);
}
void Yuy2RowBgr3Avx2(const Ipp8u* row, Ipp8u* yuy2, int w) { Yuy2Row<ycc::Bgr3>(row, yuy2, w); }
void Yuy2RowBgr4Avx2(const Ipp8u* row, Ipp8u* yuy2, int w) { Yuy2Row<ycc::Bgr4>(row, yuy2, w); }

}  // namespace tulipp
