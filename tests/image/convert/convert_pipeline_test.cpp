// Whole conversions: the static Convert as the composition of a colour
// kernel and the destination format's one-call Resize; the prepared object
// against the static call across a history of re-preparations (copies
// included, frames allocating nothing); tiny pictures through every path.
#define TUL_DEFINE_ALLOCATION_COUNTER
#include "image/TulImage.h"
#include "image/color/kernel_table.h"
#include "image/convert/convert_plan.h"
#include "tests/support/alloc_counter.h"
#include "tests/support/picture.h"

#include <tuple>
#include <vector>

namespace {

using T = TulImage;
using F = T::COLOR_FORMAT_TYPE;
using tultest::GuardedBuffer;

PICTURE_INFO Pic(F f, ULONG w, ULONG h, int sign, T::SCAN_TYPE scan = T::SCAN_PROGRESSIVE, ULONG ax = 4,
                 ULONG ay = 3)
{
    return {0, w, h, sign * std::abs(T::GetGenericStep(f, w, h)), ax, ay, scan, f};
}

ULONG Bytes(const PICTURE_INFO& p) { return T::GetPictureSize(p.colorFormat, p.width, p.height, p.step); }

// The static Convert's output, or its status when it refuses.
struct Outcome { ULONG status; std::vector<unsigned char> bytes; bool guards; };

Outcome StaticConvert(const GuardedBuffer& src, PICTURE_INFO s, PICTURE_INFO d, CONVERT_MODE m)
{
    GuardedBuffer out(Bytes(d), 0x5A);
    d.size = static_cast<ULONG>(out.size());
    const ULONG status = T::Convert(src.data(), out.data(), &s, &d, &m);
    return {status, out.Bytes(), out.GuardsIntact()};
}

// Every supported pair (and each format to itself) x interpolation x step signs.
using CompositionCase = std::tuple<int, T::INTERPOLATION_MODE, int>;
class Composition : public ::testing::TestWithParam<CompositionCase> {};

TEST_P(Composition, IsTheKernelThenTheResize)
{
    const auto [pair, interpolation, signs] = GetParam();
    const F sf = pair < tul::color::kColorKernelCount ? tul::color::kColorKernels[pair].source : F(pair - 37);
    const F df = pair < tul::color::kColorKernelCount ? tul::color::kColorKernels[pair].destination : sf;
    const int ss = signs & 1 ? -1 : 1, ds = signs & 2 ? -1 : 1;
    const PICTURE_INFO s = Pic(sf, 22, 14, ss), d = Pic(df, 16, 10, ds);
    GuardedBuffer src(Bytes(s));
    tultest::FillRandom(src, 7 + pair);
    const CONVERT_MODE m{false, false, interpolation, T::DEINTERLACE_LINE_DOUBLE};
    const Outcome got = StaticConvert(src, s, d, m);
    ASSERT_EQ(got.status, 0u);
    EXPECT_TRUE(got.guards);

    // The model: the kernel at the source size (default pitch, the source's
    // orientation), then the destination format's static resize.
    const int mid = ss * std::abs(T::GetGenericStep(df, s.width, s.height));
    GuardedBuffer converted(T::GetPictureSize(df, s.width, s.height, mid));
    ULONG size = static_cast<ULONG>(converted.size());
    if (sf == df) {
        converted = src;
    } else {
        ASSERT_EQ(tul::color::FindKernel(sf, df)->call(
                      {src.data(), converted.data(), &size, s.width, s.height, s.step, mid, true}),
                  0u);
    }
    GuardedBuffer want(Bytes(d), 0x5A);
    size = static_cast<ULONG>(want.size());
    ASSERT_EQ(T::Resize(converted.data(), want.data(), &size, s.width, s.height, mid, d.width, d.height,
                        d.step, df, interpolation),
              0u);
    EXPECT_TRUE(tultest::SameBytes(want.Bytes(), got.bytes));
}

INSTANTIATE_TEST_SUITE_P(Pairs, Composition,
                         ::testing::Combine(::testing::Range(0, 37 + 8),
                                            ::testing::Values(T::INTERPOLATION_NEAREST, T::INTERPOLATION_LINEAR,
                                                              T::INTERPOLATION_CUBIC, T::INTERPOLATION_AUTO,
                                                              T::INTERPOLATION_VEXO),
                                            ::testing::Range(0, 4)));

// A picture resized from one field converts only that field: the same as
// converting the whole frame first, for either field, sign and resampler.
TEST(OneField, ConvertsAsTheWholeFrame)
{
    for (int v = 0; v < 16; ++v) {
        const F df = v & 8 ? F::COLOR_FORMAT_RGB32 : F::COLOR_FORMAT_RGB24;
        const PICTURE_INFO s = Pic(F::COLOR_FORMAT_YUY2, 24, 15, v & 1 ? -1 : 1,
                                   v & 2 ? T::SCAN_TOP_FIELD_FIRST : T::SCAN_BOTTOM_FIELD_FIRST);
        const PICTURE_INFO mid = Pic(df, 24, 15, v & 1 ? -1 : 1, s.scanType), d = Pic(df, 18, 11, 1);
        const CONVERT_MODE m{false, true, v & 4 ? T::INTERPOLATION_CUBIC : T::INTERPOLATION_LINEAR,
                             T::DEINTERLACE_INTERPOLATE};
        GuardedBuffer src(Bytes(s)), converted(Bytes(mid));
        tultest::FillRandom(src, v);
        ULONG size = Bytes(mid);
        ASSERT_EQ(tul::color::FindKernel(s.colorFormat, df)->call(
                      {src.data(), converted.data(), &size, 24, 15, s.step, mid.step, false}),
                  0u);
        const Outcome want = StaticConvert(converted, mid, d, m), got = StaticConvert(src, s, d, m);
        ASSERT_EQ(got.status, 0u);
        EXPECT_TRUE(tultest::SameBytes(want.bytes, got.bytes)) << v;
        tul::ConvertPlan plan;
        const int odd = ((v & 2) != 0) == ((v & 1) == 0) ? 1 : 0;  // the field kept
        EXPECT_TRUE(plan.Plan(s, d, m) == 0u && plan.convertField == odd) << v;
    }
}

// One object prepared again and again; each preparation must convert as the
// static call does, frame after frame, a copy of it likewise with blocks of
// its own, and a refused preparation leaves the object unprepared.
TEST(PreparedConvert, EqualsStaticAcrossRepreparations)
{
    const auto I = T::SCAN_TOP_FIELD_FIRST;
    const struct {
        PICTURE_INFO s, d;
        CONVERT_MODE m;
        ULONG status;
    } history[] = {
        {Pic(F::COLOR_FORMAT_YUY2, 40, 24, 1), Pic(F::COLOR_FORMAT_YUY2, 28, 16, 1), {false, false, T::INTERPOLATION_VEXO, {}}, 0},
        {Pic(F::COLOR_FORMAT_YUY2, 40, 24, 1), Pic(F::COLOR_FORMAT_YUY2, 28, 16, 1), {false, false, T::INTERPOLATION_LINEAR, {}}, 0},
        {Pic(F::COLOR_FORMAT_YUY2, 40, 24, 1), Pic(F::COLOR_FORMAT_YUY2, 40, 24, -1, T::SCAN_PROGRESSIVE, 16, 9), {true, false, T::INTERPOLATION_VEXO, {}}, 0},
        {Pic(F::COLOR_FORMAT_YUY2, 40, 24, 1), Pic(F::COLOR_FORMAT_YUY2, 40, 24, -1, T::SCAN_PROGRESSIVE, 16, 9), {false, false, T::INTERPOLATION_VEXO, {}}, 0},
        {Pic(F::COLOR_FORMAT_RGB24, 40, 24, -1, I), Pic(F::COLOR_FORMAT_YUY2, 40, 24, 1, T::SCAN_BOTTOM_FIELD_FIRST), {false, true, T::INTERPOLATION_LINEAR, {}}, 0},
        {Pic(F::COLOR_FORMAT_RGB24, 40, 24, -1, I), Pic(F::COLOR_FORMAT_YUY2, 40, 24, 1, T::SCAN_BOTTOM_FIELD_FIRST), {false, false, T::INTERPOLATION_LINEAR, {}}, 0},
        {Pic(F::COLOR_FORMAT_YV12, 40, 24, 1), Pic(F::COLOR_FORMAT_YUV420, 40, 24, 1), {false, false, T::INTERPOLATION_LINEAR, {}}, 3},
        {Pic(F::COLOR_FORMAT_YUY2, 40, 24, 1, I), Pic(F::COLOR_FORMAT_RGB32, 30, 20, -1), {false, true, T::INTERPOLATION_CUBIC, {}}, 0},
        {Pic(F::COLOR_FORMAT_YUV420, 40, 24, 1, I), Pic(F::COLOR_FORMAT_YUV420, 40, 18, -1, I), {true, true, T::INTERPOLATION_VEXO, {}}, 0},
        {Pic(F::COLOR_FORMAT_YUV420, 40, 24, 1), Pic(F::COLOR_FORMAT_YUV420, 40, 24, 1), {false, false, T::INTERPOLATION_VEXO, {}}, 0},
    };
    T image;
    EXPECT_EQ(image.Convert(nullptr, nullptr), 4u);
    for (const auto& step : history) {
        PICTURE_INFO s = step.s, d = step.d;
        CONVERT_MODE m = step.m;
        ASSERT_EQ(image.InitializeConvert(&s, &d, &m), step.status);
        EXPECT_EQ(d.size, Bytes(step.d));
        T copy(image);
        for (std::uint32_t frame = 0; frame < 3; ++frame) {
            GuardedBuffer src(Bytes(s));
            tultest::FillRandom(src, frame);
            const Outcome want = StaticConvert(src, step.s, step.d, step.m);
            GuardedBuffer out(Bytes(d), 0x5A), copied(Bytes(d), 0x5A);
            const auto before = tultest::AllocationCount();
            const ULONG status = image.Convert(src.data(), out.data());
            if (step.status != 0) {
                EXPECT_EQ(status, 4u);
                continue;
            }
            EXPECT_EQ(tultest::AllocationCount(), before);  // the frame allocates nothing
            ASSERT_EQ(status, want.status);
            EXPECT_TRUE(tultest::SameBytes(want.bytes, out.Bytes()));
            ASSERT_EQ(copy.Convert(src.data(), copied.data()), 0u);
            EXPECT_TRUE(tultest::SameBytes(want.bytes, copied.Bytes()));
            EXPECT_TRUE(out.GuardsIntact() && copied.GuardsIntact());
        }
        // The copy's blocks are its own.
        const tul::ConvertPlan *a = tul::ConvertPlan::Of(image), *b = tul::ConvertPlan::Of(copy);
        ASSERT_EQ(a == nullptr, b == nullptr);
        EXPECT_TRUE(a == nullptr || a->info.convertBuffer == nullptr || a->info.convertBuffer != b->info.convertBuffer);
        EXPECT_TRUE(a == nullptr || a->info.tempPlanar == nullptr ||
                    a->info.tempPlanar->srcPlane[0] != b->info.tempPlanar->srcPlane[0]);
    }
}

// Widths and heights 1 to 3 on both sides through resize, re-pitch, flip,
// aspect fitting and every field path: a stated status, the prepared object
// agreeing with the static call, and nothing written outside the pictures.
TEST(TinyPictures, StayInsideTheirBuffers)
{
    const F pairs[][2] = {{F::COLOR_FORMAT_YUY2, F::COLOR_FORMAT_RGB24}, {F::COLOR_FORMAT_YUV420, F::COLOR_FORMAT_YUY2},
                          {F::COLOR_FORMAT_RGB32, F::COLOR_FORMAT_YV12}, {F::COLOR_FORMAT_RGB24, F::COLOR_FORMAT_RGB24},
                          {F::COLOR_FORMAT_YUY2, F::COLOR_FORMAT_VUYA}};
    const T::SCAN_TYPE scans[][2] = {{T::SCAN_PROGRESSIVE, T::SCAN_PROGRESSIVE},
                                     {T::SCAN_TOP_FIELD_FIRST, T::SCAN_PROGRESSIVE},
                                     {T::SCAN_TOP_FIELD_FIRST, T::SCAN_BOTTOM_FIELD_FIRST}};
    for (const auto& pair : pairs)
        for (ULONG sw = 1; sw <= 3; ++sw)
            for (ULONG sh = 1; sh <= 3; ++sh)
                for (ULONG dw = 1; dw <= 3; ++dw)
                    for (ULONG dh = 1; dh <= 3; ++dh)
                        for (const auto& scan : scans)
                            for (int v = 0; v < 8; ++v) {
                                const PICTURE_INFO s = Pic(pair[0], sw, sh, v & 1 ? -1 : 1, scan[0]);
                                const PICTURE_INFO d = Pic(pair[1], dw, dh, v & 2 ? -1 : 1, scan[1], 16, 9);
                                const CONVERT_MODE m{(v & 4) != 0, true,
                                                     v & 1 ? T::INTERPOLATION_VEXO : T::INTERPOLATION_LINEAR,
                                                     T::DEINTERLACE_LINE_DOUBLE};
                                SCOPED_TRACE(::testing::Message() << pair[0] << ">" << pair[1] << " " << sw << "x" << sh
                                             << ">" << dw << "x" << dh << " scan " << scan[0] << scan[1] << " v" << v);
                                GuardedBuffer src(Bytes(s));
                                tultest::FillRandom(src, sw * 7 + dh);
                                const Outcome want = StaticConvert(src, s, d, m);
                                // 3 only for a fitted picture of no pixels, or 4:2:0 without chroma.
                                const bool chromaless = (pair[0] == F::COLOR_FORMAT_YUV420 ||
                                                         pair[1] == F::COLOR_FORMAT_YV12) && (sw < 2 || sh < 2);
                                EXPECT_TRUE(want.status == 0 || want.status == 4 ||
                                            (want.status == 3 && ((v & 4) != 0 || chromaless)));
                                EXPECT_TRUE(want.guards);
                                PICTURE_INFO ps = s, pd = d; CONVERT_MODE pm = m;
                                T image;
                                GuardedBuffer out(Bytes(d), 0x5A);
                                if (image.InitializeConvert(&ps, &pd, &pm) == 3u && want.status == 3u)
                                    continue;
                                EXPECT_EQ(image.Convert(src.data(), out.data()), want.status);
                                EXPECT_TRUE(want.status != 0 || tultest::SameBytes(want.bytes, out.Bytes()));
                                EXPECT_TRUE(out.GuardsIntact() && src.GuardsIntact());
                            }
}

}  // namespace
