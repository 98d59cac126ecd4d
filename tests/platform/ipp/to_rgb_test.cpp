// Y'CbCr to RGB primitives: every Y and Cb (with a sample of Cr) against
// an exact model and a double model of the published equations, the 4:2:0
// block rule and odd sizes, and bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/ipp_refusals.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

namespace {

using tultest::GuardedBuffer;
using Rgb = std::array<int, 3>;

// Exact: the published coefficients as integers over 10^digits, the
// quotient + 1/2 floored (C++ division truncates, so a negative remainder
// steps down), saturated; {-1, -1, -1} if the double form is not within 1.
// Coefficients: luma, R from Cr, G from Cb and Cr, B from Cb.
Rgb Model(bool jfif, int y, int cb, int cr)
{
    const long long s = jfif ? 100000 : 1000, u = cb - 128, v = cr - 128, ys = jfif ? s * y : 1164LL * (y - 16);
    const long long n[3] = {ys + (jfif ? 140200 : 1596) * v, ys - (jfif ? 34414 : 392) * u - (jfif ? 71414 : 813) * v,
                            ys + (jfif ? 177200 : 2017) * u};
    Rgb out;
    for (int c = 0; c < 3; ++c) {
        const long long t = n[c] + s / 2, q = t / s - (t % s < 0 ? 1 : 0);
        out[c] = static_cast<int>(std::clamp(q, 0LL, 255LL));
        if (std::abs(out[c] - std::clamp(double(n[c]) / double(s), 0.0, 255.0)) > 1.0)
            return {-1, -1, -1};
    }
    return out;
}

// Rows are Cb and columns Y; every eighth Cr, the tie Cr 115 (Y 48 gives
// R 16.5) and the top. The packed and planar forms must agree.
TEST(YCbCrToRgb, EveryYAndCbAgainstTheModels)
{
    constexpr int kW = 256, kP = kW * kW;
    GuardedBuffer packed(2 * kP), planes(3 * kP), rgb(3 * kP), out3(3 * kP), bgr(3 * kP), jpeg3(3 * kP);
    Ipp8u* const o3[3] = {out3.data(), out3.data() + kP, out3.data() + 2 * kP};
    Ipp8u* const j3[3] = {jpeg3.data(), jpeg3.data() + kP, jpeg3.data() + 2 * kP};
    const Ipp8u* const in3[3] = {planes.data(), planes.data() + kP, planes.data() + 2 * kP};
    for (int cr = 0; cr < 256; ++cr) {
        if (cr % 8 != 0 && cr != 115 && cr != 255)
            continue;
        for (int i = 0; i < kP; ++i) {
            packed[2 * i] = static_cast<Ipp8u>(i % kW), packed[2 * i + 1] = static_cast<Ipp8u>(i % 2 ? cr : i / kW);
            planes[i] = static_cast<Ipp8u>(i % kW), planes[kP + i] = static_cast<Ipp8u>(i / kW);
            planes[2 * kP + i] = static_cast<Ipp8u>(cr);
        }
        ASSERT_EQ(ippiYCbCr422ToRGB_8u_C2C3R(packed.data(), 2 * kW, rgb.data(), 3 * kW, {kW, kW}), ippStsNoErr);
        Ipp8u* p3[3] = {o3[0], o3[1], o3[2]};
        ASSERT_EQ(ippiYCbCr422ToRGB_8u_C2P3R(packed.data(), 2 * kW, p3, kW, {kW, kW}), ippStsNoErr);
        const Ipp8u* src3[3] = {in3[0], in3[1], in3[2]};
        ASSERT_EQ(ippiYCbCrToBGR_JPEG_8u_P3C3R(src3, kW, bgr.data(), 3 * kW, {kW, kW}), ippStsNoErr);
        Ipp8u* jp[3] = {j3[0], j3[1], j3[2]};
        ASSERT_EQ(ippiYCbCrToRGB_JPEG_8u_P3R(src3, kW, jp, kW, {kW, kW}), ippStsNoErr);
        for (int i = 0; i < kP; ++i) {
            const int y = i % kW, cb = i / kW;
            const Rgb video{rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]}, jfif{bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]};
            const bool same = video == Rgb{o3[0][i], o3[1][i], o3[2][i]} && jfif == Rgb{j3[0][i], j3[1][i], j3[2][i]};
            if (!same || video != Model(false, y, cb, cr) || jfif != Model(true, y, cb, cr))
                FAIL() << "Y " << y << " Cb " << cb << " Cr " << cr << (same ? "" : ": the planar form differs");
        }
    }
}

