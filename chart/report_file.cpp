// SPDX-License-Identifier: Apache-2.0
#include "report_file.h"

#include <QBuffer>
#include <QHashFunctions>
#include <QLocale>
#include <QMarginsF>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>

#include "pdf_metadata.h"
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

// Paints the page into a PDF in memory, where its date is then set.
QString PaintPdf(const ReportPage& page, const QPageLayout* layout, QIODevice& device) {
    QPdfWriter writer(&device);
    if (layout != nullptr) {
        writer.setPageLayout(*layout);
    } else {
        writer.setPageSize(LocalePageSize());
        writer.setPageMargins(
            QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
            QPageLayout::Millimeter);
    }
    writer.setCreator(ProgramTitle());
    writer.setTitle(QStringLiteral("Survey design: ") + QString::fromStdString(page.report.radionuclide));
    QPainter painter;
    if (!painter.begin(&writer)) return QStringLiteral("the PDF could not be started");
    PaintReportPage(painter, writer.pageLayout().paintRect(QPageLayout::Point).size(), page);
    if (!painter.end()) return QStringLiteral("the PDF could not be finished");
    return {};
}

QString WritePdf(const ReportPage& page, const QPageLayout* layout, QIODevice& file) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (const QString problem = PaintPdf(page, layout, pdf); !problem.isEmpty()) return problem;
    const QByteArray bytes = WithMadeTime(pdf.data(), page.made);
    if (file.write(bytes) != bytes.size()) return file.errorString();
    return {};
}

}  // namespace

QPageSize LocalePageSize() {
    return QPageSize(UsesLetterPaper(QLocale()) ? QPageSize::Letter : QPageSize::A4);
}

QDateTime ReportTime() {
    const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
    bool valid = false;
    const qlonglong seconds = epoch.toLongLong(&valid);
    if (valid && seconds >= 0) return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return QDateTime::currentDateTime();
}

void PrepareReproducibleReports() {
    if (qEnvironmentVariableIsSet("SOURCE_DATE_EPOCH")) QHashSeed::setDeterministicGlobalSeed();
}

bool WriteDesignReport(const ReportPage& page, const std::string& path, std::string& error, ReadOnlyFile read_only,
                       const QPageLayout* layout) {
    const QString file_name = QString::fromStdString(path);
    const QString reason =
        WriteFileSafely(file_name, [&](QIODevice& file) { return WritePdf(page, layout, file); }, read_only);
    if (reason.isEmpty()) return true;
    error = FileFailureMessage("The report", file_name, reason);
    return false;
}

}  // namespace valdris
