// Shared by the colour suites: pictures of any format sized as the kernels
// size them, a run of any kernel through its exported name, and the
// kernel list as a test parameter.
#pragma once

#include "image/color/kernel_table.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

}  // namespace tultest
