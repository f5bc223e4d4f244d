// SPDX-License-Identifier: Apache-2.0
#include "sample_grid.h"

#include <cctype>
#include <cmath>
#include <random>
#include <string>

#include "field_messages.h"

namespace valdris {

bool SizeUsable(double value) { return value >= field::kSmallestSize && value <= field::kLargestSize; }

namespace {

// (next() >> 11) x 2^-53: the 53 high bits as a double in [0, 1).
double NextUniform(std::mt19937_64& generator) {
    return static_cast<double>(generator() >> 11) * 0x1p-53;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// An upper bound of the points a layout visits, in double so that a narrow
// strip with a tiny spacing cannot overflow the count.
double PointBound(double width, double height, double spacing, double row_spacing) {
    return (width / spacing + 2) * (height / row_spacing + 2);
}

}  // namespace

Outcome<UnitSize> SizeFromArea(double area) {
    if (!SizeUsable(area)) return field::Message(RefusalKind::AreaUnusable);
    return UnitSize{area, std::nullopt, std::nullopt};
}

Outcome<UnitSize> SizeFromRectangle(double width, double height) {
    if (!SizeUsable(width)) return field::Message(RefusalKind::WidthUnusable);
    if (!SizeUsable(height)) return field::Message(RefusalKind::HeightUnusable);
    const double area = width * height;
    if (!SizeUsable(area)) return field::Message(RefusalKind::RectangleUnusable);
    return UnitSize{area, width, height};
}

double RectangleWidth(const UnitSize& size) { return size.width ? *size.width : std::sqrt(size.area); }
double RectangleHeight(const UnitSize& size) { return size.height ? *size.height : std::sqrt(size.area); }

double GridSpacing(GridType type, double area, int samples) {
    const double n = samples;
    return type == GridType::Triangular ? std::sqrt(area / (kTriangularRowShare * n)) : std::sqrt(area / n);
}

double RowSpacing(GridType type, double spacing) {
    return type == GridType::Triangular ? kTriangularRowShare * spacing : spacing;
}

const char* GridTypeName(GridType type) { return type == GridType::Triangular ? "triangular" : "square"; }

std::optional<GridType> GridTypeFromName(std::string_view name) {
    std::string lower;
    for (const char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "triangular") return GridType::Triangular;
    if (lower == "square") return GridType::Square;
    return std::nullopt;
}

Outcome<std::uint64_t> ReadSeed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    const Refusal refused = field::Message(RefusalKind::SeedUnusable);
    // Sixteen digits hold 2^53 - 1 and cannot overflow the sum below.
    if (text.empty() || text.size() > 16) return refused;
    std::uint64_t seed = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return refused;
        seed = seed * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (seed > field::kLargestSeed) return refused;
    return seed;
}

Outcome<std::uint64_t> SeedFromNumber(double value) {
    // Every whole double up to 2^53 - 1 converts exactly.
    if (!(value >= 0 && value <= static_cast<double>(field::kLargestSeed)) || value != std::floor(value)) {
        return field::Message(RefusalKind::SeedUnusable);
    }
    return static_cast<std::uint64_t>(value);
}

std::uint64_t DrawSeed() {
    std::random_device device;
    const std::uint64_t high = device();
    const std::uint64_t low = device();
    return ((high << 32) | low) & field::kLargestSeed;
}

GridPoint RandomStart(GridType type, double spacing, std::uint64_t seed) {
    std::mt19937_64 generator(seed);
    const double u = NextUniform(generator);
    const double v = NextUniform(generator);
    return {u * spacing, v * RowSpacing(type, spacing)};
}

// Each coordinate is the start plus a whole (or, on shifted rows, half) number
// of spacings, formed once rather than summed, so that no error accumulates
// and every machine finds the same points.
Outcome<SampleLayout> LayOutSamples(GridType type, const UnitSize& size, int samples, std::uint64_t seed) {
    SampleLayout layout;
    layout.type = type;
    layout.width = RectangleWidth(size);
    layout.height = RectangleHeight(size);
    layout.boundary = RectangleBoundary(layout.width, layout.height);
    layout.samples = samples;
    layout.spacing = GridSpacing(type, size.area, samples);
    layout.seed = seed;
    layout.start = RandomStart(type, layout.spacing, seed);
    const double row_spacing = RowSpacing(type, layout.spacing);
    if (PointBound(layout.width, layout.height, layout.spacing, row_spacing) > field::kMostLocations) {
        return field::Message(RefusalKind::TooManyLocations);
    }

    for (long long row = 0;; ++row) {
        const double y = layout.start.y + static_cast<double>(row) * row_spacing;
        if (y >= layout.height) break;
        const bool shifted = type == GridType::Triangular && row % 2 == 1;
        // A shifted row may have a point half a spacing left of the start.
        for (long long column = shifted ? -1 : 0;; ++column) {
            const double steps = static_cast<double>(column) + (shifted ? 0.5 : 0.0);
            const double x = layout.start.x + steps * layout.spacing;
            if (x >= layout.width) break;
            if (x >= 0) layout.points.push_back({x, y});
        }
    }
    return layout;
}

}  // namespace valdris
