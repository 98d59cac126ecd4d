// The resize-blends: src mixed into dst over the source geometry (one
// field or the frame), then the mix resized or copied into `out`, and the
// field geometry they share (GetResizeFactorForBlend).
//
// One field rule for both steps: FIELD_EVEN is the top displayed field and
// FIELD_ODD the bottom one, so the memory parity follows each picture's
// step sign. For top-down pictures that is the resamplers' own rule
// (memory-order rows), and the bytes are those of their field path; a
// bottom-up picture gets the field it shows. The resample always runs on a
// frame (the field's rows at a doubled step, or for 4:2:0 a compact copy
// of them, since its chroma planes are found from a frame's own height),
// so source and destination parities may differ when exactly one picture
// is bottom-up.
#include "image/TulImage.h"
#include "image/field/blend_rows.h"
#include "image/resize/resize_geometry.h"
#include "image/resize/resize_workers.h"
#include "image/resize/status_guard.h"
#include "platform/ipp/ippi.h"

#include <cstdint>
#include <new>

namespace {

using T = TulImage;
using tul::blend::Spans;

// A resize-blend after admission and the field geometry.
struct Request {
    T::COLOR_FORMAT_TYPE format;
    T::INTERPOLATION_MODE mode;
    bool field;
    IppiSize src;  // the field's size (the frame's for FIELD_FRAME)
    IppiSize dst;
    int srcPitch;  // between the rows resampled (doubled for a field)
    int dstPitch;
    int srcOffset;  // bytes to the field's first row
    int dstOffset;
    double xFactor, yFactor;
    int srcMarginX, dstMarginX;
};

// A 4:2:0 frame of its own, tight, for the field's rows.
class Frame420 {
public:
    bool Allocate(IppiSize size)
    {
        m_size = size;
        const std::int64_t bytes = std::int64_t(size.width) * size.height + 2 * std::int64_t(size.height / 2) * (size.width / 2);
        return m_block.Initialize(static_cast<unsigned int>(bytes > 0 ? bytes : 1), 16) != nullptr;
    }
    unsigned char* Data() { return static_cast<unsigned char*>(m_block.GetBuffer()); }
    Spans All() { return tul::blend::PictureSpans(T::COLOR_FORMAT_YUV420, Data(), m_size.width, m_size.height, m_size.width, false, 0); }

private:
    TulMemory m_block;
    IppiSize m_size{};
};

// The resample of frame `from` into frame `to` at non-negative pitches.
bool ResampleFrame(const Request& r, unsigned char* from, int fromPitch, unsigned char* to, int toPitch)
{
    const IppiRect region{0, 0, r.src.width, r.src.height};
    switch (r.format) {
    case T::COLOR_FORMAT_YUY2: {
        if (r.mode == T::INTERPOLATION_VEXO)
            return tul::VexoResizeYUY2(from, to, fromPitch, toPitch, r.src, r.dst, r.srcMarginX, r.dstMarginX, 0,
                                       T::FIELD_FRAME, true);
        tul::ScratchPlanes scratch;
        if (!scratch.Allocate(r.src, r.dst))
            throw std::bad_alloc();
        return tul::IppResizeYUY2(from, to, fromPitch, toPitch, r.src, r.dst, region, r.xFactor, r.yFactor, r.mode,
                                  scratch.Get(), T::FIELD_FRAME, true);
    }
    case T::COLOR_FORMAT_YUV420:
        if (r.mode == T::INTERPOLATION_VEXO)
            return tul::VexoResizeYUV420(from, to, fromPitch, toPitch, r.src, r.dst, r.srcMarginX, r.dstMarginX, 0,
                                         T::FIELD_FRAME, true);
        return tul::IppResizeYUV420(from, to, fromPitch, toPitch, r.src, r.dst, region, r.xFactor, r.yFactor, r.mode,
                                    T::FIELD_FRAME, true);
    default: {
        const auto resize = r.format == T::COLOR_FORMAT_RGB24 ? ippiResizeCenter_8u_C3R : ippiResizeCenter_8u_C4R;
        return resize(from, r.src, fromPitch, region, to, toPitch, r.dst, r.xFactor, r.yFactor, r.src.width / 2,
                      r.src.height / 2, tul::GetInterpolation(r.mode, r.xFactor, r.yFactor)) == ippStsNoErr;
    }
    }
}

// Resizes the mixed rows of `dst` into the selected rows of `out`, which
// are painted black first (a broadcast width or the own resampler leaves
// columns unwritten). A 4:2:0 field goes through compact frames, its rows
// landing in `out` already in the flipped order when `flip`; the return
// says whether the rows still need the flip.
bool Resample(const Request& r, unsigned char* dst, const Spans& mixed, unsigned char* out, const Spans& selected,
              bool flip, bool* flipped)
{
    tul::blend::PaintBlack(selected);
    *flipped = false;
    if (r.format != T::COLOR_FORMAT_YUV420 || !r.field)
        return ResampleFrame(r, dst + r.srcOffset, r.srcPitch, out + r.dstOffset, r.dstPitch);
    Frame420 from, to;
    if (!from.Allocate(r.src) || !to.Allocate(r.dst))
        throw std::bad_alloc();
    tul::blend::Copy(mixed, from.All(), false);
    tul::blend::PaintBlack(to.All());
    if (!ResampleFrame(r, from.Data(), r.src.width, to.Data(), r.dst.width))
        return false;
    tul::blend::Copy(to.All(), selected, flip);
    *flipped = true;
    return true;
}

bool ValidField(T::FIELD_TYPE field)
{
    return field == T::FIELD_FRAME || field == T::FIELD_EVEN || field == T::FIELD_ODD;
}

}  // namespace

