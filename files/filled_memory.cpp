// SPDX-License-Identifier: Apache-2.0
#include "filled_memory.h"

#include <algorithm>

#include <sys/mman.h>
#include <unistd.h>

namespace valdris {
namespace {

// One large page of the usual processors: the step, and its alignment.
constexpr std::uintptr_t kStep = std::uintptr_t{1} << 21;

std::uintptr_t StepUp(std::uintptr_t address) { return (address + kStep - 1) / kStep * kStep; }
std::uintptr_t StepDown(std::uintptr_t address) { return address / kStep * kStep; }

std::uintptr_t PageSize() {
    static const auto size = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    return size;
}
std::uintptr_t PageUp(std::uintptr_t address) { return (address + PageSize() - 1) / PageSize() * PageSize(); }
std::uintptr_t PageDown(std::uintptr_t address) { return address / PageSize() * PageSize(); }

}  // namespace

PagesAhead::PagesAhead(const void* begin, std::size_t bytes)
    : begin_(reinterpret_cast<std::uintptr_t>(begin)), bytes_(bytes) {
#if defined(MADV_HUGEPAGE) && defined(MADV_POPULATE_WRITE)
    if (bytes_ < kStep) {
        ready_ = bytes_;  // a few faults cost less than asking
        return;
    }
    const std::uintptr_t first = StepUp(begin_);
    const std::uintptr_t last = StepDown(begin_ + bytes_);
    // Only whole large pages inside the room, so none reaches outside it.
    if (last > first) (void)madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    ready_ = bytes_;  // nothing to ask for
#endif
}

void PagesAhead::Ready(std::size_t filled) {
#if defined(MADV_HUGEPAGE) && defined(MADV_POPULATE_WRITE)
    // Whole pages only, so that none reaches outside the room.
    const std::uintptr_t last = PageDown(begin_ + bytes_);
    const std::uintptr_t from = PageUp(begin_ + ready_);
    const std::uintptr_t to = std::min(StepUp(begin_ + filled), last);
    // The result is ignored: an older kernel refuses the advice, and the
    // pages come by faults as the writing reaches them.
    if (to > from) (void)madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
    ready_ = to >= last ? bytes_ : to - begin_;
#else
    ready_ = filled;
#endif
}

}  // namespace valdris
