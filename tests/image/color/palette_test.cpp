// TulImage::PaletteToRGB24: random bitmaps of every bit count against a
// bit-stream model in every orientation, the packing examples, and the
// refusals that write nothing.
#include "image/TulImage.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace tultest {
namespace {

// A BITMAPINFO header with a full 256-entry colour table behind it.
struct Bitmap {
    Bitmap(LONG w, LONG h, WORD bits) : store(sizeof(BITMAPINFOHEADER) + 4 * 256)
    {
        info()->bmiHeader.biWidth = w;
        info()->bmiHeader.biHeight = h;
        info()->bmiHeader.biBitCount = bits;
        FillRandom(store.data() + sizeof(BITMAPINFOHEADER), 4 * 256, 99);
    }
    tagBITMAPINFO* info() { return reinterpret_cast<tagBITMAPINFO*>(store.data()); }
    const unsigned char* Entry(unsigned i) const { return store.data() + sizeof(BITMAPINFOHEADER) + 4 * i; }
    std::vector<unsigned char> store;
};

// Picture row r of a buffer at `step`: bottom-up for a negative step.
unsigned char* Row(GuardedBuffer& b, int step, int rows, int r)
{
    return b.data() + std::abs(step) * (step < 0 ? rows - 1 - r : r);
}

// Index x of a row read as a stream of bits, most significant bit first.
unsigned ModelIndex(const unsigned char* row, int x, int bits)
{
    unsigned v = 0;
    for (int k = 0; k < bits; ++k) {
        const int p = x * bits + k;
        v = 2 * v + ((row[p / 8] >> (7 - p % 8)) & 1u);
    }
    return v;
}

TEST(PaletteToRGB24, ExpandsEveryBitCountInEveryOrientation)
{
    for (WORD bits : {1, 4, 8})
        for (int w : {1, 3, 10, 17})
            for (int signs = 0; signs < 4; ++signs) {
                const int h = 3, srcRow = (w * bits + 7) / 8 + signs % 2, dstRow = 3 * w + signs / 2 * 2;
                const int ss = signs & 1 ? -srcRow : srcRow, ds = signs & 2 ? -dstRow : dstRow;
                Bitmap bmp(w, h, bits);
                GuardedBuffer src(srcRow * h), dst(dstRow * h, 0x6B), model(dstRow * h, 0x6B);
                FillRandom(src, static_cast<std::uint32_t>(w + bits));
                for (int r = 0; r < h; ++r)
                    for (int x = 0; x < w; ++x)
                        for (int c = 0; c < 3; ++c)
                            Row(model, ds, h, r)[3 * x + c] = bmp.Entry(ModelIndex(Row(src, ss, h, r), x, bits))[c];
                ULONG size = dstRow * h;
                ASSERT_EQ(TulImage::PaletteToRGB24(src.data(), dst.data(), &size, bmp.info(), ss, ds),
                          TulImage::TUL_SUCCESS);
                EXPECT_EQ(size, ULONG(dstRow * h));
                ASSERT_TRUE(SameBytes(model.Bytes(), dst.Bytes())) << bits << " bits, width " << w;
                ASSERT_TRUE(dst.GuardsIntact() && src.GuardsIntact());
            }
    // 1 bit, width 10: 0x80 0x40 light pixels 0 and 9; 4 bits 0x12 0x30: 1, 2, 3.
    Bitmap one(10, 1, 1), four(3, 1, 4);
    unsigned char ones[2] = {0x80, 0x40}, fours[2] = {0x12, 0x30}, out[30];
    ULONG size = 30;
    ASSERT_EQ(TulImage::PaletteToRGB24(ones, out, &size, one.info(), 2, 30), TulImage::TUL_SUCCESS);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(0, std::memcmp(out + 3 * x, one.Entry(x == 0 || x == 9), 3)) << x;
    ASSERT_EQ(TulImage::PaletteToRGB24(fours, out, &size, four.info(), 2, 9), TulImage::TUL_SUCCESS);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(0, std::memcmp(out + 3 * x, four.Entry(x + 1), 3)) << x;
}

// Refusals leave *size and the destination alone; a null picture reports
// the required size, a short capacity writes nothing.
TEST(PaletteToRGB24, RefusesWhatItCannotAddress)
{
    unsigned char src[64] = {}, dst[64];
    std::fill(std::begin(dst), std::end(dst), 0x11);
    struct Bad {
        LONG w, h;
        WORD bits;
        int ss, ds;
        bool nullInfo, nullSize;
    };
    const Bad bad[] = {
        {4, 2, 8, 4, 12, true, false},  {4, 2, 8, 4, 12, false, true},   {-4, 2, 8, 4, 12, false, false},
        {4, -2, 8, 4, 12, false, false}, {4, 2, 24, 12, 12, false, false}, {4, 2, 2, 4, 12, false, false},
        {4, 2, 0, 4, 12, false, false},  {4, 2, 8, 3, 12, false, false},  {9, 2, 1, 1, 27, false, false},
        {4, 2, 8, 4, 11, false, false},  {4, 2, 8, 0, 12, false, false},  {4, 2, 8, 4, INT_MIN, false, false},
        {4, 65537, 8, 4, 65536, false, false}, {4, 65537, 8, -65536, 12, false, false},
    };
    for (const Bad& b : bad) {
        Bitmap bmp(b.w, b.h, b.bits);
        ULONG size = 777;
        EXPECT_EQ(TulImage::PaletteToRGB24(src, dst, b.nullSize ? nullptr : &size, b.nullInfo ? nullptr : bmp.info(),
                                           b.ss, b.ds),
                  TulImage::TUL_INVALID_REQUEST)
            << b.w << "x" << b.h << " " << b.bits << " bits, steps " << b.ss << ", " << b.ds;
        EXPECT_EQ(size, 777u);
    }
    Bitmap bmp(4, 2, 8);
    ULONG size = 0;
    EXPECT_EQ(TulImage::PaletteToRGB24(nullptr, dst, &size, bmp.info(), 4, -13), TulImage::TUL_INVALID_REQUEST);
    EXPECT_EQ(size, 26u);
    size = 25;
    EXPECT_EQ(TulImage::PaletteToRGB24(src, dst, &size, bmp.info(), 4, -13), TulImage::TUL_BUFFER_TOO_SMALL);
    EXPECT_EQ(std::vector<unsigned char>(std::begin(dst), std::end(dst)), std::vector<unsigned char>(64, 0x11));
}

}  // namespace
}  // namespace tultest
