// A plain model of the centre-based resamplers for the tests to compare
// with: the mapping s = (d - dstLen/2) / factor + centre, samples clamped
// into the region; nearest takes S(floor(s)), the cubic and
// super-sampling are evaluated in double precision, and linear by its
// exact integer rule. Deliberately unoptimised: one source position per
// destination pixel.
#pragma once

#include "platform/ipp/ippdefs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tultest {

struct CenterCall {
    int channels = 1;
    IppiSize srcSize{1, 1};
    IppiRect srcRoi{0, 0, 1, 1};
    IppiSize dstSize{1, 1};
    double xFactor = 1.0;
    double yFactor = 1.0;
    double xCenter = 0.0;
    double yCenter = 0.0;
    int interpolation = IPPI_INTER_NN;
};

// The destination rectangle the model writes.
struct WrittenRect {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

class CenterModel {
public:
    // src: image origin, srcStep bytes per row.
    CenterModel(const CenterCall& call, const unsigned char* src, int srcStep)
        : m_call(call), m_src(src), m_step(srcStep)
    {
        m_rx = std::max(call.srcRoi.x, 0);
        m_ry = std::max(call.srcRoi.y, 0);
        m_rw = std::min(call.srcRoi.x + call.srcRoi.width, call.srcSize.width) - m_rx;
        m_rh = std::min(call.srcRoi.y + call.srcRoi.height, call.srcSize.height) - m_ry;
        m_rect.x0 = Begin(call.dstSize.width, call.xFactor, call.xCenter, m_rx);
        m_rect.x1 = End(call.dstSize.width, call.xFactor, call.xCenter, m_rx, m_rw);
        m_rect.y0 = Begin(call.dstSize.height, call.yFactor, call.yCenter, m_ry);
        m_rect.y1 = End(call.dstSize.height, call.yFactor, call.yCenter, m_ry, m_rh);
        if (m_rect.x1 <= m_rect.x0 || m_rect.y1 <= m_rect.y0)
            m_rect = WrittenRect{};
    }

    const WrittenRect& Rect() const { return m_rect; }

    // The unrounded value of written pixel (xd, yd), channel c (not linear).
    double Value(int xd, int yd, int c) const
    {
        const double xs = (xd - m_call.dstSize.width / 2.0) / m_call.xFactor + m_call.xCenter;
        const double ys = (yd - m_call.dstSize.height / 2.0) / m_call.yFactor + m_call.yCenter;
        switch (m_call.interpolation) {
        case IPPI_INTER_NN:
            return S(static_cast<int>(std::floor(xs)), static_cast<int>(std::floor(ys)), c);
        case IPPI_INTER_CUBIC: {
            const int i = static_cast<int>(std::floor(xs)), j = static_cast<int>(std::floor(ys));
            double wx[4], wy[4];
            Lagrange(xs - i, wx);
            Lagrange(ys - j, wy);
            double d = 0;
            for (int n = 0; n < 4; ++n) {
                double row = 0;
                for (int m = 0; m < 4; ++m)
                    row += wx[m] * S(i + m - 1, j + n - 1, c);
                d += wy[n] * row;
            }
            return d;
        }
        default: {
            const double x0 = xs, x1 = xs + 1 / m_call.xFactor;
            const double y0 = ys, y1 = ys + 1 / m_call.yFactor;
            // Only pixels under the footprint can overlap it.
            const int mx0 = std::max(m_rx, static_cast<int>(std::floor(x0)));
            const int mx1 = std::min(m_rx + m_rw, static_cast<int>(std::ceil(x1)));
            const int ny0 = std::max(m_ry, static_cast<int>(std::floor(y0)));
            const int ny1 = std::min(m_ry + m_rh, static_cast<int>(std::ceil(y1)));
            double sum = 0, ax = 0, ay = 0;
            for (int m = mx0; m < mx1; ++m)
                ax += Overlap(x0, x1, m);
            for (int n = ny0; n < ny1; ++n) {
                const double oy = Overlap(y0, y1, n);
                if (oy <= 0)
                    continue;
                ay += oy;
                for (int m = mx0; m < mx1; ++m) {
                    const double ox = Overlap(x0, x1, m);
                    if (ox > 0)
                        sum += S(m, n, c) * ox * oy;
                }
            }
            return sum / (ax * ay);
        }
        }
    }

