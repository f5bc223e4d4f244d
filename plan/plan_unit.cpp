// SPDX-License-Identifier: Apache-2.0
#include "plan_unit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "assessment_texts.h"
#include "elevated_comparison.h"
#include "measurement_join.h"
#include "field_messages.h"
#include "measurement_text.h"
#include "number_text.h"
#include "plan_unit_field.h"
#include "site_field.h"
#include "text_forms.h"
#include "scan_mdc_units.h"

namespace valdris {
namespace {

const Refusal kTestUnknown{RefusalKind::TestUnknown, "The test must be Sign or WRS.", MessageIcon::Exclamation};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A cell is read whole: taking its leading number would make "2,5" a DCGL
// of 2 and change the design without a word.
const Refusal kNotOneNumberRefusal{RefusalKind::CellNotOneNumber, kNotOneNumber, MessageIcon::Exclamation};

UnitEdit Refused(Refusal refusal) { return UnitEdit(std::move(refusal)); }

// Each text rule below is the field's own, as the design window applies it
// when the box is left; all share one form so that the field table can hold
// them. `Notice` is set by a rule that adjusts another input.
using Notice = std::optional<Refusal>;

std::optional<Refusal> ReadName(const std::string& text, PlanUnit& unit, Notice&) {
    unit.name = text;
    return std::nullopt;
}

std::optional<Refusal> ReadRadionuclide(const std::string& text, PlanUnit& unit, Notice&) {
    unit.radionuclide = text;
    return std::nullopt;
}

std::optional<Refusal> ReadTest(const std::string& text, PlanUnit& unit, Notice&) {
    std::string test = Lower(Trimmed(text));
    if (test.size() > 5 && test.compare(test.size() - 5, 5, " test") == 0) test.erase(test.size() - 5);
    if (test != "sign" && test != "wrs") return kTestUnknown;
    unit.test = test == "sign" ? TestKind::Sign : TestKind::WRS;
    return std::nullopt;
}

std::optional<Refusal> ReadAlpha(const std::string& text, PlanUnit& unit, Notice&) {
    const auto typed = StrictNumber(text);
    if (!typed) return kNotOneNumberRefusal;
    const float alpha = ToSingle(*typed);
    if (auto refusal = rules::DecisionErrorRefusal(alpha, unit.beta, rules::DecisionError::Alpha)) return refusal;
    unit.alpha = alpha;
    return std::nullopt;
}

std::optional<Refusal> ReadBeta(const std::string& text, PlanUnit& unit, Notice&) {
    const auto typed = StrictNumber(text);
    if (!typed) return kNotOneNumberRefusal;
    const float beta = ToSingle(*typed);
    if (auto refusal = rules::DecisionErrorRefusal(unit.alpha, beta, rules::DecisionError::Beta)) return refusal;
    unit.beta = beta;
    return std::nullopt;
}

std::optional<Refusal> ReadSigma(const std::string& text, PlanUnit& unit, Notice&) {
    const auto sigma = StrictNumber(text);
    if (!sigma) return kNotOneNumberRefusal;
    if (auto refusal = rules::SigmaRefusal(ToSingle(*sigma), unit.dcgl)) return refusal;
    unit.sigma = ToSingle(*sigma);
    return std::nullopt;
}

std::optional<Refusal> ReadDCGL(const std::string& text, PlanUnit& unit, Notice& notice) {
    const auto dcgl = StrictNumber(text);
    if (!dcgl) return kNotOneNumberRefusal;
    if (auto refusal = rules::DCGLRefusal(*dcgl)) return refusal;
    if (*dcgl < unit.lbgr) {
        unit.lbgr = *dcgl / 2;
        notice = rules::Message(RefusalKind::LBGRResetToHalf);
    }
    unit.dcgl = *dcgl;
    return std::nullopt;
}

std::optional<Refusal> ReadLBGR(const std::string& text, PlanUnit& unit, Notice&) {
    const auto lbgr = StrictNumber(text);
    if (!lbgr) return kNotOneNumberRefusal;
    if (auto refusal = LBGRSetRefusal(unit, *lbgr)) return refusal;
    unit.lbgr = *lbgr;
    return std::nullopt;
}

// A whole number of 1 or more, or empty for none.
std::optional<Refusal> ReadGivenSize(const std::string& text, PlanUnit& unit, Notice&) {
    if (Trimmed(text).empty()) {
        unit.given_n.reset();
        return std::nullopt;
    }
    const Outcome<int32_t> n = GivenSizeFromText(text);
    if (!n) return n.refusal();
    unit.given_n = *n;
    return std::nullopt;
}

std::optional<Refusal> ReadCost(const std::string& text, std::optional<double>& cost) {
    if (Trimmed(text).empty()) {
        cost.reset();
        return std::nullopt;
    }
    const Outcome<double> value = CostFromText(text);
    if (!value) return value.refusal();
    cost = *value;
    return std::nullopt;
}

std::optional<Refusal> ReadCostFixed(const std::string& text, PlanUnit& unit, Notice&) {
    return ReadCost(text, unit.costs.fixed);
}

std::optional<Refusal> ReadCostPerSample(const std::string& text, PlanUnit& unit, Notice&) {
    return ReadCost(text, unit.costs.per_sample);
}

// One row per field, in the order of PlanField; a new field adds its row
// here and its key's reader and writer in the plan file.
constexpr PlanFieldRow kPlanFields[] = {
    {PlanField::Name, "Name", "name", true, false, ReadName},
    {PlanField::Radionuclide, "Radionuclide", "radionuclide", true, false, ReadRadionuclide},
    {PlanField::Test, "Test", "test", true, false, ReadTest},
    {PlanField::Alpha, "Alpha", "alpha", true, true, ReadAlpha},
    {PlanField::Beta, "Beta", "beta", true, true, ReadBeta},
    {PlanField::Sigma, "Sigma", "sigma", true, true, ReadSigma},
    {PlanField::DCGL, "DCGL", "dcgl", true, true, ReadDCGL},
    {PlanField::LBGR, "LBGR", "lbgr", true, true, ReadLBGR},
    {PlanField::GivenN, "Given N", "n", false, true, ReadGivenSize,
     [](const PlanUnit& u) { return !u.given_n; }},
    {PlanField::CostFixed, "Fixed Cost", "cost_fixed", false, true, ReadCostFixed,
     [](const PlanUnit& u) { return !u.costs.fixed; }},
    {PlanField::CostPerSample, "Cost per Sample", "cost_per_sample", false, true, ReadCostPerSample,
     [](const PlanUnit& u) { return !u.costs.per_sample; }},
    {PlanField::Area, "Area", "area", false, true, ReadAreaText},
    {PlanField::Width, "Width", "width", false, true, ReadWidthText},
    {PlanField::Height, "Height", "height", false, true, ReadHeightText},
    {PlanField::Grid, "Grid", "grid", false, false, ReadGridText},
    {PlanField::Seed, "Seed", "seed", false, true, ReadSeedText},
    {PlanField::ScanMDC, "Scan MDC", "scan_mdc", false, true, ReadScanMDCText},
    {PlanField::AreaFactors, "Area Factors", "area_factors", false, false, ReadAreaFactorsText},
    {PlanField::Nuclides, "Radionuclides", "nuclides", false, false, ReadNuclidesText},
    {PlanField::Boundary, "Boundary", "boundary", false, false, ReadBoundaryText},
    {PlanField::GridAngle, "Grid Angle", "grid_angle", false, true, ReadGridAngleText},
    {PlanField::Origin, "Grid Origin", "origin", false, false, ReadOriginText},
};
static_assert(std::size(kPlanFields) == kPlanFieldCount, "one row per field");

std::optional<Refusal> ReadField(PlanField field, const std::string& text, PlanUnit& unit, Notice& notice) {
    if (auto refusal = SetByNuclidesRefusal(unit, field)) return refusal;
    return FieldRow(field).read(text, unit, notice);
}

// The design's refusal of a unit's inputs, named by the field it belongs to;
// with radionuclides, the sigma and (from concentrations) the LBGR are theirs.
PlanField RefusedField(const PlanUnit& unit, DesignInput input) {
    static constexpr PlanField kFieldOf[] = {PlanField::Alpha, PlanField::Beta, PlanField::Sigma, PlanField::DCGL,
                                             PlanField::LBGR};
    const PlanField field = kFieldOf[static_cast<int>(input)];
    return SetByNuclidesRefusal(unit, field) ? PlanField::Nuclides : field;
}

}  // namespace

const PlanFieldRow& FieldRow(PlanField field) { return kPlanFields[static_cast<int>(field)]; }

DesignInputs InputsOf(const PlanUnit& unit) {
    const DesignInputs own{unit.alpha, unit.beta, unit.sigma, unit.dcgl, unit.lbgr};
    const std::optional<SumOfFractions> sum = SumOfFractionsOf(unit);
    return sum ? SumOfFractionsInputs(own, *sum) : own;
}

std::optional<SumOfFractions> SumOfFractionsOf(const PlanUnit& unit) {
    if (unit.nuclides.empty()) return std::nullopt;
    return CombineNuclides(unit.nuclides);
}

std::string RadionuclideText(const PlanUnit& unit) {
    return unit.nuclides.empty() ? unit.radionuclide : NuclideListText(unit.nuclides);
}

std::optional<Refusal> LBGRSetRefusal(const PlanUnit& unit, double lbgr) {
    if (auto refusal = SetByNuclidesRefusal(unit, PlanField::LBGR)) return refusal;
    return rules::LBGRRefusal(lbgr, InputsOf(unit).dcgl);
}

Outcome<FieldFigures> ComputeUnitField(const PlanUnit& unit, const DesignFigures& figures) {
    const SetupInDesignUnits setup = ScanMDCInDesignUnits(unit.field, SumOfFractionsOf(unit));
    if (!setup) return setup.refusal();
    return ComputeSiteFigures(*setup, figures.n, figures.state.DCGL);
}

PlanUnit WithDesignInputs(PlanUnit unit, std::string radionuclide, TestKind test, const DesignSummary& state) {
    unit.test = test;
    unit.alpha = state.Alpha;
    unit.beta = state.Beta;
    // On radionuclides the window shows the sum of fractions: the unit keeps
    // its own text, DCGL and sigma, and takes the LBGR only as the fraction
    // it enters while the concentrations do not give it.
    if (!unit.nuclides.empty()) {
        if (!SetByNuclidesRefusal(unit, PlanField::LBGR)) unit.lbgr = state.LBGR;
        return unit;
    }
    unit.radionuclide = std::move(radionuclide);
    unit.sigma = state.Sigma;
    unit.dcgl = state.DCGL;
    unit.lbgr = state.LBGR;
    return unit;
}

// Without a seed no locations are laid out: the final N is all a row needs.
DesignFigures WithFieldSamples(const PlanUnit& unit, DesignFigures figures) {
    PlanUnit seedless = unit;
    seedless.field.seed.reset();
    const Outcome<FieldFigures> field = ComputeUnitField(seedless, figures);
    const int32_t final_n = field ? field->samples : figures.n;
    return WithFinalN(std::move(figures), unit.costs, final_n);
}

FiguresRun ComputeUnit(const PlanUnit& unit, CurveRoom* keep_curve) {
    return ComputeFigures(unit.test, InputsOf(unit), unit.given_n, unit.costs, kEngine, keep_curve);
}

Outcome<DesignFigures, FieldRefusal> CheckUnit(const PlanUnit& unit, CurveRoom* keep_curve) {
    auto refused = [](PlanField field, Refusal refusal) { return FieldRefusal{field, std::move(refusal)}; };
    if (unit.given_n) {
        if (auto refusal = GivenSizeRefusal(*unit.given_n)) return refused(PlanField::GivenN, *refusal);
    }
    if (unit.costs.fixed) {
        if (auto refusal = CostRefusal(*unit.costs.fixed)) return refused(PlanField::CostFixed, *refusal);
    }
    if (unit.costs.per_sample) {
        if (auto refusal = CostRefusal(*unit.costs.per_sample)) return refused(PlanField::CostPerSample, *refusal);
    }
    if (auto refusal = FieldInputsRefusal(unit)) return *refusal;
    FiguresRun run = ComputeUnit(unit, keep_curve);
    if (!run) return refused(RefusedField(unit, run.refusal().input), run.refusal().refusal);
    // The field figures too: a check that needs, or a grid that holds, more
    // samples than a plan lists refuses the unit.
    const Outcome<FieldFigures> in_field = ComputeUnitField(unit, *run);
    if (!in_field) {
        const Refusal& refusal = in_field.refusal();
        return refused(refusal.kind == RefusalKind::TooManyLocations ? PlanField::Area : PlanField::ScanMDC, refusal);
    }
    return std::move(*run);
}

namespace {

// The edited unit as a whole (CheckUnit), with the notice of its edit.
UnitEdit FinishEdit(PlanUnit edited, std::optional<Refusal> notice) {
    Outcome<DesignFigures, FieldRefusal> check = CheckUnit(edited);
    if (!check) return Refused(check.refusal().refusal);
    return EditedUnit{std::move(edited), std::move(*check), std::move(notice)};
}

}  // namespace

UnitEdit EditUnit(const PlanUnit& unit, PlanField field, const std::string& text) {
    PlanUnit edited = unit;
    std::optional<Refusal> notice;
    if (auto refusal = ReadField(field, text, edited, notice)) return Refused(*refusal);
    // A change that the field's own rule takes may still leave a unit with no
    // design (a DCGL below a tenth of sigma, a vanishing shift): refused too,
    // so a plan never holds a unit it could not read back.
    return FinishEdit(std::move(edited), std::move(notice));
}

UnitEdit EditUnitSize(const PlanUnit& unit, const SizeTexts& texts) {
    PlanUnit edited = unit;
    if (auto refusal = ReadSizeTexts(texts, edited)) return Refused(*refusal);
    return FinishEdit(std::move(edited), std::nullopt);
}

UnitEdit EditUnitAreaFactors(const PlanUnit& unit, const std::vector<AreaFactorTexts>& rows) {
    PlanUnit edited = unit;
    if (auto refusal = ReadAreaFactorRows(rows, edited)) return Refused(*refusal);
    return FinishEdit(std::move(edited), std::nullopt);
}

UnitEdit EditUnitNuclides(const PlanUnit& unit, const std::vector<NuclideTexts>& rows) {
    PlanUnit edited = unit;
    std::optional<Refusal> notice;
    if (auto refusal = ReadNuclideRows(rows, edited, notice)) return Refused(*refusal);
    return FinishEdit(std::move(edited), std::move(notice));
}

UnitEdit EditUnitSeed(const PlanUnit& unit, std::uint64_t seed) {
    PlanUnit edited = unit;
    if (auto refusal = TakeSeed(seed, edited)) return Refused(*refusal);
    return FinishEdit(std::move(edited), std::nullopt);
}

UnitEdit EditUnitBoundary(const PlanUnit& unit, const Boundary& boundary, double area) {
    PlanUnit edited = unit;
    if (auto refusal = TakeBoundary(boundary, area, edited)) return Refused(*refusal);
    return FinishEdit(std::move(edited), std::nullopt);
}

namespace {

const std::string& DataName(UnitData which) {
    return which == UnitData::Survey ? kSurveyDataName : kReferenceDataName;
}

}  // namespace

MeasurementSet& MeasurementsOf(PlanUnit& unit, UnitData which) {
    return which == UnitData::Survey ? unit.survey_data : unit.reference_data;
}

std::optional<Refusal> UnitDataRefusal(const std::vector<double>& values, UnitData which) {
    if (values.empty()) return std::nullopt;
    return MeasurementDataRefusal(values, DataName(which));
}

std::optional<Refusal> UnitDataRefusal(const PlanUnit& unit) {
    if (auto refusal = UnitDataRefusal(unit.survey_data, UnitData::Survey)) return refusal;
    return UnitDataRefusal(unit.reference_data, UnitData::Reference);
}

UnitEdit EditUnitData(const PlanUnit& unit, UnitData which, std::string_view text, const std::string& column,
                      const ReadProgress& progress) {
    MeasurementReading reading = ReadMeasurements(text, DataName(which), column, progress);
    if (!reading) return Refused(reading.refusal());
    PlanUnit edited = unit;
    MeasurementsOf(edited, which) = MeasurementSet(std::move(reading->values), std::move(reading->header));
    return FinishEdit(std::move(edited), std::nullopt);
}

namespace {

// What did not join, said as the measurements are taken: they count in the
// test all the same, and the user should know they lie at no location.
std::optional<Refusal> JoinNotice(const PlanUnit& unit, const DesignFigures& figures) {
    const Outcome<FieldFigures> field = ComputeUnitField(unit, figures);
    if (!field || !field->layout) return std::nullopt;
    const MeasurementSet& data = unit.survey_data;
    const Outcome<MeasurementJoin> join = data.ids().empty() ? JoinByPlace(data, data.places(), *field->layout)
                                                             : JoinById(data, data.ids(), *field->layout);
    if (!join) return Refusal{RefusalKind::MeasurementsNotJoined, join.message(), MessageIcon::Information};
    if (join->unmatched.empty()) return std::nullopt;
    return Refusal{RefusalKind::MeasurementsNotJoined, JoinLines(*join, data.size())[1], MessageIcon::Information};
}

}  // namespace

UnitEdit EditUnitPlacedData(const PlanUnit& unit, std::string_view text, const std::string& column,
                            const PlaceColumns& place, const ReadProgress& progress) {
    PlacedReading reading = ReadPlacedMeasurements(text, kSurveyDataName, column, place, progress);
    if (!reading) return Refused(reading.refusal());
    PlanUnit edited = unit;
    Measurements& read = reading->measurements;
    edited.survey_data = MeasurementSet(std::move(read.values), std::move(read.header),
                                        {std::move(reading->ids), std::move(reading->places)});
    UnitEdit edit = FinishEdit(std::move(edited), std::nullopt);
    if (edit) edit->notice = JoinNotice(edit->unit, edit->figures);
    return edit;
}

UnitEdit EditElevatedAreaSize(const PlanUnit& unit, const std::string& location, std::optional<double> size) {
    if (size) {
        if (auto refusal = ElevatedAreaSizeRefusal(*size)) return Refused(*refusal);
    }
    PlanUnit edited = unit;
    if (size) {
        edited.elevated_area_sizes[location] = *size;
    } else {
        edited.elevated_area_sizes.erase(location);
    }
    return FinishEdit(std::move(edited), std::nullopt);
}

std::optional<Refusal> PlacesRefusal(const MeasurementSet& data) {
    const auto refused = [](std::string text) {
        return Refusal{RefusalKind::MeasurementsNotJoined, kSurveyDataName + ": " + text, MessageIcon::Exclamation};
    };
    const std::vector<std::string>& ids = data.ids();
    const std::vector<GridPoint>& places = data.places();
    if (!ids.empty() && !places.empty()) return refused("give an id or a place for each measurement, not both.");
    const std::size_t given = ids.empty() ? places.size() : ids.size();
    if (given != 0 && given != data.size()) {
        return refused(std::to_string(given) + (ids.empty() ? " places" : " ids") + " for " +
                       std::to_string(data.size()) + " measurements.");
    }
    std::unordered_map<std::string_view, std::size_t> first;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i].empty()) return refused("measurement " + std::to_string(i + 1) + " has no id.");
        const auto [earlier, fresh] = first.emplace(ids[i], i);
        if (!fresh) {
            return refused("measurements " + std::to_string(earlier->second + 1) + " and " + std::to_string(i + 1) +
                           " have the same id.");
        }
    }
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (!std::isfinite(places[i].x) || !std::isfinite(places[i].y)) {
            return refused("the place of measurement " + std::to_string(i + 1) + " is not finite.");
        }
    }
    return std::nullopt;
}

