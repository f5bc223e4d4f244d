// SPDX-License-Identifier: Apache-2.0
#include "report_file.h"

#include <QLocale>
#include <QMarginsF>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>

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

QString WritePdf(const ReportPage& page, QIODevice& file) {
    QPdfWriter writer(&file);
    writer.setPageSize(LocalePageSize());
    writer.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                          QPageLayout::Millimeter);
    writer.setCreator(ProgramTitle());
    writer.setTitle(QStringLiteral("Survey design: ") + QString::fromStdString(page.report.radionuclide));
    QPainter painter;
    if (!painter.begin(&writer)) return QStringLiteral("the PDF could not be started");
    PaintReportPage(painter, writer.pageLayout().paintRect(QPageLayout::Point).size(), page);
    if (!painter.end()) return QStringLiteral("the PDF could not be finished");
    return {};
}

}  // namespace

QPageSize LocalePageSize() {
    return QPageSize(UsesLetterPaper(QLocale()) ? QPageSize::Letter : QPageSize::A4);
}

bool WriteDesignReport(const ReportPage& page, const std::string& path, std::string& error) {
    const QString file_name = QString::fromStdString(path);
    const QString reason = WriteFileSafely(file_name, [&](QIODevice& file) { return WritePdf(page, file); });
    if (reason.isEmpty()) return true;
    error = FileFailureMessage("The report", file_name, reason);
    return false;
}

}  // namespace valdris
