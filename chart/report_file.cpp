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
#include <functional>

#include "pdf_metadata.h"
#include "plan_summary.h"
#include "plan_summary_page.h"
#include "report_page.h"
#include "safe_file.h"
#include "unit_pages.h"

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

using PaintPages = std::function<QString(QPdfWriter&, QPainter&, QSizeF)>;

void SetUpPages(QPdfWriter& writer, const QPageLayout* layout) {
    if (layout != nullptr) {
        writer.setPageLayout(*layout);
        return;
    }
    writer.setPageSize(LocalePageSize());
    writer.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                          QPageLayout::Millimeter);
}

// Paints the pages into a PDF in memory, where its date is then set, and
// writes it out; paint returns an error text or nothing.
QString WritePdf(QIODevice& file, const QString& title, const QPageLayout* layout, const QDateTime& made,
                 const PaintPages& paint) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        SetUpPages(writer, layout);
        writer.setCreator(ProgramTitle());
        writer.setTitle(title);
        QPainter painter;
        if (!painter.begin(&writer)) return QStringLiteral("the PDF could not be started");
        const QString failure = paint(writer, painter, writer.pageLayout().paintRect(QPageLayout::Point).size());
        if (!painter.end()) return QStringLiteral("the PDF could not be finished");
        if (!failure.isEmpty()) return failure;
    }
    const QByteArray bytes = WithMadeTime(pdf.data(), made);
    if (file.write(bytes) != bytes.size()) return file.errorString();
    return {};
}

QString WriteDesignPdf(const ReportPage& page, const QPageLayout* layout, QIODevice& file) {
    const QString title = QStringLiteral("Survey design: ") + QString::fromStdString(page.report.radionuclide);
    return WritePdf(file, title, layout, page.made, [&page](QPdfWriter&, QPainter& painter, QSizeF area) {
        PaintReportPage(painter, area, page);
        return QString();
    });
}

// Says that a unit's pages are done; false when the report is to stop.
using UnitDone = std::function<bool()>;
const QString kStopped = QStringLiteral("the report was cancelled");

// The plan's table on as many pages as it needs, then each unit's pages;
// next_page ends a page and begins the next.
QString PaintPlanPages(QPainter& painter, QSizeF area, const SurveyPlan& plan, const QString& title,
                       const QDateTime& made, const NextPage& next_page, const UnitDone& unit_done) {
    std::size_t row = 0;
    do {
        if (row > 0 && !next_page()) return QStringLiteral("a page could not be added");
        row = PaintPlanSummary(painter, area, plan, title, row);
    } while (row < plan.size());
    for (const PlanEntry& entry : plan.entries()) {
        if (!next_page()) return QStringLiteral("a page could not be added");
        const QString failure = PaintUnitPages(painter, area, entry, made, next_page);
        if (!failure.isEmpty()) return failure;
        if (!unit_done()) return kStopped;
    }
    return QString();
}

constexpr double kFooterPoints = 8;
constexpr double kFooterHeight = 14;  // points kept free at the foot of every page

// "Page 2 of 5" at the right of the page's foot.
void PaintPageNumber(QPainter& painter, QSizeF area, int page, int pages) {
    painter.save();
    ScaleToPoints(painter);
    QFont font = ReportPageFont(static_cast<int>(kFooterPoints), {false, false});
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, area.height() - kFooterHeight, area.width(), kFooterHeight),
                     Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
    painter.restore();
}

// A first run on a scratch document counts the pages, so that each page of
// the report can say "n of m". 0 when stopped.
int CountPlanPages(const SurveyPlan& plan, const QString& title, const QDateTime& made, QSizeF body,
                   const UnitDone& unit_done) {
    QBuffer scratch;
    scratch.open(QIODevice::WriteOnly);
    QPdfWriter counter(&scratch);
    SetUpPages(counter, nullptr);
    QPainter painter;
    if (!painter.begin(&counter)) return 0;
    int pages = 1;
    const QString failure = PaintPlanPages(
        painter, body, plan, title, made,
        [&] {
            ++pages;
            return counter.newPage();
        },
        unit_done);
    painter.end();
    return failure == kStopped ? 0 : pages;
}

