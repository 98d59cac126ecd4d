// The processor questions behind CTulCpuJudgment, written against a CPUID
// source that tests can replace (a processor without CPUID, other vendors).
#pragma once

#include "image/TulImage.h"

namespace tul::cpu {

struct CpuidRegs {
    unsigned int eax, ebx, ecx, edx;
};

// Executes CPUID `leaf`; false when the processor has no CPUID.
using CpuidFunction = bool (*)(unsigned int leaf, CpuidRegs* regs);

bool HardwareCpuid(unsigned int leaf, CpuidRegs* regs);

// True when the ID flag (bit 21) of the flags register can be toggled.
bool IdFlagToggles();

// The vendor named by leaf 0's EBX, EDX, ECX (12 characters and a zero).
CTulCpuJudgment::CpuVender VenderFromRegisters(unsigned int ebx, unsigned int edx, unsigned int ecx);

CTulCpuJudgment::CpuVender ProbeVender(bool idFlagToggles, CpuidFunction cpuid);
bool ProbeSSE2(CpuidFunction cpuid);

}  // namespace tul::cpu
