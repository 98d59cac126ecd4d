// The sweep the rearranging kernels (Y'CbCr to Y'CbCr, RGB to RGB) share:
// random pictures over odd and small sizes, tight, padded and odd steps in
// all four orientations, both flag values. Each destination is filled with
// 0x00 and with 0xFF: the pixels must come out alike, guards intact
// (reads past the exactly sized source show under AddressSanitizer); where
// the kernel's primitive chain is sound, the bytes must equal the chain's.
#pragma once

#include "tests/image/color/color_harness.h"

namespace tultest {

// Builds the kernel's result into `dst` from the primitives, literally.
using Chain = void (*)(ColorPicture& src, ColorPicture& dst, bool progressive);

inline unsigned char* ChromaRow(ColorPicture& pic, int plane, int m)
{
    const tul::Planes420 pl = tul::PlanesOf420(std::abs(pic.step), pic.height);
    return pic.data() + pl.offset[plane] + m * pl.chromaPitch;
}

// Each row's pixel bytes, and for 4:2:0 the chroma rows' width / 2 samples.
inline std::vector<unsigned char> PixelBytes(ColorPicture& p)
{
    std::vector<unsigned char> out;
    const auto row = static_cast<int>(tul::PixelRow(tul::FormatOf(p.format), static_cast<std::uint64_t>(p.width)));
    for (int r = 0; r < p.height; ++r)
        out.insert(out.end(), p.data() + r * std::abs(p.step), p.data() + r * std::abs(p.step) + row);
    if (tul::FormatOf(p.format).family == tul::FormatFamily::Planar420)
        for (int c = 1; c < 3; ++c)
            for (int r = 0; r < p.height / 2; ++r)
                out.insert(out.end(), ChromaRow(p, c, r), ChromaRow(p, c, r) + p.width / 2);
    return out;
}

template <typename Sound>
void SweepAgainstChain(const KernelEntry& k, Chain chain, Sound sound)
{
    for (int w : {2, 3, 5, 7, 64, 65, 129})
        for (int h : {2, 3, 5, 6, 7, 8, 10})
            for (int signs = 0; signs < 4; ++signs)
                for (bool progressive : {true, false}) {
                    const int ss = std::abs(StepOf(k.source, w, signs == 0 ? 0 : 2 * signs - 1)) * (signs & 1 ? -1 : 1);
                    const int ds = std::abs(StepOf(k.destination, w, 3 - signs)) * (signs & 2 ? -1 : 1);
                    ColorPicture src(k.source, w, h, ss), zeros(k.destination, w, h, ds, 0x00),
                        ones(k.destination, w, h, ds, 0xFF), model(k.destination, w, h, ds, 0x00);
                    FillRandom(src.buffer, static_cast<std::uint32_t>(w * 31 + h + signs));
                    ASSERT_EQ(RunKernel(k, src, zeros, progressive), TulImage::TUL_SUCCESS);
                    ASSERT_EQ(RunKernel(k, src, ones, progressive), TulImage::TUL_SUCCESS);
                    const std::string where = std::string(k.name) + " " + std::to_string(w) + "x" + std::to_string(h) +
                                              " steps " + std::to_string(ss) + ", " + std::to_string(ds) +
                                              (progressive ? " progressive" : " interlaced");
                    ASSERT_TRUE(SameBytes(PixelBytes(zeros), PixelBytes(ones))) << where;
                    ASSERT_TRUE(zeros.buffer.GuardsIntact() && ones.buffer.GuardsIntact() && src.buffer.GuardsIntact());
                    if (chain == nullptr || !sound(w, h, progressive))
                        continue;
                    chain(src, model, progressive);
                    ASSERT_TRUE(SameBytes(model.Bytes(), zeros.Bytes())) << where;
                }
}

}  // namespace tultest
