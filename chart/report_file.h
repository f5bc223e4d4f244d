// SPDX-License-Identifier: Apache-2.0
#pragma once
// The design report as a one-page PDF file.

#include <QPageSize>
#include <string>

#include "report_page.h"

namespace valdris {

// A4, or Letter where the locale's paper is Letter (the Americas' Letter
// countries and the Philippines).
QPageSize LocalePageSize();

// Writes the report to a PDF file, whole or not at all (see WriteFileSafely).
// Returns false and sets error to a message for the user on failure.
bool WriteDesignReport(const ReportPage& page, const std::string& path, std::string& error);

}  // namespace valdris
