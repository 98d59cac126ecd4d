// The own resampler's engines: argument checks, the per-call plans, and the
// two passes (every source row horizontally into an intermediate block, then
// the block vertically into the destination, a whole row at a time).
#include "image/resize/vexo_resampler.h"

#include "image/resize/vexo_kernels.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace tul {
namespace {

// A picture the engines may touch: rows of width * bytesPerSample bytes,
// at a step no shorter than that, all within 32 signed bits of its start.
bool FitsPicture(const void* p, int width, int height, int step, int bytesPerSample)
{
    if (p == nullptr || width <= 0 || height <= 0 || step < 0)
        return false;
    const std::int64_t row = static_cast<std::int64_t>(width) * bytesPerSample;
    if (step < row)
        return false;
    return static_cast<std::int64_t>(height - 1) * step + row <= INT_MAX;
}

// Bytes from a picture's first row to the end of its last.
std::int64_t Extent(int rowBytes, int height, int step)
{
    return static_cast<std::int64_t>(height - 1) * step + rowBytes;
}

// Whether two byte ranges share any byte. Source and destination may be
// one buffer (in-place deinterlacing resizes a field onto its own frame).
bool Overlap(const unsigned char* a, std::int64_t aBytes, const unsigned char* b, std::int64_t bBytes)
{
    const auto x = reinterpret_cast<std::uintptr_t>(a);
    const auto y = reinterpret_cast<std::uintptr_t>(b);
    return x < y + static_cast<std::uintptr_t>(bBytes) && y < x + static_cast<std::uintptr_t>(aBytes);
}

// Runs `horizontal` (source row -> row of `rowBytes` bytes) over every
// source row into an intermediate block and resamples the block vertically
// by `vertical`. Every source byte is read before the first destination
// byte is written, so source and destination may overlap. When they do not
// and one pass is a copy, the other pass reads or writes the caller's
// buffer directly instead: the same bytes, one pass over memory fewer.
template <class Horizontal>
bool TwoPasses(const unsigned char* src, int srcStep, bool horizontalCopy,
               const Horizontal& horizontal, const LinePlan& vertical, unsigned char* dst,
               int dstStep, int rowBytes, bool separate)
{
    const int srcHeight = vertical.n;
    const auto width = static_cast<std::size_t>(rowBytes);
    auto rowOf = [](auto* base, int step, int r) { return base + static_cast<std::ptrdiff_t>(r) * step; };

    if (separate && vertical.kind == LineKind::Copy) {
        for (int r = 0; r < srcHeight; ++r) {
            if (horizontalCopy)
                std::memcpy(rowOf(dst, dstStep, r), rowOf(src, srcStep, r), width);
            else
                horizontal(rowOf(src, srcStep, r), rowOf(dst, dstStep, r));
        }
        return true;
    }

    const unsigned char* middle = src;
    int middleStep = srcStep;
    std::unique_ptr<unsigned char[]> block;
    if (!separate || !horizontalCopy) {
        const std::int64_t bytes = static_cast<std::int64_t>(srcHeight) * rowBytes;
        if (bytes > INT_MAX)
            return false;
        block.reset(new (std::nothrow) unsigned char[static_cast<std::size_t>(bytes)]);
        if (!block)
            return false;
        for (int r = 0; r < srcHeight; ++r) {
            unsigned char* row = block.get() + static_cast<std::size_t>(r) * width;
            if (horizontalCopy)
                std::memcpy(row, rowOf(src, srcStep, r), width);
            else
                horizontal(rowOf(src, srcStep, r), row);
        }
        middle = block.get();
        middleStep = rowBytes;
    }

    std::unique_ptr<std::uint32_t[]> sums;
    if (vertical.kind == LineKind::Shrink) {
        sums.reset(new (std::nothrow) std::uint32_t[width]);
        if (!sums)
            return false;
    }
    const RowLine line{middle, middleStep, dst, dstStep, rowBytes, sums.get()};
    RunLine(line, vertical);
    return true;
}

bool PlaneUnchecked(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                    unsigned char* dst, int dstWidth, int dstHeight, int dstStep)
{
    LinePlan across;
    LinePlan down;
    if (!BuildLinePlan(across, srcWidth, dstWidth, AreaReciprocal::Plane32) ||
        !BuildLinePlan(down, srcHeight, dstHeight, AreaReciprocal::Plane32))
        return false;
    auto horizontal = [&across](const unsigned char* s, unsigned char* d) {
        RunLine(SampleLine<1, 1, 1>{s, d}, across);
    };
    const bool separate = !Overlap(src, Extent(srcWidth, srcHeight, srcStep), dst,
                                   Extent(dstWidth, dstHeight, dstStep));
    return TwoPasses(src, srcStep, across.kind == LineKind::Copy, horizontal, down, dst, dstStep,
                     dstWidth, separate);
}

struct PlaneGeometry {
    int width;
    int height;
    int step;
};

template <class Planes>
PlaneGeometry ChromaOf(const Planes& p)
{
    return {p.width / 2, p.height / 2, p.chromaStep};
}

}  // namespace

