// SPDX-License-Identifier: Apache-2.0
#include "site_boundary.h"

#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <sstream>

#include "geometry_loader.h"
#include "number_text.h"
#include "whole_file.h"

namespace valdris {

namespace {

struct ProblemRow {
    GeometryProblem problem;
    RefusalKind kind;
};
constexpr ProblemRow kProblemKinds[] = {
    {GeometryProblem::FileUnreadable, RefusalKind::BoundaryUnreadable},
    {GeometryProblem::NotAPolygon, RefusalKind::BoundaryNotAPolygon},
    {GeometryProblem::SelfIntersecting, RefusalKind::BoundarySelfIntersecting},
    {GeometryProblem::NoCRS, RefusalKind::BoundaryNoCRS},
    {GeometryProblem::Empty, RefusalKind::BoundaryEmpty},
    {GeometryProblem::NotWritten, RefusalKind::FileNotWritten},
};

RefusalKind KindOf(GeometryProblem problem) {
    for (const ProblemRow& row : kProblemKinds) {
        if (row.problem == problem) return row.kind;
    }
    return RefusalKind::BoundaryUnreadable;
}

std::string Where(const BoundarySource& source) {
    return "The boundary in " + source.path + (source.layer.empty() ? "" : ", layer \"" + source.layer + "\"");
}

Refusal Refused(RefusalKind kind, std::string text) { return {kind, std::move(text), MessageIcon::Exclamation}; }

bool Matches(const BoundaryFeature& feature, const std::string& selector) {
    const std::size_t equals = selector.find('=');
    const std::string name = selector.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : selector.substr(equals + 1);
    for (const auto& [key, text] : feature.attributes) {
        if (key == name && text == value) return true;
    }
    return false;
}

// Splits "x y" or "x, y" into two finite numbers.
bool ReadVertex(std::string line, GridPoint& point) {
    for (char& c : line) {
        if (c == ',' || c == '\t' || c == ';') c = ' ';
    }
    std::istringstream words(line);
    std::string x, y, extra;
    if (!(words >> x >> y) || (words >> extra)) return false;
    const auto vx = StrictNumber(x);
    const auto vy = StrictNumber(y);
    if (!vx || !vy || !std::isfinite(*vx) || !std::isfinite(*vy)) return false;
    point = {*vx, *vy};
    return true;
}

// Checked and measured; a refusal starts with where the boundary came from.
Outcome<MeasuredBoundary> Measure(const Boundary& boundary, const std::string& where) {
    const auto module = LoadGeometry();
    if (!module) return module.refusal();
    MeasuredBoundary measured{boundary, 0};
    const GeometryStatus status = (*module)->checked_area(boundary, measured.area);
    if (!status.ok()) return Refused(KindOf(status.problem), where + ": " + status.text + ".");
    return measured;
}

// Vertices typed into a text file: x y a line.
bool IsVertexFile(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".txt" || extension == ".xy";
}

}  // namespace

BoundarySource SplitBoundarySource(const std::string& text) {
    struct stat status {};
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || text.find('/', colon) != std::string::npos ||
        stat(text.c_str(), &status) == 0) {
        return {text, ""};
    }
    return {text.substr(0, colon), text.substr(colon + 1)};
}

Outcome<std::vector<BoundaryFeature>> ReadBoundaryFeatures(const BoundarySource& source) {
    if (IsVertexFile(source.path)) {
        const Outcome<std::string> text = ReadWholeFile(source.path);
        if (!text) return Refused(RefusalKind::BoundaryUnreadable, Where(source) + ": " + text.message());
        const auto typed = TypedBoundary(*text, "");
        if (!typed) return Refused(typed.refusal().kind, Where(source) + ": " + typed.message());
        return std::vector<BoundaryFeature>{{{}, typed->boundary}};
    }
    const auto module = LoadGeometry();
    if (!module) return module.refusal();
    std::vector<BoundaryFeature> features;
    const GeometryStatus status = (*module)->read_features(source.path, source.layer, features);
    if (!status.ok()) return Refused(KindOf(status.problem), Where(source) + ": " + status.text + ".");
    return features;
}

Outcome<MeasuredBoundary> CheckedBoundary(const Boundary& boundary) { return Measure(boundary, "The boundary"); }

Outcome<MeasuredBoundary> ChooseBoundary(const BoundarySource& source, const std::vector<BoundaryFeature>& features,
                                         const std::string& selector) {
    std::vector<const BoundaryFeature*> chosen;
    for (const BoundaryFeature& feature : features) {
        if (selector.empty() || Matches(feature, selector)) chosen.push_back(&feature);
    }
    if (chosen.size() != 1) {
        std::string offered;
        for (std::size_t k = 0; k < features.size() && k < 10; ++k) {
            offered += (k > 0 ? "; " : "") + FeatureCaption(features[k], k);
        }
        const std::string what = chosen.empty() ? "no polygon has " + selector
                                                : std::to_string(chosen.size()) + " polygons match";
        return Refused(RefusalKind::BoundaryFeatureChoice,
                       Where(source) + ": " + what + "; choose one by an attribute, NAME=VALUE (" + offered + ").");
    }
    return Measure(chosen.front()->boundary, Where(source));
}

Outcome<MeasuredBoundary> MeasureFeature(const BoundarySource& source, const BoundaryFeature& feature) {
    return Measure(feature.boundary, Where(source));
}

Outcome<MeasuredBoundary> ImportBoundary(const BoundarySource& source, const std::string& selector) {
    const auto features = ReadBoundaryFeatures(source);
    if (!features) return features.refusal();
    return ChooseBoundary(source, *features, selector);
}

Outcome<MeasuredBoundary> TypedBoundary(const std::string& text, const std::string& crs) {
    Boundary boundary;
    boundary.crs = crs;
    BoundaryPolygon polygon;
    Ring ring;
    std::istringstream lines(text + "\n\n");
    std::string line;
    int number = 0;
    const auto close_ring = [&] {
        if (ring.empty()) return;
        (polygon.outer.empty() ? polygon.outer : polygon.holes.emplace_back()) = std::move(ring);
        ring.clear();
    };
    while (std::getline(lines, line)) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            close_ring();
            continue;
        }
        GridPoint point;
        if (!ReadVertex(line, point)) {
            return Refused(RefusalKind::BoundaryVerticesUnusable,
                           "The vertices: line " + std::to_string(number) + " is not two numbers x y.");
        }
        ring.push_back(point);
    }
    if (polygon.outer.size() < 3) {
        return Refused(RefusalKind::BoundaryVerticesUnusable, "The vertices: a boundary needs at least three.");
    }
    boundary.polygons.push_back(std::move(polygon));
    return Measure(boundary, "The vertices");
}

std::string FeatureCaption(const BoundaryFeature& feature, std::size_t index) {
    std::string caption;
    for (const auto& [name, value] : feature.attributes) {
        if (!value.empty()) caption += (caption.empty() ? "" : ", ") + name + "=" + value;
    }
    return caption.empty() ? "feature " + std::to_string(index + 1) : caption;
}

}  // namespace valdris
