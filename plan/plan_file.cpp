// SPDX-License-Identifier: Apache-2.0
#include "plan_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "concentration_unit.h"
#include "elevated_comparison.h"
#include "field_messages.h"
#include "filled_memory.h"
#include "measurement_text.h"
#include "number_text.h"
#include "plan_json.h"
#include "plan_unit_field.h"
#include "site_boundary.h"

namespace valdris {
namespace {

const std::string kVersionKey = "valdris_power_plan";
const std::string kUnitsKey = "units";

// Why a value cannot be taken, said after "Unit 3 ("Yard"), key "alpha": ".
using ValueProblem = std::optional<std::string>;

ValueProblem ReadNumber(const Json& value, double& number) {
    if (!value.is_number()) return std::string("the value is not a number.");
    number = value.get<double>();
    if (!std::isfinite(number)) return std::string("the value is not a finite number.");
    return std::nullopt;
}

ValueProblem ReadText(const Json& value, std::string& text) {
    if (!value.is_string()) return std::string("the value is not a text in quotes.");
    text = value.get<std::string>();
    return std::nullopt;
}

ValueProblem ReadSingle(const Json& value, float& single) {
    double number = 0;
    if (auto problem = ReadNumber(value, number)) return problem;
    single = ToSingle(number);
    return std::nullopt;
}

ValueProblem ReadCost(const Json& value, std::optional<double>& cost) {
    double number = 0;
    if (auto problem = ReadNumber(value, number)) return problem;
    if (auto refusal = CostRefusal(number)) return refusal->text;
    cost = number;
    return std::nullopt;
}

// A set of measurements: a list of numbers, empty while there are none.
ValueProblem ReadData(const Json& value, UnitData which, MeasurementSet& data) {
    if (!value.is_array()) return std::string("the value is not a list of numbers.");
    std::vector<double> values;
    values.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!value[i].is_number()) return "measurement " + std::to_string(i + 1) + " is not a number.";
        values.push_back(value[i].get<double>());
    }
    if (auto refusal = UnitDataRefusal(values, which)) return refusal->text;
    data = std::move(values);
    return std::nullopt;
}

std::optional<std::string> WriteData(const std::vector<double>& data) {
    if (data.empty()) return std::nullopt;
    std::string text = "[";
    for (std::size_t i = 0; i < data.size(); ++i) text += (i ? ", " : "") + RoundTripNumber(data[i]);
    return text + "]";
}

// "survey_header", "reference_header": the column's header the measurements
// were read under, kept so that a plan opened again still names it.
// Held to what a reading keeps: no control character, and no longer than a
// header cut short with its "...".
ValueProblem ReadHeader(const Json& value, MeasurementSet& data) {
    if (!value.is_string()) return std::string("the value is not a text in quotes.");
    std::string header = value.get<std::string>();
    if (data.empty()) return std::string("a header is given without measurements.");
    if (std::any_of(header.begin(), header.end(), IsControlCharacter)) {
        return std::string("the header holds a control character.");
    }
    if (header.size() > kLongestShownHeader + std::string_view("...").size()) {
        return "the header is longer than " + std::to_string(kLongestShownHeader) + " characters.";
    }
    data = MeasurementSet(data.values(), std::move(header), data.where());
    return std::nullopt;
}

std::optional<std::string> WriteHeader(const MeasurementSet& data) {
    if (data.empty() || data.header().empty()) return std::nullopt;
    return Quoted(data.header());
}

// The survey measurements given again with where each was taken.
ValueProblem TakePlaces(PlanUnit& unit, MeasurementPlaces places, std::size_t given) {
    if (given != unit.survey_data.size()) {
        return std::to_string(given) + " given for " + std::to_string(unit.survey_data.size()) +
               " survey unit measurements.";
    }
    unit.survey_data = MeasurementSet(unit.survey_data.values(), unit.survey_data.header(), std::move(places));
    if (auto refusal = PlacesRefusal(unit.survey_data)) return refusal->text;
    return std::nullopt;
}

