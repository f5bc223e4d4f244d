// SPDX-License-Identifier: Apache-2.0
#pragma once
// The survey plan: the units of a site in order, each with its figures, and
// every change to them as a step that can be undone and redone. A change to
// one unit computes only that unit; listeners learn which rows changed.
//
// Beside it: plan_unit.h (a unit, the rules of an edit, the budget table),
// plan_figures.h (the figures of one design, given sizes and costs),
// plan_table.h (columns, cell texts, CSV) and plan_file.h (.vplan).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plan_figures.h"
#include "shared_optional.h"
#include "plan_unit.h"

namespace valdris {

// A unit's own number in its plan, kept while rows move around it and
// through undo and redo, so that what follows a unit (the design window)
// need not follow its row. Never 0 in a plan.
using UnitId = std::uint64_t;

struct PlanEntry {
    PlanUnit unit;
    DesignFigures figures;  // always those of unit
    // The verdict on the unit's measurements, by that design; nothing while
    // the unit has none. Build entries with MakeEntry so it is never stale.
    // Held apart: most units of a large site have no measurements yet.
    SharedOptional<AssessmentRun> assessment;
    // In the field, for that design: the elevated-area check, the final N
    // (field.samples; the design's N without a check) and the locations.
    FieldFigures field;
    UnitId id = 0;  // given by the plan
};

// The entry of a unit and its own figures, with the verdict on its data and
// its field figures (the unit must have passed CheckUnit, which refuses a
// unit whose field figures cannot be had).
PlanEntry MakeEntry(PlanUnit unit, DesignFigures figures);

// What one step did to the rows, for a table over the plan.
enum class PlanChangeKind { Inserted, Removed, Moved, Changed, DefaultsChanged };
struct PlanChange {
    PlanChangeKind kind;
    std::size_t row = 0;
    std::size_t to_row = 0;  // Moved only: where the row is now
};

// A command taken, with the notice it may leave. A refused one changed
// nothing and says why; a refusal of kind NoChange (a row out of range, a
// step that would change nothing) has nothing to say.
struct PlanStep {
    std::optional<Refusal> notice;
};
using PlanEditResult = Outcome<PlanStep>;
// What the step has to tell the user: its notice, or its refusal unless
// that has nothing to say.
std::optional<Refusal> MessageOf(const PlanEditResult& result);

class SurveyPlan {
public:
    SurveyPlan() = default;
    // Entries whose figures were computed from their units (the file reader).
    SurveyPlan(std::vector<PlanEntry> entries, SampleCosts default_costs);

    std::size_t size() const { return entries_.size(); }
    const PlanEntry& entry(std::size_t row) const { return entries_.at(row); }
    const std::vector<PlanEntry>& entries() const { return entries_; }
    // The row of the unit with that id; nothing once it is no longer there.
    std::optional<std::size_t> RowOf(UnitId id) const;
    // The costs a new unit gets when it brings none of its own.
    const SampleCosts& default_costs() const { return default_costs_; }

    // --- Commands: each one step of the undo history. A row out of range
    // refuses with no message.
    PlanEditResult Add(PlanUnit unit);  // at the end
    PlanEditResult Duplicate(std::size_t row);  // the copy right below, named "<name> (copy)"
    PlanEditResult Remove(std::size_t row);
    // Several rows removed as one step ("Delete Units" when more than one).
    PlanEditResult RemoveRows(const std::vector<std::size_t>& rows);
    PlanEditResult MoveUp(std::size_t row);
    PlanEditResult MoveDown(std::size_t row);
    PlanEditResult Rename(std::size_t row, const std::string& name);
    PlanEditResult Edit(std::size_t row, PlanField field, const std::string& text);
    PlanEditResult SetLBGR(std::size_t row, double lbgr);  // a row of the budget table
    PlanEditResult Replace(std::size_t row, const PlanUnit& unit);  // the design window's inputs
    PlanEditResult SetDefaultCosts(const SampleCosts& costs);
    // The defaults from the texts of the costs dialog, each read by the rule
    // of a unit's cost (blank for none); refused with no message when they
    // are the defaults already.
    PlanEditResult SetDefaultCosts(const std::string& fixed, const std::string& per_sample);
    // The same, and every unit given those costs too, all as one step.
    PlanEditResult SetDefaultCostsForAll(const std::string& fixed, const std::string& per_sample);
    // The costs of several units as one step; a cost not given (nothing)
    // stays each unit's own. Refused with no message when nothing changes.
    PlanEditResult SetCosts(const std::vector<std::size_t>& rows, const std::optional<std::string>& fixed,
                            const std::optional<std::string>& per_sample);
    // One field of several units emptied as one step (an empty given N
    // means the designed one); refused, naming the field, when the field
    // cannot be empty.
    PlanEditResult ClearField(const std::vector<std::size_t>& rows, PlanField field);
    // One set of the unit's measurements from pasted text or a file's text
    // (the column its header names, when given); a refusal names the line
    // and keeps the data the unit had, as does a reading `progress` stopped.
    PlanEditResult SetData(std::size_t row, UnitData which, std::string_view text, const std::string& column = {},
                           const ReadProgress& progress = {});
    // The unit has none of that set again; refused (no step) when it had none.
    PlanEditResult ClearData(std::size_t row, UnitData which);
    // The survey measurements read with where each was taken (an id column,
    // or x and y columns); taken, the notice names those joined to no location.
    PlanEditResult SetPlacedData(std::size_t row, std::string_view text, const std::string& column,
                                 const PlaceColumns& place, const ReadProgress& progress = {});
    // The investigated size (m2) of the elevated area at the location; a
    // blank text gives it back its default. Refused (no step) when unchanged.
    PlanEditResult SetElevatedAreaSize(std::size_t row, const std::string& location, const std::string& text);

