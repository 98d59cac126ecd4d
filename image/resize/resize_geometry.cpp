// Picture layouts of the resize entry points, from the format table, and
// the YUY2 scratch planes.
#include "image/resize/resize_geometry.h"

#include "platform/ipp/ippi.h"

namespace tul {

int PictureLayout::DefaultStep(ULONG width) const
{
    const std::uint64_t step = DefaultRow<std::uint64_t>(*m_format, width);
    return step > INT32_MAX ? 0 : static_cast<int>(step);
}

std::uint64_t PictureLayout::Bytes(int step, ULONG height) const
{
    const std::uint64_t pitch = static_cast<std::uint64_t>(step < 0 ? -static_cast<std::int64_t>(step) : step);
    if (m_format->family == FormatFamily::Planar420)
        return (pitch + pitch / 2) * height;
    return pitch * height;
}

bool PictureLayout::Fits(ULONG width, ULONG height, int step) const
{
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX || step <= 0)
        return false;
    // Rows are written whole (YUY2's background covers whole pixel pairs),
    // so the step must hold the row's pixels.
    return PixelRow(*m_format, width) <= static_cast<std::uint64_t>(step) &&
           Bytes(step, height) <= UINT32_MAX;
}

bool AllocatePlanes(unsigned char* planes[3], int steps[3], IppiSize size)
{
    // An odd width's lone last pixel still carries a U sample, so the
    // chroma planes hold (width + 1) / 2 samples a row.
    const int roundedHalf = size.width / 2 + (size.width & 1);
    const int chromaWidth = roundedHalf > 0 ? roundedHalf : 1;
    planes[0] = ippiMalloc_8u_C1(size.width, size.height, &steps[0]);
    planes[1] = ippiMalloc_8u_C1(chromaWidth, size.height, &steps[1]);
    planes[2] = ippiMalloc_8u_C1(chromaWidth, size.height, &steps[2]);
    if (planes[0] == nullptr || planes[1] == nullptr || planes[2] == nullptr) {
        ReleasePlanes(planes, steps);
        return false;
    }
    return true;
}

void ReleasePlanes(unsigned char* planes[3], int steps[3])
{
    for (int i = 0; i < 3; ++i) {
        ippiFree(planes[i]);
        planes[i] = nullptr;
        steps[i] = 0;
    }
}

ScratchPlanes::~ScratchPlanes()
{
    ReleasePlanes(m_planes.srcPlane, m_planes.srcPlaneStep);
    ReleasePlanes(m_planes.dstPlane, m_planes.dstPlaneStep);
}

bool ScratchPlanes::Allocate(IppiSize src, IppiSize dst)
{
    return AllocatePlanes(m_planes.srcPlane, m_planes.srcPlaneStep, src) &&
           AllocatePlanes(m_planes.dstPlane, m_planes.dstPlaneStep, dst);
}

}  // namespace tul
