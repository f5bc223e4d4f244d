// SPDX-License-Identifier: Apache-2.0
#pragma once
// The plan file's JSON read in one pass. Each key is checked against the keys
// of its own object as it arrives (a key given twice refuses the file), and
// each element of the root's "units" list is handed over as soon as it closes
// and then dropped, so that reading costs time linear in the file and holds
// no more than one unit's tree at a time.

#include <cstddef>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outcome.h"
#include "read_progress.h"

namespace valdris {

using Json = nlohmann::json;

// The root as read, with its "units" list (when it is one) left empty, or why
// the text cannot be taken: not JSON, a key twice, a number out of range.
using PlanJson = Outcome<Json>;

// One element of "units" as the file gives it. A unit's values are held by
// their key's place in the reader's list of keys rather than in an object
// of their own, which costs each key of each unit a lookup and a node.
class UnitValues {
public:
    explicit UnitValues(std::size_t keys) : given_(keys) {}

    bool is_object() const { return is_object_; }
    // The value of the listed key at that place, or nothing when not given.
    const Json* Given(std::size_t key) const { return given_[key] ? &*given_[key] : nullptr; }
    // Keys outside the list, by their text: the reader refuses the unit.
    const std::map<std::string, Json>& unknown() const { return unknown_; }

private:
    friend class PlanEvents;
    void Clear();

    bool is_object_ = false;
    std::vector<std::optional<Json>> given_;
    std::vector<std::size_t> filled_;  // the places given, to clear
    std::map<std::string, Json> unknown_;
};

// Called with each element of "units" in order: its index and its values;
// false ends the reading, refused as cancelled (read_progress.h). A reading
// may start over from the first unit (index 0 again): the sink then drops
// what it took before.
using UnitSink = std::function<bool(std::size_t index, const UnitValues& unit)>;

// unit_keys: the keys a unit may have; a unit's values come by their place.
PlanJson ParsePlanJson(std::string_view bytes, const std::vector<std::string_view>& unit_keys,
                       const UnitSink& take_unit);

// At least as many as the units the text can hold, for room to keep their
// entries without moving them as the list grows: the objects it opens two
// levels in, outside its strings, but no more than units of the least size
// would fill it (a unit refused ends the reading, so no flood of small
// objects can ask for more room than sound units would need). A quick pass
// over the bytes, not a reading of them.
std::size_t UnitsAtMost(std::string_view bytes);

// A text as a JSON string literal, invalid UTF-8 replaced.
std::string Quoted(const std::string& text);

// "Unit 3 ("North yard")", or "Unit 3" before its name (a text) is known.
std::string UnitLabel(std::size_t index, const Json* name);

}  // namespace valdris
