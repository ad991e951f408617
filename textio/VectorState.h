#pragma once

// Numeric loops are built for the baseline x86-64 instruction set. When code
// that used the wide vector registers (the window system's drawing, for one)
// leaves their upper halves in use, each such instruction after it waits on
// those halves: a recalculation ran five times slower after a repaint. Heavy
// work therefore starts by releasing them, which costs a few cycles and
// changes no value (the lower halves, all that baseline code uses, are kept).

#if defined(__x86_64__) && defined(__GNUC__)
namespace textio::detail {
__attribute__((target("avx"))) inline void ZeroUpperHalves() { __builtin_ia32_vzeroupper(); }
} // namespace textio::detail
#endif

namespace textio {

inline void ReleaseWideVectorRegisters()
{
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        detail::ZeroUpperHalves();
#endif
}

} // namespace textio
