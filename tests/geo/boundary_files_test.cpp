// SPDX-License-Identifier: Apache-2.0
// Site drawings made by GDAL here, in every format a planner brings, read
// back through the geometry module: the same area, the same locations, the
// right UTM zone, the refusals; and the crew's files read back by GDAL.

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <memory>
#include <string>
#include <vector>

#include "geometry_loader.h"
#include "locations_export.h"
#include "plan_file.h"
#include "site_boundary.h"
#include "site_field.h"
#include "text_mutation.h"

namespace valdris {
namespace {

class ModuleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        UseGeometryModuleAt(VALDRIS_GEOMETRY_MODULE_PATH);
        GDALAllRegister();
        CPLSetErrorHandler(CPLQuietErrorHandler);
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ModuleEnvironment);

std::string Scratch(const std::string& name) {
    static const std::string folder = [] {
        std::string pattern = ::testing::TempDir() + "geo-XXXXXX";
        return std::string(mkdtemp(pattern.data()));
    }();
    return folder + "/" + name;
}

// 100 m x 60 m near 15 E, 45 N in UTM zone 33, with a 20 m x 20 m hole.
constexpr double kEast = 500000;
constexpr double kNorth = 4983000;
std::unique_ptr<OGRGeometry> SitePolygon() {
    OGRGeometry* geometry = nullptr;
    const std::string e0 = std::to_string(kEast), n0 = std::to_string(kNorth);
    const auto at = [](double x, double y) {
        return std::to_string(kEast + x) + " " + std::to_string(kNorth + y);
    };
    const std::string wkt = "POLYGON((" + at(0, 0) + "," + at(100, 0) + "," + at(100, 60) + "," + at(0, 60) + "," +
                            at(0, 0) + "),(" + at(40, 20) + "," + at(40, 40) + "," + at(60, 40) + "," + at(60, 20) +
                            "," + at(40, 20) + "))";
    OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &geometry);
    return std::unique_ptr<OGRGeometry>(geometry);
}

// The geometries written as one layer "units" with a "name" attribute.
void WriteDrawing(const std::string& driver_name, const std::string& path, const std::vector<OGRGeometry*>& shapes,
                  int epsg) {
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driver_name.c_str());
    ASSERT_NE(driver, nullptr) << driver_name;
    GDALDataset* dataset = driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(dataset, nullptr) << driver_name << ": " << CPLGetLastErrorMsg();
    OGRSpatialReference srs;
    srs.importFromEPSG(epsg);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRLayer* layer = dataset->CreateLayer("units", driver_name == "DXF" ? nullptr : &srs, wkbUnknown, nullptr);
    ASSERT_NE(layer, nullptr) << driver_name;
    if (driver_name != "DXF") {
        OGRFieldDefn name("name", OFTString);
        layer->CreateField(&name);
    }
    for (std::size_t k = 0; k < shapes.size(); ++k) {
        OGRFeature feature(layer->GetLayerDefn());
        if (driver_name != "DXF") feature.SetField("name", ("unit " + std::to_string(k + 1)).c_str());
        feature.SetGeometry(shapes[k]);
        ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE) << driver_name << ": " << CPLGetLastErrorMsg();
    }
    GDALClose(dataset);
}

SampleLayout LaidOut(const MeasuredBoundary& measured, std::uint64_t seed, int samples = 20) {
    FieldSetup setup;
    setup.size = UnitSize{measured.area, std::nullopt, std::nullopt};
    setup.site = SiteGrid{measured.boundary, 0, std::nullopt, Shortfall::AddRandom};
    setup.seed = seed;
    const auto figures = ComputeSiteFigures(setup, samples, 1);
    EXPECT_TRUE(figures) << figures.message();
    return figures && figures->layout ? *figures->layout : SampleLayout{};
}

