// The --configure form over the real page and filter, fed from a stream:
// what it shows, a refused size asked again, Enter keeping values, cancel.
#include "apps/tulrezzo/configure_form.h"
#include "filter/resize_filter.h"
#include "filter/resize_property_page.h"
#include "platform/dshow/property_frame.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

template <class T>
ComPtr<T> Make(CUnknown* (*create)(LPUNKNOWN, HRESULT*), REFIID iid)
{
    HRESULT hr = S_OK;
    CUnknown* object = create(nullptr, &hr);
    T* face = nullptr;
    object->NonDelegatingAddRef();
    object->NonDelegatingQueryInterface(iid, reinterpret_cast<void**>(&face));
    object->NonDelegatingRelease();
    return ComPtr<T>::Attach(face);
}

struct FormTest : ::testing::Test {
    bool Run(const std::string& answers)
    {
        PropertyFrame frame;
        EXPECT_EQ(frame.Open(page.Get(), filter.Get()), S_OK);
        std::istringstream in(answers);
        return tulrezzo::RunPageForm(frame, in, out);
    }
    ComPtr<IResizeSettings> filter = Make<IResizeSettings>(CResizeFilter::CreateInstance, IID_IResizeSettings);
    ComPtr<IPropertyPage> page = Make<IPropertyPage>(CResizePropertyPage::CreateInstance, IID_IPropertyPage);
    std::ostringstream out;
};

TEST_F(FormTest, RefusedSizeIsShownAndAskedAgain)
{
    EXPECT_TRUE(Run("641\n480\n2\na\n 640 \n\n\n\n"));
    const std::string shown = out.str();
    const std::string first = "Resize Detail...\n\nResize To...\n  Width(X) [320]:   Height(Y) [240]: Resize Mode\n"
                              "  1 (*) Fit destination Size\n  2 ( ) Keep aspect ratio\n  Choose 1-2 [1]: ";
    EXPECT_EQ(shown.substr(0, first.size()), first);
    EXPECT_NE(shown.find("Not applied: the filter takes an even width"), std::string::npos);
    EXPECT_NE(shown.find("Width(X) [320]:   Height(Y) [240]: Resize Mode\n  1 ( ) Fit destination Size\n"
                         "  2 (*) Keep aspect ratio"),
              std::string::npos);
    LONG w = 0, h = 0, mode = 0;
    filter->GetOutputSize(&w, &h, nullptr);
    filter->GetResizeMode(&mode);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(mode, RESIZE_MODE_KEEP_ASPECT);
}

TEST_F(FormTest, CancelAndEndOfInputApplyNothing)
{
    for (const char* answers : {"640\n480\n2\nc\n", "640\n480\n9\n2\nx\nc\n", "640\n"}) {
        EXPECT_FALSE(Run(answers)) << answers;
        LONG w = 0, mode = 0;
        filter->GetOutputSize(&w, nullptr, nullptr);
        filter->GetResizeMode(&mode);
        EXPECT_EQ(w, 320) << answers;
        EXPECT_EQ(mode, RESIZE_MODE_FIT) << answers;
    }
}

}  // namespace