// "survey_ids": a text for each survey measurement, in their order.
ValueProblem ReadSurveyIds(const Json& value, PlanUnit& unit) {
    if (!value.is_array()) return std::string("the value is not a list of ids.");
    MeasurementPlaces places;
    places.ids.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!value[i].is_string()) return "id " + std::to_string(i + 1) + " is not a text in quotes.";
        places.ids.push_back(value[i].get<std::string>());
    }
    return TakePlaces(unit, std::move(places), value.size());
}

// "survey_places": [x, y] for each survey measurement, in their order.
ValueProblem ReadSurveyPlaces(const Json& value, PlanUnit& unit) {
    if (!value.is_array()) return std::string("the value is not a list of places.");
    MeasurementPlaces places;
    places.at.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const Json& place = value[i];
        if (!place.is_array() || place.size() != 2 || !place[0].is_number() || !place[1].is_number()) {
            return "place " + std::to_string(i + 1) + " is not a pair of numbers [x, y].";
        }
        places.at.push_back({place[0].get<double>(), place[1].get<double>()});
    }
    if (!unit.survey_data.ids().empty() && !places.at.empty()) {
        return std::string("give \"survey_ids\" or \"survey_places\", not both.");
    }
    return TakePlaces(unit, std::move(places), value.size());
}

std::optional<std::string> WriteSurveyIds(const PlanUnit& unit) {
    const std::vector<std::string>& ids = unit.survey_data.ids();
    if (ids.empty()) return std::nullopt;
    std::string text = "[";
    for (std::size_t i = 0; i < ids.size(); ++i) text += (i ? ", " : "") + Quoted(ids[i]);
    return text + "]";
}

std::optional<std::string> WriteSurveyPlaces(const PlanUnit& unit) {
    const std::vector<GridPoint>& places = unit.survey_data.places();
    if (places.empty()) return std::nullopt;
    std::string text = "[";
    for (std::size_t i = 0; i < places.size(); ++i) {
        text += (i ? ", [" : "[") + RoundTripNumber(places[i].x) + ", " + RoundTripNumber(places[i].y) + "]";
    }
    return text + "]";
}

// "elevated_area_sizes": {"7": 2.5}, the location's id to the size in m2.
ValueProblem ReadElevatedAreaSizes(const Json& value, PlanUnit& unit) {
    if (!value.is_object()) return std::string("the value is not an object of location ids and sizes.");
    for (const auto& item : value.items()) {
        double size = 0;
        if (auto problem = ReadNumber(item.value(), size)) return "location " + Quoted(item.key()) + ": " + *problem;
        if (auto refusal = ElevatedAreaSizeRefusal(size)) return "location " + Quoted(item.key()) + ": " + refusal->text;
        unit.elevated_area_sizes[item.key()] = size;
    }
    return std::nullopt;
}

std::optional<std::string> WriteElevatedAreaSizes(const PlanUnit& unit) {
    if (unit.elevated_area_sizes.empty()) return std::nullopt;
    std::string text = "{";
    bool first = true;
    for (const auto& [location, size] : unit.elevated_area_sizes) {
        text += (first ? "" : ", ") + Quoted(location) + ": " + RoundTripNumber(size);
        first = false;
    }
    return text + "}";
}

UnitSize& SizeOf(PlanUnit& unit) {
    if (!unit.field.size) unit.field.size = UnitSize{};
    return *unit.field.size;
}

ValueProblem ReadSide(const Json& value, std::optional<double>& side) {
    double number = 0;
    if (auto problem = ReadNumber(value, number)) return problem;
    side = number;
    return std::nullopt;
}

std::optional<std::string> WriteSide(const PlanUnit& unit, bool width) {
    const std::optional<UnitSize>& size = unit.field.size;
    if (!size || !size->width || !size->height) return std::nullopt;
    return RoundTripNumber(width ? *size->width : *size->height);
}

// A whole JSON number from 0 to 2^53 - 1, which every JSON reader holds
// exactly; a larger seed is refused rather than rounded to another one.
ValueProblem ReadSeedValue(const Json& value, PlanUnit& unit) {
    if (value.is_number_unsigned()) {
        const auto seed = value.get<std::uint64_t>();
        if (seed > field::kLargestSeed) return field::kSeedUnusable;
        unit.field.seed = seed;
        return std::nullopt;
    }
    if (!value.is_number()) return std::string("the value is not a number.");
    const Outcome<std::uint64_t> seed = SeedFromNumber(value.get<double>());
    if (!seed) return seed.message();
    unit.field.seed = *seed;
    return std::nullopt;
}

