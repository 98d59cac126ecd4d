// The library-backed resizes of YUY2 (through three scratch planes) and
// 4:2:0 (plane by plane), planned once.
//
// Each plane is resized about the centre of its region, which the
// resampler puts on the centre of the destination: a picture smaller than
// the destination comes out centred on the background painted beforehand.
#include "image/resize/ipp_resize.h"

#include "image/foundation/format_table.h"
#include "image/resize/field_rules.h"
#include "image/resize/resize_workers.h"
#include "platform/ipp/ippi.h"
#include "platform/ipp/resize_center_plan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tul {

namespace {

tulipp::ResizeCenterRequest PlaneRequest(IppiSize srcSize, IppiRect region, IppiSize dstSize,
                                         const LibraryResize& r, double yFactor, double yExact,
                                         int interpolation)
{
    tulipp::ResizeCenterRequest q;
    q.channels = 1;
    q.srcSize = srcSize;
    q.srcRoi = region;
    q.dstRoiSize = dstSize;
    q.xFactor = r.xFactor;
    q.yFactor = yFactor;
    // The centre of the region, in whole pixels as the integer halving gives.
    q.xCenter = static_cast<double>((region.width + 1) / 2);
    q.yCenter = static_cast<double>((region.height + 1) / 2);
    q.interpolation = interpolation;
    q.xExactFactor = r.xExactFactor;
    q.yExactFactor = yExact;
    return q;
}

void FillPlane(unsigned char* plane, int step, int rows, unsigned char value)
{
    std::memset(plane, value, static_cast<std::size_t>(step) * static_cast<std::size_t>(rows));
}

// Whether a prepared request writes every destination pixel: the written
// range of each axis, from the clipped region as the plan makes it, spans
// the destination.
bool WritesEveryPixel(const tulipp::ResizeCenterRequest& q)
{
    const auto axis = [](int dstLen, double factor, double center, int start, int len, int imageLen,
                         double exact) {
        const std::int64_t lo = std::max<std::int64_t>(start, 0);
        const std::int64_t hi = std::min<std::int64_t>(static_cast<std::int64_t>(start) + len, imageLen);
        const auto a = tulipp::resize_center::MakeAxis(dstLen, factor, center, static_cast<int>(lo),
                                                       static_cast<int>(hi - lo), exact > 0.0 ? exact : 0.0);
        return a.begin == 0 && a.end == dstLen;
    };
    return axis(q.dstRoiSize.width, q.xFactor, q.xCenter, q.srcRoi.x, q.srcRoi.width, q.srcSize.width,
                q.xExactFactor) &&
           axis(q.dstRoiSize.height, q.yFactor, q.yCenter, q.srcRoi.y, q.srcRoi.height, q.srcSize.height,
                q.yExactFactor);
}

}  // namespace

void LibraryPlan::Reset()
{
    m_luma.Reset();
    m_chroma.Reset();
    m_packed.Reset();
    m_srcRows = m_dstRows = 0;
}

IppStatus LibraryPlan::Prepare(PlanarLayout layout, const LibraryResize& r)
{
    Reset();
    const FieldGeometry g = ApplyFieldRule(r.field, r.fieldToField, 0, 0, r.srcSize.height,
                                           r.dstSize.height, r.srcRegion.height, r.yFactor);
    const double yExact = r.yExactFactor * (g.yFactor / r.yFactor);
    // 4:2:0 chooses its kernel from the frame's factors, YUY2 from the
    // field's (a field stretched into a frame doubles its vertical factor).
    const int interp = GetInterpolation(r.mode, r.xFactor,
                                         layout == PlanarLayout::Yuy2 ? g.yFactor : r.yFactor);
    const IppiRect region{r.srcRegion.x, r.srcRegion.y, r.srcRegion.width, g.regionHeight};
    const tulipp::ResizeCenterRequest luma = PlaneRequest(
        {r.srcSize.width, g.srcHeight}, region, {r.dstSize.width, g.dstHeight}, r, g.yFactor, yExact, interp);
    // 4:2:2 chroma keeps every row; 4:2:0 chroma has half of them.
    const FormatInfo& f = FormatOf(layout == PlanarLayout::Yuv420 ? TulImage::COLOR_FORMAT_YUV420
                                                                  : TulImage::COLOR_FORMAT_YUY2);
    const int sx = f.chromaShiftX, sy = f.chromaShiftY;
    const tulipp::ResizeCenterRequest chroma = PlaneRequest(
        {r.srcSize.width >> sx, g.srcHeight >> sy}, {0, 0, r.srcRegion.width >> sx, g.regionHeight >> sy},
        {r.dstSize.width >> sx, g.dstHeight >> sy}, r, g.yFactor, yExact, interp);
    IppStatus status = m_luma.Prepare(luma);
    if (status == ippStsNoErr)
        status = m_chroma.Prepare(chroma);
    if (status != ippStsNoErr) {
        Reset();
        return status;
    }
    if (layout == PlanarLayout::Yuy2)
        m_packed.Prepare(luma, chroma, FormatOf(TulImage::COLOR_FORMAT_YUY2).black);
    m_layout = layout;
    m_request = r;
    m_paint[0] = !WritesEveryPixel(luma);
    // An odd width's last chroma column is joined but never resized.
    m_paint[1] = !WritesEveryPixel(chroma) || r.dstSize.width % 2 != 0;
    m_srcRows = g.srcHeight;
    m_dstRows = g.dstHeight;
    return ippStsNoErr;
}

