// Picture layouts of the resize entry points and the YUY2 scratch planes.
#include "image/resize/resize_geometry.h"

#include "platform/ipp/ippi.h"

namespace tul {

int PictureLayout::DefaultStep(ULONG width) const
{
    std::uint64_t step = 0;
    switch (m_kind) {
    case Yuy2:
        step = (16ull * width + 31) / 32 * 4;
        break;
    case Yuv420:
        step = width;
        break;
    case Rgb24:
        step = (24ull * width + 31) / 32 * 4;
        break;
    case Rgb32:
        step = 4ull * width;
        break;
    }
    // A width too large for a step is caught by Fits; keep the value sane.
    return step > INT32_MAX ? 0 : static_cast<int>(step);
}

std::uint64_t PictureLayout::Bytes(int step, ULONG height) const
{
    const std::uint64_t pitch = static_cast<std::uint64_t>(step < 0 ? -static_cast<std::int64_t>(step) : step);
    if (m_kind == Yuv420)
        return (pitch + pitch / 2) * height;
    return pitch * height;
}

bool PictureLayout::Fits(ULONG width, ULONG height, int step) const
{
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX || step <= 0)
        return false;
    // Rows are written with the default row length (YUY2's background
    // pattern covers whole words), so the step must hold that much.
    std::uint64_t row = 0;
    switch (m_kind) {
    case Yuy2:
        row = (16ull * width + 31) / 32 * 4;
        break;
    case Yuv420:
        row = width;
        break;
    case Rgb24:
        row = 3ull * width;
        break;
    case Rgb32:
        row = 4ull * width;
        break;
    }
    return row <= static_cast<std::uint64_t>(step) && Bytes(step, height) <= UINT32_MAX;
}

const PictureLayout& Yuy2Layout()
{
    static constexpr PictureLayout layout(PictureLayout::Yuy2);
    return layout;
}
const PictureLayout& Yuv420Layout()
{
    static constexpr PictureLayout layout(PictureLayout::Yuv420);
    return layout;
}
const PictureLayout& Rgb24Layout()
{
    static constexpr PictureLayout layout(PictureLayout::Rgb24);
    return layout;
}
const PictureLayout& Rgb32Layout()
{
    static constexpr PictureLayout layout(PictureLayout::Rgb32);
    return layout;
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