ValueProblem ReadAreaFactorList(const Json& value, PlanUnit& unit) {
    if (!value.is_array()) return std::string("the value is not a list of [area, factor] pairs.");
    AreaFactorTable table;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const Json& pair = value[i];
        if (!pair.is_array() || pair.size() != 2 || !pair[0].is_number() || !pair[1].is_number()) {
            return "pair " + std::to_string(i + 1) + " is not [area, factor].";
        }
        table.push_back({pair[0].get<double>(), pair[1].get<double>()});
    }
    unit.field.area_factors = std::move(table);
    return std::nullopt;
}

std::optional<std::string> WriteAreaFactorList(const PlanUnit& unit) {
    const AreaFactorTable& table = unit.field.area_factors;
    if (table.empty()) return std::nullopt;
    std::string text = "[";
    for (std::size_t i = 0; i < table.size(); ++i) {
        text += (i ? ", [" : "[") + RoundTripNumber(table[i].area) + ", " + RoundTripNumber(table[i].factor) + "]";
    }
    return text + "]";
}

ValueProblem ReadNuclide(const Json& value, Nuclide& nuclide) {
    if (!value.is_object()) return std::string(" is not an object of keys and values.");
    for (const auto& item : value.items()) {
        const std::string& key = item.key();
        ValueProblem problem;
        if (key == "name") {
            problem = ReadText(item.value(), nuclide.name);
        } else if (key == "dcgl" || key == "sigma") {
            problem = ReadNumber(item.value(), key == "dcgl" ? nuclide.dcgl : nuclide.sigma);
        } else if (key == "concentration") {
            double number = 0;
            problem = ReadNumber(item.value(), number);
            nuclide.concentration = number;
        } else {
            return " has an unknown key \"" + key + "\".";
        }
        if (problem) return ", key \"" + key + "\": " + *problem;
    }
    for (const char* key : {"name", "dcgl", "sigma"}) {
        if (!value.contains(key)) return " has no key \"" + std::string(key) + "\".";
    }
    return std::nullopt;
}

// The list's own rules (names, ranges, no name twice) are the unit's, below.
ValueProblem ReadNuclideList(const Json& value, PlanUnit& unit) {
    if (!value.is_array()) return std::string("the value is not a list of radionuclides.");
    std::vector<Nuclide> nuclides(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (auto problem = ReadNuclide(value[i], nuclides[i])) {
            return "radionuclide " + std::to_string(i + 1) + *problem;
        }
    }
    unit.nuclides = std::move(nuclides);
    return std::nullopt;
}

std::optional<std::string> WriteNuclideList(const PlanUnit& unit) {
    if (unit.nuclides.empty()) return std::nullopt;
    std::string text = "[";
    for (std::size_t i = 0; i < unit.nuclides.size(); ++i) {
        const Nuclide& nuclide = unit.nuclides[i];
        text += (i ? ", " : "") + std::string("{\"name\": ") + Quoted(nuclide.name) +
                ", \"dcgl\": " + RoundTripNumber(nuclide.dcgl) + ", \"sigma\": " + RoundTripNumber(nuclide.sigma);
        if (nuclide.concentration) text += ", \"concentration\": " + RoundTripNumber(*nuclide.concentration);
        text += "}";
    }
    return text + "]";
}

// A ring as GeoJSON holds it: [x, y] pairs, the first repeated at the end.
ValueProblem ReadRing(const Json& value, Ring& ring) {
    if (!value.is_array() || value.size() < 4) return std::string("a ring is not a list of at least four [x, y].");
    for (const Json& position : value) {
        if (!position.is_array() || position.size() < 2 || !position[0].is_number() || !position[1].is_number()) {
            return std::string("a position is not [x, y].");
        }
        const GridPoint point{position[0].get<double>(), position[1].get<double>()};
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) return std::string("a position is not finite.");
        ring.push_back(point);
    }
    if (ring.front().x != ring.back().x || ring.front().y != ring.back().y) {
        return std::string("a ring does not end where it starts.");
    }
    ring.pop_back();
    return std::nullopt;
}

