// SPDX-License-Identifier: Apache-2.0
#include "plan_json.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "quick_json.h"

namespace valdris {
namespace {

// The place of each of a unit's keys, looked up for every key of every unit:
// a small open table by a hash of a few instructions, as the keys are few.
class KeyPlaces {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // A power of two at least four times the keys, so that a probe is short.
    explicit KeyPlaces(const std::vector<std::string_view>& keys) : slots_(16) {
        while (slots_.size() < 4 * keys.size()) slots_.resize(2 * slots_.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            std::size_t slot = Hash(keys[i]);
            while (slots_[slot & Mask()].place != kNone) ++slot;
            slots_[slot & Mask()] = {keys[i], i};
        }
    }

    std::size_t Find(std::string_view key) const {
        for (std::size_t slot = Hash(key);; ++slot) {
            const Slot& found = slots_[slot & Mask()];
            if (found.place == kNone || found.key == key) return found.place;
        }
    }

private:
    struct Slot {
        std::string_view key;
        std::size_t place = kNone;
    };

    static std::size_t Hash(std::string_view key) {
        std::size_t hash = 14695981039346656037u;  // FNV-1a
        for (const char c : key) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
        return hash;
    }
    std::size_t Mask() const { return slots_.size() - 1; }

    std::vector<Slot> slots_;
};

}  // namespace

void UnitValues::Clear() {
    for (const std::size_t key : filled_) given_[key].reset();
    filled_.clear();
    unknown_.clear();
    is_object_ = false;
}

// Builds the tree from the parser's events. The library's own tree builder
// with a callback walks the whole enclosing list each time an object closes,
// which made a plan's reading grow with the square of its units.
class PlanEvents {
public:
    PlanEvents(const std::vector<std::string_view>& unit_keys, const UnitSink& take_unit)
        : take_unit_(take_unit),
          unit_keys_(unit_keys),
          key_places_(unit_keys),
          unit_(unit_keys.size()),
          name_key_(key_places_.Find("name")) {}

