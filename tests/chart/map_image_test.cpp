// SPDX-License-Identifier: Apache-2.0
// The map as pixels: a hole in the boundary shows the background, the field
// around it its fill, at one and two device pixels to the pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "chart_geometry.h"
#include "map_frame.h"
#include "painter_surface.h"
#include "sample_map.h"

namespace valdris {
namespace {

TEST(MapImage, HolesAreLeftUnfilled) {
    Boundary l_shape;  // UTM metres: an L with a square hole in its foot
    l_shape.polygons.push_back({{{500000, 5000000}, {500300, 5000000}, {500300, 5000100}, {500100, 5000100},
                                 {500100, 5000250}, {500000, 5000250}},
                                {{{500020, 5000020}, {500080, 5000020}, {500080, 5000080}, {500020, 5000080}}}});
    l_shape.crs = "EPSG:32633";
    SampleLayout layout;
    layout.boundary = l_shape;
    // Where the hole, the field beside it and the L's notch lie, and what each shows.
    struct Probe { double x, y; QColor expected; };
    const Probe probes[] = {{500050, 5000050, Qt::white}, {500200, 5000050, QColor(226, 236, 214)},
                            {500050, 5000175, QColor(226, 236, 214)}, {500200, 5000200, Qt::white}};
    for (const double ratio : {1.0, 2.0}) {
        QImage image(static_cast<int>(kChartDrawingWidthPx * ratio), static_cast<int>(kChartDrawingHeightPx * ratio),
                     QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        PainterSurface surface(painter, QSizeF(kChartDrawingWidthPx, kChartDrawingHeightPx));
        DrawSampleMap(layout, surface);
        const MapLayout map = LayOutMap(ExtentOf(l_shape), surface, 2);
        painter.end();
        for (const Probe& probe : probes) {
            const QPoint at(static_cast<int>(map.X(probe.x) / kTwipsPerPixel * ratio),
                            static_cast<int>(map.Y(probe.y) / kTwipsPerPixel * ratio));
            EXPECT_EQ(image.pixelColor(at), probe.expected) << probe.x << ", " << probe.y << " at ratio " << ratio;
        }
    }
}

}  // namespace
}  // namespace valdris
