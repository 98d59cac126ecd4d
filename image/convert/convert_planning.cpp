// Planning a conversion: the admission both entry points share, the colour
// pair and its intermediate picture, the resize factors with aspect
// fitting, the field decision, and the blocks a plan owns.
#include "image/color/kernel_table.h"
#include "image/convert/convert_plan.h"
#include "image/foundation/format_table.h"
#include "image/resize/resize_geometry.h"
#include "image/resize/resize_workers.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using T = TulImage;

constexpr std::int64_t kIntMax = INT32_MAX;

// Resolves a step of 0 to the format's default and checks what every later
// step relies on: a known format, sizes the primitives take, rows that fit
// their step, a byte count within 32 bits, and (when fields are worked on)
// steps and widths that stay ints once doubled.
bool AdmitPicture(PICTURE_INFO& p, bool fields)
{
    const int f = static_cast<int>(p.colorFormat);
    if (f < 0 || f > 7 || p.width == 0 || p.height == 0 || p.width > kIntMax || p.height > kIntMax)
        return false;
    if (fields && (static_cast<unsigned>(p.scanType) > 2u || 2 * std::int64_t{p.width} > kIntMax))
        return false;
    const tul::FormatInfo& info = tul::FormatOf(p.colorFormat);
    if (p.step == INT32_MIN)
        return false;
    if (p.step == 0) {
        const std::uint64_t row = tul::DefaultRow<std::uint64_t>(info, p.width);
        if (row > static_cast<std::uint64_t>(kIntMax))
            return false;
        p.step = static_cast<int>(row) * info.defaultStepSign;
    }
    const std::int64_t pitch = std::llabs(p.step);
    if (static_cast<std::uint64_t>(pitch) < tul::PixelRow(info, p.width) ||
        (fields && 2 * pitch > kIntMax))
        return false;
    return tul::color::RequiredBytes(p.colorFormat, p.step, p.height) <= UINT32_MAX;
}

int RoundMargin(int v)
{
    return v - v % 4;  // toward zero to whole pixel pairs on each side
}

}  // namespace

// Supported pairs are exactly those with a conversion kernel. The
// intermediate is the destination format at the source size and its
// default pitch; its size is what the kernel requires of it.
bool TulImage::CheckSupportColorConv(PICTURE_INFO* src, PICTURE_INFO* dst, ULONG* step, ULONG* size)
{
    if (src == nullptr || dst == nullptr || step == nullptr || size == nullptr)
        return false;
    if (src->colorFormat == dst->colorFormat) {
        *step = static_cast<ULONG>(std::llabs(src->step));
        *size = src->size;
        return true;
    }
    if (tul::color::FindKernel(src->colorFormat, dst->colorFormat) == nullptr)
        return false;
    // A 4:2:0 side needs at least one chroma sample, as the kernels do.
    const bool planar = tul::FormatOf(src->colorFormat).family == tul::FormatFamily::Planar420 ||
                        tul::FormatOf(dst->colorFormat).family == tul::FormatFamily::Planar420;
    if (planar && (src->width < 2 || src->height < 2))
        return false;
    const std::uint64_t pitch =
        tul::WordRow<std::uint64_t>(tul::FormatOf(dst->colorFormat).bitsPerPixel, src->width);
    const std::uint64_t rowPitch =
        tul::FormatOf(dst->colorFormat).family == tul::FormatFamily::Planar420 ? src->width : pitch;
    if (rowPitch > static_cast<std::uint64_t>(kIntMax))
        return false;
    const std::uint64_t bytes =
        tul::color::RequiredBytes(dst->colorFormat, static_cast<int>(rowPitch), src->height);
    if (bytes > UINT32_MAX)
        return false;
    *step = static_cast<ULONG>(rowPitch);
    *size = static_cast<ULONG>(bytes);
    return true;
}

