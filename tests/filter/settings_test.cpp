// IResizeSettings: stored values, refusals, out-parameters and when a new
// output size takes effect.
#include "resize_graph.h"

namespace rftest {
namespace {

class Settings : public FilterTest {
protected:
    void SetUp() override
    {
        FilterTest::SetUp();
        filter = MakeFilter();
        ASSERT_EQ(filter.As(IID_IResizeSettings, &settings), S_OK);
    }
    void TearDown() override
    {
        settings.Reset();
        filter.Reset();
        FilterTest::TearDown();
    }
    ComPtr<CResizeFilter> filter;
    ComPtr<IResizeSettings> settings;
};

// The single-value settings: their defaults, and any value stored as
// given (none of them is checked when set).
struct Knob {
    const char* name;
    HRESULT (IResizeSettings::*set)(LONG);
    HRESULT (IResizeSettings::*get)(LONG*);
    LONG defaultValue;
    LONG stored;
};

TEST_F(Settings, DefaultsBeforeThePinsExistStoresWhatItIsGivenButBadAspects)
{
    const Knob knobs[] = {
        {"mode", &IResizeSettings::SetResizeMode, &IResizeSettings::GetResizeMode, RESIZE_MODE_FIT, 7},
        {"method", &IResizeSettings::SetDeinterlaceMethod, &IResizeSettings::GetDeinterlaceMethod, FIELD_FILL_NONE,
         -5},
        {"policy", &IResizeSettings::SetDeinterlacePolicy, &IResizeSettings::GetDeinterlacePolicy,
         FIELD_POLICY_AUTO, 9},
    };
    for (const Knob& k : knobs) {
        LONG v = -1;
        EXPECT_EQ((settings.Get()->*k.get)(&v), S_OK) << k.name;
        EXPECT_EQ(v, k.defaultValue) << k.name;
        EXPECT_EQ((settings.Get()->*k.set)(k.stored), S_OK) << k.name;
        EXPECT_EQ((settings.Get()->*k.get)(&v), S_OK) << k.name;
        EXPECT_EQ(v, k.stored) << k.name;
    }
    LONG w = 0, h = 0, x = 0, y = 0;
    BOOL canChange = FALSE;
    EXPECT_EQ(settings->GetOutputSize(&w, &h, &canChange), S_OK);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(canChange, TRUE);
    EXPECT_EQ(settings->GetOutputAspectRatio(&x, &y), S_OK);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    DWORD color = 1;
    EXPECT_EQ(settings->GetBackgroundColor(&color), S_OK);
    EXPECT_EQ(color, 0u);
    EXPECT_EQ(settings->SetBackgroundColor(0x00FF8040u), S_OK);
    EXPECT_EQ(settings->GetBackgroundColor(&color), S_OK);
    EXPECT_EQ(color, 0x00FF8040u);

    // Aspect terms of zero or below are refused, the old ones kept.
    for (auto terms : {std::pair<LONG, LONG>{0, 9}, {16, 0}, {-16, 9}, {16, -9}, {0, 0}})
        EXPECT_EQ(settings->SetOutputAspectRatio(terms.first, terms.second), S_FALSE);
    settings->GetOutputAspectRatio(&x, &y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(settings->SetOutputAspectRatio(16, 9), S_OK);
    settings->GetOutputAspectRatio(&x, &y);
    EXPECT_EQ(x, 16);
    EXPECT_EQ(y, 9);
    // Null out-parameters are skipped.
    EXPECT_EQ(settings->GetOutputSize(nullptr, &h, nullptr), S_OK);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(settings->GetOutputSize(nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(settings->GetBackgroundColor(nullptr), S_OK);
    EXPECT_EQ(settings->GetResizeMode(nullptr), S_OK);
    EXPECT_EQ(settings->GetOutputAspectRatio(nullptr, &h), S_OK);
    EXPECT_EQ(h, 9);
    EXPECT_EQ(settings->GetDeinterlaceMethod(nullptr), S_OK);
    EXPECT_EQ(settings->GetDeinterlacePolicy(nullptr), S_OK);
}

struct SizeCase {
    LONG width;
    LONG height;
    HRESULT result;
};

class OutputSizes : public Settings, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(OutputSizes, AcceptsEvenPositiveSizesWithin32BitFrames)
{
    const SizeCase c = GetParam();
    EXPECT_EQ(settings->SetOutputSize(c.width, c.height), c.result);
    LONG w = 0, h = 0;
    settings->GetOutputSize(&w, &h, nullptr);
    EXPECT_EQ(w, c.result == S_OK ? c.width : 320);
    EXPECT_EQ(h, c.result == S_OK ? c.height : 240);
}

INSTANTIATE_TEST_SUITE_P(Sizes, OutputSizes,
                         ::testing::Values(SizeCase{320, 241, S_OK}, SizeCase{2, 1, S_OK},
                                           SizeCase{640, 480, S_OK}, SizeCase{32768, 32767, S_OK},
                                           SizeCase{321, 240, S_FALSE}, SizeCase{-3, 240, S_FALSE},
                                           SizeCase{-2, 240, S_FALSE}, SizeCase{0, 0, S_FALSE},
                                           SizeCase{0, 240, S_FALSE}, SizeCase{320, 0, S_FALSE},
                                           SizeCase{320, -240, S_FALSE}, SizeCase{32768, 32768, S_FALSE},
                                           SizeCase{2147483646, 2, S_FALSE}));

class SettingsInGraph : public FilterTest {};

TEST_F(SettingsInGraph, OutputSizeIsFixedWhileConnectedAndTakesEffectAtTheNextConnection)
{
    ResizeGraph g(VideoType(720, 480), 2);
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(g.ConnectInput(), S_OK);
    BOOL canChange = FALSE;
    settings->GetOutputSize(nullptr, nullptr, &canChange);
    EXPECT_EQ(canChange, TRUE);  // only the input is connected
    ASSERT_EQ(g.ConnectOutput(), S_OK);
    EXPECT_EQ(settings->SetOutputSize(640, 480), S_FALSE);
    LONG w = 0;
    settings->GetOutputSize(&w, nullptr, &canChange);
    EXPECT_EQ(canChange, FALSE);
    EXPECT_EQ(w, 320);
    // Other settings stay open while connected (and are set back).
    EXPECT_EQ(settings->SetResizeMode(RESIZE_MODE_KEEP_ASPECT), S_OK);
    EXPECT_EQ(settings->SetOutputAspectRatio(4, 3), S_OK);
    ASSERT_EQ(settings->SetResizeMode(RESIZE_MODE_FIT), S_OK);

    // A new output size takes effect at the next output connection.
    g.RunToEnd();
    ASSERT_EQ(g.graph->Stop(), S_OK);
    auto got = g.Take();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].bytes.size(), 153600u);

    ASSERT_EQ(g.DisconnectOutput(), S_OK);
    settings->GetOutputSize(nullptr, nullptr, &canChange);
    EXPECT_EQ(canChange, TRUE);
    ASSERT_EQ(settings->SetOutputSize(640, 360), S_OK);
    ASSERT_EQ(g.ConnectOutput(), S_OK);
    EXPECT_EQ(Header(g.OutputType()).biWidth, 640);
    EXPECT_EQ(Header(g.OutputType()).biHeight, 360);
    EXPECT_EQ(Header(g.OutputType()).biSizeImage, 640u * 360u * 2u);
    g.RunToEnd();
    got = g.Take();
    ASSERT_EQ(got.size(), 2u);
    for (ULONG i = 0; i < 2; ++i) {
        ASSERT_EQ(got[i].bytes.size(), 640u * 360u * 2u);
        ExpectPicture(got[i].bytes, 640, 360, ResizeGraph::FrameLuma(i), 640, 360);
    }
    // The new size prepared the streaming slot again.
    EXPECT_EQ(g.filter->StreamPreparations(), 2u);
}

}  // namespace
}  // namespace rftest
