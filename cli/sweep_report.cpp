#include "sweep_report.h"

#include <cmath>
#include <iomanip>

#include "number_output.h"
#include "number_text.h"
#include "refusal_text.h"
#include "report.h"

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

void WriteSweepText(std::ostream& out, TestKind test, SweptInput swept, const std::vector<SweepRow>& rows) {
    out << (test == TestKind::Sign ? "Sign Test" : "WRS Test") << ", sweeping " << SweptKey(swept) << "\n"
        << std::setw(16) << SweptKey(swept) << std::setw(10) << "D/s" << std::setw(14) << "Sample Size"
        << std::setw(16) << "Critical Value" << '\n';
    for (const SweepRow& row : rows) {
        out << std::setw(16) << ReadableValue(swept, row.value);
        if (row.run.state) {
            const DesignState& state = *row.run.state;
            out << std::setw(10) << WriteNumber(RoundHalfEven(state.DoverS, 2)) << std::setw(14)
                << SampleSize(test, state) << std::setw(16) << CriticalValueText(test, state) << '\n';
        } else {
            out << "  refused: " << OneLine(RefusalText(*row.run.refusal)) << '\n';
        }
    }
}

void WriteSweepCsv(std::ostream& out, TestKind test, SweptInput swept, const std::vector<SweepRow>& rows) {
    out << SweptKey(swept) << ",dovers,n,critical_value,refusal\n";
    for (const SweepRow& row : rows) {
        out << ExactValue(swept, row.value) << ',';
        if (row.run.state) {
            const DesignState& state = *row.run.state;
            out << ExactNumber(state.DoverS) << ',' << SampleSize(test, state) << ','
                << ExactCriticalValue(test, state) << ",\n";
        } else {
            out << ",,," << CsvField(OneLine(RefusalText(*row.run.refusal))) << '\n';
        }
    }
}

void WriteSweepJson(std::ostream& out, TestKind test, SweptInput swept, const std::vector<SweepRow>& rows) {
    out << "[\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const SweepRow& row = rows[i];
        out << "  {" << JsonString(SweptKey(swept)) << ": " << ExactValue(swept, row.value);
        if (row.run.state) {
            const DesignState& state = *row.run.state;
            out << ", \"dovers\": " << ExactNumber(state.DoverS) << ", \"n\": " << SampleSize(test, state)
                << ", \"critical_value\": " << ExactCriticalValue(test, state);
        } else {
            out << ", \"refusal\": " << JsonString(OneLine(RefusalText(*row.run.refusal)));
        }
        out << '}' << (i + 1 < rows.size() ? "," : "") << '\n';
    }
    out << "]\n";
}

}  // namespace valdris::cli
