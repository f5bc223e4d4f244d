// SPDX-License-Identifier: Apache-2.0
#include "program_windows.h"

#include <QEventLoopLocker>

#include "frm_getting_started.h"
#include "frm_splash.h"

namespace valdris {
namespace {

void BringToFront(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

// A window that was closed is gone, even while its deletion is still pending.
bool IsOpen(const QWidget* window) { return window && window->isVisible(); }

}  // namespace

ProgramWindows::ProgramWindows(DesignWindowLoader load_design_window, QObject* parent)
    : QObject(parent), load_design_window_(std::move(load_design_window)) {}

ProgramWindows::~ProgramWindows() {
    // Windows still open when the program ends go with it.
    delete getting_started_;
    delete design_window_;
    delete splash_;
}

void ProgramWindows::ShowSplash() {
    if (!IsOpen(splash_)) {
        splash_ = new frmSplash;
        connect(splash_, &frmSplash::okClicked, this, &ProgramWindows::SplashOK);
        splash_->CentreOnScreen();
    }
    BringToFront(splash_);
}

void ProgramWindows::ShowGettingStarted() {
    if (!IsOpen(getting_started_)) getting_started_ = new frmGettingStarted;
    BringToFront(getting_started_);
}

void ProgramWindows::SplashOK() {
    // Between closing the splash and showing the design window no window is
    // visible; that moment must not end the program.
    const QEventLoopLocker keep_running;
    if (!IsOpen(design_window_)) {
        design_window_ = load_design_window_(*this);
        if (design_window_) design_window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (splash_) splash_->close();
    splash_ = nullptr;
    if (design_window_) BringToFront(design_window_);
}

void Main(ProgramWindows& windows) { windows.ShowSplash(); }

}  // namespace valdris
