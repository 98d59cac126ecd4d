// Shared by the Y'CbCr to RGB and YUY2 to VUYA suites: each kernel's
// result built literally from the primitive chain that defines it (the
// independent model), compared on random pictures over every step-sign
// pair, both progressive values and sizes where the chain is sound; and
// the guarded odd-size sweep.
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
using Chain = void (*)(const ChainRun&);

// A temporary of `planes` single-channel planes of w x h sharing one step
// (the JPEG primitives take one step for all their planes).
class PlaneSet {
public:
    PlaneSet(int w, int h, int planes) : m_base(ippiMalloc_8u_C1(w, h * planes, &step), ippiFree), m_h(h) {}
    Ipp8u* operator[](int i) const { return m_base.get() + static_cast<std::ptrdiff_t>(step) * m_h * i; }
    int step = 0;

private:
    std::unique_ptr<Ipp8u, void (*)(void*)> m_base;
    int m_h;
};

inline void Check(IppStatus s) { ASSERT_EQ(s, ippStsNoErr); }

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

// The kernel's bytes against its chain's, destinations starting from the
// same random bytes. Sizes where the chain is sound: even widths, even
// heights, multiples of 4 interlaced; tight and padded (odd) steps.
inline void ExpectChainBytes(const KernelEntry& k, Chain chain)
{
    for (const auto& [w, h] : {std::pair{2, 4}, {6, 8}, {34, 12}}) {
        for (int pad : {0, 3}) {
            for (int signs = 0; signs < 4; ++signs) {
                for (bool progressive : {true, false}) {
                    if (!progressive && !k.takesProgressive)
                        continue;
                    const int ss = std::abs(StepOf(k.source, w, pad)) * (signs & 1 ? -1 : 1);
                    const int ds = std::abs(StepOf(k.destination, w, pad)) * (signs & 2 ? -1 : 1);
                    ColorPicture src(k.source, w, h, ss), got(k.destination, w, h, ds), want(k.destination, w, h, ds);
                    FillRandom(src.buffer, 31u * w + h + signs);
                    FillRandom(got.buffer, 5u + pad);
                    FillRandom(want.buffer, 5u + pad);
                    ASSERT_EQ(RunKernel(k, src, got, progressive), TulImage::TUL_SUCCESS);
                    chain({src.data(), want.data(), w, h, std::abs(ss), std::abs(ds), (ss < 0) != (ds < 0), progressive});
                    EXPECT_TRUE(SameBytes(want.Bytes(), got.Bytes()))
                        << w << "x" << h << " steps " << ss << ", " << ds << (progressive ? "" : " interlaced");
                    EXPECT_TRUE(got.buffer.GuardsIntact());
                }
            }
        }
    }
}

// The guarded sweep over odd and small sizes: tight, padded and odd steps,
// both orientations of the source; the source in a heap block of exactly
// its bytes (a read past it trips AddressSanitizer); the destination
// pre-filled 0x00 and then 0xFF must give the same picture (every pixel
// written) with its guards intact. Interlaced, changing only the odd
// field's source rows (luma and chroma) leaves the even field's output.
inline void ExpectEveryPixelDefined(const KernelEntry& k)
{
    const bool planarSrc = tul::FormatOf(k.source).family == tul::FormatFamily::Planar420;
    for (int w : {2, 3, 5, 7, 64, 65, 129}) {
        for (int h : {2, 3, 5, 6, 7, 8, 10}) {
            for (int pad : {0, 8, 3}) {
                for (bool flip : {false, true}) {
                    for (bool progressive : {true, false}) {
                        if (!progressive && !k.takesProgressive)
                            continue;
                        const int ss = StepOf(k.source, w, pad) * (flip ? -1 : 1), ds = StepOf(k.destination, w, pad);
                        ColorPicture src(k.source, w, h, ss);
                        FillRandom(src.buffer, 7u * w + h);
                        // A 4:2:0 source ends with its second chroma plane: for an odd
                        // height that is a chroma row short of the size of a destination.
                        const std::size_t bytes = planarSrc ? std::size_t(tul::PlanesOf420(std::abs(ss), h).end)
                                                            : src.buffer.size();
                        const std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes]);
                        const auto run = [&](unsigned char fill) {
                            ColorPicture dst(k.destination, w, h, ds, fill);
                            std::copy(src.data(), src.data() + bytes, exact.get());
                            ULONG size = dst.Bytes32();
                            EXPECT_EQ(k.call({exact.get(), dst.data(), &size, ULONG(w), ULONG(h), ss, ds, progressive}),
                                      TulImage::TUL_SUCCESS);
                            EXPECT_TRUE(dst.buffer.GuardsIntact());
                            return dst.Bytes();
                        };
                        const auto zero = run(0x00), ones = run(0xFF);
                        const int row = static_cast<int>(tul::PixelRow(tul::FormatOf(k.destination), w));
                        const std::string where = std::to_string(w) + "x" + std::to_string(h) + " pad " +
                                                  std::to_string(pad) + (flip ? " flipped" : "") +
                                                  (progressive ? "" : " interlaced");
                        EXPECT_TRUE(SameRows(zero.data(), std::abs(ds), ones.data(), std::abs(ds), row, h)) << where;
                        if (progressive)
                            continue;
                        // Odd memory rows of every plane are the odd field's.
                        const tul::Planes420 pl = tul::PlanesOf420(std::abs(ss), h);
                        for (int r = 1; r < h; r += 2)
                            src.data()[static_cast<std::size_t>(std::abs(ss)) * r] ^= 0x5A;
                        for (int r = 1; planarSrc && r < h / 2; r += 2)
                            src.data()[pl.offset[1] + pl.chromaPitch * r] ^= 0x5A;
                        const auto changed = run(0x00);
                        const int flipRow = (ss < 0) != (ds < 0) ? h - 1 : 0;  // destination row of source row 0
                        for (int r = 0; r < h; r += 2) {
                            const std::size_t d = static_cast<std::size_t>(std::abs(ds)) * std::abs(flipRow - r);
                            EXPECT_TRUE(SameRows(zero.data() + d, 0, changed.data() + d, 0, row, 1))
                                << where << " even-field row " << r;
                        }
                    }
                }
            }
        }
    }
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
