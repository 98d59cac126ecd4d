// A plain model of the own resampler for the tests: each line resampled on
// its own, column by column for the vertical pass, the area sums taken
// directly from interval overlaps on the common grid, and the cubic weights
// from the Lagrange polynomials in f. Slow and literal on purpose.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace vexomodel {

using Line = std::vector<int>;
using Bytes = std::vector<unsigned char>;

// 65536-scaled Lagrange basis of the samples at -1, 0, 1, 2, each rounded
// half up by truncating after +0.5, as the resampler does.
inline void Weights(double f, int w[4])
{
    const double l[4] = {-f * (f - 1) * (f - 2) / 6, (f + 1) * (f - 1) * (f - 2) / 2,
                         -(f + 1) * f * (f - 2) / 2, (f + 1) * f * (f - 1) / 6};
    for (int k = 0; k < 4; ++k)
        w[k] = static_cast<int>(0.5 + 65536.0 * l[k]);
}

inline int Scale(std::uint64_t sum, std::uint64_t b, bool packed)
{
    if (packed && 8192 / b != 0)
        return static_cast<int>(static_cast<std::uint32_t>(sum * (8192 / b)) >> 13);
    return static_cast<int>((sum * ((std::uint64_t{1} << 32) / b)) >> 32);
}

inline Line Shrink(const Line& s, int m, bool packed)
{
    const std::int64_t n = static_cast<std::int64_t>(s.size());
    const std::int64_t g = std::gcd(n, static_cast<std::int64_t>(m));
    const std::int64_t common = n * m / g;
    const std::int64_t a = common / n, b = common / m;
    Line d(static_cast<std::size_t>(m));
    for (std::int64_t j = 0; j < m; ++j) {
        std::uint64_t sum = 0;
        for (std::int64_t i = 0; i < n; ++i) {
            const std::int64_t lo = std::max(i * a, j * b), hi = std::min((i + 1) * a, (j + 1) * b);
            if (hi > lo)
                sum += static_cast<std::uint64_t>(hi - lo) * static_cast<std::uint64_t>(s[i]);
        }
        d[j] = Scale(sum, static_cast<std::uint64_t>(b), packed);
    }
    return d;
}

inline Line Stretch(const Line& s, int m)
{
    const int n = static_cast<int>(s.size());
    Line d(static_cast<std::size_t>(m));
    for (int k = 0; k < m; ++k) {
        const double x = (static_cast<double>(k) * (n - 1)) / (m - 1);
        const int i = static_cast<int>(x);
        const double f = x - std::floor(x);
        if (n == 1 || k == m - 1) {
            d[k] = s[n - 1];
        } else if (i < 1 || i >= n - 2) {
            d[k] = static_cast<int>((1.0 - f) * s[i] + f * s[i + 1] + 0.5);
        } else {
            int w[4];
            Weights(f, w);
            const int v = s[i - 1] * w[0] + s[i] * w[1] + s[i + 1] * w[2] + s[i + 2] * w[3] + 0x8000;
            d[k] = std::clamp(v, 0, 0xFF0000) >> 16;
        }
    }
    return d;
}

// The kernel by the first matching case: equal, exact half, any shrink, one
// source sample (only where the pass has `replicate`), exact double, cubic.
inline Line Resample(const Line& s, int m, bool packed, bool replicate)
{
    const int n = static_cast<int>(s.size());
    Line d(static_cast<std::size_t>(m));
    if (n == m)
        return s;
    if (n == 2 * m) {
        for (int j = 0; j < m; ++j)
            d[j] = (s[2 * j] + s[2 * j + 1]) >> 1;
        return d;
    }
    if (n > m)
        return Shrink(s, m, packed);
    if (replicate && n == 1)
        return Line(static_cast<std::size_t>(m), s[0]);
    if (m == 2 * n) {
        for (int i = 0; i < n - 1; ++i) {
            d[2 * i] = s[i];
            d[2 * i + 1] = (s[i] + s[i + 1]) >> 1;
        }
        d[2 * n - 2] = d[2 * n - 1] = s[n - 1];
        return d;
    }
    return Stretch(s, m);
}

