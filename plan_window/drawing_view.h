// SPDX-License-Identifier: Apache-2.0
#pragma once
// A drawing of chart/ (the data plot, the sample map) in a panel, drawn at
// the widget's size whenever it is painted; blank while there is none.

#include <QWidget>
#include <functional>

#include "chart_surface.h"

namespace valdris {

class DrawingView : public QWidget {
    Q_OBJECT
public:
    using Drawing = std::function<void(ChartSurface&)>;
    DrawingView(const QString& accessible_name, QSize minimum, QWidget* parent = nullptr);

    // The drawing and what it shows in words, for screen readers.
    void SetDrawing(Drawing drawing, const QString& description);
    void Clear();
    bool HasDrawing() const { return static_cast<bool>(drawing_); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Drawing drawing_;
};

}  // namespace valdris
