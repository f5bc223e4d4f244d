// SPDX-License-Identifier: Apache-2.0
#include "check_columns.h"

#include <cmath>

#include "number_text.h"
#include "rounding.h"

namespace valdris {
namespace {

constexpr int kCellDecimals = 4;

std::string Four(double value) { return WriteNumber(RoundHalfEven(value, kCellDecimals)); }

// A cell is narrow: the method is said only where the figure is not exact.
std::string PowerCell(double power, double se, int32_t replications) {
    if (std::isnan(power)) return "not simulated";
    if (replications == 0) return Four(power);
    return Four(power) + " +- " + Four(se);
}

struct ColumnRow {
    CheckColumn column;
    const char* title;
};
constexpr ColumnRow kColumns[kCheckColumnCount] = {
    {CheckColumn::Type1Error, "True Type I Error"},
    {CheckColumn::PowerNormal, "Power at LBGR (Normal)"},
    {CheckColumn::PowerLognormal, "Power at LBGR (Lognormal)"},
    {CheckColumn::NMin, "Smallest N for 1 - Beta"},
};

}  // namespace

std::string CheckColumnTitle(CheckColumn column) { return kColumns[static_cast<int>(column)].title; }

std::string CheckCellText(const CheckedDesign& checked, CheckColumn column) {
    const DesignCheck& c = checked.check;
    switch (column) {
        case CheckColumn::Type1Error: return Four(c.type1_error) + (c.type1_exact ? "" : " (normal)");
        case CheckColumn::PowerNormal: return PowerCell(c.power_normal, c.power_normal_se, c.replications);
        case CheckColumn::PowerLognormal:
            return c.power_lognormal ? PowerCell(*c.power_lognormal, *c.power_lognormal_se, c.replications) : "none";
        case CheckColumn::NMin:
            if (!c.n_min) return "none up to " + std::to_string(c.searched_to);
            return std::to_string(*c.n_min) + " (critical value " + WriteNumber(*c.n_min_critical_value) + ")";
    }
    return {};
}

std::optional<double> CheckCellNumber(const CheckedDesign& checked, CheckColumn column) {
    const DesignCheck& c = checked.check;
    std::optional<double> number;
    switch (column) {
        case CheckColumn::Type1Error: number = c.type1_error; break;
        case CheckColumn::PowerNormal: number = c.power_normal; break;
        case CheckColumn::PowerLognormal: number = c.power_lognormal; break;
        case CheckColumn::NMin:
            if (c.n_min) number = *c.n_min;
            break;
    }
    if (number && !std::isfinite(*number)) return std::nullopt;
    return number;
}

bool CheckColumnCache::Key::operator==(const Key& other) const {
    return test == other.test && n == other.n && critical == other.critical && alpha == other.alpha &&
           beta == other.beta && dovers == other.dovers && sigma == other.sigma && dcgl == other.dcgl &&
           lbgr == other.lbgr;
}

CheckColumnCache::Key CheckColumnCache::KeyOf(const PlanEntry& entry) {
    const DesignSummary& s = entry.figures.state;
    const bool sign = entry.figures.test == TestKind::Sign;
    return {entry.figures.test, sign ? s.SignN : s.WRSN,
            sign ? static_cast<double>(s.SignCriticalValue) : s.WRSCriticalValue,
            s.Alpha, s.Beta, s.DoverS, s.Sigma, s.DCGL, s.LBGR};
}

const CheckedDesign* CheckColumnCache::Find(const PlanEntry& entry) const {
    const auto kept = kept_.find(entry.id);
    if (kept == kept_.end() || !(kept->second.key == KeyOf(entry))) return nullptr;
    return &kept->second.checked;
}

bool CheckColumnCache::Want(const PlanEntry& entry) {
    if (Find(entry) != nullptr) return false;
    wanted_.insert(entry.id);
    return true;
}

std::optional<UnitId> CheckColumnCache::CheckNext(const SurveyPlan& plan) {
    while (!wanted_.empty()) {
        const UnitId id = *wanted_.begin();
        wanted_.erase(wanted_.begin());
        const std::optional<std::size_t> row = plan.RowOf(id);
        if (!row) {
            kept_.erase(id);  // the unit is gone
            continue;
        }
        const PlanEntry& entry = plan.entry(*row);
        if (Find(entry) != nullptr) continue;
        kept_[id] = {KeyOf(entry), CheckDesign(entry.figures.test, entry.figures.state, seed_)};
        return id;
    }
    return std::nullopt;
}

}  // namespace valdris
