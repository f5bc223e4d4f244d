// SPDX-License-Identifier: Apache-2.0
#include "plan_json.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace valdris {
namespace {

// Builds the tree from the parser's events. The library's own tree builder
// with a callback walks the whole enclosing list each time an object closes,
// which made a plan's reading grow with the square of its units.
class PlanEvents {
public:
    explicit PlanEvents(const UnitSink& take_unit) : take_unit_(take_unit) {}

    bool null() { return Scalar(Json(nullptr)); }
    bool boolean(bool value) { return Scalar(Json(value)); }
    bool number_integer(Json::number_integer_t value) { return Scalar(Json(value)); }
    bool number_unsigned(Json::number_unsigned_t value) { return Scalar(Json(value)); }
    bool number_float(Json::number_float_t value, const std::string&) { return Scalar(Json(value)); }
    bool string(std::string& value) { return Scalar(Json(std::move(value))); }
    bool binary(Json::binary_t& value) { return Scalar(Json(std::move(value))); }

    bool start_object(std::size_t) {
        if (open_.size() == kUnitDepth) {
            ++units_begun_;
            unit_so_far_ = Json::object();
        }
        open_.push_back(Place(Json::object()));
        return true;
    }

    // Every earlier key of the object already holds its value, so the object
    // itself tells whether the key came before.
    bool key(std::string& key) {
        if (open_.back()->contains(key) && !repeated_) repeated_ = key;
        key_ = std::move(key);
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

    bool InUnitsList() const { return units_ != nullptr && open_.back() == units_; }

    // Where a new value lies: the root, an element of the units list (its
    // own tree, handed over when whole), or inside the open list or object.
    Json* Place(Json value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        if (InUnitsList()) {
            unit_ = std::move(value);
            return &unit_;
        }
        Json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        return &(parent[key_] = std::move(value));
    }

    bool Scalar(Json value) {
        if (open_.size() == kUnitDepth + 1 && key_ == "name") unit_so_far_["name"] = value;
        Place(std::move(value));
        return !InUnitsList() || HandOverUnit();
    }

    bool Close() {
        open_.pop_back();
        return open_.empty() || !InUnitsList() || HandOverUnit();
    }

    bool HandOverUnit() {
        const bool go_on = take_unit_(units_taken_++, unit_);
        unit_ = Json();
        return go_on;
    }

    const UnitSink& take_unit_;
    Json root_;
    Json unit_;
    std::vector<Json*> open_;
    Json* units_ = nullptr;
    std::size_t units_taken_ = 0;
    std::optional<std::string> repeated_;
    // Where the parser is, so that a number too large for a double, which
    // the parser itself refuses, is named by its unit and key.
    std::string key_;  // the latest key, at any depth
    std::size_t key_depth_ = 0;
    std::size_t units_begun_ = 0;
    Json unit_so_far_ = Json::object();  // the current unit's name, once read
};

std::string PlanEvents::Where() const {
    if (key_depth_ == kUnitDepth + 1) {
        return UnitLabel(units_begun_ - 1, unit_so_far_) + ", key \"" + key_ + "\": ";
    }
    return "The plan's key \"" + key_ + "\": ";
}

// The text is no plan: the one kind of every refusal here.
PlanJson Unreadable(std::string text) { return PlanJson::Failure(RefusalKind::PlanFileUnusable, std::move(text)); }

}  // namespace

PlanJson ParsePlanJson(std::string_view bytes, const UnitSink& take_unit) {
    PlanEvents events(take_unit);
    try {
        // Errors throw; the one other way to end early is the sink's.
        if (!Json::sax_parse(bytes.begin(), bytes.end(), &events)) return ReadCancelledRefusal();
        if (events.repeated()) {
            return Unreadable("The key \"" + *events.repeated() + "\" appears twice in one object.");
        }
        return events.TakeRoot();
    } catch (const Json::out_of_range&) {
        return Unreadable(events.Where() + "the value is not a finite number.");
    } catch (const Json::exception& error) {
        const auto* parse_error = dynamic_cast<const Json::parse_error*>(&error);
        return Unreadable("This file is not a survey plan: its text is not JSON (the error is at byte " +
                          std::to_string(parse_error ? parse_error->byte : 0) + ").");
    }
}

std::size_t UnitsAtMost(std::string_view bytes) {
    // {"name":"","radionuclide":"","test":"wrs"}: no unit is read in less.
    constexpr std::size_t kLeastUnitBytes = 40;
    std::size_t objects = 0;
    std::size_t depth = 0;
    bool in_string = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (in_string) {
            if (c == '\\') {
                ++i;  // the escaped character cannot end the string
            } else if (c == '"') {
                in_string = false;
            }
        } else if (c == '"') {
            in_string = true;
        } else if (c == '{' || c == '[') {
            if (c == '{' && depth == 2) ++objects;
            ++depth;
        } else if ((c == '}' || c == ']') && depth > 0) {
            --depth;
        }
    }
    return std::min(objects, bytes.size() / kLeastUnitBytes);
}

std::string Quoted(const std::string& text) {
    return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string UnitLabel(std::size_t index, const Json& unit) {
    std::string label = "Unit " + std::to_string(index + 1);
    if (unit.is_object() && unit.contains("name") && unit["name"].is_string()) {
        label += " (" + Quoted(unit["name"].get<std::string>()) + ")";
    }
    return label;
}

}  // namespace valdris
