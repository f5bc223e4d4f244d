// SPDX-License-Identifier: Apache-2.0
// valdris-power-cli: the design of the VALDRIS Power window from the command
// line, for scripts and reports. No toolkit is linked: the drawing module is
// loaded only when a chart or a report is asked for.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "drawing_loader.h"
#include "options.h"
#include "run.h"

int main(int argc, char** argv) {
    // A plan's report runs to hundreds of megabytes: written to a file or a
    // pipe in large pieces, not a system call per few kilobytes. A terminal
    // keeps its lines as they come.
    static char out_buffer[1 << 16];
    if (isatty(STDOUT_FILENO) == 0) std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
    const std::vector<std::string> args(argv + 1, argv + argc);

    auto write_chart = [](const valdris::DesignState& state, const std::string& path, std::string& error) {
        const valdris::cli::DrawingFunctions* drawing = valdris::cli::LoadDrawing(error);
        return drawing != nullptr && drawing->write_chart(state, path, error);
    };

    auto write_report = [](const valdris::DesignReport& report, const valdris::DesignState& state,
                           const std::string& path, std::string& error) {
        const valdris::cli::DrawingFunctions* drawing = valdris::cli::LoadDrawing(error);
        return drawing != nullptr && drawing->write_report(report, state, path, error);
    };

    auto write_plan_report = [](const valdris::SurveyPlan& plan, const std::string& title, const std::string& path,
                                std::string& error) {
        const valdris::cli::DrawingFunctions* drawing = valdris::cli::LoadDrawing(error);
        return drawing != nullptr && drawing->write_plan_report(plan, title, path, error);
    };

    const int status = valdris::cli::Run(args, std::cout, std::cerr, write_chart, write_report, write_plan_report);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << valdris::cli::kProgramName << ": the output could not be written\n";
        return valdris::cli::kExitFailure;
    }
    return status;
}
