// Scale factors with the broadcast-width table, the choice of the
// primitive interpolation, and the release of resize plans.
#include "image/TulImage.h"
#include "image/resize/resize_geometry.h"
#include "image/resize/resize_workers.h"
#include "platform/ipp/ippi.h"

#include <cstring>
#include <initializer_list>

namespace {

// One row of the broadcast table: a 720-pixel line carries 704 active
// pixels and a 1440-pixel line 1408, so these pairs scale by the active
// width and crop or pad the rest (the margins, used by our own resampler).
struct BroadcastRow {
    int srcWidth;
    std::initializer_list<int> srcHeights;
    int dstWidth;
    std::initializer_list<int> dstHeights;
    double xFactor;
    int srcMarginX;
    int dstMarginX;
};

const BroadcastRow kBroadcastRows[] = {
    {352, {240, 480, 288, 576}, 720, {480, 576}, 2.0, 0, 16},
    {352, {240, 480, 288, 576}, 1440, {1080}, 4.0, 0, 32},
    {720, {480, 576}, 352, {240, 480, 288, 576}, 0.5, 16, 0},
    {720, {480, 576}, 704, {480, 576}, 1.0, 16, 0},
    {704, {480, 576}, 720, {480, 576}, 1.0, 0, 16},
    {704, {480, 576}, 1440, {1080}, 2.0, 0, 32},
    {1440, {1080}, 352, {240, 480, 288, 576}, 0.25, 32, 0},
    {1440, {1080}, 704, {480, 576}, 0.5, 32, 0},
};

bool OneOf(int value, std::initializer_list<int> set)
{
    for (int v : set) {
        if (v == value)
            return true;
    }
    return false;
}

}  // namespace

namespace tul {

void ClearTempBuffer(TEMP_PLANAR_FORMAT* t)
{
    if (t == nullptr)
        return;
    ReleasePlanes(t->srcPlane, t->srcPlaneStep);
    ReleasePlanes(t->dstPlane, t->dstPlaneStep);
    std::memset(t, 0, sizeof(*t));
}

void ClearResizeBuffer(RESIZE_INFO* r)
{
    if (r == nullptr)
        return;
    ClearTempBuffer(&r->tempPlanar);
    std::memset(r, 0, sizeof(*r));
}

bool GetResizeFactor(IppiSize src, IppiSize dst, double* xFactor, double* yFactor, int* srcMarginX,
                     int* dstMarginX)
{
    int srcMargin = 0;
    int dstMargin = 0;
    if (src.width == dst.width && src.height == dst.height) {
        *xFactor = 1.0;
        *yFactor = 1.0;
    } else {
        *xFactor = static_cast<double>(dst.width) / static_cast<double>(src.width);
        *yFactor = static_cast<double>(dst.height) / static_cast<double>(src.height);
        for (const BroadcastRow& row : kBroadcastRows) {
            if (src.width == row.srcWidth && dst.width == row.dstWidth &&
                OneOf(src.height, row.srcHeights) && OneOf(dst.height, row.dstHeights)) {
                *xFactor = row.xFactor;
                srcMargin = row.srcMarginX;
                dstMargin = row.dstMarginX;
                break;
            }
        }
    }
    if (srcMarginX != nullptr)
        *srcMarginX = srcMargin;
    if (dstMarginX != nullptr)
        *dstMarginX = dstMargin;
    return !(src.width == dst.width && src.height == dst.height);
}

int GetInterpolation(TulImage::INTERPOLATION_MODE mode, double xFactor, double yFactor)
{
    switch (mode) {
    case TulImage::INTERPOLATION_NEAREST:
        return IPPI_INTER_NN;
    case TulImage::INTERPOLATION_LINEAR:
        return IPPI_INTER_LINEAR;
    case TulImage::INTERPOLATION_CUBIC:
        return IPPI_INTER_CUBIC;
    default:
        // Super-sampling only shrinks; anything that enlarges either way is cubic.
        if (xFactor > 1.0 || yFactor > 1.0)
            return IPPI_INTER_CUBIC;
        return IPPI_INTER_SUPER;
    }
}

}  // namespace tul
