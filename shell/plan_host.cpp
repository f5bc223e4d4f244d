// SPDX-License-Identifier: Apache-2.0
#include "plan_host.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "context_ids.h"
#include "frm_sample_size_and_power.h"
#include "plan_document.h"
#include "plan_window.h"

namespace valdris {

PlanHost::PlanHost(MessageBoxes& messages, WindowDesignLink::Opener open_design_window)
    : messages_(messages), link_(std::move(open_design_window)) {}

PlanHost::~PlanHost() { delete window_; }

void PlanHost::AttachDesignWindow(frmSampleSizeandPower* window) {
    link_.Attach(window);
    auto* menu = new QMenu(tr("&Plan"), window);
    menu->setObjectName(QStringLiteral("mnuPlan"));
    window->menuBar()->insertMenu(window->mnuHelp->menuAction(), menu);
    SetHelpContextID(menu, kHelpContextPlanMenu);
    // Exit Program takes the plan window with the design window: the plan is
    // asked about once, then both close. Getting Started, when open, keeps
    // the program running as it does without a plan.
    window->SetExitProgram([this, window] {
        if (window_ && !window_->close()) return;
        window->close();
    });
    QAction* open = menu->addAction(tr("&Survey Plan\u2026"));
    open->setObjectName(QStringLiteral("mnuSurveyPlan"));
    connect(open, &QAction::triggered, this, [this] { ShowPlanWindow(); });
    QAction* add = menu->addAction(tr("&Add Design to Plan"));
    add->setObjectName(QStringLiteral("mnuAddDesignToPlan"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(add, &QAction::triggered, this, [this] { AddDesign(); });
    // Work an earlier run left behind is offered once the first design
    // window is up.
    if (!autosave_offered_) {
        autosave_offered_ = true;
        QTimer::singleShot(0, this, [this] {
            if (LeftoverAutosaves().empty()) return;
            ShowPlanWindow()->OfferLeftoverAutosaves();
        });
    }
}

PlanWindow* PlanHost::ShowPlanWindow() {
    if (!window_) {
        window_ = new PlanWindow(messages_, &link_);
        window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (window_->isMinimized()) window_->showNormal();
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
}

void PlanHost::AddDesign() { ShowPlanWindow()->AddDesign(); }

void PlanHost::OpenPlanFile(const QString& path) { ShowPlanWindow()->OpenPlanFile(path); }

}  // namespace valdris
