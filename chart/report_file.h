// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design report as a one-page PDF file, and the plan report: the plan's
// table, then each unit's design report.

#include <QPageSize>
#include <cstddef>
#include <functional>
#include <string>

#include "map_page.h"
#include "plan.h"
#include "report_page.h"
#include "safe_file.h"

class QPageLayout;

namespace valdris {

// A4, or Letter where the locale's paper is Letter (the Americas' Letter
// countries and the Philippines).
QPageSize LocalePageSize();

// The width of a report page less its margins on the given paper, which the
// report's chart takes.
double ReportWidthMillimetres(const QPageSize& paper);

// Writes the report to a PDF file, whole or not at all (see WriteFileSafely).
// A failure's message is for the user.
// The page follows the locale's paper unless a layout is given (a printer's,
// when printing to a file).
Outcome<Done> WriteDesignReport(const ReportPage& page, const std::string& path,
                                ReadOnlyFile read_only = ReadOnlyFile::Refuse, const QPageLayout* layout = nullptr);

// When the report was made: SOURCE_DATE_EPOCH (seconds since 1970, UTC) where
// the environment sets it, so that a build or a script can reproduce a report
// byte for byte; else now.
QDateTime ReportTime();

// Where SOURCE_DATE_EPOCH is set, makes Qt's hash order the same in every
// run, which sets the order of the fonts in a PDF. Called at the start of a
// program, before Qt makes any hash.
void PrepareReproducibleReports();

// A unit's sample map on one page, written the same way.
Outcome<Done> WriteMapPage(const MapPage& page, const std::string& path, ReadOnlyFile read_only = ReadOnlyFile::Refuse,
                           const QPageLayout* layout = nullptr);

// Told how far the plan report has come (steps done of all: each unit once
// while the pages are counted and once while they are drawn), and answering
// whether to go on. False stops the report and nothing is written: an
// existing file stays as it was.
using ReportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The plan report under the title (the plan's name), written the same way;
// refused as ReportCancelled when progress said to stop.
Outcome<Done> WritePlanReport(const SurveyPlan& plan, const QString& title, const std::string& path,
                              const ReportProgress& progress = {});

}  // namespace valdris