// A picture as rows of `bytes` bytes, tightly packed.
struct Pic {
    int bytes;
    int rows;
    Bytes data;
};

// `rows` rows of `bytes` bytes read from a picture at `step`, and back.
inline Pic Take(const unsigned char* p, int step, int bytes, int rows)
{
    Pic out{bytes, rows, {}};
    for (int r = 0; r < rows; ++r)
        out.data.insert(out.data.end(), p + static_cast<std::ptrdiff_t>(r) * step,
                        p + static_cast<std::ptrdiff_t>(r) * step + bytes);
    return out;
}

inline void Put(const Pic& pic, unsigned char* p, int step)
{
    for (int r = 0; r < pic.rows; ++r)
        std::copy_n(pic.data.data() + static_cast<std::size_t>(r) * pic.bytes, pic.bytes,
                    p + static_cast<std::ptrdiff_t>(r) * step);
}

// Vertical pass: every byte column of the block alike.
inline Pic Vertical(const Pic& in, int rows, bool packed)
{
    Pic out{in.bytes, rows, Bytes(static_cast<std::size_t>(in.bytes) * rows)};
    for (int c = 0; c < in.bytes; ++c) {
        Line col(static_cast<std::size_t>(in.rows));
        for (int r = 0; r < in.rows; ++r)
            col[r] = in.data[static_cast<std::size_t>(r) * in.bytes + c];
        const Line res = Resample(col, rows, packed, true);
        for (int r = 0; r < rows; ++r)
            out.data[static_cast<std::size_t>(r) * in.bytes + c] = static_cast<unsigned char>(res[r]);
    }
    return out;
}

inline Pic Plane(const Pic& in, int width, int rows)
{
    Pic mid{width, in.rows, Bytes(static_cast<std::size_t>(width) * in.rows)};
    for (int r = 0; r < in.rows; ++r) {
        const Line s(in.data.begin() + static_cast<std::ptrdiff_t>(r) * in.bytes,
                     in.data.begin() + static_cast<std::ptrdiff_t>(r + 1) * in.bytes);
        const Line d = Resample(s, width, false, true);
        for (int c = 0; c < width; ++c)
            mid.data[static_cast<std::size_t>(r) * width + c] = static_cast<unsigned char>(d[c]);
    }
    return Vertical(mid, rows, false);
}

// YUY2: luma, U and V lines resampled apart; `width` in pixels.
inline Pic Yuy2(const Pic& in, int width, int rows)
{
    const int w = in.bytes / 2;
    Pic mid{2 * width, in.rows, Bytes(static_cast<std::size_t>(2 * width) * in.rows)};
    for (int r = 0; r < in.rows; ++r) {
        const unsigned char* s = in.data.data() + static_cast<std::size_t>(r) * in.bytes;
        unsigned char* d = mid.data.data() + static_cast<std::size_t>(r) * mid.bytes;
        // byte offset of the first sample, distance between samples, count
        const int layout[3][3] = {{0, 2, w}, {1, 4, w / 2}, {3, 4, w / 2}};
        const int outCount[3] = {width, width / 2, width / 2};
        for (int k = 0; k < 3; ++k) {
            Line line(static_cast<std::size_t>(layout[k][2]));
            for (int i = 0; i < layout[k][2]; ++i)
                line[i] = s[layout[k][0] + i * layout[k][1]];
            const Line res = Resample(line, outCount[k], true, false);
            for (int i = 0; i < outCount[k]; ++i)
                d[layout[k][0] + i * layout[k][1]] = static_cast<unsigned char>(res[i]);
        }
    }
    return Vertical(mid, rows, true);
}

}  // namespace vexomodel