QString WritePlanPdf(const SurveyPlan& plan, const QString& title, QIODevice& file, const ReportProgress& progress) {
    const QDateTime made = ReportTime();
    std::size_t done = 0;
    const UnitDone unit_done = [&] { return !progress || progress(++done, 2 * plan.size()); };
    return WritePdf(file, title, nullptr, made, [&](QPdfWriter& writer, QPainter& painter, QSizeF area) {
        const QSizeF body(area.width(), area.height() - kFooterHeight);
        const int pages = CountPlanPages(plan, title, made, body, unit_done);
        if (pages == 0) return kStopped;
        int page = 1;
        const NextPage next_page = [&] {
            PaintPageNumber(painter, area, page++, pages);
            return writer.newPage();
        };
        const QString failure = PaintPlanPages(painter, body, plan, title, made, next_page, unit_done);
        if (failure.isEmpty()) PaintPageNumber(painter, area, page, pages);
        return failure;
    });
}

}  // namespace

QPageSize LocalePageSize() {
    return QPageSize(UsesLetterPaper(QLocale()) ? QPageSize::Letter : QPageSize::A4);
}

double ReportWidthMillimetres(const QPageSize& paper) {
    return paper.size(QPageSize::Millimeter).width() - 2 * kMarginMillimetres;
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

Outcome<Done> WriteDesignReport(const ReportPage& page, const std::string& path, ReadOnlyFile read_only,
                                const QPageLayout* layout) {
    const QString file_name = QString::fromStdString(path);
    const Outcome<Done> written =
        WriteFileSafely(file_name, [&](QIODevice& file) { return WriteDesignPdf(page, layout, file); }, read_only);
    if (written) return written;
    return Outcome<Done>::Failure(RefusalKind::FileNotWritten, FileFailureMessage("The report", file_name, QString::fromStdString(written.message())));
}

Outcome<Done> WriteMapPage(const MapPage& page, const std::string& path, ReadOnlyFile read_only,
                           const QPageLayout* layout) {
    const QString file_name = QString::fromStdString(path);
    const QString title = QStringLiteral("Sample map: ") + page.unit;
    const Outcome<Done> written = WriteFileSafely(file_name, [&](QIODevice& file) {
        return WritePdf(file, title, layout, page.made, [&page](QPdfWriter&, QPainter& painter, QSizeF area) {
            PaintMapPage(painter, area, page);
            return QString();
        });
    }, read_only);
    if (written) return written;
    return Outcome<Done>::Failure(RefusalKind::FileNotWritten,
                                  FileFailureMessage("The map", file_name, QString::fromStdString(written.message())));
}

Outcome<Done> WritePlanReport(const SurveyPlan& plan, const QString& title, const std::string& path,
                              const ReportProgress& progress) {
    // No file for a plan without units: there is nothing to report.
    if (plan.size() == 0) return Outcome<Done>::Failure(RefusalKind::NothingToReport, kNothingToReport);
    bool stopped = false;
    const ReportProgress watched = [&](std::size_t done, std::size_t total) {
        stopped = progress && !progress(done, total);
        return !stopped;
    };
    const QString file_name = QString::fromStdString(path);
    const Outcome<Done> written =
        WriteFileSafely(file_name, [&](QIODevice& file) { return WritePlanPdf(plan, title, file, watched); });
    if (written) return written;
    if (stopped) return Outcome<Done>::Failure(RefusalKind::ReportCancelled, kStopped.toStdString());
    return Outcome<Done>::Failure(RefusalKind::FileNotWritten, FileFailureMessage("The report", file_name, QString::fromStdString(written.message())));
}

}  // namespace valdris
