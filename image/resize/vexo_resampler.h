// The own resampler: separable area-shrink / cubic-stretch resizing of one
// 8-bit plane, one packed YUY2 picture, or a planar 4:2:0 picture, planned
// once for a geometry and then run frame after frame.
//
// How the resizer object uses it (a tul::VexoPlan member kept with the
// prepared resize; `r` is the RESIZE_INFO):
//
//     // Initialize / InitializeEx with INTERPOLATION_VEXO and a resize needed:
//     if (!plan.Prepare(tul::VexoFormat::Yuy2, {srcW, srcH}, {dstW, dstH},
//                       r.srcMarginX, r.dstMarginX, r.dstMarginY,
//                       TulImage::FIELD_FRAME, true)) {
//         if (plan.OutOfMemory()) -> status 1 (memory could not be obtained);
//         otherwise the geometry is one the resampler cannot resize (an odd
//         YUY2 width once the margins are off, margins as wide as the
//         picture): every frame of this plan fails, status 4 as before.
//     }
//     // every frame, after painting the background black:
//     ok = plan.Run(src, dst, r.srcStep, r.dstStep);   // allocates nothing
//
// Prepare again whenever the geometry changes; Clear() releases the memory.
// A plan is copyable (the copy owns its own tables and block; copying may
// throw std::bad_alloc) and movable.
//
// Steps are non-negative: pointers address the first row in memory. Source
// and destination may be the same memory (all of a picture is read before
// any of it is written), as in-place deinterlacing needs.
#pragma once

#include "image/TulImage.h"
#include "image/resize/vexo_tables.h"
#include "platform/ipp/split_join422.h"

#include <cstdint>
#include <vector>

namespace tul {

// One picture's two passes: every source row resampled horizontally into an
// intermediate block, then the block resampled vertically into the
// destination a whole row at a time. The plan holds the line plans of both
// passes (kernel choice, area schedules and reciprocals, cubic position and
// weight tables), the intermediate block (source rows x destination row
// bytes), the row of 32-bit sums a vertical area shrink adds into, and,
// for YUY2, six planar rows and the chosen split and join rows: a packed row
// is split into Y, U and V rows, each resampled as a plane (contiguous loads
// and stores, several times faster than lane by lane across the packed
// bytes, and the same bytes since every sample has its own formula), and
// joined into the block. Run touches only those, reading the source and
// writing the destination picture; it never allocates.
class TwoPassPlan {
public:
    // Packed: YUY2 with widths in pixels (both even); else one 8-bit plane.
    // False, with the plan left empty, for sizes below one sample, odd YUY2
    // widths, an area grid or block beyond 32 signed bits, or no memory.
    bool Prepare(bool packed, int srcWidth, int srcHeight, int dstWidth, int dstHeight);
    // Whether these pictures lie within what the plan may touch: pointers
    // set, steps no shorter than a row, extents within 32 signed bits.
    bool Fits(const unsigned char* src, int srcStep, const unsigned char* dst, int dstStep) const;
    // Resamples one picture; false (nothing written) when it does not fit.
    bool Run(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep);
    bool Ready() const { return m_ready; }
    bool OutOfMemory() const { return m_outOfMemory; }
    void Clear();

private:
    void RunFitting(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep);
    void Horizontal(const unsigned char* s, unsigned char* d);

    bool m_ready = false;
    bool m_outOfMemory = false;
    bool m_packed = false;
    int m_srcWidth = 0;
    int m_srcHeight = 0;
    int m_dstWidth = 0;
    int m_dstHeight = 0;
    LinePlan m_across;  // a plane's row, or YUY2 luma
    LinePlan m_chroma;  // YUY2 U and V (one table for both)
    LinePlan m_down;
    std::vector<unsigned char> m_block;
    std::vector<std::uint32_t> m_sums;
    std::vector<unsigned char> m_planarRows;  // YUY2: source Y U V, then destination Y U V
    tulipp::Split422RowFn m_split = nullptr;
    tulipp::Join422RowFn m_join = nullptr;
};

// One-call forms: plan, then run once. Widths are in pixels; YUY2 widths
// must be even. Refusals as TwoPassPlan's (false, nothing written).
bool ResamplePlane(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                   unsigned char* dst, int dstWidth, int dstHeight, int dstStep);
bool ResampleYUY2(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                  unsigned char* dst, int dstWidth, int dstHeight, int dstStep);

enum class VexoFormat { Yuy2, Yuv420 };

// A whole frame's resize by the own resampler: the field rule, the source
// crop by srcMarginX (srcMarginX / 2 pixels on the left) and the placement
// inside the destination by dstMarginX and dstMarginY (half of each, rounded
// down, on the left and at the top), decided once; the pictures' passes
// planned once (for 4:2:0 the luma plane and one plan serving both chroma
// planes). Run then only works out addresses from the frames' own heights
// and steps and resamples.
//
// The destination outside the resized picture is never written: callers
// paint the background first.
//
// Floating point: the cubic tables (built by Prepare) and the linear ends
// of a stretched line (computed by Run) convert to integer by truncation,
// which the language's conversion does in any rounding mode; the double
// arithmetic before it is done in round-to-nearest, which Prepare and Run
// set for their duration and then restore, so results never depend on the
// caller's mode.
class VexoPlan {
public:
    // False, with the plan left empty, for: sizes below 1; negative
    // margins; YUY2 margins that are not whole pixel pairs on each side
    // (multiples of 4) or YUY2 widths that are odd once the margins are
    // off; nothing left once the field is taken and the margins are off;
    // a 4:2:0 destination with chroma rows or columns from a source with
    // none; an area grid or block beyond 32 signed bits; no memory (then
    // OutOfMemory() is true).
    bool Prepare(VexoFormat format, IppiSize srcSize, IppiSize dstSize, int srcMarginX,
                 int dstMarginX, int dstMarginY, TulImage::FIELD_TYPE field, bool fieldToField);
    // Resizes one frame: `src` and `dst` address the frames' first bytes,
    // steps are their own row steps (for 4:2:0 the luma step; the chroma
    // planes follow the luma plane of the frame's own height at half the
    // pitch). False, with nothing written, when the plan is not ready, a
    // pointer is null, a step is negative or shorter than a row, or a frame
    // does not fit in 32 signed bits. Allocates nothing.
    bool Run(const unsigned char* src, unsigned char* dst, int srcStep, int dstStep);
    bool Ready() const { return m_ready; }
    bool OutOfMemory() const { return m_outOfMemory; }
    void Clear();

private:
    bool RunYuy2(const unsigned char* src, unsigned char* dst, int srcStep, int dstStep);
    bool RunYuv420(const unsigned char* src, unsigned char* dst, int srcStep, int dstStep);

    bool m_ready = false;
    bool m_outOfMemory = false;
    VexoFormat m_format = VexoFormat::Yuy2;
    IppiSize m_srcSize{0, 0};  // the frames' own sizes
    IppiSize m_dstSize{0, 0};
    int m_srcMarginX = 0;
    int m_dstMarginX = 0;
    int m_dstTop = 0;  // rows (of the written field) above the picture
    TulImage::FIELD_TYPE m_field = TulImage::FIELD_FRAME;
    bool m_fieldToField = true;
    bool m_chromaPlanes = false;  // 4:2:0 destination has chroma to write
    TwoPassPlan m_picture;        // YUY2 picture, or 4:2:0 luma
    TwoPassPlan m_chroma;         // both 4:2:0 chroma planes
};

}  // namespace tul
