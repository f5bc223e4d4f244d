// SPDX-License-Identifier: Apache-2.0
#pragma once
// A unit's sample map on a page of its own, for the field crew: the map as
// large as the page allows, and a title block under it naming the plan, the
// unit, the reference system, the grid, N and the date.

#include <QDateTime>
#include <QSizeF>
#include <QString>
#include <utility>
#include <vector>

#include "sample_grid.h"

class QPainter;

namespace valdris {

struct MapPage {
    QString plan;
    QString unit;
    SampleLayout layout;
    QDateTime made;
};

// The title block's rows, label and value, in the order printed.
std::vector<std::pair<QString, QString>> MapTitleRows(const MapPage& page);

// Paints the page into the printable area (in points, at the painter's
// origin) of a paged device.
void PaintMapPage(QPainter& painter, QSizeF area_pt, const MapPage& page);

}  // namespace valdris
