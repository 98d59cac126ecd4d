// The conversion stage: one three-phase driver (resize, or re-pitch and
// orientation without one; then the field work) over a small table of the
// four destination families, and the resamplers it runs, prepared once.
#include "image/convert/convert_plan.h"
#include "image/foundation/black_fill.h"
#include "image/foundation/format_table.h"
#include "image/resize/resize_workers.h"
#include "image/resize/status_guard.h"
#include "platform/ipp/ippi.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tul {
namespace {

using T = TulImage;

enum class Stage { Yuy2, Yuv420, Rgb24, Rgb32 };

using FieldSwapFn = ULONG (*)(const unsigned char*, unsigned char*, ULONG, ULONG, int, T::SCAN_TYPE);
using DeInterlaceFn = ULONG (*)(const unsigned char*, unsigned char*, ULONG, ULONG, int, T::SCAN_TYPE,
                                T::DEINTERLACE_MODE, T::INTERPOLATION_MODE);

// What differs between the families; everything else is the driver's.
struct StageFamily {
    Stage stage;
    int rgbChannels;  // interleaved channels of the RGB resize, 0 for YUV
    FieldSwapFn fieldSwap;
    DeInterlaceFn deInterlace;
};

constexpr StageFamily kFamilies[4] = {
    {Stage::Yuy2, 0, &T::FieldSwapYUY2, &T::DeInterlaceYUY2},
    {Stage::Yuv420, 0, &T::FieldSwapYUV420, &T::DeInterlaceYUV420},
    {Stage::Rgb24, 3, &T::FieldSwapRGB24, &T::DeInterlaceRGB24},
    {Stage::Rgb32, 4, &T::FieldSwapRGB32, &T::DeInterlaceRGB32},
};

const StageFamily& FamilyOf(T::COLOR_FORMAT_TYPE format)
{
    switch (format) {
    case T::COLOR_FORMAT_YUY2:
        return kFamilies[0];
    case T::COLOR_FORMAT_YUV420:
    case T::COLOR_FORMAT_YV12:
        return kFamilies[1];
    case T::COLOR_FORMAT_RGB24:
    case T::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24:
        return kFamilies[2];
    default:
        return kFamilies[3];
    }
}

struct Failed {};  // a resize or mirror that fails: the stage returns 4

std::int64_t Pitch(int step)
{
    return step < 0 ? -std::int64_t{step} : std::int64_t{step};
}

// The destination in its own black before a resize writes into it.
void Blank(const StageFamily& fam, unsigned char* dst, const PICTURE_INFO& d)
{
    const std::int64_t pitch = Pitch(d.step);
    const FormatInfo& f = FormatOf(d.colorFormat);
    switch (fam.stage) {
    case Stage::Yuy2: {
        const std::size_t row = static_cast<std::size_t>(PixelRow(f, d.width));
        for (std::int64_t r = 0; r < d.height; ++r)
            FillBlack(dst + r * pitch, f, row);
        return;
    }
    case Stage::Yuv420: {
        const std::size_t luma = static_cast<std::size_t>(pitch * d.height);
        std::memset(dst, kLumaBlack, luma);
        std::memset(dst + luma, kChromaBlack, static_cast<std::size_t>(pitch / 2 * d.height));
        return;
    }
    case Stage::Rgb24:
        std::memset(dst, 0, d.size);
        return;
    case Stage::Rgb32:
        T::ClearPicture(dst, d.colorFormat, d.width, d.height, d.step);
        return;
    }
}

void MirrorRows(unsigned char* p, std::int64_t rowBytes, std::int64_t rows, std::int64_t pitch)
{
    if (rowBytes == 0 || rows == 0)
        return;
    if (ippiMirror_8u_C1IR(p, static_cast<int>(pitch),
                           IppiSize{static_cast<int>(rowBytes), static_cast<int>(rows)},
                           ippAxsHorizontal) != ippStsNoErr)
        throw Failed{};
}

// Turns the destination upside down, each 4:2:0 plane in its own place.
// Flipping rows is the same for any channel count, so packed pictures are
// mirrored as bytes over their whole pixel groups.
void Mirror(const StageFamily& fam, unsigned char* dst, const PICTURE_INFO& d)
{
    const std::int64_t pitch = Pitch(d.step);
    if (fam.stage != Stage::Yuv420) {
        MirrorRows(dst, static_cast<std::int64_t>(PixelRow(FormatOf(d.colorFormat), d.width)),
                   d.height, pitch);
        return;
    }
    MirrorRows(dst, d.width, d.height, pitch);
    const Planes420 p = PlanesOf420(pitch, d.height);
    for (int c = 1; c <= 2; ++c)
        MirrorRows(dst + p.offset[c], d.width / 2, p.chromaRows, p.chromaPitch);
}

// Rows of `bytes` bytes from one geometry to another, in place: front to
// back when rows move down in memory no faster than they are read, else
// back to front, so no unread row is overwritten.
void MoveRows(unsigned char* base, std::int64_t from, std::int64_t fromPitch, std::int64_t to,
              std::int64_t toPitch, std::int64_t rows, std::int64_t bytes)
{
    const bool forward = to <= from && toPitch <= fromPitch;
    for (std::int64_t i = 0; i < rows; ++i) {
        const std::int64_t r = forward ? i : rows - 1 - i;
        std::memmove(base + to + r * toPitch, base + from + r * fromPitch, static_cast<std::size_t>(bytes));
    }
}

// Rows copied in display order between distinct buffers, which also turns
// the picture over when exactly one side is bottom-up.
void CopyRows(const unsigned char* src, std::int64_t srcPitch, bool srcUp, unsigned char* dst,
              std::int64_t dstPitch, bool dstUp, std::int64_t rows, std::int64_t bytes)
{
    for (std::int64_t r = 0; r < rows; ++r) {
        const std::int64_t s = srcUp ? rows - 1 - r : r;
        const std::int64_t d = dstUp ? rows - 1 - r : r;
        std::memcpy(dst + d * dstPitch, src + s * srcPitch, static_cast<std::size_t>(bytes));
    }
}

// Phase B: the picture at the destination's pitch and orientation without
// a resize. Returns the picture the field work starts from.
unsigned char* Repitch(const StageFamily& fam, unsigned char* src, unsigned char* dst,
                       const PICTURE_INFO& s, const PICTURE_INFO& d, const CONVERT_INFO& info, bool flip)
{
    const std::int64_t sp = info.srcStep, dp = info.dstStep, h = d.height;
    const bool planar = fam.stage == Stage::Yuv420;
    const Planes420 sPlanes = PlanesOf420(sp, h), dPlanes = PlanesOf420(dp, h);
    const int planes = planar ? 3 : 1;
    if (src == dst) {
        if (sp != dp) {
            // Shrinking moves luma first, growing the last chroma plane first.
            for (int i = 0; i < planes; ++i) {
                const int p = sp > dp ? i : planes - 1 - i;
                const std::int64_t from = sPlanes.offset[p], to = dPlanes.offset[p];
                const std::int64_t fp = p == 0 ? sp : sPlanes.chromaPitch;
                const std::int64_t tp = p == 0 ? dp : dPlanes.chromaPitch;
                MoveRows(dst, from, fp, to, tp, p == 0 ? h : sPlanes.chromaRows, std::min(fp, tp));
            }
        }
        if (flip)
            Mirror(fam, dst, d);
        return dst;
    }
    if (sp == dp && !flip)
        return src;
    for (int p = 0; p < planes; ++p) {
        const std::int64_t fp = p == 0 ? sp : sPlanes.chromaPitch;
        const std::int64_t tp = p == 0 ? dp : dPlanes.chromaPitch;
        CopyRows(src + sPlanes.offset[p], fp, s.step < 0, dst + dPlanes.offset[p], tp, d.step < 0,
                 p == 0 ? h : sPlanes.chromaRows, std::min(fp, tp));
    }
    return dst;
}

// Phase A: blank, resize by the prepared resamplers, repeat a row of the
// same field over a lone last row of an odd packed height, turn over.
void Resize(const StageFamily& fam, unsigned char* src, unsigned char* dst, const PICTURE_INFO& d,
            const CONVERT_MODE& mode, const CONVERT_INFO& info, StageResamplers& r, bool flip)
{
    Blank(fam, dst, d);
    for (int i = 0; i < r.calls; ++i) {
        bool ok;
        if (fam.rgbChannels != 0)
            ok = r.rgb[i].Run(src + r.srcOffset[i], r.srcStep[i], dst + r.dstOffset[i], r.dstStep[i]) ==
                 ippStsNoErr;
        else if (mode.interpolation == T::INTERPOLATION_VEXO)
            ok = r.vexo[i].Run(src, dst, info.srcStep, info.dstStep);
        else
            ok = r.library[i].Run(src, info.srcStep, dst, info.dstStep, info.tempPlanar);
        if (!ok)
            throw Failed{};
    }
    const std::int64_t pitch = Pitch(d.step);
    if (fam.stage != Stage::Yuv420 && (d.height & 1) != 0 && d.height >= 3) {
        const bool sameField = d.scanType != T::SCAN_PROGRESSIVE || info.fieldAction == 1 ||
                               info.fieldAction == 2;
        const std::int64_t from = d.height - (sameField ? 3 : 2);
        std::memcpy(dst + (d.height - 1) * pitch, dst + from * pitch,
                    static_cast<std::size_t>(PixelRow(FormatOf(d.colorFormat), d.width)));
    }
    if (flip)
        Mirror(fam, dst, d);
}

}  // namespace