ValueProblem ReadPolygon(const Json& value, BoundaryPolygon& polygon) {
    if (!value.is_array() || value.empty()) return std::string("a polygon is not a list of rings.");
    for (std::size_t k = 0; k < value.size(); ++k) {
        Ring ring;
        if (auto problem = ReadRing(value[k], ring)) return problem;
        (k == 0 ? polygon.outer : polygon.holes.emplace_back()) = std::move(ring);
    }
    return std::nullopt;
}

// A GeoJSON geometry (Polygon or MultiPolygon) with its "crs", checked and
// measured by the geometry module; its area becomes the unit's.
ValueProblem ReadBoundaryValue(const Json& value, PlanUnit& unit) {
    if (!value.is_object() || !value.contains("type") || !value.contains("coordinates")) {
        return std::string("the value is not a GeoJSON Polygon or MultiPolygon.");
    }
    Boundary boundary;
    for (const auto& item : value.items()) {
        if (item.key() == "crs") {
            if (auto problem = ReadText(item.value(), boundary.crs)) return problem;
        } else if (item.key() != "type" && item.key() != "coordinates") {
            return "unknown key \"" + item.key() + "\" in the boundary.";
        }
    }
    const Json& coordinates = value["coordinates"];
    const bool multi = value["type"] == "MultiPolygon";
    if (!multi && value["type"] != "Polygon") return std::string("the boundary is not a Polygon or MultiPolygon.");
    if (!coordinates.is_array() || coordinates.empty()) return std::string("the boundary has no coordinates.");
    for (std::size_t k = 0; k < (multi ? coordinates.size() : 1); ++k) {
        if (auto problem = ReadPolygon(multi ? coordinates[k] : coordinates, boundary.polygons.emplace_back())) {
            return problem;
        }
    }
    const Outcome<MeasuredBoundary> measured = CheckedBoundary(boundary);
    if (!measured) return measured.message();
    if (auto refusal = TakeBoundary(measured->boundary, measured->area, unit)) return refusal->text;
    return std::nullopt;
}

std::string WriteRing(const Ring& ring) {
    std::string text = "[";
    for (const GridPoint& p : ring) text += "[" + RoundTripNumber(p.x) + ", " + RoundTripNumber(p.y) + "], ";
    return text + "[" + RoundTripNumber(ring.front().x) + ", " + RoundTripNumber(ring.front().y) + "]]";
}

std::optional<std::string> WriteBoundaryValue(const PlanUnit& unit) {
    if (!unit.field.site) return std::nullopt;
    const Boundary& boundary = unit.field.site->boundary;
    std::string text = "{\"type\": \"MultiPolygon\", \"crs\": " + Quoted(boundary.crs) + ", \"coordinates\": [";
    for (std::size_t k = 0; k < boundary.polygons.size(); ++k) {
        text += (k ? ", [" : "[") + WriteRing(boundary.polygons[k].outer);
        for (const Ring& hole : boundary.polygons[k].holes) text += ", " + WriteRing(hole);
        text += "]";
    }
    return text + "]}";
}

// The grid's angle, origin and shortfall rule belong to a boundary, whose
// key is read before theirs.
ValueProblem ReadSiteNumber(const Json& value, PlanUnit& unit, bool angle) {
    if (!unit.field.site) return std::string("the unit has no boundary to lay the grid over.");
    if (angle) {
        double number = 0;
        if (auto problem = ReadNumber(value, number)) return problem;
        const Outcome<double> checked = CheckedGridAngle(number);
        if (!checked) return checked.message();
        unit.field.site->angle = *checked;
        return std::nullopt;
    }
    if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number()) {
        return std::string("the value is not [x, y].");
    }
    const GridPoint origin{value[0].get<double>(), value[1].get<double>()};
    if (!std::isfinite(origin.x) || !std::isfinite(origin.y)) return std::string("the value is not finite.");
    unit.field.site->origin = origin;
    return std::nullopt;
}

