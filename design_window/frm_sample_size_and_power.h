// SPDX-License-Identifier: Apache-2.0
#pragma once
// frmSampleSizeandPower: the design window. It holds every input, shows every
// result and carries the power chart. Constructing it is loading it: the
// layout is built and the load step runs (defaults, first design).

#include <QMainWindow>
#include <QMetaObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "design_form.h"
#include "design_report.h"
#include "design_state.h"
#include "message_boxes.h"
#include "window_form_view.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace valdris {

class LostFocusWatcher;
class NoticeBalloon;
struct ReportPage;
class PowerChartView;
class RepeatGuard;
class SymbolLabel;
class UpDownControl;

class frmSampleSizeandPower : public QMainWindow {
    Q_OBJECT
public:
    explicit frmSampleSizeandPower(MessageBoxes& messages, QWidget* parent = nullptr);
    ~frmSampleSizeandPower() override;

    // The window's rules and state; other windows load designs into the
    // window and learn of accepted inputs through it.
    DesignForm& Form() { return form_; }
    const DesignForm& Form() const { return form_; }

    // What Exit Program does when the program holds more than this window
    // (a plan to ask about); without it Exit closes this window.
    void SetExitProgram(std::function<void()> exit_program) { exit_program_ = std::move(exit_program); }

    // --- Controls, named as in the layout (each also carries its name as
    //     objectName). Owned by Qt's parent-child tree.
    QGroupBox* frmInfo = nullptr;
    QLabel* lblSurveyUnitID = nullptr;
    QLabel* lblRadionuclide = nullptr;
    QLineEdit* txtRadionuclide = nullptr;
    QLabel* LblDCGL = nullptr;
    QLineEdit* txtDCGL = nullptr;
    QLabel* lblSigma = nullptr;
    QLineEdit* txtSigma = nullptr;
    UpDownControl* UpDSigma = nullptr;

    QGroupBox* FrmStatisticalTest = nullptr;
    QRadioButton* OptSignTest = nullptr;
    QRadioButton* OptWRSTest = nullptr;
    QLabel* LblCV = nullptr;  // "Critical Value:", LF, the value

    QGroupBox* FrmDecisionErrors = nullptr;
    QLabel* Lblalpha = nullptr;
    QComboBox* Cboalpha = nullptr;
    QLabel* lblBeta = nullptr;
    QComboBox* CboBeta = nullptr;

    QGroupBox* FrmSampleSize = nullptr;
    QLabel* LblSurveyUnit = nullptr;
    QLineEdit* txtN = nullptr;
    QLabel* LblReferenceArea = nullptr;
    QLineEdit* TxtM = nullptr;

    QGroupBox* frmLBGR = nullptr;
    QLabel* lblLBGRMin = nullptr;
    QScrollBar* ScrLBGR = nullptr;
    QLabel* lblLBGRMax = nullptr;
    QLabel* lblLBGR = nullptr;
    QLineEdit* txtLBGR = nullptr;
    SymbolLabel* lblShift = nullptr;

    PowerChartView* PicChart = nullptr;
    QLabel* LblYaxis = nullptr;
    QLabel* Lblxaxis = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* CmdExit = nullptr;
    // Says whose results stand while they are the test not selected.
    QLabel* lblResultsNote = nullptr;
    // The notice at the DCGL or sigma box when a key is refused.
    NoticeBalloon* noticeBalloon = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* MnuExit = nullptr;
    QAction* mnuSaveReport = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuSaveChart = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCopyResults = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuUpdateChart = nullptr;
    QAction* mnuDesignCheck = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuGettingStarted = nullptr;
    QAction* mnuAbout = nullptr;

    // --- Handlers. The widget signals and the lost-focus watcher call them;
    //     the input rules are the form's.
    void Form_Load();
    void Form_UnLoad();
    void CmdExit_Click();
    void PicChart_Click() { form_.ClickChart(); }

    // The File and Edit menu items that hand the shown design on
    // (frm_sample_size_and_power_report.cpp).
    void mnuSaveReport_Click();
    void mnuPrint_Click();
    void mnuSaveChart_Click();
    void mnuCopyResults_Click();
    // View > Update Chart (F5): what a click on the chart does, from the keyboard.
    void mnuUpdateChart_Click();
    // View > Design Check: the shown design's check in a dialog.
    void mnuDesignCheck_Click();

    // The design the results show, with the texts the window shows;
    // nothing while the results are empty.
    std::optional<DesignReport> ShownReport() const;

signals:
    void gettingStartedRequested();
    void aboutRequested();
    // After every recalculation, whether or not a design could be made.
    void recalculated();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> exit_program_;
    // Layout (frm_sample_size_and_power_layout.cpp): one step a frame.
    void BuildLayout();
    void BuildInfoFrame(QWidget* client);
    void BuildStatisticalTestFrame(QWidget* client);
    void BuildDecisionErrorsFrame(QWidget* client);
    void BuildSampleSizeFrame(QWidget* client);
    void BuildLBGRFrame(QWidget* client);
    void BuildChart(QWidget* client);
    void BuildExitAndHint(QWidget* client);
    void BuildResultsNote(QWidget* client);
    void BuildMenus();
    void SetKeyboardOrder();

    void WireEvents();      // frm_sample_size_and_power_handlers.cpp
    void ShowSigmaStep();
    void AddReportMenus();  // frm_sample_size_and_power_report.cpp

    void showEvent(QShowEvent* event) override;
    void CentreOnScreen();
    QSize WantedClientSize();
    void StopHandlers();

    // Every message of the window passes the guard, which ends held arrows.
    RepeatGuard* repeat_guard_;

    // Handing the design on.
    bool TakePendingEntry();
    bool UpdateChart();
    std::optional<ReportPage> ShownReportPage();
    QString AskFileName(const QString& title, const QString& what, const QStringList& filters,
                        const QStringList& suffixes,
                        int* chosen_filter = nullptr);
    void ShowFileFailure(const std::string& error);

    MessageBoxes& messages_;
    WindowFormView view_;
    DesignForm form_;
    LostFocusWatcher* lost_focus_ = nullptr;
    std::vector<QMetaObject::Connection> connections_;

    QString save_directory_;       // where the last file was saved this session
    bool unloaded_ = false;
    bool shown_once_ = false;
};

}  // namespace valdris
