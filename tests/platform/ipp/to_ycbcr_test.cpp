// RGB to Y'CbCr primitives against plain models: the BT.601 equations of
// the published coefficients and the JFIF ones, evaluated exactly as
// rationals (and in doubles within 1), block and pair chroma of the exact
// average; odd edges and bad arguments.
#include "platform/ipp/ippi.h"
#include "platform/ipp/to_ycbcr_rows.h"
#include "tests/support/simd_conformance.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using tultest::GuardedBuffer;

// round(num / den) with halves up, for num >= 0 (every equation here has
// a positive numerator once its offset is in).
int Nearest(long long num, long long den) { return static_cast<int>((2 * num + den) / (2 * den)); }
int Clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// Y, Cb, Cr of the sums of n pixels: coefficients in thousandths
// (0.257 R + 0.504 G + 0.098 B + 16, ...), or in 1e-5 for JFIF.
struct Ycc {
    int y, cb, cr;
};
Ycc Bt601(int r, int g, int b, int n)
{
    return {Clamp(Nearest(257LL * r + 504 * g + 98 * b + 16000LL * n, 1000LL * n)),
            Clamp(Nearest(-148LL * r - 291 * g + 439 * b + 128000LL * n, 1000LL * n)),
            Clamp(Nearest(439LL * r - 368 * g - 71 * b + 128000LL * n, 1000LL * n))};
}
Ycc Jfif(int r, int g, int b)
{
    return {Clamp(Nearest(29900LL * r + 58700 * g + 11400 * b, 100000)),
            Clamp(Nearest(-16874LL * r - 33126 * g + 50000 * b + 12800000, 100000)),
            Clamp(Nearest(50000LL * r - 41869 * g - 8131 * b + 12800000, 100000))};
}
// The same equations in doubles: the exact model must stay within 1.
void NearDouble(Ycc e, double r, double g, double b)
{
    EXPECT_NEAR(e.y, 0.257 * r + 0.504 * g + 0.098 * b + 16, 0.5 + 1e-9);
    EXPECT_NEAR(e.cb, -0.148 * r - 0.291 * g + 0.439 * b + 128, 0.5 + 1e-9);
    EXPECT_NEAR(e.cr, 0.439 * r - 0.368 * g - 0.071 * b + 128, 0.5 + 1e-9);
}

TEST(RGBToYCbCr, StudioAnchors)
{
    EXPECT_EQ(Bt601(0, 0, 0, 1).y, 16);
    EXPECT_EQ(Bt601(255, 255, 255, 1).y, 235);
    EXPECT_EQ(Bt601(0, 0, 0, 1).cb, 128);
    EXPECT_EQ(Jfif(128, 128, 128).cb, 128);
}

// 4:2:0 from R, G, B pixels at odd and even sizes: whole blocks only, the
// odd last column and row left as they were.
TEST(RGBToYCbCr, To420MatchesModel)
{
    for (IppiSize roi : {IppiSize{8, 6}, IppiSize{7, 5}, IppiSize{34, 2}, IppiSize{1, 3}}) {
        const int w = roi.width, h = roi.height, srcStep = 3 * w + 5, steps[3] = {w + 3, w / 2 + 1, w / 2 + 2};
        GuardedBuffer src(static_cast<std::size_t>(srcStep) * h);
        tultest::FillRandom(src, 7u * w + h);
        std::vector<GuardedBuffer> planes;
        for (int c = 0; c < 3; ++c)
            planes.emplace_back(static_cast<std::size_t>(steps[c]) * h, 0x5A);
        Ipp8u* dst[3] = {planes[0].data(), planes[1].data(), planes[2].data()};
        int dstStep[3] = {steps[0], steps[1], steps[2]};
        ASSERT_EQ(ippiRGBToYCbCr420_8u_C3P3R(src.data(), srcStep, dst, dstStep, roi), ippStsNoErr);
        auto px = [&](int x, int y, int c) { return int{src[static_cast<std::size_t>(y) * srcStep + 3 * x + c]}; };
        // Expected planes: the padding byte wherever no whole block writes.
        std::vector<std::vector<Ipp8u>> expected;
        for (int c = 0; c < 3; ++c)
            expected.emplace_back(static_cast<std::size_t>(steps[c]) * h, 0x5A);
        for (int y = 0; y < (h & ~1); ++y)
            for (int x = 0; x < (w & ~1); ++x) {
                const Ycc e = Bt601(px(x, y, 0), px(x, y, 1), px(x, y, 2), 1);
                NearDouble(e, px(x, y, 0), px(x, y, 1), px(x, y, 2));
                expected[0][static_cast<std::size_t>(y) * steps[0] + x] = static_cast<Ipp8u>(e.y);
            }
        for (int j = 0; j < h / 2; ++j)
            for (int i = 0; i < w / 2; ++i) {
                int s[3] = {};
                for (int c = 0; c < 3; ++c)
                    s[c] = px(2 * i, 2 * j, c) + px(2 * i + 1, 2 * j, c) + px(2 * i, 2 * j + 1, c) +
                           px(2 * i + 1, 2 * j + 1, c);
                const Ycc e = Bt601(s[0], s[1], s[2], 4);
                NearDouble(e, s[0] / 4.0, s[1] / 4.0, s[2] / 4.0);
                expected[1][static_cast<std::size_t>(j) * steps[1] + i] = static_cast<Ipp8u>(e.cb);
                expected[2][static_cast<std::size_t>(j) * steps[2] + i] = static_cast<Ipp8u>(e.cr);
            }
        for (int c = 0; c < 3; ++c)
            EXPECT_TRUE(tultest::SameBytes(expected[c], planes[c].Bytes())) << w << "x" << h << " plane " << c;
        for (const auto& p : planes)
            EXPECT_TRUE(p.GuardsIntact());
    }
}

