// The memory allocator and its samples: property checks, commit and
// decommit, waiting, and the sample's own checks.
#include "test_filters.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace fwtest {
namespace {

class Allocator : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_EQ(CMemAllocator::CreateInstance(&m_alloc), S_OK);
    }
    void TearDown() override
    {
        if (m_alloc) {
            EXPECT_EQ(m_alloc->Release(), 0u);
        }
        FrameworkTest::TearDown();
    }
    HRESULT Set(LONG count, LONG size, LONG align = 1, LONG prefix = 0)
    {
        ALLOCATOR_PROPERTIES want{count, size, align, prefix};
        return m_alloc->SetProperties(&want, &m_actual);
    }
    IMemAllocator* m_alloc = nullptr;
    ALLOCATOR_PROPERTIES m_actual{};
};

TEST_F(Allocator, PropertiesAreCheckedAndRoundedAndBuffersAlignedAndDisjoint)
{
    EXPECT_EQ(Set(2, 100, 0), VFW_E_BADALIGN);
    EXPECT_EQ(Set(2, 100, 3), VFW_E_BADALIGN);
    EXPECT_EQ(Set(-1, 100), E_INVALIDARG);
    EXPECT_EQ(Set(2, -100), E_INVALIDARG);
    EXPECT_EQ(Set(2, 100, 1, -4), E_INVALIDARG);
    EXPECT_EQ(Set(2, 0x7FFFFFF0, 16, 32), E_INVALIDARG);  // one buffer past 32 bits
    EXPECT_EQ(Set(0x10000, 0x10000), E_INVALIDARG);      // the total past 32 bits
    EXPECT_EQ(m_alloc->SetProperties(nullptr, &m_actual), E_POINTER);
    ASSERT_EQ(Set(3, 100, 64, 8), S_OK);
    EXPECT_EQ(m_actual.cBuffers, 3);
    EXPECT_EQ(m_actual.cbBuffer, 120);  // 8 + 120 = 128, a multiple of 64
    EXPECT_EQ(m_actual.cbAlign, 64);
    EXPECT_EQ(m_actual.cbPrefix, 8);
    ALLOCATOR_PROPERTIES now{};
    EXPECT_EQ(m_alloc->GetProperties(&now), S_OK);
    EXPECT_EQ(now.cbBuffer, 120);
    EXPECT_EQ(m_alloc->GetProperties(nullptr), E_POINTER);

    // The buffers so committed are aligned after their prefix and disjoint.
    ASSERT_EQ(m_alloc->Commit(), S_OK);
    IMediaSample* samples[3];
    for (auto& s : samples)
        ASSERT_EQ(m_alloc->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    std::vector<BYTE*> starts;
    for (auto* s : samples) {
        BYTE* p = nullptr;
        s->GetPointer(&p);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p - 8) % 64, 0u);
        EXPECT_EQ(s->GetSize(), m_actual.cbBuffer);
        std::memset(p, 0xEE, static_cast<std::size_t>(s->GetSize()));  // ASan sees any overlap or overrun
        starts.push_back(p);
    }
    std::sort(starts.begin(), starts.end());
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_GE(starts[i] - starts[i - 1], m_actual.cbBuffer + 8);
    for (auto* s : samples)
        s->Release();
    m_alloc->Decommit();
}

