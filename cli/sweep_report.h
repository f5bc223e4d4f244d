// SPDX-License-Identifier: Apache-2.0
#pragma once
// The output of a sweep: one row per swept value with D/s, the sample size
// and the critical value, or the reason the rules refused that value. Each
// row is written as it comes, so the first appears at once and nothing is
// kept; JSON is an array streamed element by element.

#include <ostream>

#include "options.h"
#include "sweep.h"

namespace valdris::cli {

class SweepWriter {
public:
    SweepWriter(std::ostream& out, OutputFormat format, TestKind test, SweptInput swept);

    void Begin();
    void Row(const SweepRow& row);
    void End();

private:
    void TextRow(const SweepRow& row);
    void CsvRow(const SweepRow& row);
    void JsonRow(const SweepRow& row);

    std::ostream& out_;
    OutputFormat format_;
    TestKind test_;
    SweptInput swept_;
    bool first_row_ = true;
};

}  // namespace valdris::cli
