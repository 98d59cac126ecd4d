// Stills from the filter in GStreamer's layout.
#include "gst/snapshot_sample.h"
#include "gst/hresult_text.h"

#include <gst/video/video.h>

#include <cstring>
#include <memory>
#include <new>

namespace tulgst {
namespace {

}  // namespace

GstSample* TakeSnapshot(IResizeSnapshot* snapshot, gint width, gint height, const gchar* format, LONG mode,
                        std::string* why)
{
    const bool yuy2 = format != nullptr && std::strcmp(format, "yuy2") == 0;
    if (!yuy2 && (format == nullptr || std::strcmp(format, "bgr24") != 0)) {
        *why = std::string("unknown snapshot format \"") + (format != nullptr ? format : "(null)") +
               "\" (yuy2 or bgr24)";
        return nullptr;
    }
    // The filter's byte count is a ULONG; GStreamer's layout may pad rows.
    const guint64 bytes = static_cast<guint64>(width > 0 ? width : 0) * static_cast<guint64>(height > 0 ? height : 0) *
                          (yuy2 ? 2u : 3u);
    if (width <= 0 || height <= 0 || bytes > G_MAXINT32) {
        *why = "cannot take a " + std::to_string(width) + "x" + std::to_string(height) + " snapshot";
        return nullptr;
    }
    std::unique_ptr<BYTE[]> still(new (std::nothrow) BYTE[bytes]);
    if (!still) {
        *why = "out of memory";
        return nullptr;
    }
    ULONG written = 0;
    const HRESULT hr = snapshot->GetCurrentFrame(still.get(), &written, width, height,
                                                 yuy2 ? SNAPSHOT_FORMAT_YUY2 : 0, mode);
    if (FAILED(hr)) {
        *why = "the filter refuses a " + std::to_string(width) + "x" + std::to_string(height) + " snapshot (" +
               HresultText(hr) + ")";
        return nullptr;
    }
    if (written == 0) {
        *why = "no frame has arrived yet";
        return nullptr;
    }
    if (written != bytes) {
        *why = "the filter wrote " + std::to_string(written) + " bytes, not " + std::to_string(bytes);
        return nullptr;
    }

    GstVideoInfo info;
    if (!gst_video_info_set_format(&info, yuy2 ? GST_VIDEO_FORMAT_YUY2 : GST_VIDEO_FORMAT_BGR,
                                   static_cast<guint>(width), static_cast<guint>(height))) {
        *why = "GStreamer cannot describe the picture";
        return nullptr;
    }
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
    GstMapInfo map;
    if (buffer == nullptr || !gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        if (buffer != nullptr)
            gst_buffer_unref(buffer);
        *why = "out of memory";
        return nullptr;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * (yuy2 ? 2u : 3u);
    const std::size_t stride = static_cast<std::size_t>(GST_VIDEO_INFO_PLANE_STRIDE(&info, 0));
    std::memset(map.data, 0, map.size);
    for (gint r = 0; r < height; ++r) {
        // BGR rows arrive bottom line first: the filter's last row is the top.
        const gint from = yuy2 ? r : height - 1 - r;
        std::memcpy(map.data + stride * static_cast<std::size_t>(r), still.get() + rowBytes * static_cast<std::size_t>(from),
                    rowBytes);
    }
    gst_buffer_unmap(buffer, &map);
    GstCaps* caps = gst_video_info_to_caps(&info);
    GstSample* sample = gst_sample_new(buffer, caps, nullptr, nullptr);
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    return sample;
}

}  // namespace tulgst
