// SPDX-License-Identifier: Apache-2.0
#pragma once
// PicChart: the widget that shows the power chart. The chart is drawn into a
// retained image, so it survives being covered; a click reports clicked().

#include <QImage>
#include <QWidget>
#include <memory>

#include "chart_surface.h"

namespace valdris {

class PowerChartView : public QWidget {
    Q_OBJECT
public:
    explicit PowerChartView(QWidget* parent = nullptr);
    ~PowerChartView() override;

    // The surface that draws into the retained image (sized to the widget's
    // drawing area); drawing on it schedules a repaint.
    ChartSurface& Surface();
    const QImage& Image() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class ImageSurface;
    std::unique_ptr<ImageSurface> surface_;
    bool pressed_ = false;
};

}  // namespace valdris
