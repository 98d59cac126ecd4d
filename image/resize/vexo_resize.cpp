// The one-call entry points to the own resampler: plan the frame's
// resize (field, source crop, placement in the destination), then run the
// plan once.
#include "image/TulImage.h"
#include "image/resize/resize_workers.h"
#include "image/resize/vexo_resampler.h"

namespace {

bool VexoResizeOnce(tul::VexoFormat format, const unsigned char* src, unsigned char* dst,
                    int srcStep, int dstStep, IppiSize srcSize, IppiSize dstSize, int srcMarginX,
                    int dstMarginX, int dstMarginY, TulImage::FIELD_TYPE field, bool fieldToField)
{
    // Pointers and steps are looked at before the plan takes any memory.
    if (src == nullptr || dst == nullptr || srcStep < 0 || dstStep < 0)
        return false;
    tul::VexoPlan plan;
    return plan.Prepare(format, srcSize, dstSize, srcMarginX, dstMarginX, dstMarginY, field,
                        fieldToField) &&
           plan.Run(src, dst, srcStep, dstStep);
}

}  // namespace

bool tul::VexoResizeYUY2(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                         IppiSize srcSize, IppiSize dstSize, int srcMarginX, int dstMarginX,
                         int dstMarginY, TulImage::FIELD_TYPE field, bool fieldToField)
{
    return VexoResizeOnce(tul::VexoFormat::Yuy2, src, dst, srcStep, dstStep, srcSize, dstSize,
                          srcMarginX, dstMarginX, dstMarginY, field, fieldToField);
}

bool tul::VexoResizeYUV420(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                           IppiSize srcSize, IppiSize dstSize, int srcMarginX, int dstMarginX,
                           int dstMarginY, TulImage::FIELD_TYPE field, bool fieldToField)
{
    return VexoResizeOnce(tul::VexoFormat::Yuv420, src, dst, srcStep, dstStep, srcSize, dstSize,
                          srcMarginX, dstMarginX, dstMarginY, field, fieldToField);
}
