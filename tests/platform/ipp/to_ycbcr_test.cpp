// RGB to Y'CbCr primitives against plain models: the BT.601 and JFIF
// equations of the published coefficients evaluated exactly as rationals,
// block and pair chroma of the exact average; odd edges; bad arguments;
// the kernels' vector rows against scalar.
#include "platform/ipp/ippi.h"
#include "platform/ipp/to_ycbcr_rows.h"
#include "tests/support/ipp_refusals.h"
#include "tests/support/one_row_family.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using tultest::GuardedBuffer;

// round(num / den) halves up, num >= 0 (true of every equation here).
int Nearest(long long num, long long den) { return static_cast<int>((2 * num + den) / (2 * den)); }

// Y, Cb, Cr of the sums of n pixels: coefficients in thousandths
// (0.257 R + 0.504 G + 0.098 B + 16, ...), or in 1e-5 for JFIF. No
// result leaves 0..255, so nothing saturates.
std::array<int, 3> Bt601(int r, int g, int b, int n)
{
    return {Nearest(257LL * r + 504 * g + 98 * b + 16000LL * n, 1000LL * n),
            Nearest(-148LL * r - 291 * g + 439 * b + 128000LL * n, 1000LL * n),
            Nearest(439LL * r - 368 * g - 71 * b + 128000LL * n, 1000LL * n)};
}
std::array<int, 3> Jfif(int r, int g, int b)
{
    return {Nearest(29900LL * r + 58700 * g + 11400 * b, 100000),
            Nearest(-16874LL * r - 33126 * g + 50000 * b + 12800000, 100000),
            Nearest(50000LL * r - 41869 * g - 8131 * b + 12800000, 100000)};
}

// Even and odd sizes, padded steps. 4:2:0: whole blocks only, an odd last
// column and row left as they were. 4:2:2: an odd width's lone pixel gets
// its Y and a Cb of its own, nothing past 2W bytes.
TEST(RGBToYCbCr, MatchesModels)
{
    for (IppiSize roi : {IppiSize{8, 6}, IppiSize{7, 5}, IppiSize{38, 2}, IppiSize{1, 3}}) {
        const int w = roi.width, h = roi.height, ss = 3 * w + 5, steps[3] = {w + 3, w / 2 + 1, w / 2 + 2};
        GuardedBuffer src(static_cast<std::size_t>(ss) * h);
        tultest::FillRandom(src, 7u * w + h);
        auto px = [&](int x, int y, int c) { return int{src[static_cast<std::size_t>(y) * ss + 3 * x + c]}; };
        std::vector<GuardedBuffer> planes, jpeg;
        std::vector<std::vector<Ipp8u>> expected, expectedJpeg;
        for (int c = 0; c < 3; ++c) {
            planes.emplace_back(static_cast<std::size_t>(steps[c]) * h, 0x5A);
            jpeg.emplace_back(static_cast<std::size_t>(steps[0]) * h, 0x5A);
            expected.emplace_back(planes.back().Bytes());
            expectedJpeg.emplace_back(jpeg.back().Bytes());
        }
        GuardedBuffer packed(unsigned(2 * w + 1) * unsigned(h), 0x5A);  // unsigned: no false size warning
        std::vector<Ipp8u> expectedPacked = packed.Bytes();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto e = Bt601(px(x, y, 0), px(x, y, 1), px(x, y, 2), 1);
                if (x < (w & ~1) && y < (h & ~1))
                    expected[0][y * steps[0] + x] = static_cast<Ipp8u>(e[0]);
                const auto j = Jfif(px(x, y, 2), px(x, y, 1), px(x, y, 0));  // read as B, G, R
                for (int c = 0; c < 3; ++c)
                    expectedJpeg[c][y * steps[0] + x] = static_cast<Ipp8u>(j[c]);
                // 4:2:2 from the same bytes taken as R, G, B planes at step w + 1.
                const int o = x % 2 == 0 ? (x + 1 < w ? 1 : 0) : -1;
                auto pl = [&](int c, int dx) { return int{src[static_cast<std::size_t>(c * h + y) * (w + 1) + x + dx]}; };
                const auto own = Bt601(pl(0, 0), pl(1, 0), pl(2, 0), 1);
                const auto pair = o == 0 ? own : Bt601(pl(0, 0) + pl(0, o), pl(1, 0) + pl(1, o), pl(2, 0) + pl(2, o), 2);
                expectedPacked[y * (2 * w + 1) + 2 * x] = static_cast<Ipp8u>(own[0]);
                expectedPacked[y * (2 * w + 1) + 2 * x + 1] = static_cast<Ipp8u>(pair[x % 2 == 0 ? 1 : 2]);
            }
        for (int j = 0; j < h / 2; ++j)
            for (int i = 0; i < w / 2; ++i) {
                int s[3] = {};
                for (int c = 0; c < 3; ++c)
                    for (int k = 0; k < 4; ++k)
                        s[c] += px(2 * i + k % 2, 2 * j + k / 2, c);
                const auto e = Bt601(s[0], s[1], s[2], 4);
                expected[1][j * steps[1] + i] = static_cast<Ipp8u>(e[1]);
                expected[2][j * steps[2] + i] = static_cast<Ipp8u>(e[2]);
            }
        Ipp8u* dst[3] = {planes[0].data(), planes[1].data(), planes[2].data()};
        Ipp8u* jp[3] = {jpeg[0].data(), jpeg[1].data(), jpeg[2].data()};
        int dstStep[3] = {steps[0], steps[1], steps[2]};
        ASSERT_EQ(ippiRGBToYCbCr420_8u_C3P3R(src.data(), ss, dst, dstStep, roi), ippStsNoErr);
        ASSERT_EQ(ippiBGRToYCbCr_JPEG_8u_C3P3R(src.data(), ss, jp, steps[0], roi), ippStsNoErr);
        const Ipp8u* rgb[3] = {src.data(), src.data() + (w + 1) * h, src.data() + 2 * (w + 1) * h};
        ASSERT_EQ(ippiRGBToYCbCr422_8u_P3C2R(rgb, w + 1, packed.data(), 2 * w + 1, roi), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expectedPacked, packed.Bytes())) << w << "x" << h << " 4:2:2";
        for (int c = 0; c < 3; ++c) {
            EXPECT_TRUE(tultest::SameBytes(expected[c], planes[c].Bytes())) << w << "x" << h << " 4:2:0 plane " << c;
            EXPECT_TRUE(tultest::SameBytes(expectedJpeg[c], jpeg[c].Bytes())) << w << "x" << h << " JFIF " << c;
        }
    }
}

