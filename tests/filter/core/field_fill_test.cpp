// The in-place field fill and the rule that asks for it.
#include "filter/core/image_resizer.h"
#include "filter/core/resize_settings_values.h"
#include "tests/support/picture.h"

#include <cstring>
#include <tuple>
#include <vector>

namespace {

// Line by line on a separate copy: doubling copies each even line over
// the odd line below it; averaging sets each odd line to the floor of the
// mean of its neighbours, except the last, which copies the line above.
std::vector<unsigned char> ModelFill(std::vector<unsigned char> f, int width, int height,
                                     int method)
{
    const int row = width * 2;
    if (height < 2 || height % 2 != 0)
        return f;
    auto at = [&](int line, int b) -> unsigned char& { return f[line * row + b]; };
    if (method == 1) {
        for (int k = 0; 2 * k + 1 < height; ++k)
            for (int b = 0; b < row; ++b)
                at(2 * k + 1, b) = at(2 * k, b);
    } else if (method == 2) {
        for (int i = 1; i <= height - 3; i += 2)
            for (int b = 0; b < row; ++b)
                at(i, b) = static_cast<unsigned char>((at(i - 1, b) + at(i + 1, b)) / 2);
        for (int b = 0; b < row; ++b)
            at(height - 1, b) = at(height - 2, b);
    }
    return f;
}

using FillParam = std::tuple<int /*width*/, int /*height*/, int /*method*/>;

class FillFieldsOnFrames : public ::testing::TestWithParam<FillParam> {};

TEST_P(FillFieldsOnFrames, MatchesTheLineModelAndStaysInTheFrame)
{
    const auto [width, height, method] = GetParam();
    tultest::GuardedBuffer frame(static_cast<std::size_t>(width) * 2 * height);
    tultest::FillRandom(frame, 1000u + width * 7 + height * 13 + method);
    const auto expected = ModelFill(frame.Bytes(), width, height, method);
    CImageResizer::FillFields(frame.data(), width, height, method);
    EXPECT_TRUE(tultest::SameBytes(expected, frame.Bytes()));
    EXPECT_TRUE(frame.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(
    WidthsHeightsMethods, FillFieldsOnFrames,
    ::testing::Combine(::testing::Values(1, 2, 3, 7, 64, 361),
                       ::testing::Values(1, 2, 3, 4, 5, 6, 8, 9, 242),
                       ::testing::Values(-1, 0, 1, 2, 3, 99)));

TEST(FillFields, RefusesBadFramesWithoutTouchingThem)
{
    CImageResizer::FillFields(nullptr, 4, 4, FIELD_FILL_DOUBLE);
    CImageResizer::FillFields(nullptr, 4, 4, FIELD_FILL_AVERAGE);
    tultest::GuardedBuffer frame(64);
    tultest::FillRandom(frame, 9u);
    const auto before = frame.Bytes();
    for (int method : {FIELD_FILL_DOUBLE, FIELD_FILL_AVERAGE}) {
        CImageResizer::FillFields(frame.data(), 0, 4, method);
        CImageResizer::FillFields(frame.data(), -4, 4, method);
        CImageResizer::FillFields(frame.data(), INT32_MIN, 2, method);
        for (int height : {0, -2, -4})
            CImageResizer::FillFields(frame.data(), 4, height, method);
        // Frames whose bytes would pass 32 bits are refused before any line
        // is touched; the small buffer shows that nothing was written.
        CImageResizer::FillFields(frame.data(), 65536, 32768, method);
        CImageResizer::FillFields(frame.data(), INT32_MAX, 2, method);
    }
    EXPECT_TRUE(tultest::SameBytes(before, frame.Bytes()));
    EXPECT_TRUE(frame.GuardsIntact());
}

struct FieldRule {
    LONG srcHeight, pictureHeight, policy;
    bool expected;
};

class NeedsFieldFillRule : public ::testing::TestWithParam<FieldRule> {};

TEST_P(NeedsFieldFillRule, Decides)
{
    const FieldRule r = GetParam();
    EXPECT_EQ(CImageResizer::NeedsFieldFill(r.srcHeight, r.pictureHeight, r.policy), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Heights, NeedsFieldFillRule,
    ::testing::Values(
        FieldRule{480, 240, FIELD_POLICY_AUTO, false},  // ratio 2
        FieldRule{480, 160, FIELD_POLICY_AUTO, true},   // ratio 3
        FieldRule{480, 360, FIELD_POLICY_AUTO, true},   // not a multiple
        FieldRule{240, 480, FIELD_POLICY_AUTO, false},
        FieldRule{160, 480, FIELD_POLICY_AUTO, true},
        FieldRule{480, 120, FIELD_POLICY_AUTO, false},  // ratio 4
        FieldRule{480, 96, FIELD_POLICY_AUTO, true},    // ratio 5
        FieldRule{480, 213, FIELD_POLICY_AUTO, true},
        FieldRule{480, 1, FIELD_POLICY_AUTO, false},    // ratio 480
        FieldRule{1, 2, FIELD_POLICY_AUTO, false},
        // Different heights ignore the policy.
        FieldRule{480, 160, 1, true},
        FieldRule{480, 240, FIELD_POLICY_ALWAYS, false},
        // Equal heights follow the policy.
        FieldRule{480, 480, FIELD_POLICY_AUTO, false},  // 15 x 32
        FieldRule{480, 480, FIELD_POLICY_ALWAYS, true},
        FieldRule{480, 480, 1, false},
        FieldRule{480, 480, 2, false},
        FieldRule{480, 480, -1, false},
        FieldRule{486, 486, FIELD_POLICY_AUTO, true},
        FieldRule{576, 576, FIELD_POLICY_AUTO, false},
        FieldRule{1, 1, FIELD_POLICY_AUTO, true},
        FieldRule{32, 32, FIELD_POLICY_AUTO, false},
        FieldRule{1, 1, FIELD_POLICY_ALWAYS, true},
        // Heights that describe no frame never reach a division.
        FieldRule{480, 0, FIELD_POLICY_AUTO, false},
        FieldRule{0, 480, FIELD_POLICY_AUTO, false},
        FieldRule{0, 0, FIELD_POLICY_ALWAYS, false},
        FieldRule{480, -1, FIELD_POLICY_AUTO, false},
        FieldRule{-480, 240, FIELD_POLICY_AUTO, false},
        FieldRule{INT32_MIN, -1, FIELD_POLICY_AUTO, false}));

}  // namespace
