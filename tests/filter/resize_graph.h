// Helpers for the resize filter's tests: flat and striped frames, a
// stand-alone media sample with an exact-size buffer, and the graph push
// source -> resize filter -> sample sink.
#pragma once

#include "filter/resize_filter.h"
#include "platform/dshow/dshow_guids.h"
#include "tests/support/graph_harness.h"

#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace rftest {

using namespace filtertest;

inline const BITMAPINFOHEADER& Header(const CMediaType& mt)
{
    const BITMAPINFOHEADER* bih = BitmapHeaderOf(mt);
    EXPECT_NE(bih, nullptr);
    static const BITMAPINFOHEADER none{};
    return bih != nullptr ? *bih : none;
}

// Every pixel Y = y, U = u, V = v.
inline void FillFlat(BYTE* frame, std::size_t bytes, BYTE y, BYTE u = 128, BYTE v = 128)
{
    for (std::size_t i = 0; i + 3 < bytes; i += 4) {
        frame[i] = y;
        frame[i + 1] = u;
        frame[i + 2] = y;
        frame[i + 3] = v;
    }
}

// Line r of a width-pixel frame is flat with luma lineLuma(r).
inline void FillLines(BYTE* frame, LONG width, LONG height, const std::function<BYTE(LONG)>& lineLuma)
{
    const std::size_t line = static_cast<std::size_t>(width) * 2;
    for (LONG r = 0; r < height; ++r)
        FillFlat(frame + line * r, line, lineLuma(r));
}

inline bool IsBlackPair(const BYTE* p) { return p[0] == 0 && p[1] == 0x7F && p[2] == 0 && p[3] == 0x7F; }

inline bool AllBlack(const std::vector<BYTE>& frame)
{
    for (std::size_t i = 0; i + 3 < frame.size(); i += 4)
        if (!IsBlackPair(&frame[i]))
            return false;
    return true;
}

// Where a flat picture of luma y lies in a width x height YUY2 frame:
// the bounding box of the pixels with luma y. The resizer paints black
// (luma 0, chroma 127) and may lose the outermost column or line of the
// picture, and the chroma of the pairs at its rim, to its centred
// sampling; anything else counts as stray: a luma that is neither 0 nor
// y, a chroma that is neither 127 nor 128, or a black hole in the box.
struct PictureArea {
    LONG left = 0, top = 0, right = 0, bottom = 0;  // right, bottom exclusive
    LONG strayPixels = 0;
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
};

inline PictureArea FindPicture(const std::vector<BYTE>& frame, LONG width, LONG height, BYTE y)
{
    PictureArea area;
    area.left = width;
    area.top = height;
    LONG pictureCount = 0;
    for (LONG r = 0; r < height; ++r) {
        for (LONG x = 0; x < width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(r) * width + x) * 2;
            const BYTE luma = frame[at];
            const BYTE chroma = frame[at + 1];
            if ((luma != 0 && luma != y) || (chroma != 127 && chroma != 128)) {
                ++area.strayPixels;
                continue;
            }
            if (luma != y || luma == 0)
                continue;
            ++pictureCount;
            area.left = std::min(area.left, x);
            area.right = std::max(area.right, x + 1);
            area.top = std::min(area.top, r);
            area.bottom = std::max(area.bottom, r + 1);
        }
    }
    if (pictureCount == 0)
        return PictureArea{0, 0, 0, 0, area.strayPixels};
    area.strayPixels += area.Width() * area.Height() - pictureCount;
    return area;
}

// The picture of luma y fills width x height of the frame (within the
// rim the resizer may lose), centred.
inline void ExpectPicture(const std::vector<BYTE>& frame, LONG frameWidth, LONG frameHeight, BYTE y,
                          LONG width, LONG height, const std::string& what = "")
{
    const PictureArea area = FindPicture(frame, frameWidth, frameHeight, y);
    EXPECT_EQ(area.strayPixels, 0) << what;
    EXPECT_NEAR(area.Width(), width, 2) << what;
    EXPECT_NEAR(area.Height(), height, 2) << what;
    EXPECT_NEAR(area.left, (frameWidth - width) / 2, 2) << what;
    EXPECT_NEAR(area.top, (frameHeight - height) / 2, 2) << what;
}

// A new filter held by the caller.
inline ComPtr<CResizeFilter> MakeFilter()
{
    HRESULT hr = S_OK;
    CUnknown* object = CResizeFilter::CreateInstance(nullptr, &hr);
    EXPECT_NE(object, nullptr);
    auto* filter = static_cast<CResizeFilter*>(object);
    filter->AddRef();
    return ComPtr<CResizeFilter>::Attach(filter);
}

// A still of the filter's kept frame in an exact-size buffer (so a write
// past it trips AddressSanitizer): YUY2, or bottom-up BGR for format 0.
inline std::vector<BYTE> Still(CResizeFilter& filter, LONG width, LONG height, LONG format, LONG mode)
{
    std::vector<BYTE> still(static_cast<std::size_t>(width) * height * (format == SNAPSHOT_FORMAT_YUY2 ? 2 : 3), 0xEE);
    ULONG written = 0;
    EXPECT_EQ(filter.GetCurrentFrame(still.data(), &written, width, height, format, mode), S_OK);
    EXPECT_EQ(written, still.size());
    return still;
}

// Called for every frame the source pushes, after it has been filled
// with flat luma FrameLuma(index); may change it further or end the
// stream (return S_FALSE).
using FrameHook = std::function<HRESULT(PushFrame&)>;

// A hook that makes frame `index` carry a format change to `type`.
inline FrameHook CarryTypeAt(ULONG index, const CMediaType& type)
{
    return [index, type](PushFrame& f) {
        if (f.index == index) {
            f.hasMediaType = true;
            f.mediaType = type;
        }
        return S_OK;
    };
}

// source -> resize filter -> sink. The source pushes `frames` frames
// (negative: until stopped) of flat luma FrameLuma(index).
class ResizeGraph : public TestGraph<CResizeFilter> {
public:
    ResizeGraph(const CMediaType& type, int frames, FrameHook hook = nullptr)
        : TestGraph(type, frames, MakeFilter(), kResizeFilterName, [hook](PushFrame& f) -> HRESULT {
              FillFlat(f.pData, static_cast<std::size_t>(f.lActual), FrameLuma(f.index));
              return hook ? hook(f) : S_OK;
          })
    {
    }

    static BYTE FrameLuma(ULONG index) { return static_cast<BYTE>((16 + index) % 220 + 16); }

    HRESULT DisconnectOutput()
    {
        HRESULT hr = graph->Disconnect(filter->GetPin(1));
        return FAILED(hr) ? hr : graph->Disconnect(sink->GetPin(0));
    }
    // The type the filter's output is connected with.
    const CMediaType& OutputType() { return filter->GetPin(1)->CurrentMediaType(); }
};

using FilterTest = LeakCheckedTest;

}  // namespace rftest
