// SPDX-License-Identifier: Apache-2.0
#pragma once
// Private to the design window's sources.

#include "frm_sample_size_and_power.h"
#include "repeat_guard.h"

namespace valdris {

// Marks one run of a handler. A window that has started to close, or that
// shows a message box, runs no handler (the run is false): nothing the box's
// event loop delivers may re-enter the handler waiting for it. The outermost
// run of a user action resets the once-per-action report of a refused design.
class frmSampleSizeandPower::HandlerRun {
public:
    explicit HandlerRun(frmSampleSizeandPower& window)
        : window_(window), active_(!window.closing_ && !window.repeat_guard_->MessageOpen()) {
        if (active_ && window_.handler_depth_++ == 0) window_.design_refusal_shown_ = false;
    }
    ~HandlerRun() {
        if (active_) --window_.handler_depth_;
    }
    HandlerRun(const HandlerRun&) = delete;
    HandlerRun& operator=(const HandlerRun&) = delete;

    explicit operator bool() const { return active_; }

private:
    frmSampleSizeandPower& window_;
    const bool active_;
};

}  // namespace valdris
