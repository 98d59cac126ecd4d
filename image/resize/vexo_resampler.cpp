// The own resampler's plans: checks and tables made once by Prepare, and
// the two passes (every source row horizontally into the intermediate
// block, then the block vertically into the destination, a whole row at a
// time) run by Run without allocating.
#include "image/resize/vexo_resampler.h"

#include "image/foundation/format_table.h"
#include "image/resize/field_rules.h"
#include "image/resize/vexo_kernels.h"

#include <cfenv>
#include <climits>
#include <cstring>
#include <new>

namespace tul {
namespace {

// Holds round-to-nearest for the double arithmetic of the tables and the
// linear ends, and gives the caller's mode back on the way out.
class NearestRounding {
public:
    NearestRounding() : m_saved(std::fegetround())
    {
        if (m_saved != FE_TONEAREST)
            std::fesetround(FE_TONEAREST);
    }
    ~NearestRounding()
    {
        if (m_saved != FE_TONEAREST)
            std::fesetround(m_saved);
    }
    NearestRounding(const NearestRounding&) = delete;
    NearestRounding& operator=(const NearestRounding&) = delete;

private:
    int m_saved;
};

// A picture the engines may touch: rows of `row` bytes at a step no
// shorter than that, all within 32 signed bits of its start.
bool FitsPicture(const void* p, std::int64_t row, int height, int step)
{
    if (p == nullptr || step < row)
        return false;
    return static_cast<std::int64_t>(height - 1) * step + row <= INT_MAX;
}

// Bytes from a picture's first row to the end of its last.
std::int64_t Extent(std::int64_t row, int height, int step)
{
    return static_cast<std::int64_t>(height - 1) * step + row;
}

// Whether two byte ranges share any byte. Source and destination may be
// one buffer (in-place deinterlacing resizes a field onto its own frame).
bool Overlap(const unsigned char* a, std::int64_t aBytes, const unsigned char* b, std::int64_t bBytes)
{
    const auto x = reinterpret_cast<std::uintptr_t>(a);
    const auto y = reinterpret_cast<std::uintptr_t>(b);
    return x < y + static_cast<std::uintptr_t>(bBytes) && y < x + static_cast<std::uintptr_t>(aBytes);
}

template <class Byte>
Byte* RowOf(Byte* base, int step, int r)
{
    return base + static_cast<std::ptrdiff_t>(r) * step;
}

}  // namespace

// ---- One picture ------------------------------------------------------------

void TwoPassPlan::Clear()
{
    *this = TwoPassPlan{};
}

bool TwoPassPlan::Prepare(bool packed, int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    Clear();
    // Odd YUY2 widths would split a luma pair from its shared chroma.
    if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0 ||
        (packed && ((srcWidth & 1) != 0 || (dstWidth & 1) != 0)))
        return false;
    const int bytes = packed ? 2 : 1;
    const std::int64_t rowBytes = static_cast<std::int64_t>(dstWidth) * bytes;
    const std::int64_t blockBytes = rowBytes * srcHeight;
    if (static_cast<std::int64_t>(srcWidth) * bytes > INT_MAX || blockBytes > INT_MAX)
        return false;
    try {
        const NearestRounding rounding;
        const AreaReciprocal reciprocal = packed ? AreaReciprocal::Packed13 : AreaReciprocal::Plane32;
        if (!BuildLinePlan(m_across, srcWidth, dstWidth, reciprocal) ||
            (packed && !BuildLinePlan(m_chroma, srcWidth / 2, dstWidth / 2, reciprocal)) ||
            !BuildLinePlan(m_down, srcHeight, dstHeight, reciprocal)) {
            Clear();
            return false;
        }
        // The block is kept even when one pass is a copy: with source and
        // destination overlapping, every source row must be read first.
        m_block.resize(static_cast<std::size_t>(blockBytes));
        if (m_down.kind == LineKind::Shrink)
            m_sums.resize(static_cast<std::size_t>(rowBytes));
        if (packed && m_across.kind != LineKind::Copy) {
            m_planarRows.resize(2 * (static_cast<std::size_t>(srcWidth) + static_cast<std::size_t>(dstWidth)));
            m_split = tulipp::kSplit422Rows.Active();
            m_join = tulipp::kJoin422Rows.Active();
        }
    } catch (const std::bad_alloc&) {
        Clear();
        m_outOfMemory = true;
        return false;
    }
    m_packed = packed;
    m_srcWidth = srcWidth;
    m_srcHeight = srcHeight;
    m_dstWidth = dstWidth;
    m_dstHeight = dstHeight;
    m_ready = true;
    return true;
}

