// YUY2 to VUYA: the shared guarded sweep against its primitive chain
// (split, flip, H2V1 widening, V U Y A interleave).
#include "tests/image/color/yuv_to_rgb_chain.h"

namespace tultest {
namespace {

void Yuy2ToVuya(const ChainRun& r)
{
    PlaneSet full(r.w, r.h, 4), half(r.w / 2, r.h, 2);
    Ipp8u* planes[3] = {full[0], half[0], half[1]};
    int steps[3] = {full.step, half.step, half.step};
    Check(ippiSplit422_8u_C2P3R(r.src, r.sp, planes, steps, {r.w, r.h}));
    FlipPlanes(r, full, 1, r.w);
    FlipPlanes(r, half, 2, r.w / 2);
    for (int c = 0; c < 2; ++c)
        Check(ippiSampleUpH2V1_JPEG_8u_C1R(half[c], half.step, {r.w / 2, r.h}, full[1 + c], full.step, {r.w, r.h}));
    Check(ippiSet_8u_C1R(0, full[3], full.step, {r.w, r.h}));
    Interleave(r, full[2], full[1], full[0], full[3], full.step);
}

TEST(Yuy2ToVuya, SweepAgainstChain) { ExpectSweep(Kernel("CCIR601YUY2ToVUYA"), OfRun(Yuy2ToVuya), true); }

}  // namespace
}  // namespace tultest
