// SPDX-License-Identifier: Apache-2.0
#pragma once
// Measurements as a user brings them: a column pasted from a spreadsheet or a
// CSV/TSV file. One column of numbers, or the column a header names; an
// optional header line; blank lines and empty cells are skipped. The whole
// text is refused, with a message naming the line, when any value is not a
// finite number, and nothing is kept.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "boundary.h"
#include "input_rules.h"
#include "outcome.h"
#include "read_progress.h"

namespace valdris {

// More than this many measurements is no survey unit's data but a wrong file.
constexpr std::size_t kMostMeasurements = 1000000;
constexpr std::size_t kLongestShownHeader = 80;

// A character that could move a terminal's cursor or hide text: never shown
// as it stands in a header.
constexpr bool IsControlCharacter(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

struct Measurements {
    std::vector<double> values;
    // The column's header, if the text had one, as it may be shown: control
    // characters as "?", and cut after kLongestShownHeader bytes.
    std::string header;
};
using MeasurementReading = Outcome<Measurements>;

// `source` names the text in messages ("survey.csv", "The survey unit's
// measurements"); `column`, when not empty, chooses the column whose header
// it matches (case and surrounding blanks aside). The values, or why the
// text holds none that can be taken; `progress` hears of a long text's
// reading and may stop it.
MeasurementReading ReadMeasurements(std::string_view text, const std::string& source,
                                    const std::string& column = {}, const ReadProgress& progress = {});

// Where each measurement was taken, as the columns of a file with a header
// say it: the location's id, or its x and y (headers, as `column` is).
struct PlaceColumns {
    std::string id;
    std::string x;
    std::string y;

    bool by_id() const { return !id.empty(); }
    bool empty() const { return id.empty() && x.empty() && y.empty(); }
};

// The values with where each was taken, beside them: an id each (by id), or
// a place each (by x and y).
struct PlacedMeasurements {
    Measurements measurements;
    std::vector<std::string> ids;
    std::vector<GridPoint> places;
};
using PlacedReading = Outcome<PlacedMeasurements>;

// As ReadMeasurements, every rule kept, with the place columns beside the
// value column; `column` may be left empty when the header names one column
// besides the place columns. Refused as well: a place column the header
// lacks, an id or x or y named twice, a value without its id (or an x or y
// that is no finite number), and one id given to two values. A line with an
// id and no value is a location not measured, and skipped.
PlacedReading ReadPlacedMeasurements(std::string_view text, const std::string& source, const std::string& column,
                                     const PlaceColumns& place, const ReadProgress& progress = {});

// The headers a user may choose a column by: those of the first line when
// it names several columns; empty when the text has one column or no
// header, which ReadMeasurements takes or refuses as it is.
std::vector<std::string> ColumnHeaders(std::string_view text);

// Which of those headers to offer first: the first whose column holds a
// number on the line after the headers (an id or a date column before the
// values is passed over); 0 when none does.
std::size_t FirstNumberColumn(std::string_view text);

// The rule on the count of measurements, which the reading and the assessment
// of stored data share: at least two, at most kMostMeasurements.
std::optional<Refusal> MeasurementCountRefusal(std::size_t count, const std::string& source);

}  // namespace valdris
