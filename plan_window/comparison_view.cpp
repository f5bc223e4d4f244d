// SPDX-License-Identifier: Apache-2.0
#include "comparison_view.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "painter_surface.h"

namespace valdris {
namespace {

constexpr int kChartWidthPx = 720;
constexpr int kChartHeightPx = 430;

}  // namespace

std::string ComparisonLabel(const PlanEntry& entry) {
    std::string sizes = "N = " + std::to_string(entry.figures.n);
    if (entry.unit.test == TestKind::WRS) sizes += " + " + std::to_string(entry.figures.n_reference);
    return entry.unit.name + " (" + sizes + ")";
}

ComparisonView::ComparisonView(std::vector<ComparedCurve> curves, QWidget* parent)
    : QWidget(parent), curves_(std::move(curves)) {
    setMinimumSize(kChartWidthPx, kChartHeightPx);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QStringList names;
    for (const ComparedCurve& curve : curves_) names << QString::fromStdString(curve.label);
    setAccessibleName(tr("Power curves compared"));
    setAccessibleDescription(names.join(QStringLiteral("; ")));
}

void ComparisonView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PainterSurface surface(painter, QSizeF(size()));
    DrawCurveComparison(curves_, surface);
}

QDialog* OpenComparison(const std::vector<const PlanEntry*>& entries, QWidget* parent) {
    std::vector<ComparedCurve> curves;
    for (const PlanEntry* entry : entries) curves.push_back({ComparisonLabel(*entry), DesignCurve(entry->figures)});
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("comparisonWindow"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QObject::tr("Compare Curves"));
    auto* layout = new QVBoxLayout(dialog);
    auto* view = new ComparisonView(std::move(curves), dialog);
    layout->addWidget(view, 1);
    layout->addWidget(new QLabel(QObject::tr("Probability that the unit passes, over percent of each unit's DCGL."),
                                 dialog));
    dialog->show();
    return dialog;
}

}  // namespace valdris
