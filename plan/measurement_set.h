// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit's set of measurements, the header of the column they were read
// from, and where each was taken when the file said so (an id or a place). Every step of a plan's undo history holds a copy of the unit it
// changed; the values are shared between those copies rather than copied, so
// a history of edits to a unit of a million measurements holds them once.
// A set is never changed in place: a new reading makes a new set.

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "boundary.h"

namespace valdris {

// Where each value of a set was taken, beside the values: an id each, a
// place each, or neither (both empty).
struct MeasurementPlaces {
    std::vector<std::string> ids;
    std::vector<GridPoint> at;

    friend bool operator==(const MeasurementPlaces& a, const MeasurementPlaces& b) {
        const auto same = [](GridPoint p, GridPoint q) { return p.x == q.x && p.y == q.y; };
        return a.ids == b.ids && std::equal(a.at.begin(), a.at.end(), b.at.begin(), b.at.end(), same);
    }
};

class MeasurementSet {
public:
    MeasurementSet() = default;
    MeasurementSet(std::vector<double> values, std::string header = {},  // NOLINT: a set is its values
                   MeasurementPlaces places = {})
        : data_(values.empty() && header.empty()
                    ? nullptr
                    : std::make_shared<const Data>(Data{std::move(values), std::move(header), std::move(places)})) {}
    MeasurementSet(std::initializer_list<double> values) : MeasurementSet(std::vector<double>(values)) {}

    const std::vector<double>& values() const { return data_ ? data_->values : Empty().values; }
    operator const std::vector<double>&() const { return values(); }  // NOLINT: read wherever values are
    // The column's header when the text had one, else empty.
    const std::string& header() const { return data_ ? data_->header : Empty().header; }

    // Where each value was taken; both empty when the text did not say.
    const std::vector<std::string>& ids() const { return data_ ? data_->places.ids : Empty().places.ids; }
    const std::vector<GridPoint>& places() const { return data_ ? data_->places.at : Empty().places.at; }
    const MeasurementPlaces& where() const { return data_ ? data_->places : Empty().places; }

    bool empty() const { return values().empty(); }
    std::size_t size() const { return values().size(); }
    double operator[](std::size_t i) const { return values()[i]; }
    std::vector<double>::const_iterator begin() const { return values().begin(); }
    std::vector<double>::const_iterator end() const { return values().end(); }

    // The same values and header; sets shared between steps compare at once.
    friend bool operator==(const MeasurementSet& a, const MeasurementSet& b) {
        return a.data_ == b.data_ ||
               (a.values() == b.values() && a.header() == b.header() && a.where() == b.where());
    }
    friend bool operator!=(const MeasurementSet& a, const MeasurementSet& b) { return !(a == b); }
    // Against bare values, the values alone: they have no header to differ in.
    friend bool operator==(const MeasurementSet& a, const std::vector<double>& b) { return a.values() == b; }
    friend bool operator==(const std::vector<double>& a, const MeasurementSet& b) { return a == b.values(); }
    friend bool operator!=(const MeasurementSet& a, const std::vector<double>& b) { return !(a == b); }
    friend bool operator!=(const std::vector<double>& a, const MeasurementSet& b) { return !(a == b); }

private:
    struct Data {
        std::vector<double> values;
        std::string header;
        MeasurementPlaces places;
    };
    static const Data& Empty() {
        static const Data empty;
        return empty;
    }
    std::shared_ptr<const Data> data_;
};

}  // namespace valdris