bool ResamplePlane(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                   unsigned char* dst, int dstWidth, int dstHeight, int dstStep)
{
    if (!FitsPicture(src, srcWidth, srcHeight, srcStep, 1) ||
        !FitsPicture(dst, dstWidth, dstHeight, dstStep, 1))
        return false;
    try {
        return PlaneUnchecked(src, srcWidth, srcHeight, srcStep, dst, dstWidth, dstHeight, dstStep);
    } catch (...) {
        return false;
    }
}

bool ResampleYUY2(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                  unsigned char* dst, int dstWidth, int dstHeight, int dstStep)
{
    // Odd widths would split a luma pair from its shared chroma.
    if ((srcWidth & 1) != 0 || (dstWidth & 1) != 0)
        return false;
    if (!FitsPicture(src, srcWidth, srcHeight, srcStep, 2) ||
        !FitsPicture(dst, dstWidth, dstHeight, dstStep, 2))
        return false;
    try {
        LinePlan luma;
        LinePlan chroma;
        LinePlan down;
        if (!BuildLinePlan(luma, srcWidth, dstWidth, AreaReciprocal::Packed13) ||
            !BuildLinePlan(chroma, srcWidth / 2, dstWidth / 2, AreaReciprocal::Packed13) ||
            !BuildLinePlan(down, srcHeight, dstHeight, AreaReciprocal::Packed13))
            return false;
        // Luma at the even bytes; U and V (bytes 1 and 3 of each pair) share
        // one position table and move together.
        auto horizontal = [&luma, &chroma](const unsigned char* s, unsigned char* d) {
            RunLine(SampleLine<2, 1, 1>{s, d}, luma);
            RunLine(SampleLine<4, 2, 2>{s + 1, d + 1}, chroma);
        };
        const bool separate = !Overlap(src, Extent(2 * srcWidth, srcHeight, srcStep), dst,
                                       Extent(2 * dstWidth, dstHeight, dstStep));
        return TwoPasses(src, srcStep, luma.kind == LineKind::Copy, horizontal, down, dst,
                         dstStep, 2 * dstWidth, separate);
    } catch (...) {
        return false;
    }
}

bool ResampleYUV420Planes(const Yuv420Planes& src, const Yuv420TargetPlanes& dst)
{
    if (!FitsPicture(src.plane[0], src.width, src.height, src.step, 1) ||
        !FitsPicture(dst.plane[0], dst.width, dst.height, dst.step, 1))
        return false;
    const PlaneGeometry sc = ChromaOf(src);
    const PlaneGeometry dc = ChromaOf(dst);
    // A destination too small to hold chroma has none to write; a source
    // without chroma cannot give any to a destination that has it.
    const bool chroma = dc.width > 0 && dc.height > 0;
    if (chroma) {
        for (int p = 1; p <= 2; ++p) {
            if (!FitsPicture(src.plane[p], sc.width, sc.height, sc.step, 1) ||
                !FitsPicture(dst.plane[p], dc.width, dc.height, dc.step, 1))
                return false;
        }
    }
    try {
        if (!PlaneUnchecked(src.plane[0], src.width, src.height, src.step, dst.plane[0], dst.width,
                            dst.height, dst.step))
            return false;
        for (int p = 1; chroma && p <= 2; ++p) {
            if (!PlaneUnchecked(src.plane[p], sc.width, sc.height, sc.step, dst.plane[p], dc.width,
                                dc.height, dc.step))
                return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool ResampleYUV420(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                    int srcOffset, unsigned char* dst, int dstWidth, int dstHeight, int dstStep,
                    int dstOffset)
{
    if (src == nullptr || dst == nullptr || srcOffset < 0 || dstOffset < 0 || srcHeight <= 0 ||
        dstHeight <= 0 || srcStep < 0 || dstStep < 0)
        return false;
    // Chroma planes follow `height` rows of luma, the second after half the
    // rows of half the step.
    const std::int64_t srcChroma = static_cast<std::int64_t>(srcHeight) * srcStep;
    const std::int64_t dstChroma = static_cast<std::int64_t>(dstHeight) * dstStep;
    // The first chroma plane is height / 2 rows of step / 2 bytes. (Halving
    // the product instead would put the second plane a byte too far, past
    // the buffer's end, when the step is odd.)
    const std::int64_t srcSecond = static_cast<std::int64_t>(srcHeight / 2) * (srcStep / 2);
    const std::int64_t dstSecond = static_cast<std::int64_t>(dstHeight / 2) * (dstStep / 2);
    if (srcChroma + srcSecond + srcOffset > INT_MAX || dstChroma + dstSecond + dstOffset > INT_MAX)
        return false;
    const unsigned char* sc = src + srcChroma + srcOffset / 2;
    unsigned char* dc = dst + dstChroma + dstOffset / 2;
    const Yuv420Planes from{
        {src + srcOffset, sc, sc + srcSecond}, srcWidth, srcHeight, srcStep, srcStep / 2};
    const Yuv420TargetPlanes to{
        {dst + dstOffset, dc, dc + dstSecond}, dstWidth, dstHeight, dstStep, dstStep / 2};
    return ResampleYUV420Planes(from, to);
}

}  // namespace tul
