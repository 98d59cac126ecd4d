// The own resampler's engines: separable area-shrink / cubic-stretch
// resizing of one 8-bit plane, one packed YUY2 picture, or a planar 4:2:0
// picture. Internal to the library; callers adapt fields and margins.
//
// Every engine refuses (false, nothing written) null pointers, sizes below
// one sample, steps shorter than a row, and extents beyond 32 signed bits;
// it returns false as well when working memory cannot be obtained. Steps
// are non-negative: pointers address the first row. Source and destination
// may be the same memory (all of a plane is read before any of it is
// written), as in-place deinterlacing needs.
#pragma once

namespace tul {

bool ResamplePlane(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                   unsigned char* dst, int dstWidth, int dstHeight, int dstStep);

// Widths are in pixels and must be even.
bool ResampleYUY2(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                  unsigned char* dst, int dstWidth, int dstHeight, int dstStep);

// Offsets are bytes into the luma plane; each chroma plane is entered at
// half of them. The chroma planes follow the luma plane of `height` rows.
bool ResampleYUV420(const unsigned char* src, int srcWidth, int srcHeight, int srcStep,
                    int srcOffset, unsigned char* dst, int dstWidth, int dstHeight, int dstStep,
                    int dstOffset);

// The three planes of a 4:2:0 picture, addressed by the caller: plane[0] is
// luma (width x height at `step`), plane[1] and plane[2] chroma of half the
// width and height at `chromaStep`. Lets a caller place a picture inside a
// taller frame, or take one field, whose chroma rows do not simply follow
// the picture's own luma rows.
struct Yuv420Planes {
    const unsigned char* plane[3];
    int width;
    int height;
    int step;
    int chromaStep;
};
struct Yuv420TargetPlanes {
    unsigned char* plane[3];
    int width;
    int height;
    int step;
    int chromaStep;
};
bool ResampleYUV420Planes(const Yuv420Planes& src, const Yuv420TargetPlanes& dst);

}  // namespace tul
