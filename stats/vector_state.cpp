// SPDX-License-Identifier: Apache-2.0
#include "vector_state.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

namespace valdris {
namespace {

// vzeroupper exists only with AVX; the rest of the program is built for any
// x86-64, so the instruction lives in a function of its own.
__attribute__((target("avx"))) void ZeroUpper() { _mm256_zeroupper(); }

bool CpuHasAvx() {
    // Asked once, at the first design (constructors may not have run before).
    static const bool has_avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return has_avx;
}

}  // namespace

void ClearUpperVectorState() {
    if (CpuHasAvx()) ZeroUpper();
}

}  // namespace valdris

#else

namespace valdris {

// Other processors have no such state to clear.
void ClearUpperVectorState() {}

}  // namespace valdris

#endif