// Aspect products and quotients in 64 bits (128 for the products of a
// height with a product of terms): 3840 x 2160 terms and widths from 21475
// times 100000 wrap in 32.
bool TulImage::GetResizeFactorEx(PICTURE_INFO* src, PICTURE_INFO* dst, bool keepAspect,
                                 CONVERT_INFO* info)
{
    bool resize = tul::GetResizeFactor(IppiSize{info->srcWidth, info->srcHeight},
                                       IppiSize{info->dstWidth, info->dstHeight}, &info->xFactor,
                                       &info->yFactor, &info->srcMarginX, &info->dstMarginX);
    if (keepAspect) {
        info->srcMarginX = info->dstMarginX = info->dstMarginY = 0;
        std::uint64_t w = static_cast<std::uint64_t>(info->dstWidth);
        std::uint64_t h = static_cast<std::uint64_t>(info->dstHeight);
        if (src->aspectX != dst->aspectX || src->aspectY != dst->aspectY) {
            resize = true;
            const std::uint64_t a = std::uint64_t{src->aspectX} * dst->aspectY;
            const std::uint64_t b = std::uint64_t{dst->aspectX} * src->aspectY;
            if (a == 0 || b == 0) {
                info->xFactor = info->yFactor = 0.0;
                return resize;
            }
            if (b <= a) {
                h = static_cast<std::uint64_t>(static_cast<unsigned __int128>(dst->height) * b / a);
                info->dstMarginY = static_cast<int>(dst->height - h);
            } else {
                w = static_cast<std::uint64_t>(static_cast<unsigned __int128>(dst->width) * a / b);
                info->dstMarginX = static_cast<int>(dst->width - w);
            }
        }
        // Cut to five decimals, as the resizer object's factors are.
        info->xFactor = static_cast<double>(w * 100000 / static_cast<std::uint64_t>(info->srcWidth)) * 0.00001;
        info->yFactor = static_cast<double>(h * 100000 / static_cast<std::uint64_t>(info->srcHeight)) * 0.00001;
    }
    info->srcMarginX = RoundMargin(info->srcMarginX);
    info->dstMarginX = RoundMargin(info->dstMarginX);
    return resize;
}

ULONG TulImage::CheckInterlaceConv(PICTURE_INFO* src, PICTURE_INFO* dst, DEINTERLACE_MODE mode,
                                   CONVERT_INFO* info)
{
    info->fieldAction = 0;
    const SCAN_TYPE s = src->scanType, d = dst->scanType;
    if (s == SCAN_PROGRESSIVE)
        return TUL_SUCCESS;
    // The kept field lies on the odd memory rows of a top-down top-field-first
    // or a bottom-up bottom-field-first source, the field DeInterlace keeps.
    const bool oddField = (s == SCAN_TOP_FIELD_FIRST && src->step > 0) ||
                          (s == SCAN_BOTTOM_FIELD_FIRST && src->step < 0);
    if (d == SCAN_PROGRESSIVE) {
        if (src->height / 2 >= dst->height || mode == DEINTERLACE_INTERPOLATE) {
            info->resizeKind = oddField ? 4 : 3;
            return TUL_SUCCESS;
        }
        if (mode != DEINTERLACE_LINE_DOUBLE)
            return TUL_INVALID_REQUEST;
        info->fieldAction = oddField ? 2 : 1;
        if (info->resizeKind != 0)
            info->resizeKind = oddField ? 4 : 3;
        return TUL_SUCCESS;
    }
    if (s != d)
        info->fieldAction = 3;
    if ((dst->height & 1) != 0 && src->step < 0)
        info->fieldAction = s == d ? 3 : 0;
    if (std::abs(1.0 - info->yFactor) <= 0.0001)
        return TUL_SUCCESS;
    // Tight rows let a picture be seen at double width and half height, a
    // line of each field side by side, so an ordinary resize keeps the
    // fields apart. 4:2:0 chroma keeps that shape only when both heights
    // are multiples of 4 (the planes then hold whole pairs of chroma rows)
    // and both pitches are even: an odd pitch S has chroma rows of
    // (S - 1) / 2 bytes, so two of them fall a byte short of the view's
    // chroma row of S / 2 x 2, and the view's last plane would end past
    // the picture.
    const std::int64_t bytes = GetBitPixel(dst->colorFormat) / 8;
    const bool planar = tul::FormatOf(dst->colorFormat).family == tul::FormatFamily::Planar420;
    const bool tight = info->srcWidth * bytes == info->srcStep && info->dstWidth * bytes == info->dstStep &&
                       (!planar || (info->srcHeight % 4 == 0 && info->dstHeight % 4 == 0 &&
                                    info->srcStep % 2 == 0 && info->dstStep % 2 == 0));
    // Each view needs a row of its own.
    const bool rows = info->srcHeight >= 2 && info->dstHeight >= 2;
    if (info->srcMarginX == 0 && info->dstMarginX == 0 && tight && rows) {
        info->srcWidth *= 2;
        info->dstWidth *= 2;
        info->srcHeight /= 2;
        info->dstHeight /= 2;
        info->srcStep *= 2;
        info->dstStep *= 2;
        info->dstMarginY /= 2;
        return TUL_SUCCESS;
    }
    info->resizeKind = 2;
    return TUL_SUCCESS;
}

