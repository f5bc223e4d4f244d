// valdris-power-cli: the design of the VALDRIS Power window from the command
// line, for scripts and reports.

#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "chart_file.h"
#include "options.h"
#include "run.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);

    // Drawing the chart needs a GUI application but no screen; it is made
    // only when a chart is asked for.
    int qt_argc = 1;
    char qt_name[] = "valdris-power-cli";
    char* qt_argv[] = {qt_name, nullptr};
    std::unique_ptr<QGuiApplication> application;
    auto write_chart = [&](const valdris::DesignState& state, const std::string& path, std::string& error) {
        if (!QGuiApplication::instance()) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            application = std::make_unique<QGuiApplication>(qt_argc, qt_argv);
        }
        return valdris::WriteChartFile(state, path, error);
    };

    const int status = valdris::cli::Run(args, std::cout, std::cerr, write_chart);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << valdris::cli::kProgramName << ": the output could not be written\n";
        return valdris::cli::kExitFailure;
    }
    return status;
}
