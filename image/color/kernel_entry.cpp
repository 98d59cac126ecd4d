// The exported colour kernels: one wrapper per name of the kernel list,
// each admitting its arguments the same way and running its operation
// under the one guard, and the table the dispatcher and the tests read.
#include "image/color/kernel_table.h"

#include <climits>
#include <cstring>

namespace tul::color {
namespace {

constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;

std::uint64_t Pitch(int step)
{
    return step < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(step)) : static_cast<std::uint64_t>(step);
}

bool Is420(Format format) { return FormatOf(format).family == FormatFamily::Planar420; }

// The bytes a source of `format` spans: whole packed rows, or the three
// planes placed from the picture's own height and pitch.
std::uint64_t SourceExtent(Format format, int step, ULONG height)
{
    if (Is420(format))
        return static_cast<std::uint64_t>(PlanesOf420(static_cast<std::int64_t>(Pitch(step)), height).end);
    return Pitch(step) * height;
}

bool StepUsable(int step) { return step != 0 && step != INT_MIN; }

// Whether a side of `format` can carry the picture: a step that holds the
// row the format keeps, and chroma samples to convert (a 4:2:0 picture
// needs at least one 2x2 block).
bool SideFits(Format format, int step, ULONG width, ULONG height)
{
    if (!StepUsable(step) || Pitch(step) < PixelRow(FormatOf(format), width))
        return false;
    const bool empty = width == 0 || height == 0;
    return empty || !Is420(format) || (width >= 2 && height >= 2);
}

}  // namespace

std::uint64_t RequiredBytes(Format format, int step, ULONG height)
{
    const std::uint64_t pitch = Pitch(step);
    return (Is420(format) ? pitch + pitch / 2 : pitch) * height;
}

ULONG RunKernel(Format source, Format destination, KernelOperation operation, const KernelArgs& a) noexcept
{
    if (a.size == nullptr || a.width > INT_MAX || a.height > INT_MAX)
        return TulImage::TUL_INVALID_REQUEST;
    if (!SideFits(source, a.srcStep, a.width, a.height) || !SideFits(destination, a.dstStep, a.width, a.height))
        return TulImage::TUL_INVALID_REQUEST;
    const std::uint64_t required = RequiredBytes(destination, a.dstStep, a.height);
    if (required > kMax32 || SourceExtent(source, a.srcStep, a.height) > kMax32)
        return TulImage::TUL_INVALID_REQUEST;
    if (a.src == nullptr || a.dst == nullptr) {
        *a.size = static_cast<ULONG>(required);
        return TulImage::TUL_INVALID_REQUEST;
    }
    if (*a.size < required)
        return TulImage::TUL_BUFFER_TOO_SMALL;
    *a.size = static_cast<ULONG>(required);
    if (a.width == 0 || a.height == 0)
        return TulImage::TUL_SUCCESS;
    const KernelCall call{source,
                          destination,
                          a.src,
                          a.dst,
                          static_cast<int>(a.width),
                          static_cast<int>(a.height),
                          a.srcStep,
                          a.dstStep,
                          a.progressive};
    try {
        operation(call);
        return TulImage::TUL_SUCCESS;
    } catch (...) {
        // A conversion that stopped part-way leaves no half-written picture.
        std::memset(a.dst, 0, static_cast<std::size_t>(required));
        return TulImage::TUL_FAILED;
    }
}

namespace {

// A uniform caller of each exported kernel, for the table.
#define TUL_CALL_N(name) TulImage::name(a.src, a.dst, a.size, a.width, a.height, a.srcStep, a.dstStep)
#define TUL_CALL_P(name) \
    TulImage::name(a.src, a.dst, a.size, a.width, a.height, a.srcStep, a.dstStep, a.progressive)
#define TUL_DEFINE_CALLER(name, source, destination, flag, operation) \
    ULONG Call##name(const KernelArgs& a) { return TUL_CALL_##flag(name); }
TUL_COLOR_KERNELS(TUL_DEFINE_CALLER)
#undef TUL_DEFINE_CALLER
#undef TUL_CALL_N
#undef TUL_CALL_P

#define TUL_FLAG_N false
#define TUL_FLAG_P true

}  // namespace

const KernelEntry kColorKernels[kColorKernelCount] = {
#define TUL_TABLE_ENTRY(name, source, destination, flag, operation)                                     \
    {#name, TulImage::COLOR_FORMAT_##source, TulImage::COLOR_FORMAT_##destination, TUL_FLAG_##flag, \
     &Call##name, &operation},
    TUL_COLOR_KERNELS(TUL_TABLE_ENTRY)
#undef TUL_TABLE_ENTRY
};

const KernelEntry* FindKernel(Format source, Format destination)
{
    for (const KernelEntry& k : kColorKernels)
        if (k.source == source && k.destination == destination)
            return &k;
    return nullptr;
}

}  // namespace tul::color

// The exported kernels.
#define TUL_PROGRESSIVE_N true
#define TUL_PROGRESSIVE_P progressive
#define TUL_DEFINE_COLOR_KERNEL(name, source, destination, flag, operation)                                      \
    ULONG TulImage::name(TUL_COLOR_KERNEL_PARAMS_##flag)                                                        \
    {                                                                                                            \
        return tul::color::RunKernel(COLOR_FORMAT_##source, COLOR_FORMAT_##destination, &tul::color::operation, \
                                     {src, dst, size, width, height, srcStep, dstStep, TUL_PROGRESSIVE_##flag}); \
    }
TUL_COLOR_KERNELS(TUL_DEFINE_COLOR_KERNEL)
#undef TUL_DEFINE_COLOR_KERNEL
