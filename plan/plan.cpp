// SPDX-License-Identifier: Apache-2.0
#include "plan.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

#include "number_text.h"
#include "typed_numbers.h"

namespace valdris {
namespace {

PlanEditResult Taken(std::optional<Refusal> notice = std::nullopt) { return PlanStep{std::move(notice)}; }
PlanEditResult Refused(Refusal refusal) { return PlanEditResult(std::move(refusal)); }
PlanEditResult Refused() { return Refused(Refusal{RefusalKind::NoChange, std::string()}); }

}  // namespace

bool CarriesFieldWork(const PlanUnit& unit) {
    const FieldSetup& field = unit.field;
    return !unit.survey_data.empty() || !unit.reference_data.empty() || field.size || field.seed || field.scan_mdc ||
           !field.area_factors.empty();
}

std::optional<Refusal> MessageOf(const PlanEditResult& result) {
    if (result) return result->notice;
    if (result.refusal().kind == RefusalKind::NoChange) return std::nullopt;
    return result.refusal();
}

std::string DataTitle(UnitData which) {
    return which == UnitData::Survey ? "Survey Unit Data" : "Reference Area Data";
}

PlanEntry MakeEntry(PlanUnit unit, DesignFigures figures) {
    std::optional<AssessmentRun> assessment = AssessUnit(unit, figures);
    Outcome<FieldFigures> field = ComputeUnitField(unit, figures);
    FieldFigures field_figures;
    if (field) {
        field_figures = std::move(*field);
    } else {
        field_figures.samples = figures.n;
    }
    // Values above DCGL_EMC are the first to investigate, each against the
    // DCGL_EMC its area is compared with on the page.
    if (assessment && *assessment) {
        const PlacedAssessment placed = PlaceUnitMeasurements(unit, field_figures, figures.state.DCGL);
        MarkAboveDCGLEMC(**assessment, UnitDCGLEMCs(unit, field_figures, placed));
    }
    figures = WithFinalN(std::move(figures), unit.costs, field_figures.samples);
    return {std::move(unit), std::move(figures), std::move(assessment), std::move(field_figures)};
}

SurveyPlan::SurveyPlan(std::vector<PlanEntry> entries, SampleCosts default_costs)
    : entries_(std::move(entries)), default_costs_(std::move(default_costs)) {
    for (PlanEntry& entry : entries_) entry.id = next_id_++;
}

std::optional<std::size_t> SurveyPlan::RowOf(UnitId id) const {
    for (std::size_t row = 0; row < entries_.size(); ++row) {
        if (entries_[row].id == id) return row;
    }
    return std::nullopt;
}

void SurveyPlan::Notify(PlanChangeKind kind, std::size_t row, std::size_t to_row) {
    if (listener_) listener_({kind, row, to_row});
}

// A new step drops the steps that were undone, and a saved state among them
// can no longer be reached.
void SurveyPlan::Perform(Command command) {
    history_.resize(done_);
    if (saved_ && *saved_ > done_) saved_.reset();
    history_.push_back(std::move(command));
    ++done_;
    Apply(history_.back(), true);
}

void SurveyPlan::Apply(const Command& command, bool forward) {
    using Kind = Command::Kind;
    const bool inserting = (command.kind == Kind::Insert) == forward;
    switch (command.kind) {
        case Kind::Insert:
        case Kind::Remove: {
            const auto at = entries_.begin() + static_cast<std::ptrdiff_t>(command.row);
            if (inserting) {
                entries_.insert(at, command.kind == Kind::Insert ? *command.after : *command.before);
            } else {
                entries_.erase(at);
            }
            Notify(inserting ? PlanChangeKind::Inserted : PlanChangeKind::Removed, command.row);
            break;
        }
        case Kind::Move: {
            const std::size_t from = forward ? command.row : command.to_row;
            const std::size_t to = forward ? command.to_row : command.row;
            std::swap(entries_[from], entries_[to]);
            Notify(PlanChangeKind::Moved, from, to);
            break;
        }
        case Kind::Replace:
            entries_[command.row] = forward ? *command.after : *command.before;
            Notify(PlanChangeKind::Changed, command.row);
            break;
        case Kind::Defaults:
            default_costs_ = forward ? command.costs_after : command.costs_before;
            Notify(PlanChangeKind::DefaultsChanged, 0);
            break;
        case Kind::Group:
            if (forward) {
                for (const Command& part : command.parts) Apply(part, true);
            } else {
                for (auto part = command.parts.rbegin(); part != command.parts.rend(); ++part) Apply(*part, false);
            }
            break;
    }
}

PlanEditResult SurveyPlan::PerformGroup(std::string name, std::vector<Command> parts) {
    if (parts.empty()) return Refused();
    if (parts.size() == 1) {
        parts.front().name = std::move(name);
        Perform(std::move(parts.front()));
        return Taken();
    }
    Command command;
    command.kind = Command::Kind::Group;
    command.name = std::move(name);
    command.parts = std::move(parts);
    Perform(std::move(command));
    return Taken();
}

Outcome<SurveyPlan::Command, Refusal> SurveyPlan::Replacement(std::size_t row, PlanUnit unit) const {
    if (auto refusal = UnitDataRefusal(unit)) return *refusal;
    Outcome<DesignFigures, FieldRefusal> check = CheckUnit(unit);
    if (!check) return check.refusal().refusal;
    Command command;
    command.kind = Command::Kind::Replace;
    command.row = row;
    command.before = entries_[row];
    command.after = MakeEntry(std::move(unit), std::move(*check));
    command.after->id = entries_[row].id;
    return command;
}

PlanEditResult SurveyPlan::Add(PlanUnit unit) {
    if (!unit.costs.Given()) unit.costs = default_costs_;
    if (auto refusal = UnitDataRefusal(unit)) return Refused(std::move(*refusal));
    Outcome<DesignFigures, FieldRefusal> check = CheckUnit(unit);
    if (!check) return Refused(check.refusal().refusal);
    Command command;
    command.kind = Command::Kind::Insert;
    command.name = "Add Unit";
    command.row = entries_.size();
    command.after = Numbered(MakeEntry(std::move(unit), std::move(*check)));
    Perform(std::move(command));
    return Taken();
}

PlanEditResult SurveyPlan::Duplicate(std::size_t row) {
    if (row >= entries_.size()) return Refused();
    PlanEntry copy = entries_[row];
    copy.unit.name += " (copy)";
    Command command;
    command.kind = Command::Kind::Insert;
    command.name = "Duplicate Unit";
    command.row = row + 1;
    command.after = Numbered(std::move(copy));
    Perform(std::move(command));
    return Taken();
}

PlanEditResult SurveyPlan::Remove(std::size_t row) {
    if (row >= entries_.size()) return Refused();
    Command command;
    command.kind = Command::Kind::Remove;
    command.name = "Delete Unit";
    command.row = row;
    command.before = entries_[row];
    Perform(std::move(command));
    return Taken();
}

// Rows go last first, so that each part's row is where it was when the
// part was made.
PlanEditResult SurveyPlan::RemoveRows(const std::vector<std::size_t>& rows) {
    std::vector<std::size_t> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.empty() || sorted.back() >= entries_.size()) return Refused();
    std::vector<Command> parts;
    for (auto row = sorted.rbegin(); row != sorted.rend(); ++row) {
        Command command;
        command.kind = Command::Kind::Remove;
        command.row = *row;
        command.before = entries_[*row];
        parts.push_back(std::move(command));
    }
    std::string name = parts.size() == 1 ? "Delete Unit" : "Delete Units";
    return PerformGroup(std::move(name), std::move(parts));
}

