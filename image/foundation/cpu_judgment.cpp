// Processor identification through the ID flag and CPUID.
//
// Nothing is cached here: every call asks the processor, so a caller always
// sees the processor it runs on. TulMemory, which cannot afford a CPUID per
// fill, keeps its own answer (memory_stores.h).
#include "image/foundation/cpu_probe.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace tul::cpu {

bool HardwareCpuid(unsigned int leaf, CpuidRegs* regs)
{
#if defined(__x86_64__) || defined(__i386__)
#if defined(__i386__)
    // Every x86-64 processor has CPUID; a 32-bit one may predate it.
    if (!IdFlagToggles())
        return false;
#endif
    __cpuid(leaf, regs->eax, regs->ebx, regs->ecx, regs->edx);
    return true;
#else
    (void)leaf;
    (void)regs;
    return false;
#endif
}

bool IdFlagToggles()
{
#if defined(__x86_64__)
    unsigned long long before = 0, after = 0;
    // Read the flags, write them back with bit 21 inverted, read again.
    __asm__ volatile(
        "pushfq\n\t"
        "popq %0\n\t"
        "movq %0, %1\n\t"
        "xorq $0x200000, %1\n\t"
        "pushq %1\n\t"
        "popfq\n\t"
        "pushfq\n\t"
        "popq %1\n\t"
        : "=&r"(before), "=&r"(after)
        :
        : "cc");
    return ((before ^ after) & 0x200000u) != 0;
#elif defined(__i386__)
    unsigned int before = 0, after = 0;
    __asm__ volatile(
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "xorl $0x200000, %1\n\t"
        "pushl %1\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %1\n\t"
        : "=&r"(before), "=&r"(after)
        :
        : "cc");
    return ((before ^ after) & 0x200000u) != 0;
#else
    return false;
#endif
}

CTulCpuJudgment::CpuVender VenderFromRegisters(unsigned int ebx, unsigned int edx, unsigned int ecx)
{
    // EBX, EDX, ECX in that order, each register's low byte first.
    char name[13];
    const unsigned int parts[3] = {ebx, edx, ecx};
    for (int r = 0; r < 3; ++r) {
        for (int b = 0; b < 4; ++b)
            name[r * 4 + b] = static_cast<char>((parts[r] >> (8 * b)) & 0xFF);
    }
    name[12] = '\0';

    struct Known {
        const char* text;
        CTulCpuJudgment::CpuVender vender;
    };
    static const Known known[] = {
        {"GenuineIntel", CTulCpuJudgment::VenderIntel},
        {"AuthenticAMD", CTulCpuJudgment::VenderAmd},
        {"GenuineTMx86", CTulCpuJudgment::VenderTransmeta},
        {"CyrixInstead", CTulCpuJudgment::VenderCyrix},
    };
    for (const Known& k : known) {
        if (std::memcmp(name, k.text, 13) == 0)
            return k.vender;
    }
    return CTulCpuJudgment::VenderUnknown;
}

CTulCpuJudgment::CpuVender ProbeVender(bool idFlagToggles, CpuidFunction cpuid)
{
    CpuidRegs regs{};
    if (!idFlagToggles || !cpuid(0, &regs))
        return CTulCpuJudgment::VenderUnknown;
    return VenderFromRegisters(regs.ebx, regs.edx, regs.ecx);
}

bool ProbeSSE2(CpuidFunction cpuid)
{
    CpuidRegs regs{};
    if (!cpuid(0, &regs))
        return false;  // no CPUID: no claim of SSE2
    if (!cpuid(1, &regs))
        return false;
    return (regs.edx & 0x4000000u) != 0;
}

}  // namespace tul::cpu

bool CTulCpuJudgment::IsCpuidSupported()
{
    return tul::cpu::IdFlagToggles();
}

CTulCpuJudgment::CpuVender CTulCpuJudgment::GetVender()
{
    return tul::cpu::ProbeVender(tul::cpu::IdFlagToggles(), tul::cpu::HardwareCpuid);
}

ULONG CTulCpuJudgment::GetModel()
{
    return 0;
}

bool CTulCpuJudgment::IsCrusoe()
{
    return GetVender() == VenderTransmeta;
}

bool CTulCpuJudgment::IsSupportSSE2()
{
    return tul::cpu::ProbeSSE2(tul::cpu::HardwareCpuid);
}
