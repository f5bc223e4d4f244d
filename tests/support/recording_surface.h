// SPDX-License-Identifier: Apache-2.0
#pragma once
// A chart surface that draws nothing and remembers every operation, with the
// pen colour and line width in force, so that tests can check what a drawing
// did and benchmarks can time the drawing routine alone.

#include <string>
#include <vector>

#include "chart_surface.h"

namespace valdris {

struct RecordedOperation {
    enum class Kind { Clear, PenColor, LineWidth, Text, Line, LineTo, MoveTo, Fill };

    Kind kind = Kind::Clear;
    ChartColor color;    // the colour set, or the pen colour in force
    int line_width = 1;  // the width set, or the width in force
    // Text: top-left corner in (x1, y1). Line and LineTo: from (x1, y1) to
    // (x2, y2), a LineTo starting at the current position. MoveTo: (x1, y1).
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    std::string text;
    // Fill: the rings, in the fill's colour (color).
    std::vector<std::vector<ChartSurface::Point>> rings;

    bool IsLine() const { return kind == Kind::Line || kind == Kind::LineTo; }
};

class RecordingSurface : public ChartSurface {
public:
    // Every text measures text_width x text_height, whatever it says.
    RecordingSurface(double width, double height, double text_width, double text_height);

    double Width() const override { return width_; }
    double Height() const override { return height_; }
    double TextWidth(const std::string& text) const override;
    double TextHeight(const std::string& text) const override;

    void Clear() override;
    void SetPenColor(ChartColor color) override;
    void SetLineWidth(int pixels) override;
    void DrawText(double x, double y, const std::string& text) override;
    void DrawLine(double x1, double y1, double x2, double y2) override;
    void LineTo(double x, double y) override;
    void MoveTo(double x, double y) override;
    void FillRings(const std::vector<std::vector<Point>>& rings, ChartColor color) override;

    const std::vector<RecordedOperation>& Operations() const { return operations_; }
    void Forget() { operations_.clear(); }

private:
    RecordedOperation& Record(RecordedOperation::Kind kind);

    double width_;
    double height_;
    double text_width_;
    double text_height_;
    ChartColor pen_color_;
    int line_width_ = 1;
    double current_x_ = 0;
    double current_y_ = 0;
    std::vector<RecordedOperation> operations_;
};

}  // namespace valdris
