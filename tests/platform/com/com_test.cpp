// GUID comparison and text, task memory, module counts and ComPtr. The
// published values themselves are checked where they are defined.
#include "platform/com/com_ptr.h"
#include "platform/com/guid.h"
#include "platform/com/module_objects.h"
#include "platform/com/task_memory.h"
#include "platform/com/unknown.h"
#include "tests/support/counted_unknown.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

DEFINE_GUID(kSample, 0x01234567, 0x89ab, 0xcdef, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef);

TEST(Guid, EqualityLooksAtEveryByte)
{
    for (int byte = 0; byte < 16; ++byte) {
        GUID other = kSample;
        reinterpret_cast<BYTE*>(&other)[byte] ^= 0x40;
        EXPECT_FALSE(IsEqualGUID(kSample, other)) << "byte " << byte;
        EXPECT_TRUE(kSample != other);
    }
    GUID copy = kSample;
    EXPECT_TRUE(copy == kSample);
}

TEST(Guid, TextFormIsBracedUppercaseInWholeBuffers)
{
    const std::pair<const GUID*, const char*> known[] = {
        {&kSample, "{01234567-89AB-CDEF-0123-456789ABCDEF}"},
        {&IID_IClassFactory, "{00000001-0000-0000-C000-000000000046}"},
    };
    for (const auto& [guid, want] : known) {
        char text[39];
        ASSERT_EQ(GuidToText(*guid, text, sizeof text), 39);
        EXPECT_STREQ(text, want);
    }
    wchar_t wide[39];
    ASSERT_EQ(StringFromGUID2(IID_IUnknown, wide, 39), 39);
    EXPECT_EQ(std::wstring(wide), L"{00000000-0000-0000-C000-000000000046}");
    // Buffers short of the 39 characters, or none, are refused.
    char text[38];
    EXPECT_EQ(GuidToText(kSample, text, sizeof text), 0);
    EXPECT_EQ(GuidToText(kSample, nullptr, 39), 0);
    EXPECT_EQ(StringFromGUID2(kSample, wide, 38), 0);
    EXPECT_EQ(StringFromGUID2(kSample, nullptr, 39), 0);
}

TEST(TaskMemory, AllocReallocFree)
{
    void* zero = CoTaskMemAlloc(0);
    EXPECT_NE(zero, nullptr);  // distinct pointer even for nothing
    CoTaskMemFree(zero);
    auto* p = static_cast<char*>(CoTaskMemAlloc(8));
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "abcdefg", 8);
    p = static_cast<char*>(CoTaskMemRealloc(p, 64));
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p, "abcdefg");
    CoTaskMemFree(p);
    CoTaskMemFree(nullptr);
}

TEST(ModuleObjects, CountsObjectsAndLocksAndIgnoresAStrayUnlock)
{
    const LONG before = ModuleObjectCount();
    ModuleObjectCreated();
    ModuleObjectCreated();
    EXPECT_EQ(ModuleObjectCount(), before + 2);
    EXPECT_FALSE(ModuleCanUnload());
    ModuleObjectDestroyed();
    ModuleObjectDestroyed();
    EXPECT_EQ(ModuleObjectCount(), before);

    ModuleLockServer(true);
    EXPECT_FALSE(ModuleCanUnload());
    ModuleLockServer(false);
    EXPECT_TRUE(ModuleCanUnload());
    // A stray unlock does not hide a later lock.
    ModuleLockServer(false);
    ModuleLockServer(true);
    EXPECT_EQ(ModuleLockCount(), 1);
    EXPECT_FALSE(ModuleCanUnload());
    ModuleLockServer(false);
    EXPECT_EQ(ModuleLockCount(), 0);
}

TEST(ComPtr, ReleasesExactlyOnce)
{
    int deaths = 0;
    {
        auto a = ComPtr<IUnknown>::Attach(new CountedUnknown(&deaths));
        ComPtr<IUnknown> b = a;
        ComPtr<IUnknown> c = std::move(b);
        EXPECT_FALSE(b);
        ComPtr<IUnknown> d;
        EXPECT_EQ(a.As(IID_IUnknown, &d), S_OK);
        EXPECT_EQ(static_cast<CountedUnknown*>(a.Get())->refs, 3u);
        ComPtr<IUnknown> none;
        EXPECT_EQ(a.As(IID_IClassFactory, &none), E_NOINTERFACE);
        EXPECT_FALSE(none);
        EXPECT_EQ(none.As(IID_IUnknown, &d), E_POINTER);
    }
    EXPECT_EQ(deaths, 1);
}

}  // namespace
