// SPDX-License-Identifier: Apache-2.0
#include "plan_run.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <vector>

#include "assessment_output.h"
#include "assessment_texts.h"
#include "assessment_view.h"
#include "check_output.h"
#include "field_output.h"
#include "number_output.h"
#include "plan_file.h"
#include "plan_table.h"
#include "locations_export.h"
#include "report.h"
#include "run.h"
#include "whole_file.h"

namespace valdris::cli {

namespace {

const std::string kUnitIndent = "      ";

// Units put in place once, in a room of many that is written whole when it
// fills: 2.4 KB a unit, built in a string and copied through the stream's
// buffer, were copied twice on their way out.
class UnitRoom {
public:
    explicit UnitRoom(std::ostream& out) : out_(out), room_(new char[kSize]) {}

    void Put(std::string_view text) {
        if (kSize - used_ < text.size()) Flush();
        if (text.size() > kSize) {
            out_.write(text.data(), static_cast<std::streamsize>(text.size()));
            return;
        }
        std::memcpy(room_.get() + used_, text.data(), text.size());
        used_ += text.size();
    }
    // Where `bytes` (at most the room's size) may be written; Took then
    // says where the writing ended.
    char* Free(std::size_t bytes) {
        if (kSize - used_ < bytes) Flush();
        return room_.get() + used_;
    }
    void Took(const char* end) { used_ = static_cast<std::size_t>(end - room_.get()); }
    void Flush() {
        out_.write(room_.get(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

private:
    static constexpr std::size_t kSize = std::size_t{1} << 18;
    std::ostream& out_;
    std::unique_ptr<char[]> room_;
    std::size_t used_ = 0;
};

// The unit's field inputs as a single run reads them from its options.
FieldInputs FieldInputsOf(const PlanUnit& unit) { return {unit.field, unit.nuclides, SumOfFractionsOf(unit)}; }

// A unit in the field gains what a single run with its options gives; one
// with measurements the verdict --assess gives, or, while its data cannot be
// judged (a WRS unit without reference data), why.
JsonMembers UnitMembers(const PlanEntry& entry, std::optional<uint64_t> check_seed) {
    std::string field = FieldJsonMembers(FieldInputsOf(entry.unit), entry.field, entry.figures.state.LBGR, kUnitIndent);
    if (!entry.assessment && field.empty() && !check_seed) return {};
    return [&entry, field, check_seed](std::ostream& out) {
        out << field;
        const char* separator = field.empty() ? "" : ",\n";
        if (check_seed) {
            out << separator;
            WriteJsonCheck(out, CheckDesign(entry.figures.test, entry.figures.state, *check_seed), kUnitIndent);
            separator = ",\n";
        }
        if (!entry.assessment) return;
        out << separator;
        const AssessmentRun& run = *entry.assessment;
        if (run) {
            const PlacedAssessment placed = PlaceUnitMeasurements(entry);
            const bool any = placed.join || placed.comparison;
            WriteJsonAssessment(out, *run, kUnitIndent, {}, any ? &placed : nullptr);
        } else {
            out << kUnitIndent << "\"assessment_refused\": " << JsonString(run.message());
        }
    };
}

// Below the table: each unit in the field, as a single run shows it.
void WriteFieldSections(std::ostream& out, const SurveyPlan& plan) {
    for (const PlanEntry& entry : plan.entries()) {
        if (!entry.unit.field.size && entry.unit.nuclides.empty()) continue;
        out << '\n' << OneLine(entry.unit.name) << '\n';
        WriteFieldText(out, FieldInputsOf(entry.unit), entry.field, entry.unit.concentration_unit);
    }
}

// Below the table: the units no data can pass.
void WriteImpassableUnits(std::ostream& out, const SurveyPlan& plan) {
    bool first = true;
    for (const PlanEntry& entry : plan.entries()) {
        const DesignFigures& figures = entry.figures;
        if (figures.can_pass) continue;
        out << (first ? "\n" : "") << OneLine(entry.unit.name) << ": "
            << CannotPassNote(figures.test, figures.state.Alpha, figures.smallest_passable_n) << '\n';
        first = false;
    }
}

// Below the table: each unit's design check.
void WriteChecks(std::ostream& out, const SurveyPlan& plan, uint64_t seed) {
    for (const PlanEntry& entry : plan.entries()) {
        out << '\n' << OneLine(entry.unit.name) << ": ";
        WriteTextCheck(out, CheckDesign(entry.figures.test, entry.figures.state, seed));
        out.flush();
    }
}

// Below the table: each unit's verdict on its measurements in words.
void WriteVerdicts(std::ostream& out, const SurveyPlan& plan) {
    bool first = true;
    for (const PlanEntry& entry : plan.entries()) {
        if (!entry.assessment) continue;
        out << (first ? "\n" : "") << OneLine(entry.unit.name) << ": ";
        if (*entry.assessment) {
            const AssessmentTexts texts = MakeAssessmentTexts(**entry.assessment);
            out << texts.decision << ": " << texts.reason << '\n';
            const PlacedAssessment placed = PlaceUnitMeasurements(entry);
            if (placed.comparison && *placed.comparison) {
                out << "  " << MakeElevatedComparisonTexts(**placed.comparison).verdict << '\n';
            }
        } else {
            out << "no verdict: " << OneLine(entry.assessment->message()) << '\n';
        }
        first = false;
    }
}

}  // namespace

// Each unit goes out as one string: written piece by piece through the
// stdio-tied stream, the pieces cost more than the unit's figures.
void WritePlanJson(std::ostream& out, const SurveyPlan& plan, std::optional<uint64_t> check_seed) {
    out << "{\n  \"units\": [";
    UnitRoom room(out);
    std::ostringstream more;
    CurveXText last_x;
    const std::size_t members_room = JsonMembersRoom(kUnitIndent.size());
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const PlanEntry& entry = plan.entry(i);
        room.Put(i == 0 ? "\n    {\n" : ",\n    {\n");
        room.Put(kUnitIndent);
        room.Put("\"name\": ");
        room.Put(JsonString(entry.unit.name));
        room.Put(",\n");
        room.Took(PutJsonMembers(room.Free(members_room), entry.figures, kUnitIndent, &last_x));
        if (const JsonMembers members = UnitMembers(entry, check_seed)) {
            more.str({});
            members(more);
            room.Put(",\n");
            room.Put(more.str());
        }
        room.Put("\n    }");
        if (check_seed) {  // the checks are slow: each unit out as it is done
            room.Flush();
            out.flush();
        }
    }
    room.Flush();
    out << (plan.size() == 0 ? "]\n}\n" : "\n  ]\n}\n");
}

// Each unit's cells are formed twice, once for the columns' widths and once
// to be written, rather than held: a large plan's table would otherwise hold
// every cell of every unit at once.
void WritePlanText(std::ostream& out, const SurveyPlan& plan, std::optional<uint64_t> check_seed) {
    std::vector<std::string> row(kPlanColumnCount);
    const auto form_row = [&row](const PlanEntry& entry) {
        for (int c = 0; c < kPlanColumnCount; ++c) row[c] = OneLine(CellText(entry, PlanColumn(c)));
    };
    std::vector<std::string> titles;
    for (int c = 0; c < kPlanColumnCount; ++c) titles.push_back(ColumnTitle(PlanColumn(c)));
    std::vector<std::size_t> widths(kPlanColumnCount, 0);
    const auto widen = [&widths](const std::vector<std::string>& cells) {
        for (int c = 0; c < kPlanColumnCount; ++c) widths[c] = std::max(widths[c], cells[c].size());
    };
    widen(titles);
    for (const PlanEntry& entry : plan.entries()) {
        form_row(entry);
        widen(row);
    }
    // Names and texts to the left, numbers to the right.
    const auto write_row = [&out, &widths](const std::vector<std::string>& cells) {
        std::string line;
        for (int c = 0; c < kPlanColumnCount; ++c) {
            const std::string pad(widths[c] - cells[c].size(), ' ');
            line += (c ? "  " : "") + (c < 3 ? cells[c] + pad : pad + cells[c]);
        }
        out << line.substr(0, line.find_last_not_of(' ') + 1) << '\n';
    };
    write_row(titles);
    for (const PlanEntry& entry : plan.entries()) {
        form_row(entry);
        write_row(row);
    }
    WriteFieldSections(out, plan);
    WriteVerdicts(out, plan);
    WriteImpassableUnits(out, plan);
    if (check_seed) WriteChecks(out, plan, *check_seed);
}

// "Survey Plan: site" for site.vplan, as the plan window titles its report.
std::string PlanReportTitle(const std::string& path) {
    return "Survey Plan: " + std::filesystem::path(path).stem().string();
}

namespace {

// One file a unit beside the plan; a unit without locations is named, not
// skipped silently. False when a file could not be written.
bool WritePlanLocations(const SurveyPlan& plan, const std::string& path, LocationsFormat format, std::ostream& err) {
    const std::filesystem::path plan_path(path);
    bool all = true;
    for (const PlanEntry& entry : plan.entries()) {
        if (!entry.field.layout) {
            err << "The unit \"" << entry.unit.name << "\" has no locations laid out; no file is written for it.\n";
            continue;
        }
        const std::string name = UnitLocationsFileName(plan_path.stem().string(), entry.unit.name, format);
        const Outcome<Done> written =
            WriteLocations(*entry.field.layout, format, (plan_path.parent_path() / name).string());
        if (!written) {
            err << written.message() << '\n';
            all = false;
        }
    }
    return all;
}

}  // namespace

int RunPlanCommand(const PlanCommand& command, std::ostream& out, std::ostream& err) {
    const std::string& path = command.path;
    const Outcome<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        err << UnreadFileText("The plan", path, bytes.message()) << '\n';
        return kExitRefused;
    }
    // JSON writes every unit's curve: kept as designed, not designed again.
    const bool json = command.format == OutputFormat::Json;
    const PlanReading reading = ReadPlan(*bytes, {}, json ? CurveKept::Yes : CurveKept::No);
    if (!reading) {
        err << "The plan \"" << path << "\" is refused: " << OneLine(reading.message()) << '\n';
        return kExitRefused;
    }
    if (command.locations_format) {
        const LocationsFormat format = *LocationsFormatOf("." + *command.locations_format);
        if (!WritePlanLocations(*reading, path, format, err)) return kExitFailure;
        if (!command.format && !command.report_path) return kExitOk;
    }
    if (command.report_path) {
        const std::string& target = *command.report_path;
        if (!WriteOutputFile(err, "report", target, [&](std::string& error) {
                return command.write_report &&
                       command.write_report(*reading, PlanReportTitle(path), target, error);
            })) {
            return kExitFailure;
        }
        if (!command.format) return kExitOk;
    }
    switch (command.format.value_or(OutputFormat::Text)) {
        case OutputFormat::Text: WritePlanText(out, *reading, command.check_seed); break;
        case OutputFormat::Json: WritePlanJson(out, *reading, command.check_seed); break;
        case OutputFormat::Csv:
            WritePlanCsv(*reading, [&out](std::string_view row) {
                out.write(row.data(), static_cast<std::streamsize>(row.size()));
            });
            break;
    }
    return kExitOk;
}

}  // namespace valdris::cli