    // A value is made once, where it is kept.
    bool null() { return Scalar(nullptr); }
    bool boolean(bool value) { return Scalar(value); }
    bool number_integer(Json::number_integer_t value) { return Scalar(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return Scalar(value); }
    bool number_float(Json::number_float_t value, const std::string&) { return Scalar(value); }
    bool string(std::string& value) { return Scalar(std::move(value)); }
    bool binary(Json::binary_t& value) { return Scalar(Json(std::move(value))); }

    bool start_object(std::size_t) {
        if (open_.size() == kUnitDepth) ++units_begun_;
        if (InUnitsList()) {  // a unit: its values go by key to unit_
            unit_.Clear();
            unit_.is_object_ = true;
            open_.push_back(kUnitLevel);
            return true;
        }
        open_.push_back(Place(Json::object()));
        return true;
    }

    // Every earlier key of the object already holds its value, so the object
    // (or the unit's place for the key) itself tells whether it came before.
    bool key(std::string& key) { return this->key(std::string_view(key)); }
    bool key(std::string_view key) {
        if (open_.back() == kUnitLevel) {
            unit_key_ = key_places_.Find(key);
            const bool before =
                unit_key_ == kUnknownKey ? unit_.unknown_.count(std::string(key)) > 0 : unit_.given_[unit_key_].has_value();
            if (before && !repeated_) repeated_ = std::string(key);
            // A unit's own key is known by its place: its text is kept only
            // for one outside the list.
            if (unit_key_ == kUnknownKey) key_.assign(key);
        } else {
            if (open_.back()->contains(key) && !repeated_) repeated_ = std::string(key);
            key_.assign(key);
        }
        key_depth_ = open_.size();
        return true;
    }

    bool end_object() { return Close(); }

    bool start_array(std::size_t) {
        const bool units = open_.size() == 1 && open_.back()->is_object() && key_ == "units";
        open_.push_back(Place(Json::array()));
        if (units) units_ = open_.back();
        return true;
    }

    bool end_array() {
        if (open_.back() == units_) units_ = nullptr;
        return Close();
    }

    template <class Exception>
    bool parse_error(std::size_t, const std::string&, const Exception& error) {
        throw error;
    }

    const std::optional<std::string>& repeated() const { return repeated_; }
    Json TakeRoot() { return std::move(root_); }
    std::string Where() const;

private:
    static constexpr std::size_t kUnitDepth = 2;  // root object, "units" list, unit
    // What the stack holds for a unit's own level, whose values go to unit_.
    static inline Json* const kUnitLevel = nullptr;
    static constexpr std::size_t kUnknownKey = KeyPlaces::kNone;

    bool InUnitsList() const { return units_ != nullptr && open_.back() == units_; }

    // Where a new value lies: the root, an element of the units list that is
    // no unit, a unit's value, or inside the open list or object.
    template <class Value>
    Json* Place(Value&& value) {
        if (open_.empty()) {
            root_ = Json(std::forward<Value>(value));
            return &root_;
        }
        if (InUnitsList()) {  // an element that is no unit (start_object takes those)
            unit_.Clear();
            not_a_unit_ = Json(std::forward<Value>(value));
            return &not_a_unit_;
        }
        if (open_.back() == kUnitLevel) return PlaceInUnit(std::forward<Value>(value));
        Json& parent = *open_.back();
        if (parent.is_array()) return &parent.emplace_back(std::forward<Value>(value));
        return &(parent[key_] = Json(std::forward<Value>(value)));
    }

    // A key given twice keeps its later value, as an object would; the file
    // is refused for it in any case.
    template <class Value>
    Json* PlaceInUnit(Value&& value) {
        if (unit_key_ == kUnknownKey) return &(unit_.unknown_[key_] = Json(std::forward<Value>(value)));
        std::optional<Json>& slot = unit_.given_[unit_key_];
        if (!slot) unit_.filled_.push_back(unit_key_);
        return &slot.emplace(std::forward<Value>(value));
    }

    template <class Value>
    bool Scalar(Value&& value) {
        Place(std::forward<Value>(value));
        return !InUnitsList() || HandOverUnit();
    }

    // The latest key's text, for a message.
    std::string_view LatestKey() const {
        if (key_depth_ == kUnitDepth + 1 && unit_key_ != kUnknownKey) return unit_keys_[unit_key_];
        return key_;
    }

    // The open unit's name as given so far, for a message.
    const Json* UnitName() const { return name_key_ == kUnknownKey ? nullptr : unit_.Given(name_key_); }

    bool Close() {
        open_.pop_back();
        return open_.empty() || !InUnitsList() || HandOverUnit();
    }

    bool HandOverUnit() {
        const bool go_on = take_unit_(units_taken_++, unit_);
        unit_.Clear();
        not_a_unit_ = Json();
        return go_on;
    }

    const UnitSink& take_unit_;
    const std::vector<std::string_view>& unit_keys_;
    KeyPlaces key_places_;
    Json root_;
    UnitValues unit_;
    Json not_a_unit_;  // an element of the list that is no object
    std::size_t unit_key_ = kUnknownKey;
    std::vector<Json*> open_;
    Json* units_ = nullptr;
    std::size_t units_taken_ = 0;
    std::optional<std::string> repeated_;
    // Where the parser is, so that a number too large for a double, which
    // the parser itself refuses, is named by its unit and key.
    std::string key_;  // the latest key outside a unit's own ones (LatestKey)
    std::size_t key_depth_ = 0;
    std::size_t units_begun_ = 0;
    const std::size_t name_key_;  // the place of "name" among the unit's keys
};

std::string PlanEvents::Where() const {
    if (key_depth_ == kUnitDepth + 1) {
        return UnitLabel(units_begun_ - 1, UnitName()) + ", key \"" + std::string(LatestKey()) + "\": ";
    }
    return "The plan's key \"" + std::string(LatestKey()) + "\": ";
}

namespace {

// The text is no plan: the one kind of every refusal here.
PlanJson Unreadable(std::string text) { return PlanJson::Failure(RefusalKind::PlanFileUnusable, std::move(text)); }

// The root of a text read whole, unless a key came twice in an object.
PlanJson Finished(PlanEvents& events) {
    if (events.repeated()) return Unreadable("The key \"" + *events.repeated() + "\" appears twice in one object.");
    return events.TakeRoot();
}

// The library's reading, with the refusals in its words.
PlanJson ParseByLibrary(std::string_view bytes, PlanEvents& events) {
    try {
        // Errors throw; the one other way to end early is the sink's.
        if (!Json::sax_parse(bytes.begin(), bytes.end(), &events)) return ReadCancelledRefusal();
        return Finished(events);
    } catch (const Json::out_of_range&) {
        return Unreadable(events.Where() + "the value is not a finite number.");
    } catch (const Json::exception& error) {
        const auto* parse_error = dynamic_cast<const Json::parse_error*>(&error);
        return Unreadable("This file is not a survey plan: its text is not JSON (the error is at byte " +
                          std::to_string(parse_error ? parse_error->byte : 0) + ").");
    }
}

}  // namespace

// A plain text, as this program writes, is read by the quick reader; any
// other, and every faulty one, by the library from the start again.
PlanJson ParsePlanJson(std::string_view bytes, const std::vector<std::string_view>& unit_keys,
                       const UnitSink& take_unit) {
    {
        PlanEvents events(unit_keys, take_unit);
        switch (quick_json::ReadPlain(bytes, events)) {
            case quick_json::Read::Stopped: return ReadCancelledRefusal();
            case quick_json::Read::Whole: return Finished(events);
            case quick_json::Read::NotPlain: break;
        }
    }
    PlanEvents events(unit_keys, take_unit);
    return ParseByLibrary(bytes, events);
}

namespace {

// The bytes the count of units looks at, in a string and outside one: all
// others are passed over a run at a time.
struct StructureBytes {
    bool in_string[256] = {};
    bool outside[256] = {};
    constexpr StructureBytes() {
        in_string[static_cast<unsigned char>('"')] = in_string[static_cast<unsigned char>('\\')] = true;
        for (const char c : {'"', '{', '[', '}', ']'}) outside[static_cast<unsigned char>(c)] = true;
    }
};
constexpr StructureBytes kStructure;

}  // namespace

std::size_t UnitsAtMost(std::string_view bytes) {
    // {"name":"","radionuclide":"","test":"wrs"}: no unit is read in less.
    constexpr std::size_t kLeastUnitBytes = 40;
    std::size_t objects = 0;
    std::size_t depth = 0;
    bool in_string = false;
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size; ++i) {
        const bool* looked_at = in_string ? kStructure.in_string : kStructure.outside;
        while (i < size && !looked_at[static_cast<unsigned char>(bytes[i])]) ++i;
        if (i == size) break;
        const char c = bytes[i];
        if (in_string) {
            if (c == '\\') {
                ++i;  // the escaped character cannot end the string
            } else {
                in_string = false;
            }
        } else if (c == '"') {
            in_string = true;
        } else if (c == '{' || c == '[') {
            if (c == '{' && depth == 2) ++objects;
            ++depth;
        } else if (depth > 0) {
            --depth;
        }
    }
    return std::min(objects, bytes.size() / kLeastUnitBytes);
}

std::string Quoted(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string UnitLabel(std::size_t index, const Json* name) {
    std::string label = "Unit " + std::to_string(index + 1);
    if (name != nullptr && name->is_string()) label += " (" + Quoted(name->get<std::string>()) + ")";
    return label;
}

}  // namespace valdris
