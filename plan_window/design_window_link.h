// SPDX-License-Identifier: Apache-2.0
#pragma once
// All the plan window needs of the design window, so that the two meet in
// one place: the design it shows, showing a unit there, hearing when it takes
// an input, and naming the unit it edits in its title.

#include <functional>
#include <optional>
#include <string>

#include "plan_unit.h"

namespace valdris {

class DesignWindowLink {
public:
    virtual ~DesignWindowLink() = default;
    // The design window's inputs carried into the unit (its name, given size
    // and costs kept); nothing while the window shows no design.
    virtual std::optional<PlanUnit> TakeDesign(const PlanUnit& into) = 0;
    // Opens the design window (if need be) on the unit's inputs, in front;
    // the refusal when the window could not take them (it then keeps its
    // own design).
    virtual std::optional<Refusal> ShowUnit(const PlanUnit& unit) = 0;
    // The unit the window edits, named in its title; empty for none.
    virtual void SetEditedUnit(const std::string& name) = 0;
    // Called after each input the design window has taken.
    virtual void SetInputTaken(std::function<void()> callback) = 0;
};

}  // namespace valdris
