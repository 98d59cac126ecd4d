// Conversions of interlaced pictures (each field's rows kept apart, or the
// right field kept) and the refusals and plans the pipeline answers for:
// one admission for both entries, the intermediate block, aspect fitting
// in 64 bits, the own resampler's margin per field, size queries.
#include "image/TulImage.h"
#include "image/convert/convert_plan.h"
#include "image/foundation/format_table.h"
#include "tests/support/picture.h"

#include <cstring>
#include <tuple>
#include <vector>

namespace {

using T = TulImage;
using F = T::COLOR_FORMAT_TYPE;
using tultest::GuardedBuffer;

PICTURE_INFO Pic(F f, ULONG w, ULONG h, int step, T::SCAN_TYPE scan = T::SCAN_PROGRESSIVE) { return {0, w, h, step, 1, 1, scan, f}; }

ULONG Bytes(const PICTURE_INFO& p) { return T::GetPictureSize(p.colorFormat, p.width, p.height, p.step); }

// Even memory rows hold one constant, odd rows another; 4:2:0 chroma rows by their own parity.
constexpr unsigned char kEven = 60, kOdd = 190, kChromaEven = 100, kChromaOdd = 30;

using FieldCase = std::tuple<F, T::SCAN_TYPE, int, ULONG, int, T::INTERPOLATION_MODE>;
class Fields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(Fields, StayApartOrTheRightOneIsKept)
{
    const auto [format, scan, signs, height, target, interpolation] = GetParam();
    const ULONG w = 16;
    const int pitch = static_cast<int>(tul::PixelRow(tul::FormatOf(format), w));
    const bool planar = format == F::COLOR_FORMAT_YUV420;
    // 0: interlaced at three quarters of the height; 1: progressive from one
    // field; 2: progressive taller than a field (line doubling).
    const ULONG dh = target == 0 ? height * 3 / 4 & ~1u : target == 1 ? 200 : 300;
    PICTURE_INFO s = Pic(format, w, height, signs & 1 ? -pitch : pitch, scan);
    PICTURE_INFO d = Pic(format, w, dh, signs & 2 ? -pitch : pitch, target == 0 ? scan : T::SCAN_PROGRESSIVE);
    GuardedBuffer src(Bytes(s)), out(Bytes(d));
    const tul::Planes420 sp = tul::PlanesOf420(pitch, height), dp = tul::PlanesOf420(pitch, dh);
    for (ULONG r = 0; r < height; ++r)
        std::memset(src.data() + r * pitch, r & 1 ? kOdd : kEven, pitch);
    for (int c = 1; planar && c <= 2; ++c)
        for (std::int64_t r = 0; r < sp.chromaRows; ++r)
            std::memset(src.data() + sp.offset[c] + r * sp.chromaPitch, r & 1 ? kChromaOdd : kChromaEven,
                        sp.chromaPitch);
    CONVERT_MODE m{false, true, interpolation, T::DEINTERLACE_LINE_DOUBLE};
    d.size = Bytes(d);
    ASSERT_EQ(T::Convert(src.data(), out.data(), &s, &d, &m), 0u);
    EXPECT_TRUE(out.GuardsIntact());