// GetResizeFactorForBlend, which the members hand to the shared body.
using FieldGeometryFn = bool (*)(T::COLOR_FORMAT_TYPE, T::FIELD_TYPE, IppiSize*, int*, int*, IppiSize*, int*, int*,
                                 double*, double*, int*, int*);

namespace tul::blend {

ULONG ResizeBlend(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst, unsigned char* out,
                  ULONG* outSize, ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
                  int dstStep, float weight, T::FIELD_TYPE field, T::INTERPOLATION_MODE mode,
                  FieldGeometryFn geometry);

}  // namespace tul::blend

// 1. Factors and margins of the two sizes; 2. for a field, each picture's
// displayed field by its step sign (FIELD_EVEN the top one), its step
// doubled and its height halved.
bool TulImage::GetResizeFactorForBlend(COLOR_FORMAT_TYPE, FIELD_TYPE field, IppiSize* srcSize, int* srcStep,
                                       int* srcOffset, IppiSize* dstSize, int* dstStep, int* dstOffset,
                                       double* xFactor, double* yFactor, int* srcMarginX, int* dstMarginX)
{
    const bool resize = tul::GetResizeFactor(*srcSize, *dstSize, xFactor, yFactor, srcMarginX, dstMarginX);
    if (field == FIELD_FRAME)
        return resize;
    const auto one = [field](IppiSize* size, int* step, int* offset) {
        const bool secondRow = (field == FIELD_EVEN && *step < 0) || (field != FIELD_EVEN && *step > 0);
        *offset = secondRow ? (*step < 0 ? -*step : *step) : 0;
        *step *= 2;
        size->height /= 2;
    };
    one(srcSize, srcStep, srcOffset);
    one(dstSize, dstStep, dstOffset);
    return resize;
}

