// SPDX-License-Identifier: Apache-2.0
// VALDRIS Power: the splash window first; its OK opens the design window. The
// program runs until its last window has closed.

#include <QApplication>

#include <iostream>

#include "command_line.h"
#include "context_ids.h"
#include "design_window_loader.h"
#include "help_viewer.h"
#include "frm_sample_size_and_power.h"
#include "message_boxes.h"
#include "plan_host.h"
#include "program_windows.h"
#include "report_file.h"

int main(int argc, char** argv) {
    if (const auto status = valdris::AnswerTextRequest(argc, argv, std::cout)) return *status;

    valdris::PrepareReproducibleReports();
    QApplication app(argc, argv);
    // The display name falls back to this. Setting it as well would make Qt
    // append it to every window caption, and the captions are fixed texts.
    QApplication::setApplicationName(QStringLiteral("VALDRIS Power"));
    QApplication::setApplicationVersion(QStringLiteral(VALDRIS_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral("valdris-power"));
    QApplication::setQuitOnLastWindowClosed(true);

    valdris::QtMessageBoxes messages;
    valdris::HelpViewer help_viewer(messages);
    valdris::SetHelpViewerCloser([&help_viewer] { help_viewer.Close(); });
    valdris::HelpKey help_key(help_viewer, valdris::HelpFile);
    app.installEventFilter(&help_key);

    // The plan reaches the design window through the program's windows, which
    // load one again when it was closed.
    valdris::ProgramWindows* program_windows = nullptr;
    valdris::PlanHost plans(messages, [&program_windows] {
        program_windows->SplashOK();
        return qobject_cast<valdris::frmSampleSizeandPower*>(program_windows->DesignWindow());
    });
    valdris::ProgramWindows windows([&messages, &plans](valdris::ProgramWindows& w) {
        QWidget* window = valdris::LoadDesignWindow(w, messages);
        if (auto* design = qobject_cast<valdris::frmSampleSizeandPower*>(window)) plans.AttachDesignWindow(design);
        return window;
    });
    program_windows = &windows;
    // A plan file (a double-click on one) opens the plan beside the design
    // window, without the splash window.
    if (const auto plan_file = valdris::PlanFileArgument(argc, argv)) {
        windows.SplashOK();
        plans.OpenPlanFile(QString::fromLocal8Bit(plan_file->c_str()));
    } else {
        valdris::Main(windows);
    }
    const int status = QApplication::exec();
    valdris::SetHelpViewerCloser(nullptr);
    return status;
}
