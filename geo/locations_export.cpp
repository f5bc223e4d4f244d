// SPDX-License-Identifier: Apache-2.0
#include "locations_export.h"

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "field_texts.h"
#include "file_names.h"
#include "geometry_loader.h"
#include "safe_write.h"

namespace valdris {

namespace {

struct FormatRow {
    LocationsFormat format;
    const char* extension;
    const char* driver;  // GDAL's name of its writer
};
constexpr FormatRow kFormats[] = {
    {LocationsFormat::Csv, "csv", "CSV"},
    {LocationsFormat::GeoJson, "geojson", "GeoJSON"},
    {LocationsFormat::Kml, "kml", "KML"},
    {LocationsFormat::Gpx, "gpx", "GPX"},
};

const FormatRow& RowOf(LocationsFormat format) {
    return *std::find_if(std::begin(kFormats), std::end(kFormats),
                         [format](const FormatRow& row) { return row.format == format; });
}

Outcome<Done> NotWritten(const std::string& path, const std::string& reason) {
    return Outcome<Done>::Failure(RefusalKind::FileNotWritten,
                                  "The locations could not be written to " + path + ": " + reason + ".");
}

// A folder of our own for GDAL's file, removed with what is in it.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* base = getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/valdris-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    // With whatever GDAL left beside its file (a driver may add one).
    ~ScratchFolder() {
        if (path_.empty()) return;
        if (DIR* folder = opendir(path_.c_str())) {
            while (const dirent* entry = readdir(folder)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") unlink((path_ + "/" + name).c_str());
            }
            closedir(folder);
        }
        rmdir(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    bool made() const { return !path_.empty(); }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace

std::optional<LocationsFormat> LocationsFormatOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "json") return LocationsFormat::GeoJson;
    for (const FormatRow& row : kFormats) {
        if (extension == row.extension) return row.format;
    }
    return std::nullopt;
}

const char* LocationsExtension(LocationsFormat format) { return RowOf(format).extension; }

Outcome<Done> WriteLocations(const SampleLayout& layout, LocationsFormat format, const std::string& path) {
    if (layout.boundary.crs.empty()) {
        if (format != LocationsFormat::Csv) {
            return NotWritten(path, "the unit's coordinates name no reference system, so they have no longitude "
                                    "and latitude; write a CSV file, or import a boundary with one");
        }
        const std::string reason = WriteStreamSafely(
            path, [&layout](const ByteSink& write) { return StreamLocationsCsv(layout, write); });
        if (!reason.empty()) return NotWritten(path, reason);
        return Done{};
    }
    const auto module = LoadGeometry();
    if (!module) return module.refusal();
    // A name that may not be written is refused before any work is done.
    if (const std::string refused = RefusalOfPath(path); !refused.empty()) return NotWritten(path, refused);
    std::vector<NamedPoint> points;
    for (std::size_t k = 0; k < layout.points.size(); ++k) points.push_back({std::to_string(k + 1), layout.points[k]});
    ScratchFolder scratch;
    if (!scratch.made()) return NotWritten(path, "no temporary folder could be made");
    const std::string made = scratch.File(std::string("locations.") + RowOf(format).extension);
    const GeometryStatus status = (*module)->write_points(RowOf(format).driver, layout.boundary.crs, points, made);
    if (!status.ok()) return NotWritten(path, status.text);
    std::ifstream in(made, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return NotWritten(path, "GDAL's file could not be read back");
    if (const std::string reason = WriteBytesSafely(path, bytes); !reason.empty()) return NotWritten(path, reason);
    return Done{};
}

std::string UnitLocationsFileName(const std::string& plan, const std::string& unit, LocationsFormat format) {
    return FileNameStem(plan, "Plan") + " - " + FileNameStem(unit, "Unit") + " - locations." +
           RowOf(format).extension;
}

}  // namespace valdris
