// SPDX-License-Identifier: Apache-2.0
#include "axis_titles.h"

#include <QFontMetrics>
#include <QPainter>

#include "design_report.h"
#include "twips.h"
#include "typefaces.h"

namespace valdris {
namespace {

constexpr double kTitlePoints = 11.25;

}  // namespace

QString YAxisTitle() { return QString::fromStdString(kPassProbabilityTitle); }

QString XAxisTitle() { return QStringLiteral("True Survey Unit Concentration (percent of DCGL)"); }

QFont AxisTitleFont() { return Typeface(Face::TimesNewRoman, kTitlePoints, FontStyle{true, false}); }

int YAxisTitleTop() { return Px(45); }

QRect XAxisTitleBox() { return PxRect(1440, 4320, 5505, 255); }

void DrawAxisTitles(QPainter& painter, int drawing_width_px, const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int height = QFontMetrics(font, painter.device()).height();
    painter.drawText(QRect(0, YAxisTitleTop(), drawing_width_px, height), Qt::AlignHCenter | Qt::AlignTop,
                     YAxisTitle());
    painter.drawText(XAxisTitleBox(), Qt::AlignCenter, XAxisTitle());
    painter.restore();
}

}  // namespace valdris
