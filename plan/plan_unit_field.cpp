// SPDX-License-Identifier: Apache-2.0
#include "plan_unit_field.h"

#include <cmath>

#include "field_messages.h"
#include "field_text_input.h"
#include "number_text.h"
#include "site_boundary.h"
#include "text_forms.h"

namespace valdris {

namespace {

bool IsBlankText(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

// Each number's refusal is the field's own message, which states its range.

// A typed size replaces a drawn boundary.
std::optional<Refusal> TakeSize(const Outcome<UnitSize>& checked, PlanUnit& unit) {
    if (!checked) return checked.refusal();
    unit.field.size = *checked;
    unit.field.site.reset();
    return std::nullopt;
}

Refusal NeedsBoundary(RefusalKind kind, const char* what) {
    return {kind, std::string(what) + " turns or starts a grid over a drawn boundary: the unit has none yet.",
            MessageIcon::Exclamation};
}

std::optional<Refusal> ReadArea(const std::string& text, PlanUnit& unit) {
    const auto area = StrictNumber(text);
    if (!area) return field::Message(RefusalKind::AreaUnusable);
    return TakeSize(SizeFromArea(*area), unit);
}

// One side of the rectangle the unit has; the other side stays.
std::optional<Refusal> ReadSide(PlanField side, const std::string& text, PlanUnit& unit) {
    const std::optional<UnitSize>& size = unit.field.size;
    if (!size || !size->width || !size->height) return field::Message(RefusalKind::SideWithoutRectangle);
    const bool width = side == PlanField::Width;
    const auto value = StrictNumber(text);
    if (!value) return field::Message(width ? RefusalKind::WidthUnusable : RefusalKind::HeightUnusable);
    return TakeSize(width ? SizeFromRectangle(*value, *size->height) : SizeFromRectangle(*size->width, *value), unit);
}

std::optional<Refusal> ReadScanMDC(const std::string& text, PlanUnit& unit) {
    const auto mdc = StrictNumber(text);
    if (!mdc) return field::Message(RefusalKind::ScanMDCUnusable);
    if (auto refusal = ScanMDCRefusal(*mdc)) return refusal;
    unit.field.scan_mdc = *mdc;
    return std::nullopt;
}

std::optional<Refusal> ReadAreaFactors(const std::string& text, PlanUnit& unit) {
    const auto table = ParseAreaFactors(text);
    if (!table) return field::Message(RefusalKind::AreaFactorsTextUnusable);
    if (auto refusal = AreaFactorTableRefusal(*table)) return refusal;
    unit.field.area_factors = *table;
    return std::nullopt;
}

std::optional<FieldRefusal> Named(PlanField field, const std::optional<Refusal>& refusal) {
    if (!refusal) return std::nullopt;
    return FieldRefusal{field, *refusal};
}

std::optional<FieldRefusal> SizeRefusal(const UnitSize& size) {
    if (!size.width && !size.height) {
        const Outcome<UnitSize> checked = SizeFromArea(size.area);
        return checked ? std::nullopt : Named(PlanField::Area, checked.refusal());
    }
    if (!size.height) return Named(PlanField::Height, field::Message(RefusalKind::WidthWithoutHeight));
    if (!size.width) return Named(PlanField::Width, field::Message(RefusalKind::HeightWithoutWidth));
    const Outcome<UnitSize> checked = SizeFromRectangle(*size.width, *size.height);
    if (!checked) {
        const bool height_at_fault = SizeUsable(*size.width) && !SizeUsable(*size.height);
        return Named(height_at_fault ? PlanField::Height : PlanField::Width, checked.refusal());
    }
    // An area stored beside the sides must be theirs.
    if (checked->area != size.area) return Named(PlanField::Area, field::Message(RefusalKind::RectangleUnusable));
    return std::nullopt;
}

// An empty box clears the optional inputs (area, seed, scan MDC, area
// factors); the others read it as they read any text.
template <typename Input>
std::optional<Refusal> Cleared(Input& input) {
    input = Input{};
    return std::nullopt;
}

}  // namespace

std::optional<Refusal> ReadAreaText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    if (IsBlankText(text)) {
        unit.field.site.reset();
        return Cleared(unit.field.size);
    }
    return ReadArea(text, unit);
}

std::optional<Refusal> TakeBoundary(const Boundary& boundary, double area, PlanUnit& unit) {
    const Outcome<UnitSize> size = SizeFromArea(area);
    if (!size) return size.refusal();
    SiteGrid site = unit.field.site.value_or(SiteGrid{});
    site.boundary = boundary;
    unit.field.size = *size;
    unit.field.site = std::move(site);
    return std::nullopt;
}

std::optional<Refusal> ReadBoundaryText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    if (IsBlankText(text)) {
        // The area it gave stays, as a unit of that area without a drawing.
        unit.field.site.reset();
        return std::nullopt;
    }
    const auto typed = TypedBoundary(text, unit.field.site ? unit.field.site->boundary.crs : std::string());
    if (!typed) return typed.refusal();
    return TakeBoundary(typed->boundary, typed->area, unit);
}