    static int Round(double v) { return static_cast<int>(std::floor(std::clamp(v, 0.0, 255.0) + 0.5)); }

    // Linear's fixed-point rule, in exact integers: each axis weighs its
    // right/lower sample by w = floor(t*256 + 0.5) of the position's
    // fraction t, and D = (sum of S * wx * wy over the 2x2 samples + 32768) >> 16.
    int Linear(int xd, int yd, int c) const
    {
        const double xs = (xd - m_call.dstSize.width / 2.0) / m_call.xFactor + m_call.xCenter;
        const double ys = (yd - m_call.dstSize.height / 2.0) / m_call.yFactor + m_call.yCenter;
        const int i = static_cast<int>(std::floor(xs)), j = static_cast<int>(std::floor(ys));
        const std::int64_t wx = static_cast<std::int64_t>(std::floor((xs - i) * 256 + 0.5));
        const std::int64_t wy = static_cast<std::int64_t>(std::floor((ys - j) * 256 + 0.5));
        const std::int64_t sum = static_cast<std::int64_t>(S(i, j, c)) * (256 - wx) * (256 - wy) +
                                 static_cast<std::int64_t>(S(i + 1, j, c)) * wx * (256 - wy) +
                                 static_cast<std::int64_t>(S(i, j + 1, c)) * (256 - wx) * wy +
                                 static_cast<std::int64_t>(S(i + 1, j + 1, c)) * wx * wy;
        return static_cast<int>((sum + 32768) >> 16);
    }

    // The whole expected destination: `background` holds what the
    // destination held before (dstStep bytes per row).
    std::vector<unsigned char> Expected(const unsigned char* background, int dstStep) const
    {
        const int n = m_call.channels;
        std::vector<unsigned char> out(background, background + static_cast<std::size_t>(dstStep) * m_call.dstSize.height);
        for (int y = m_rect.y0; y < m_rect.y1; ++y)
            for (int x = m_rect.x0; x < m_rect.x1; ++x)
                for (int c = 0; c < n; ++c)
                    out[static_cast<std::size_t>(y) * dstStep + x * n + c] = static_cast<unsigned char>(
                        m_call.interpolation == IPPI_INTER_LINEAR ? Linear(x, y, c) : Round(Value(x, y, c)));
        return out;
    }

private:
    static int Begin(int len, double f, double center, int rs)
    {
        const double v = std::ceil(len / 2.0 - (center - rs) * f);
        return static_cast<int>(std::clamp(v, 0.0, double(len)));
    }
    static int End(int len, double f, double center, int rs, int rl)
    {
        const double v = std::trunc((rs + rl - center) * f + len / 2.0);
        return static_cast<int>(std::clamp(v, 0.0, double(len)));
    }
    static void Lagrange(double t, double w[4])
    {
        w[0] = -t * (t - 1) * (t - 2) / 6;
        w[1] = (t + 1) * (t - 1) * (t - 2) / 2;
        w[2] = -(t + 1) * t * (t - 2) / 2;
        w[3] = (t + 1) * t * (t - 1) / 6;
    }
    static double Overlap(double a, double b, int m) { return std::max(0.0, std::min(b, m + 1.0) - std::max(a, double(m))); }

    double S(int x, int y, int c) const
    {
        x = std::clamp(x, m_rx, m_rx + m_rw - 1);
        y = std::clamp(y, m_ry, m_ry + m_rh - 1);
        return m_src[static_cast<std::size_t>(y) * m_step + static_cast<std::size_t>(x) * m_call.channels + c];
    }

    CenterCall m_call;
    const unsigned char* m_src;
    int m_step;
    int m_rx, m_ry, m_rw, m_rh;
    WrittenRect m_rect;
};

}  // namespace tultest
