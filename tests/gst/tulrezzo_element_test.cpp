// The tulrezzo element in real pipelines: its frames against those our own
// graph gives for the same input, negotiation of scan and size, the
// filter's refusals of settings, the snapshot action, and state changes.
#include <gtest/gtest.h>

#ifdef TUL_GST_PLUGIN
#include "tests/filter/resize_graph.h"

#include <gst/gst.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// LeakSanitizer: GLib's library constructors keep allocations for the life
// of the process; only those are suppressed, and only full stacks show the
// constructor frame. Never name this project's code here.
extern "C" const char* __lsan_default_suppressions() { return "leak:_dl_init\n"; }
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

class TulRezzoElement : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A registry file of this build, scanned in this process so that
        // sanitizer runs never fork the scanner, and no COM registry, so the
        // element takes this tree's module.
        setenv("GST_REGISTRY", TUL_GST_TEST_REGISTRY, 1);
        setenv("GST_REGISTRY_FORK", "no", 1);
        setenv("TUL_REGISTRY", TUL_GST_TEST_REGISTRY ".no-such-com-registry", 1);
        gst_init(nullptr, nullptr);
        GstPlugin* plugin = gst_plugin_load_file(TUL_GST_PLUGIN, nullptr);
        ASSERT_NE(plugin, nullptr) << TUL_GST_PLUGIN;
        gst_object_unref(plugin);
    }
    void TearDown() override
    {
        if (pipeline != nullptr) {
            gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
        }
    }
    GstElement* Launch(const std::string& description)
    {
        GError* error = nullptr;
        pipeline = gst_parse_launch(description.c_str(), &error);
        EXPECT_EQ(error, nullptr) << (error != nullptr ? error->message : "");
        if (error != nullptr)
            g_error_free(error);
        return pipeline;
    }
    GstElement* Child(const char* name) { return gst_bin_get_by_name(GST_BIN(pipeline), name); }
    // Every buffer an appsink called `name` receives up to end of stream,
    // and the caps of the last.
    std::vector<Bytes> Pull(const char* name, GstCaps** lastCaps = nullptr, std::vector<std::pair<GstClockTime, GstClockTime>>* times = nullptr)
    {
        GstElement* sink = Child(name);
        std::vector<Bytes> frames;
        for (;;) {
            GstSample* sample = nullptr;
            g_signal_emit_by_name(sink, "pull-sample", &sample);
            if (sample == nullptr)
                break;
            GstMapInfo map;
            GstBuffer* buffer = gst_sample_get_buffer(sample);
            EXPECT_TRUE(gst_buffer_map(buffer, &map, GST_MAP_READ));
            frames.emplace_back(map.data, map.data + map.size);
            if (times != nullptr)
                times->emplace_back(GST_BUFFER_PTS(buffer), GST_BUFFER_DURATION(buffer));
            gst_buffer_unmap(buffer, &map);
            if (lastCaps != nullptr)
                gst_caps_replace(lastCaps, gst_sample_get_caps(sample));
            gst_sample_unref(sample);
        }
        gst_object_unref(sink);
        return frames;
    }
    // The first error message on the bus, or "".
    std::string ErrorText()
    {
        GstBus* bus = gst_element_get_bus(pipeline);
        GstMessage* m = gst_bus_timed_pop_filtered(bus, 5 * GST_SECOND, GST_MESSAGE_ERROR);
        std::string text;
        if (m != nullptr) {
            GError* e = nullptr;
            gst_message_parse_error(m, &e, nullptr);
            text = e->message;
            g_error_free(e);
            gst_message_unref(m);
        }
        gst_object_unref(bus);
        return text;
    }
    GstElement* pipeline = nullptr;
};

struct ResizeCase {
    const char* name;
    const char* mode;
    LONG mf;  // the filter's resize mode
    int inW, inH, outW, outH;
    int barRows;  // black rows expected at the top
};

void PrintTo(const ResizeCase& c, std::ostream* os) { *os << c.name; }

class TulRezzoFrames : public TulRezzoElement, public ::testing::WithParamInterface<ResizeCase> {};