std::optional<Refusal> ReadGridAngleText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    if (!unit.field.site) return NeedsBoundary(RefusalKind::GridAngleUnusable, "The grid angle");
    if (IsBlankText(text)) return Cleared(unit.field.site->angle);
    const auto number = StrictNumber(text);
    const Outcome<double> angle = CheckedGridAngle(number ? *number : NAN);
    if (!angle) return angle.refusal();
    unit.field.site->angle = *angle;
    return std::nullopt;
}

std::optional<Refusal> ReadOriginText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    if (!unit.field.site) return NeedsBoundary(RefusalKind::OriginUnusable, "The origin");
    if (IsBlankText(text)) return Cleared(unit.field.site->origin);
    const Outcome<GridPoint> origin = ReadOrigin(text);
    if (!origin) return origin.refusal();
    unit.field.site->origin = *origin;
    return std::nullopt;
}

std::optional<Refusal> ReadWidthText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    return ReadSide(PlanField::Width, text, unit);
}

std::optional<Refusal> ReadHeightText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    return ReadSide(PlanField::Height, text, unit);
}

std::optional<Refusal> ReadGridText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    const auto grid = GridTypeFromName(Trimmed(text));
    if (!grid) return field::Message(RefusalKind::GridTypeUnknown);
    unit.field.grid = *grid;
    return std::nullopt;
}

std::optional<Refusal> ReadSeedText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    if (IsBlankText(text)) return Cleared(unit.field.seed);
    const Outcome<std::uint64_t> seed = ReadSeed(text);
    if (!seed) return seed.refusal();
    unit.field.seed = *seed;
    return std::nullopt;
}

std::optional<Refusal> ReadScanMDCText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    if (IsBlankText(text)) return Cleared(unit.field.scan_mdc);
    return ReadScanMDC(text, unit);
}

std::optional<Refusal> ReadAreaFactorsText(const std::string& text, PlanUnit& unit, std::optional<Refusal>&) {
    if (IsBlankText(text)) return Cleared(unit.field.area_factors);
    return ReadAreaFactors(text, unit);
}

std::optional<Refusal> ReadNuclidesText(const std::string& text, PlanUnit& unit, std::optional<Refusal>& notice) {
    auto nuclides = ParseNuclideList(text);
    if (!nuclides) return field::Message(RefusalKind::NuclidesTextUnusable);
    return TakeNuclides(std::move(*nuclides), unit, notice);
}

std::optional<Refusal> SetByNuclidesRefusal(const PlanUnit& unit, PlanField field) {
    if (unit.nuclides.empty()) return std::nullopt;
    if (field == PlanField::DCGL) return field::Message(RefusalKind::DCGLOfNuclides);
    if (field == PlanField::Sigma) return field::Message(RefusalKind::SigmaOfNuclides);
    if (field == PlanField::LBGR && CombineNuclides(unit.nuclides).lbgr) {
        return field::Message(RefusalKind::LBGROfConcentrations);
    }
    return std::nullopt;
}

std::optional<Refusal> TakeNuclides(std::vector<Nuclide> nuclides, PlanUnit& unit, std::optional<Refusal>& notice) {
    if (auto refusal = NuclidesRefusal(nuclides)) return refusal;
    unit.nuclides = std::move(nuclides);
    // The LBGR now used must lie below the DCGL now used: 1, or the unit's
    // own once the list is cleared.
    const bool uses_own_lbgr = unit.nuclides.empty() || !CombineNuclides(unit.nuclides).lbgr;
    const double dcgl = unit.nuclides.empty() ? unit.dcgl : 1;
    if (uses_own_lbgr && !(unit.lbgr < dcgl)) {
        unit.lbgr = dcgl / 2;
        notice = rules::Message(RefusalKind::LBGRResetToHalf);
    }
    return std::nullopt;
}

