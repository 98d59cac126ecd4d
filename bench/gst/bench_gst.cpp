// The tulrezzo element against GStreamer's own videoscale (bilinear) on the
// same work: 600 frames of 720x480 YUY2 from videotestsrc resized to
// 640x360 into a fakesink that does not wait for the clock. Both run in
// the same process, in turns, several times; the median frames per second
// of each is printed, with the source alone as the floor both stand on.
#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 600;

// Frames per second of one run to end of stream, or a negative number when
// the pipeline fails.
double RunOnce(const std::string& description)
{
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (pipeline == nullptr || error != nullptr) {
        std::fprintf(stderr, "bench_gst: %s\n", error != nullptr ? error->message : "cannot build the pipeline");
        if (error != nullptr)
            g_error_free(error);
        if (pipeline != nullptr)
            gst_object_unref(pipeline);
        return -1;
    }
    const auto start = std::chrono::steady_clock::now();
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* m = gst_bus_timed_pop_filtered(bus, GST_CLOCK_TIME_NONE,
                                               static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const auto stop = std::chrono::steady_clock::now();
    const bool ok = m != nullptr && GST_MESSAGE_TYPE(m) == GST_MESSAGE_EOS;
    if (!ok && m != nullptr) {
        GError* e = nullptr;
        gst_message_parse_error(m, &e, nullptr);
        std::fprintf(stderr, "bench_gst: %s\n", e->message);
        g_error_free(e);
    }
    if (m != nullptr)
        gst_message_unref(m);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    const double seconds = std::chrono::duration<double>(stop - start).count();
    return ok && seconds > 0 ? kFrames / seconds : -1;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    gst_init(&argc, &argv);
    if (GstPlugin* plugin = gst_plugin_load_file(TUL_GST_PLUGIN, nullptr))
        gst_object_unref(plugin);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::string source = "videotestsrc num-buffers=" + std::to_string(kFrames) +
                               " ! video/x-raw,format=YUY2,width=720,height=480,framerate=30/1 ! ";
    const struct {
        const char* name;
        std::string pipeline;
    } cases[] = {
        {"source alone", source + "fakesink sync=false"},
        {"tulrezzo", source + "tulrezzo width=640 height=360 ! fakesink sync=false"},
        {"videoscale bilinear",
         source + "videoscale method=bilinear ! video/x-raw,width=640,height=360 ! fakesink sync=false"},
    };
    std::vector<std::vector<double>> fps(std::size(cases));
    for (int r = 0; r < repeats; ++r)
        for (std::size_t c = 0; c < std::size(cases); ++c)
            fps[c].push_back(RunOnce(cases[c].pipeline));
    std::printf("%d frames 720x480 YUY2 -> 640x360, median of %d runs\n", kFrames, repeats);
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        if (*std::min_element(fps[c].begin(), fps[c].end()) < 0) {
            std::printf("%-22s failed\n", cases[c].name);
            continue;
        }
        std::printf("%-22s %8.1f frames/s\n", cases[c].name, Median(fps[c]));
    }
    return 0;
}