void TulImage::ClearConvertBuffer(CONVERT_INFO* info)
{
    if (info == nullptr)
        return;
    delete info->convertBuffer;
    if (info->tempPlanar != nullptr) {
        tul::ClearTempBuffer(info->tempPlanar);
        delete info->tempPlanar;
    }
    std::memset(info, 0, sizeof(*info));
}

namespace tul {

ConvertPlan::~ConvertPlan()
{
    TulImage::ClearConvertBuffer(&info);
}

// Every plan starts clean: the caller makes a new ConvertPlan per preparation.
ULONG ConvertPlan::Plan(const PICTURE_INFO& s, const PICTURE_INFO& d, const CONVERT_MODE& m)
{
    src = s;
    dst = d;
    mode = m;
    const bool fields = mode.convertInterlace;
    if (!AdmitPicture(src, fields) || !AdmitPicture(dst, fields))
        return T::TUL_INVALID_REQUEST;
    if (mode.keepAspect &&
        (src.aspectX == 0 || src.aspectY == 0 || dst.aspectX == 0 || dst.aspectY == 0))
        return T::TUL_INVALID_REQUEST;
    required = static_cast<ULONG>(color::RequiredBytes(dst.colorFormat, dst.step, dst.height));
    dst.size = required;

    info.srcWidth = static_cast<int>(src.width);
    info.srcHeight = static_cast<int>(src.height);
    info.dstWidth = static_cast<int>(dst.width);
    info.dstHeight = static_cast<int>(dst.height);
    info.srcStep = std::abs(src.step);
    info.dstStep = std::abs(dst.step);
    if (src.colorFormat != dst.colorFormat) {
        ULONG pitch = 0, size = 0;
        if (!T::CheckSupportColorConv(&src, &dst, &pitch, &size))
            return T::TUL_INVALID_REQUEST;
        // The intermediate keeps the source's orientation.
        intermediateStep = src.step < 0 ? -static_cast<int>(pitch) : static_cast<int>(pitch);
        intermediateSize = size;
        info.srcStep = static_cast<int>(pitch);
    }
    info.resizeKind = T::GetResizeFactorEx(&src, &dst, mode.keepAspect, &info) ? 1 : 0;
    if (info.resizeKind != 0 && !(info.xFactor > 0.0 && info.yFactor > 0.0))
        return T::TUL_INVALID_REQUEST;  // a fitted picture of no pixels
    if (fields) {
        const ULONG r = T::CheckInterlaceConv(&src, &dst, mode.deinterlaceMode, &info);
        if (r != T::TUL_SUCCESS)
            return r;
    }
    // A converted picture the destination cannot hold goes through the
    // block: always before a resize, and when its default pitch is wider
    // than the destination's (tight RGB24 of width 5, YUY2 of odd width).
    useBlock = intermediateStep != 0 && (info.resizeKind != 0 || intermediateSize > required);
    // A picture resized from one field needs only that field converted,
    // into the rows the stage reads; packed pictures convert row by row
    // (4:2:0 chroma is shared between rows, so those convert whole). The
    // block takes a row more, the field's own rows ending a row later.
    const bool packedPair = FormatOf(src.colorFormat).family != FormatFamily::Planar420 &&
                            FormatOf(dst.colorFormat).family != FormatFamily::Planar420;
    if (useBlock && packedPair && info.fieldAction == 0 &&
        (info.resizeKind == 3 || info.resizeKind == 4) && info.srcStep <= INT32_MAX / 2 &&
        intermediateSize + static_cast<std::uint64_t>(info.srcStep) <= UINT32_MAX) {
        convertField = info.resizeKind == 4 ? 1 : 0;
        intermediateSize += static_cast<ULONG>(info.srcStep);
    }
    return T::TUL_SUCCESS;
}

ULONG ConvertPlan::Allocate()
{
    if (useBlock) {
        info.convertBuffer = new TulMemory();
        if (info.convertBuffer->Initialize(intermediateSize, 16) == nullptr)
            return T::TUL_NO_MEMORY;
    }
    if (dst.colorFormat == T::COLOR_FORMAT_YUY2 && info.resizeKind != 0 &&
        mode.interpolation != T::INTERPOLATION_VEXO) {
        info.tempPlanar = new TEMP_PLANAR_FORMAT{};
        if (!AllocatePlanes(info.tempPlanar->srcPlane, info.tempPlanar->srcPlaneStep,
                            IppiSize{info.srcWidth, info.srcHeight}) ||
            !AllocatePlanes(info.tempPlanar->dstPlane, info.tempPlanar->dstPlaneStep,
                            IppiSize{info.dstWidth, info.dstHeight}))
            return T::TUL_NO_MEMORY;
    }
    return PrepareResamplers(dst, mode, info, resamplers);
}

}  // namespace tul
