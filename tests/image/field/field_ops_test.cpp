// The field operations over their four families: the row examples,
// GetField-then-MakeFrame round trips, in place against out of place (with
// a plane-by-plane model of line doubling and the statuses of pictures too
// small to resample), interpolation against the kept field resized by the
// one-call Resize, and the refusals.
#include "image/TulImage.h"
#include "image/foundation/format_table.h"
#include "tests/support/picture.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using T = TulImage;
using tultest::GuardedBuffer;

struct Family {
    const char* name;
    T::COLOR_FORMAT_TYPE format;
    decltype(&T::GetFieldYUY2) getField;
    decltype(&T::MakeFrameYUY2) makeFrame;
    decltype(&T::FieldSwapYUY2) fieldSwap;
    decltype(&T::DeInterlaceYUY2) deInterlace;

    bool Planar() const { return format == T::COLOR_FORMAT_YUV420; }
    // A padded step of either sign (odd pitches for 4:2:0 of even width).
    int Step(ULONG w, int sign) const
    {
        return sign * static_cast<int>(tul::PixelRow(tul::FormatOf(format), w) + 3);
    }
    std::size_t Buffer(ULONG w, ULONG rows, int step) const { return T::GetPictureSize(format, w, rows, step); }
};

const Family kFamilies[] = {
    {"YUY2", T::COLOR_FORMAT_YUY2, &T::GetFieldYUY2, &T::MakeFrameYUY2, &T::FieldSwapYUY2, &T::DeInterlaceYUY2},
    {"RGB24", T::COLOR_FORMAT_RGB24, &T::GetFieldRGB24, &T::MakeFrameRGB24, &T::FieldSwapRGB24, &T::DeInterlaceRGB24},
    {"RGB32", T::COLOR_FORMAT_RGB32, &T::GetFieldRGB32, &T::MakeFrameRGB32, &T::FieldSwapRGB32, &T::DeInterlaceRGB32},
    {"YUV420", T::COLOR_FORMAT_YUV420, &T::GetFieldYUV420, &T::MakeFrameYUV420, &T::FieldSwapYUV420,
     &T::DeInterlaceYUV420},
};

void PrintTo(const Family& f, std::ostream* os) { *os << f.name; }

// The same pixels plane by plane, padding aside (a YUY2 row of odd width
// ends with a lone Y and U); `all` compares every byte of the frame's rows.
::testing::AssertionResult SamePixels(const Family& f, const unsigned char* a, const unsigned char* b,
                                      ULONG w, ULONG h, int step, bool all = false)
{
    const int p = std::abs(step);
    const tul::Planes420 planes = tul::PlanesOf420(p, h);
    const auto row = static_cast<int>(all ? p : f.Planar() ? w : T::GetBitPixel(f.format) / 8 * w);
    auto same = tultest::SameRows(a, p, b, p, row, static_cast<int>(h));
    for (int c = 1; same && f.Planar() && c <= 2; ++c)
        same = tultest::SameRows(a + planes.offset[c], p / 2, b + planes.offset[c], p / 2,
                                 static_cast<int>(all ? p / 2 : w / 2), static_cast<int>(planes.chromaRows));
    return same;
}

class FieldOps : public ::testing::TestWithParam<Family> {};

// A picture whose memory row r is the letter rows[r] in every byte.
GuardedBuffer Lettered(const Family& f, const std::string& rows, int step)
{
    GuardedBuffer b(std::max<std::size_t>(f.Buffer(2, static_cast<ULONG>(rows.size()), step), 1), '.');
    for (std::size_t r = 0; r < rows.size(); ++r)
        std::memset(b.data() + r * std::abs(step), rows[r], std::abs(step));
    return b;
}