std::optional<AssessmentRun> AssessUnit(const PlanUnit& unit, const DesignFigures& figures) {
    if (unit.survey_data.empty() && unit.reference_data.empty()) return std::nullopt;
    return AssessData(unit.test, figures.state, unit.survey_data, unit.reference_data);
}

PlacedAssessment PlaceUnitMeasurements(const PlanUnit& unit, const FieldFigures& field, double dcgl) {
    const MeasurementSet& data = unit.survey_data;
    return AssessPlaces({data.values(), data.ids(), data.places()}, unit.field, field, dcgl, unit.elevated_area_sizes);
}

std::vector<double> UnitDCGLEMCs(const PlanUnit& unit, const FieldFigures& field, const PlacedAssessment& placed) {
    return DCGLEMCOfEach(placed, unit.survey_data.size(), field.check ? field.check->dcgl_emc : 0);
}

PlanUnit UnitAtLBGR(PlanUnit unit, double lbgr) {
    unit.lbgr = lbgr;
    for (Nuclide& nuclide : unit.nuclides) nuclide.concentration.reset();
    return unit;
}

std::vector<BudgetRow> BudgetTable(const PlanUnit& unit) {
    const DesignInputs own = InputsOf(unit);
    std::vector<double> lbgrs;
    for (int tenth = 1; tenth <= 9; ++tenth) lbgrs.push_back(own.dcgl * tenth / 10);
    if (std::find(lbgrs.begin(), lbgrs.end(), own.lbgr) == lbgrs.end()) lbgrs.push_back(own.lbgr);
    std::sort(lbgrs.begin(), lbgrs.end());

    std::vector<BudgetRow> rows;
    for (const double lbgr : lbgrs) {
        const PlanUnit at_lbgr = UnitAtLBGR(unit, lbgr);
        FiguresRun run = ComputeUnit(at_lbgr);
        Outcome<DesignFigures> figures =
            run ? Outcome<DesignFigures>(WithFieldSamples(at_lbgr, std::move(*run))) : run.refusal().refusal;
        rows.push_back({lbgr, lbgr == own.lbgr, std::move(figures)});
    }
    return rows;
}

}  // namespace valdris