// Each chroma sample serves its 2x2 block; an odd last column or row, and
// a 4:2:2 row's lone last pixel, are left as they were.
TEST(YCbCrToRgb, BlocksAndOddSizes)
{
    for (const auto& [w, h] : {std::pair{2, 2}, {7, 5}, {64, 9}, {33, 4}}) {
        const int ys = w + 3, cs = w / 2 + 2, ds = 3 * w + 5;
        GuardedBuffer y(unsigned(ys * h)), u(unsigned(cs * h)), v(unsigned(cs * h)), dst(unsigned(ds * h));
        tultest::FillRandom(y, w), tultest::FillRandom(u, h), tultest::FillRandom(v, w + h), tultest::FillRandom(dst, 7);
        auto expected = dst.Bytes();
        for (int r = 0; r < (h & ~1); ++r)
            for (int x = 0; x < (w & ~1); ++x) {
                const Rgb rgb = Model(false, y[ys * r + x], u[cs * (r / 2) + x / 2], v[cs * (r / 2) + x / 2]);
                for (int c = 0; c < 3; ++c)
                    expected[ds * r + 3 * x + c] = static_cast<Ipp8u>(rgb[2 - c]);
            }
        const Ipp8u* planes[3] = {y.data(), u.data(), v.data()};
        int steps[3] = {ys, cs, cs};
        ASSERT_EQ(ippiYCbCr420ToBGR_8u_P3C3R(planes, steps, dst.data(), ds, {w, h}), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << w << "x" << h;
        const auto before = dst.Bytes();
        ASSERT_EQ(ippiYCbCr422ToRGB_8u_C2C3R(y.data(), 2 * w, dst.data(), 3 * w, {w, h / 2}), ippStsNoErr);
        for (int r = 0; r < h / 2 && w % 2 != 0; ++r)
            EXPECT_EQ(dst[3 * w * r + 3 * w - 1], before[3 * w * r + 3 * w - 1]);
    }
}

// The shared refusals; the planar forms' other planes are valid and stay unwritten.
TEST(YCbCrToRgb, BadArgumentsWriteNothing)
{
    GuardedBuffer other(64, 3);
    Ipp8u* const d = other.data();
    using Call = std::function<IppStatus(const Ipp8u*, int, Ipp8u*, int, IppiSize)>;
    const std::pair<Call, int> primitives[] = {  // the call and its written bytes per pixel
        {[](const Ipp8u* s, int ss, Ipp8u* o, int os, IppiSize r) { return ippiYCbCr422ToRGB_8u_C2C3R(s, ss, o, os, r); }, 3},
        {[&](const Ipp8u* s, int ss, Ipp8u* o, int os, IppiSize r) {
             Ipp8u* p[3] = {o, d, d};
             return ippiYCbCr422ToRGB_8u_C2P3R(s, ss, p, os, r);
         }, 1},
        {[](const Ipp8u* s, int ss, Ipp8u* o, int os, IppiSize r) {
             const Ipp8u* p[3] = {s, s, s};
             int steps[3] = {ss, ss, ss};
             return ippiYCbCr420ToBGR_8u_P3C3R(p, steps, o, os, r);
         }, 3},
        {[](const Ipp8u* s, int ss, Ipp8u* o, int os, IppiSize r) {
             const Ipp8u* p[3] = {s, s, s};
             return ippiYCbCrToBGR_JPEG_8u_P3C3R(p, ss, o, os, r);
         }, 3},
        {[&](const Ipp8u* s, int ss, Ipp8u* o, int os, IppiSize r) {
             const Ipp8u* p[3] = {s, s, s};
             Ipp8u* q[3] = {o, d, d};
             return ippiYCbCrToRGB_JPEG_8u_P3R(p, ss, q, os, r);
         }, 1},
    };
    for (const auto& [call, pixel] : primitives)
        tultest::ExpectRefusals(call, 8, 4 * pixel);
    EXPECT_EQ(ippiYCbCr422ToRGB_8u_C2P3R(d, 8, nullptr, 4, {4, 2}), ippStsNullPtrErr);
    EXPECT_EQ(other.Bytes(), std::vector<Ipp8u>(64, 3));
}

}  // namespace
