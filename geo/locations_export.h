// SPDX-License-Identifier: Apache-2.0
#pragma once
// The locations as the files a field crew takes out: CSV (id, x, y in the
// unit's reference system, lon, lat in WGS 84), GeoJSON, KML and GPX
// (waypoints named by id). GDAL writes each into a private temporary folder;
// the one safe writer then puts the bytes in place, whole or not at all.

#include <optional>
#include <string>

#include "outcome.h"
#include "sample_grid.h"

namespace valdris {

enum class LocationsFormat { Csv, GeoJson, Kml, Gpx };

// By the name's extension (".csv", ".geojson" or ".json", ".kml", ".gpx",
// any case); nothing for another.
std::optional<LocationsFormat> LocationsFormatOf(const std::string& path);
const char* LocationsExtension(LocationsFormat format);  // "csv", ...

// A unit without a reference system (a rectangle, or a drawing in local
// coordinates) has no longitude/latitude: its CSV is id,x,y as before, and
// the other formats are refused, saying so.
Outcome<Done> WriteLocations(const SampleLayout& layout, LocationsFormat format, const std::string& path);

// "<plan> - <unit> - locations.<ext>": a whole plan's files, one a unit.
std::string UnitLocationsFileName(const std::string& plan, const std::string& unit, LocationsFormat format);

}  // namespace valdris