// One key of a unit: how it is read and written. A feature that adds data to
// a unit adds a row here (its writer gives nothing when the unit lacks it).
struct UnitKey {
    const char* key;
    bool required;
    ValueProblem (*read)(const Json& value, PlanUnit& unit);
    std::optional<std::string> (*write)(const PlanUnit& unit);
};
using KeyReader = ValueProblem (*)(const Json& value, PlanUnit& unit);
using KeyWriter = std::optional<std::string> (*)(const PlanUnit& unit);

// The key of a field, with its key and whether a file must give it from the
// field's one declaration.
UnitKey Field(PlanField field, KeyReader read, KeyWriter write) {
    const PlanFieldRow& row = FieldRow(field);
    return {row.key, row.required, read, write};
}

const UnitKey kUnitKeys[] = {
    Field(PlanField::Name, [](const Json& v, PlanUnit& u) { return ReadText(v, u.name); },
     [](const PlanUnit& u) -> std::optional<std::string> { return Quoted(u.name); }),
    Field(PlanField::Radionuclide, [](const Json& v, PlanUnit& u) { return ReadText(v, u.radionuclide); },
     [](const PlanUnit& u) -> std::optional<std::string> { return Quoted(u.radionuclide); }),
    {"concentration_unit", false,
     [](const Json& v, PlanUnit& u) -> ValueProblem {
         if (auto problem = ReadText(v, u.concentration_unit)) return problem;
         return ConcentrationUnitProblem(u.concentration_unit);
     },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (u.concentration_unit.empty()) return std::nullopt;
         return Quoted(u.concentration_unit);
     }},
    Field(PlanField::Test, [](const Json& v, PlanUnit& u) -> ValueProblem {
         // Compared as text: a comparison with the JSON value makes a value of each word.
         const std::string* word = v.get_ptr<const std::string*>();
         if (word != nullptr && (*word == "sign" || *word == "wrs")) {
             u.test = *word == "sign" ? TestKind::Sign : TestKind::WRS;
             return std::nullopt;
         }
         return std::string("the test must be \"sign\" or \"wrs\".");
     },
     [](const PlanUnit& u) -> std::optional<std::string> {
         return std::string(u.test == TestKind::Sign ? "\"sign\"" : "\"wrs\"");
     }),
    Field(PlanField::Alpha, [](const Json& v, PlanUnit& u) { return ReadSingle(v, u.alpha); },
     [](const PlanUnit& u) -> std::optional<std::string> { return RoundTripNumber(u.alpha); }),
    Field(PlanField::Beta, [](const Json& v, PlanUnit& u) { return ReadSingle(v, u.beta); },
     [](const PlanUnit& u) -> std::optional<std::string> { return RoundTripNumber(u.beta); }),
    Field(PlanField::Sigma, [](const Json& v, PlanUnit& u) { return ReadSingle(v, u.sigma); },
     [](const PlanUnit& u) -> std::optional<std::string> { return RoundTripNumber(u.sigma); }),
    Field(PlanField::DCGL, [](const Json& v, PlanUnit& u) { return ReadNumber(v, u.dcgl); },
     [](const PlanUnit& u) -> std::optional<std::string> { return RoundTripNumber(u.dcgl); }),
    Field(PlanField::LBGR, [](const Json& v, PlanUnit& u) { return ReadNumber(v, u.lbgr); },
     [](const PlanUnit& u) -> std::optional<std::string> { return RoundTripNumber(u.lbgr); }),
    Field(PlanField::GivenN, [](const Json& v, PlanUnit& u) -> ValueProblem {
         double n = 0;
         if (auto problem = ReadNumber(v, n)) return problem;
         if (auto refusal = GivenSizeRefusal(n)) return refusal->text;
         u.given_n = static_cast<int32_t>(n);
         return std::nullopt;
     },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.given_n) return std::nullopt;
         return std::to_string(*u.given_n);
     }),
    Field(PlanField::CostFixed, [](const Json& v, PlanUnit& u) { return ReadCost(v, u.costs.fixed); },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.costs.fixed) return std::nullopt;
         return RoundTripNumber(*u.costs.fixed);
     }),
    Field(PlanField::CostPerSample, [](const Json& v, PlanUnit& u) { return ReadCost(v, u.costs.per_sample); },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.costs.per_sample) return std::nullopt;
         return RoundTripNumber(*u.costs.per_sample);
     }),
    {"survey_data", false, [](const Json& v, PlanUnit& u) { return ReadData(v, UnitData::Survey, u.survey_data); },
     [](const PlanUnit& u) { return WriteData(u.survey_data); }},
    {"survey_header", false, [](const Json& v, PlanUnit& u) { return ReadHeader(v, u.survey_data); },
     [](const PlanUnit& u) { return WriteHeader(u.survey_data); }},
    {"survey_ids", false, ReadSurveyIds, WriteSurveyIds},
    {"survey_places", false, ReadSurveyPlaces, WriteSurveyPlaces},
    {"elevated_area_sizes", false, ReadElevatedAreaSizes, WriteElevatedAreaSizes},
    {"reference_data", false,
     [](const Json& v, PlanUnit& u) { return ReadData(v, UnitData::Reference, u.reference_data); },
     [](const PlanUnit& u) { return WriteData(u.reference_data); }},
    {"reference_header", false, [](const Json& v, PlanUnit& u) { return ReadHeader(v, u.reference_data); },
     [](const PlanUnit& u) { return WriteHeader(u.reference_data); }},
    Field(PlanField::Area, [](const Json& v, PlanUnit& u) { return ReadNumber(v, SizeOf(u).area); },
     [](const PlanUnit& u) -> std::optional<std::string> {
         // A boundary gives its own area.
         if (!u.field.size || u.field.size->width || u.field.site) return std::nullopt;
         return RoundTripNumber(u.field.size->area);
     }),
    Field(PlanField::Width, [](const Json& v, PlanUnit& u) { return ReadSide(v, SizeOf(u).width); },
     [](const PlanUnit& u) { return WriteSide(u, true); }),
    Field(PlanField::Height, [](const Json& v, PlanUnit& u) { return ReadSide(v, SizeOf(u).height); },
     [](const PlanUnit& u) { return WriteSide(u, false); }),
    Field(PlanField::Grid, [](const Json& v, PlanUnit& u) -> ValueProblem {
         if (v == "triangular" || v == "square") {
             u.field.grid = v == "square" ? GridType::Square : GridType::Triangular;
             return std::nullopt;
         }
         return std::string("the grid must be \"triangular\" or \"square\".");
     },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.field.size && u.field.grid == GridType::Triangular) return std::nullopt;
         return Quoted(GridTypeName(u.field.grid));
     }),
    Field(PlanField::Seed, ReadSeedValue,
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.field.seed) return std::nullopt;
         return std::to_string(*u.field.seed);
     }),
    Field(PlanField::ScanMDC, [](const Json& v, PlanUnit& u) -> ValueProblem {
         double number = 0;
         if (auto problem = ReadNumber(v, number)) return problem;
         u.field.scan_mdc = number;
         return std::nullopt;
     },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.field.scan_mdc) return std::nullopt;
         return RoundTripNumber(*u.field.scan_mdc);
     }),
    Field(PlanField::AreaFactors, ReadAreaFactorList, WriteAreaFactorList),
    Field(PlanField::Nuclides, ReadNuclideList, WriteNuclideList),
    Field(PlanField::Boundary, ReadBoundaryValue, WriteBoundaryValue),
    Field(PlanField::GridAngle, [](const Json& v, PlanUnit& u) { return ReadSiteNumber(v, u, true); },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.field.site || u.field.site->angle == 0) return std::nullopt;
         return RoundTripNumber(u.field.site->angle);
     }),
    Field(PlanField::Origin, [](const Json& v, PlanUnit& u) { return ReadSiteNumber(v, u, false); },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.field.site || !u.field.site->origin) return std::nullopt;
         const GridPoint& origin = *u.field.site->origin;
         return "[" + RoundTripNumber(origin.x) + ", " + RoundTripNumber(origin.y) + "]";
     }),
    {"shortfall", false,
     [](const Json& v, PlanUnit& u) -> ValueProblem {
         if (!u.field.site) return std::string("the unit has no boundary to lay the grid over.");
         const auto shortfall = v.is_string() ? ShortfallFromName(v.get<std::string>()) : std::nullopt;
         if (!shortfall) return std::string("the value must be \"random\" or \"tighten\".");
         u.field.site->shortfall = *shortfall;
         return std::nullopt;
     },
     [](const PlanUnit& u) -> std::optional<std::string> {
         if (!u.field.site || u.field.site->shortfall == Shortfall::AddRandom) return std::nullopt;
         return Quoted(ShortfallName(u.field.site->shortfall));
     }},
};