ULONG ConvertPlan::PrepareResamplers(const PICTURE_INFO& d, const CONVERT_MODE& mode,
                                     const CONVERT_INFO& info, StageResamplers& r)
{
    r.calls = 0;
    if (info.resizeKind == 0)
        return T::TUL_SUCCESS;
    const StageFamily& fam = FamilyOf(d.colorFormat);
    const bool fieldToField = info.fieldAction == 1 || info.fieldAction == 2;
    if (fam.rgbChannels != 0) {
        // Each call resizes {W, H'} at S' into {w, h'} at D' about the centre.
        const int W = info.srcWidth, H = info.srcHeight, w = info.dstWidth, h = info.dstHeight;
        const int S = info.srcStep, D = info.dstStep;
        struct Call {
            int srcRows, dstRows, srcStep, dstStep;
            std::int64_t srcOffset, dstOffset;
            double yFactor;
        } calls[2];
        const double y = info.yFactor;
        if (info.resizeKind == 1) {
            calls[r.calls++] = {H, h, S, D, 0, 0, y};
        } else if (info.resizeKind == 2) {
            calls[r.calls++] = {H / 2, h / 2, 2 * S, 2 * D, 0, 0, y};
            calls[r.calls++] = {H / 2, h / 2, 2 * S, 2 * D, S, D, y};
        } else if (fieldToField) {
            const bool odd = info.fieldAction == 2;
            calls[r.calls++] = {H / 2, h / 2, 2 * S, 2 * D, odd ? S : 0, odd ? D : 0, y};
        } else {
            calls[r.calls++] = {H / 2, h, 2 * S, D, info.resizeKind == 4 ? S : 0, 0, 2 * y};
        }
        for (int i = 0; i < r.calls; ++i) {
            const Call& c = calls[i];
            tulipp::ResizeCenterRequest q;
            q.channels = fam.rgbChannels;
            q.srcSize = IppiSize{W, c.srcRows};
            q.srcRoi = IppiRect{0, 0, W, c.srcRows};
            q.dstRoiSize = IppiSize{w, c.dstRows};
            q.xFactor = info.xFactor;
            q.yFactor = c.yFactor;
            q.xCenter = static_cast<double>((W + 1) / 2);
            q.yCenter = static_cast<double>((c.srcRows + 1) / 2);
            q.interpolation = GetInterpolation(mode.interpolation, info.xFactor, c.yFactor);
            r.rgb[i].Prepare(q);  // a refused geometry leaves the plan empty: its frames fail
            r.srcOffset[i] = c.srcOffset;
            r.dstOffset[i] = c.dstOffset;
            r.srcStep[i] = c.srcStep;
            r.dstStep[i] = c.dstStep;
        }
        return T::TUL_SUCCESS;
    }
    // YUY2 and 4:2:0: the workers take the field rule themselves.
    if (info.resizeKind == 2) {
        r.field[r.calls++] = T::FIELD_EVEN;
        r.field[r.calls++] = T::FIELD_ODD;
        r.fieldToField = true;
    } else {
        r.field[r.calls++] = info.resizeKind == 1   ? T::FIELD_FRAME
                             : info.resizeKind == 3 ? T::FIELD_EVEN
                                                    : T::FIELD_ODD;
        r.fieldToField = fieldToField;
    }
    const IppiSize srcSize{info.srcWidth, info.srcHeight}, dstSize{info.dstWidth, info.dstHeight};
    const bool packed = fam.stage == Stage::Yuy2;
    for (int i = 0; i < r.calls; ++i) {
        if (mode.interpolation == T::INTERPOLATION_VEXO) {
            // A field written into the field's rows has half the frame's
            // rows, so half the frame's vertical margin.
            const int marginY = r.field[i] != T::FIELD_FRAME && r.fieldToField ? info.dstMarginY / 2
                                                                                : info.dstMarginY;
            if (!r.vexo[i].Prepare(packed ? VexoFormat::Yuy2 : VexoFormat::Yuv420, srcSize, dstSize,
                                   info.srcMarginX, info.dstMarginX, marginY, r.field[i],
                                   r.fieldToField) &&
                r.vexo[i].OutOfMemory())
                return T::TUL_NO_MEMORY;
        } else {
            r.library[i].Prepare(packed ? PlanarLayout::Yuy2 : PlanarLayout::Yuv420,
                                 {srcSize, dstSize, IppiRect{0, 0, info.srcWidth, info.srcHeight},
                                  info.xFactor, info.yFactor, 0.0, 0.0, mode.interpolation,
                                  r.field[i], r.fieldToField});
        }
    }
    return T::TUL_SUCCESS;
}

