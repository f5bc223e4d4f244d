// SPDX-License-Identifier: Apache-2.0
#pragma once
// The program's three windows, each open at most once. Asking for a window
// that is open brings it to the front instead of opening another.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "frm_getting_started.h"
#include "frm_splash.h"

namespace valdris {

class ProgramWindows : public QObject {
    Q_OBJECT
public:
    // Creates and loads the design window; it is shown later. The loader
    // connects the window's Help menu to ShowGettingStarted and ShowAbout.
    using DesignWindowLoader = std::function<QWidget*(ProgramWindows&)>;

    explicit ProgramWindows(DesignWindowLoader load_design_window, QObject* parent = nullptr);
    ~ProgramWindows() override;

    // Shows the splash window centred, not modal; used at start and for About.
    void ShowSplash();
    void ShowAbout() { ShowSplash(); }
    void ShowGettingStarted();

    // The splash window's OK: load the design window unless it exists, close
    // the splash window, then show the design window and activate it.
    void SplashOK();

    QWidget* DesignWindow() const { return design_window_; }

private:
    DesignWindowLoader load_design_window_;
    QPointer<frmSplash> splash_;
    QPointer<QWidget> design_window_;
    QPointer<frmGettingStarted> getting_started_;
};

// The entry point's one job: the splash window, then back to the event loop.
void Main(ProgramWindows& windows);

}  // namespace valdris
