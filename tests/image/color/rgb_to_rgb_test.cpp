// The RGB to RGB kernels: the shared sweep, against the copy, set, scale,
// convert and mirror chains for the primitive-based ones; and every kernel
// over all 256 values of each colour byte against a model of its
// rescaling, fourth-byte and row-padding rules.
#include "platform/ipp/ippi.h"
#include "tests/image/color/color_harness.h"

#include <cmath>
#include <memory>

namespace tultest {
namespace {

constexpr Format kRGB24 = TulImage::COLOR_FORMAT_RGB24, kRGB32 = TulImage::COLOR_FORMAT_RGB32,
                 kS24 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24,
                 kS32 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32;
bool Is32(Format f) { return f == kRGB32 || f == kS32; }
bool Shifted(Format f) { return f == kS24 || f == kS32; }
bool FloatPath(Format from, Format to) { return to == kRGB24 ? Shifted(from) : from == kRGB24 && to == kS24; }

// From `s` (at pitch sp) through a float picture into `d`: onto [0, 219]
// and truncated, or read as [0, 255] and scaled from [0, 219] to bytes.
void ThroughFloats(const Ipp8u* s, int sp, ColorPicture& d, bool toShifted)
{
    const IppiSize roi{d.width, d.height};
    int fp = 0;
    const std::unique_ptr<Ipp32f, void (*)(void*)> f(ippiMalloc_32f_C3(d.width, d.height, &fp), ippiFree);
    ASSERT_EQ(ippiScale_8u32f_C3R(s, sp, f.get(), fp, roi, 0.0f, toShifted ? 219.0f : 255.0f), ippStsNoErr);
    const IppStatus back = toShifted ? ippiConvert_32f8u_C3R(f.get(), fp, d.data(), std::abs(d.step), roi, ippRndZero)
                                     : ippiScale_32f8u_C3R(f.get(), fp, d.data(), std::abs(d.step), roi, 0.0f, 219.0f);
    ASSERT_EQ(back, ippStsNoErr);
}

// The primitive-based kernels' chains, with absolute steps, then the flip.
void PrimitiveChain(ColorPicture& s, ColorPicture& d, bool)
{
    const IppiSize roi{d.width, d.height};
    const int sp = std::abs(s.step), dp = std::abs(d.step);
    if (Is32(d.format)) {
        ASSERT_EQ(ippiCopy_8u_C3AC4R(s.data(), sp, d.data(), dp, roi), ippStsNoErr);
        ASSERT_EQ(ippiSet_8u_C4CR(0, d.data() + 3, dp, roi), ippStsNoErr);
    } else if (Is32(s.format)) {
        ASSERT_EQ(ippiCopy_8u_AC4C3R(s.data(), sp, d.data(), dp, roi), ippStsNoErr);
        if (FloatPath(s.format, d.format))
            ThroughFloats(d.data(), dp, d, false);
    } else {
        ThroughFloats(s.data(), sp, d, s.format == kRGB24);
    }
    if ((s.step < 0) != (d.step < 0)) {
        ASSERT_EQ((Is32(d.format) ? ippiMirror_8u_C4IR : ippiMirror_8u_C3IR)(d.data(), dp, roi, ippAxsHorizontal), 0);
    }
}

// What a kernel makes of colour byte c: the float path truncates 219c/255
// or rounds 255c/219, the integer path is (220c) >> 8 or 256c / 220, both
// saturated; repacking keeps c.
int Model(Format from, Format to, int c)
{
    if (Shifted(from) == Shifted(to))
        return c;
    if (FloatPath(from, to))
        return Shifted(to) ? int(219.0 * c / 255.0) : int(std::fmin(255.0, std::nearbyint(255.0 * c / 219.0)));
    return Shifted(to) ? (220 * c) >> 8 : std::min(255, 256 * c / 220);
}

class RgbKernel : public ::testing::TestWithParam<const KernelEntry*> {};

TEST_P(RgbKernel, SweepAgainstChain)
{
    const KernelEntry& k = *GetParam();
    const bool primitives = FloatPath(k.source, k.destination) || Shifted(k.source) == Shifted(k.destination);
    ExpectSweep(k, primitives ? Chain(PrimitiveChain) : Chain());
}

// Pixel x of a 256-wide picture carries x, 255 - x, 7x mod 256 and a
// fourth byte of its own. A 32-bit result's fourth byte is the source's
// between the two 32-bit forms, else 0; the integer path zeroes the row's
// padding, the primitive paths leave it.
TEST_P(RgbKernel, EveryByteValue)
{
    const KernelEntry& k = *GetParam();
    const int w = 256, sb = Is32(k.source) ? 4 : 3, db = Is32(k.destination) ? 4 : 3, dp = db * w + 5;
    const bool integerPath = Shifted(k.source) != Shifted(k.destination) && !FloatPath(k.source, k.destination);
    ColorPicture src(k.source, w, 2, -sb * w), dst(k.destination, w, 2, -dp, 0xEE);
    for (int i = 0; i < 2 * sb * w; ++i) {
        const int x = i / sb % w, c = i % sb;
        src.data()[i] = static_cast<unsigned char>(c == 0 ? x : c == 1 ? 255 - x : c == 2 ? 7 * x : x ^ 0x5A);
    }
    ASSERT_EQ(RunKernel(k, src, dst), TulImage::TUL_SUCCESS);
    for (int i = 0; i < 2 * dp; ++i) {
        const int x = i % dp / db, c = i % dp % db;
        const unsigned char* s = src.data() + (i / dp * w + x) * sb;
        const int expected = x >= w ? (integerPath ? 0 : 0xEE) : c < 3 ? Model(k.source, k.destination, s[c])
                                                            : sb == 4 ? s[3] : 0;
        ASSERT_EQ(dst.data()[i], expected) << k.name << " byte " << i;
    }
}

std::vector<const KernelEntry*> RgbKernels()
{
    std::vector<const KernelEntry*> rgb;
    for (const KernelEntry* k : AllKernels())
        if (k->source >= kRGB24 && k->source <= kS32 && k->destination >= kRGB24 && k->destination <= kS32)
            rgb.push_back(k);
    return rgb;
}

INSTANTIATE_TEST_SUITE_P(RgbKernels, RgbKernel, ::testing::ValuesIn(RgbKernels()), KernelName);

}  // namespace
}  // namespace tultest