std::optional<FieldRefusal> FieldInputsRefusal(const PlanUnit& unit) {
    const FieldSetup& setup = unit.field;
    if (setup.size) {
        if (auto refusal = SizeRefusal(*setup.size)) return refusal;
    }
    if (setup.seed && *setup.seed > field::kLargestSeed) {
        return FieldRefusal{PlanField::Seed, field::Message(RefusalKind::SeedUnusable)};
    }
    if (setup.scan_mdc) {
        if (auto refusal = ScanMDCRefusal(*setup.scan_mdc)) return FieldRefusal{PlanField::ScanMDC, *refusal};
    }
    if (!setup.area_factors.empty()) {
        if (auto refusal = AreaFactorTableRefusal(setup.area_factors)) {
            return FieldRefusal{PlanField::AreaFactors, *refusal};
        }
    }
    if (auto refusal = NuclidesRefusal(unit.nuclides)) return FieldRefusal{PlanField::Nuclides, *refusal};
    if (setup.site) {
        if (!setup.size || setup.size->width) {
            return FieldRefusal{PlanField::Boundary,
                                {RefusalKind::BoundaryEmpty, "A unit with a boundary has the boundary's area as its size.",
                                 MessageIcon::Exclamation}};
        }
        const Outcome<double> angle = CheckedGridAngle(setup.site->angle);
        if (!angle) return FieldRefusal{PlanField::GridAngle, angle.refusal()};
    }
    return std::nullopt;
}

}  // namespace valdris

namespace valdris {

std::optional<Refusal> ReadSizeTexts(const SizeTexts& texts, PlanUnit& unit) {
    const bool width = !IsBlankText(texts.width);
    const bool height = !IsBlankText(texts.height);
    if (width != height) {
        return field::Message(width ? RefusalKind::WidthWithoutHeight : RefusalKind::HeightWithoutWidth);
    }
    if (!width) {
        std::optional<Refusal> no_notice;
        return ReadAreaText(texts.area, unit, no_notice);
    }
    const auto w = StrictNumber(texts.width);
    const auto h = StrictNumber(texts.height);
    if (!w) return field::Message(RefusalKind::WidthUnusable);
    if (!h) return field::Message(RefusalKind::HeightUnusable);
    return TakeSize(SizeFromRectangle(*w, *h), unit);
}

std::optional<Refusal> ReadAreaFactorRows(const std::vector<AreaFactorTexts>& rows, PlanUnit& unit) {
    AreaFactorTable table;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const auto area = StrictNumber(rows[k].area);
        const auto factor = StrictNumber(rows[k].factor);
        std::optional<Refusal> refusal;
        if (!area) refusal = field::AreaFactorCellRefusal(k + 1, "area", rows[k].area);
        else if (!factor) refusal = field::AreaFactorCellRefusal(k + 1, "factor", rows[k].factor);
        if (refusal) return refusal;
        table.push_back({*area, *factor});
    }
    if (!table.empty()) {
        if (auto refusal = AreaFactorTableRefusal(table)) return refusal;
    }
    unit.field.area_factors = std::move(table);
    return std::nullopt;
}

// A cell that is not a number is refused with the rule's own message for
// that radionuclide's field.
std::optional<Refusal> ReadNuclideRows(const std::vector<NuclideTexts>& rows, PlanUnit& unit,
                                       std::optional<Refusal>& notice) {
    std::vector<Nuclide> nuclides;
    for (const NuclideTexts& row : rows) {
        Nuclide nuclide{Trimmed(row.name), 0, 0, std::nullopt};
        const auto dcgl = StrictNumber(row.dcgl);
        const auto sigma = StrictNumber(row.sigma);
        const auto concentration = StrictNumber(row.concentration);
        std::optional<Refusal> refusal;
        if (nuclide.name.empty()) refusal = field::Message(RefusalKind::NuclideNameMissing);
        else if (!dcgl) refusal = field::NuclideDCGLRefusal(nuclide.name);
        else if (!sigma) refusal = field::NuclideSigmaRefusal(nuclide.name);
        else if (!concentration && !IsBlankText(row.concentration)) {
            refusal = field::NuclideConcentrationRefusal(nuclide.name);
        }
        if (refusal) return refusal;
        nuclide.dcgl = *dcgl;
        nuclide.sigma = *sigma;
        nuclide.concentration = concentration;
        nuclides.push_back(std::move(nuclide));
    }
    return TakeNuclides(std::move(nuclides), unit, notice);
}

std::optional<Refusal> TakeSeed(std::uint64_t seed, PlanUnit& unit) {
    if (seed > field::kLargestSeed) return field::Message(RefusalKind::SeedUnusable);
    unit.field.seed = seed;
    return std::nullopt;
}

}  // namespace valdris
