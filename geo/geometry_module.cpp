// SPDX-License-Identifier: Apache-2.0
// The geometry module: site drawings read, boundaries checked and measured,
// points tested against them, coordinates changed and the crew's files
// written, all by GDAL/OGR with PROJ and GEOS beneath it. The program's own
// code does no geometry; this file only converts between its plain rings
// and OGR's geometries.

#include <gdal_priv.h>
#include <ogr_api.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <mutex>

#include "geometry.h"

namespace {

using valdris::Boundary;
using valdris::BoundaryFeature;
using valdris::BoundaryPolygon;
using valdris::GeometryProblem;
using valdris::GeometryStatus;
using valdris::GridPoint;
using valdris::Ring;

struct GeometryDeleter {
    void operator()(OGRGeometry* geometry) const { OGRGeometryFactory::destroyGeometry(geometry); }
};
using GeometryPtr = std::unique_ptr<OGRGeometry, GeometryDeleter>;
struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

void EnsureDrivers() {
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        // GDAL's notes go to the refusal texts, not to the program's stderr.
        CPLSetErrorHandler(CPLQuietErrorHandler);
    });
}

GeometryStatus Problem(GeometryProblem problem, std::string text) { return {problem, std::move(text)}; }

// "linestring" for OGR's "LINESTRING": the name as a sentence uses it.
std::string KindName(const OGRGeometry& geometry) {
    std::string name = geometry.getGeometryName();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string LastGdalError() {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? std::string(message) : std::string("no reason given");
}

// "EPSG:<code>" when the system has an EPSG code, else its WKT.
std::string CrsName(const OGRSpatialReference& srs) {
    const char* authority = srs.GetAuthorityName(nullptr);
    const char* code = srs.GetAuthorityCode(nullptr);
    if (authority != nullptr && code != nullptr && std::string(authority) == "EPSG") {
        return std::string("EPSG:") + code;
    }
    char* wkt = nullptr;
    const char* options[] = {"FORMAT=WKT2_2019", nullptr};
    srs.exportToWkt(&wkt, options);
    std::string text = wkt != nullptr ? wkt : "";
    CPLFree(wkt);
    return text;
}

// x east, y north whatever axis order the system's definition names.
bool SetCrs(OGRSpatialReference& srs, const std::string& crs) {
    if (srs.SetFromUserInput(crs.c_str()) != OGRERR_NONE) return false;
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return true;
}

Ring RingOf(const OGRLinearRing& ring) {
    Ring points;
    const int count = ring.getNumPoints();
    for (int k = 0; k < count; ++k) points.push_back({ring.getX(k), ring.getY(k)});
    // Closed rings repeat their first vertex; the program's rings do not.
    if (points.size() > 1 && points.front().x == points.back().x && points.front().y == points.back().y) {
        points.pop_back();
    }
    return points;
}

void AddPolygon(const OGRPolygon& polygon, Boundary& boundary) {
    if (polygon.IsEmpty()) return;
    BoundaryPolygon part;
    part.outer = RingOf(*polygon.getExteriorRing());
    for (int k = 0; k < polygon.getNumInteriorRings(); ++k) part.holes.push_back(RingOf(*polygon.getInteriorRing(k)));
    boundary.polygons.push_back(std::move(part));
}

std::unique_ptr<OGRLinearRing> OgrRing(const Ring& ring) {
    auto linear = std::make_unique<OGRLinearRing>();
    for (const GridPoint& p : ring) linear->addPoint(p.x, p.y);
    if (!ring.empty()) linear->addPoint(ring.front().x, ring.front().y);
    return linear;
}

GeometryPtr OgrGeometry(const Boundary& boundary) {
    auto multi = new OGRMultiPolygon();
    GeometryPtr owner(multi);
    for (const BoundaryPolygon& part : boundary.polygons) {
        auto polygon = std::make_unique<OGRPolygon>();
        polygon->addRingDirectly(OgrRing(part.outer).release());
        for (const Ring& hole : part.holes) polygon->addRingDirectly(OgrRing(hole).release());
        multi->addGeometryDirectly(polygon.release());
    }
    return owner;
}

// A drawing's closed polylines (as CAD files hold areas): the area they
// enclose by the even-odd rule, so that a ring within a ring is a hole.
GeometryPtr AreaOfClosedLines(const std::vector<GeometryPtr>& lines) {
    GeometryPtr area;
    for (const GeometryPtr& line : lines) {
        const auto* curve = line->toLineString();
        if (!curve->get_IsClosed() || curve->getNumPoints() < 4) continue;
        OGRPolygon polygon;
        auto ring = std::make_unique<OGRLinearRing>();
        for (int k = 0; k < curve->getNumPoints(); ++k) ring->addPoint(curve->getX(k), curve->getY(k));
        polygon.addRingDirectly(ring.release());
        area = area ? GeometryPtr(area->SymDifference(&polygon)) : GeometryPtr(polygon.clone());
        if (!area) return nullptr;
    }
    return area;
}

// The boundary of a polygon geometry (flattened to 2D, curves made linear),
// or nothing when the geometry holds no polygon.
bool BoundaryOf(const OGRGeometry& geometry, Boundary& boundary) {
    GeometryPtr flat(geometry.hasCurveGeometry() ? geometry.getLinearGeometry() : geometry.clone());
    flat->flattenTo2D();
    const OGRwkbGeometryType type = wkbFlatten(flat->getGeometryType());
    if (type == wkbPolygon) {
        AddPolygon(*flat->toPolygon(), boundary);
        return true;
    }
    if (type == wkbMultiPolygon) {
        for (const OGRPolygon* polygon : *flat->toMultiPolygon()) AddPolygon(*polygon, boundary);
        return true;
    }
    return false;
}

std::string ValidityProblem(const OGRGeometry& geometry) {
    if (geometry.IsEmpty()) return "the polygon is empty";
    if (!geometry.IsValid()) return "the polygon is not valid (its edges cross or touch themselves)";
    return {};
}

// A boundary in longitude/latitude moved into the UTM zone of its centre.
GeometryStatus ToMetres(OGRGeometry& geometry, const OGRSpatialReference& source, std::string& crs) {
    OGRPoint centre;
    if (geometry.Centroid(&centre) != OGRERR_NONE) return Problem(GeometryProblem::Empty, "the polygon is empty");
    const double lon = centre.getX();
    const double lat = centre.getY();
    if (!(std::abs(lon) <= 180 && std::abs(lat) <= 84)) {
        return Problem(GeometryProblem::NoCRS, "the polygon does not lie where a UTM zone covers it");
    }
    const int zone = std::min(60, static_cast<int>(std::floor((lon + 180) / 6)) + 1);
    OGRSpatialReference utm;
    utm.importFromEPSG((lat >= 0 ? 32600 : 32700) + zone);
    utm.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> change(OGRCreateCoordinateTransformation(&source, &utm));
    if (!change || geometry.transform(change.get()) != OGRERR_NONE) {
        return Problem(GeometryProblem::NoCRS, "its coordinates could not be changed to UTM zone " +
                                                   std::to_string(zone) + ": " + LastGdalError());
    }
    crs = CrsName(utm);
    return {};
}

// One feature's geometry made a boundary in metres, or why it cannot be.
GeometryStatus FeatureBoundary(GeometryPtr geometry, const OGRSpatialReference* srs, Boundary& boundary) {
    const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
    if (type != wkbPolygon && type != wkbMultiPolygon && type != wkbCurvePolygon && type != wkbMultiSurface) {
        return Problem(GeometryProblem::NotAPolygon, "it is a " + KindName(*geometry) + ", not a polygon");
    }
    if (std::string problem = ValidityProblem(*geometry); !problem.empty()) {
        return Problem(geometry->IsEmpty() ? GeometryProblem::Empty : GeometryProblem::SelfIntersecting, problem);
    }
    if (srs != nullptr) {
        OGRSpatialReference source(*srs);
        source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        if (source.IsGeographic()) {
            if (GeometryStatus moved = ToMetres(*geometry, source, boundary.crs); !moved.ok()) return moved;
        } else {
            boundary.crs = CrsName(source);
        }
    }
    BoundaryOf(*geometry, boundary);
    return {};
}

// A layer of closed lines only (a drawing without polygons): one feature,
// their even-odd area.
bool LinesAsOneFeature(std::vector<GeometryPtr>& lines, std::vector<GeometryPtr>& geometries) {
    if (lines.empty() || !geometries.empty()) return false;
    GeometryPtr area = AreaOfClosedLines(lines);
    if (!area) return false;
    geometries.push_back(std::move(area));
    return true;
}

GeometryStatus ReadFeatures(const std::string& path, const std::string& layer_name,
                            std::vector<BoundaryFeature>& features) {
    EnsureDrivers();
    DatasetPtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    // A KMZ is a zipped KML: without the driver that reads it whole, the
    // document inside it.
    if (!dataset && path.size() > 4 && path.compare(path.size() - 4, 4, ".kmz") == 0) {
        dataset.reset(GDALDataset::Open(("/vsizip/" + path + "/doc.kml").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    }
    if (!dataset) return Problem(GeometryProblem::FileUnreadable, "it is not a drawing this program reads");
    OGRLayer* layer = layer_name.empty() ? dataset->GetLayer(0) : dataset->GetLayerByName(layer_name.c_str());
    if (layer == nullptr) {
        return Problem(GeometryProblem::FileUnreadable,
                       layer_name.empty() ? "it has no layer" : "it has no layer named \"" + layer_name + "\"");
    }
    std::vector<GeometryPtr> geometries;
    std::vector<std::vector<std::pair<std::string, std::string>>> attributes;
    std::vector<GeometryPtr> closed_lines;
    std::string other;
    for (auto& feature : *layer) {
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (geometry == nullptr) continue;
        const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
        if (type == wkbLineString && geometry->toLineString()->get_IsClosed() && !geometry->IsEmpty()) {
            GeometryPtr line(geometry->clone());
            line->flattenTo2D();
            closed_lines.push_back(std::move(line));
            continue;
        }
        if (type == wkbPoint || type == wkbLineString || type == wkbMultiPoint || type == wkbMultiLineString) {
            other = "its features are " + KindName(*geometry) + "s, not polygons";
            continue;
        }
        std::vector<std::pair<std::string, std::string>> fields;
        for (int k = 0; k < feature->GetFieldCount(); ++k) {
            fields.emplace_back(feature->GetFieldDefnRef(k)->GetNameRef(),
                                feature->IsFieldSetAndNotNull(k) ? feature->GetFieldAsString(k) : "");
        }
        geometries.emplace_back(geometry->clone());
        attributes.push_back(std::move(fields));
    }
    if (LinesAsOneFeature(closed_lines, geometries)) attributes.emplace_back();
    if (geometries.empty()) {
        return other.empty() ? Problem(GeometryProblem::Empty, "it holds no polygon")
                             : Problem(GeometryProblem::NotAPolygon, other);
    }
    const OGRSpatialReference* srs = layer->GetSpatialRef();
    for (std::size_t k = 0; k < geometries.size(); ++k) {
        BoundaryFeature feature;
        feature.attributes = std::move(attributes[k]);
        GeometryStatus made = FeatureBoundary(std::move(geometries[k]), srs, feature.boundary);
        if (!made.ok()) {
            made.text = "feature " + std::to_string(k + 1) + ": " + made.text;
            return made;
        }
        features.push_back(std::move(feature));
    }
    return {};
}

GeometryStatus CheckedArea(const Boundary& boundary, double& area) {
    EnsureDrivers();
    const GeometryPtr geometry = OgrGeometry(boundary);
    if (std::string problem = ValidityProblem(*geometry); !problem.empty()) {
        return Problem(geometry->IsEmpty() ? GeometryProblem::Empty : GeometryProblem::SelfIntersecting, problem);
    }
    area = OGR_G_Area(OGRGeometry::ToHandle(geometry.get()));
    return {};
}

GeometryStatus Inside(const Boundary& boundary, const std::vector<GridPoint>& points, std::vector<char>& inside) {
    EnsureDrivers();
    const GeometryPtr geometry = OgrGeometry(boundary);
    OGRPreparedGeometryH prepared = OGRCreatePreparedGeometry(OGRGeometry::ToHandle(geometry.get()));
    inside.assign(points.size(), 0);
    for (std::size_t k = 0; k < points.size(); ++k) {
        OGRPoint point(points[k].x, points[k].y);
        inside[k] = prepared != nullptr
                        ? static_cast<char>(OGRPreparedGeometryContains(prepared, OGRGeometry::ToHandle(&point)))
                        : static_cast<char>(geometry->Contains(&point));
    }
    if (prepared != nullptr) OGRDestroyPreparedGeometry(prepared);
    return {};
}

GeometryStatus ToWgs84(const std::string& crs, const std::vector<GridPoint>& points, std::vector<GridPoint>& lon_lat) {
    EnsureDrivers();
    OGRSpatialReference source;
    OGRSpatialReference wgs84;
    if (crs.empty() || !SetCrs(source, crs)) {
        return Problem(GeometryProblem::NoCRS, "the unit's coordinates name no reference system");
    }
    SetCrs(wgs84, "EPSG:4326");
    std::unique_ptr<OGRCoordinateTransformation> change(OGRCreateCoordinateTransformation(&source, &wgs84));
    if (!change) return Problem(GeometryProblem::NoCRS, "no change to longitude/latitude: " + LastGdalError());
    lon_lat = points;
    for (GridPoint& p : lon_lat) {
        if (!change->Transform(1, &p.x, &p.y)) {
            return Problem(GeometryProblem::NoCRS, "a location could not be changed to longitude/latitude");
        }
    }
    return {};
}

// The driver's own field names: GPX and KML name a waypoint by "name"/"Name".
const char* NameField(const std::string& driver) { return driver == "KML" ? "Name" : "name"; }

GeometryStatus WritePoints(const std::string& driver_name, const std::string& crs,
                           const std::vector<valdris::NamedPoint>& points, const std::string& path) {
    EnsureDrivers();
    std::vector<GridPoint> at;
    for (const auto& point : points) at.push_back(point.at);
    std::vector<GridPoint> lon_lat;
    if (GeometryStatus moved = ToWgs84(crs, at, lon_lat); !moved.ok()) return moved;
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driver_name.c_str());
    if (driver == nullptr) return Problem(GeometryProblem::NotWritten, "GDAL has no " + driver_name + " writer");
    DatasetPtr dataset(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) return Problem(GeometryProblem::NotWritten, LastGdalError());
    OGRSpatialReference wgs84;
    SetCrs(wgs84, "EPSG:4326");
    const bool table = driver_name == "CSV";
    // An id is quoted only where CSV needs it, as a number would not be.
    char* options[] = {const_cast<char*>("STRING_QUOTING=IF_NEEDED"), nullptr};
    OGRLayer* layer = dataset->CreateLayer(driver_name == "GPX" ? "waypoints" : "locations", table ? nullptr : &wgs84,
                                           table ? wkbNone : wkbPoint, table ? options : nullptr);
    if (layer == nullptr) return Problem(GeometryProblem::NotWritten, LastGdalError());
    const std::vector<std::pair<const char*, OGRFieldType>> fields =
        table ? std::vector<std::pair<const char*, OGRFieldType>>{{"id", OFTString}, {"x", OFTReal}, {"y", OFTReal},
                                                                   {"lon", OFTReal}, {"lat", OFTReal}}
              : std::vector<std::pair<const char*, OGRFieldType>>{{NameField(driver_name), OFTString}};
    for (const auto& [name, type] : fields) {
        OGRFieldDefn field(name, type);
        if (layer->CreateField(&field) != OGRERR_NONE) return Problem(GeometryProblem::NotWritten, LastGdalError());
    }
    for (std::size_t k = 0; k < points.size(); ++k) {
        OGRFeature feature(layer->GetLayerDefn());
        if (table) {
            feature.SetField("id", points[k].id.c_str());
            feature.SetField("x", points[k].at.x);
            feature.SetField("y", points[k].at.y);
            feature.SetField("lon", lon_lat[k].x);
            feature.SetField("lat", lon_lat[k].y);
        } else {
            feature.SetField(NameField(driver_name), points[k].id.c_str());
            feature.SetGeometryDirectly(new OGRPoint(lon_lat[k].x, lon_lat[k].y));
        }
        if (layer->CreateFeature(&feature) != OGRERR_NONE) {
            return Problem(GeometryProblem::NotWritten, LastGdalError());
        }
    }
    dataset.reset();  // closing writes the file out
    return {};
}

const valdris::GeometryFunctions kFunctions = {
    valdris::kGeometryInterfaceVersion, sizeof(valdris::Boundary), ReadFeatures, CheckedArea, Inside, ToWgs84,
    WritePoints,
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const valdris::GeometryFunctions* valdris_geometry_functions() {
    return &kFunctions;
}
