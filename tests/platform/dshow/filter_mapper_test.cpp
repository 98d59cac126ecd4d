// The filter mapper: entries written through both interfaces read back
// through the lookup, registering again replaces, unregistering removes
// only the filter's own key and reports a missing one as the Win32
// "file not found".
#include "platform/com/activation.h"
#include "platform/com/com_ptr.h"
#include "platform/dshow/dshow_guids.h"
#include "platform/dshow/filter_mapper.h"
#include "platform/win32/registry_key.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

DEFINE_GUID(kFilter, 0x11111111, 0x2222, 0x3333, 0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55);
DEFINE_GUID(kCategory, 0x11111112, 0x2222, 0x3333, 0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55);
constexpr HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

class FilterMapperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/tul_mapper_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        setenv("TUL_REGISTRY", (m_dir + "/registry.reg").c_str(), 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        RegisterFilterMapperClasses();
        ASSERT_EQ(CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                   reinterpret_cast<void**>(m_mapper.ReleaseAndGetAddressOf())),
                  S_OK);
        RegistryKey unrelated;
        ASSERT_EQ(unrelated.Create(HKEY_CLASSES_ROOT, L"CLSID\\{083863F1-70DE-11d0-BD40-00A0C911CE86}\\Other"),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        m_mapper.Reset();
        CoUninitialize();
        unsetenv("TUL_REGISTRY");
        std::system(("rm -rf " + m_dir).c_str());
    }
    std::vector<RegisteredFilter> Find(REFCLSID category = CLSID_LegacyAmFilterCategory)
    {
        std::vector<RegisteredFilter> found;
        EXPECT_EQ(FindRegisteredFilters(category, &found), S_OK);
        return found;
    }
    std::string m_dir;
    ComPtr<IFilterMapper2> m_mapper;
};

TEST_F(FilterMapperTest, VersionOneAndTwoEntriesReadBackAndReplace)
{
    const REGPINTYPES types[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_NULL}, {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}};
    REGFILTERPINS pins[] = {{const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, types},
                            {const_cast<LPWSTR>(L"Output"), TRUE, TRUE, TRUE, TRUE, &kFilter, L"In", 2, types}};
    REGFILTER2 v1{};
    v1.dwVersion = 1;
    v1.dwMerit = MERIT_DO_NOT_USE;
    v1.cPins = 2;
    v1.rgPins = pins;
    IMoniker* moniker = reinterpret_cast<IMoniker*>(this);
    ASSERT_EQ(m_mapper->RegisterFilter(kFilter, L"Resizer", &moniker, nullptr, nullptr, &v1), S_OK);
    EXPECT_EQ(moniker, nullptr);
    std::vector<RegisteredFilter> found = Find();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].clsid, kFilter);
    EXPECT_EQ(found[0].name, L"Resizer");
    EXPECT_EQ(found[0].merit, 0x00200000u);
    ASSERT_EQ(found[0].pins.size(), 2u);
    const RegisteredPin& in = found[0].pins[0];
    const RegisteredPin& out = found[0].pins[1];
    EXPECT_EQ(in.name, L"Input");
    EXPECT_EQ(in.flags, 0u);
    ASSERT_EQ(in.types.size(), 1u);
    EXPECT_EQ(in.types[0].major, MEDIATYPE_Video);
    EXPECT_EQ(in.types[0].minor, GUID_NULL);
    EXPECT_EQ(out.flags, REG_PINFLAG_B_ZERO | REG_PINFLAG_B_RENDERER | REG_PINFLAG_B_MANY | REG_PINFLAG_B_OUTPUT);
    EXPECT_EQ(out.connectsToFilter, kFilter);
    EXPECT_EQ(out.connectsToPin, L"In");
    ASSERT_EQ(out.types.size(), 2u);
    EXPECT_EQ(out.types[1].minor, MEDIASUBTYPE_YUY2);
    std::stringstream text;
    text << std::ifstream(m_dir + "/registry.reg").rdbuf();
    EXPECT_NE(text.str().find("\"Merit\"=dword:00200000"), std::string::npos);

    // Version 2, under a category and an instance name; the old pins go.
    const REGFILTERPINS2 pins2[] = {{REG_PINFLAG_B_OUTPUT, 3, 1, types + 1, 0, nullptr, nullptr}};
    REGFILTER2 v2{};
    v2.dwVersion = 2;
    v2.dwMerit = MERIT_NORMAL;
    v2.cPins2 = 1;
    v2.rgPins2 = pins2;
    ASSERT_EQ(m_mapper->RegisterFilter(kFilter, L"Again", nullptr, &kCategory, L"Named", &v2), S_OK);
    ASSERT_EQ(m_mapper->RegisterFilter(kFilter, L"Again", nullptr, &kCategory, L"Named", &v2), S_OK);
    found = Find(kCategory);
    ASSERT_EQ(found.size(), 1u);
    ASSERT_EQ(found[0].pins.size(), 1u);
    EXPECT_EQ(found[0].pins[0].instances, 3u);
    EXPECT_EQ(found[0].pins[0].types[0].minor, MEDIASUBTYPE_YUY2);
    v2.dwVersion = 3;
    EXPECT_EQ(m_mapper->RegisterFilter(kFilter, L"Bad", nullptr, &kCategory, L"Bad", &v2), E_INVALIDARG);

    EXPECT_EQ(m_mapper->UnregisterFilter(nullptr, nullptr, kFilter), S_OK);
    EXPECT_EQ(m_mapper->UnregisterFilter(nullptr, nullptr, kFilter), kNotFound);
    EXPECT_TRUE(Find().empty());
    EXPECT_EQ(Find(kCategory).size(), 1u);
    RegistryKey unrelated;
    EXPECT_EQ(unrelated.Open(HKEY_CLASSES_ROOT, L"CLSID\\{083863F1-70DE-11d0-BD40-00A0C911CE86}\\Other"), ERROR_SUCCESS);
}

