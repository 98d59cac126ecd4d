// TulImage::PaletteToRGB24: random bitmaps of every bit count against a
// bit-stream model in every orientation, and the refusals.
#include "image/TulImage.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace tultest {
namespace {

// A BITMAPINFO header with a random 256-entry colour table behind it.
struct Bitmap {
    Bitmap(LONG w, LONG h, WORD bits) : store(sizeof(BITMAPINFOHEADER) + 4 * 256)
    {
        FillRandom(store.data(), store.size(), 99);
        info()->bmiHeader.biWidth = w;
        info()->bmiHeader.biHeight = h;
        info()->bmiHeader.biBitCount = bits;
    }
    tagBITMAPINFO* info() { return reinterpret_cast<tagBITMAPINFO*>(store.data()); }
    std::vector<unsigned char> store;
};

// Rows read as one stream of bits, most significant first, `bits` an index
// (1 bit, width 10, bytes 80 40: indices 1 0 0 0 0 0 0 0 0 1).
TEST(PaletteToRGB24, ExpandsEveryBitCountInEveryOrientation)
{
    for (WORD bits : {1, 4, 8})
        for (int w : {1, 3, 10, 17})
            for (int signs = 0; signs < 4; ++signs) {
                const int h = 3, sp = (w * bits + 7) / 8 + signs % 2, dp = 3 * w + signs / 2 * 2;
                const int ss = signs & 1 ? -sp : sp, ds = signs & 2 ? -dp : dp;
                Bitmap bmp(w, h, bits);
                const auto n = static_cast<std::size_t>(static_cast<unsigned>(dp * h));  // unsigned: no false size warning
                GuardedBuffer src(std::size_t(sp) * h), dst(n, 0x6B), model(n, 0x6B);
                FillRandom(src, static_cast<std::uint32_t>(w + bits));
                for (int r = 0; r < h; ++r)
                    for (int x = 0; x < w; ++x) {
                        const unsigned char* row = src.data() + sp * (ss < 0 ? h - 1 - r : r);
                        unsigned index = 0;
                        for (int p = x * bits; p < (x + 1) * bits; ++p)
                            index = 2 * index + ((row[p / 8] >> (7 - p % 8)) & 1u);
                        std::memcpy(model.data() + dp * (ds < 0 ? h - 1 - r : r) + 3 * x,
                                    bmp.store.data() + sizeof(BITMAPINFOHEADER) + 4 * index, 3);
                    }
                ULONG size = dp * h;
                ASSERT_EQ(TulImage::PaletteToRGB24(src.data(), dst.data(), &size, bmp.info(), ss, ds), 0u);
                EXPECT_EQ(size, ULONG(dp * h));
                ASSERT_TRUE(SameBytes(model.Bytes(), dst.Bytes())) << bits << " bits, width " << w;
                ASSERT_TRUE(dst.GuardsIntact() && src.GuardsIntact());
            }
}

// Refusals leave *size and the destination alone: a null description or
// size, negative dimensions, bit counts other than 1, 4, 8, steps of 0,
// INT_MIN or short of their rows, sizes past 32 bits. Then a null picture
// reports the required size and a short capacity writes nothing.
TEST(PaletteToRGB24, RefusesWhatItCannotAddress)
{
    unsigned char src[64] = {}, dst[64];
    std::fill(std::begin(dst), std::end(dst), 0x11);
    struct Bad {
        LONG w, h;
        WORD bits;
        int ss, ds;
    };
    const Bad bad[] = {{4, 2, 8, 4, 12},      {4, 2, 8, 4, 12},  {-4, 2, 8, 4, 12},     {4, -2, 8, 4, 12},
                       {4, 2, 24, 12, 12},    {4, 2, 2, 4, 12},  {4, 2, 8, 3, 12},      {9, 2, 1, 1, 27},
                       {4, 2, 8, 4, 11},      {4, 2, 8, 0, 12},  {4, 2, 8, 4, INT_MIN}, {4, 65537, 8, 4, 65536},
                       {4, 65537, 8, -65536, 12}};
    for (const Bad& b : bad) {
        Bitmap bmp(b.w, b.h, b.bits);
        ULONG size = 777;
        const bool nullInfo = &b == &bad[0], nullSize = &b == &bad[1];
        EXPECT_EQ(TulImage::PaletteToRGB24(src, dst, nullSize ? nullptr : &size, nullInfo ? nullptr : bmp.info(),
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
