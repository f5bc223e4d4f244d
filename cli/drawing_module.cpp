// SPDX-License-Identifier: Apache-2.0
// The companion's drawing module: the chart files and the report, on Qt's offscreen
// platform whatever the environment names, with Qt's own notes kept off the
// companion's standard error.

#include <QDateTime>
#include <QGuiApplication>
#include <QString>
#include <QtGlobal>

#include <cstdio>

#include "chart_file.h"
#include "drawing.h"
#include "report_file.h"

namespace {

// Notes such as "XDG_RUNTIME_DIR not set" concern the environment, not the
// drawing; a script reads the companion's standard error for its own
// messages only. A fatal message still says why the program stops.
void KeepQtNotesQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "valdris-power-cli: %s\n", qPrintable(message));
}

// Fonts and images need a GUI application, but no screen: the offscreen
// platform, named on its command line, which outranks QT_QPA_PLATFORM (an ssh
// session may name xcb with no display, and xcb would abort). Made once and
// kept to the end of the process, as Qt expects.
void EnsureOffscreenApplication() {
    if (QGuiApplication::instance() != nullptr) return;
    valdris::PrepareReproducibleReports();
    static char program[] = "valdris-power-cli";
    static char platform_option[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {program, platform_option, offscreen, nullptr};
    static int argc = 3;
    new QGuiApplication(argc, argv);
}

// The seam passes plain bools and texts across the module's boundary.
bool Reported(const valdris::Outcome<valdris::Done>& written, std::string& error) {
    if (!written) error = written.message();
    return static_cast<bool>(written);
}

bool WriteChart(const valdris::DesignState& state, const std::string& path, std::string& error) {
    qInstallMessageHandler(KeepQtNotesQuiet);
    EnsureOffscreenApplication();
    return Reported(valdris::WriteChartFile(state, path), error);
}

bool WriteReport(const valdris::DesignReport& report, const valdris::DesignState& state, const std::string& path,
                 std::string& error) {
    qInstallMessageHandler(KeepQtNotesQuiet);
    EnsureOffscreenApplication();
    return Reported(valdris::WriteDesignReport({report, state, valdris::ReportTime()}, path), error);
}

bool WritePlanReport(const valdris::SurveyPlan& plan, const std::string& title, const std::string& path,
                     std::string& error) {
    qInstallMessageHandler(KeepQtNotesQuiet);
    EnsureOffscreenApplication();
    return Reported(valdris::WritePlanReport(plan, QString::fromStdString(title), path), error);
}

const valdris::cli::DrawingFunctions kFunctions = {
    valdris::cli::kDrawingInterfaceVersion,
    sizeof(valdris::DesignState),
    WriteChart,
    WriteReport,
    WritePlanReport,
};

}  // namespace

extern "C" Q_DECL_EXPORT const valdris::cli::DrawingFunctions* valdris_drawing_functions() { return &kFunctions; }
