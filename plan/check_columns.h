// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design check as extra columns of the plan's table, shown on request:
// each unit's true Type I error, its powers at the LBGR for normal and for
// lognormal data and the smallest size reaching 1 - beta, with standard
// errors where simulated. A check can take a fifth of a second, so units
// are checked only when their cells are wanted, a few at a time, and each
// check is kept until its unit's design changes.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "checked_design.h"
#include "plan.h"

namespace valdris {

enum class CheckColumn { Type1Error, PowerNormal, PowerLognormal, NMin };
constexpr int kCheckColumnCount = 4;

std::string CheckColumnTitle(CheckColumn column);

// The cell as shown: four decimals, "+- se" after a simulated power, the
// smallest size with its critical value.
std::string CheckCellText(const CheckedDesign& checked, CheckColumn column);

// The cell's number for sorting; nothing where the cell holds none.
std::optional<double> CheckCellNumber(const CheckedDesign& checked, CheckColumn column);

class CheckColumnCache {
public:
    explicit CheckColumnCache(uint64_t seed = kDefaultCheckSeed) : seed_(seed) {}

    uint64_t seed() const { return seed_; }

    // The unit's check when one for its present design is kept.
    const CheckedDesign* Find(const PlanEntry& entry) const;
    // Asks for the unit's check (a cell of it is in view); false when it is
    // kept already.
    bool Want(const PlanEntry& entry);
    bool HasWanted() const { return !wanted_.empty(); }
    // Checks the next wanted unit still in the plan; the id checked, or
    // nothing when no unit was waiting.
    std::optional<UnitId> CheckNext(const SurveyPlan& plan);
    // Nothing more to check (the columns are hidden); kept checks stay.
    void ForgetWanted() { wanted_.clear(); }

private:
    // What the check depends on: the design's test, inputs and results.
    struct Key {
        TestKind test;
        int32_t n;
        double critical;
        float alpha, beta;
        double dovers, sigma, dcgl, lbgr;
        bool operator==(const Key& other) const;
    };
    static Key KeyOf(const PlanEntry& entry);
    struct Kept {
        Key key;
        CheckedDesign checked;
    };

    uint64_t seed_;
    std::map<UnitId, Kept> kept_;
    std::set<UnitId> wanted_;
};

}  // namespace valdris