ULONG ConvertPlan::RunStage(unsigned char* src, unsigned char* dst, const PICTURE_INFO& s,
                            const PICTURE_INFO& d, const CONVERT_MODE& mode, const CONVERT_INFO& info,
                            StageResamplers& r)
{
    const StageFamily& fam = FamilyOf(d.colorFormat);
    const bool flip = (s.step < 0 && d.step > 0) || (s.step > 0 && d.step < 0);
    unsigned char* current = dst;
    try {
        if (info.resizeKind != 0)
            Resize(fam, src, dst, d, mode, info, r, flip);
        else
            current = Repitch(fam, src, dst, s, d, info, flip);
    } catch (const Failed&) {
        return T::TUL_FAILED;
    }
    if (info.fieldAction == 3)
        return fam.fieldSwap(current, dst, d.width, d.height, d.step, s.scanType);
    if (info.fieldAction == 1 || info.fieldAction == 2) {
        // A packed picture of odd height turned over puts each field on the
        // other parity of memory rows.
        T::SCAN_TYPE t = s.scanType;
        if (fam.stage != Stage::Yuv420 && flip && (d.height & 1) != 0)
            t = t == T::SCAN_TOP_FIELD_FIRST ? T::SCAN_BOTTOM_FIELD_FIRST : T::SCAN_TOP_FIELD_FIRST;
        return fam.deInterlace(current, dst, d.width, d.height, d.step, t, mode.deinterlaceMode,
                               mode.interpolation);
    }
    return T::TUL_SUCCESS;
}

}  // namespace tul