// The keys a unit may have, in the rows' order: the reader hands each unit's
// values over by these places.
const std::vector<std::string_view>& UnitKeyNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> keys;
        for (const UnitKey& row : kUnitKeys) keys.emplace_back(row.key);
        return keys;
    }();
    return names;
}

std::size_t RowOf(std::string_view key) {
    const std::vector<std::string_view>& names = UnitKeyNames();
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), key) - names.begin());
}

// What the file holds is not a plan: one kind, whatever the key.
Refusal Unusable(std::string text) { return {RefusalKind::PlanFileUnusable, std::move(text), MessageIcon::Exclamation}; }

Outcome<PlanEntry> ReadUnit(std::size_t index, const UnitValues& values, CurveRoom* keep_curve) {
    static const std::size_t name = RowOf("name"), area = RowOf("area"), width = RowOf("width"),
                             height = RowOf("height"), boundary = RowOf("boundary");
    // Named only when refused: the label quotes the name, a JSON dump.
    const auto label = [&index, &values] { return UnitLabel(index, values.Given(name)); };
    if (!values.is_object()) return Unusable(label() + " is not an object of keys and values.");
    // The first of the keys in the order of their text, as an object lists them.
    if (!values.unknown().empty()) {
        return Unusable(label() + ": unknown key \"" + values.unknown().begin()->first + "\".");
    }
    PlanUnit unit;
    for (std::size_t i = 0; i < std::size(kUnitKeys); ++i) {
        const UnitKey& row = kUnitKeys[i];
        const Json* value = values.Given(i);
        if (value == nullptr) {
            if (!row.required) continue;
            return Unusable(label() + ": the key \"" + std::string(row.key) + "\" is missing.");
        }
        if (auto problem = row.read(*value, unit)) {
            return Unusable(label() + ", key \"" + row.key + "\": " + *problem);
        }
    }
    // The file gives the area, or the sides whose product it is.
    const bool sides = values.Given(width) || values.Given(height);
    if (values.Given(area) && sides) {
        return Unusable(label() + ", key \"area\": give the area or the width and the height, not both.");
    }
    if (values.Given(boundary) && (values.Given(area) || sides)) {
        return Unusable(label() + ", key \"boundary\": the boundary gives the unit's area; give no area, width or height.");
    }
    if (unit.field.size && unit.field.size->width && unit.field.size->height) {
        unit.field.size->area = *unit.field.size->width * *unit.field.size->height;
    }
    Outcome<DesignFigures, FieldRefusal> check = CheckUnit(unit, keep_curve);
    if (!check) {
        return Unusable(label() + ", key \"" + FieldRow(check.refusal().field).key + "\": " + check.refusal().refusal.text);
    }
    return MakeEntry(std::move(unit), std::move(*check));
}

