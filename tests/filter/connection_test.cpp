// Negotiation of the resize filter: which input types it takes, the
// output type it offers, buffer sizing against downstream requests, the
// source shape read at connection, and its COM faces.
#include "resize_graph.h"

#include "filter/page_list.h"
#include "platform/com/task_memory.h"

namespace rftest {
namespace {

class ResizeConnection : public FilterTest {};

TEST_F(ResizeConnection, AcceptsOnly16BitYuy2WithAWholeVideoInfoBlock)
{
    auto filter = MakeFilter();
    CMediaType vih = VideoType(720, 480);
    CMediaType vih2 = VideoType(720, 480, Block::VideoInfo2, 4, 3);
    CMediaType noFormat = vih;
    noFormat.SetFormatType(&FORMAT_None);
    CMediaType notYuy2 = vih;
    notYuy2.SetSubtype(&MEDIATYPE_Video);
    const std::pair<CMediaType, HRESULT> cases[] = {
        {vih, S_OK},
        {vih2, S_OK},
        {VideoType(720, 480, Block::VideoInfo, 0, 0, 0, 24), E_FAIL},
        {VideoType(720, 480, Block::VideoInfo2, 0, 0, 0, 24), E_FAIL},
        {noFormat, E_INVALIDARG},
        {notYuy2, E_FAIL},
    };
    for (const auto& [type, expected] : cases) {
        EXPECT_EQ(filter->CheckInputType(&type), expected);
        EXPECT_EQ(filter->CheckTransform(&type, &vih), SUCCEEDED(expected) ? S_OK : E_FAIL);
    }
    EXPECT_EQ(filter->CheckTransform(&vih, &vih2), S_OK);
    // A block shorter than its header, or none, is refused and never read
    // (AddressSanitizer watches the short block's end).
    for (Block block : {Block::VideoInfo, Block::VideoInfo2}) {
        CMediaType full = VideoType(720, 480, block);
        const ULONG header = full.FormatLength();
        for (ULONG length : {0u, 1u, header - 40u, header - 1u}) {
            CMediaType shortType = full;
            shortType.ReallocFormatBuffer(length);
            if (length == 0)
                shortType.ResetFormatBuffer();
            EXPECT_EQ(filter->CheckInputType(&shortType), E_FAIL) << "block of " << length << " bytes";
            EXPECT_EQ(filter->CheckTransform(&shortType, &full), E_FAIL);
        }
    }
}

TEST_F(ResizeConnection, OffersTheOutputSizeOnceTheInputIsConnected)
{
    ResizeGraph g(VideoType(720, 480), 0);
    CMediaType offered;
    EXPECT_EQ(g.filter->GetMediaType(0, &offered), E_UNEXPECTED);
    ALLOCATOR_PROPERTIES props{};
    EXPECT_EQ(g.filter->DecideBufferSize(nullptr, &props), E_UNEXPECTED);
    ASSERT_EQ(g.ConnectInput(), S_OK);
    EXPECT_EQ(g.filter->GetMediaType(-1, &offered), E_INVALIDARG);
    EXPECT_EQ(g.filter->GetMediaType(1, &offered), VFW_S_NO_MORE_ITEMS);
    ASSERT_EQ(g.filter->GetMediaType(0, &offered), S_OK);
    EXPECT_EQ(Header(offered).biWidth, 320);
    EXPECT_EQ(Header(offered).biHeight, 240);
    EXPECT_EQ(Header(offered).biSizeImage, 153600u);
    // Everything else is the input's.
    EXPECT_EQ(VideoInfoOf(offered)->AvgTimePerFrame, 400000);
    EXPECT_EQ(offered.lSampleSize, 720u * 480u * 2u);

    // The buffers granted for it: see BufferSizing.
    ASSERT_EQ(g.ConnectOutput(), S_OK);
    EXPECT_EQ(Header(g.OutputType()).biSizeImage, 153600u);
}

TEST_F(ResizeConnection, OfferedVideoInfo2CarriesTheOutputAspectAndTheInputInterlacing)
{
    ResizeGraph g(VideoType(720, 480, Block::VideoInfo2, 4, 3, AMINTERLACE_IsInterlaced | AMINTERLACE_Field1First),
                  0);
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(settings->SetOutputAspectRatio(16, 9), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    const VIDEOINFOHEADER2* vih2 = VideoInfo2Of(g.OutputType());
    ASSERT_NE(vih2, nullptr);
    EXPECT_EQ(vih2->dwPictAspectRatioX, 16u);
    EXPECT_EQ(vih2->dwPictAspectRatioY, 9u);
    EXPECT_EQ(vih2->dwInterlaceFlags, AMINTERLACE_IsInterlaced | AMINTERLACE_Field1First);
    EXPECT_EQ(vih2->bmiHeader.biWidth, 320);
    EXPECT_EQ(vih2->bmiHeader.biSizeImage, 153600u);
}

struct BufferCase {
    ALLOCATOR_PROPERTIES request;
    ALLOCATOR_PROPERTIES expected;
};

class BufferSizing : public ResizeConnection, public ::testing::WithParamInterface<BufferCase> {};

TEST_P(BufferSizing, MeetsDownstreamRequestsWithAtLeastTwoFrames)
{
    const BufferCase c = GetParam();
    ResizeGraph g(VideoType(720, 480), 0);
    g.sink->SetAllocatorRequirements(c.request);
    ASSERT_EQ(g.Connect(), S_OK);
    ALLOCATOR_PROPERTIES granted{};
    ASSERT_EQ(static_cast<CBaseOutputPin*>(g.filter->GetPin(1))->Allocator()->GetProperties(&granted), S_OK);
    EXPECT_EQ(granted.cBuffers, c.expected.cBuffers);
    EXPECT_EQ(granted.cbBuffer, c.expected.cbBuffer);
    EXPECT_EQ(granted.cbAlign, c.expected.cbAlign);
    EXPECT_EQ(granted.cbPrefix, c.expected.cbPrefix);
}

INSTANTIATE_TEST_SUITE_P(Requests, BufferSizing,
                         ::testing::Values(BufferCase{{3, 100, 16, 0}, {3, 153600, 16, 0}},
                                           BufferCase{{1, 200000, 1, 0}, {2, 200000, 1, 0}},
                                           BufferCase{{0, 0, 4, 0}, {2, 153600, 4, 0}},
                                           BufferCase{{5, 153600, 32, 0}, {5, 153600, 32, 0}}));

// An allocator that grants less than asked.
class StingyAllocator final : public IMemAllocator {
public:
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override
    {
        asked = *request;
        if (failure != S_OK)
            return failure;
        *actual = *request;
        actual->cbBuffer -= shortBy;
        return S_OK;
    }
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit() override { return S_OK; }
    STDMETHODIMP Decommit() override { return S_OK; }
    STDMETHODIMP GetBuffer(IMediaSample**, REFERENCE_TIME*, REFERENCE_TIME*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP ReleaseBuffer(IMediaSample*) override { return S_OK; }

    ALLOCATOR_PROPERTIES asked{};
    HRESULT failure = S_OK;
    LONG shortBy = 0;
};

TEST_F(ResizeConnection, BufferSizingReportsAllocatorShortfallsAndFailures)
{
    ResizeGraph g(VideoType(720, 480), 0);
    ASSERT_EQ(g.ConnectInput(), S_OK);
    StingyAllocator alloc;
    ALLOCATOR_PROPERTIES props{};
    EXPECT_EQ(g.filter->DecideBufferSize(&alloc, &props), S_OK);
    EXPECT_EQ(alloc.asked.cBuffers, 2);
    EXPECT_EQ(alloc.asked.cbBuffer, 153600);
    alloc.shortBy = 1;
    props = {};
    EXPECT_EQ(g.filter->DecideBufferSize(&alloc, &props), E_FAIL);
    alloc.failure = VFW_E_BADALIGN;
    EXPECT_EQ(g.filter->DecideBufferSize(&alloc, &props), VFW_E_BADALIGN);
    EXPECT_EQ(g.filter->DecideBufferSize(&alloc, nullptr), E_POINTER);
}

// Exercised through the snapshot, which fits by the source aspect (16:9
// and VIDEOINFOHEADER sources are covered by the snapshot and geometry
// tests): a zero aspect term stands for the pixel shape, so 720 x 480 kept
// in a 640 x 480 still is 426 lines high.
TEST_F(ResizeConnection, InputConnectionReadsTheSourceShape)
{
    ResizeGraph g(VideoType(720, 480, Block::VideoInfo2, 0, 9), 1);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto still = Still(*g.filter.Get(), 640, 480, SNAPSHOT_FORMAT_YUY2, RESIZE_MODE_KEEP_ASPECT);
    ExpectPicture(still, 640, 480, ResizeGraph::FrameLuma(0), 640, 426);
}

TEST_F(ResizeConnection, AnswersItsInterfacesAndNamesItsPage)
{
    auto filter = MakeFilter();
    EXPECT_EQ(filter->NonDelegatingQueryInterface(IID_IResizeSettings, nullptr), E_POINTER);
    ComPtr<IResizeSettings> settings;
    ComPtr<IResizeSnapshot> snapshot;
    ComPtr<ISpecifyPropertyPages> pages;
    ComPtr<IBaseFilter> base;
    EXPECT_EQ(filter.As(IID_IResizeSettings, &settings), S_OK);
    EXPECT_EQ(filter.As(IID_IResizeSnapshot, &snapshot), S_OK);
    EXPECT_EQ(filter.As(IID_ISpecifyPropertyPages, &pages), S_OK);
    EXPECT_EQ(filter.As(IID_IBaseFilter, &base), S_OK);
    ComPtr<IResizeSettings> back;
    EXPECT_EQ(snapshot.As(IID_IResizeSettings, &back), S_OK);
    EXPECT_EQ(back.Get(), settings.Get());

    CLSID clsid{};
    EXPECT_EQ(filter->GetClassID(&clsid), S_OK);
    EXPECT_TRUE(clsid == CLSID_ResizeFilter);

    CAUUID list{};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 1u);
    EXPECT_TRUE(list.pElems[0] == CLSID_ResizePropertyPage);
    CoTaskMemFree(list.pElems);
    EXPECT_EQ(pages->GetPages(nullptr), E_POINTER);
    // Without memory for it the list is empty.
    list = CAUUID{7, reinterpret_cast<GUID*>(&list)};
    EXPECT_EQ(tulfilter::FillPageList(&list, CLSID_ResizePropertyPage, [](std::size_t) noexcept -> void* {
                  return nullptr;
              }),
              E_OUTOFMEMORY);
    EXPECT_EQ(list.cElems, 0u);
    EXPECT_EQ(list.pElems, nullptr);
}

}  // namespace
}  // namespace rftest