bool LibraryPlan::Run(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep,
                      TEMP_PLANAR_FORMAT* temp)
{
    if (!Ready() || src == nullptr || dst == nullptr)
        return false;
    return m_layout == PlanarLayout::Yuy2 ? RunYuy2(src, srcStep, dst, dstStep, temp)
                                          : RunYuv420(src, srcStep, dst, dstStep);
}

bool LibraryPlan::RunYuy2(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep,
                          TEMP_PLANAR_FORMAT* temp)
{
    if (temp == nullptr)
        return false;
    const FieldGeometry g = ApplyFieldRule(m_request.field, m_request.fieldToField, srcStep,
                                           dstStep, m_srcRows, m_dstRows, 0, 1.0);
    // Steps the packed plan cannot take go the way of the planes, which
    // decides what they give.
    if (m_packed.Ready() && m_packed.Run(src + g.srcOffset, g.srcStep, dst + g.dstOffset, g.dstStep))
        return true;
    // The join writes every pixel from the planes: what a resize leaves
    // unwritten is painted black first.
    const FormatInfo& yuy2 = FormatOf(TulImage::COLOR_FORMAT_YUY2);
    if (m_paint[0])
        FillPlane(temp->dstPlane[0], temp->dstPlaneStep[0], m_dstRows, yuy2.black[0]);
    if (m_paint[1]) {
        FillPlane(temp->dstPlane[1], temp->dstPlaneStep[1], m_dstRows, yuy2.black[1]);
        FillPlane(temp->dstPlane[2], temp->dstPlaneStep[2], m_dstRows, yuy2.black[3]);
    }

    if (ippiSplit422_8u_C2P3R(src + g.srcOffset, g.srcStep, temp->srcPlane, temp->srcPlaneStep,
                              IppiSize{m_request.srcSize.width, m_srcRows}) != ippStsNoErr)
        return false;
    for (int p = 0; p < 3; ++p) {
        tulipp::ResizeCenterPlan& plan = p == 0 ? m_luma : m_chroma;
        if (plan.Run(temp->srcPlane[p], temp->srcPlaneStep[p], temp->dstPlane[p],
                     temp->dstPlaneStep[p]) != ippStsNoErr)
            return false;
    }
    const Ipp8u* planes[3] = {temp->dstPlane[0], temp->dstPlane[1], temp->dstPlane[2]};
    return ippiJoin422_8u_P3C2R(planes, temp->dstPlaneStep, dst + g.dstOffset, g.dstStep,
                                IppiSize{m_request.dstSize.width, m_dstRows}) == ippStsNoErr;
}

// Plane addresses come from each frame's own height and pitch; a field
// then takes every other row of each plane, the odd one starting a row in.
bool LibraryPlan::RunYuv420(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep)
{
    const bool oneField = m_request.field != TulImage::FIELD_FRAME;
    const int odd = m_request.field == TulImage::FIELD_ODD ? 1 : 0;
    const Planes420 s = PlanesOf420(srcStep, m_request.srcSize.height);
    const Planes420 d = PlanesOf420(dstStep, m_request.dstSize.height);
    const int srcRowsApart = oneField ? 2 : 1;
    const int dstRowsApart = oneField && m_request.fieldToField ? 2 : 1;
    const int dstOdd = m_request.fieldToField ? odd : 0;

    if (m_luma.Run(src + static_cast<std::int64_t>(odd) * srcStep, srcRowsApart * srcStep,
                   dst + static_cast<std::int64_t>(dstOdd) * dstStep,
                   dstRowsApart * dstStep) != ippStsNoErr)
        return false;
    for (int c = 1; c <= 2; ++c) {
        if (m_chroma.Run(src + s.offset[c] + odd * s.chromaPitch,
                         static_cast<int>(srcRowsApart * s.chromaPitch),
                         dst + d.offset[c] + dstOdd * d.chromaPitch,
                         static_cast<int>(dstRowsApart * d.chromaPitch)) != ippStsNoErr)
            return false;
    }
    return true;
}

bool IppResizeYUY2(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                   IppiSize srcSize, IppiSize dstSize, IppiRect srcRegion, double xFactor,
                   double yFactor, TulImage::INTERPOLATION_MODE mode, TEMP_PLANAR_FORMAT* temp,
                   TulImage::FIELD_TYPE field, bool fieldToField)
{
    LibraryPlan plan;
    return plan.Prepare(PlanarLayout::Yuy2, {srcSize, dstSize, srcRegion, xFactor, yFactor, 0.0,
                                             0.0, mode, field, fieldToField}) == ippStsNoErr &&
           plan.Run(src, srcStep, dst, dstStep, temp);
}

bool IppResizeYUV420(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                     IppiSize srcSize, IppiSize dstSize, IppiRect srcRegion, double xFactor,
                     double yFactor, TulImage::INTERPOLATION_MODE mode, TulImage::FIELD_TYPE field,
                     bool fieldToField)
{
    LibraryPlan plan;
    return plan.Prepare(PlanarLayout::Yuv420, {srcSize, dstSize, srcRegion, xFactor, yFactor, 0.0,
                                               0.0, mode, field, fieldToField}) == ippStsNoErr &&
           plan.Run(src, srcStep, dst, dstStep, nullptr);
}

}  // namespace tul
