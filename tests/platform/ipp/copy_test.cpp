// ippiCopy_*: every layout against a plain model over widths, heights,
// padded steps and start offsets; channels the copy must not touch stay as
// they were; overlapping pictures; bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using tultest::GuardedBuffer;

// A picture held either interleaved (one buffer) or as one buffer per plane.
struct Image {
    Image(int channelsIn, bool planarIn, int width, int heightIn, int pad, int offset, std::uint32_t seed)
        : channels(channelsIn), planar(planarIn), height(heightIn),
          step((planarIn ? width : width * channelsIn) + pad)
    {
        const int count = planar ? channels : 1;
        for (int p = 0; p < count; ++p) {
            buffers.emplace_back(static_cast<std::size_t>(offset) + static_cast<std::size_t>(step) * height);
            tultest::FillRandom(buffers.back(), seed + p);
        }
        for (auto& b : buffers)
            ptrs.push_back(b.data() + offset);
    }
    Ipp8u& At(int c, int x, int y)
    {
        const std::size_t row = static_cast<std::size_t>(y) * step;
        return planar ? ptrs[c][row + x] : ptrs[0][row + static_cast<std::size_t>(x) * channels + c];
    }
    bool Same(const Image& o) const
    {
        for (std::size_t p = 0; p < buffers.size(); ++p)
            if (buffers[p].Bytes() != o.buffers[p].Bytes() || !o.buffers[p].GuardsIntact())
                return false;
        return true;
    }
    int channels;
    bool planar;
    int height;
    int step;
    std::vector<GuardedBuffer> buffers;
    std::vector<Ipp8u*> ptrs;
};

struct Variant {
    std::string name;
    int srcChannels;
    bool srcPlanar;
    int dstChannels;
    bool dstPlanar;
    int copied;  // leading channels the copy writes
    std::function<IppStatus(Image&, Image&, IppiSize)> run;
};

const Variant kVariants[] = {
    {"C1R", 1, false, 1, false, 1,
     [](Image& s, Image& d, IppiSize r) { return ippiCopy_8u_C1R(s.ptrs[0], s.step, d.ptrs[0], d.step, r); }},
    {"C3R", 3, false, 3, false, 3,
     [](Image& s, Image& d, IppiSize r) { return ippiCopy_8u_C3R(s.ptrs[0], s.step, d.ptrs[0], d.step, r); }},
    {"C4R", 4, false, 4, false, 4,
     [](Image& s, Image& d, IppiSize r) { return ippiCopy_8u_C4R(s.ptrs[0], s.step, d.ptrs[0], d.step, r); }},
    {"C3AC4R", 3, false, 4, false, 3,
     [](Image& s, Image& d, IppiSize r) { return ippiCopy_8u_C3AC4R(s.ptrs[0], s.step, d.ptrs[0], d.step, r); }},
    {"AC4C3R", 4, false, 3, false, 3,
     [](Image& s, Image& d, IppiSize r) { return ippiCopy_8u_AC4C3R(s.ptrs[0], s.step, d.ptrs[0], d.step, r); }},
    {"C3P3R", 3, false, 3, true, 3,
     [](Image& s, Image& d, IppiSize r) { return ippiCopy_8u_C3P3R(s.ptrs[0], s.step, d.ptrs.data(), d.step, r); }},
    {"C4P4R", 4, false, 4, true, 4,
     [](Image& s, Image& d, IppiSize r) { return ippiCopy_8u_C4P4R(s.ptrs[0], s.step, d.ptrs.data(), d.step, r); }},
    {"P4C4R", 4, true, 4, false, 4,
     [](Image& s, Image& d, IppiSize r) {
         const Ipp8u* planes[4] = {s.ptrs[0], s.ptrs[1], s.ptrs[2], s.ptrs[3]};
         return ippiCopy_8u_P4C4R(planes, s.step, d.ptrs[0], d.step, r);
     }},
};

// variant, width, padded
class CopyLayouts : public ::testing::TestWithParam<std::tuple<Variant, int, bool>> {};