// 4:2:2 from R, G, B planes; JFIF from B, G, R pixels. An odd width's lone
// pixel gets its Y and a Cb of its own and nothing past 2W bytes.
TEST(RGBToYCbCr, To422AndJpegMatchModels)
{
    for (int w : {2, 7, 40}) {
        const int h = 3, step = w + 2, dstStep = 2 * w + 3;
        GuardedBuffer planes(static_cast<std::size_t>(step) * h * 3), dst(static_cast<std::size_t>(dstStep) * h, 0x5A);
        tultest::FillRandom(planes, 11u + w);
        const Ipp8u* src[3] = {planes.data(), planes.data() + step * h, planes.data() + 2 * step * h};
        ASSERT_EQ(ippiRGBToYCbCr422_8u_P3C2R(src, step, dst.data(), dstStep, {w, h}), ippStsNoErr);
        GuardedBuffer bgr(static_cast<std::size_t>(3 * w + 1) * h), jpeg(static_cast<std::size_t>(step) * h * 3);
        tultest::FillRandom(bgr, 13u + w);
        Ipp8u* jp[3] = {jpeg.data(), jpeg.data() + step * h, jpeg.data() + 2 * step * h};
        ASSERT_EQ(ippiBGRToYCbCr_JPEG_8u_C3P3R(bgr.data(), 3 * w + 1, jp, step, {w, h}), ippStsNoErr);
        for (int y = 0; y < h; ++y) {
            const Ipp8u* d = dst.data() + y * dstStep;
            auto c = [&](int plane, int x) { return int{src[plane][y * step + x]}; };
            for (int x = 0; x + 1 < w; x += 2) {
                const Ycc pair = Bt601(c(0, x) + c(0, x + 1), c(1, x) + c(1, x + 1), c(2, x) + c(2, x + 1), 2);
                EXPECT_EQ(d[2 * x], Bt601(c(0, x), c(1, x), c(2, x), 1).y);
                EXPECT_EQ(d[2 * x + 1], pair.cb);
                EXPECT_EQ(d[2 * x + 2], Bt601(c(0, x + 1), c(1, x + 1), c(2, x + 1), 1).y);
                EXPECT_EQ(d[2 * x + 3], pair.cr);
            }
            if (w % 2 != 0) {
                const Ycc lone = Bt601(c(0, w - 1), c(1, w - 1), c(2, w - 1), 1);
                EXPECT_EQ(d[2 * w - 2], lone.y);
                EXPECT_EQ(d[2 * w - 1], lone.cb);
            }
            for (int i = 2 * w; i < dstStep; ++i)
                EXPECT_EQ(d[i], 0x5A);
            for (int x = 0; x < w; ++x) {
                const Ipp8u* p = bgr.data() + y * (3 * w + 1) + 3 * x;
                const Ycc e = Jfif(p[2], p[1], p[0]);
                EXPECT_EQ(jp[0][y * step + x], e.y);
                EXPECT_EQ(jp[1][y * step + x], e.cb);
                EXPECT_EQ(jp[2][y * step + x], e.cr);
                EXPECT_NEAR(e.y, 0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0], 0.5 + 1e-9);
            }
        }
        EXPECT_TRUE(dst.GuardsIntact() && jpeg.GuardsIntact());
    }
}

