// The blends' weight rule, picture spans and whole-row loops.
#include "image/field/blend_rows.h"

#include "image/field/field_picture.h"
#include "image/foundation/black_fill.h"
#include "platform/ipp/alpha_comp_rows.h"

#include <cmath>
#include <cstring>

namespace tul::blend {

bool WeightAlphas(float weight, Alphas* alphas)
{
    if (std::isnan(weight))
        return false;
    const float w = weight < 0.0f ? 0.0f : weight > 1.0f ? 1.0f : weight;
    // The source product is formed in single precision, the destination's
    // in double; the two truncations make mid weights sum to 254.
    alphas->src = static_cast<int>(w * 255.0f) & 0xFF;
    alphas->dst = static_cast<int>((1.0 - static_cast<double>(w)) * 255.0) & 0xFF;
    return true;
}

Spans PictureSpans(TulImage::COLOR_FORMAT_TYPE format, unsigned char* base, std::int64_t width,
                   std::int64_t height, std::int64_t pitch, bool field, int parity)
{
    const FormatInfo& f = FormatOf(format);
    const std::int64_t apart = field ? 2 : 1;
    const std::int64_t rows = field ? height / 2 : height;
    Spans out{};
    if (f.family == FormatFamily::Planar420) {
        const Planes420 p = PlanesOf420(pitch, height);
        out.s[0] = {base + parity * pitch, apart * pitch, rows, width, kLumaBlack};
        for (int c = 1; c <= 2; ++c)
            out.s[c] = {base + p.offset[c] + parity * p.chromaPitch, apart * p.chromaPitch,
                        field ? p.chromaRows / 2 : p.chromaRows, width / 2, kChromaBlack};
        out.count = 3;
        return out;
    }
    const std::int64_t bytes = f.family == FormatFamily::Packed422 ? 2 * width : width * f.groupBytes;
    out.s[0] = {base + parity * pitch, apart * pitch, rows, bytes, 0};
    out.count = 1;
    out.yuy2 = f.family == FormatFamily::Packed422;
    return out;
}

void Mix(const Spans& src, const Spans& dst, Alphas alphas)
{
    const int kA = alphas.src * 255, kB = alphas.dst * 255;
    // One row choice per call: α1 + α2 <= 255 keeps the 16-bit row.
    const bool scaled = tulipp::ScaledAlphas(kA, kB);
    const auto scaledRow = tulipp::kAlphaCompScaledRows.Active();
    const auto constRow = tulipp::kAlphaCompConstRows.Active();
    for (int i = 0; i < dst.count; ++i) {
        const Span& s = src.s[i];
        const Span& d = dst.s[i];
        const int bytes = static_cast<int>(d.bytes);
        for (std::int64_t r = 0; r < d.rows; ++r) {
            const unsigned char* from = s.base + r * s.pitch;
            unsigned char* to = d.base + r * d.pitch;
            if (scaled)
                scaledRow(from, to, to, bytes, alphas.src, alphas.dst);
            else
                constRow(from, to, to, bytes, kA, kB);
        }
    }
}

void PaintBlack(const Spans& spans)
{
    for (int i = 0; i < spans.count; ++i) {
        const Span& s = spans.s[i];
        for (std::int64_t r = 0; r < s.rows; ++r) {
            if (spans.yuy2)
                FillBlack(s.base + r * s.pitch, Yuy2Format(), static_cast<std::size_t>(s.bytes));
            else
                std::memset(s.base + r * s.pitch, s.black, static_cast<std::size_t>(s.bytes));
        }
    }
}

void Zero(const Spans& spans)
{
    for (int i = 0; i < spans.count; ++i)
        for (std::int64_t r = 0; r < spans.s[i].rows; ++r)
            std::memset(spans.s[i].base + r * spans.s[i].pitch, 0, static_cast<std::size_t>(spans.s[i].bytes));
}

void Copy(const Spans& from, const Spans& to, bool reverse)
{
    for (int i = 0; i < to.count; ++i) {
        const Span& f = from.s[i];
        const Span& t = to.s[i];
        for (std::int64_t r = 0; r < t.rows; ++r)
            std::memmove(t.base + (reverse ? t.rows - 1 - r : r) * t.pitch, f.base + r * f.pitch,
                         static_cast<std::size_t>(t.bytes));
    }
}

void Mirror(const Spans& spans)
{
    for (int i = 0; i < spans.count; ++i) {
        const Span& s = spans.s[i];
        for (std::int64_t r = 0; r < s.rows / 2; ++r) {
            unsigned char* a = s.base + r * s.pitch;
            unsigned char* b = s.base + (s.rows - 1 - r) * s.pitch;
            for (std::int64_t x = 0; x < s.bytes; ++x) {
                const unsigned char t = a[x];
                a[x] = b[x];
                b[x] = t;
            }
        }
    }
}

bool AdmitPicture(TulImage::COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int step,
                  std::int64_t* pitch)
{
    field::Geometry g;
    if (field::Admit(format, width, height, step, &g) != TulImage::TUL_SUCCESS || g.empty)
        return false;
    // Rows of up to four bytes a pixel and heights the resamplers count in int.
    if (width > INT32_MAX / 4 || height > INT32_MAX / 2)
        return false;
    *pitch = g.pitch;
    return true;
}

}  // namespace tul::blend
