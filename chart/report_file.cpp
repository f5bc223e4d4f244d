// SPDX-License-Identifier: Apache-2.0
#include "report_file.h"

#include <QLocale>
#include <QMarginsF>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <functional>

#include "plan_summary_page.h"
#include "plan_table.h"
#include "safe_file.h"

namespace valdris {
namespace {

constexpr double kMarginMillimetres = 18;

bool UsesLetterPaper(const QLocale& locale) {
    if (locale.measurementSystem() == QLocale::ImperialUSSystem) return true;
    constexpr std::array<QLocale::Territory, 9> kLetterTerritories = {
        QLocale::UnitedStates, QLocale::Canada,  QLocale::Mexico,    QLocale::Philippines, QLocale::Chile,
        QLocale::Colombia,     QLocale::Venezuela, QLocale::PuertoRico, QLocale::CostaRica,
    };
    return std::find(kLetterTerritories.begin(), kLetterTerritories.end(), locale.territory()) !=
           kLetterTerritories.end();
}

// The pages go through the painter; paint returns an error text or nothing.
QString WritePdf(QIODevice& file, const QString& title,
                 const std::function<QString(QPdfWriter&, QPainter&, QSizeF)>& paint) {
    QPdfWriter writer(&file);
    writer.setPageSize(LocalePageSize());
    writer.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                          QPageLayout::Millimeter);
    writer.setCreator(ProgramTitle());
    writer.setTitle(title);
    QPainter painter;
    if (!painter.begin(&writer)) return QStringLiteral("the PDF could not be started");
    const QString failure = paint(writer, painter, writer.pageLayout().paintRect(QPageLayout::Point).size());
    if (!painter.end()) return QStringLiteral("the PDF could not be finished");
    return failure;
}

QString WriteDesignPdf(const ReportPage& page, QIODevice& file) {
    return WritePdf(file, QStringLiteral("Survey design: ") + QString::fromStdString(page.report.radionuclide),
                    [&page](QPdfWriter&, QPainter& painter, QSizeF area) {
                        PaintReportPage(painter, area, page);
                        return QString();
                    });
}

// The plan's table on as many pages as it needs, then a page a unit.
QString WritePlanPdf(const SurveyPlan& plan, const QString& title, QIODevice& file) {
    return WritePdf(file, title, [&](QPdfWriter& writer, QPainter& painter, QSizeF area) {
        const QDateTime made = QDateTime::currentDateTime();
        std::size_t row = 0;
        do {
            if (row > 0 && !writer.newPage()) return QStringLiteral("a page could not be added");
            row = PaintPlanSummary(painter, area, plan, title, row);
        } while (row < plan.size());
        for (const PlanEntry& entry : plan.entries()) {
            if (!writer.newPage()) return QStringLiteral("a page could not be added");
            const DesignState& state = entry.figures.state;
            PaintReportPage(painter, area,
                            {MakeDesignReport(entry.unit.test, state, UnitReportEntries(entry)), state, made});
        }
        return QString();
    });
}

}  // namespace

QPageSize LocalePageSize() {
    return QPageSize(UsesLetterPaper(QLocale()) ? QPageSize::Letter : QPageSize::A4);
}

bool WriteDesignReport(const ReportPage& page, const std::string& path, std::string& error) {
    const QString file_name = QString::fromStdString(path);
    const QString reason = WriteFileSafely(file_name, [&](QIODevice& file) { return WriteDesignPdf(page, file); });
    if (reason.isEmpty()) return true;
    error = FileFailureMessage("The report", file_name, reason);
    return false;
}

bool WritePlanReport(const SurveyPlan& plan, const QString& title, const std::string& path, std::string& error) {
    const QString file_name = QString::fromStdString(path);
    const QString reason =
        WriteFileSafely(file_name, [&](QIODevice& file) { return WritePlanPdf(plan, title, file); });
    if (reason.isEmpty()) return true;
    error = FileFailureMessage("The report", file_name, reason);
    return false;
}

}  // namespace valdris
