// CUnknown aggregation and reference counting, and the class factory over
// a template table.
#include "test_filters.h"

#include "filter/framework/class_factory.h"

namespace fwtest {
namespace {

DEFINE_GUID(IID_ITestValue, 0x7c1d9a40, 0x51e2, 0x4b8f, 0xa3, 0x07, 0x2e, 0x90, 0x6d, 0x41, 0xc8, 0x12);
DEFINE_GUID(CLSID_TestValue, 0x7c1d9a41, 0x51e2, 0x4b8f, 0xa3, 0x07, 0x2e, 0x90, 0x6d, 0x41, 0xc8, 0x12);
DEFINE_GUID(CLSID_Unknown, 0x7c1d9a42, 0x51e2, 0x4b8f, 0xa3, 0x07, 0x2e, 0x90, 0x6d, 0x41, 0xc8, 0x12);

class ITestValue : public IUnknown {
public:
    STDMETHOD_(int, Value)() = 0;

protected:
    ~ITestValue() = default;
};

// An inner object with one custom interface, aggregatable.
class CValue : public CUnknown, public ITestValue {
public:
    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
    {
        auto* v = new (std::nothrow) CValue(pUnk);
        if (v == nullptr)
            *phr = E_OUTOFMEMORY;
        return v;
    }
    explicit CValue(LPUNKNOWN pUnk) : CUnknown(L"CValue", pUnk) {}
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_ITestValue)
            return GetInterface(static_cast<ITestValue*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }
    STDMETHODIMP_(int) Value() override { return 42; }
};

const CFactoryTemplate kTemplates[] = {
    {L"Test value", &CLSID_TestValue, CValue::CreateInstance, nullptr, nullptr},
    {L"Invert", &CLSID_TestTransform, CInvertFilter::CreateInstance, nullptr, nullptr},
};

class Unknown : public FrameworkTest {};

TEST_F(Unknown, StandaloneObjectCountsAndDies)
{
    const LONG before = ModuleObjectCount();
    IUnknown* unk = nullptr;
    auto* value = new CValue(nullptr);
    ASSERT_EQ(value->NonDelegatingQueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk)), S_OK);
    EXPECT_EQ(ModuleObjectCount(), before + 1);
    ITestValue* iface = nullptr;
    ASSERT_EQ(unk->QueryInterface(IID_ITestValue, reinterpret_cast<void**>(&iface)), S_OK);
    EXPECT_EQ(iface->Value(), 42);
    // Every interface answers for the same identity.
    IUnknown* identity = nullptr;
    ASSERT_EQ(iface->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, unk);
    EXPECT_EQ(identity->Release(), 2u);
    EXPECT_EQ(iface->Release(), 1u);
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(unk->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(unk->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(unk->Release(), 0u);
    EXPECT_EQ(ModuleObjectCount(), before);
}

TEST_F(Unknown, FactoryCreatesPlainAndAggregatedObjectsAndRefusesLookups)
{
    IClassFactory* factory = nullptr;
    ASSERT_EQ(GetClassObjectFromTemplates(kTemplates, 2, CLSID_TestValue, IID_IClassFactory,
                                          reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(CanUnloadModuleNow(), S_FALSE);  // the factory itself is alive

    ITestValue* value = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_ITestValue, reinterpret_cast<void**>(&value)), S_OK);
    EXPECT_EQ(value->Value(), 42);
    value->Release();

    void* refused = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IBaseFilter, &refused), E_NOINTERFACE);
    EXPECT_EQ(refused, nullptr);

    // Aggregation asks for IUnknown only. The inner object's interfaces
    // answer for the outer's identity and count their references on it.
    auto* outer = new CValue(nullptr);
    IUnknown* outerUnk = outer->GetNonDelegatingUnknown();
    outerUnk->AddRef();
    EXPECT_EQ(factory->CreateInstance(outerUnk, IID_ITestValue, &refused), E_NOINTERFACE);
    IUnknown* inner = nullptr;
    ASSERT_EQ(factory->CreateInstance(outerUnk, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    ASSERT_EQ(inner->QueryInterface(IID_ITestValue, reinterpret_cast<void**>(&value)), S_OK);
    IUnknown* identity = nullptr;
    ASSERT_EQ(value->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, outerUnk);
    EXPECT_EQ(value->AddRef(), 4u);  // the outer's own, the value's twice, the identity's
    value->Release();
    value->Release();
    identity->Release();
    inner->Release();
    EXPECT_EQ(outerUnk->Release(), 0u);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);

    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(CanUnloadModuleNow(), S_FALSE);  // locked
    ModuleLockServer(false);
    EXPECT_EQ(CanUnloadModuleNow(), S_OK);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(GetClassObjectFromTemplates(kTemplates, 2, CLSID_Unknown, IID_IClassFactory, &out),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(GetClassObjectFromTemplates(kTemplates, 2, CLSID_TestValue, IID_IBaseFilter, &out), E_NOINTERFACE);
    EXPECT_EQ(GetClassObjectFromTemplates(kTemplates, 2, CLSID_TestValue, IID_IUnknown, nullptr), E_POINTER);
    ASSERT_EQ(GetClassObjectFromTemplates(kTemplates, 2, CLSID_TestValue, IID_IUnknown, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
    // The last template is found too, and none past the count.
    ASSERT_EQ(GetClassObjectFromTemplates(kTemplates, 2, CLSID_TestTransform, IID_IUnknown, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(GetClassObjectFromTemplates(kTemplates, 1, CLSID_TestTransform, IID_IUnknown, &out),
              CLASS_E_CLASSNOTAVAILABLE);
}

}  // namespace
}  // namespace fwtest
