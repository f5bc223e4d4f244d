// SPDX-License-Identifier: Apache-2.0
#pragma once
// What a plan report shows of a unit after its design page: its field
// sections (the sample locations with their map, the elevated-area check,
// the sum of fractions) when they are set, then the verdict on its
// measurements with their figures, the values to investigate and the
// measurements themselves. Each section is text and, where it has one, the
// picture that goes with it; the report's pages lay them out.

#include <cstddef>
#include <string>
#include <vector>

#include "design_report.h"
#include "plan.h"

namespace valdris {

// A report lists at most this many values of one kind; a plan file may hold
// a million, which no one reads on paper.
constexpr std::size_t kMostListedValues = 600;

enum class SectionPicture { None, DataPlot, SampleMap, PostingPlot };

struct ReportSection {
    std::string title;
    std::vector<std::string> lead;   // paragraphs above the lines (the decision)
    std::vector<ReportLine> lines;   // label and value rows
    std::vector<std::string> notes;  // paragraphs below them
    SectionPicture picture = SectionPicture::None;
    std::string caption;              // below the picture: what it shows
    std::vector<std::string> listed;  // short items set in columns ("7: 1.3")
    std::string listed_note;          // how many are not listed, when some are not
};

// The sections in the order printed; none when the unit has nothing beyond
// its design.
std::vector<ReportSection> UnitReportSections(const PlanEntry& entry);

}  // namespace valdris
