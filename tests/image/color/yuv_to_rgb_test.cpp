// The Y'CbCr to RGB kernels: the shared guarded sweep against each one's
// primitive chain (4:2:0 converted whole or field by field, chroma widened
// per field for the shifted-straight forms, then the flip, the channel
// swap, the fourth byte or the lowering by 16).
#include "tests/image/color/yuv_to_rgb_chain.h"

namespace tultest {
namespace {

// The 4:2:0 source planes where the picture's own height and pitch put
// them: U after the luma plane, V (h/2) chroma rows of pitch/2 after U.
struct Source420 {
    explicit Source420(const ChainRun& r)
        : y(r.src), u(r.src + r.sp * r.h), v(u + (r.sp / 2) * (r.h / 2)), cp(r.sp / 2)
    {
    }
    const Ipp8u *y, *u, *v;
    int cp;
};

// BT.601 4:2:0 into `out` at pitch `op`: the frame, or each field at twice
// the pitches (chroma 2 * (pitch / 2)), the second a row further on.
void Convert420(const ChainRun& r, Ipp8u* out, int op)
{
    const Source420 s(r);
    const int fields = r.progressive ? 1 : 2;
    for (int f = 0; f < fields; ++f) {
        const Ipp8u* planes[3] = {s.y + f * r.sp, s.u + f * s.cp, s.v + f * s.cp};
        int steps[3] = {fields * r.sp, fields * s.cp, fields * s.cp};
        Check(ippiYCbCr420ToBGR_8u_P3C3R(planes, steps, out + f * op, fields * op, {r.w, r.h / fields}));
    }
}

void I420ToRgb24(const ChainRun& r)
{
    Convert420(r, r.dst, r.dp);
    if (r.flip)
        Check(ippiMirror_8u_C3IR(r.dst, r.dp, {r.w, r.h}, ippAxsHorizontal));
}

void I420ToRgb32(const ChainRun& r)
{
    int tp = 0;
    const std::unique_ptr<Ipp8u, void (*)(void*)> t(ippiMalloc_8u_C3(r.w, r.h, &tp), ippiFree);
    Convert420(r, t.get(), tp);
    if (r.flip)
        Check(ippiMirror_8u_C3IR(t.get(), tp, {r.w, r.h}, ippAxsHorizontal));
    Check(ippiCopy_8u_C3AC4R(t.get(), tp, r.dst, r.dp, {r.w, r.h}));
    Check(ippiSet_8u_C4CR(0, r.dst + 3, r.dp, {r.w, r.h}));
}

// Y, then U and V widened to full size at the luma pitch (planes 1, 2 of
// `p`, whose plane 0 receives a copy of the luma so the three share the
// JPEG primitive's one step): the frame, or each field on its own.
void Widen420(const ChainRun& r, const PlaneSet& p)
{
    const Source420 s(r);
    Check(ippiCopy_8u_C1R(s.y, r.sp, p[0], p.step, {r.w, r.h}));
    const int fields = r.progressive ? 1 : 2;
    for (int f = 0; f < fields; ++f)
        for (int c = 1; c <= 2; ++c)
            Check(ippiSampleUpH2V2_JPEG_8u_C1R((c == 1 ? s.u : s.v) + f * s.cp, fields * s.cp,
                                               {r.w / 2, r.h / 2 / fields}, p[c] + f * p.step, fields * p.step,
                                               {r.w, r.h / fields}));
}

// YUY2 split, its chroma widened by H2V1: Y, U', V' in planes 0 to 2.
void Widen422(const ChainRun& r, const PlaneSet& p)
{
    PlaneSet half(r.w / 2, r.h, 2);
    Ipp8u* planes[3] = {p[0], half[0], half[1]};
    int steps[3] = {p.step, half.step, half.step};
    Check(ippiSplit422_8u_C2P3R(r.src, r.sp, planes, steps, {r.w, r.h}));
    for (int c = 1; c <= 2; ++c)
        Check(ippiSampleUpH2V1_JPEG_8u_C1R(half[c - 1], half.step, {r.w / 2, r.h}, p[c], p.step, {r.w, r.h}));
}

const Ipp8u kSixteen[3] = {16, 16, 16};

// JFIF into the destination, flipped, lowered by 16.
void Shifted24(const ChainRun& r, const PlaneSet& ycc)
{
    const Ipp8u* planes[3] = {ycc[0], ycc[1], ycc[2]};
    Check(ippiYCbCrToBGR_JPEG_8u_P3C3R(planes, ycc.step, r.dst, r.dp, {r.w, r.h}));
    if (r.flip)
        Check(ippiMirror_8u_C3IR(r.dst, r.dp, {r.w, r.h}, ippAxsHorizontal));
    Check(ippiSubC_8u_C3IRSfs(kSixteen, r.dst, r.dp, {r.w, r.h}, 0));
}

// JFIF into planes R, G, B, each flipped and lowered by 16, interleaved
// with a zero plane as B, G, R, 0.
void Shifted32(const ChainRun& r, const PlaneSet& ycc)
{
    PlaneSet rgba(r.w, r.h, 4);
    const Ipp8u* planes[3] = {ycc[0], ycc[1], ycc[2]};
    Ipp8u* out[3] = {rgba[0], rgba[1], rgba[2]};
    Check(ippiYCbCrToRGB_JPEG_8u_P3R(planes, ycc.step, out, rgba.step, {r.w, r.h}));
    FlipPlanes(r, rgba, 3, r.w);
    for (int c = 0; c < 3; ++c)
        Check(ippiSubC_8u_C1IRSfs(16, rgba[c], rgba.step, {r.w, r.h}, 0));
    Check(ippiSet_8u_C1R(0, rgba[3], rgba.step, {r.w, r.h}));
    Interleave(r, rgba[2], rgba[1], rgba[0], rgba[3], rgba.step);
}

// Shifted-straight: the widened planes (4:2:0 at the luma pitch, 4:2:2 at
// the width), then the 24- or 32-bit tail of the chain.
template <void (*Widen)(const ChainRun&, const PlaneSet&), void (*Tail)(const ChainRun&, const PlaneSet&), bool I420>
void Shifted(const ChainRun& r)
{
    PlaneSet ycc(I420 ? r.sp : r.w, r.h, 3);
    Widen(r, ycc);
    Tail(r, ycc);
}

void Yuy2ToRgb24(const ChainRun& r)
{
    static const int kReverse[3] = {2, 1, 0};
    Check(ippiYCbCr422ToRGB_8u_C2C3R(r.src, r.sp, r.dst, r.dp, {r.w, r.h}));
    if (r.flip)
        Check(ippiMirror_8u_C3IR(r.dst, r.dp, {r.w, r.h}, ippAxsHorizontal));
    Check(ippiSwapChannels_8u_C3IR(r.dst, r.dp, {r.w, r.h}, kReverse));
}

void Yuy2ToRgb32(const ChainRun& r)
{
    PlaneSet rgba(r.w, r.h, 4);
    Ipp8u* out[3] = {rgba[0], rgba[1], rgba[2]};
    Check(ippiYCbCr422ToRGB_8u_C2P3R(r.src, r.sp, out, rgba.step, {r.w, r.h}));
    FlipPlanes(r, rgba, 3, r.w);
    Check(ippiSet_8u_C1R(0, rgba[3], rgba.step, {r.w, r.h}));
    Interleave(r, rgba[2], rgba[1], rgba[0], rgba[3], rgba.step);
}

const std::map<std::string, RunChain> kChains = {
    {"YUV420ToRGB24", I420ToRgb24},
    {"YUV420ToRGB32", I420ToRgb32},
    {"YUV420ToVexoShiftedStraightRGB24", Shifted<Widen420, Shifted24, true>},
    {"YUV420ToVexoShiftedStraightRGB32", Shifted<Widen420, Shifted32, true>},
    {"CCIR601YUY2ToRGB24", Yuy2ToRgb24},
    {"CCIR601YUY2ToRGB32", Yuy2ToRgb32},
    {"CCIR601YUY2ToVexoShiftedStraightRGB24", Shifted<Widen422, Shifted24, false>},
    {"CCIR601YUY2ToVexoShiftedStraightRGB32", Shifted<Widen422, Shifted32, false>},
};

class YuvToRgb : public ::testing::TestWithParam<std::string> {};

// The chains are sound for even widths, even heights (a multiple of 4 interlaced).
TEST_P(YuvToRgb, SweepAgainstChain) { ExpectSweep(Kernel(GetParam()), OfRun(kChains.at(GetParam())), true); }

INSTANTIATE_TEST_SUITE_P(Kernels, YuvToRgb,
                         ::testing::Values("YUV420ToRGB24", "YUV420ToRGB32", "YUV420ToVexoShiftedStraightRGB24",
                                           "YUV420ToVexoShiftedStraightRGB32", "CCIR601YUY2ToRGB24", "CCIR601YUY2ToRGB32",
                                           "CCIR601YUY2ToVexoShiftedStraightRGB24",
                                           "CCIR601YUY2ToVexoShiftedStraightRGB32"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace tultest