// The element's frames and stills are byte for byte those of the filter in
// our own graph, fed the frames videotestsrc gave the element.
TEST_P(TulRezzoFrames, EqualOurGraphAndSnapshots)
{
    const ResizeCase& c = GetParam();
    const std::string caps = "video/x-raw,format=YUY2,width=" + std::to_string(c.inW) + ",height=" +
                             std::to_string(c.inH) + ",framerate=30/1,pixel-aspect-ratio=1/1";
    ASSERT_NE(Launch("videotestsrc num-buffers=4 pattern=smpte ! " + caps +
                     " ! tee name=t t. ! queue ! appsink name=in sync=false t. ! queue ! tulrezzo name=r width=" +
                     std::to_string(c.outW) + " height=" + std::to_string(c.outH) + " mode=" + c.mode +
                     " ! appsink name=out sync=false"),
              nullptr);
    ASSERT_NE(gst_element_set_state(pipeline, GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    // Times come out as they went in, to the nanosecond (at 30 frames a
    // second they are no whole number of the filter's 100 ns units).
    std::vector<std::pair<GstClockTime, GstClockTime>> inTimes, outTimes;
    const std::vector<Bytes> in = Pull("in", nullptr, &inTimes);
    const std::vector<Bytes> out = Pull("out", nullptr, &outTimes);
    EXPECT_EQ(inTimes, outTimes);
    ASSERT_EQ(in.size(), 4u);
    ASSERT_EQ(out.size(), 4u);

    filtertest::TestGraph<CResizeFilter> reference(
        filtertest::VideoType(c.inW, c.inH, filtertest::Block::VideoInfo2, 1, 1, 0), 4, rftest::MakeFilter(),
        kResizeFilterName, [&in](PushFrame& f) {
            std::copy(in[f.index].begin(), in[f.index].end(), f.pData);
            return S_OK;
        });
    ASSERT_EQ(reference.filter->SetOutputSize(c.outW, c.outH), S_OK);
    ASSERT_EQ(reference.filter->SetResizeMode(c.mf), S_OK);
    ASSERT_EQ(reference.Connect(), S_OK);
    reference.RunToEnd();
    const auto expected = reference.Take();
    ASSERT_EQ(expected.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(out[i] == expected[i].bytes) << "frame " << i;
    // Bars within the two lines the resizer may lose at the picture's rim.
    const std::size_t row = static_cast<std::size_t>(c.outW) * 2;
    auto blackRow = [&](int r) { return rftest::AllBlack(Bytes(out[0].begin() + row * r, out[0].begin() + row * (r + 1))); };
    if (c.barRows > 0) {
        EXPECT_TRUE(blackRow(0) && blackRow(c.barRows - 3));
    }
    EXPECT_FALSE(blackRow(c.barRows + 2));

    // Stills of the last frame: YUY2 as the filter gives it, BGR with its
    // rows turned top first (60 * 3 bytes a row needs no padding).
    GstElement* element = Child("r");
    for (const char* format : {"yuy2", "bgr24"}) {
        GstSample* still = nullptr;
        g_signal_emit_by_name(element, "snapshot", 60, 40, format, &still);
        ASSERT_NE(still, nullptr) << format;
        const bool yuy2 = std::string(format) == "yuy2";
        Bytes want = rftest::Still(*reference.filter.Get(), 60, 40, yuy2 ? SNAPSHOT_FORMAT_YUY2 : 0, c.mf);
        if (!yuy2)
            for (int r = 0; r < 20; ++r)
                std::swap_ranges(want.begin() + r * 180, want.begin() + (r + 1) * 180, want.end() - (r + 1) * 180);
        GstMapInfo map;
        gst_buffer_map(gst_sample_get_buffer(still), &map, GST_MAP_READ);
        EXPECT_TRUE(Bytes(map.data, map.data + map.size) == want) << format;
        gst_buffer_unmap(gst_sample_get_buffer(still), &map);
        gst_sample_unref(still);
    }
    GstSample* none = reinterpret_cast<GstSample*>(1);
    g_signal_emit_by_name(element, "snapshot", 60, 40, "png", &none);
    EXPECT_EQ(none, nullptr);
    gst_object_unref(element);
}

INSTANTIATE_TEST_SUITE_P(Modes, TulRezzoFrames,
                         ::testing::Values(ResizeCase{"stretch", "stretch", RESIZE_MODE_FIT, 176, 144, 320, 240, 0},
                                           // 4:3 into a square frame: 40 black rows above and below.
                                           ResizeCase{"bars", "keep-aspect", RESIZE_MODE_KEEP_ASPECT, 320, 240, 320,
                                                      320, 40}),
                         [](const auto& info) { return std::string(info.param.name); });

// Interlaced input whose fields the filter fills comes out progressive;
// with the fills turned off it stays interlaced.
TEST_F(TulRezzoElement, ScanFollowsTheFilter)
{
    for (const char* policy : {"always", "never"}) {
        ASSERT_NE(Launch(std::string("videotestsrc num-buffers=2 ! video/x-raw,format=YUY2,width=64,height=480,"
                                     "interlace-mode=interleaved ! tulrezzo width=64 height=480 deinterlace=double "
                                     "policy=") + policy + " ! appsink name=out sync=false"),
                  nullptr);
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        GstCaps* caps = nullptr;
        ASSERT_EQ(Pull("out", &caps).size(), 2u);
        const gchar* mode = gst_structure_get_string(gst_caps_get_structure(caps, 0), "interlace-mode");
        EXPECT_STREQ(mode, std::string(policy) == "always" ? "progressive" : "interleaved");
        gst_caps_unref(caps);
        TearDown();
        pipeline = nullptr;
    }
}

// Values the filter refuses leave the properties as they were, whether it
// can judge them itself (stopped) or a second filter does (playing); a
// downstream fixed to another size is named in the error.
TEST_F(TulRezzoElement, RefusalsKeepOldValuesAndAreNamed)
{
    ASSERT_NE(Launch("videotestsrc is-live=true ! video/x-raw,format=YUY2,width=64,height=48 ! tulrezzo name=r "
                     "width=96 height=64 ! fakesink"),
              nullptr);
    GstElement* r = Child("r");
    auto size = [r] {
        gint w = 0, h = 0;
        g_object_get(r, "width", &w, "height", &h, nullptr);
        return std::to_string(w) + "x" + std::to_string(h);
    };
    for (GstState state : {GST_STATE_NULL, GST_STATE_PLAYING}) {
        gst_element_set_state(pipeline, state);
        gst_element_get_state(pipeline, nullptr, nullptr, 5 * GST_SECOND);
        g_object_set(r, "width", 97, nullptr);
        g_object_set(r, "height", 0, nullptr);
        g_object_set(r, "output-aspect", 0, 1, nullptr);
        EXPECT_EQ(size(), "96x64");
        gint n = 0, d = 0;
        g_object_get(r, "output-aspect", &n, &d, nullptr);
        EXPECT_EQ(n * 10 + d, 11);
    }
    gst_object_unref(r);
    TearDown();
    // Linked first, then narrowed, so the refusal comes at negotiation.
    ASSERT_NE(Launch("videotestsrc ! video/x-raw,format=YUY2 ! tulrezzo width=96 height=64 ! appsink name=out"),
              nullptr);
    GstElement* out = Child("out");
    GstCaps* narrow = gst_caps_from_string("video/x-raw,width=100");
    g_object_set(out, "caps", narrow, nullptr);
    gst_caps_unref(narrow);
    gst_object_unref(out);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    const std::string error = ErrorText();
    EXPECT_NE(error.find("Downstream does not accept 96x64"), std::string::npos) << error;
}

// Start and stop again and again, and flushing seeks while paused, with a
// size change in between: nothing leaks (LeakSanitizer) or breaks.
TEST_F(TulRezzoElement, StateChangesAndSeeks)
{
    ASSERT_NE(Launch("videotestsrc ! video/x-raw,format=YUY2,width=64,height=48 ! tulrezzo name=r ! fakesink"),
              nullptr);
    for (int round = 0; round < 3; ++round) {
        ASSERT_NE(gst_element_set_state(pipeline, GST_STATE_PAUSED), GST_STATE_CHANGE_FAILURE);
        ASSERT_EQ(gst_element_get_state(pipeline, nullptr, nullptr, 5 * GST_SECOND), GST_STATE_CHANGE_SUCCESS);
        for (gint64 at : {gint64{GST_SECOND}, gint64{0}})
            ASSERT_TRUE(gst_element_seek_simple(pipeline, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, at));
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        gst_element_get_state(pipeline, nullptr, nullptr, 5 * GST_SECOND);
        // A new size while playing reaches the source caps by renegotiation.
        GstElement* r = Child("r");
        const gint wanted = 80 + 16 * round;
        g_object_set(r, "width", wanted, nullptr);
        GstPad* src = gst_element_get_static_pad(r, "src");
        gint width = 0;
        for (int i = 0; i < 300 && width != wanted; ++i) {
            g_usleep(10000);
            if (GstCaps* caps = gst_pad_get_current_caps(src)) {
                gst_structure_get_int(gst_caps_get_structure(caps, 0), "width", &width);
                gst_caps_unref(caps);
            }
        }
        EXPECT_EQ(width, wanted);
        gst_object_unref(src);
        gst_object_unref(r);
        ASSERT_EQ(gst_element_set_state(pipeline, GST_STATE_NULL), GST_STATE_CHANGE_SUCCESS);
    }
}

}  // namespace

#else
TEST(TulRezzoElement, NeedsGStreamer)
{
    GTEST_SKIP() << "the GStreamer development files were not found: the tulrezzo element is not built";
}
#endif