TEST_P(CopyLayouts, MatchesModel)
{
    const auto& [v, w, padded] = GetParam();
    for (int h : {1, 2, 3, 7}) {
        for (int offset = 0; offset < 16; offset += padded ? 1 : 5) {
            SCOPED_TRACE("height " + std::to_string(h) + " offset " + std::to_string(offset));
            const int pad = padded ? 1 + offset : 0;
            Image src(v.srcChannels, v.srcPlanar, w, h, pad, offset, 100 + w);
            Image dst(v.dstChannels, v.dstPlanar, w, h, 2 * pad, (offset * 7) % 16, 200 + w);
            Image expected(v.dstChannels, v.dstPlanar, w, h, 2 * pad, (offset * 7) % 16, 200 + w);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < v.copied; ++c)
                        expected.At(c, x, y) = src.At(c, x, y);
            ASSERT_EQ(v.run(src, dst, {w, h}), ippStsNoErr);
            ASSERT_TRUE(expected.Same(dst));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(All, CopyLayouts,
                         ::testing::Combine(::testing::ValuesIn(kVariants),
                                            ::testing::Values(1, 2, 3, 15, 16, 17, 33, 64, 719),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + "_w" + std::to_string(std::get<1>(info.param)) +
                                    (std::get<2>(info.param) ? "_padded" : "_tight");
                         });

class CopyBadArgs : public ::testing::TestWithParam<Variant> {};

TEST_P(CopyBadArgs, StatusesAndNothingWritten)
{
    const Variant& v = GetParam();
    constexpr int kW = 5, kH = 3;
    Image src(v.srcChannels, v.srcPlanar, kW, kH, 0, 0, 1), dst(v.dstChannels, v.dstPlanar, kW, kH, 0, 0, 2);
    const Image before(v.dstChannels, v.dstPlanar, kW, kH, 0, 0, 2);
    const int srcStep = src.step, dstStep = dst.step;
    const auto expect = [&](IppStatus want, IppiSize roi, int ss, int ds) {
        src.step = ss, dst.step = ds;
        EXPECT_EQ(v.run(src, dst, roi), want) << roi.width << "x" << roi.height << ", steps " << ss << ", " << ds;
        src.step = srcStep, dst.step = dstStep;
    };
    for (Image* img : {&src, &dst}) {
        for (auto& p : img->ptrs) {
            Ipp8u* saved = std::exchange(p, nullptr);
            expect(ippStsNullPtrErr, {0, kH}, srcStep, dstStep);  // null before size
            p = saved;
        }
    }
    for (IppiSize roi : {IppiSize{0, kH}, IppiSize{-1, kH}, IppiSize{kW, 0}, IppiSize{kW, INT_MIN}})
        expect(ippStsSizeErr, roi, srcStep, dstStep);
    if (std::max(v.srcChannels, v.dstChannels) > 1)  // a row no step can address
        expect(ippStsSizeErr, {INT_MAX / 3 + 1, 1}, srcStep, dstStep);
    expect(ippStsSizeErr, {0, kH}, 0, dstStep);  // size before step
    for (int bad : {0, -1, -srcStep}) {
        expect(ippStsStepErr, {kW, kH}, bad, dstStep);
        expect(ippStsStepErr, {kW, kH}, srcStep, bad);
    }
    expect(ippStsStrideErr, {kW, 2}, srcStep, dstStep - 1);  // destination rows overlapping
    EXPECT_TRUE(before.Same(dst));
    // Source rows read twice lose nothing; a single row never overlaps.
    expect(ippStsNoErr, {kW, kH}, 1, dstStep);
    expect(ippStsNoErr, {kW, 1}, srcStep, 1);
}

TEST(CopyBadArgs, NullPlaneArrays)
{
    GuardedBuffer packed(64);
    EXPECT_EQ(ippiCopy_8u_C3P3R(packed.data(), 12, nullptr, 4, {4, 1}), ippStsNullPtrErr);
    EXPECT_EQ(ippiCopy_8u_C4P4R(packed.data(), 16, nullptr, 4, {4, 1}), ippStsNullPtrErr);
    EXPECT_EQ(ippiCopy_8u_P4C4R(nullptr, 4, packed.data(), 16, {4, 1}), ippStsNullPtrErr);
}

INSTANTIATE_TEST_SUITE_P(All, CopyBadArgs, ::testing::ValuesIn(kVariants),
                         [](const auto& info) { return info.param.name; });

// A picture moved within its own buffer, by whole rows or a few bytes,
// either way, arrives whole.
TEST(CopyOverlap, ShiftWithinOneBuffer)
{
    constexpr int kW = 37, kH = 6, kStep = 40, kMargin = 2 * kStep;
    for (int shift : {kStep, -kStep, 2 * kStep, -2 * kStep, 3, -3}) {
        GuardedBuffer buf(static_cast<std::size_t>(kStep) * kH + 2 * kMargin);
        tultest::FillRandom(buf, 9);
        const auto original = buf.Bytes();
        Ipp8u* src = buf.data() + kMargin;
        ASSERT_EQ(ippiCopy_8u_C1R(src, kStep, src + shift, kStep, {kW, kH}), ippStsNoErr);
        EXPECT_TRUE(tultest::SameRows(original.data() + kMargin, kStep, src + shift, kStep, kW, kH))
            << "shift " << shift;
        EXPECT_TRUE(buf.GuardsIntact());
    }
}

}  // namespace
