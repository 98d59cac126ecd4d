// Shared by the colour suites: pictures of any format sized as the kernels
// size them, a run of any kernel through its exported name, the kernel
// list as a test parameter, and the one guarded sweep every kernel family
// runs (against its primitive chain where that chain is sound).
#pragma once

#include "image/color/kernel_table.h"
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tultest {

using tul::color::KernelEntry;
using Format = TulImage::COLOR_FORMAT_TYPE;

// A picture of `format` at `step`, in a guarded buffer of exactly the
// bytes the kernels reach: the destination's required size, which also
// covers a source's three 4:2:0 planes.
struct ColorPicture {
    ColorPicture(Format f, int w, int h, int s, unsigned char fill = 0)
        : format(f), width(w), height(h), step(s),
          buffer(static_cast<std::size_t>(tul::color::RequiredBytes(f, s, static_cast<ULONG>(h))), fill)
    {
    }
    unsigned char* data() { return buffer.data(); }
    std::vector<unsigned char> Bytes() const { return buffer.Bytes(); }
    ULONG Bytes32() const { return static_cast<ULONG>(buffer.size()); }

    Format format;
    int width, height, step;
    GuardedBuffer buffer;
};

// Runs `kernel` from `src` into `dst` with the destination's whole size as
// the capacity; returns the status.
inline ULONG RunKernel(const KernelEntry& kernel, ColorPicture& src, ColorPicture& dst, bool progressive = true)
{
    ULONG size = dst.Bytes32();
    return kernel.call({src.data(), dst.data(), &size, static_cast<ULONG>(src.width), static_cast<ULONG>(src.height),
                        src.step, dst.step, progressive});
}

// Every kernel of the list, for INSTANTIATE_TEST_SUITE_P.
inline std::vector<const KernelEntry*> AllKernels()
{
    std::vector<const KernelEntry*> all;
    for (const KernelEntry& k : tul::color::kColorKernels)
        all.push_back(&k);
    return all;
}

inline std::string KernelName(const ::testing::TestParamInfo<const KernelEntry*>& info)
{
    return info.param->name;
}

// A default-oriented step of `format` at `width` with `pad` spare bytes.
inline int StepOf(Format format, int width, int pad = 0)
{
    const auto row = static_cast<int>(tul::PixelRow(tul::FormatOf(format), static_cast<std::uint64_t>(width)));
    return (row + pad) * tul::FormatOf(format).defaultStepSign;
}

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

inline bool Planar(Format f) { return tul::FormatOf(f).family == tul::FormatFamily::Planar420; }

// Memory row m of plane 0 (the picture's rows) or of a 4:2:0 chroma plane.
inline unsigned char* PlaneRow(ColorPicture& p, int plane, int m)
{
    const tul::Planes420 pl = tul::PlanesOf420(std::abs(p.step), p.height);
    return p.data() + (plane == 0 ? std::int64_t(m) * std::abs(p.step) : pl.offset[plane] + m * pl.chromaPitch);
}

// The pixel bytes of one such row (chroma: width / 2 samples), and of all.
inline std::vector<unsigned char> RowBytes(ColorPicture& p, int plane, int m)
{
    const auto row = plane == 0 ? tul::PixelRow(tul::FormatOf(p.format), std::uint64_t(p.width)) : p.width / 2;
    return {PlaneRow(p, plane, m), PlaneRow(p, plane, m) + row};
}
inline std::vector<unsigned char> PixelBytes(ColorPicture& p)
{
    std::vector<unsigned char> out;
    for (int plane = 0; plane < (Planar(p.format) ? 3 : 1); ++plane)
        for (int m = 0; m < (plane == 0 ? p.height : p.height / 2); ++m) {
            const auto row = RowBytes(p, plane, m);
            out.insert(out.end(), row.begin(), row.end());
        }
    return out;
}

// Builds a kernel's result into `dst` from the primitives it fuses,
// literally, with absolute steps: the kernel's independent model.
using Chain = std::function<void(ColorPicture& src, ColorPicture& dst, bool progressive)>;

// Odd and small sizes; tight, padded and odd steps in all four
// orientations; both flag values where the kernel reads the flag. The
// source sits in a heap block of exactly its bytes (a 4:2:0 picture ends
// with its second chroma plane), so a read past it trips AddressSanitizer.
// Destinations filled with 0x00 and 0xFF come out alike (every pixel
// written), guards intact. Where the chain is sound (every size, or with
// `wholeBlocks` even sizes and heights a multiple of 4 interlaced), the
// bytes equal the chain's from the same random destination. A YV12 result
// is its I420 twin's with the chroma planes exchanged. Changing the
// source's odd memory rows (luma and chroma) changes no row of the other
// field (interlaced 4:2:0) or no other row (no 4:2:0); a field's
// incomplete last block repeats its previous chroma row. An odd YUY2 width's lone pixel repeats the chroma
// of the pair before.
inline void ExpectSweep(const KernelEntry& k, const Chain& chain = {}, bool wholeBlocks = false)
{
    constexpr int kPads[4] = {0, 1, 8, 3};
    const KernelEntry* twin =
        k.destination == TulImage::COLOR_FORMAT_YV12 ? tul::color::FindKernel(k.source, TulImage::COLOR_FORMAT_YUV420) : nullptr;
    for (int w : {2, 3, 5, 7, 38, 64, 65, 129})
        for (int h : {2, 3, 5, 6, 7, 8, 10})
            for (int signs = 0; signs < 4; ++signs)
                for (bool progressive : {true, false}) {
                    if (!progressive && !k.takesProgressive)
                        continue;
                    const int ss = std::abs(StepOf(k.source, w, kPads[signs])) * (signs & 1 ? -1 : 1);
                    const int ds = std::abs(StepOf(k.destination, w, kPads[3 - signs])) * (signs & 2 ? -1 : 1);
                    SCOPED_TRACE(::testing::Message() << k.name << " " << w << "x" << h << " steps " << ss << ", " << ds
                                                      << (progressive ? "" : " interlaced"));
                    ColorPicture src(k.source, w, h, ss);
                    FillRandom(src.buffer, std::uint32_t(w * 31 + h + signs));
                    const auto bytes = std::size_t(Planar(k.source) ? tul::PlanesOf420(std::abs(ss), h).end
                                                                    : std::int64_t(std::abs(ss)) * h);
                    const auto run = [&](const KernelEntry& kernel, ColorPicture& dst) {
                        const std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes]);
                        std::copy(src.data(), src.data() + bytes, exact.get());
                        ULONG size = dst.Bytes32();
                        ASSERT_EQ(kernel.call({exact.get(), dst.data(), &size, ULONG(w), ULONG(h), ss, ds, progressive}),
                                  TulImage::TUL_SUCCESS);
                        ASSERT_TRUE(dst.buffer.GuardsIntact());
                    };
                    ColorPicture zeros(k.destination, w, h, ds, 0x00), ones(k.destination, w, h, ds, 0xFF);
                    run(k, zeros), run(k, ones);
                    ASSERT_EQ(PixelBytes(zeros), PixelBytes(ones));
                    if (chain && (!wholeBlocks || (w % 2 == 0 && h % (progressive ? 2 : 4) == 0))) {
                        ColorPicture got(k.destination, w, h, ds), want(k.destination, w, h, ds);
                        FillRandom(got.buffer, std::uint32_t(w + h)), FillRandom(want.buffer, std::uint32_t(w + h));
                        run(k, got);
                        chain(src, want, progressive);
                        ASSERT_TRUE(SameBytes(want.Bytes(), got.Bytes())) << "against the chain";
                    }
                    if (twin != nullptr) {
                        ColorPicture i420(TulImage::COLOR_FORMAT_YUV420, w, h, ds);
                        run(*twin, i420);
                        for (int plane = 0; plane < 3; ++plane)
                            for (int m = 0; m < (plane == 0 ? h : h / 2); ++m)
                                ASSERT_EQ(RowBytes(zeros, plane, m), RowBytes(i420, plane ? 3 - plane : 0, m)) << "twin";
                    }
                    if (k.destination == TulImage::COLOR_FORMAT_YUY2 && w % 2 != 0)
                        for (int m = 0; m < h; ++m) {
                            const unsigned char* g = PlaneRow(zeros, 0, m) + 2 * w - 2;
                            ASSERT_TRUE(g[0] == g[2] && g[1] == g[-3] && g[3] == g[-1]) << "lone pixel, row " << m;
                        }
                    // Without 4:2:0 every row stands alone. Between 4:2:0 and YUY2 a field
                    // without chroma of its own takes the other field's (the round trips pin that).
                    const bool yuy2 = k.source == TulImage::COLOR_FORMAT_YUY2 || k.destination == TulImage::COLOR_FORMAT_YUY2;
                    if ((Planar(k.source) || Planar(k.destination)) && (progressive || yuy2))
                        continue;
                    for (int plane = 0; plane < (Planar(k.source) ? 3 : 1); ++plane)
                        for (int m = 1; m < (plane == 0 ? h : h / 2); m += 2)
                            for (int i = 0; i < (plane == 0 ? std::abs(ss) : std::abs(ss) / 2); ++i)
                                PlaneRow(src, plane, m)[i] ^= 0xFF;
                    ColorPicture other(k.destination, w, h, ds);
                    run(k, other);
                    // The destination rows made from the source's even memory rows.
                    const int kept = (ss < 0) != (ds < 0) && h % 2 == 0 ? 1 : 0;
                    for (int plane = 0; plane < (Planar(k.destination) ? 3 : 1); ++plane)
                        for (int m = 0; m < (plane == 0 ? h : h / 2); ++m) {
                            if (m % 2 == kept) {
                                ASSERT_EQ(RowBytes(zeros, plane, m), RowBytes(other, plane, m)) << "field " << plane << "/" << m;
                            }
                            if (plane > 0 && m >= 2 && 4 * (m / 2) + m % 2 + 2 >= h) {
                                ASSERT_EQ(RowBytes(zeros, plane, m), RowBytes(zeros, plane, m - 2)) << "incomplete " << m;
                            }
                        }
                }
}

}  // namespace tultest
