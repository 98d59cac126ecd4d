// The resize workers that go through the primitive library's centre-based
// resamplers: YUY2 through three scratch planes, 4:2:0 plane by plane.
//
// Each source plane is resized about the centre of its region, which the
// resampler puts on the centre of the destination: a picture smaller than
// the destination comes out centred on the background painted beforehand.
#include "image/TulImage.h"
#include "image/resize/field_rules.h"
#include "platform/ipp/ippi.h"

#include <cstring>

namespace {

// Ends the worker at the first primitive that does not report success.
struct PrimitiveFailed {};

void Check(IppStatus status)
{
    if (status != ippStsNoErr)
        throw PrimitiveFailed{};
}

void FillPlane(unsigned char* plane, int step, int rows, unsigned char value)
{
    std::memset(plane, value, static_cast<std::size_t>(step) * static_cast<std::size_t>(rows));
}

}  // namespace

bool TulImage::IppResizeYUY2(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                             IppiSize srcSize, IppiSize dstSize, IppiRect srcRegion,
                             double xFactor, double yFactor, INTERPOLATION_MODE mode,
                             TEMP_PLANAR_FORMAT* temp, FIELD_TYPE field, bool fieldToField)
{
    try {
        if (src == nullptr || dst == nullptr || temp == nullptr)
            return false;
        const tul::FieldGeometry g = tul::ApplyFieldRule(field, fieldToField, srcStep, dstStep,
                                                         srcSize.height, dstSize.height,
                                                         srcRegion.height, yFactor);
        const int interp = GetInterpolation(mode, xFactor, g.yFactor);

        FillPlane(temp->dstPlane[0], temp->dstPlaneStep[0], g.dstHeight, 0);
        FillPlane(temp->dstPlane[1], temp->dstPlaneStep[1], g.dstHeight, 127);
        FillPlane(temp->dstPlane[2], temp->dstPlaneStep[2], g.dstHeight, 127);

        Check(ippiSplit422_8u_C2P3R(src + g.srcOffset, g.srcStep, temp->srcPlane,
                                    temp->srcPlaneStep, IppiSize{srcSize.width, g.srcHeight}));

        const double centreY = static_cast<double>((g.regionHeight + 1) / 2);
        Check(ippiResizeCenter_8u_C1R(
            temp->srcPlane[0], IppiSize{srcSize.width, g.srcHeight}, temp->srcPlaneStep[0],
            IppiRect{srcRegion.x, srcRegion.y, srcRegion.width, g.regionHeight}, temp->dstPlane[0],
            temp->dstPlaneStep[0], IppiSize{dstSize.width, g.dstHeight}, xFactor, g.yFactor,
            static_cast<double>((srcRegion.width + 1) / 2), centreY, interp));
        for (int c = 1; c <= 2; ++c) {
            Check(ippiResizeCenter_8u_C1R(
                temp->srcPlane[c], IppiSize{srcSize.width / 2, g.srcHeight}, temp->srcPlaneStep[c],
                IppiRect{0, 0, srcRegion.width / 2, g.regionHeight}, temp->dstPlane[c],
                temp->dstPlaneStep[c], IppiSize{dstSize.width / 2, g.dstHeight}, xFactor,
                g.yFactor, static_cast<double>((srcRegion.width / 2 + 1) / 2), centreY, interp));
        }

        const Ipp8u* planes[3] = {temp->dstPlane[0], temp->dstPlane[1], temp->dstPlane[2]};
        Check(ippiJoin422_8u_P3C2R(planes, temp->dstPlaneStep, dst + g.dstOffset, g.dstStep,
                                   IppiSize{dstSize.width, g.dstHeight}));
        return true;
    } catch (...) {
        return false;
    }
}

bool TulImage::IppResizeYUV420(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                               IppiSize srcSize, IppiSize dstSize, IppiRect srcRegion,
                               double xFactor, double yFactor, INTERPOLATION_MODE mode,
                               FIELD_TYPE field, bool fieldToField)
{
    try {
        if (src == nullptr || dst == nullptr)
            return false;
        const tul::FieldGeometry g = tul::ApplyFieldRule(field, fieldToField, srcStep, dstStep,
                                                         srcSize.height, dstSize.height,
                                                         srcRegion.height, yFactor);
        const int interp = GetInterpolation(mode, xFactor, yFactor);

        // Chroma planes follow the luma plane; each is entered at half the
        // field offset, with half the step and half the rows.
        const std::ptrdiff_t srcLumaBytes = static_cast<std::ptrdiff_t>(g.srcHeight) * g.srcStep;
        const std::ptrdiff_t dstLumaBytes = static_cast<std::ptrdiff_t>(g.dstHeight) * g.dstStep;
        unsigned char* srcChroma = src + srcLumaBytes + g.srcOffset / 2;
        unsigned char* dstChroma = dst + dstLumaBytes + g.dstOffset / 2;
        const std::ptrdiff_t srcChromaBytes =
            (static_cast<std::ptrdiff_t>(g.srcHeight / 2) * g.srcStep) / 2;
        const std::ptrdiff_t dstChromaBytes =
            (static_cast<std::ptrdiff_t>(g.dstHeight / 2) * g.dstStep) / 2;

        Check(ippiResizeCenter_8u_C1R(
            src + g.srcOffset, IppiSize{srcSize.width, g.srcHeight}, g.srcStep,
            IppiRect{srcRegion.x, srcRegion.y, srcRegion.width, g.regionHeight}, dst + g.dstOffset,
            g.dstStep, IppiSize{dstSize.width, g.dstHeight}, xFactor, g.yFactor,
            static_cast<double>((srcRegion.width + 1) / 2),
            static_cast<double>((g.regionHeight + 1) / 2), interp));
        for (int c = 0; c < 2; ++c) {
            Check(ippiResizeCenter_8u_C1R(
                srcChroma + c * srcChromaBytes, IppiSize{srcSize.width / 2, g.srcHeight / 2},
                g.srcStep / 2, IppiRect{0, 0, srcRegion.width / 2, g.regionHeight / 2},
                dstChroma + c * dstChromaBytes, g.dstStep / 2,
                IppiSize{dstSize.width / 2, g.dstHeight / 2}, xFactor, g.yFactor,
                static_cast<double>((srcRegion.width / 2 + 1) / 2),
                static_cast<double>((g.regionHeight / 2 + 1) / 2), interp));
        }
        return true;
    } catch (...) {
        return false;
    }
}