TEST_P(FieldOps, RowExamples)
{
    enum Op { Get, Make, Swap };
    constexpr int TFF = T::SCAN_TOP_FIELD_FIRST, BFF = T::SCAN_BOTTOM_FIELD_FIRST;
    // Memory rows in (MakeFrame: first field | second field) and out; the
    // argument is topField or the scan type.
    const struct { Op op; int arg, sign; std::string in, out; } cases[] = {
        {Get, 1, +1, "ABCD", "AC"}, {Get, 1, -1, "ABCD", "BD"}, {Get, 0, +1, "A", "."},
        {Make, 0, -1, "AC|BD", "BADC"}, {Make, 0, +1, "ACE|BD", "ABCDE"},
        {Swap, TFF, +1, "ABCDE", "BABCD"}, {Swap, BFF, +1, "ABCDE", "BCDED"}, {Swap, TFF, -1, "ABCDE", "BCDED"},
        {Swap, TFF, +1, "AB", "AA"}, {Swap, BFF, +1, "AB", "BB"}, {Swap, 0, +1, "ABC", "ABC"},
    };
    const Family& f = GetParam();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in + " -> " + c.out);
        const int step = f.Step(2, c.sign), p = std::abs(step);
        const std::size_t bar = c.in.find('|');
        GuardedBuffer src = Lettered(f, c.in.substr(0, bar), step), dst = Lettered(f, std::string(c.out.size(), '.'), step);
        const auto h = static_cast<ULONG>(c.op == Make ? c.out.size() : c.in.size());
        const auto scan = static_cast<T::SCAN_TYPE>(c.arg);
        unsigned char* to = dst.data();
        ULONG status = 0;
        if (c.op == Get)
            status = f.getField(src.data(), to, 2, h, step, c.arg != 0);
        if (c.op == Make)
            status = f.makeFrame(src.data(), Lettered(f, c.in.substr(bar + 1), step).data(), to, 2, h, step);
        if (c.op == Swap)
            status = f.fieldSwap(src.data(), to, 2, h, step, scan);
        EXPECT_EQ(status, 0u);
        std::string got;
        for (std::size_t r = 0; r < c.out.size(); ++r)
            got += static_cast<char>(to[r * p + p - 1]);
        EXPECT_EQ(got, c.out);
        EXPECT_TRUE(src.GuardsIntact() && dst.GuardsIntact());
    }
}

// Both fields taken out of a frame, in buffers of exactly their size (or
// in place), weave back into the frame, for every height, width and orientation.
TEST_P(FieldOps, GetFieldTwiceThenMakeFrameGivesTheFrame)
{
    const Family& f = GetParam();
    for (ULONG w = 1; w <= 3; ++w)
        for (int sign : {+1, -1})
            for (ULONG h = 1; h <= 8; ++h) {
                SCOPED_TRACE(::testing::Message() << w << "x" << h << " sign " << sign);
                const int step = f.Step(w, sign);
                const ULONG topRows = sign > 0 ? (h + 1) / 2 : h / 2;
                GuardedBuffer frame(f.Buffer(w, h, step)), top(f.Buffer(w, topRows, step), 0xEE),
                    bottom(f.Buffer(w, h - topRows, step), 0xEE), woven(frame.size(), 0xEE);
                tultest::FillRandom(frame, h * 31 + w);
                ASSERT_EQ(f.getField(frame.data(), top.data(), w, h, step, true), 0u);
                ASSERT_EQ(f.getField(frame.data(), bottom.data(), w, h, step, false), 0u);
                ASSERT_EQ(f.makeFrame(top.data(), bottom.data(), woven.data(), w, h, step), 0u);
                GuardedBuffer inPlace = frame;  // a field taken into its own frame
                ASSERT_EQ(f.getField(inPlace.data(), inPlace.data(), w, h, step, true), 0u);
                EXPECT_TRUE(SamePixels(f, inPlace.data(), top.data(), w, topRows, step, true));
                EXPECT_TRUE(SamePixels(f, frame.data(), woven.data(), w, h, step, true));
                EXPECT_TRUE(top.GuardsIntact() && bottom.GuardsIntact() && woven.GuardsIntact());
            }
}

// Line doubling, plane by plane: each row is the kept row of its pair, the
// last unpaired row the kept row above it, a lone row itself.
void ExpectDoubled(const Family& f, const unsigned char* src, const unsigned char* dst, std::int64_t h,
                   int step, bool keepOdd)
{
    const tul::Planes420 planes = tul::PlanesOf420(std::abs(step), h);
    for (int plane = 0; plane < (f.Planar() ? 3 : 1); ++plane) {
        const std::int64_t rows = plane == 0 ? h : planes.chromaRows, pitch = plane == 0 ? std::abs(step) : planes.chromaPitch;
        for (std::int64_t r = 0; r < rows; ++r) {
            std::int64_t kept = (r % 2 == 1) == keepOdd ? r : (keepOdd ? r + 1 : r - 1);
            kept = kept < rows ? kept : rows > 1 ? r - 1 : r;
            const std::int64_t at = planes.offset[plane];
            EXPECT_EQ(std::memcmp(dst + at + r * pitch, src + at + kept * pitch, pitch), 0) << plane << ":" << r;
        }
    }
}