// The shared refusals, the planes of a planar picture in one buffer.
TEST(RGBToYCbCr, BadArgumentsWriteNothing)
{
    tultest::ExpectRefusals([](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        Ipp8u* planes[3] = {d, d + 128, d + 256};
        int steps[3] = {ds, ds, ds};
        return ippiRGBToYCbCr420_8u_C3P3R(s, ss, d ? planes : nullptr, steps, r);
    }, 12, 4);
    tultest::ExpectRefusals([](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        const Ipp8u* in[3] = {s, s + 64, s + 128};
        return ippiRGBToYCbCr422_8u_P3C2R(s ? in : nullptr, ss, d, ds, r);
    }, 4, 8);
    tultest::ExpectRefusals([](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        Ipp8u* planes[3] = {d, d + 128, d + 256};
        return ippiBGRToYCbCr_JPEG_8u_C3P3R(s, ss, d ? planes : nullptr, ds, r);
    }, 12, 4);
}

// The kernels' vector rows against their scalar rows, RGB24 and RGB32
// pixels (variant 1 gives both 4:2:0 rows one source row, as the lone
// block of a field does).
struct Rows420 {
    using Row = tulipp::Rows420Fn;
    struct Inputs {
        tultest::RowInput<Ipp8u> row0, row1;
    };
    tulipp::RowSet<Row> rows;
    int bytes, lanes = 16, variants = 2;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        auto row = [&] { return tultest::RandomRowInput<Ipp8u>(std::size_t(bytes) * n, offset, rng, 0, 255); };
        Inputs in{row(), {}};
        in.row1 = variant == 0 ? row() : in.row0;
        return in;
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const
    {
        return {{1, std::size_t(n)}, {1, std::size_t(n)}, {1, std::size_t(n / 2)}, {1, std::size_t(n / 2)}};
    }
    void Call(Row row, const Inputs& in, void* const* o, int n) const
    {
        row(in.row0.data(), in.row1.data(), static_cast<Ipp8u*>(o[0]), static_cast<Ipp8u*>(o[1]),
            static_cast<Ipp8u*>(o[2]), static_cast<Ipp8u*>(o[3]), n);
    }
};

using Yuy2Rows = tultest::OneRowFamily<tulipp::Yuy2RowFn>;  // pixels into YUY2 groups

TEST(RGBToYCbCrRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows420{tulipp::kRows420Bgr3, 3}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows420{tulipp::kRows420Bgr4, 4}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Yuy2Rows{tulipp::kYuy2RowsBgr3, 3, 4, 1, 2}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Yuy2Rows{tulipp::kYuy2RowsBgr4, 4, 4, 1, 2}));
}

}  // namespace