TEST_F(FilterMapperTest, OlderInterfaceBuildsTheSameEntryPinByPin)
{
    ComPtr<IFilterMapper> legacy;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper,
                               reinterpret_cast<void**>(legacy.ReleaseAndGetAddressOf())),
              S_OK);
    EXPECT_EQ(legacy->RegisterPin(kFilter, L"In", FALSE, FALSE, FALSE, FALSE, CLSID_NULL, nullptr), kNotFound);
    ASSERT_EQ(legacy->RegisterFilter(kFilter, L"Old", MERIT_UNLIKELY), S_OK);
    ASSERT_EQ(legacy->RegisterPin(kFilter, L"In", FALSE, FALSE, FALSE, FALSE, CLSID_NULL, nullptr), S_OK);
    ASSERT_EQ(legacy->RegisterPin(kFilter, L"Out", FALSE, TRUE, FALSE, FALSE, CLSID_NULL, nullptr), S_OK);
    ASSERT_EQ(legacy->RegisterPinType(kFilter, L"Out", MEDIATYPE_Video, MEDIASUBTYPE_YUY2), S_OK);
    ASSERT_EQ(legacy->RegisterPinType(kFilter, L"Out", MEDIATYPE_Video, GUID_NULL), S_OK);
    EXPECT_EQ(legacy->RegisterPinType(kFilter, L"None", MEDIATYPE_Video, GUID_NULL), kNotFound);
    EXPECT_EQ(legacy->UnregisterPin(kFilter, L"In"), S_OK);
    std::vector<RegisteredFilter> found = Find();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].merit, static_cast<DWORD>(MERIT_UNLIKELY));
    ASSERT_EQ(found[0].pins.size(), 1u);
    EXPECT_EQ(found[0].pins[0].name, L"Out");
    EXPECT_EQ(found[0].pins[0].flags, REG_PINFLAG_B_OUTPUT);
    ASSERT_EQ(found[0].pins[0].types.size(), 2u);
    EXPECT_EQ(found[0].pins[0].types[1].minor, GUID_NULL);
    // The two interfaces are one object over one store.
    ComPtr<IFilterMapper2> other;
    ASSERT_EQ(legacy.As(IID_IFilterMapper2, &other), S_OK);
    EXPECT_EQ(other->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, kFilter), S_OK);
    EXPECT_EQ(legacy->UnregisterFilter(kFilter), kNotFound);
    void* outer = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_FilterMapper2, reinterpret_cast<IUnknown*>(this), CLSCTX_INPROC_SERVER,
                               IID_IUnknown, &outer),
              CLASS_E_NOAGGREGATION);
}

}  // namespace
