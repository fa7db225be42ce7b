// Chooses the widest kernel set the processor runs, once.
#include "graphics/draw_kernels.h"

namespace qln {

const DrawKernels& draw_kernels() {
    static const DrawKernels& chosen = []() -> const DrawKernels& {
        const DrawKernels* avx2 = draw_kernels_avx2();
        return avx2 ? *avx2 : draw_kernels_sse2();
    }();
    return chosen;
}

}  // namespace qln