PlanEditResult SurveyPlan::MoveUp(std::size_t row) {
    if (row == 0 || row >= entries_.size()) return Refused();
    Command command;
    command.kind = Command::Kind::Move;
    command.name = "Move Up";
    command.row = row;
    command.to_row = row - 1;
    Perform(std::move(command));
    return Taken();
}

PlanEditResult SurveyPlan::MoveDown(std::size_t row) {
    if (row + 1 >= entries_.size()) return Refused();
    Command command;
    command.kind = Command::Kind::Move;
    command.name = "Move Down";
    command.row = row;
    command.to_row = row + 1;
    Perform(std::move(command));
    return Taken();
}

// The figures of a changed unit are computed here, once, and kept in the
// step, so undo and redo compute nothing.
PlanEditResult SurveyPlan::ReplaceEntry(std::size_t row, std::string name, PlanUnit unit,
                                        std::optional<Refusal> notice) {
    if (auto refusal = UnitDataRefusal(unit)) return Refused(std::move(*refusal));
    Outcome<DesignFigures, FieldRefusal> check = CheckUnit(unit);
    if (!check) return Refused(check.refusal().refusal);
    Command command;
    command.kind = Command::Kind::Replace;
    command.name = std::move(name);
    command.row = row;
    command.before = entries_[row];
    command.after = MakeEntry(std::move(unit), std::move(*check));
    command.after->id = entries_[row].id;
    Perform(std::move(command));
    return Taken(std::move(notice));
}

