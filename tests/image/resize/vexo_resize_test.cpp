// The own resampler's frame resize, through the one-call entry points
// and through a plan prepared once and run on further frames: field choice,
// source cropping and destination placement against the model, nothing
// written outside the picture, and refusal of pictures that cannot be
// resized (geometry when the plan is made, pointers and steps per frame).
#include "image/resize/resize_workers.h"
#include "image/resize/vexo_resampler.h"
#include "tests/image/resize/vexo_model.h"
#include "tests/support/alloc_counter.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <random>
#include <tuple>

namespace {

using T = TulImage;
using tultest::GuardedBuffer;
namespace vm = vexomodel;

struct VexoCase {
    int sw, sh, dw, dh;
    int srcMarginX, dstMarginX, dstMarginY;
    T::FIELD_TYPE field;
    bool fieldToField;
    int srcPad, dstPad;  // bytes past the row in each step
};

std::ostream& operator<<(std::ostream& os, const VexoCase& c)
{
    return os << c.sw << "x" << c.sh << "->" << c.dw << "x" << c.dh << " margins " << c.srcMarginX
              << "/" << c.dstMarginX << "/" << c.dstMarginY << " field " << c.field
              << (c.fieldToField ? " into field" : " into frame") << " pads " << c.srcPad << "/"
              << c.dstPad;
}

// Random cases after the listed ones, up to 70. YUY2 keeps whole pixel
// pairs (widths, margins and pads even); 4:2:0 needs a chroma row.
std::vector<VexoCase> WithRandomCases(std::vector<VexoCase> cases, bool packed, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int unit = packed ? 2 : 1;
    auto width = [&](int margin) { return margin + (packed ? 2 * pick(1, 24) : pick(2, 40)); };
    while (cases.size() < 70) {
        VexoCase c{};
        c.srcMarginX = 2 * unit * pick(0, 4 / unit);
        c.dstMarginX = 2 * unit * pick(0, 4 / unit);
        c.sw = width(c.srcMarginX);
        c.dw = width(c.dstMarginX);
        c.field = static_cast<T::FIELD_TYPE>(pick(0, 2));
        c.fieldToField = pick(0, 1) == 1;
        c.sh = pick((c.field == T::FIELD_FRAME ? 1 : 2) * (3 - unit), 30);
        c.dh = pick(2 * (3 - unit), 30);
        const int frameRows = c.field != T::FIELD_FRAME && c.fieldToField ? c.dh / 2 : c.dh;
        c.dstMarginY = pick(0, frameRows - (3 - unit));
        c.srcPad = unit * pick(0, 3);
        c.dstPad = unit * pick(0, 3);
        cases.push_back(c);
    }
    return cases;
}

// Frame 0 goes through the one-call entry; frames 1 and 2, with other
// content, through one plan prepared once, as a prepared TulImage runs
// them, allocating nothing.
bool ResizeFrame(tul::VexoFormat format, tul::VexoPlan& plan, int frame, const VexoCase& c,
                 int srcStep, int dstStep, unsigned char* src, unsigned char* dst)
{
    if (frame > 0) {
        const auto before = tultest::AllocationCount();
        const bool ok = plan.Run(src, dst, srcStep, dstStep);
        EXPECT_EQ(tultest::AllocationCount(), before);
        return ok;
    }
    auto once = format == tul::VexoFormat::Yuy2 ? tul::VexoResizeYUY2 : tul::VexoResizeYUV420;
    return plan.Prepare(format, {c.sw, c.sh}, {c.dw, c.dh}, c.srcMarginX, c.dstMarginX,
                        c.dstMarginY, c.field, c.fieldToField) &&
           once(src, dst, srcStep, dstStep, {c.sw, c.sh}, {c.dw, c.dh}, c.srcMarginX,
                c.dstMarginX, c.dstMarginY, c.field, c.fieldToField);
}

// Plane p of a 4:2:0 frame starts after the luma rows and, for V, the U rows.
int PlaneStart(int p, int rows, int step)
{
    return p == 0 ? 0 : rows * step + (p == 2 ? (rows / 2) * (step / 2) : 0);
}

// Three frames of a case against the model, plane by plane: YUY2 is one
// plane of two bytes a pixel; 4:2:0 is luma at the frame's step, then two
// chroma planes of half its width, rows, pitch and margins. Margins are
// split evenly around the picture, the top one in rows; a field takes
// every other row, starting one row down if odd. All else stays 0xEE.
void ExpectFramesMatchModel(bool planar, const VexoCase& c)
{
    const int bps = planar ? 1 : 2;
    const int srcStep = bps * c.sw + c.srcPad, dstStep = bps * c.dw + c.dstPad;
    const bool field = c.field != T::FIELD_FRAME, intoField = field && c.fieldToField;
    const int odd = c.field == T::FIELD_ODD ? 1 : 0;
    const int srcRows = field ? c.sh / 2 : c.sh, dstRows = (intoField ? c.dh / 2 : c.dh) - c.dstMarginY;
    const auto frameBytes = [planar](int rows, int step) {
        return static_cast<std::size_t>(rows) * step +
               (planar ? 2 * static_cast<std::size_t>(rows / 2) * (step / 2) : 0);
    };
    tul::VexoPlan plan;
    for (int frame = 0; frame < 3; ++frame) {
        GuardedBuffer src(frameBytes(c.sh, srcStep)), dst(frameBytes(c.dh, dstStep), 0xEE);
        tultest::FillRandom(src, static_cast<std::uint32_t>(c.sh * 131 + c.dw + frame));
        ASSERT_TRUE(ResizeFrame(planar ? tul::VexoFormat::Yuv420 : tul::VexoFormat::Yuy2, plan, frame, c,
                                srcStep, dstStep, src.data(), dst.data()));
        std::vector<unsigned char> expected(dst.size(), 0xEE);
        for (int p = 0; p < (planar ? 3 : 1); ++p) {
            const int k = p == 0 ? 1 : 2;
            const int width = (c.dw - c.dstMarginX) / k;
            if (width == 0 || dstRows / k == 0)
                continue;
            const int srcPitch = srcStep / k, dstPitch = dstStep / k;
            const int srcRowStep = (field ? 2 : 1) * srcPitch, dstRowStep = (intoField ? 2 : 1) * dstPitch;
            const vm::Pic in = vm::Take(src.data() + PlaneStart(p, c.sh, srcStep) +
                                            bps * (c.srcMarginX / 2) / k + odd * srcPitch,
                                        srcRowStep, bps * (c.sw - c.srcMarginX) / k, srcRows / k);
            vm::Put(planar ? vm::Plane(in, width, dstRows / k) : vm::Yuy2(in, width, dstRows),
                    expected.data() + PlaneStart(p, c.dh, dstStep) + bps * (c.dstMarginX / 2) / k +
                        (intoField ? odd : 0) * dstPitch + (c.dstMarginY / 2 / k) * dstRowStep,
                    dstRowStep);
        }
        EXPECT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << "frame " << frame;
        EXPECT_TRUE(dst.GuardsIntact());
    }
}

// ---- YUY2 ---------------------------------------------------------------------

class VexoYuy2 : public ::testing::TestWithParam<VexoCase> {};

TEST_P(VexoYuy2, PictureMatchesModelAndNothingElseIsWritten)
{
    ExpectFramesMatchModel(false, GetParam());
}

std::vector<VexoCase> Yuy2Cases()
{
    std::vector<VexoCase> cases = {
        {720, 6, 704, 6, 16, 0, 0, T::FIELD_FRAME, true, 0, 0},     // broadcast crop
        {704, 5, 720, 5, 0, 16, 0, T::FIELD_FRAME, true, 0, 8},     // broadcast pillarbox
        {352, 4, 720, 9, 0, 16, 0, T::FIELD_FRAME, true, 4, 0},
        {16, 12, 16, 16, 0, 0, 4, T::FIELD_FRAME, true, 0, 0},      // letterbox, same width
        {2, 1, 2, 1, 0, 0, 0, T::FIELD_FRAME, true, 0, 0},           // one pair
        {2, 2, 10, 7, 0, 0, 0, T::FIELD_EVEN, false, 0, 4},          // one-row field to frame
        {10, 9, 6, 9, 0, 0, 0, T::FIELD_ODD, true, 6, 2},
        {10, 8, 12, 11, 4, 4, 2, T::FIELD_ODD, false, 0, 0},
        {24, 14, 10, 15, 8, 0, 3, T::FIELD_EVEN, true, 2, 6},
        {8, 8, 8, 8, 0, 0, 0, T::FIELD_ODD, true, 0, 0},             // field copy
        {8, 8, 8, 8, 0, 0, 0, static_cast<T::FIELD_TYPE>(7), true, 0, 0},  // 7 means even
        {200, 9, 74, 26, 0, 0, 0, T::FIELD_FRAME, true, 4, 0},     // long lines, 100 -> 37 pairs
        {16, 8, 8, 4, 0, 0, 0, T::FIELD_FRAME, true, 0, 0},         // exact halves
    };
    return WithRandomCases(cases, true, 77);
}

INSTANTIATE_TEST_SUITE_P(Cases, VexoYuy2, ::testing::ValuesIn(Yuy2Cases()));

// ---- 4:2:0 --------------------------------------------------------------------

class VexoYuv420 : public ::testing::TestWithParam<VexoCase> {};

TEST_P(VexoYuv420, PlanesMatchModelAndNothingElseIsWritten)
{
    ExpectFramesMatchModel(true, GetParam());
}

std::vector<VexoCase> Yuv420Cases()
{
    std::vector<VexoCase> cases = {
        {720, 8, 704, 8, 16, 0, 0, T::FIELD_FRAME, true, 0, 0},
        {2, 6, 9, 6, 0, 0, 0, T::FIELD_FRAME, true, 0, 0},           // one chroma column
        {16, 12, 16, 16, 0, 0, 4, T::FIELD_FRAME, true, 0, 0},       // letterbox
        {16, 12, 16, 18, 0, 0, 6, T::FIELD_FRAME, true, 0, 0},       // odd rows above
        {12, 6, 20, 10, 0, 0, 0, T::FIELD_ODD, true, 0, 0},          // height 2 mod 4
        {12, 10, 20, 14, 4, 8, 2, T::FIELD_EVEN, true, 2, 4},
        {11, 9, 7, 5, 0, 0, 0, T::FIELD_FRAME, true, 1, 2},          // odd everything
        {10, 12, 14, 9, 2, 0, 1, T::FIELD_ODD, false, 0, 1},
        {1, 1, 1, 1, 0, 0, 0, T::FIELD_FRAME, true, 0, 0},           // no chroma at all
        {9, 16, 7, 24, 0, 0, 0, T::FIELD_ODD, true, 0, 0},           // odd steps, fields
        {9, 16, 13, 12, 2, 0, 0, T::FIELD_ODD, false, 0, 0},
        {100, 62, 37, 90, 0, 0, 0, T::FIELD_FRAME, true, 5, 0},     // long lines, 31 -> 45 rows
        {16, 8, 8, 4, 0, 0, 0, T::FIELD_FRAME, true, 0, 0},         // exact halves
    };
    return WithRandomCases(cases, false, 4242);
}

INSTANTIATE_TEST_SUITE_P(Cases, VexoYuv420, ::testing::ValuesIn(Yuv420Cases()));

// ---- In place -------------------------------------------------------------------

// Deinterlacing in place rebuilds a frame from one of its own fields: the
// result must be what an out-of-place call gives.
class VexoInPlace : public ::testing::TestWithParam<std::tuple<bool, T::FIELD_TYPE, int>> {};

TEST_P(VexoInPlace, FieldOntoItsOwnFrameEqualsOutOfPlace)
{
    const auto [planar, field, width] = GetParam();
    const int height = 14;
    const int step = planar ? width : 2 * width;
    const std::size_t bytes = planar ? static_cast<std::size_t>(step) * height * 3 / 2
                                     : static_cast<std::size_t>(step) * height;
    auto resize = planar ? tul::VexoResizeYUV420 : tul::VexoResizeYUY2;
    GuardedBuffer frame(bytes), apart(bytes, 0xEE);
    tultest::FillRandom(frame, static_cast<std::uint32_t>(width + field));
    const std::vector<unsigned char> before = frame.Bytes();
    ASSERT_TRUE(resize(const_cast<unsigned char*>(before.data()), apart.data(), step, step,
                       {width, height}, {width, height}, 0, 0, 0, field, false));
    ASSERT_TRUE(resize(frame.data(), frame.data(), step, step, {width, height}, {width, height}, 0,
                       0, 0, field, false));
    EXPECT_TRUE(tultest::SameBytes(apart.Bytes(), frame.Bytes()));
    // the whole frame in place onto itself changes nothing
    ASSERT_TRUE(resize(apart.data(), apart.data(), step, step, {width, height}, {width, height}, 0,
                       0, 0, T::FIELD_FRAME, true));
    EXPECT_TRUE(tultest::SameBytes(frame.Bytes(), apart.Bytes()));
    EXPECT_TRUE(frame.GuardsIntact() && apart.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(Fields, VexoInPlace,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(T::FIELD_EVEN, T::FIELD_ODD),
                                            ::testing::Values(2, 10, 64)));

// ---- Refusals -------------------------------------------------------------------

struct Refusal {
    IppiSize src, dst;
    int srcMarginX, dstMarginX, dstMarginY;
    T::FIELD_TYPE field;
    bool fieldToField;
    int srcStep;
};

// Geometry refused when the plan is made: the plan stays empty, its Run
// refuses, and the one-call entry refuses.
const Refusal kBadGeometry[] = {
    {{0, 8}, {8, 8}, 0, 0, 0, T::FIELD_FRAME, true, 32},
    {{8, 8}, {8, -2}, 0, 0, 0, T::FIELD_FRAME, true, 32},
    {{8, 8}, {8, 8}, 8, 0, 0, T::FIELD_FRAME, true, 32},   // all cropped
    {{8, 8}, {8, 8}, 0, 12, 0, T::FIELD_FRAME, true, 32},  // margin > width
    {{8, 8}, {8, 8}, 0, 0, 8, T::FIELD_FRAME, true, 32},   // all rows margin
    {{8, 8}, {8, 8}, -4, 0, 0, T::FIELD_FRAME, true, 32},
    {{8, 8}, {8, 8}, 0, 0, -2, T::FIELD_FRAME, true, 32},
    {{8, 1}, {8, 8}, 0, 0, 0, T::FIELD_ODD, false, 32},    // a field of no rows
    {{8, 8}, {8, 3}, 0, 0, 1, T::FIELD_EVEN, true, 32},
};

// Frames refused by a plan made for their sizes (the same on both sides):
// the step, used on either side, is negative, shorter than a row, makes a
// frame reach beyond 2^31 bytes, or does so once doubled for one field.
const Refusal kBadFrames[] = {
    {{8, 8}, {8, 8}, 0, 0, 0, T::FIELD_FRAME, true, -32},
    {{8, 8}, {8, 8}, 0, 0, 0, T::FIELD_FRAME, true, 4},
    {{8, 4096}, {8, 4096}, 0, 0, 0, T::FIELD_FRAME, true, 1 << 20},
    {{8, 2}, {8, 2}, 0, 0, 0, T::FIELD_EVEN, true, INT_MAX / 2 + 1},
};

TEST(VexoRefusals, UnresizablePicturesLeaveTheDestinationAlone)
{
    GuardedBuffer src(64 * 64), dst(64 * 64, 0xEE);
    tultest::FillRandom(src, 1);
    unsigned char* s = src.data();
    unsigned char* d = dst.data();
    for (const auto format : {tul::VexoFormat::Yuy2, tul::VexoFormat::Yuv420}) {
        auto once = format == tul::VexoFormat::Yuy2 ? tul::VexoResizeYUY2 : tul::VexoResizeYUV420;
        for (const Refusal& r : kBadGeometry) {
            tul::VexoPlan plan;
            EXPECT_FALSE(plan.Prepare(format, r.src, r.dst, r.srcMarginX, r.dstMarginX,
                                      r.dstMarginY, r.field, r.fieldToField));
            EXPECT_FALSE(plan.Ready() || plan.OutOfMemory());
            EXPECT_FALSE(plan.Run(s, d, 32, 32));
            EXPECT_FALSE(once(s, d, 32, 32, r.src, r.dst, r.srcMarginX, r.dstMarginX,
                              r.dstMarginY, r.field, r.fieldToField));
        }
        for (const Refusal& r : kBadFrames) {
            tul::VexoPlan plan;
            ASSERT_TRUE(plan.Prepare(format, r.src, r.dst, 0, 0, 0, r.field, r.fieldToField));
            EXPECT_FALSE(plan.Run(s, d, r.srcStep, 32)) << r.srcStep;
            EXPECT_FALSE(plan.Run(s, d, 32, r.srcStep)) << r.srcStep;
            EXPECT_FALSE(once(s, d, r.srcStep, 32, r.src, r.dst, 0, 0, 0, r.field, r.fieldToField));
        }
        tul::VexoPlan plan;
        ASSERT_TRUE(plan.Prepare(format, {8, 8}, {8, 8}, 0, 0, 0, T::FIELD_FRAME, true));
        EXPECT_FALSE(plan.Run(nullptr, d, 32, 32));
        EXPECT_FALSE(plan.Run(s, nullptr, 32, 32));
    }
    // YUY2: odd widths after the margins, and margins splitting pixel pairs
    tul::VexoPlan plan;
    const auto F = T::FIELD_FRAME;
    EXPECT_FALSE(plan.Prepare(tul::VexoFormat::Yuy2, {702, 1}, {351, 1}, 0, 0, 0, F, true));
    EXPECT_FALSE(plan.Prepare(tul::VexoFormat::Yuy2, {707, 1}, {352, 1}, 4, 0, 0, F, true));
    EXPECT_FALSE(plan.Prepare(tul::VexoFormat::Yuy2, {16, 4}, {16, 4}, 2, 0, 0, F, true));
    EXPECT_FALSE(plan.Prepare(tul::VexoFormat::Yuy2, {16, 4}, {16, 4}, 0, 6, 0, F, true));
    EXPECT_FALSE(tul::VexoResizeYUY2(s, d, 1404, 704, {702, 1}, {351, 1}, 0, 0, 0, F, true));
    for (std::size_t i = 0; i < dst.size(); ++i)
        ASSERT_EQ(dst[i], 0xEE) << i;
    EXPECT_TRUE(dst.GuardsIntact());
}

}  // namespace
