// The module's four exported entry points over its template table: the
// filter, and its property page, which the filter names in its page list.
// Nothing else leaves the module (exports.map), so a host's copy of the
// framework and this one never interpose.
#include "filter/framework/registration.h"
#include "filter/framework/setup.h"
#include "filter/resize_filter.h"
#include "filter/resize_property_page.h"
#include "platform/dshow/dshow_guids.h"

#include <new>

#define TUL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Any video on both pins: the YUY2 restriction belongs to connection time.
const AMOVIESETUP_MEDIATYPE kPinTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_NULL}};
const AMOVIESETUP_PIN kPins[] = {
    {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kPinTypes},
    {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kPinTypes},
};
// MERIT_DO_NOT_USE: a graph never inserts the filter by itself.
const AMOVIESETUP_FILTER kFilterSetup = {&CLSID_ResizeFilter, kResizeFilterName, MERIT_DO_NOT_USE, 2, kPins};

const CFactoryTemplate kTemplates[] = {
    {kResizeFilterName, &CLSID_ResizeFilter, CResizeFilter::CreateInstance, nullptr, &kFilterSetup},
    {L"Resize Detail", &CLSID_ResizePropertyPage, CResizePropertyPage::CreateInstance, nullptr, nullptr},
};
constexpr int kTemplateCount = sizeof kTemplates / sizeof kTemplates[0];
static_assert(MERIT_DO_NOT_USE == 0x00200000, "the filter registers at merit 0x00200000");

// No exception leaves the module: an allocation failure is E_OUTOFMEMORY,
// anything else E_UNEXPECTED.
template <class Call>
HRESULT Guarded(Call call) noexcept
{
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace

TUL_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    return Guarded([&] { return GetClassObjectFromTemplates(kTemplates, kTemplateCount, rclsid, riid, ppv); });
}

TUL_EXPORT HRESULT DllCanUnloadNow() { return CanUnloadModuleNow(); }

TUL_EXPORT HRESULT DllRegisterServer()
{
    return Guarded([] {
        return RegisterModuleTemplates(kTemplates, kTemplateCount, reinterpret_cast<const void*>(&DllRegisterServer),
                                       TRUE);
    });
}

TUL_EXPORT HRESULT DllUnregisterServer()
{
    return Guarded([] { return RegisterModuleTemplates(kTemplates, kTemplateCount, nullptr, FALSE); });
}
