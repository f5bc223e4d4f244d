// SPDX-License-Identifier: Apache-2.0
#pragma once
// --assess: the measurement files read, judged against the finished design,
// and the verdict written as text or as the JSON report's "assessment".

#include <ostream>
#include <string>

#include "data_assessment.h"
#include "options.h"
#include "outcome.h"

namespace valdris::cli {

// The headers of the columns the measurements were read from, as a reading
// gives them; empty where the file had none.
struct DataHeaders {
    std::string survey;
    std::string reference;
};

struct FileAssessment {
    DataAssessment assessment;
    DataHeaders headers;
};

// Reads --assess and --reference (each file refused whole, the line named)
// and runs the design's test on them.
Outcome<FileAssessment> AssessFiles(const Options& options, const DesignState& design);

// The columns read, the decision in words, the figures, the values to
// investigate, the note. The unit of concentration, when given, follows each
// measured figure.
void WriteTextAssessment(std::ostream& out, const DataAssessment& assessment, const std::string& unit = {},
                         const DataHeaders& headers = {});

// `"assessment": {...}`, a member of a design's JSON object (each line begun
// with indent: a single design's or a plan unit's), exact values; "header"
// and "reference_header" only where a file had one.
void WriteJsonAssessment(std::ostream& out, const DataAssessment& assessment, const std::string& indent = "  ",
                         const DataHeaders& headers = {});

}  // namespace valdris::cli