bool TwoPassPlan::Fits(const unsigned char* src, int srcStep, const unsigned char* dst,
                       int dstStep) const
{
    const int bytes = m_packed ? 2 : 1;
    return m_ready &&
           FitsPicture(src, static_cast<std::int64_t>(m_srcWidth) * bytes, m_srcHeight, srcStep) &&
           FitsPicture(dst, static_cast<std::int64_t>(m_dstWidth) * bytes, m_dstHeight, dstStep);
}

bool TwoPassPlan::Run(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep)
{
    if (!Fits(src, srcStep, dst, dstStep))
        return false;
    const NearestRounding rounding;
    RunFitting(src, srcStep, dst, dstStep);
    return true;
}

// A YUY2 row is split into its luma row and its U and V rows, which share
// one position table; each is resampled as a plane and the three results
// are joined into the destination row.
void TwoPassPlan::Horizontal(const unsigned char* s, unsigned char* d)
{
    if (!m_packed) {
        RunLine(SampleLine{s, d}, m_across);
        return;
    }
    unsigned char* y = m_planarRows.data();
    unsigned char* u = y + m_srcWidth;
    unsigned char* v = u + m_srcWidth / 2;
    unsigned char* outY = v + m_srcWidth / 2;
    unsigned char* outU = outY + m_dstWidth;
    unsigned char* outV = outU + m_dstWidth / 2;
    m_split(s, y, u, v, m_srcWidth);
    RunLine(SampleLine{y, outY}, m_across);
    RunLine(SampleLine{u, outU}, m_chroma);
    RunLine(SampleLine{v, outV}, m_chroma);
    m_join(outY, outU, outV, d, m_dstWidth);
}

// Every source byte is read before the first destination byte is written,
// so source and destination may overlap. When they do not and one pass is a
// copy, the other pass reads or writes the caller's buffer directly instead:
// the same bytes, one pass over memory fewer.
void TwoPassPlan::RunFitting(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep)
{
    const int bytes = m_packed ? 2 : 1;
    const int rowBytes = m_dstWidth * bytes;
    const auto width = static_cast<std::size_t>(rowBytes);
    const bool horizontalCopy = m_across.kind == LineKind::Copy;
    const bool separate = !Overlap(src, Extent(static_cast<std::int64_t>(m_srcWidth) * bytes, m_srcHeight, srcStep),
                                   dst, Extent(rowBytes, m_dstHeight, dstStep));

    if (separate && m_down.kind == LineKind::Copy) {
        for (int r = 0; r < m_srcHeight; ++r) {
            if (horizontalCopy)
                std::memcpy(RowOf(dst, dstStep, r), RowOf(src, srcStep, r), width);
            else
                Horizontal(RowOf(src, srcStep, r), RowOf(dst, dstStep, r));
        }
        return;
    }

    const unsigned char* middle = src;
    int middleStep = srcStep;
    if (!separate || !horizontalCopy) {
        unsigned char* block = m_block.data();
        for (int r = 0; r < m_srcHeight; ++r) {
            unsigned char* row = block + static_cast<std::size_t>(r) * width;
            if (horizontalCopy)
                std::memcpy(row, RowOf(src, srcStep, r), width);
            else
                Horizontal(RowOf(src, srcStep, r), row);
        }
        middle = block;
        middleStep = rowBytes;
    }
    RunLine(RowLine{middle, middleStep, dst, dstStep, rowBytes, m_sums.data()}, m_down);
}

namespace {

bool RunOnce(bool packed, const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
             unsigned char* dst, int dstWidth, int dstHeight, int dstStep)
{
    // Bad pointers and steps are refused before any memory is taken.
    const int bytes = packed ? 2 : 1;
    if (srcWidth <= 0 || dstWidth <= 0 || srcHeight <= 0 || dstHeight <= 0 ||
        !FitsPicture(src, static_cast<std::int64_t>(srcWidth) * bytes, srcHeight, srcStep) ||
        !FitsPicture(dst, static_cast<std::int64_t>(dstWidth) * bytes, dstHeight, dstStep))
        return false;
    TwoPassPlan plan;
    return plan.Prepare(packed, srcWidth, srcHeight, dstWidth, dstHeight) &&
           plan.Run(src, srcStep, dst, dstStep);
}

}  // namespace

