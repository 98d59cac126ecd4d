// The Y4M header and the numbers it is made of: every tag read, every
// unusable tag refused by name, and the pixel/picture aspect translation.
#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/y4m_header.h"
#include "tulrezzo_files.h"

#include <gtest/gtest.h>

namespace tulrezzo {
namespace {

using tulrezzotest::Text;

// Decimals that fit LONG, pairs with one separator, and ratios reduced
// and shrunk into LONG.
TEST(Numbers, DecimalsPairsAndRatios)
{
    LONG a = -1, b = -1;
    EXPECT_TRUE(ParseNumber("2147483647", &a));
    EXPECT_EQ(a, 2147483647);
    for (const char* bad : {"", "-1", "+1", " 1", "1 ", "2147483648", "99999999999", "1.5", "0x10"})
        EXPECT_FALSE(ParseNumber(bad, &a)) << bad;
    EXPECT_TRUE(ParsePair("30000/1001", "/:", &a, &b));
    EXPECT_EQ(Text(Ratio{a, b}), "30000:1001");
    for (const char* bad : {"720", "x480", "720x", "720x480x2", "720*480", "-2x4"})
        EXPECT_FALSE(ParsePair(bad, "xX", &a, &b)) << bad;
    EXPECT_EQ(Text(ReduceRatio(5760, 4320)), "4:3");
    const Ratio big = ReduceRatio(std::int64_t{1} << 40, (std::int64_t{1} << 40) * 3 + 1);
    EXPECT_GT(big.num, 0);
    EXPECT_GT(big.den, 0);
    EXPECT_NEAR(static_cast<double>(big.num) / big.den, 1.0 / 3, 1e-6);
}

TEST(Y4mHeader, ReadsEveryTagItUsesAndDefaultsTheRest)
{
    const StreamInfo info = ParseY4mHeader("YUV4MPEG2 W720 H480 F30000:1001 Ib A10:11 C422 XYSCSS=422");
    EXPECT_EQ(Text(info.size), "720x480");
    EXPECT_EQ(Text(info.rate), "30000:1001");
    EXPECT_EQ(info.interlaceTag, 'b');
    EXPECT_TRUE(info.Interlaced());
    // 720 x 10 : 480 x 11 = 15 : 11
    EXPECT_EQ(Text(info.pictureAspect), "15:11");
    EXPECT_EQ(info.FrameBytes(), 720u * 480 * 2);
    // Optional tags default to progressive square pixels.
    const StreamInfo bare = ParseY4mHeader("YUV4MPEG2 C422 H2 W4 F25:1");
    EXPECT_EQ(bare.interlaceTag, 0);
    EXPECT_FALSE(bare.Interlaced());
    EXPECT_EQ(Text(bare.pictureAspect), "1:1");
    // Of the interlace letters, only top, bottom and mixed are interlaced.
    for (char c : std::string("ptbm?")) {
        const StreamInfo tagged = ParseY4mHeader(std::string("YUV4MPEG2 W4 H2 F25:1 C422 I") + c);
        EXPECT_EQ(tagged.interlaceTag, c);
        EXPECT_EQ(tagged.Interlaced(), c == 't' || c == 'b' || c == 'm') << c;
    }
}

struct BadHeader {
    const char* line;
    const char* named;  // what the message must contain
};

class Y4mHeaderRefusal : public ::testing::TestWithParam<BadHeader> {};

TEST_P(Y4mHeaderRefusal, NamesTheOffendingTag)
{
    try {
        ParseY4mHeader(GetParam().line);
        FAIL() << "accepted " << GetParam().line;
    } catch (const AppError& e) {
        EXPECT_EQ(e.Status(), kExitFailure);
        EXPECT_NE(std::string(e.what()).find(GetParam().named), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tags, Y4mHeaderRefusal,
    ::testing::Values(BadHeader{"YUV4MPEG2 W720 H480 F30000:1001 C411", "tag 'C411': only 4:2:0"},
                      BadHeader{"YUV4MPEG2 W720 H480 F30000:1001 C444", "'C444'"},
                      BadHeader{"YUV4MPEG2 W720 H481 F30000:1001 C420mpeg2", "'W720 H481': width and height"},
                      BadHeader{"YUV4MPEG2 W720 H481 F30000:1001", "'W720 H481'"},
                      BadHeader{"YUV4MPEG2 W720 H480 F30000:1001 C422p10", "'C422p10'"},
                      BadHeader{"YUV4MPEG2 H480 F30000:1001 C422", "no width tag W"},
                      BadHeader{"YUV4MPEG2 W720 F30000:1001 C422", "no height tag H"},
                      BadHeader{"YUV4MPEG2 W720 H480 C422", "no frame rate tag F"},
                      BadHeader{"YUV4MPEG2 W720 H480 F30000:0 C422", "'F30000:0'"},
                      BadHeader{"YUV4MPEG2 W720 H480 F0:1 C422", "'F0:1'"},
                      BadHeader{"YUV4MPEG2 W720 H480 F25 C422", "'F25'"},
                      BadHeader{"YUV4MPEG2 W720 H480 Fx:y C422", "'Fx:y'"},
                      BadHeader{"YUV4MPEG2 W-720 H480 F25:1 C422", "'W-720'"},
                      BadHeader{"YUV4MPEG2 W0 H480 F25:1 C422", "'W0'"},
                      BadHeader{"YUV4MPEG2 W720 Habc F25:1 C422", "'Habc'"},
                      BadHeader{"YUV4MPEG2 W721 H480 F25:1 C422", "'W721 H480': width must be even"},
                      BadHeader{"YUV4MPEG2 W99999 H480 F25:1 C422", "W99999 H480"},
                      BadHeader{"YUV4MPEG2 W720 H480 F25:1 Ix C422", "'Ix'"},
                      BadHeader{"YUV4MPEG2 W720 H480 F25:1 A1:0 C422", "'A1:0'"},
                      BadHeader{"YUV4MPEG2 W720 H480 F25:1 A4 C422", "'A4'"},
                      BadHeader{"YUV4MPEG3 W720 H480 F25:1 C422", "YUV4MPEG2"},
                      BadHeader{"YUV4MPEG2W720", "YUV4MPEG2"}));

// Both directions between Y4M's pixel aspect and the filter's picture
// aspect, where 1:1 stands for square pixels (8:9 at 720x480 is 4:3 in the
// media type and the end-to-end runs).
TEST(Y4mHeader, AspectTranslations)
{
    EXPECT_EQ(Text(PictureAspectFromPixelAspect({720, 480}, {32, 27})), "16:9");
    EXPECT_EQ(Text(PictureAspectFromPixelAspect({720, 480}, {0, 0})), "1:1");  // unknown: square pixels
    // A square picture on a non-square frame must not read as "pixel shape".
    EXPECT_EQ(Text(PictureAspectFromPixelAspect({720, 480}, {2, 3})), "2:2");

    EXPECT_EQ(Text(PixelAspectFromPictureAspect({320, 240}, {1, 1})), "1:1");
    EXPECT_EQ(Text(PixelAspectFromPictureAspect({720, 480}, {16, 9})), "32:27");
}

}  // namespace
}  // namespace tulrezzo
