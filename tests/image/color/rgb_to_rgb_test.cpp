// The RGB to RGB kernels: the primitive-based ones against their chains
// (copy, set, scale, convert through a float picture, mirror) on random
// pictures, and every kernel over all 256 values of every colour byte
// against a model of its rescaling, fourth-byte and row-padding rules.
#include "platform/ipp/ippi.h"
#include "tests/image/color/color_harness.h"

#include <cmath>
#include <memory>

namespace tultest {
namespace {

using tul::color::FindKernel;
constexpr Format kRGB24 = TulImage::COLOR_FORMAT_RGB24, kRGB32 = TulImage::COLOR_FORMAT_RGB32,
                 kS24 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24,
                 kS32 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32;

// The float picture's scalings into `d` (which already holds the source's
// colour bytes when `d` is also the source).
void ScaleThroughFloats(const Ipp8u* s, int sp, ColorPicture& d, bool toShifted)
{
    const IppiSize roi{d.width, d.height};
    int fp = 0;
    const std::unique_ptr<Ipp32f, void (*)(void*)> f(ippiMalloc_32f_C3(d.width, d.height, &fp), ippiFree);
    const int dp = std::abs(d.step);
    ASSERT_EQ(ippiScale_8u32f_C3R(s, sp, f.get(), fp, roi, 0.0f, toShifted ? 219.0f : 255.0f), ippStsNoErr);
    if (toShifted)
        ASSERT_EQ(ippiConvert_32f8u_C3R(f.get(), fp, d.data(), dp, roi, ippRndZero), ippStsNoErr);
    else
        ASSERT_EQ(ippiScale_32f8u_C3R(f.get(), fp, d.data(), dp, roi, 0.0f, 219.0f), ippStsNoErr);
}

// The chain of each primitive-based kernel, with absolute steps, then the
// flip when exactly one step is negative.
void Chain(ColorPicture& s, ColorPicture& d)
{
    const IppiSize roi{d.width, d.height};
    const int sp = std::abs(s.step), dp = std::abs(d.step);
    const bool from32 = s.format == kRGB32 || s.format == kS32;
    if (d.format == kRGB32 || d.format == kS32) {
        ASSERT_EQ(ippiCopy_8u_C3AC4R(s.data(), sp, d.data(), dp, roi), ippStsNoErr);
        ASSERT_EQ(ippiSet_8u_C4CR(0, d.data() + 3, dp, roi), ippStsNoErr);
    } else if (from32) {
        ASSERT_EQ(ippiCopy_8u_AC4C3R(s.data(), sp, d.data(), dp, roi), ippStsNoErr);
        if (s.format == kS32 && d.format == kRGB24)
            ScaleThroughFloats(d.data(), dp, d, false);
    } else {
        ScaleThroughFloats(s.data(), sp, d, s.format == kRGB24);
    }
    if ((s.step < 0) != (d.step < 0)) {
        const bool to32 = d.format == kRGB32 || d.format == kS32;
        ASSERT_EQ((to32 ? ippiMirror_8u_C4IR : ippiMirror_8u_C3IR)(d.data(), dp, roi, ippAxsHorizontal), ippStsNoErr);
    }
}

using Pair = std::pair<Format, Format>;
class RgbChain : public ::testing::TestWithParam<Pair> {};

TEST_P(RgbChain, EqualsThePrimitiveChain)
{
    const KernelEntry& k = *FindKernel(GetParam().first, GetParam().second);
    for (int w : {1, 6, 37})
        for (int h : {1, 5})
            for (int signs = 0; signs < 4; ++signs) {
                const int ss = std::abs(StepOf(k.source, w, signs)) * (signs & 1 ? -1 : 1);
                const int ds = std::abs(StepOf(k.destination, w, 3 - signs)) * (signs & 2 ? -1 : 1);
                ColorPicture src(k.source, w, h, ss), dst(k.destination, w, h, ds, 0x3C),
                    model(k.destination, w, h, ds, 0x3C);
                FillRandom(src.buffer, static_cast<std::uint32_t>(w * 10 + h + signs));
                ASSERT_EQ(RunKernel(k, src, dst), TulImage::TUL_SUCCESS);
                Chain(src, model);
                ASSERT_TRUE(SameBytes(model.Bytes(), dst.Bytes())) << k.name << " " << w << "x" << h << " " << signs;
            }
}

INSTANTIATE_TEST_SUITE_P(PrimitiveKernels, RgbChain,
                         ::testing::Values(Pair{kRGB32, kRGB24}, Pair{kRGB24, kRGB32}, Pair{kRGB24, kS24},
                                           Pair{kS24, kRGB24}, Pair{kS32, kRGB24}, Pair{kS32, kS24},
                                           Pair{kS24, kS32}),
                         [](const auto& info) {
                             return std::string(FindKernel(info.param.first, info.param.second)->name);
                         });

// What each kernel makes of a colour byte c, in doubles or plain integers:
// the float path truncates 219c/255 or rounds 255c/219 (saturating), the
// integer path is (220c) >> 8 and min(255, 256c / 220).
int Model(Format from, Format to, int c, bool& integerPath)
{
    const bool fromShifted = from == kS24 || from == kS32, toShifted = to == kS24 || to == kS32;
    const bool floatPath = (from == kRGB24 && to == kS24) || (fromShifted && to == kRGB24);
    integerPath = fromShifted != toShifted && !floatPath;
    if (fromShifted == toShifted)
        return c;
    if (floatPath)
        return toShifted ? int(219.0 * c / 255.0) : int(std::fmin(255.0, std::nearbyint(255.0 * c / 219.0)));
    return toShifted ? (220 * c) >> 8 : std::min(255, 256 * c / 220);
}

class RgbValues : public ::testing::TestWithParam<const KernelEntry*> {};

// Pixel x of a 256-wide picture carries x, 255 - x and 7x mod 256, and a
// fourth byte of its own: every value in every channel. A 32-bit result's
// fourth byte is the source's between the two 32-bit forms, else 0; the
// integer path zeroes the row's padding, the others leave it.
TEST_P(RgbValues, EveryByteValue)
{
    const KernelEntry& k = *GetParam();
    const int w = 256, sb = k.source == kRGB24 || k.source == kS24 ? 3 : 4;
    const int db = k.destination == kRGB24 || k.destination == kS24 ? 3 : 4;
    ColorPicture src(k.source, w, 2, -sb * w), dst(k.destination, w, 2, -(db * w + 5), 0xEE);
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = src.data() + r * sb * w + sb * x;
            p[0] = static_cast<unsigned char>(x), p[1] = static_cast<unsigned char>(255 - x);
            p[2] = static_cast<unsigned char>(7 * x);
            if (sb == 4)
                p[3] = static_cast<unsigned char>(x ^ 0x5A);
        }
    ASSERT_EQ(RunKernel(k, src, dst), TulImage::TUL_SUCCESS);
    bool integerPath = false;
    Model(k.source, k.destination, 0, integerPath);
    for (int r = 0; r < 2; ++r) {
        const unsigned char* s = src.data() + r * sb * w;
        const unsigned char* d = dst.data() + r * (db * w + 5);
        for (int i = 0; i < db * w + 5; ++i) {
            const int x = i / db, c = i % db;
            int expected = 0;
            if (x >= w)
                expected = 0xEE;
            else if (c < 3)
                expected = Model(k.source, k.destination, s[sb * x + c], integerPath);
            else if (sb == 4 && db == 4)
                expected = s[sb * x + 3];
            if (x >= w && integerPath)
                expected = 0;
            ASSERT_EQ(d[i], expected) << k.name << " row " << r << " byte " << i;
        }
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

INSTANTIATE_TEST_SUITE_P(RgbKernels, RgbValues, ::testing::ValuesIn(RgbKernels()), KernelName);

}  // namespace
}  // namespace tultest