bool ResamplePlane(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                   unsigned char* dst, int dstWidth, int dstHeight, int dstStep)
{
    return RunOnce(false, src, srcWidth, srcHeight, srcStep, dst, dstWidth, dstHeight, dstStep);
}

bool ResampleYUY2(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                  unsigned char* dst, int dstWidth, int dstHeight, int dstStep)
{
    return RunOnce(true, src, srcWidth, srcHeight, srcStep, dst, dstWidth, dstHeight, dstStep);
}

// ---- A whole frame ------------------------------------------------------------

namespace {

// The frame a caller describes must be addressable in 32 signed bits, with
// rows no shorter than the picture's; a 4:2:0 frame ends with its second
// chroma plane.
bool FrameFits(VexoFormat format, IppiSize size, int step)
{
    const std::int64_t row = format == VexoFormat::Yuy2 ? 2 * static_cast<std::int64_t>(size.width)
                                                        : size.width;
    if (step < row)
        return false;
    const std::int64_t bytes = format == VexoFormat::Yuy2
                                   ? static_cast<std::int64_t>(size.height - 1) * step + row
                                   : PlanesOf420(step, size.height).end;
    return bytes <= INT_MAX;
}

// How one 4:2:0 frame is entered: every `rowStride`-th row from row
// `firstRow`, `marginBytes` luma bytes in (half as many chroma bytes), and
// `top` rows of the chosen rows further down (half as many chroma rows).
struct FrameEntry {
    int height;       // the frame's own rows
    int step;         // the frame's own luma step
    int rowStride;    // 2 when one field is taken, else 1
    int firstRow;     // 1 for the odd field
    int marginBytes;
    int top;
};

// The three planes' first bytes and their row steps. The planes lie where
// the frame's own height and pitch put them, and chroma rows are counted at
// the frame's chroma pitch (step / 2), so an odd luma step still lands each
// chroma field row on a chroma row.
template <class Byte>
struct EnteredPlanes {
    Byte* plane[3];
    int step;
    int chromaStep;
};

template <class Byte>
EnteredPlanes<Byte> EnterFrame(Byte* frame, const FrameEntry& e)
{
    const Planes420 planes = PlanesOf420(e.step, e.height);
    const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(planes.chromaPitch);
    EnteredPlanes<Byte> p{};
    p.step = e.rowStride * e.step;
    p.chromaStep = static_cast<int>(e.rowStride * pitch);
    p.plane[0] = frame + e.marginBytes + static_cast<std::ptrdiff_t>(e.firstRow) * e.step +
                 static_cast<std::ptrdiff_t>(e.top) * p.step;
    const std::ptrdiff_t chroma = e.marginBytes / 2 + e.firstRow * pitch +
                                  static_cast<std::ptrdiff_t>(e.top / 2) * p.chromaStep;
    p.plane[1] = frame + planes.offset[1] + chroma;
    p.plane[2] = frame + planes.offset[2] + chroma;
    return p;
}

}  // namespace

void VexoPlan::Clear()
{
    *this = VexoPlan{};
}

