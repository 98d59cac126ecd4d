// The Y'CbCr rearranging kernels: I420 to YV12 (plane swap), 4:2:0 to
// packed YUY2 (chroma rows repeated) and YUY2 to 4:2:0 (chroma rows
// picked). One pass from source rows to destination rows through the
// split/join rows of the primitives; orientation is row addressing.
//
// Rows are paired in picture order (counted from each picture's top row,
// whatever its orientation): chroma row i belongs to picture rows 2i and
// 2i + 1 of a frame, and in a field pair to rows 4k + f and 4k + 2 + f of
// field f, i = 2k + f. A row whose chroma row does not exist (odd heights,
// heights not a multiple of 4) takes the nearest chroma row of its own
// field, or of the other field when its own has none.
#include "image/color/kernel_table.h"
#include "platform/ipp/split_join422.h"
#include "platform/ipp/yuy2_luma_rows.h"

#include <algorithm>
#include <cstring>

namespace tul::color {
namespace {

// Memory row of picture row p on a side of `rows` rows.
int MemoryRow(int p, int rows, int step) { return step < 0 ? rows - 1 - p : p; }

// The chroma row (picture order) that picture row p of a 4:2:0 picture
// with `chromaRows` rows uses.
int ChromaRowOf(int p, int chromaRows, bool progressive)
{
    if (progressive)
        return std::min(p / 2, chromaRows - 1);
    const int field = p & 1;
    const int c = 2 * (p >> 2) + field;
    if (c < chromaRows)
        return c;
    if (chromaRows - 1 - field < 0)  // a field without chroma rows of its own
        return 0;
    return field + 2 * ((chromaRows - 1 - field) / 2);  // the last one of its own field
}

// The picture row of a YUY2 picture of `height` rows whose chroma becomes
// chroma row i: the lower row of a frame pair, the second row of a field
// pair, or the first one when the second lies past the picture.
int SourceRowOfChroma(int i, int height, bool progressive)
{
    if (progressive)
        return 2 * i + 1;
    const int p = 4 * (i >> 1) + 2 + (i & 1);
    return p < height ? p : p - 2;
}

// Chroma plane pointers of a 4:2:0 side: U and V, whatever their order.
struct ChromaPlanes {
    std::int64_t u, v;
};

ChromaPlanes ChromaOf(Format format, const Planes420& planes)
{
    const bool yv12 = format == TulImage::COLOR_FORMAT_YV12;
    return {planes.offset[yv12 ? 2 : 1], planes.offset[yv12 ? 1 : 2]};
}

void YUY2To420(const KernelCall& c)
{
    const Planes420 d = c.DstPlanes();
    const ChromaPlanes dc = ChromaOf(c.dstFormat, d);
    const int rows = c.height, chromaRows = static_cast<int>(d.chromaRows);
    const auto chroma = tulipp::kChroma422Rows.Active();
    const auto luma = tulipp::kLuma422Rows.Active();
    int next = 0;  // the next chroma row to produce
    for (int p = 0; p < rows; ++p) {
        const unsigned char* s = c.SrcRow(MemoryRow(p, rows, c.srcStep));
        if (next < chromaRows && SourceRowOfChroma(next, rows, c.progressive) == p) {
            const std::int64_t m = MemoryRow(next++, chromaRows, c.dstStep) * d.chromaPitch;
            chroma(s, c.dst + dc.u + m, c.dst + dc.v + m, c.width);
        }
        luma(s, c.DstRow(MemoryRow(p, rows, c.dstStep)), c.width);
    }
}

}  // namespace

// Equal steps copy whole planes; different steps copy rows of the shorter
// pitch (chroma: half of it), the picture's top row to the top row, every
// luma row including the lone last one of an odd height.
void YUV420ToYV12(const KernelCall& c)
{
    const Planes420 s = c.SrcPlanes(), d = c.DstPlanes();
    if (c.srcStep == c.dstStep) {
        std::memcpy(c.dst, c.src, static_cast<std::size_t>(s.offset[1]));
        const auto plane = static_cast<std::size_t>(s.chromaPitch * s.chromaRows);
        std::memcpy(c.dst + d.offset[1], c.src + s.offset[2], plane);
        std::memcpy(c.dst + d.offset[2], c.src + s.offset[1], plane);
        return;
    }
    const auto n = static_cast<std::size_t>(std::min(c.SrcPitch(), c.DstPitch()));
    for (int m = 0; m < c.height; ++m)
        std::memcpy(c.DstRow(c.DstRowFor(m)), c.SrcRow(m), n);
    const int chromaRows = static_cast<int>(s.chromaRows);
    for (int m = 0; m < chromaRows; ++m) {
        const std::int64_t to = (c.Flip() ? chromaRows - 1 - m : m) * d.chromaPitch;
        const std::int64_t from = m * s.chromaPitch;
        std::memcpy(c.dst + d.offset[1] + to, c.src + s.offset[2] + from, n / 2);
        std::memcpy(c.dst + d.offset[2] + to, c.src + s.offset[1] + from, n / 2);
    }
}

// Each YUY2 row joins its luma row with the chroma row of its frame pair or
// field pair. An odd width's lone last pixel makes a whole pair with the
// last chroma sample and its own luma twice.
void YUV420ToCCIR601YUY2(const KernelCall& c)
{
    const Planes420 s = c.SrcPlanes();
    const int rows = c.height, chromaRows = static_cast<int>(s.chromaRows);
    const int even = c.width & ~1;
    const auto join = tulipp::kJoin422Rows.Active();
    for (int p = 0; p < rows; ++p) {
        const unsigned char* y = c.SrcRow(MemoryRow(p, rows, c.srcStep));
        const int ci = MemoryRow(ChromaRowOf(p, chromaRows, c.progressive), chromaRows, c.srcStep);
        const unsigned char* u = c.src + s.offset[1] + ci * s.chromaPitch;
        const unsigned char* v = c.src + s.offset[2] + ci * s.chromaPitch;
        unsigned char* out = c.DstRow(MemoryRow(p, rows, c.dstStep));
        join(y, u, v, out, even);
        if (even != c.width) {
            unsigned char* last = out + 2 * even;
            last[0] = last[2] = y[even];
            last[1] = u[even / 2 - 1];
            last[3] = v[even / 2 - 1];
        }
    }
}

// Chroma row i comes from one YUY2 row, not an average: the lower row of
// its frame pair, the second row of its field pair.
void CCIR601YUY2ToYUV420(const KernelCall& c) { YUY2To420(c); }
void CCIR601YUY2ToYV12(const KernelCall& c) { YUY2To420(c); }

}  // namespace tul::color
