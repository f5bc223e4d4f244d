// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan file's JSON read in one pass. Each key is checked against the keys
// of its own object as it arrives (a key given twice refuses the file), and
// each element of the root's "units" list is handed over as soon as it closes
// and then dropped, so that reading costs time linear in the file and holds
// no more than one unit's tree at a time.

#include <cstddef>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "outcome.h"
#include "read_progress.h"

namespace valdris {

using Json = nlohmann::json;

// The root as read, with its "units" list (when it is one) left empty, or why
// the text cannot be taken: not JSON, a key twice, a number out of range.
using PlanJson = Outcome<Json>;

// Called with each element of "units" in order: its index and its tree;
// false ends the reading, refused as cancelled (read_progress.h).
using UnitSink = std::function<bool(std::size_t index, const Json& unit)>;

PlanJson ParsePlanJson(std::string_view bytes, const UnitSink& take_unit);

// At least as many as the units the text can hold, for room to keep their
// entries without moving them as the list grows: the objects it opens two
// levels in, outside its strings, but no more than units of the least size
// would fill it (a unit refused ends the reading, so no flood of small
// objects can ask for more room than sound units would need). A quick pass
// over the bytes, not a reading of them.
std::size_t UnitsAtMost(std::string_view bytes);

// A text as a JSON string literal, invalid UTF-8 replaced.
std::string Quoted(const std::string& text);

// "Unit 3 ("North yard")", or "Unit 3" before its name is known.
std::string UnitLabel(std::size_t index, const Json& unit);

}  // namespace valdris
