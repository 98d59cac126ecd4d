// CResizePropertyPage on a real filter, shown in a property frame and
// worked through its dialog as a user would.
#include "filter/resize_page_dialog.h"
#include "filter/resize_property_page.h"
#include "platform/dshow/property_frame.h"
#include "platform/win32/dialog.h"
#include "platform/win32/dialog_user.h"
#include "resize_graph.h"

namespace rftest {
namespace {

ComPtr<IPropertyPage> MakePage()
{
    HRESULT hr = S_OK;
    CUnknown* object = CResizePropertyPage::CreateInstance(nullptr, &hr);
    IPropertyPage* page = nullptr;
    object->NonDelegatingAddRef();
    EXPECT_EQ(object->NonDelegatingQueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(&page)), S_OK);
    object->NonDelegatingRelease();
    return ComPtr<IPropertyPage>::Attach(page);
}

class PageTest : public FilterTest {
protected:
    void SetUp() override
    {
        FilterTest::SetUp();
        filter = MakeFilter();
        page = MakePage();
    }
    void TearDown() override
    {
        frame.Close();
        page.Reset();
        filter.Reset();
        FilterTest::TearDown();
    }
    HRESULT Open(CResizeFilter* f) { return frame.Open(page.Get(), static_cast<IResizeSettings*>(f)); }
    std::wstring Text(int id)
    {
        WCHAR text[64];
        GetDlgItemTextW(frame.Dialog(), id, text, 64);
        return text;
    }
    BOOL Type(int id, LPCWSTR text) { return UserTypeText(GetDlgItem(frame.Dialog(), id), text); }
    static std::pair<LONG, LONG> SizeOf(CResizeFilter* f)
    {
        LONG w = 0, h = 0;
        f->GetOutputSize(&w, &h, nullptr);
        return {w, h};
    }
    static LONG ModeOf(CResizeFilter* f)
    {
        LONG mode = 0;
        f->GetResizeMode(&mode);
        return mode;
    }