TEST(BoundaryFiles, EveryFormatGivesTheSameAreaAndLocations) {
    const auto polygon = SitePolygon();
    const double gdal_area = polygon->toPolygon()->get_Area();
    ASSERT_NEAR(gdal_area, 6000 - 400, 1e-6);
    struct Case {
        const char* driver;
        const char* file;
        const char* layer;  // what the reader names the layer
        const char* crs;
    };
    const std::vector<Case> cases = {
        {"GeoJSON", "site.geojson", "", "EPSG:32633"},
        {"ESRI Shapefile", "site.shp", "", "EPSG:32633"},
        {"KML", "site.kml", "units", "EPSG:32633"},  // KML holds lon/lat: back into the zone
        {"LIBKML", "site.kmz", "units", "EPSG:32633"},
        {"GPKG", "site.gpkg", "units", "EPSG:32633"},
        {"DXF", "site.dxf", "entities", ""},  // a drawing without a reference system
    };
    std::optional<SampleLayout> first;
    for (const Case& c : cases) {
        WriteDrawing(c.driver, Scratch(c.file), {polygon.get()}, 32633);
        const auto measured = ImportBoundary({Scratch(c.file), c.layer}, "");
        ASSERT_TRUE(measured) << c.driver << ": " << measured.message();
        EXPECT_NEAR(measured->area, gdal_area, 1e-9 * gdal_area) << c.driver;
        EXPECT_EQ(measured->boundary.crs, c.crs) << c.driver;
        ASSERT_EQ(measured->boundary.polygons.size(), 1u) << c.driver;
        EXPECT_EQ(measured->boundary.polygons[0].holes.size(), 1u) << c.driver;
        const SampleLayout layout = LaidOut(*measured, 7);
        ASSERT_EQ(layout.points.size(), 20u) << c.driver;
        if (!first) first = layout;
        for (std::size_t k = 0; k < layout.points.size(); ++k) {
            EXPECT_NEAR(layout.points[k].x, first->points[k].x, 1e-6) << c.driver << " location " << k + 1;
            EXPECT_NEAR(layout.points[k].y, first->points[k].y, 1e-6) << c.driver << " location " << k + 1;
        }
    }
}

TEST(BoundaryFiles, LongitudeLatitudeLandsInItsUtmZone) {
    struct Case {
        double lon, lat;
        const char* crs;
    };
    const std::vector<Case> cases = {
        {15.2, 45.1, "EPSG:32633"}, {-3.5, 40.4, "EPSG:32630"}, {151.2, -33.9, "EPSG:32756"}, {0.5, 51.5, "EPSG:32631"},
    };
    for (const Case& c : cases) {
        OGRPolygon square;
        OGRLinearRing ring;
        for (const auto& [dx, dy] : {std::pair{0.0, 0.0}, {0.001, 0.0}, {0.001, 0.001}, {0.0, 0.001}, {0.0, 0.0}}) {
            ring.addPoint(c.lon + dx, c.lat + dy);
        }
        square.addRing(&ring);
        const std::string path = Scratch("lonlat.geojson");
        unlink(path.c_str());
        WriteDrawing("GeoJSON", path, {&square}, 4326);
        const auto measured = ImportBoundary({path, ""}, "");
        ASSERT_TRUE(measured) << measured.message();
        EXPECT_EQ(measured->boundary.crs, c.crs) << c.lon << ", " << c.lat;
        // About 80 m x 110 m at these latitudes: metres, not degrees.
        EXPECT_GT(measured->area, 3000) << c.lon << ", " << c.lat;
        EXPECT_LT(measured->area, 12000) << c.lon << ", " << c.lat;
    }
}

