// SPDX-License-Identifier: Apache-2.0
#include "sweep_report.h"

#include <cmath>
#include <iomanip>

#include "check_output.h"
#include "number_output.h"
#include "number_text.h"
#include "refusal_text.h"
#include "result_texts.h"
#include "report.h"
#include "text_forms.h"

namespace valdris::cli {

namespace {

std::string SweptKey(SweptInput swept) { return swept == SweptInput::Sigma ? "sigma" : "lbgr"; }

// The swept value at the width the design stores it (sigma single, LBGR
// double); a sigma too large for a single is shown as read.
bool StoredAsSingle(SweptInput swept, double value) {
    return swept == SweptInput::Sigma && std::isfinite(ToSingle(value));
}

std::string ReadableValue(SweptInput swept, double value) {
    return StoredAsSingle(swept, value) ? WriteNumber(ToSingle(value)) : WriteNumber(value);
}

std::string ExactValue(SweptInput swept, double value) {
    return StoredAsSingle(swept, value) ? ExactNumber(ToSingle(value)) : ExactNumber(value);
}

std::string ExactCriticalValue(TestKind test, const DesignState& state) {
    return test == TestKind::Sign ? std::to_string(state.SignCriticalValue) : ExactNumber(state.WRSCriticalValue);
}

}  // namespace

SweepWriter::SweepWriter(std::ostream& out, OutputFormat format, TestKind test, SweptInput swept,
                         const DesignEngine& engine)
    : out_(out), format_(format), test_(test), swept_(swept), engine_(engine), json_key_(JsonString(SweptKey(swept))) {}

void SweepWriter::Begin() {
    switch (format_) {
        case OutputFormat::Text:
            out_ << TestCaption(test_) << ", sweeping " << SweptKey(swept_) << "\n"
                 << std::setw(16) << SweptKey(swept_) << std::setw(10) << "D/s" << std::setw(14) << "Sample Size"
                 << std::setw(16) << kCriticalValueTitle << std::setw(16) << "Power at LBGR" << '\n';
            break;
        case OutputFormat::Csv: out_ << SweptKey(swept_) << ",dovers,n,critical_value,power_at_lbgr,refusal\n"; break;
        case OutputFormat::Json: out_ << '['; break;
    }
}

// Each row is put together in one string and written at once: a stream tied
// to stdio pays a locked write for every piece otherwise.
void SweepWriter::Row(const SweepRow& row) {
    row_.clear();
    switch (format_) {
        case OutputFormat::Text: TextRow(row); break;
        case OutputFormat::Csv: CsvRow(row); break;
        case OutputFormat::Json: JsonRow(row); break;
    }
    out_.write(row_.data(), static_cast<std::streamsize>(row_.size()));
    first_row_ = false;
}

void SweepWriter::End() {
    if (format_ == OutputFormat::Json) out_ << (first_row_ ? "]\n" : "\n]\n");
}

// As std::setw before a string: blanks in front up to the width.
void SweepWriter::AddPadded(std::size_t width, const std::string& text) {
    if (text.size() < width) row_.append(width - text.size(), ' ');
    row_ += text;
}

void SweepWriter::Add(std::initializer_list<std::string_view> pieces) {
    for (const std::string_view piece : pieces) row_ += piece;
}

void SweepWriter::TextRow(const SweepRow& row) {
    AddPadded(16, ReadableValue(swept_, row.value));
    if (row.run) {
        const DesignState& state = *row.run;
        AddPadded(10, WriteNumber(RoundHalfEven(state.DoverS, 2)));
        AddPadded(14, std::to_string(SampleSize(test_, state)));
        AddPadded(16, CriticalValueText(test_, state));
        AddPadded(16, FixedDecimals(ShownPowerAtLBGR(test_, state, engine_), 6));
        if (!CanPass(test_, state)) row_ += "  cannot pass";
        row_ += '\n';
        if (check_seed_) {
            for (const ReportLine& line : CheckLines(CheckDesign(test_, state, *check_seed_))) {
                Add({"    ", line.label, ": ", line.value, "\n"});
            }
        }
    } else {
        Add({"  refused: ", OneLine(RefusalText(row.run.refusal())), "\n"});
    }
}

void SweepWriter::CsvRow(const SweepRow& row) {
    Add({ExactValue(swept_, row.value), ","});
    if (row.run) {
        const DesignState& state = *row.run;
        Add({ExactNumber(state.DoverS), ",", std::to_string(SampleSize(test_, state)), ",",
             ExactCriticalValue(test_, state), ",", ExactNumber(ShownPowerAtLBGR(test_, state, engine_)), ",\n"});
    } else {
        Add({",,,,", CsvField(OneLine(RefusalText(row.run.refusal()))), "\n"});
    }
}

// The separator goes before each element but the first, so that the array
// is well formed however many rows follow.
void SweepWriter::JsonRow(const SweepRow& row) {
    Add({first_row_ ? "\n  {" : ",\n  {", json_key_, ": ", ExactValue(swept_, row.value)});
    if (row.run) {
        const DesignState& state = *row.run;
        Add({", \"dovers\": ", ExactNumber(state.DoverS), ", \"n\": ", std::to_string(SampleSize(test_, state)),
             ", \"critical_value\": ", ExactCriticalValue(test_, state),
             ", \"power_at_lbgr\": ", ExactNumber(ShownPowerAtLBGR(test_, state, engine_)),
             ", \"can_pass\": ", CanPass(test_, state) ? "true" : "false"});
        if (!CanPass(test_, state)) {
            const std::optional<int32_t> smallest = SmallestPassableN(test_, state.Alpha);
            Add({", \"smallest_passable_n\": ", smallest ? std::to_string(*smallest) : "null"});
        }
        if (check_seed_) Add({", \"check\": ", JsonCheckObject(CheckDesign(test_, state, *check_seed_))});
        row_ += '}';
    } else {
        Add({", \"refusal\": ", JsonString(OneLine(RefusalText(row.run.refusal()))), "}"});
    }
}

}  // namespace valdris::cli
