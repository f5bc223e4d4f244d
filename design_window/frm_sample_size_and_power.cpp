// SPDX-License-Identifier: Apache-2.0
#include "frm_sample_size_and_power.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>

#include "context_ids.h"
#include "lost_focus_watcher.h"
#include "number_text.h"
#include "repeat_guard.h"
#include "window_placement.h"

namespace valdris {


frmSampleSizeandPower::frmSampleSizeandPower(MessageBoxes& messages, QWidget* parent)
    : QMainWindow(parent),
      repeat_guard_(new RepeatGuard(messages, this)),
      messages_(*repeat_guard_),
      view_(*this, messages_, *repeat_guard_),
      form_(view_) {
    form_.OnDesignAccepted([this](const DesignEntries&, const DesignInputs&) { emit recalculated(); });
    form_.SetDecimalComma(QLocale().decimalPoint() == QLatin1Char(','));
    BuildLayout();
    WireEvents();
    AddReportMenus();
    Form_Load();
}

frmSampleSizeandPower::~frmSampleSizeandPower() {
    // The children die after this body: no handler may run on them.
    StopHandlers();
    if (!unloaded_) Form_UnLoad();
}

void frmSampleSizeandPower::StopHandlers() {
    view_.StopHandlers();
    if (lost_focus_) lost_focus_->Detach();
    for (const QMetaObject::Connection& connection : connections_) disconnect(connection);
    connections_.clear();
}

// --- Load, show, close ------------------------------------------------------

void frmSampleSizeandPower::Form_Load() {
    SetupHelp();
    SetHelpContextID(this, kHelpContextDesignWindow);
    SetHelpContextID(mnuFile, kHelpContextFileMenu);
    SetHelpContextID(mnuHelp, kHelpContextHelpMenu);

    CentreOnScreen();

    lblLBGRMin->setText(QStringLiteral("0"));
    for (QComboBox* box : {Cboalpha, CboBeta}) {
        for (const std::string& item : kDecisionErrorItems) box->addItem(QString::fromStdString(item));
        // Select the default item too, so that the list opens on it.
        box->setCurrentIndex(box->findText(QString::fromStdString(WriteNumber(DesignInputs{}.alpha))));
    }
    form_.EditText(FormControl::Radionuclide, txtRadionuclide->text().toStdString());
    form_.Load();
}

// Centres the outer frame (title bar, borders and menu bar included). Until
// the window is on screen its frame is not known and a usual one is assumed;
// once the window manager has told the frame it drew, the window is centred
// again with it, once. On a screen too small for it the window is made as
// large as the screen allows, and its surface scrolls.
void frmSampleSizeandPower::CentreOnScreen() { valdris::CentreOnScreen(this, WantedClientSize(), FrameMargins(this)); }

// The surface and the menu bar above it, as the layout gives it room.
QSize frmSampleSizeandPower::WantedClientSize() {
    layout()->activate();
    const QSize surface = static_cast<QScrollArea*>(centralWidget())->widget()->size();
    return {surface.width(), surface.height() + centralWidget()->y()};
}

void frmSampleSizeandPower::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_once_) {
        shown_once_ = true;
        CentreOnScreenOnceFramed(this, [this] { return WantedClientSize(); });
    }
}

void frmSampleSizeandPower::Form_UnLoad() {
    unloaded_ = true;
    CloseHelp();
}

void frmSampleSizeandPower::closeEvent(QCloseEvent* event) {
    // The unload is never cancelled; from here on no input handler runs.
    StopHandlers();
    if (!unloaded_) Form_UnLoad();
    event->accept();
}

void frmSampleSizeandPower::CmdExit_Click() {
    if (view_.Busy()) return;
    if (exit_program_) {
        exit_program_();
    } else {
        close();
    }
}

}  // namespace valdris