TEST(BoundaryFiles, RefusalsNameTheFileAndWhatIsWrong) {
    OGRGeometry* bow_tie = nullptr;
    OGRGeometryFactory::createFromWkt("POLYGON((0 0,10 10,10 0,0 10,0 0))", nullptr, &bow_tie);
    OGRGeometry* point = nullptr;
    OGRGeometryFactory::createFromWkt("POINT(1 2)", nullptr, &point);
    const auto polygon = SitePolygon();
    WriteDrawing("GPKG", Scratch("bow.gpkg"), {bow_tie}, 32633);
    WriteDrawing("GPKG", Scratch("points.gpkg"), {point}, 32633);
    WriteDrawing("GPKG", Scratch("two.gpkg"), {polygon.get(), polygon.get()}, 32633);
    WriteDrawing("GPKG", Scratch("none.gpkg"), {}, 32633);
    OGRGeometryFactory::destroyGeometry(bow_tie);
    OGRGeometryFactory::destroyGeometry(point);
    FILE* text = std::fopen(Scratch("notes.geojson").c_str(), "w");
    std::fputs("these are not coordinates", text);
    std::fclose(text);
    struct Case {
        std::string source;
        std::string selector;
        RefusalKind kind;
        std::string says;
    };
    const std::vector<Case> cases = {
        {Scratch("bow.gpkg"), "", RefusalKind::BoundarySelfIntersecting, "not valid"},
        {Scratch("points.gpkg"), "", RefusalKind::BoundaryNotAPolygon, "points, not polygons"},
        {Scratch("two.gpkg"), "", RefusalKind::BoundaryFeatureChoice, "2 polygons match"},
        {Scratch("two.gpkg"), "name=unit 3", RefusalKind::BoundaryFeatureChoice, "no polygon has name=unit 3"},
        {Scratch("none.gpkg"), "", RefusalKind::BoundaryEmpty, "holds no polygon"},
        {Scratch("two.gpkg:roads"), "", RefusalKind::BoundaryUnreadable, "layer \"roads\": it has no layer named"},
        {Scratch("notes.geojson"), "", RefusalKind::BoundaryUnreadable, "not a drawing"},
        {Scratch("missing.shp"), "", RefusalKind::BoundaryUnreadable, "not a drawing"},
    };
    for (const Case& c : cases) {
        const BoundarySource source = SplitBoundarySource(c.source);
        const auto measured = ImportBoundary(source, c.selector);
        ASSERT_FALSE(measured) << c.source;
        EXPECT_EQ(measured.refusal().kind, c.kind) << c.source << ": " << measured.message();
        EXPECT_NE(measured.message().find(c.says), std::string::npos) << measured.message();
        EXPECT_EQ(measured.message().rfind("The boundary in " + source.path, 0), 0u) << measured.message();
    }
    const auto chosen = ImportBoundary({Scratch("two.gpkg"), ""}, "name=unit 2");
    EXPECT_TRUE(chosen) << chosen.message();
    // Typed vertices in a text file: refused naming the file and the line.
    FILE* vertices = std::fopen(Scratch("yard.txt").c_str(), "w");
    std::fputs("0 0\n10 0\n10 ten\n", vertices);
    std::fclose(vertices);
    const auto typed = ImportBoundary({Scratch("yard.txt"), ""}, "");
    ASSERT_FALSE(typed);
    EXPECT_EQ(typed.message(), "The boundary in " + Scratch("yard.txt") + ": The vertices: line 3 is not two numbers x y.");
}

