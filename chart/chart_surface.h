// SPDX-License-Identifier: Apache-2.0
#pragma once
// What the power chart needs from something it can draw on. Coordinates are
// in twips with the origin at the top left, y growing downwards; they are
// whole numbers carried in doubles so that a very small DCGL cannot overflow.

#include <cstdint>
#include <string>
#include <vector>

namespace valdris {

struct ChartColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const ChartColor& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

class ChartSurface {
public:
    virtual ~ChartSurface() = default;

    virtual double Width() const = 0;   // drawing area width, twips
    virtual double Height() const = 0;  // drawing area height, twips
    virtual double TextWidth(const std::string& text) const = 0;
    virtual double TextHeight(const std::string& text) const = 0;

    // Clears to the background and moves the current position to the origin.
    virtual void Clear() = 0;
    virtual void SetPenColor(ChartColor color) = 0;
    virtual void SetLineWidth(int pixels) = 0;
    // Text with its top-left corner at (x, y), in the pen colour.
    virtual void DrawText(double x, double y, const std::string& text) = 0;
    virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
    // Line from the current position; its end becomes the current position.
    virtual void LineTo(double x, double y) = 0;
    virtual void MoveTo(double x, double y) = 0;
    // A rectangle filled with the colour (a legend's background). Surfaces
    // that only record lines and texts may leave it out.
    virtual void FillRect(double x, double y, double width, double height, ChartColor color) {
        (void)x, (void)y, (void)width, (void)height, (void)color;
    }
    // Closed rings (the last point joins the first) filled together by the
    // even-odd rule, so that a ring inside another is a hole; a marker is
    // one ring. No outline: the rings' lines are drawn apart.
    struct Point {
        double x = 0;
        double y = 0;
    };
    virtual void FillRings(const std::vector<std::vector<Point>>& rings, ChartColor color) { (void)rings, (void)color; }
};

}  // namespace valdris