    // The unit in the field. Edit takes the panel's single boxes (Area,
    // Width, Height, Grid, Seed, ScanMDC) and the tables in their one-line
    // forms (AreaFactors, Nuclides); these take the rest. Each is one step;
    // a refusal names the field and keeps the unit as it was. A unit that
    // is wholly new (a file, the design window) goes through Replace, which
    // applies the same rules to its values.
    PlanEditResult SetSize(std::size_t row, const SizeTexts& texts);
    // One box of the field panel left with its text, the panel's size boxes
    // beside it: a width or a height alone waits (nothing, no step) for the
    // other while the unit has no rectangle, then both go in as the size;
    // the area replaces a rectangle.
    std::optional<PlanEditResult> EditFieldBox(std::size_t row, PlanField field, const std::string& text,
                                               const SizeTexts& size);
    PlanEditResult SetAreaFactors(std::size_t row, const std::vector<AreaFactorTexts>& rows);
    PlanEditResult SetNuclides(std::size_t row, const std::vector<NuclideTexts>& rows);
    // "New Seed": a seed from draw (the system's random device unless a test
    // passes its own source); the notice-free result, like every edit.
    PlanEditResult NewSeed(std::size_t row, const std::function<std::uint64_t()>& draw = DrawSeed);
    // "Import Boundary": the unit laid out over a boundary already checked
    // and measured (site_boundary.h).
    PlanEditResult SetBoundary(std::size_t row, const Boundary& boundary, double area);
    // "Make a unit of each": one new unit per boundary, at the end, each a
    // copy of the row's design and field inputs (no measurements) named as
    // given; all or none, as one step. A refusal names the unit it stopped at.
    struct NamedBoundary {
        std::string name;
        Boundary boundary;
        double area = 0;
    };
    PlanEditResult AddBoundaryUnits(std::size_t row, const std::vector<NamedBoundary>& boundaries);
    // The size, grid, seed, scan MDC and area factors as a new unit has
    // them (the radionuclides stay); refused (no step) when already so.
    PlanEditResult ClearField(std::size_t row);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < history_.size(); }
    bool Undo();
    bool Redo();
    // "Rename", "Edit Alpha", ...: what Undo or Redo would do next.
    std::string UndoName() const;
    std::string RedoName() const;

    // Changes since the plan was last read or saved (undoing back to that
    // point counts as unchanged).
    bool IsModified() const { return !saved_ || *saved_ != done_; }
    void MarkSaved() { saved_ = done_; }

    void SetChangeListener(std::function<void(const PlanChange&)> listener) { listener_ = std::move(listener); }
    // Where the user's locale writes a decimal comma, a comma in a number
    // box stands for the point (typed_numbers.h).
    void SetDecimalComma(bool comma) { decimal_comma_ = comma; }

private:
    // One step: a row inserted (after), removed (before), moved (row to
    // to_row), replaced (before, after), the default costs changed, or
    // several of these together (parts, undone last first).
    struct Command {
        enum class Kind { Insert, Remove, Move, Replace, Defaults, Group };
        Kind kind = Kind::Replace;
        std::string name;
        std::size_t row = 0;
        std::size_t to_row = 0;
        std::optional<PlanEntry> before;
        std::optional<PlanEntry> after;
        SampleCosts costs_before;
        SampleCosts costs_after;
        std::vector<Command> parts;
    };
    void Perform(Command command);
    void Apply(const Command& command, bool forward);
    PlanEditResult ReplaceEntry(std::size_t row, std::string name, PlanUnit unit, std::optional<Refusal> notice);
    PlanEditResult ApplyEdit(std::size_t row, std::string name, UnitEdit edit);
    // The replacement of a row by an edited unit, checked but not performed.
    Outcome<Command, Refusal> Replacement(std::size_t row, PlanUnit unit) const;
    // Parts performed as one step; nothing when there are none.
    PlanEditResult PerformGroup(std::string name, std::vector<Command> parts);
    Outcome<SampleCosts, Refusal> ReadCosts(const std::string& fixed, const std::string& per_sample) const;
    void Notify(PlanChangeKind kind, std::size_t row, std::size_t to_row = 0);
    PlanEntry Numbered(PlanEntry entry) {
        entry.id = next_id_++;
        return entry;
    }

    std::vector<PlanEntry> entries_;
    SampleCosts default_costs_;
    std::vector<Command> history_;
    std::size_t done_ = 0;
    std::optional<std::size_t> saved_ = 0;
    UnitId next_id_ = 1;
    std::function<void(const PlanChange&)> listener_;
    bool decimal_comma_ = false;
};

// Whether removing the unit would lose what was measured or set out in the
// field (measurements, a size, a seed, a scan MDC, area factors), which a
// design window cannot give back.
bool CarriesFieldWork(const PlanUnit& unit);

// "Survey Unit Data", "Reference Area Data": the same for a set of measurements.
std::string DataTitle(UnitData which);

}  // namespace valdris