PlanEditResult SurveyPlan::Rename(std::size_t row, const std::string& name) {
    if (row >= entries_.size()) return Refused();
    PlanUnit unit = entries_[row].unit;
    unit.name = name;
    return ReplaceEntry(row, "Rename", std::move(unit), std::nullopt);
}

PlanEditResult SurveyPlan::Edit(std::size_t row, PlanField field, const std::string& text) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "Edit " + std::string(FieldRow(field).title),
                     EditUnit(entries_[row].unit, field, PointedText(field, text, decimal_comma_)));
}

PlanEditResult SurveyPlan::SetLBGR(std::size_t row, double lbgr) {
    if (row >= entries_.size()) return Refused();
    if (auto refusal = LBGRSetRefusal(entries_[row].unit, lbgr)) return Refused(std::move(*refusal));
    PlanUnit unit = entries_[row].unit;
    unit.lbgr = lbgr;
    return ReplaceEntry(row, "Set LBGR", std::move(unit), std::nullopt);
}

PlanEditResult SurveyPlan::Replace(std::size_t row, const PlanUnit& unit) {
    if (row >= entries_.size()) return Refused();
    return ReplaceEntry(row, "Edit Unit", unit, std::nullopt);
}

PlanEditResult SurveyPlan::SetData(std::size_t row, UnitData which, std::string_view text, const std::string& column,
                                   const ReadProgress& progress) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "Set " + DataTitle(which), EditUnitData(entries_[row].unit, which, text, column, progress));
}

PlanEditResult SurveyPlan::ClearData(std::size_t row, UnitData which) {
    if (row >= entries_.size()) return Refused();
    PlanUnit unit = entries_[row].unit;
    MeasurementSet& data = MeasurementsOf(unit, which);
    if (data.empty()) return Refused();
    data = MeasurementSet();
    return ReplaceEntry(row, "Clear " + DataTitle(which), std::move(unit), std::nullopt);
}

PlanEditResult SurveyPlan::SetPlacedData(std::size_t row, std::string_view text, const std::string& column,
                                         const PlaceColumns& place, const ReadProgress& progress) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "Set " + DataTitle(UnitData::Survey),
                     EditUnitPlacedData(entries_[row].unit, text, column, place, progress));
}

// A text that is no number is refused by the size rule's own message.
PlanEditResult SurveyPlan::SetElevatedAreaSize(std::size_t row, const std::string& location,
                                               const std::string& text) {
    if (row >= entries_.size()) return Refused();
    const std::string pointed = PointedText(PlanField::Area, text, decimal_comma_);
    std::optional<double> size;
    if (pointed.find_first_not_of(" \t\r\n") != std::string::npos) {
        size = StrictNumber(pointed).value_or(std::numeric_limits<double>::quiet_NaN());
    }
    const std::map<std::string, double>& sizes = entries_[row].unit.elevated_area_sizes;
    const auto now = sizes.find(location);
    if (now == sizes.end() ? !size : (size && *size == now->second)) return Refused();
    return ApplyEdit(row, "Edit Area Size", EditElevatedAreaSize(entries_[row].unit, location, size));
}

PlanEditResult SurveyPlan::ApplyEdit(std::size_t row, std::string name, UnitEdit edit) {
    if (!edit) return Refused(edit.refusal());
    return ReplaceEntry(row, std::move(name), std::move(edit->unit), std::move(edit->notice));
}

PlanEditResult SurveyPlan::SetSize(std::size_t row, const SizeTexts& texts) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "Edit Size", EditUnitSize(entries_[row].unit, PointedSize(texts, decimal_comma_)));
}

PlanEditResult SurveyPlan::SetAreaFactors(std::size_t row, const std::vector<AreaFactorTexts>& rows) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "Edit " + std::string(FieldRow(PlanField::AreaFactors).title),
                     EditUnitAreaFactors(entries_[row].unit, PointedAreaFactors(rows, decimal_comma_)));
}