TEST(BoundaryFiles, TypedVertices) {
    struct Case {
        const char* text;
        std::optional<double> area;  // nothing: refused
    };
    const std::vector<Case> cases = {
        {"0 0\n10 0\n10 10\n0 10\n", 100},
        {"0,0\n10,0\n10,10\n0,10\n\n2 2\n4 2\n4 4\n2 4\n", 96},
        {"0 0\n10 10\n10 0\n0 10\n", std::nullopt},  // crossing edges
        {"0 0\n10 0\n", std::nullopt},
        {"0 0\n10 x\n10 10\n", std::nullopt},
        {"0 0\n10 0 5\n10 10\n", std::nullopt},
        {"0 0\n1e999 0\n10 10\n", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto typed = TypedBoundary(c.text, "");
        ASSERT_EQ(static_cast<bool>(typed), c.area.has_value()) << c.text << typed.message();
        if (c.area) {
            EXPECT_NEAR(typed->area, *c.area, 1e-9) << c.text;
        }
    }
}

// Damaged drawings and typed vertices, seeded: each is read as a polygon of
// finite, positive area or refused with one message naming the file.
TEST(BoundaryFiles, DamagedFilesAreReadOrRefusedOnce) {
    const std::string geojson =
        R"({"type": "FeatureCollection", "crs": {"type": "name", "properties": {"name": "EPSG:32633"}},)"
        R"( "features": [{"type": "Feature", "properties": {"name": "unit 1"}, "geometry": {"type": "Polygon",)"
        R"( "coordinates": [[[500000, 4983000], [500100, 4983000], [500100, 4983060], [500000, 4983060],)"
        R"( [500000, 4983000]], [[500040, 4983020], [500040, 4983040], [500060, 4983040], [500060, 4983020],)"
        R"( [500040, 4983020]]]}}]})";
    const std::string typed = "0 0\n100 0\n100,60\n0 60\n\n40 20\n40 40\n60 40\n60 20\n";
    const std::string path = Scratch("damaged.geojson");
    const auto read_file = [&](const std::string& text) {
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        return ImportBoundary({path, ""}, "");
    };
    const auto read_typed = [](const std::string& text) { return TypedBoundary(text, ""); };
    struct Case {
        const char* what;
        const std::string& valid;
        std::function<Outcome<MeasuredBoundary>(const std::string&)> read;
        std::string says;  // how every refusal begins
        int cases;
    };
    const Case cases[] = {
        {"GeoJSON", geojson, read_file, "The boundary in " + path, 1500},
        {"typed vertices", typed, read_typed, "", 2500},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.read(c.valid)) << c.what;
        int read = 0;
        for (int seed = 1; seed <= c.cases; ++seed) {
            std::mt19937_64 random(static_cast<std::uint64_t>(seed));
            const auto measured = c.read(Mutate(c.valid, random));
            if (!measured) {
                ASSERT_FALSE(measured.message().empty()) << c.what << " seed " << seed;
                ASSERT_EQ(measured.message().rfind(c.says, 0), 0u) << c.what << " seed " << seed << ": " << measured.message();
                continue;
            }
            ++read;
            ASSERT_TRUE(std::isfinite(measured->area) && measured->area > 0) << c.what << " seed " << seed;
            ASSERT_FALSE(measured->boundary.empty()) << c.what << " seed " << seed;
        }
        // Damage that leaves a polygon (a figure changed, a blank put in) is
        // tried as well as damage that breaks it.
        EXPECT_GT(read, c.cases / 50) << c.what;
        EXPECT_LT(read, c.cases) << c.what;
    }
}

// What GDAL reads back of an exported file, in the unit's system.
std::vector<GridPoint> ReadBack(const std::string& path, const std::string& crs) {
    GDALDataset* dataset = GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR);
    EXPECT_NE(dataset, nullptr) << path;
    if (dataset == nullptr) return {};
    OGRLayer* layer = dataset->GetLayerByName("waypoints") != nullptr ? dataset->GetLayerByName("waypoints")
                                                                       : dataset->GetLayer(0);
    OGRSpatialReference wgs84, unit;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    unit.SetFromUserInput(crs.c_str());
    unit.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> change(OGRCreateCoordinateTransformation(&wgs84, &unit));
    std::vector<GridPoint> points;
    for (auto& feature : *layer) {
        GridPoint p;
        if (const OGRGeometry* geometry = feature->GetGeometryRef()) {
            p = {geometry->toPoint()->getX(), geometry->toPoint()->getY()};
        } else {
            p = {feature->GetFieldAsDouble("lon"), feature->GetFieldAsDouble("lat")};
        }
        change->Transform(1, &p.x, &p.y);
        points.push_back(p);
    }
    GDALClose(dataset);
    return points;
}