// Field swap and every deinterlace give in place what they give out of
// place, with one stated status, no guard byte touched and, when a picture
// is too small for the resampler, nothing written; pictures from 1x1 up.
TEST_P(FieldOps, InPlaceEqualsOutOfPlace)
{
    const Family& f = GetParam();
    for (ULONG w : {1u, 2u, 3u, 6u})
        for (int sign : {+1, -1})
            for (ULONG h = 1; h <= 8; ++h)
                for (int scan = 0; scan <= 2; ++scan)
                    for (int kind = -1; kind <= 5; ++kind) {  // -1 swap, 0 line doubling, then modes 0-4
                        const int step = f.Step(w, sign);
                        SCOPED_TRACE(::testing::Message() << w << "x" << h << " sign " << sign << " scan " << scan
                                                          << " kind " << kind);
                        GuardedBuffer src(f.Buffer(w, h, step)), out(src.size(), 0xEE);
                        tultest::FillRandom(src, w * 977 + h * 31 + scan);
                        GuardedBuffer in = src;
                        const auto run = [&](const unsigned char* from, unsigned char* to) {
                            const auto s = static_cast<T::SCAN_TYPE>(scan);
                            return kind < 0 ? f.fieldSwap(from, to, w, h, step, s)
                                            : f.deInterlace(from, to, w, h, step, s,
                                                            static_cast<T::DEINTERLACE_MODE>(kind > 0),
                                                            static_cast<T::INTERPOLATION_MODE>(kind - 1));
                        };
                        const ULONG status = run(src.data(), out.data());
                        ASSERT_EQ(run(in.data(), in.data()), status);
                        // The resamplers need a YUY2 pixel pair (our own an even width), and
                        // 4:2:0 fields with chroma (our own only for a frame that has some).
                        const bool vexo = kind == 5, resample = kind > 0 && scan != 0 && h > 1;
                        const bool refused = f.format == T::COLOR_FORMAT_YUY2 ? w < 2 || (vexo && w % 2 != 0)
                                             : f.Planar() ? (vexo ? h < 4 && w >= 2 : h < 4 || w < 2) : false;
                        EXPECT_EQ(status, resample && refused ? 4u : 0u);
                        if (status == 0)
                            EXPECT_TRUE(SamePixels(f, out.data(), in.data(), w, h, step));
                        else
                            EXPECT_TRUE(in.Bytes() == src.Bytes() && out.Bytes() == std::vector<unsigned char>(out.size(), 0xEE));
                        if (kind == 0 && scan != 0)
                            ExpectDoubled(f, src.data(), out.data(), h, step, (scan == T::SCAN_TOP_FIELD_FIRST) == (sign > 0));
                        EXPECT_TRUE(src.GuardsIntact() && out.GuardsIntact() && in.GuardsIntact());
                    }
}

