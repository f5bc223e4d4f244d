// SPDX-License-Identifier: Apache-2.0
#include "recording_surface.h"

namespace valdris {

RecordingSurface::RecordingSurface(double width, double height, double text_width, double text_height)
    : width_(width), height_(height), text_width_(text_width), text_height_(text_height) {
    // One drawing is about a hundred operations.
    operations_.reserve(128);
}

double RecordingSurface::TextWidth(const std::string&) const { return text_width_; }
double RecordingSurface::TextHeight(const std::string&) const { return text_height_; }

RecordedOperation& RecordingSurface::Record(RecordedOperation::Kind kind) {
    RecordedOperation& op = operations_.emplace_back();
    op.kind = kind;
    op.color = pen_color_;
    op.line_width = line_width_;
    return op;
}

void RecordingSurface::Clear() {
    Record(RecordedOperation::Kind::Clear);
    current_x_ = 0;
    current_y_ = 0;
}

void RecordingSurface::SetPenColor(ChartColor color) {
    pen_color_ = color;
    Record(RecordedOperation::Kind::PenColor);
}

void RecordingSurface::SetLineWidth(int pixels) {
    line_width_ = pixels;
    Record(RecordedOperation::Kind::LineWidth);
}

void RecordingSurface::DrawText(double x, double y, const std::string& text) {
    RecordedOperation& op = Record(RecordedOperation::Kind::Text);
    op.x1 = x;
    op.y1 = y;
    op.text = text;
}

void RecordingSurface::DrawLine(double x1, double y1, double x2, double y2) {
    RecordedOperation& op = Record(RecordedOperation::Kind::Line);
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    current_x_ = x2;
    current_y_ = y2;
}

void RecordingSurface::LineTo(double x, double y) {
    RecordedOperation& op = Record(RecordedOperation::Kind::LineTo);
    op.x1 = current_x_;
    op.y1 = current_y_;
    op.x2 = x;
    op.y2 = y;
    current_x_ = x;
    current_y_ = y;
}

void RecordingSurface::MoveTo(double x, double y) {
    RecordedOperation& op = Record(RecordedOperation::Kind::MoveTo);
    op.x1 = x;
    op.y1 = y;
    current_x_ = x;
    current_y_ = y;
}

void RecordingSurface::FillRings(const std::vector<std::vector<Point>>& rings, ChartColor color) {
    RecordedOperation& op = Record(RecordedOperation::Kind::Fill);
    op.color = color;
    op.rings = rings;
}

}  // namespace valdris