PlanEditResult SurveyPlan::SetNuclides(std::size_t row, const std::vector<NuclideTexts>& rows) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "Edit " + std::string(FieldRow(PlanField::Nuclides).title),
                     EditUnitNuclides(entries_[row].unit, PointedNuclides(rows, decimal_comma_)));
}

PlanEditResult SurveyPlan::SetBoundary(std::size_t row, const Boundary& boundary, double area) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "Import Boundary", EditUnitBoundary(entries_[row].unit, boundary, area));
}

// Every unit is checked before any is added, so that a refusal adds none.
PlanEditResult SurveyPlan::AddBoundaryUnits(std::size_t row, const std::vector<NamedBoundary>& boundaries) {
    if (row >= entries_.size() || boundaries.empty()) return Refused();
    PlanUnit model = entries_[row].unit;
    model.survey_data = MeasurementSet();
    model.reference_data = MeasurementSet();
    model.elevated_area_sizes.clear();
    const auto named = [](const std::string& name, const Refusal& refusal) {
        return Refused(Refusal{refusal.kind, name + ": " + refusal.text, refusal.icon});
    };
    std::vector<PlanEntry> made;
    for (const NamedBoundary& each : boundaries) {
        PlanUnit unit = model;
        unit.name = each.name;
        UnitEdit edit = EditUnitBoundary(unit, each.boundary, each.area);
        if (!edit) return named(each.name, edit.refusal());
        Outcome<DesignFigures, FieldRefusal> check = CheckUnit(edit->unit);
        if (!check) return named(each.name, check.refusal().refusal);
        made.push_back(MakeEntry(std::move(edit->unit), std::move(*check)));
    }
    std::vector<Command> parts;
    for (PlanEntry& entry : made) {
        Command command;
        command.kind = Command::Kind::Insert;
        command.row = entries_.size() + parts.size();
        command.after = Numbered(std::move(entry));
        parts.push_back(std::move(command));
    }
    return PerformGroup(parts.size() == 1 ? "Add Unit" : "Add Units", std::move(parts));
}

PlanEditResult SurveyPlan::NewSeed(std::size_t row, const std::function<std::uint64_t()>& draw) {
    if (row >= entries_.size()) return Refused();
    return ApplyEdit(row, "New Seed", EditUnitSeed(entries_[row].unit, draw()));
}

PlanEditResult SurveyPlan::ClearField(std::size_t row) {
    if (row >= entries_.size()) return Refused();
    PlanUnit unit = entries_[row].unit;
    const FieldSetup none;
    const FieldSetup& now = unit.field;
    if (!now.size && now.grid == none.grid && !now.seed && !now.scan_mdc && now.area_factors.empty()) {
        return Refused();
    }
    unit.field = none;
    return ReplaceEntry(row, "Clear Field Inputs", std::move(unit), std::nullopt);
}

PlanEditResult SurveyPlan::SetDefaultCosts(const SampleCosts& costs) {
    for (const auto& cost : {costs.fixed, costs.per_sample}) {
        if (cost) {
            if (auto refusal = CostRefusal(*cost)) return Refused(std::move(*refusal));
        }
    }
    Command command;
    command.kind = Command::Kind::Defaults;
    command.name = "Default Costs";
    command.costs_before = default_costs_;
    command.costs_after = costs;
    Perform(std::move(command));
    return Taken();
}

// The defaults obey the rule of a unit's costs, so they are read as a
// unit's cost fields are.
Outcome<SampleCosts, Refusal> SurveyPlan::ReadCosts(const std::string& fixed, const std::string& per_sample) const {
    PlanUnit costs;
    for (const auto& [field, text] : {std::pair{PlanField::CostFixed, &fixed}, {PlanField::CostPerSample, &per_sample}}) {
        UnitEdit edit = EditUnit(costs, field, PointedText(field, *text, decimal_comma_));
        if (!edit) return edit.refusal();
        costs = std::move(edit->unit);
    }
    return costs.costs;
}

PlanEditResult SurveyPlan::SetDefaultCosts(const std::string& fixed, const std::string& per_sample) {
    Outcome<SampleCosts, Refusal> costs = ReadCosts(fixed, per_sample);
    if (!costs) return Refused(costs.refusal());
    if (*costs == default_costs_) return Refused();
    return SetDefaultCosts(*costs);
}

