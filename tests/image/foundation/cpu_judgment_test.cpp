// Processor identification, against the real processor and against
// simulated ones (other vendors, no CPUID at all).
#include "image/foundation/cpu_probe.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

using tul::cpu::CpuidRegs;

// Packs a 12-character vendor string the way CPUID leaf 0 returns it.
void PackVendor(const char* name, CpuidRegs* r)
{
    std::memcpy(&r->ebx, name, 4);
    std::memcpy(&r->edx, name + 4, 4);
    std::memcpy(&r->ecx, name + 8, 4);
}

const char* g_fakeVendor = "GenuineIntel";
unsigned int g_fakeEdx1 = 0;

bool FakeCpuid(unsigned int leaf, CpuidRegs* r)
{
    *r = CpuidRegs{};
    if (leaf == 0)
        PackVendor(g_fakeVendor, r);
    if (leaf == 1)
        r->edx = g_fakeEdx1;
    return true;
}

bool NoCpuid(unsigned int, CpuidRegs*) { return false; }

// Leaf 0's vendor string, packed EBX, EDX, ECX, names the vendor; any
// other (case differing included) is unknown.
TEST(CpuJudgment, VendorStringsMapToTheirValue)
{
    const std::pair<const char*, CTulCpuJudgment::CpuVender> cases[] = {
        {"GenuineIntel", CTulCpuJudgment::VenderIntel},     {"AuthenticAMD", CTulCpuJudgment::VenderAmd},
        {"GenuineTMx86", CTulCpuJudgment::VenderTransmeta}, {"CyrixInstead", CTulCpuJudgment::VenderCyrix},
        {"CentaurHauls", CTulCpuJudgment::VenderUnknown},   {"genuineintel", CTulCpuJudgment::VenderUnknown}};
    for (const auto& [name, expected] : cases) {
        g_fakeVendor = name;
        EXPECT_EQ(tul::cpu::ProbeVender(true, FakeCpuid), expected) << name;
    }
}

TEST(CpuJudgment, NoCpuidMeansUnknownVendorAndNoSse2)
{
    EXPECT_EQ(tul::cpu::ProbeVender(true, NoCpuid), CTulCpuJudgment::VenderUnknown);
    EXPECT_EQ(tul::cpu::ProbeVender(false, FakeCpuid), CTulCpuJudgment::VenderUnknown);
    EXPECT_FALSE(tul::cpu::ProbeSSE2(NoCpuid));
}

TEST(CpuJudgment, Sse2IsLeafOneEdxBit26)
{
    g_fakeEdx1 = 0x4000000u;
    EXPECT_TRUE(tul::cpu::ProbeSSE2(FakeCpuid));
    g_fakeEdx1 = ~0x4000000u;
    EXPECT_FALSE(tul::cpu::ProbeSSE2(FakeCpuid));
}

TEST(CpuJudgment, ThisProcessor)
{
    EXPECT_EQ(CTulCpuJudgment::GetModel(), 0u);
#if defined(__x86_64__)
    // Every x86-64 processor has CPUID and SSE2.
    EXPECT_TRUE(CTulCpuJudgment::IsCpuidSupported());
    EXPECT_TRUE(CTulCpuJudgment::IsSupportSSE2());
    const auto v = CTulCpuJudgment::GetVender();
    EXPECT_LE(static_cast<unsigned>(v), 4u);
    EXPECT_EQ(CTulCpuJudgment::IsCrusoe(), v == CTulCpuJudgment::VenderTransmeta);
#else
    EXPECT_FALSE(CTulCpuJudgment::IsSupportSSE2());
#endif
}

}  // namespace
