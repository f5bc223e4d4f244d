// SPDX-License-Identifier: Apache-2.0
#pragma once
// Large room that is filled from its start, such as a plan's entries or a
// file's text: its pages are asked of the system a step ahead of the writing,
// in large pages where the system has them, instead of one fault per small
// page as the writing first reaches it. Under a hypervisor a fault can cost
// ten microseconds, more than writing the page.

#include <cstddef>
#include <cstdint>

namespace valdris {

class PagesAhead {
public:
    // Advice only: where the system cannot take it, the pages come one
    // fault at a time as before. Rooms under a step are left to the faults.
    PagesAhead(const void* begin, std::size_t bytes);

    // The first `filled` bytes are about to be written: their pages, and
    // those up to the next step, are made ready. The room is never asked
    // for much beyond what is written, so a room reserved for an estimate
    // that overshoots costs no memory.
    void Reach(std::size_t filled) {
        if (filled > ready_) Ready(filled);
    }

    // The bytes from the start whose pages are there or asked for.
    std::size_t ready() const { return ready_; }

private:
    void Ready(std::size_t filled);

    std::uintptr_t begin_ = 0;
    std::size_t bytes_ = 0;
    std::size_t ready_ = 0;  // bytes from the start whose pages are there
};

}  // namespace valdris
