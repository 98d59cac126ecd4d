// The Y'CbCr to RGB kernels, each one fused row pass from source rows to
// destination rows: YUY2 and 4:2:0 to plain RGB (BT.601 studio range, the
// vector rows of platform/ipp/to_rgb_rows.h) and to shifted-straight RGB
// (JFIF, then every component lowered by 16; chroma widened with the JPEG
// triangle filter first).
//
// Orientation is row addressing: source memory row m goes to destination
// row DstRowFor(m). Only the pixels are written; row padding is left as
// it was. Odd sizes: the lone last pixel of a row, and the last luma row
// of an odd-height picture (or of a field whose chroma runs out), take the
// chroma of the nearest complete block of their own field
// (yuv_to_rgb_rows.h), so every pixel is defined and nothing outside the
// source picture is read.
#include "image/color/kernel_table.h"
#include "image/color/yuv_to_rgb_rows.h"
#include "platform/ipp/sample_up_rows.h"
#include "platform/ipp/to_rgb_rows.h"

#include <vector>

namespace tul::color {
namespace {

using tulipp::I420ToBgrRowFn;
using tulipp::Yuy2ToBgrRowFn;
using JfifRowFn = void (*)(const Ipp8u*, const Ipp8u*, const Ipp8u*, Ipp8u*, int);

void Yuy2ToBgr(const KernelCall& call, Yuy2ToBgrRowFn row)
{
    for (int m = 0; m < call.height; ++m)
        row(call.SrcRow(m), call.DstRow(call.DstRowFor(m)), call.width);
}

// Luma rows that share a chroma row go through the row together: the
// frame's rows 2c and 2c + 1, a field's rows m and m + 2 (m % 4 < 2). A
// row without such a partner (the last of an odd height or of a field)
// goes alone.
void I420ToBgr(const KernelCall& call, I420ToBgrRowFn row)
{
    const Planes420 planes = call.SrcPlanes();
    const int gap = call.progressive ? 1 : 2;
    for (int m = 0; m < call.height; ++m) {
        if (m % (2 * gap) >= gap)
            continue;  // the partner of m - gap
        const int partner = m + gap < call.height ? m + gap : m;
        const std::ptrdiff_t c = planes.chromaPitch * ChromaFieldOf(m, call.height, call.progressive).Row();
        row(call.SrcRow(m), call.SrcRow(partner), call.src + planes.offset[1] + c, call.src + planes.offset[2] + c,
            call.DstRow(call.DstRowFor(m)), call.DstRow(call.DstRowFor(partner)), call.width);
    }
}

// Shifted-straight from YUY2: per row, the pairs' chroma (the lone pair of
// a one-pixel row counts as whole) widened by H2V1 to full width.
void Yuy2ToShifted(const KernelCall& call, JfifRowFn row)
{
    const int w = call.width, pairs = std::max(w / 2, 1);
    std::vector<Ipp8u> scratch(3 * static_cast<std::size_t>(w) + 2 * static_cast<std::size_t>(pairs));
    Ipp8u* y = scratch.data();
    Ipp8u* u = y + w;
    Ipp8u* v = u + w;
    Ipp8u* halfU = v + w;
    Ipp8u* halfV = halfU + pairs;
    for (int m = 0; m < call.height; ++m) {
        const Ipp8u* s = call.SrcRow(m);
        for (int x = 0; x < w; ++x)
            y[x] = s[2 * x];
        for (int k = 0; k < pairs; ++k) {
            halfU[k] = s[4 * k + 1];
            halfV[k] = s[4 * k + 3];
        }
        tulipp::SampleUpH2V1Row(halfU, pairs, u, w);
        tulipp::SampleUpH2V1Row(halfV, pairs, v, w);
        row(y, u, v, call.DstRow(call.DstRowFor(m)), w);
    }
}

// Shifted-straight from 4:2:0: each luma row's chroma widened by H2V2 from
// the rows of its own field (ChromaField::UpRows), then converted.
void I420ToShifted(const KernelCall& call, JfifRowFn row)
{
    const Planes420 planes = call.SrcPlanes();
    const int w = call.width, half = w / 2;
    std::vector<Ipp8u> scratch(2 * static_cast<std::size_t>(w));
    Ipp8u* u = scratch.data();
    Ipp8u* v = u + w;
    const auto chromaRow = [&](int plane, int r) { return call.src + planes.offset[plane] + planes.chromaPitch * r; };
    for (int m = 0; m < call.height; ++m) {
        int nearRow = 0, farRow = 0;
        ChromaFieldOf(m, call.height, call.progressive).UpRows(nearRow, farRow);
        tulipp::SampleUpH2V2Row(chromaRow(1, nearRow), chromaRow(1, farRow), half, u, w);
        tulipp::SampleUpH2V2Row(chromaRow(2, nearRow), chromaRow(2, farRow), half, v, w);
        row(call.SrcRow(m), u, v, call.DstRow(call.DstRowFor(m)), w);
    }
}

}  // namespace

void YUV420ToRGB24(const KernelCall& call) { I420ToBgr(call, tulipp::kI420ToBgr24Rows.Active()); }
void YUV420ToRGB32(const KernelCall& call) { I420ToBgr(call, tulipp::kI420ToBgr32Rows.Active()); }
void CCIR601YUY2ToRGB24(const KernelCall& call) { Yuy2ToBgr(call, tulipp::kYuy2ToBgr24Rows.Active()); }
void CCIR601YUY2ToRGB32(const KernelCall& call) { Yuy2ToBgr(call, tulipp::kYuy2ToBgr32Rows.Active()); }

void YUV420ToVexoShiftedStraightRGB24(const KernelCall& call) { I420ToShifted(call, tulipp::JfifToShiftedBgr24Row); }
void YUV420ToVexoShiftedStraightRGB32(const KernelCall& call) { I420ToShifted(call, tulipp::JfifToShiftedBgr32Row); }
void CCIR601YUY2ToVexoShiftedStraightRGB24(const KernelCall& call)
{
    Yuy2ToShifted(call, tulipp::JfifToShiftedBgr24Row);
}
void CCIR601YUY2ToVexoShiftedStraightRGB32(const KernelCall& call)
{
    Yuy2ToShifted(call, tulipp::JfifToShiftedBgr32Row);
}

}  // namespace tul::color
