// SPDX-License-Identifier: Apache-2.0
#pragma once
// How a long read tells how far it has come and learns that the user wants
// it stopped: a read asks its ReadProgress now and then with the share done
// (0 to 1), and a false answer ends it with a ReadCancelled refusal, having
// changed nothing. The asking is spaced out by ReadTicker, so that a read
// given no progress, or one of a few lines, costs one comparison a line.

#include <cstddef>
#include <functional>

#include "refusal.h"

namespace valdris {

// The share done; false to stop the read.
using ReadProgress = std::function<bool(double done)>;

// The refusal of a read the user stopped; shown as nothing, since the user
// asked for it.
Refusal ReadCancelledRefusal();

// Asks the progress about once in every kReadSteps of the whole (bytes,
// units), and never for a position already passed.
class ReadTicker {
public:
    static constexpr std::size_t kReadSteps = 200;

    ReadTicker(const ReadProgress& progress, std::size_t whole)
        : progress_(progress), whole_(whole), step_(whole / kReadSteps + 1), next_(progress ? step_ : kNever) {}

    // Whether the read goes on, with `done` of the whole behind it.
    bool GoOn(std::size_t done) {
        if (done < next_) return true;
        next_ = done + step_;
        return progress_(whole_ == 0 ? 1.0 : static_cast<double>(done < whole_ ? done : whole_) / static_cast<double>(whole_));
    }

private:
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);
    const ReadProgress& progress_;
    std::size_t whole_;
    std::size_t step_;
    std::size_t next_;
};

}  // namespace valdris