PlanReading Refuse(std::string message) { return Unusable(std::move(message)); }

std::optional<std::string> CheckVersion(const Json& root) {
    if (!root.is_object() || !root.contains(kVersionKey)) {
        return "This file is not a survey plan: the key \"" + kVersionKey + "\" is missing.";
    }
    const Json& version = root[kVersionKey];
    if (version.is_number() && version.get<double>() > kPlanFormatVersion) {
        return "This plan was written by a newer version of VALDRIS Power (plan format " +
               version.dump() + "); this version reads format " + std::to_string(kPlanFormatVersion) + ".";
    }
    if (!version.is_number_integer() || version.get<long long>() != kPlanFormatVersion) {
        return "The key \"" + kVersionKey + "\" must be " + std::to_string(kPlanFormatVersion) + ".";
    }
    return std::nullopt;
}

std::optional<std::string> ReadDefaultCosts(const Json& root, SampleCosts& costs) {
    for (const auto& item : root.items()) {
        const std::string& key = item.key();
        if (key == kVersionKey || key == kUnitsKey) continue;
        std::optional<double>* cost = key == "cost_fixed" ? &costs.fixed
                                      : key == "cost_per_sample" ? &costs.per_sample : nullptr;
        if (cost == nullptr) return "The plan has an unknown key \"" + key + "\".";
        if (auto problem = ReadCost(item.value(), *cost)) return "The plan's key \"" + key + "\": " + *problem;
    }
    return std::nullopt;
}

}  // namespace