// Interpolation equals the kept field taken out and resized by the one-call
// Resize (automatic takes cubic for a field enlarged twice, as that resize
// does); our own resampler doubles exactly, keeping the field's rows.
TEST_P(FieldOps, InterpolationEqualsTheKeptFieldResized)
{
    const Family& f = GetParam();
    for (ULONG w : {6u, 7u})
        for (ULONG h : {4u, 8u, 12u})
            for (int sign : {+1, -1})
                for (int scan : {T::SCAN_TOP_FIELD_FIRST, T::SCAN_BOTTOM_FIELD_FIRST})
                    for (int mode = T::INTERPOLATION_NEAREST; mode <= T::INTERPOLATION_VEXO; ++mode) {
                        const bool vexo = mode == T::INTERPOLATION_VEXO && (f.Planar() || f.format == T::COLOR_FORMAT_YUY2);
                        if (vexo && !f.Planar() && w % 2 != 0)
                            continue;
                        SCOPED_TRACE(::testing::Message() << w << "x" << h << " sign " << sign << " scan " << scan
                                                          << " mode " << mode);
                        const int step = f.Step(w, sign), p = std::abs(step);
                        const auto m = static_cast<T::INTERPOLATION_MODE>(mode);
                        GuardedBuffer frame(f.Buffer(w, h, step)), field(f.Buffer(w, h / 2, step)),
                            expected(frame.size(), 0xEE), actual(frame.size(), 0xEE);
                        tultest::FillRandom(frame, w * 131 + h + scan);
                        // Bottom field first keeps the top field.
                        ASSERT_EQ(f.getField(frame.data(), field.data(), w, h, step, scan == T::SCAN_BOTTOM_FIELD_FIRST), 0u);
                        ULONG size = static_cast<ULONG>(expected.size());
                        ASSERT_EQ(T::Resize(field.data(), expected.data(), &size, w, h / 2, step, w, h, step, f.format, m), 0u);
                        ASSERT_EQ(f.deInterlace(frame.data(), actual.data(), w, h, step, static_cast<T::SCAN_TYPE>(scan),
                                                T::DEINTERLACE_INTERPOLATE, m),
                                  0u);
                        EXPECT_TRUE(SamePixels(f, expected.data(), actual.data(), w, h, step));
                        EXPECT_TRUE(!vexo || tultest::SameRows(field.data(), p, actual.data(), 2 * p,
                                                               static_cast<int>(f.Planar() ? w : 2 * w),
                                                               static_cast<int>(h / 2)));
                        EXPECT_TRUE(actual.GuardsIntact());
                    }
}

// Refused requests return 3 and touch nothing; a height of 0 does nothing.
TEST_P(FieldOps, RefusalsWriteNothing)
{
    const Family& f = GetParam();
    const ULONG w = 4;
    const int step = f.Step(w, 1), shortStep = static_cast<int>(tul::PixelRow(tul::FormatOf(f.format), w)) - 1;
    GuardedBuffer a(f.Buffer(w, 4, step)), b(a.size());
    tultest::FillRandom(a, 7), tultest::FillRandom(b, 8);
    const std::vector<unsigned char> aBefore = a.Bytes(), bBefore = b.Bytes();
    unsigned char *const x = a.data(), *const y = b.data();
    const auto S = [](int s) { return static_cast<T::SCAN_TYPE>(s); };
    const auto M = [](int m) { return static_cast<T::DEINTERLACE_MODE>(m); };
    const T::INTERPOLATION_MODE linear = T::INTERPOLATION_LINEAR;
    const std::pair<ULONG, std::function<ULONG()>> calls[] = {
        {3, [&] { return f.getField(nullptr, y, w, 4, step, true); }},
        {3, [&] { return f.getField(x, y, w, 4, 0, true); }},
        {3, [&] { return f.getField(x, y, w, 4, shortStep, true); }},
        {3, [&] { return f.getField(x, x + 1, w, 4, step, true); }},
        {3, [&] { return f.getField(x, y, w, 0xFFFFFFFF, INT32_MAX, false); }},
        {3, [&] { return f.makeFrame(x, nullptr, y, w, 4, step); }},
        {3, [&] { return f.makeFrame(x, y, x, w, 4, -step); }},
        {3, [&] { return f.makeFrame(x, x, y, w, 4, -shortStep); }},
        {3, [&] { return f.fieldSwap(x, y, w, 4, step, S(3)); }},
        {3, [&] { return f.fieldSwap(x, x + step, w, 4, step, S(1)); }},
        {3, [&] { return f.fieldSwap(x, y, w, 0xFFFFFFFF, -step, S(1)); }},
        {3, [&] { return f.deInterlace(x, y, w, 4, step, S(1), M(2), linear); }},
        {3, [&] { return f.deInterlace(x, x, w, 4, step, S(3), M(0), linear); }},
        {3, [&] { return f.deInterlace(x, y, w, 4, INT32_MIN, S(1), M(0), linear); }},
        {3, [&] { return f.deInterlace(x, x, w, 1, INT32_MAX / 2 + 1, S(1), M(1), linear); }},
        {0, [&] { return f.fieldSwap(x, y, w, 0, step, S(1)); }},
        {0, [&] { return f.deInterlace(x, y, w, 0, -step, S(2), M(1), linear); }},
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        EXPECT_EQ(calls[i].second(), calls[i].first) << "call " << i;
        EXPECT_TRUE(a.Bytes() == aBefore && b.Bytes() == bBefore && a.GuardsIntact() && b.GuardsIntact()) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Families, FieldOps, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& i) { return std::string(i.param.name); });

}  // namespace
