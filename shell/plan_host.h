// SPDX-License-Identifier: Apache-2.0
#pragma once
// The survey plan in the program: the Plan menu of each design window, the
// one plan window, plan files named on the command line and the autosave of
// an unsaved plan offered at start.

#include <QObject>
#include <QPointer>
#include <QString>

#include "window_design_link.h"

namespace valdris {

class MessageBoxes;
class PlanWindow;

class PlanHost : public QObject {
    Q_OBJECT
public:
    PlanHost(MessageBoxes& messages, WindowDesignLink::Opener open_design_window);
    ~PlanHost() override;

    // A newly loaded design window gets the Plan menu and the link.
    void AttachDesignWindow(frmSampleSizeandPower* window);

    PlanWindow* ShowPlanWindow();
    void AddDesign();
    void OpenPlanFile(const QString& path);

private:
    MessageBoxes& messages_;
    WindowDesignLink link_;
    QPointer<PlanWindow> window_;
    bool autosave_offered_ = false;
};

}  // namespace valdris