// Null, size, step, then overlapping written rows; nothing written.
TEST(RGBToYCbCr, BadArgumentsWriteNothing)
{
    GuardedBuffer src(64 * 4, 1), out(64 * 4, 2);
    Ipp8u* p = out.data();
    Ipp8u* planes[3] = {p, p + 64, p + 128};
    const Ipp8u* in[3] = {src.data(), src.data() + 64, src.data() + 128};
    auto all = [&](IppStatus expected, IppiSize roi, int s, int d) {
        int steps[3] = {d, d, d};
        EXPECT_EQ(ippiRGBToYCbCr420_8u_C3P3R(src.data(), s, planes, steps, roi), expected);
        EXPECT_EQ(ippiRGBToYCbCr422_8u_P3C2R(in, s, p, 2 * d, roi), expected);
        EXPECT_EQ(ippiBGRToYCbCr_JPEG_8u_C3P3R(src.data(), s, planes, d, roi), expected);
    };
    Ipp8u* none = nullptr;
    EXPECT_EQ(ippiRGBToYCbCr420_8u_C3P3R(nullptr, 12, planes, nullptr, {4, 2}), ippStsNullPtrErr);
    EXPECT_EQ(ippiRGBToYCbCr422_8u_P3C2R(nullptr, 4, p, 8, {4, 2}), ippStsNullPtrErr);
    EXPECT_EQ(ippiBGRToYCbCr_JPEG_8u_C3P3R(src.data(), 12, nullptr, 4, {4, 2}), ippStsNullPtrErr);
    EXPECT_EQ(ippiRGBToYCbCr420_8u_C3P3R(src.data(), 12, &none, nullptr, {4, 2}), ippStsNullPtrErr);
    all(ippStsSizeErr, {0, 2}, 12, 4);
    all(ippStsSizeErr, {4, -1}, 12, 4);
    all(ippStsStepErr, {4, 2}, 0, 4);
    all(ippStsStepErr, {4, 2}, 12, -4);
    // Rows written would overlap: the luma step 3 under a width of 4.
    EXPECT_EQ(ippiRGBToYCbCr420_8u_C3P3R(src.data(), 12, planes, std::array<int, 3>{3, 2, 2}.data(), {4, 2}),
              ippStsStrideErr);
    EXPECT_EQ(ippiRGBToYCbCr422_8u_P3C2R(in, 4, p, 7, {4, 2}), ippStsStrideErr);
    EXPECT_EQ(ippiBGRToYCbCr_JPEG_8u_C3P3R(src.data(), 12, planes, 3, {4, 2}), ippStsStrideErr);
    EXPECT_EQ(out.Bytes(), std::vector<Ipp8u>(out.size(), 2));
}

// The kernels' vector rows against their scalar rows, RGB24 and RGB32
// pixels (variant 1 gives both 4:2:0 rows one source row, as a field's
// lone block does).
struct Rows420 {
    using Row = tulipp::Rows420Fn;
    struct Inputs {
        tultest::RowInput<Ipp8u> row0, row1;
    };
    tulipp::RowSet<Row> rows;
    int bytes;
    int lanes = 16;
    int variants = 2;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        Inputs in{tultest::RandomRowInput<Ipp8u>(std::size_t(bytes) * n, offset, rng, 0, 255), {}};
        in.row1 = variant == 0 ? tultest::RandomRowInput<Ipp8u>(std::size_t(bytes) * n, offset, rng, 0, 255) : in.row0;
        return in;
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const
    {
        return {{1, std::size_t(n)}, {1, std::size_t(n)}, {1, std::size_t(n) / 2}, {1, std::size_t(n) / 2}};
    }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.row0.data(), in.row1.data(), static_cast<Ipp8u*>(out[0]), static_cast<Ipp8u*>(out[1]),
            static_cast<Ipp8u*>(out[2]), static_cast<Ipp8u*>(out[3]), n);
    }
};

struct Yuy2Rows {
    using Row = tulipp::Yuy2RowFn;
    struct Inputs {
        tultest::RowInput<Ipp8u> row;
    };
    tulipp::RowSet<Row> rows;
    int bytes;
    int lanes = 16;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return {tultest::RandomRowInput<Ipp8u>(std::size_t(bytes) * n, offset, rng, 0, 255)};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const { return {{1, 2 * std::size_t((n + 1) / 2 * 2)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.row.data(), static_cast<Ipp8u*>(out[0]), n);
    }
};

TEST(RGBToYCbCrRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows420{tulipp::kRows420Bgr3, 3}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows420{tulipp::kRows420Bgr4, 4}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Yuy2Rows{tulipp::kYuy2RowsBgr3, 3}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Yuy2Rows{tulipp::kYuy2RowsBgr4, 4}));
}

}  // namespace