PlanEditResult SurveyPlan::SetDefaultCostsForAll(const std::string& fixed, const std::string& per_sample) {
    Outcome<SampleCosts, Refusal> costs = ReadCosts(fixed, per_sample);
    if (!costs) return Refused(costs.refusal());
    std::vector<Command> parts;
    if (!(*costs == default_costs_)) {
        Command defaults;
        defaults.kind = Command::Kind::Defaults;
        defaults.costs_before = default_costs_;
        defaults.costs_after = *costs;
        parts.push_back(std::move(defaults));
    }
    for (std::size_t row = 0; row < entries_.size(); ++row) {
        if (entries_[row].unit.costs == *costs) continue;
        PlanUnit unit = entries_[row].unit;
        unit.costs = *costs;
        Outcome<Command, Refusal> part = Replacement(row, std::move(unit));
        if (!part) return Refused(part.refusal());
        parts.push_back(std::move(*part));
    }
    return PerformGroup("Default Costs", std::move(parts));
}

PlanEditResult SurveyPlan::SetCosts(const std::vector<std::size_t>& rows, const std::optional<std::string>& fixed,
                                    const std::optional<std::string>& per_sample) {
    Outcome<SampleCosts, Refusal> costs = ReadCosts(fixed.value_or(""), per_sample.value_or(""));
    if (!costs) return Refused(costs.refusal());
    std::vector<Command> parts;
    for (const std::size_t row : rows) {
        if (row >= entries_.size()) return Refused();
        PlanUnit unit = entries_[row].unit;
        if (fixed) unit.costs.fixed = costs->fixed;
        if (per_sample) unit.costs.per_sample = costs->per_sample;
        if (unit.costs == entries_[row].unit.costs) continue;
        Outcome<Command, Refusal> part = Replacement(row, std::move(unit));
        if (!part) return Refused(part.refusal());
        parts.push_back(std::move(*part));
    }
    return PerformGroup("Unit Costs", std::move(parts));
}

PlanEditResult SurveyPlan::ClearField(const std::vector<std::size_t>& rows, PlanField field) {
    const PlanFieldRow& declared = FieldRow(field);
    if (declared.required) {
        return Refused(Refusal{RefusalKind::CellRequired,
                               std::string(declared.title) + " cannot be empty. To remove a unit, use Unit, Delete Unit.",
                               MessageIcon::Information});
    }
    std::vector<Command> parts;
    for (const std::size_t row : rows) {
        if (row >= entries_.size()) return Refused();
        UnitEdit edit = EditUnit(entries_[row].unit, field, std::string());
        if (!edit) return Refused(edit.refusal());
        if (declared.empty && declared.empty(entries_[row].unit)) continue;  // nothing to clear
        Outcome<Command, Refusal> part = Replacement(row, std::move(edit->unit));
        if (!part) return Refused(part.refusal());
        parts.push_back(std::move(*part));
    }
    return PerformGroup("Clear " + std::string(declared.title), std::move(parts));
}

std::optional<PlanEditResult> SurveyPlan::EditFieldBox(std::size_t row, PlanField field, const std::string& text,
                                                       const SizeTexts& size) {
    if (row >= entries_.size()) return Refused();
    const PlanUnit& unit = entries_[row].unit;
    const bool side = field == PlanField::Width || field == PlanField::Height;
    if (side && !(unit.field.size && unit.field.size->width)) {
        if (size.width.empty() || size.height.empty()) return std::nullopt;
        return SetSize(row, {std::string(), size.width, size.height});
    }
    return Edit(row, field, text);
}

bool SurveyPlan::Undo() {
    if (!CanUndo()) return false;
    --done_;
    Apply(history_[done_], false);
    return true;
}

// The step count moves before the rows do, so that a listener asking about
// undo, redo or unsaved changes hears the new state.
bool SurveyPlan::Redo() {
    if (!CanRedo()) return false;
    ++done_;
    Apply(history_[done_ - 1], true);
    return true;
}

std::string SurveyPlan::UndoName() const { return CanUndo() ? history_[done_ - 1].name : std::string(); }
std::string SurveyPlan::RedoName() const { return CanRedo() ? history_[done_].name : std::string(); }

}  // namespace valdris
