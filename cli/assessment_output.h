// SPDX-License-Identifier: Apache-2.0
#pragma once
// --assess: the measurement files read, judged against the finished design,
// and the verdict written as text or as the JSON report's "assessment".

#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "data_assessment.h"
#include "placed_assessment.h"
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
    // The survey unit's values and where each was taken (--id-column or
    // --xy-columns); both lists empty when the file did not say.
    std::vector<double> survey;
    std::vector<std::string> ids;
    std::vector<GridPoint> places;
    // The join and the elevated-measurement comparison, once the unit's
    // field figures are known (PlaceMeasurements).
    std::optional<PlacedAssessment> placed;
};

// Reads --assess and --reference (each file refused whole, the line named)
// and runs the design's test on them.
Outcome<FileAssessment> AssessFiles(const Options& options, const DesignSummary& design);

// The join to the unit's locations and the comparison with its area
// factors, by the final N and the design's DCGL.
void PlaceMeasurements(FileAssessment& assessment, const FieldSetup& setup, const FieldFigures& field, double dcgl,
                       const std::map<std::string, double>& sizes);

// The columns read, the decision in words, the figures, the values to
// investigate, the note. The unit of concentration, when given, follows each
// measured figure.
void WriteTextAssessment(std::ostream& out, const DataAssessment& assessment, const std::string& unit = {},
                         const DataHeaders& headers = {}, const PlacedAssessment* placed = nullptr);

// `"assessment": {...}`, a member of a design's JSON object (each line begun
// with indent: a single design's or a plan unit's), exact values; "header"
// and "reference_header" only where a file had one.
// With the places: "joined" (id, x, y, value of each), "unmatched",
// "missing", and "elevated_areas" (the comparison, or its "refusal").
void WriteJsonAssessment(std::ostream& out, const DataAssessment& assessment, const std::string& indent = "  ",
                         const DataHeaders& headers = {}, const PlacedAssessment* placed = nullptr);

}  // namespace valdris::cli
