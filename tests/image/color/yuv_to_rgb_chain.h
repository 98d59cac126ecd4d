// Shared by the Y'CbCr to RGB and YUY2 to VUYA suites: the plumbing of
// the primitive chains that define those kernels (a run's geometry,
// temporary planes, flips, interleaving), handed to the shared sweep.
#pragma once

#include "platform/ipp/ippi.h"
#include "tests/image/color/color_harness.h"

#include <map>
#include <memory>
#include <string>

namespace tultest {

// Memory-order geometry of a chain run: absolute pitches and the flip.
struct ChainRun {
    const unsigned char* src;
    unsigned char* dst;
    int w, h, sp, dp;
    bool flip, progressive;
};
using RunChain = void (*)(const ChainRun&);

// A run's chain as the shared sweep takes it.
inline Chain OfRun(RunChain chain)
{
    return [chain](ColorPicture& s, ColorPicture& d, bool progressive) {
        chain({s.data(), d.data(), s.width, s.height, std::abs(s.step), std::abs(d.step), (s.step < 0) != (d.step < 0),
               progressive});
    };
}

// Flips each plane of `planes` in place when the run turns over.
inline void FlipPlanes(const ChainRun& r, const PlaneSet& p, int count, int width)
{
    for (int i = 0; r.flip && i < count; ++i)
        Check(ippiMirror_8u_C1IR(p[i], p.step, {width, r.h}, ippAxsHorizontal));
}

// Interleaves four planes into the destination.
inline void Interleave(const ChainRun& r, const Ipp8u* a, const Ipp8u* b, const Ipp8u* c, const Ipp8u* d, int step)
{
    const Ipp8u* four[4] = {a, b, c, d};
    Check(ippiCopy_8u_P4C4R(four, step, r.dst, r.dp, {r.w, r.h}));
}

// The entry of a kernel named in the list.
inline const KernelEntry& Kernel(const std::string& name)
{
    for (const KernelEntry& k : tul::color::kColorKernels)
        if (name == k.name)
            return k;
    throw std::runtime_error("no kernel " + name);
}

}  // namespace tultest
