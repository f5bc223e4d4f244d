// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design report as a one-page PDF file, and the plan report: the plan's
// table, then each unit's design report.

#include <QPageSize>
#include <string>

#include "plan.h"
#include "report_page.h"

namespace valdris {

// A4, or Letter where the locale's paper is Letter (the Americas' Letter
// countries and the Philippines).
QPageSize LocalePageSize();

// Writes the report to a PDF file, whole or not at all (see WriteFileSafely).
// Returns false and sets error to a message for the user on failure.
bool WriteDesignReport(const ReportPage& page, const std::string& path, std::string& error);

// The plan report under the title (the plan's name), written the same way.
bool WritePlanReport(const SurveyPlan& plan, const QString& title, const std::string& path, std::string& error);

}  // namespace valdris