TEST(LocationsFiles, ReadBackToTheSamePointsInsideTheBoundary) {
    const auto polygon = SitePolygon();
    WriteDrawing("GPKG", Scratch("export.gpkg"), {polygon.get()}, 32633);
    const auto measured = ImportBoundary({Scratch("export.gpkg"), ""}, "");
    ASSERT_TRUE(measured) << measured.message();
    const SampleLayout layout = LaidOut(*measured, 11, 30);
    for (const LocationsFormat format :
         {LocationsFormat::Csv, LocationsFormat::GeoJson, LocationsFormat::Kml, LocationsFormat::Gpx}) {
        const std::string path = Scratch(std::string("out.") + LocationsExtension(format));
        const auto written = WriteLocations(layout, format, path);
        ASSERT_TRUE(written) << written.message();
        const std::vector<GridPoint> back = ReadBack(path, measured->boundary.crs);
        ASSERT_EQ(back.size(), layout.points.size()) << path;
        for (std::size_t k = 0; k < back.size(); ++k) {
            EXPECT_NEAR(back[k].x, layout.points[k].x, 1e-3) << path << " location " << k + 1;
            EXPECT_NEAR(back[k].y, layout.points[k].y, 1e-3) << path << " location " << k + 1;
            OGRPoint at(back[k].x, back[k].y);
            EXPECT_TRUE(polygon->Contains(&at)) << path << " location " << k + 1 << " lies outside or in the hole";
        }
    }
    // A unit without a reference system has no longitude/latitude to give.
    SampleLayout local = layout;
    local.boundary.crs.clear();
    const auto refused = WriteLocations(local, LocationsFormat::Gpx, Scratch("local.gpx"));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.refusal().kind, RefusalKind::FileNotWritten);
    EXPECT_EQ(access(Scratch("local.gpx").c_str(), F_OK), -1);
}

TEST(PlanFileBoundary, KeysReadBackAndAreRefusedWhole) {
    const std::string unit_start =
        R"({"valdris_power_plan": 1, "units": [{"name": "North", "radionuclide": "Co-60", "test": "sign",
        "alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5, "seed": 5)";
    const std::string square = R"("boundary": {"type": "Polygon", "crs": "EPSG:32633", "coordinates":
        [[[0, 0], [100, 0], [100, 60], [0, 60], [0, 0]], [[40, 20], [40, 40], [60, 40], [60, 20], [40, 20]]]})";
    struct Case {
        std::string keys;
        std::optional<std::string> refusal;  // a part of the message; nothing: read
    };
    const std::vector<Case> cases = {
        {", " + square, std::nullopt},
        {", " + square + R"(, "grid_angle": 30, "origin": [5, 5], "shortfall": "tighten")", std::nullopt},
        {", " + square + R"(, "area": 5600)", "the boundary gives the unit's area"},
        {R"(, "grid_angle": 30)", "key \"grid_angle\": the unit has no boundary"},
        {", " + square + R"(, "grid_angle": 400)", "key \"grid_angle\": The grid angle must be"},
        {", " + square + R"(, "origin": [1])", "key \"origin\": the value is not [x, y]"},
        {", " + square + R"(, "shortfall": "less")", "key \"shortfall\""},
        {R"(, "boundary": {"type": "Polygon", "coordinates": [[[0, 0], [10, 10], [10, 0], [0, 10], [0, 0]]]})",
         "key \"boundary\": The boundary: the polygon is not valid"},
        {R"(, "boundary": {"type": "Polygon", "coordinates": [[[0, 0], [10, 0], [10, 10], [0, 0.5]]]})",
         "a ring does not end where it starts"},
        {R"(, "boundary": {"type": "Point", "coordinates": [1, 2]})", "not a Polygon or MultiPolygon"},
    };
    for (const Case& c : cases) {
        const PlanReading read = ReadPlan(unit_start + c.keys + "}]}");
        ASSERT_EQ(static_cast<bool>(read), !c.refusal.has_value()) << c.keys << "\n" << read.message();
        if (c.refusal) {
            EXPECT_NE(read.message().find(*c.refusal), std::string::npos) << read.message();
            continue;
        }
        const PlanUnit& unit = read->entry(0).unit;
        ASSERT_TRUE(unit.field.site);
        EXPECT_NEAR(unit.field.size->area, 5600, 1e-9);
        EXPECT_EQ(unit.field.site->boundary.crs, "EPSG:32633");
        // Written and read again: the same unit.
        const PlanReading again = ReadPlan(WritePlan(*read));
        ASSERT_TRUE(again) << again.message();
        const PlanUnit& back = again->entry(0).unit;
        EXPECT_EQ(back.field.site->angle, unit.field.site->angle);
        EXPECT_EQ(back.field.site->shortfall, unit.field.site->shortfall);
        EXPECT_EQ(back.field.site->origin.has_value(), unit.field.site->origin.has_value());
        EXPECT_EQ(back.field.site->boundary.polygons[0].holes[0].size(), 4u);
        EXPECT_EQ(WritePlan(*again), WritePlan(*read));
    }
}

