// DirectShow records keep Windows' layout, identifiers their published
// values, and media type copies own what they hold.
#include "platform/dshow/dshow_guids.h"
#include "platform/dshow/media_type_memory.h"
#include "platform/dshow/media_types.h"
#include "platform/com/task_memory.h"
#include "tests/platform/com/counted_unknown.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

TEST(Records, VideoHeadersHaveWindowsLayout)
{
    EXPECT_EQ(offsetof(VIDEOINFOHEADER, AvgTimePerFrame), 40u);
    EXPECT_EQ(offsetof(VIDEOINFOHEADER, bmiHeader), 48u);
    EXPECT_EQ(offsetof(VIDEOINFOHEADER2, dwInterlaceFlags), 48u);
    EXPECT_EQ(offsetof(VIDEOINFOHEADER2, dwPictAspectRatioX), 56u);
    EXPECT_EQ(offsetof(VIDEOINFOHEADER2, dwPictAspectRatioY), 60u);
    EXPECT_EQ(offsetof(VIDEOINFOHEADER2, bmiHeader), 72u);
    EXPECT_EQ(sizeof(ALLOCATOR_PROPERTIES), 16u);
    EXPECT_EQ(sizeof(REFERENCE_TIME), 8u);
    EXPECT_EQ(AMINTERLACE_IsInterlaced, 1u);
}

std::string Text(const GUID& g)
{
    char text[39];
    GuidToText(g, text, sizeof text);
    return text;
}

TEST(Records, PublishedIdentifiers)
{
    EXPECT_EQ(Text(MEDIATYPE_Video), "{73646976-0000-0010-8000-00AA00389B71}");
    EXPECT_EQ(Text(MEDIASUBTYPE_YUY2), "{32595559-0000-0010-8000-00AA00389B71}");
    EXPECT_EQ(Text(FORMAT_VideoInfo), "{05589F80-C356-11CE-BF01-00AA0055595A}");
    EXPECT_EQ(Text(FORMAT_VideoInfo2), "{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");
    EXPECT_EQ(Text(IID_IBaseFilter), "{56A86895-0AD4-11CE-B03A-0020AF0BA770}");
    EXPECT_EQ(Text(IID_IPin), "{56A86891-0AD4-11CE-B03A-0020AF0BA770}");
    EXPECT_EQ(Text(IID_IMemInputPin), "{56A8689D-0AD4-11CE-B03A-0020AF0BA770}");
    EXPECT_EQ(Text(IID_IMemAllocator), "{56A8689C-0AD4-11CE-B03A-0020AF0BA770}");
    EXPECT_EQ(Text(IID_IMediaSample), "{56A8689A-0AD4-11CE-B03A-0020AF0BA770}");
    EXPECT_EQ(Text(IID_IEnumMediaTypes), "{89C31040-846B-11CE-97D3-00AA0055595A}");
    EXPECT_EQ(Text(IID_ISpecifyPropertyPages), "{B196B28B-BAB4-101A-B69C-00AA00341D07}");
    EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_NULL, GUID_NULL));
}

TEST(MediaTypeMemory, CopyIsDeepAndHoldsTheUnknown)
{
    VIDEOINFOHEADER vih{};
    vih.bmiHeader.biWidth = 720;
    int deaths = 0;
    auto* unk = new CountedUnknown(&deaths);
    AM_MEDIA_TYPE src{};
    src.majortype = MEDIATYPE_Video;
    src.subtype = MEDIASUBTYPE_YUY2;
    src.formattype = FORMAT_VideoInfo;
    src.cbFormat = sizeof vih;
    src.pbFormat = reinterpret_cast<BYTE*>(&vih);
    src.pUnk = unk;

    AM_MEDIA_TYPE copy;
    ASSERT_EQ(CopyMediaType(&copy, &src), S_OK);
    EXPECT_TRUE(IsEqualGUID(copy.subtype, MEDIASUBTYPE_YUY2));
    EXPECT_NE(copy.pbFormat, src.pbFormat);
    EXPECT_EQ(std::memcmp(copy.pbFormat, src.pbFormat, sizeof vih), 0);
    EXPECT_EQ(unk->refs, 2u);
    FreeMediaType(copy);
    EXPECT_EQ(copy.pbFormat, nullptr);
    EXPECT_EQ(copy.cbFormat, 0u);
    EXPECT_EQ(unk->refs, 1u);

    AM_MEDIA_TYPE* created = CreateMediaType(&src);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(created->pbFormat)->bmiHeader.biWidth, 720);
    DeleteMediaType(created);
    EXPECT_EQ(unk->refs, 1u);
    DeleteMediaType(nullptr);
    unk->Release();
    EXPECT_EQ(deaths, 1);
}

TEST(MediaTypeMemory, RefusesMalformedSourcesAndNulls)
{
    AM_MEDIA_TYPE src{};
    src.cbFormat = 88;  // a length with no block behind it
    AM_MEDIA_TYPE copy;
    EXPECT_EQ(CopyMediaType(&copy, &src), E_INVALIDARG);
    EXPECT_EQ(copy.pbFormat, nullptr);
    EXPECT_EQ(copy.cbFormat, 0u);
    EXPECT_EQ(CreateMediaType(&src), nullptr);
    EXPECT_EQ(CopyMediaType(nullptr, &src), E_POINTER);
    EXPECT_EQ(CopyMediaType(&copy, nullptr), E_POINTER);
    EXPECT_EQ(CreateMediaType(nullptr), nullptr);
}

}  // namespace