// A negative zero is written "-0.0": "-0" reads back as the whole number 0
// and would lose its sign.
std::string RoundTripNumber(double value) {
    if (value == 0 && std::signbit(value)) return "-0.0";
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// The reader takes the text as a double and rounds it to single: a single's
// shortest text has at most nine digits, too few to come near enough to a
// midpoint between two singles for the double to land on it.
std::string RoundTripNumber(float value) {
    if (value == 0 && std::signbit(value)) return "-0.0";
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

PlanReading ReadPlan(std::string_view bytes, const ReadProgress& progress, CurveKept curve) {
    // JSON has no NUL, and a reader that stops at one would take what came
    // before it for the whole plan.
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        return Refuse("This file is not a survey plan: its text holds a NUL byte (at byte " + std::to_string(nul + 1) +
                      ").");
    }
    // Each unit is read as soon as it closes; the first refused one is told
    // only once the file as a whole has been found sound.
    // The units' count bounds the text's units, and a sound plan's equals it.
    const std::size_t units = UnitsAtMost(bytes);
    std::vector<PlanEntry> entries;
    entries.reserve(units);
    PagesAhead pages(entries.data(), units * sizeof(PlanEntry));
    std::optional<Refusal> unit_refusal;
    ReadTicker ticker(progress, units);
    std::optional<CurveRoom> curves;
    const PlanJson json = ParsePlanJson(bytes, UnitKeyNames(), [&](std::size_t index, const UnitValues& values) {
        if (index == 0) {  // from the start (again)
            entries.clear();
            unit_refusal.reset();
            // A new room for the curves: an earlier one's went with its entries.
            if (curve == CurveKept::Yes) curves.emplace(units);
        }
        if (unit_refusal) return true;
        Outcome<PlanEntry> unit = ReadUnit(index, values, curves ? &*curves : nullptr);
        if (unit) {
            pages.Reach((entries.size() + 1) * sizeof(PlanEntry));
            entries.push_back(std::move(*unit));
        } else {
            unit_refusal = unit.refusal();
        }
        return ticker.GoOn(index + 1);
    });
    if (!json) return json.refusal();
    const Json& root = *json;
    if (auto problem = CheckVersion(root)) return Refuse(*problem);
    SampleCosts defaults;
    if (auto problem = ReadDefaultCosts(root, defaults)) return Refuse(*problem);
    if (!root.contains(kUnitsKey)) return Refuse("The plan's key \"" + kUnitsKey + "\" is missing.");
    if (!root[kUnitsKey].is_array()) return Refuse("The plan's key \"" + kUnitsKey + "\" is not a list of units.");
    if (unit_refusal) return *unit_refusal;
    return SurveyPlan(std::move(entries), defaults);
}

std::string WritePlan(const SurveyPlan& plan) {
    std::string text = "{\n  \"" + kVersionKey + "\": " + std::to_string(kPlanFormatVersion) + ",\n";
    const SampleCosts& defaults = plan.default_costs();
    if (defaults.fixed) text += "  \"cost_fixed\": " + RoundTripNumber(*defaults.fixed) + ",\n";
    if (defaults.per_sample) text += "  \"cost_per_sample\": " + RoundTripNumber(*defaults.per_sample) + ",\n";
    text += "  \"" + kUnitsKey + "\": [";
    for (std::size_t i = 0; i < plan.size(); ++i) {
        text += i == 0 ? "\n    {" : ",\n    {";
        bool first = true;
        for (const UnitKey& row : kUnitKeys) {
            const auto value = row.write(plan.entry(i).unit);
            if (!value) continue;
            text += (first ? "\"" : ", \"") + std::string(row.key) + "\": " + *value;
            first = false;
        }
        text += "}";
    }
    text += plan.size() == 0 ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

}  // namespace valdris