    const bool oddKept = (scan == T::SCAN_TOP_FIELD_FIRST) == (s.step > 0);
    // Every row one constant (our own resampler drifts up to 5 on some
    // shrinks, so within 8): each parity its own field's (target 0), or all
    // the kept field's. A resampler may leave a field's edge row black.
    const tul::FormatInfo& f = tul::FormatOf(format);
    auto check = [&](const unsigned char* base, std::int64_t rowPitch, std::int64_t rows, std::int64_t bytes,
                     unsigned char even, unsigned char odd, bool chroma) {
        auto near = [](int v, int c) { return v >= c - 8 && v <= c + 8; };
        const std::int64_t r0 = rows > 8 ? 4 : 0;  // a row inside the picture names the parities
        const bool firstEven = near(base[r0 * rowPitch], even) == ((r0 & 1) == 0);
        for (std::int64_t r = 0; r < rows; ++r) {
            const unsigned char want = target != 0 ? (oddKept ? odd : even)
                                       : ((r & 1) == 0) == firstEven ? even : odd;
            const unsigned char* row = base + r * rowPitch;
            bool black = r < 4 || r >= rows - 4;
            for (std::int64_t x = 0; x < bytes; ++x)
                black = black && row[x] == (planar ? f.black[chroma ? 1 : 0] : f.black[x % 4]);
            for (std::int64_t x = 0; x < bytes && !black; ++x)
                ASSERT_TRUE(near(row[x], want)) << "row " << r << " byte " << x << ": " << int(row[x]);
        }
    };
    check(out.data(), pitch, dh, planar ? w : pitch, kEven, kOdd, false);
    for (int c = 1; planar && c <= 2; ++c)
        check(out.data() + dp.offset[c], dp.chromaPitch, dp.chromaRows, w / 2, kChromaEven, kChromaOdd, true);
}

INSTANTIATE_TEST_SUITE_P(Families, Fields,
                         ::testing::Combine(::testing::Values(F::COLOR_FORMAT_YUY2, F::COLOR_FORMAT_RGB24,
                                                              F::COLOR_FORMAT_RGB32, F::COLOR_FORMAT_YUV420),
                                            ::testing::Values(T::SCAN_TOP_FIELD_FIRST, T::SCAN_BOTTOM_FIELD_FIRST),
                                            ::testing::Range(0, 4), ::testing::Values(480u, 484u, 486u),
                                            ::testing::Range(0, 3),
                                            ::testing::Values(T::INTERPOLATION_LINEAR, T::INTERPOLATION_VEXO)));

// Each request refused alike by both entries, the destination untouched.
TEST(Admission, RefusesAloneAndWritesNothing)
{
    const PICTURE_INFO s0 = Pic(F::COLOR_FORMAT_YUY2, 16, 8, 32), d0 = Pic(F::COLOR_FORMAT_RGB24, 16, 8, -48);
    const CONVERT_MODE m0{false, true, T::INTERPOLATION_LINEAR, T::DEINTERLACE_LINE_DOUBLE};
    const std::vector<void (*)(PICTURE_INFO&, PICTURE_INFO&, CONVERT_MODE&)> breaks = {
        [](PICTURE_INFO& s, PICTURE_INFO&, CONVERT_MODE&) { s.width = 0; },
        [](PICTURE_INFO&, PICTURE_INFO& d, CONVERT_MODE&) { d.height = 0; },
        [](PICTURE_INFO& s, PICTURE_INFO&, CONVERT_MODE&) { s.step = INT32_MIN; },
        [](PICTURE_INFO& s, PICTURE_INFO&, CONVERT_MODE&) { s.step = 30; },
        [](PICTURE_INFO&, PICTURE_INFO& d, CONVERT_MODE&) { d.colorFormat = F(8); },
        [](PICTURE_INFO& s, PICTURE_INFO&, CONVERT_MODE&) { s.scanType = T::SCAN_TYPE(3); },
        [](PICTURE_INFO& s, PICTURE_INFO&, CONVERT_MODE&) { s.step = 0x40000000; },
        [](PICTURE_INFO&, PICTURE_INFO& d, CONVERT_MODE&) { d.height = 0x10000000; },
        [](PICTURE_INFO& s, PICTURE_INFO&, CONVERT_MODE& m) { s.aspectY = 0, m.keepAspect = true; },
        [](PICTURE_INFO& s, PICTURE_INFO& d, CONVERT_MODE&) { s.colorFormat = F::COLOR_FORMAT_YV12, s.step = 16, d.colorFormat = F::COLOR_FORMAT_YUV420, d.step = 16; },
        [](PICTURE_INFO& s, PICTURE_INFO& d, CONVERT_MODE& m) { s.scanType = T::SCAN_TOP_FIELD_FIRST, d.height = 6, m.deinterlaceMode = T::DEINTERLACE_MODE(2); },
    };
    GuardedBuffer src(4096, 1), dst(4096, 0x5A);
    for (std::size_t i = 0; i < breaks.size(); ++i) {
        PICTURE_INFO s = s0, d = d0;
        CONVERT_MODE m = m0;
        breaks[i](s, d, m);
        d.size = static_cast<ULONG>(dst.size());
        T image;
        PICTURE_INFO ps = s, pd = d; CONVERT_MODE pm = m;
        EXPECT_EQ(T::Convert(src.data(), dst.data(), &s, &d, &m), 3u) << i;
        EXPECT_EQ(image.InitializeConvert(&ps, &pd, &pm), 3u) << i;
        EXPECT_EQ(image.Convert(src.data(), dst.data()), 4u) << i;
        EXPECT_EQ(tul::ConvertPlan::Of(image), nullptr);
        EXPECT_TRUE(dst.GuardsIntact() && dst.Bytes() == std::vector<unsigned char>(dst.size(), 0x5A)) << i;
    }
    // The same buffer for two formats, or for a resize.
    PICTURE_INFO s = s0, d = d0, same = Pic(F::COLOR_FORMAT_YUY2, 8, 8, 32);
    CONVERT_MODE m = m0;
    d.size = s.size = same.size = 4096;
    EXPECT_EQ(T::Convert(dst.data(), dst.data(), &s, &d, &m), 3u);
    EXPECT_EQ(T::Convert(dst.data(), dst.data(), &s, &same, &m), 3u);
    EXPECT_TRUE(dst.Bytes() == std::vector<unsigned char>(dst.size(), 0x5A));
    // Size query, a capacity one byte short.
    PICTURE_INFO i420 = Pic(F::COLOR_FORMAT_YUV420, 720, 480, 720), yuy2 = Pic(F::COLOR_FORMAT_YUY2, 720, 480, 1440);
    EXPECT_EQ(T::Convert(src.data(), nullptr, &yuy2, &i420, &m), 0u);
    EXPECT_EQ(i420.size, 518400u);
    i420.size = 518399;
    EXPECT_EQ(T::Convert(src.data(), dst.data(), &yuy2, &i420, &m), 2u);
    EXPECT_EQ(i420.size, 518399u);
}

// A converted picture wider than a tight destination goes through the block: both entries give the kernel's bytes.
TEST(IntermediateBlock, KeepsATightDestinationInside)
{
    PICTURE_INFO s = Pic(F::COLOR_FORMAT_YUY2, 5, 3, 12), d = Pic(F::COLOR_FORMAT_RGB24, 5, 3, -15);
    CONVERT_MODE m{false, false, T::INTERPOLATION_LINEAR, T::DEINTERLACE_LINE_DOUBLE};
    GuardedBuffer src(36), want(45), got(45), prepared(45);
    tultest::FillRandom(src, 3);
    ULONG size = 45;
    ASSERT_EQ(T::CCIR601YUY2ToRGB24(src.data(), want.data(), &size, 5, 3, 12, -15), 0u);
    d.size = 45;
    ASSERT_EQ(T::Convert(src.data(), got.data(), &s, &d, &m), 0u);
    T image;
    ASSERT_EQ(image.InitializeConvert(&s, &d, &m), 0u);
    ASSERT_EQ(image.Convert(src.data(), prepared.data()), 0u);
    EXPECT_TRUE(tultest::SameBytes(want.Bytes(), got.Bytes()));
    EXPECT_TRUE(tultest::SameBytes(want.Bytes(), prepared.Bytes()));
    EXPECT_TRUE(got.GuardsIntact() && prepared.GuardsIntact());
}

// Aspect terms whose products pass 32 bits, and a width whose factor
// passes 32 bits times 100000.
TEST(AspectFitting, ComputesIn64Bits)
{
    PICTURE_INFO s = Pic(F::COLOR_FORMAT_YUY2, 1920, 1080, 0), d = Pic(F::COLOR_FORMAT_YUY2, 3840, 2160, 0);
    s.aspectX = 4096, s.aspectY = 2160, d.aspectX = 3840, d.aspectY = 2160;
    tul::ConvertPlan plan;
    ASSERT_EQ(plan.Plan(s, d, {true, false, T::INTERPOLATION_LINEAR, {}}), 0u);
    EXPECT_EQ(plan.info.dstMarginY, 2160 - 2025);
    EXPECT_DOUBLE_EQ(plan.info.yFactor, 1.875);
    tul::ConvertPlan wide;
    s.width = 1000, d.width = 30000, d.aspectX = 4096;
    ASSERT_EQ(wide.Plan(s, d, {true, false, T::INTERPOLATION_LINEAR, {}}), 0u);
    EXPECT_DOUBLE_EQ(wide.info.xFactor, 30.0);
}

// The own resampler writing each field into its rows letterboxes the
// picture once: H' rows in the middle, half the margin above and below.
TEST(OwnResamplerFields, TakeHalfTheMarginEach)
{
    PICTURE_INFO s = Pic(F::COLOR_FORMAT_YUY2, 64, 64, 136, T::SCAN_TOP_FIELD_FIRST);
    PICTURE_INFO d = Pic(F::COLOR_FORMAT_YUY2, 64, 64, 136, T::SCAN_TOP_FIELD_FIRST);
    s.aspectX = 2;
    CONVERT_MODE m{true, true, T::INTERPOLATION_VEXO, T::DEINTERLACE_LINE_DOUBLE};
    GuardedBuffer src(Bytes(s), 200), out(Bytes(d));
    d.size = Bytes(d);
    ASSERT_EQ(T::Convert(src.data(), out.data(), &s, &d, &m), 0u);
    for (int r = 0; r < 64; ++r)
        EXPECT_EQ(out[r * 136], r >= 16 && r < 48 ? 200 : 0) << "row " << r;
}

}  // namespace
