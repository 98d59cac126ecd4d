// The blends' plain model for the tests: the two alphas of a weight, one
// mixed byte, and the rows each format's picture holds (4:2:0 planes where
// the frame's height and pitch put them).
#pragma once

#include "image/TulImage.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace blendtest {

struct Pair {
    int a1, a2;
};

// The weight clamped to [0, 1], then trunc(w x 255f) and trunc((1-w) x 255).
inline Pair AlphasOf(float w)
{
    w = w < 0 ? 0 : w > 1 ? 1 : w;
    return {int(w * 255.0f), int((1.0 - double(w)) * 255.0)};
}

inline unsigned char MixByte(Pair p, int s, int d)
{
    return static_cast<unsigned char>(std::floor((p.a1 * s + p.a2 * d) / 255.0 + 0.5));
}

// Byte offsets of every picture byte a blend of this geometry mixes, in
// memory order of the rows.
inline std::vector<std::int64_t> PictureBytes(TulImage::COLOR_FORMAT_TYPE f, int w, int h, int pitch)
{
    std::vector<std::int64_t> at;
    const int bpp = f == TulImage::COLOR_FORMAT_YUY2 ? 2 : f == TulImage::COLOR_FORMAT_RGB24 ? 3
                  : f == TulImage::COLOR_FORMAT_RGB32 ? 4 : 1;
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w * bpp; ++x)
            at.push_back(std::int64_t(r) * pitch + x);
    if (f == TulImage::COLOR_FORMAT_YUV420)
        for (int r = 0; r < 2 * (h / 2); ++r)  // U rows, then V rows
            for (int x = 0; x < w / 2; ++x)
                at.push_back(std::int64_t(pitch) * h + std::int64_t(r) * (pitch / 2) + x);
    return at;
}

// The simple blend of a format.
inline ULONG Blend(TulImage::COLOR_FORMAT_TYPE f, const unsigned char* s, unsigned char* d, ULONG w, ULONG h,
                   int step, float wt)
{
    using Fn = ULONG (*)(const unsigned char*, unsigned char*, ULONG, ULONG, int, float);
    const Fn fn = f == TulImage::COLOR_FORMAT_YUV420 ? Fn(&TulImage::BlendYUV420)
                : f == TulImage::COLOR_FORMAT_YUY2   ? Fn(&TulImage::BlendYUY2)
                : f == TulImage::COLOR_FORMAT_RGB24  ? Fn(&TulImage::BlendRGB24) : Fn(&TulImage::BlendRGB32);
    return fn(s, d, w, h, step, wt);
}

inline std::size_t BufferBytes(TulImage::COLOR_FORMAT_TYPE f, int h, int pitch)
{
    return f == TulImage::COLOR_FORMAT_YUV420 ? std::size_t(pitch) * h + 2 * std::size_t(h / 2) * (pitch / 2)
                                              : std::size_t(pitch) * h;
}

}  // namespace blendtest
