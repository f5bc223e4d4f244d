// SPDX-License-Identifier: Apache-2.0
#pragma once
// ContextIDs: the help set-up of the program. Every window, menu and control
// names its help topic by a context number; F1 asks the help viewer for it.

#include <QString>
#include <functional>

class QObject;

namespace valdris {

constexpr int kHelpContextDesignWindow = 10;
constexpr int kHelpContextFileMenu = 210;
constexpr int kHelpContextHelpMenu = 220;
constexpr int kHelpContextSplash = 230;
constexpr int kHelpContextGettingStarted = 240;
// The items that hand a design on, each with a topic of its own.
constexpr int kHelpContextSaveReport = 211;
constexpr int kHelpContextPrint = 212;
constexpr int kHelpContextSaveChart = 213;
constexpr int kHelpContextEditMenu = 250;
constexpr int kHelpContextCopyResults = 251;
constexpr int kHelpContextViewMenu = 260;
// The survey plan: the design window's Plan menu, the plan window and its
// pages, the parts of the Field page that have topics of their own, and the
// plan's files.
constexpr int kHelpContextPlanMenu = 290;
constexpr int kHelpContextPlanWindow = 300;
constexpr int kHelpContextPlanFiles = 301;
constexpr int kHelpContextBudgetPage = 310;
constexpr int kHelpContextFieldPage = 320;
constexpr int kHelpContextAreaFactors = 321;
constexpr int kHelpContextScanMDC = 322;
constexpr int kHelpContextNuclides = 323;
constexpr int kHelpContextMeasurementsPage = 330;

inline const QString kHelpFileName = QStringLiteral("VALDRISPower99.HLP");

// Gives a window, menu or control its help context number.
void SetHelpContextID(QObject* object, int context_id);
// The context number of the object or of its nearest ancestor that has one;
// 0 when none has.
int HelpContextID(const QObject* object);

// The help file beside the program: directory + separator + file name, with
// no doubled separator when the directory is a root.
QString HelpFilePath(const QString& program_directory, QChar separator);

// The help file for a program in this directory: beside the program (the
// build tree, a portable copy) when it is there, else in
// ../share/valdris-power/ (an installed program); beside it when in neither.
QString FindHelpFile(const QString& program_directory);

// Sets the help file that F1 uses.
void SetupHelp();
// Closes the help viewer, if one is open.
void CloseHelp();

// The help file set by SetupHelp; empty before the design window has loaded.
QString HelpFile();

// The shell registers how to close its help viewer.
void SetHelpViewerCloser(std::function<void()> closer);

}  // namespace valdris