struct CompanionRun {
    int status;
    std::string out;
};
CompanionRun Companion(const std::string& arguments) {
    const std::string command = std::string("'") + VALDRIS_CLI_PATH + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, read);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// The companion end to end: its own loader finds the module from bin/.
TEST(CompanionBoundary, GridNamesItsSystemAreaAndLocations) {
    const auto polygon = SitePolygon();
    WriteDrawing("GPKG", Scratch("cli.gpkg"), {polygon.get(), polygon.get()}, 32633);
    const std::string file = "'" + Scratch("cli.gpkg") + "'";
    const CompanionRun run = Companion("--boundary " + file + ":units --feature 'name=unit 2' --seed 3 --grid-angle 15 --json");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto grid = nlohmann::json::parse(run.out)["grid"];
    EXPECT_EQ(grid["crs"], "EPSG:32633");
    EXPECT_NEAR(grid["area"].template get<double>(), 5600, 5600 * 1e-9);
    EXPECT_EQ(grid["locations"], grid["samples"]);
    EXPECT_EQ(grid["grid_angle"], 15);

    const CompanionRun refused = Companion("--boundary " + file + ":roads --seed 3");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.out.find("layer \"roads\""), std::string::npos) << refused.out;

    const std::string plan = R"({"valdris_power_plan": 1, "units": [{"name": "North", "radionuclide": "Co-60",
        "test": "sign", "alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5, "seed": 5,
        "boundary": {"type": "Polygon", "crs": "EPSG:32633", "coordinates": [[[500000, 4983000], [500100, 4983000],
        [500100, 4983060], [500000, 4983060], [500000, 4983000]]]}}, {"name": "Bare", "radionuclide": "Co-60",
        "test": "sign", "alpha": 0.05, "beta": 0.05, "sigma": 0.5, "dcgl": 1, "lbgr": 0.5}]})";
    FILE* out = std::fopen(Scratch("site.vplan").c_str(), "w");
    std::fputs(plan.c_str(), out);
    std::fclose(out);
    const CompanionRun locations = Companion("--plan '" + Scratch("site.vplan") + "' --locations gpx");
    EXPECT_EQ(locations.status, 0) << locations.out;
    EXPECT_NE(locations.out.find("\"Bare\" has no locations laid out"), std::string::npos) << locations.out;
    EXPECT_GE(ReadBack(Scratch("site - North - locations.gpx"), "EPSG:32633").size(), 29u);  // N = 29
}

}  // namespace
}  // namespace valdris