    ComPtr<CResizeFilter> filter;
    ComPtr<IPropertyPage> page;
    PropertyFrame frame;
};

TEST_F(PageTest, OwnFillsStayCleanTypingDirtiesApplyWritesAndCleans)
{
    ASSERT_EQ(Open(filter.Get()), S_OK);
    EXPECT_EQ(frame.Title(), L"Resize Detail...");
    EXPECT_EQ(Text(IDC_WIDTH), L"320");
    EXPECT_EQ(Text(IDC_HEIGHT), L"240");
    EXPECT_EQ(IsDlgButtonChecked(frame.Dialog(), IDC_FIT_DESTINATION), BST_CHECKED);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(frame.Site()->StatusChanges(), 0u);

    EXPECT_TRUE(Type(IDC_WIDTH, L"640"));
    EXPECT_EQ(page->IsPageDirty(), S_OK);
    EXPECT_EQ(frame.Site()->StatusChanges(), 1u);
    EXPECT_EQ(frame.Site()->LastStatus(), PROPPAGESTATUS_DIRTY);
    EXPECT_TRUE(Type(IDC_HEIGHT, L"480"));
    UserClick(GetDlgItem(frame.Dialog(), IDC_KEEP_ASPECT));
    EXPECT_EQ(IsDlgButtonChecked(frame.Dialog(), IDC_FIT_DESTINATION), BST_UNCHECKED);
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(SizeOf(filter.Get()), std::make_pair(640, 480));
    EXPECT_EQ(ModeOf(filter.Get()), RESIZE_MODE_KEEP_ASPECT);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    // A clean page writes nothing.
    ASSERT_EQ(filter->SetOutputSize(800, 600), S_OK);
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(SizeOf(filter.Get()), std::make_pair(800, 600));
}

// Width text against what the filter ends with, Apply's result and, on a
// refusal, the width the page shows again (the filter's); height "480".
struct WidthCase {
    const wchar_t* text;
    LONG width;
    LONG height;
    HRESULT applied;
};

class PageNumbers : public PageTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(PageNumbers, ReadSaturatedAndRefusalsReported)
{
    const WidthCase c = GetParam();
    ASSERT_EQ(Open(filter.Get()), S_OK);
    Type(IDC_WIDTH, c.text);
    Type(IDC_HEIGHT, L"480");
    EXPECT_EQ(page->Apply(), c.applied);
    EXPECT_EQ(SizeOf(filter.Get()), std::make_pair(c.width, c.height));
    EXPECT_EQ(page->IsPageDirty(), c.applied == S_OK ? S_FALSE : S_OK);
    if (c.applied != S_OK) {
        EXPECT_EQ(Text(IDC_WIDTH), std::to_wstring(c.width));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PageNumbers,
    ::testing::Values(WidthCase{L" +640", 640, 480, S_OK}, WidthCase{L"640abc", 640, 480, S_OK},
                      WidthCase{L"abc", 320, 240, E_INVALIDARG}, WidthCase{L"-2", 320, 240, S_OK},
                      WidthCase{L"99999999999", 320, 240, E_INVALIDARG},
                      // atoi wraps this one to 320, which the filter would take.
                      WidthCase{L"4294967616", 320, 240, E_INVALIDARG},
                      WidthCase{L"-99999999999", 320, 240, S_OK}, WidthCase{L"321", 320, 240, E_INVALIDARG}));

TEST_F(PageTest, ConnectedOutputFixesTheSizeButNotTheMode)
{
    ResizeGraph g(VideoType(720, 480), 1);
    ASSERT_EQ(g.filter->SetResizeMode(7), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    ASSERT_EQ(Open(g.filter.Get()), S_OK);
    EXPECT_EQ(IsDlgButtonChecked(frame.Dialog(), IDC_KEEP_ASPECT), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(frame.Dialog(), IDC_WIDTH)));
    EXPECT_FALSE(Type(IDC_HEIGHT, L"480"));
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    UserClick(GetDlgItem(frame.Dialog(), IDC_KEEP_ASPECT));
    EXPECT_EQ(page->Apply(), S_OK);  // the size it has is no refusal
    EXPECT_EQ(ModeOf(g.filter.Get()), RESIZE_MODE_KEEP_ASPECT);

    // Connected after the page read the filter: the new size is refused,
    // the mode still written.
    frame.Close();
    ASSERT_EQ(g.DisconnectOutput(), S_OK);
    page = MakePage();
    ASSERT_EQ(Open(g.filter.Get()), S_OK);
    Type(IDC_WIDTH, L"640");
    UserClick(GetDlgItem(frame.Dialog(), IDC_FIT_DESTINATION));
    ASSERT_EQ(g.ConnectOutput(), S_OK);
    EXPECT_EQ(page->Apply(), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(ModeOf(g.filter.Get()), RESIZE_MODE_FIT);
    EXPECT_EQ(Text(IDC_WIDTH), L"320");
    EXPECT_EQ(page->IsPageDirty(), S_OK);
}

TEST_F(PageTest, NoObjectNoSiteOrASecondObject)
{
    RECT place{0, 0, 100, 100};
    EXPECT_EQ(page->Activate(nullptr, &place, TRUE), E_UNEXPECTED);
    EXPECT_EQ(page->Apply(), E_UNEXPECTED);
    IUnknown* object = static_cast<IResizeSettings*>(filter.Get());
    ASSERT_EQ(page->SetObjects(1, &object), S_OK);
    EXPECT_EQ(page->Activate(nullptr, &place, TRUE), E_UNEXPECTED);  // no site
    ComPtr<CPageSite> site = ComPtr<CPageSite>::Attach(CPageSite::Create());
    ASSERT_EQ(page->SetPageSite(site.Get()), S_OK);

    // A second object: the first one's reference goes.
    ComPtr<CResizeFilter> second = MakeFilter();
    IUnknown* other = static_cast<IResizeSettings*>(second.Get());
    ASSERT_EQ(page->SetObjects(1, &other), S_OK);
    filter->AddRef();
    EXPECT_EQ(filter->Release(), 1u);

    // An object without the settings leaves the page with none.
    IUnknown* stranger = site.Get();
    EXPECT_EQ(page->SetObjects(1, &stranger), E_NOINTERFACE);
    EXPECT_EQ(page->Activate(nullptr, &place, TRUE), E_UNEXPECTED);
    EXPECT_EQ(page->Apply(), E_UNEXPECTED);
    EXPECT_EQ(page->SetObjects(0, nullptr), E_UNEXPECTED);
    second->AddRef();
    EXPECT_EQ(second->Release(), 1u);
    EXPECT_EQ(page->SetPageSite(nullptr), S_OK);
}

}  // namespace
}  // namespace rftest