// The stages as members: each plans the resamplers of the given plan and
// runs the one driver (the entry points keep theirs prepared instead).
namespace {

ULONG StageOnce(unsigned char* src, unsigned char* dst, PICTURE_INFO* s, PICTURE_INFO* d,
                CONVERT_MODE* mode, CONVERT_INFO* info)
{
    if (src == nullptr || dst == nullptr || s == nullptr || d == nullptr || mode == nullptr ||
        info == nullptr)
        return TulImage::TUL_INVALID_REQUEST;
    return tul::Guarded([&] {
        tul::StageResamplers r;
        const ULONG status = tul::ConvertPlan::PrepareResamplers(*d, *mode, *info, r);
        return status != TulImage::TUL_SUCCESS
                   ? status
                   : tul::ConvertPlan::RunStage(src, dst, *s, *d, *mode, *info, r);
    });
}

}  // namespace

ULONG TulImage::ConvertYUY2(unsigned char* src, unsigned char* dst, PICTURE_INFO* s, PICTURE_INFO* d,
                            CONVERT_MODE* mode, CONVERT_INFO* info)
{
    return StageOnce(src, dst, s, d, mode, info);
}

ULONG TulImage::ConvertYUV420(unsigned char* src, unsigned char* dst, PICTURE_INFO* s,
                              PICTURE_INFO* d, CONVERT_MODE* mode, CONVERT_INFO* info)
{
    return StageOnce(src, dst, s, d, mode, info);
}

ULONG TulImage::ConvertRGB24(unsigned char* src, unsigned char* dst, PICTURE_INFO* s,
                             PICTURE_INFO* d, CONVERT_MODE* mode, CONVERT_INFO* info)
{
    return StageOnce(src, dst, s, d, mode, info);
}

ULONG TulImage::ConvertRGB32(unsigned char* src, unsigned char* dst, PICTURE_INFO* s,
                             PICTURE_INFO* d, CONVERT_MODE* mode, CONVERT_INFO* info)
{
    return StageOnce(src, dst, s, d, mode, info);
}