TEST_F(Allocator, LifecycleErrors)
{
    IMediaSample* s = nullptr;
    EXPECT_EQ(m_alloc->Commit(), VFW_E_SIZENOTSET);
    EXPECT_EQ(m_alloc->GetBuffer(&s, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    EXPECT_EQ(m_alloc->GetBuffer(nullptr, nullptr, nullptr, 0), E_POINTER);
    ASSERT_EQ(Set(1, 64), S_OK);
    ASSERT_EQ(m_alloc->Commit(), S_OK);
    EXPECT_EQ(Set(1, 128), VFW_E_ALREADY_COMMITTED);
    ASSERT_EQ(m_alloc->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    IMediaSample* second = nullptr;
    EXPECT_EQ(m_alloc->GetBuffer(&second, nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
    ASSERT_EQ(m_alloc->Decommit(), S_OK);
    EXPECT_EQ(Set(1, 128), VFW_E_BUFFERS_OUTSTANDING);
    EXPECT_EQ(m_alloc->GetBuffer(&second, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    s->Release();
    EXPECT_EQ(Set(1, 128), S_OK);
    ASSERT_EQ(m_alloc->Commit(), S_OK);
    ASSERT_EQ(m_alloc->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(s->GetSize(), 128);
    s->Release();
    m_alloc->Decommit();
}

TEST_F(Allocator, DecommitWakesAWaiter)
{
    ASSERT_EQ(Set(1, 64), S_OK);
    ASSERT_EQ(m_alloc->Commit(), S_OK);
    IMediaSample* held = nullptr;
    ASSERT_EQ(m_alloc->GetBuffer(&held, nullptr, nullptr, 0), S_OK);
    HRESULT waited = S_OK;
    std::thread waiter([&] {
        IMediaSample* s = nullptr;
        waited = m_alloc->GetBuffer(&s, nullptr, nullptr, 0);
        if (s)
            s->Release();
    });
    m_alloc->Decommit();
    waiter.join();
    EXPECT_EQ(waited, VFW_E_NOT_COMMITTED);
    held->Release();
}

TEST_F(Allocator, OutstandingSampleKeepsTheAllocatorAlive)
{
    ASSERT_EQ(Set(2, 32), S_OK);
    ASSERT_EQ(m_alloc->Commit(), S_OK);
    IMediaSample* s = nullptr;
    ASSERT_EQ(m_alloc->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    m_alloc->Decommit();
    EXPECT_EQ(m_alloc->Release(), 1u);  // the sample still holds it
    m_alloc = nullptr;
    BYTE* p = nullptr;
    s->GetPointer(&p);
    std::memset(p, 1, 32);  // still valid memory
    EXPECT_EQ(s->Release(), 0u);  // frees the allocator too
}

TEST_F(Allocator, SampleChecksLengthsTimesAndTypes)
{
    ASSERT_EQ(Set(1, 50), S_OK);
    ASSERT_EQ(m_alloc->Commit(), S_OK);
    IMediaSample* s = nullptr;
    ASSERT_EQ(m_alloc->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(s->GetActualDataLength(), 50);
    EXPECT_EQ(s->SetActualDataLength(51), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(s->SetActualDataLength(-1), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(s->SetActualDataLength(0), S_OK);
    EXPECT_EQ(s->GetPointer(nullptr), E_POINTER);

    REFERENCE_TIME a = 10, b = 5;
    EXPECT_EQ(s->SetTime(&a, &b), VFW_E_START_TIME_AFTER_END);
    EXPECT_EQ(s->GetTime(&a, &b), VFW_E_SAMPLE_TIME_NOT_SET);
    EXPECT_EQ(s->GetTime(nullptr, &b), E_POINTER);
    b = 20;
    EXPECT_EQ(s->SetTime(&a, &b), S_OK);
    REFERENCE_TIME c = 0, d = 0;
    EXPECT_EQ(s->GetTime(&c, &d), S_OK);
    EXPECT_EQ(c, 10);
    EXPECT_EQ(d, 20);
    EXPECT_EQ(s->SetTime(&a, nullptr), S_OK);
    EXPECT_EQ(s->GetTime(&c, &d), VFW_S_NO_STOP_TIME);
    EXPECT_EQ(d, 11);
    EXPECT_EQ(s->SetTime(nullptr, &b), E_POINTER);
    EXPECT_EQ(s->SetTime(nullptr, nullptr), S_OK);
    EXPECT_EQ(s->GetTime(&c, &d), VFW_E_SAMPLE_TIME_NOT_SET);
    EXPECT_EQ(s->GetMediaTime(&c, &d), VFW_E_MEDIA_TIME_NOT_SET);
    EXPECT_EQ(s->SetMediaTime(&a, &b), S_OK);
    EXPECT_EQ(s->GetMediaTime(&c, &d), S_OK);

    AM_MEDIA_TYPE* type = reinterpret_cast<AM_MEDIA_TYPE*>(1);
    EXPECT_EQ(s->GetMediaType(&type), S_FALSE);
    EXPECT_EQ(type, nullptr);
    CMediaType vi = Yuy2Type(4, 4);
    EXPECT_EQ(s->SetMediaType(&vi), S_OK);
    ASSERT_EQ(s->GetMediaType(&type), S_OK);
    EXPECT_TRUE(CMediaType(*type) == vi);
    DeleteMediaType(type);
    EXPECT_EQ(s->SetMediaType(nullptr), S_OK);
    EXPECT_EQ(s->GetMediaType(&type), S_FALSE);

    // Properties do not survive a return to the allocator.
    s->SetSyncPoint(TRUE);
    s->SetDiscontinuity(TRUE);
    s->SetMediaType(&vi);
    s->SetActualDataLength(3);
    s->Release();
    ASSERT_EQ(m_alloc->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(s->IsSyncPoint(), S_FALSE);
    EXPECT_EQ(s->IsDiscontinuity(), S_FALSE);
    EXPECT_EQ(s->GetMediaType(&type), S_FALSE);
    EXPECT_EQ(s->GetActualDataLength(), 50);
    void* asSample = nullptr;
    EXPECT_EQ(s->QueryInterface(IID_IMediaSample, &asSample), S_OK);
    static_cast<IMediaSample*>(asSample)->Release();
    s->Release();
    m_alloc->Decommit();
}

}  // namespace
}  // namespace fwtest
