// Y'CbCr to RGB primitives: every (Y, Cb, Cr) against an exact model and a
// double model of the published equations, the 4:2:0 block rule and odd
// sizes, and bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

namespace {

using tultest::GuardedBuffer;

// Exact: the published coefficients as integers over `scale`; the quotient
// n / scale + 1/2 floored (C++ division truncates, so a negative remainder
// steps down), saturated.
template <long long scale>
int Exact(long long numerator)
{
    const long long t = numerator + scale / 2;
    const long long q = t / scale - (t % scale < 0 ? 1 : 0);
    return q < 0 ? 0 : q > 255 ? 255 : static_cast<int>(q);
}

std::array<int, 3> Bt601Exact(int y, int cb, int cr)
{
    const long long ys = 1164LL * (y - 16), u = cb - 128, v = cr - 128;
    return {Exact<1000>(ys + 1596 * v), Exact<1000>(ys - 392 * u - 813 * v), Exact<1000>(ys + 2017 * u)};
}

std::array<int, 3> JfifExact(int y, int cb, int cr)
{
    const long long ys = 100000LL * y, u = cb - 128, v = cr - 128;
    return {Exact<100000>(ys + 140200 * v), Exact<100000>(ys - 34414 * u - 71414 * v), Exact<100000>(ys + 177200 * u)};
}

// The doubles of the published equations, saturated: within 1 of the result.
bool Near(const std::array<int, 3>& got, double r, double g, double b)
{
    const double m[3] = {r, g, b};
    for (int c = 0; c < 3; ++c)
        if (std::abs(got[c] - std::clamp(m[c], 0.0, 255.0)) > 1.0)
            return false;
    return true;
}

// Every Cb and Y (rows and columns of one call) with every fourth Cr, the
// tie Cr 115 (Y 48 gives R 16.5) and the top. The packed and planar forms
// must give the same bytes.
bool CrSample(int cr) { return cr % 4 == 0 || cr == 115 || cr == 255; }
TEST(YCbCr422ToRgb, EveryInputAgainstTheModels)
{
    constexpr int kW = 256, kH = 256;
    GuardedBuffer src(2 * kW * kH), rgb(3 * kW * kH), planes(3 * kW * kH);
    for (int cr = 0; cr < 256; ++cr) {
        if (!CrSample(cr))
            continue;
        for (int cb = 0; cb < kH; ++cb)
            for (int k = 0; k < kW / 2; ++k) {
                Ipp8u* p = src.data() + 2 * kW * cb + 4 * k;
                p[0] = static_cast<Ipp8u>(2 * k), p[1] = static_cast<Ipp8u>(cb), p[2] = static_cast<Ipp8u>(2 * k + 1);
                p[3] = static_cast<Ipp8u>(cr);
            }
        ASSERT_EQ(ippiYCbCr422ToRGB_8u_C2C3R(src.data(), 2 * kW, rgb.data(), 3 * kW, {kW, kH}), ippStsNoErr);
        Ipp8u* p3[3] = {planes.data(), planes.data() + kW * kH, planes.data() + 2 * kW * kH};
        ASSERT_EQ(ippiYCbCr422ToRGB_8u_C2P3R(src.data(), 2 * kW, p3, kW, {kW, kH}), ippStsNoErr);
        for (int cb = 0; cb < kH; ++cb)
            for (int y = 0; y < kW; ++y) {
                const Ipp8u* px = rgb.data() + 3 * (kW * cb + y);
                const std::array<int, 3> got{px[0], px[1], px[2]};
                const bool planar = p3[0][kW * cb + y] == px[0] && p3[1][kW * cb + y] == px[1] &&
                                    p3[2][kW * cb + y] == px[2];
                if (got != Bt601Exact(y, cb, cr) || !planar ||
                    !Near(got, 1.164 * (y - 16) + 1.596 * (cr - 128),
                          1.164 * (y - 16) - 0.392 * (cb - 128) - 0.813 * (cr - 128), 1.164 * (y - 16) + 2.017 * (cb - 128)))
                    FAIL() << "Y " << y << " Cb " << cb << " Cr " << cr << (planar ? "" : " (planar)");
            }
    }
    EXPECT_TRUE(src.GuardsIntact() && rgb.GuardsIntact() && planes.GuardsIntact());
}

// The same sweep for the JFIF pair, planes Y (columns), Cb (rows) and one Cr.
TEST(YCbCrToRgbJpeg, EveryInputAgainstTheModels)
{
    constexpr int kW = 256, kH = 256;
    GuardedBuffer in(3 * kW * kH), bgr(3 * kW * kH), planes(3 * kW * kH);
    for (int cb = 0; cb < kH; ++cb)
        for (int y = 0; y < kW; ++y)
            in[kW * cb + y] = static_cast<Ipp8u>(y), in[kW * kH + kW * cb + y] = static_cast<Ipp8u>(cb);
    const Ipp8u* src[3] = {in.data(), in.data() + kW * kH, in.data() + 2 * kW * kH};
    Ipp8u* p3[3] = {planes.data(), planes.data() + kW * kH, planes.data() + 2 * kW * kH};
    for (int cr = 0; cr < 256; ++cr) {
        if (!CrSample(cr))
            continue;
        for (int i = 0; i < kW * kH; ++i)
            in[2 * kW * kH + i] = static_cast<Ipp8u>(cr);
        ASSERT_EQ(ippiYCbCrToBGR_JPEG_8u_P3C3R(src, kW, bgr.data(), 3 * kW, {kW, kH}), ippStsNoErr);
        ASSERT_EQ(ippiYCbCrToRGB_JPEG_8u_P3R(src, kW, p3, kW, {kW, kH}), ippStsNoErr);
        for (int cb = 0; cb < kH; ++cb)
            for (int y = 0; y < kW; ++y) {
                const Ipp8u* px = bgr.data() + 3 * (kW * cb + y);
                const std::array<int, 3> got{px[2], px[1], px[0]};
                const bool planar = p3[0][kW * cb + y] == got[0] && p3[1][kW * cb + y] == got[1] &&
                                    p3[2][kW * cb + y] == got[2];
                if (got != JfifExact(y, cb, cr) || !planar ||
                    !Near(got, y + 1.402 * (cr - 128), y - 0.34414 * (cb - 128) - 0.71414 * (cr - 128),
                          y + 1.772 * (cb - 128)))
                    FAIL() << "Y " << y << " Cb " << cb << " Cr " << cr << (planar ? "" : " (planar)");
            }
    }
}

// Each chroma sample serves its 2x2 block; an odd last column or row, and
// a lone last pixel of a 4:2:2 row, are left as they were.
TEST(YCbCr420ToBgr, BlocksAndOddSizes)
{
    for (const auto& [w, h] : {std::pair{2, 2}, {7, 5}, {64, 9}, {33, 4}}) {
        const int ys = w + 3, cs = w / 2 + 2, ds = 3 * w + 5;
        GuardedBuffer y(unsigned(ys) * unsigned(h)), u(unsigned(cs) * unsigned(h / 2)), v(unsigned(cs) * unsigned(h / 2)),
            dst(unsigned(ds) * unsigned(h));
        tultest::FillRandom(y, w), tultest::FillRandom(u, h), tultest::FillRandom(v, w + h);
        tultest::FillRandom(dst, 7);
        auto expected = dst.Bytes();
        for (int r = 0; r < (h & ~1); ++r)
            for (int x = 0; x < (w & ~1); ++x) {
                const auto rgb = Bt601Exact(y[ys * r + x], u[cs * (r / 2) + x / 2], v[cs * (r / 2) + x / 2]);
                for (int c = 0; c < 3; ++c)
                    expected[ds * r + 3 * x + c] = static_cast<Ipp8u>(rgb[2 - c]);
            }
        const Ipp8u* planes[3] = {y.data(), u.data(), v.data()};
        int steps[3] = {ys, cs, cs};
        ASSERT_EQ(ippiYCbCr420ToBGR_8u_P3C3R(planes, steps, dst.data(), ds, {w, h}), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << w << "x" << h;
        EXPECT_TRUE(dst.GuardsIntact());

        GuardedBuffer packed(2 * unsigned(w) * unsigned(h) + 2), rgb(3 * unsigned(w) * unsigned(h));
        tultest::FillRandom(packed, 3), tultest::FillRandom(rgb, 4);
        const auto before = rgb.Bytes();
        ASSERT_EQ(ippiYCbCr422ToRGB_8u_C2C3R(packed.data(), 2 * w, rgb.data(), 3 * w, {w, h}), ippStsNoErr);
        for (int r = 0; r < h && w % 2 != 0; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(rgb[3 * w * r + 3 * (w - 1) + c], before[3 * w * r + 3 * (w - 1) + c]);
    }
}

// Null, then size, then step, then written rows that would overlap; every
// refusal writes nothing.
TEST(YCbCrToRgbPrimitives, BadArgumentsWriteNothing)
{
    constexpr int kW = 4, kH = 2;
    GuardedBuffer src(2 * kW * kH), dst(3 * kW * kH * 3);
    tultest::FillRandom(src, 1), tultest::FillRandom(dst, 2);
    const auto before = dst.Bytes();
    Ipp8u* p3[3] = {dst.data(), dst.data() + 3 * kW * kH, dst.data() + 6 * kW * kH};
    // Each primitive with (source or null, source step, destination or null,
    // destination step, roi); `pixel` is its written bytes per pixel.
    using Call = std::function<IppStatus(const Ipp8u*, int, Ipp8u*, int, IppiSize)>;
    const struct {
        Call call;
        int pixel;
    } primitives[] = {
        {[](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) { return ippiYCbCr422ToRGB_8u_C2C3R(s, ss, d, ds, r); }, 3},
        {[&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
             Ipp8u* planes[3] = {d, p3[1], p3[2]};
             return ippiYCbCr422ToRGB_8u_C2P3R(s, ss, planes, ds, r);
         }, 1},
        {[](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
             const Ipp8u* planes[3] = {s, s, s};
             int steps[3] = {ss, ss, ss};
             return ippiYCbCr420ToBGR_8u_P3C3R(planes, steps, d, ds, r);
         }, 3},
        {[](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
             const Ipp8u* planes[3] = {s, s, s};
             return ippiYCbCrToBGR_JPEG_8u_P3C3R(planes, ss, d, ds, r);
         }, 3},
        {[&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
             const Ipp8u* planes[3] = {s, s, s};
             Ipp8u* out[3] = {d, p3[1], p3[2]};
             return ippiYCbCrToRGB_JPEG_8u_P3R(planes, ss, out, ds, r);
         }, 1},
    };
    for (const auto& p : primitives) {
        const int ds = p.pixel * kW;
        const IppiSize roi{kW, kH};
        EXPECT_EQ(p.call(nullptr, 2 * kW, dst.data(), ds, roi), ippStsNullPtrErr);
        EXPECT_EQ(p.call(src.data(), 2 * kW, nullptr, ds, {0, 0}), ippStsNullPtrErr);
        EXPECT_EQ(p.call(src.data(), 2 * kW, dst.data(), ds, {0, kH}), ippStsSizeErr);
        EXPECT_EQ(p.call(src.data(), 0, dst.data(), ds, {kW, -1}), ippStsSizeErr);
        EXPECT_EQ(p.call(src.data(), 0, dst.data(), ds, roi), ippStsStepErr);
        EXPECT_EQ(p.call(src.data(), 2 * kW, dst.data(), -ds, roi), ippStsStepErr);
        EXPECT_EQ(p.call(src.data(), 2 * kW, dst.data(), ds - 1, roi), ippStsStrideErr);
        EXPECT_EQ(dst.Bytes(), before) << "pixel bytes " << p.pixel;
    }
    EXPECT_EQ(ippiYCbCr422ToRGB_8u_C2P3R(src.data(), 2 * kW, nullptr, kW, {kW, kH}), ippStsNullPtrErr);
}

}  // namespace
