// Media type copies own what they hold and refuse malformed sources. The
// records' layout and the published identifiers are checked where they
// are defined.
#include "platform/dshow/dshow_guids.h"
#include "platform/dshow/media_type_memory.h"
#include "platform/dshow/media_types.h"
#include "platform/com/task_memory.h"
#include "tests/support/counted_unknown.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

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