ULONG tul::blend::ResizeBlend(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst,
                              unsigned char* out, ULONG* outSize, ULONG srcWidth, ULONG srcHeight, int srcStep,
                              ULONG dstWidth, ULONG dstHeight, int dstStep, float weight, T::FIELD_TYPE field,
                              T::INTERPOLATION_MODE mode, FieldGeometryFn geometry)
{
    Alphas alphas{};
    std::int64_t srcPitch = 0, dstPitch = 0;
    const bool oneField = field != T::FIELD_FRAME;
    if (src == nullptr || dst == nullptr || out == nullptr || outSize == nullptr || !ValidField(field) ||
        !WeightAlphas(weight, &alphas) || !AdmitPicture(format, srcWidth, srcHeight, srcStep, &srcPitch) ||
        !AdmitPicture(format, dstWidth, dstHeight, dstStep, &dstPitch))
        return T::TUL_INVALID_REQUEST;
    // A field needs two rows, and its doubled step must stay an int.
    if (oneField && (srcHeight < 2 || dstHeight < 2 || srcPitch > INT32_MAX / 2 || dstPitch > INT32_MAX / 2))
        return T::TUL_INVALID_REQUEST;

    Request r{format, mode, oneField, {int(srcWidth), int(srcHeight)}, {int(dstWidth), int(dstHeight)},
              srcStep, dstStep, 0, 0, 1.0, 1.0, 0, 0};
    const bool resize = geometry(format, field, &r.src, &r.srcPitch, &r.srcOffset, &r.dst,
                                                   &r.dstPitch, &r.dstOffset, &r.xFactor, &r.yFactor, &r.srcMarginX,
                                                   &r.dstMarginX);
    const bool flip = (r.srcPitch < 0) != (r.dstPitch < 0);
    r.srcPitch = r.srcPitch < 0 ? -r.srcPitch : r.srcPitch;
    r.dstPitch = r.dstPitch < 0 ? -r.dstPitch : r.dstPitch;
    const int srcParity = r.srcOffset != 0, dstParity = r.dstOffset != 0;

    const Spans from = PictureSpans(format, const_cast<unsigned char*>(src), srcWidth, srcHeight, srcPitch, oneField,
                                    srcParity);
    const Spans mixed = PictureSpans(format, dst, srcWidth, srcHeight, srcPitch, oneField, srcParity);
    const Spans selected = PictureSpans(format, out, dstWidth, dstHeight, dstPitch, oneField, dstParity);
    // out holds the whole destination picture, whatever rows are selected.
    const std::int64_t outBytes = format == T::COLOR_FORMAT_YUV420 ? (dstPitch + dstPitch / 2) * dstHeight
                                                                  : dstPitch * dstHeight;
    *outSize = static_cast<ULONG>(outBytes);

    if (src != dst)
        Mix(from, mixed, alphas);
    try {
        bool ok = true, flipped = false;
        if (resize)
            ok = Resample(r, dst, mixed, out, selected, flip, &flipped);
        else {
            Copy(mixed, selected, flip);
            flipped = true;
        }
        if (ok && flip && !flipped)
            Mirror(selected);
        if (ok)
            return T::TUL_SUCCESS;
    } catch (const std::bad_alloc&) {
        Zero(selected);
        return T::TUL_NO_MEMORY;
    } catch (...) {
    }
    Zero(selected);
    return T::TUL_FAILED;
}

namespace {

ULONG Guard(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst, unsigned char* out,
            ULONG* outSize, ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
            int dstStep, float weight, T::FIELD_TYPE field, T::INTERPOLATION_MODE mode, FieldGeometryFn geometry)
{
    return tul::Guarded([&]() -> ULONG {
        return tul::blend::ResizeBlend(format, src, dst, out, outSize, srcWidth, srcHeight, srcStep, dstWidth,
                                       dstHeight, dstStep, weight, field, mode, geometry);
    });
}

}  // namespace

ULONG TulImage::BlendYUV420(const unsigned char* src, unsigned char* dst, unsigned char* out, ULONG* outSize,
                            ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
                            int dstStep, float weight, FIELD_TYPE field, INTERPOLATION_MODE mode)
{
    return Guard(COLOR_FORMAT_YUV420, src, dst, out, outSize, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                 dstStep, weight, field, mode, &GetResizeFactorForBlend);
}

ULONG TulImage::BlendYUY2(const unsigned char* src, unsigned char* dst, unsigned char* out, ULONG* outSize,
                          ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
                          int dstStep, float weight, FIELD_TYPE field, INTERPOLATION_MODE mode)
{
    return Guard(COLOR_FORMAT_YUY2, src, dst, out, outSize, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                 dstStep, weight, field, mode, &GetResizeFactorForBlend);
}

ULONG TulImage::BlendRGB24(const unsigned char* src, unsigned char* dst, unsigned char* out, ULONG* outSize,
                           ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
                           int dstStep, float weight, FIELD_TYPE field, INTERPOLATION_MODE mode)
{
    return Guard(COLOR_FORMAT_RGB24, src, dst, out, outSize, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                 dstStep, weight, field, mode, &GetResizeFactorForBlend);
}

ULONG TulImage::BlendRGB32(const unsigned char* src, unsigned char* dst, unsigned char* out, ULONG* outSize,
                           ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
                           int dstStep, float weight, FIELD_TYPE field, INTERPOLATION_MODE mode)
{
    return Guard(COLOR_FORMAT_RGB32, src, dst, out, outSize, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                 dstStep, weight, field, mode, &GetResizeFactorForBlend);
}
