// The command line: the settings no end-to-end run shows, and each wrong
// use refused with status 2 and one line naming it. Help, defaults, files
// and the effects of the other settings are shown by the end-to-end runs.
#include "apps/tulrezzo/options.h"
#include "tulrezzo_files.h"

#include <sstream>

namespace tulrezzo {
namespace {

using tulrezzotest::Text;

struct Parsed {
    ParseOutcome outcome;
    ResizeOptions options;
    std::string out;
    std::string err;
};

Parsed Parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "tulrezzo");
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    Parsed p;
    std::ostringstream out, err;
    p.outcome = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &p.options, out, err);
    p.out = out.str();
    p.err = err.str();
    return p;
}

// The settings the end-to-end runs leave out: a raw input named in capitals
// with its own aspect, progressive, averaging, the "never" policy, and the
// snapshot as large as the output by default.
TEST(Options, SettingsTheRunsLeaveOut)
{
    const Parsed p = Parse({"resize", "clip.YUV", "-o", "-", "--input-size", "720x576", "--aspect", "4:3", "--progressive",
                            "--deinterlace", "average", "--policy", "never", "--size", "64x48", "--snapshot", "s.bmp", "--snapshot-size", "32x24"});
    ASSERT_TRUE(p.outcome.run) << p.err;
    const ResizeOptions& o = p.options;
    EXPECT_EQ(o.inputKind, InputKind::Raw);
    EXPECT_EQ(o.outputKind, OutputKind::Y4m);
    EXPECT_EQ(Text(o.inputAspect), "4:3");
    EXPECT_FALSE(o.interlaced);
    EXPECT_EQ(o.method, FIELD_FILL_AVERAGE);
    EXPECT_NE(o.policy, FIELD_POLICY_AUTO);
    EXPECT_NE(o.policy, FIELD_POLICY_ALWAYS);
    EXPECT_EQ(Text(o.snapshotSize), "32x24");
}

struct Wrong {
    std::vector<std::string> args;
    const char* message;
};

class WrongUsage : public ::testing::TestWithParam<Wrong> {};

TEST_P(WrongUsage, StatusTwoAndOneLineNamingTheProblem)
{
    const Parsed p = Parse(GetParam().args);
    EXPECT_FALSE(p.outcome.run);
    EXPECT_EQ(p.outcome.status, 2);
    EXPECT_NE(p.err.find(GetParam().message), std::string::npos) << p.err;
    ASSERT_FALSE(p.err.empty());
    EXPECT_EQ(p.err.find('\n'), p.err.size() - 1) << p.err;
    EXPECT_EQ(p.err.rfind("tulrezzo: ", 0), 0u) << p.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongUsage,
    ::testing::Values(
        Wrong{{}, "subcommand"}, Wrong{{"shrink"}, "shrink"}, Wrong{{"resize"}, "--output"},
        Wrong{{"resize", "-o", "o.y4m", "--size", "321x240"}, "--size '321x240': width must be even"},
        Wrong{{"resize", "-o", "o.y4m", "--size", "0x240"}, "--size '0x240'"},
        Wrong{{"resize", "-o", "o.y4m", "--size", "320x0"}, "--size '320x0'"},
        Wrong{{"resize", "-o", "o.y4m", "--size", "-320x240"}, "--size"},
        Wrong{{"resize", "-o", "o.y4m", "--size", "320"}, "--size '320'"},
        Wrong{{"resize", "-o", "o.y4m", "--size", "99999x2"}, "--size '99999x2'"},
        Wrong{{"resize", "-o", "o.y4m", "--mode", "zoom"}, "--mode: unknown mode 'zoom'"},
        Wrong{{"resize", "-o", "o.y4m", "--deinterlace", "bob"}, "--deinterlace: unknown method 'bob'"},
        Wrong{{"resize", "-o", "o.y4m", "--policy", "sometimes"}, "--policy: unknown policy 'sometimes'"},
        Wrong{{"resize", "-o", "o.y4m", "--output-aspect", "16:0"}, "--output-aspect '16:0'"},
        Wrong{{"resize", "-o", "o.y4m", "--frames", "0"}, "--frames '0'"},
        Wrong{{"resize", "-o", "o.y4m", "--frames", "-3"}, "--frames"},
        Wrong{{"resize", "-o", "o.y4m", "--frames", "ten"}, "--frames 'ten'"},
        Wrong{{"resize", "-o", "o.y4m", "--snapshot-size", "8x8"}, "--snapshot-size needs --snapshot"},
        Wrong{{"resize", "-o", "o.y4m", "--snapshot", "s.bmp", "--snapshot-size", "7x8"}, "--snapshot-size '7x8'"},
        Wrong{{"resize", "-o", "o.y4m", "--snapshot", "-"}, "--snapshot needs a file name"},
        Wrong{{"resize", "-o", "out.mp4"}, "--output 'out.mp4'"},
        Wrong{{"resize", "in.mp4", "-o", "o.y4m"}, "input 'in.mp4'"},
        Wrong{{"resize", "in.yuv", "-o", "o.y4m"}, "needs --input-size"},
        Wrong{{"resize", "in.yuv", "-o", "o.y4m", "--input-size", "7x2"}, "--input-size '7x2'"},
        Wrong{{"resize", "in.yuv", "-o", "o.y4m", "--input-size", "8x2", "--rate", "25/0"}, "--rate '25/0'"},
        Wrong{{"resize", "in.yuv", "-o", "o.y4m", "--input-size", "8x2", "--aspect", "x"}, "--aspect 'x'"},
        Wrong{{"resize", "in.yuv", "-o", "o.y4m", "--input-size", "8x2", "--interlaced", "--progressive"},
              "excludes"},
        Wrong{{"resize", "in.y4m", "-o", "o.y4m", "--input-size", "8x2"}, "--input-size applies only to raw"},
        Wrong{{"resize", "-o", "o.y4m", "--rate", "25/1"}, "--rate applies only to raw"},
        Wrong{{"resize", "-o", "o.y4m", "--interlaced"}, "--interlaced applies only to raw"},
        Wrong{{"resize", "-o", "o.y4m", "--bogus"}, "--bogus"}));

}  // namespace
}  // namespace tulrezzo