bool VexoPlan::Prepare(VexoFormat format, IppiSize srcSize, IppiSize dstSize, int srcMarginX,
                       int dstMarginX, int dstMarginY, TulImage::FIELD_TYPE field,
                       bool fieldToField)
{
    Clear();
    const bool packed = format == VexoFormat::Yuy2;
    if (srcSize.width <= 0 || srcSize.height <= 0 || dstSize.width <= 0 || dstSize.height <= 0 ||
        srcMarginX < 0 || dstMarginX < 0 || dstMarginY < 0)
        return false;
    // A packed margin that is not a whole number of pixel pairs on each
    // side would start rows on a chroma byte.
    if (packed && (srcMarginX % 4 != 0 || dstMarginX % 4 != 0))
        return false;
    // Steps do not change the heights the field rule gives.
    const FieldGeometry g =
        ApplyFieldRule(field, fieldToField, 0, 0, srcSize.height, dstSize.height, srcSize.height, 1.0);
    const int srcWidth = srcSize.width - srcMarginX;
    const int dstWidth = dstSize.width - dstMarginX;
    const int dstHeight = g.dstHeight - dstMarginY;
    if (srcWidth <= 0 || g.srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0)
        return false;
    // A 4:2:0 destination too small to hold chroma has none to write; a
    // source without chroma cannot give any to a destination that has it.
    const bool chroma = !packed && dstWidth / 2 > 0 && dstHeight / 2 > 0;
    if (chroma && (srcWidth / 2 == 0 || g.srcHeight / 2 == 0))
        return false;
    if (!m_picture.Prepare(packed, srcWidth, g.srcHeight, dstWidth, dstHeight) ||
        (chroma && !m_chroma.Prepare(false, srcWidth / 2, g.srcHeight / 2, dstWidth / 2, dstHeight / 2))) {
        const bool outOfMemory = m_picture.OutOfMemory() || m_chroma.OutOfMemory();
        Clear();
        m_outOfMemory = outOfMemory;
        return false;
    }
    m_format = format;
    m_srcSize = srcSize;
    m_dstSize = dstSize;
    m_srcMarginX = srcMarginX;
    m_dstMarginX = dstMarginX;
    m_dstTop = dstMarginY / 2;
    m_field = field;
    m_fieldToField = fieldToField;
    m_chromaPlanes = chroma;
    m_ready = true;
    return true;
}

bool VexoPlan::Run(const unsigned char* src, unsigned char* dst, int srcStep, int dstStep)
{
    if (!m_ready || src == nullptr || dst == nullptr || srcStep < 0 || dstStep < 0 ||
        !FrameFits(m_format, m_srcSize, srcStep) || !FrameFits(m_format, m_dstSize, dstStep))
        return false;
    if (m_field != TulImage::FIELD_FRAME && (srcStep > INT_MAX / 2 || dstStep > INT_MAX / 2))
        return false;
    return m_format == VexoFormat::Yuy2 ? RunYuy2(src, dst, srcStep, dstStep)
                                        : RunYuv420(src, dst, srcStep, dstStep);
}

bool VexoPlan::RunYuy2(const unsigned char* src, unsigned char* dst, int srcStep, int dstStep)
{
    const FieldGeometry g = ApplyFieldRule(m_field, m_fieldToField, srcStep, dstStep,
                                           m_srcSize.height, m_dstSize.height, m_srcSize.height, 1.0);
    // Margins are in pixels; half of them on the left is margin bytes.
    const unsigned char* from = src + g.srcOffset + m_srcMarginX;
    unsigned char* to = dst + g.dstOffset + static_cast<std::ptrdiff_t>(m_dstTop) * g.dstStep + m_dstMarginX;
    return m_picture.Run(from, g.srcStep, to, g.dstStep);
}

// Chroma planes are found from the frames' own heights and pitches, not
// from the resampled rows: with a field or a vertical margin the resampled
// height is not the frame's, and addressing from it would land chroma in
// the wrong plane (for heights of 2 mod 4, or odd steps, even past the
// buffer). A vertical margin centres the picture as the packed entry does,
// dstMarginY / 2 rows above it (and half as many chroma rows).
bool VexoPlan::RunYuv420(const unsigned char* src, unsigned char* dst, int srcStep, int dstStep)
{
    const bool oneField = m_field != TulImage::FIELD_FRAME;
    const int odd = m_field == TulImage::FIELD_ODD ? 1 : 0;
    const auto from = EnterFrame(src, {m_srcSize.height, srcStep, oneField ? 2 : 1, odd, m_srcMarginX / 2, 0});
    const auto to = EnterFrame(dst, {m_dstSize.height, dstStep, oneField && m_fieldToField ? 2 : 1,
                                     m_fieldToField ? odd : 0, m_dstMarginX / 2, m_dstTop});
    // Every plane is checked before any is written.
    if (!m_picture.Fits(from.plane[0], from.step, to.plane[0], to.step))
        return false;
    for (int p = 1; m_chromaPlanes && p <= 2; ++p) {
        if (!m_chroma.Fits(from.plane[p], from.chromaStep, to.plane[p], to.chromaStep))
            return false;
    }
    const NearestRounding rounding;
    m_picture.Run(from.plane[0], from.step, to.plane[0], to.step);
    for (int p = 1; m_chromaPlanes && p <= 2; ++p)
        m_chroma.Run(from.plane[p], from.chromaStep, to.plane[p], to.chromaStep);
    return true;
}

}  // namespace tul
