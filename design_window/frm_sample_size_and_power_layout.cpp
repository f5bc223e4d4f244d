// SPDX-License-Identifier: Apache-2.0
// The design window's controls: kinds, captions, fonts, places and the order
// the keyboard visits them. Positions are absolute (the window is designed in
// twips) and nothing moves when the window is resized.

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <cmath>
#include <iterator>

#include "axis_titles.h"
#include "frm_sample_size_and_power.h"
#include "horizontal_scroll_bar.h"
#include "input_notes.h"
#include "lbgr_bar.h"
#include "notice_balloon.h"
#include "result_texts.h"
#include "power_chart_view.h"
#include "program_icon.h"
#include "symbol_label.h"
#include "text_start.h"
#include "twips.h"
#include "typed_list_box.h"
#include "typefaces.h"
#include "up_down_control.h"
#include "window_placement.h"

namespace valdris {
namespace {

constexpr FontStyle kBold{true, false};
constexpr FontStyle kItalic{false, true};

// The window's client area below the menu bar: 9525 x 7200 twips.
constexpr int kClientWidthTwips = 9525;
constexpr int kClientHeightTwips = 7200;

// Row metrics shared by every group, so baselines line up across frames.
constexpr int kTextBoxHeight = 330;
constexpr int kOutputBoxHeight = 300;   // the sample-size frame is only 975 high
constexpr int kLabelGap = 45;           // between a right-aligned label and its input
constexpr int kSpinWidth = 240;         // a spin control's arrow column
constexpr int kScrollBarHeight = 255;

// The reference-area box is a light grey (the active-border colour), a shade
// darker than the button face of the survey-unit box beside it.
const QColor kActiveBorderColour(0xB4, 0xB4, 0xB4);

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption,
                  Qt::Alignment alignment, const QRect& place) {
    auto* label = Named(new QLabel(caption, parent), name);
    label->setAlignment(alignment);
    label->setGeometry(place);
    return label;
}

// A label that stands left of its input and reads as its name.
QLabel* MakeFieldLabel(QWidget* parent, const char* name, const QString& caption,
                       const QRect& place) {
    return MakeLabel(parent, name, caption, Qt::AlignRight | Qt::AlignVCenter, place);
}

void SetToolTip(QWidget* widget, const QString& tip) {
    widget->setToolTip(tip);
    widget->setAccessibleDescription(tip);
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* box = Named(new QLineEdit(text, parent), name);
    box->setGeometry(place);
    ShowStartWithoutFocus(box);
    return box;
}

// A result field: written by the program, never typed into or tabbed to; a
// click or its label's access key puts the cursor in it to select and copy.
QLineEdit* MakeOutputBox(QWidget* parent, const char* name, const QColor& background, const QColor& text,
                         const QRect& place) {
    auto* box = MakeTextBox(parent, name, QStringLiteral("0"), place);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setFont(Typeface(Face::TimesNewRoman, 11.25, kBold));
    QPalette palette = box->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, text);
    }
    box->setPalette(palette);
    return box;
}

// A result shown as a label: selectable with the mouse, and from the keyboard
// once a click or its shortcut has given it the focus. Tab passes it by.
void MakeSelectableResult(QLabel* label, const QKeySequence& shortcut, const QString& description,
                          QWidget* window) {
    label->setAccessibleDescription(description);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::ClickFocus);
    auto* key = new QShortcut(shortcut, window);
    QObject::connect(key, &QShortcut::activated, label, [label] {
        label->setFocus(Qt::ShortcutFocusReason);
        label->setSelection(0, static_cast<int>(label->text().size()));
    });
}

// The list is filled by the load step; typed text is accepted as typed and
// never added to the list or completed into another item.
QComboBox* MakeComboBox(QWidget* parent, const char* name, const QString& accessible_name, int x, int y,
                        int width) {
    auto* combo = Named(new TypedListBox(accessible_name, parent), name);
    combo->setFont(Typeface(Face::MSSansSerif, 8.25));
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    ShowStartWithoutFocus(combo->lineEdit(), combo);
    const QRect place = PxRect(x, y, width, 0);
    combo->setGeometry(place.x(), place.y(), place.width(), combo->sizeHint().height());
    return combo;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* frame = Named(new QGroupBox(caption, parent), name);
    frame->setGeometry(place);
    return frame;
}

}  // namespace

void frmSampleSizeandPower::BuildLayout() {
    setWindowTitle(QStringLiteral("VALDRIS Power 2000"));
    setWindowIcon(ProgramIcon());

    // The controls sit on a client area of fixed size; the window around it
    // may be resized or maximised without anything moving.
    auto* client = Named(new QWidget(this), "clientArea");
    client->setFont(Typeface(Face::TimesNewRoman, 11.25));
    client->setFixedSize(PxRect(0, 0, kClientWidthTwips, kClientHeightTwips).size());
    // On a screen too small for the window the client area scrolls.
    setCentralWidget(ScrollingBody(client));

    BuildInfoFrame(client);
    BuildStatisticalTestFrame(client);
    BuildDecisionErrorsFrame(client);
    BuildSampleSizeFrame(client);
    BuildLBGRFrame(client);
    BuildChart(client);
    BuildExitAndHint(client);
    BuildResultsNote(client);
    BuildMenus();
    SetKeyboardOrder();

    adjustSize();
}

// frmInfo: the survey unit and the inputs typed as numbers. Its top edge
// lies above the client area, which clips the group box's top border; the
// rows below are placed from that edge.
void frmSampleSizeandPower::BuildInfoFrame(QWidget* client) {
    frmInfo = MakeFrame(client, "frmInfo", QString(), PxRect(90, -75, 4545, 2175));
    // The sigma box and its arrows together are as wide as the boxes above.
    constexpr int kLabelX = 30, kLabelW = 1455;
    constexpr int kInputX = kLabelX + kLabelW + kLabelGap, kInputW = 1200;
    constexpr int kSigmaW = kInputW - kSpinWidth;
    constexpr int kRow1 = 240, kRow2 = 690, kRow3 = 1140, kRow4 = 1590;
    lblSurveyUnitID = MakeFieldLabel(frmInfo, "lblSurveyUnitID", tr("Survey Unit ID:"),
                                     PxRect(kLabelX, kRow1, kLabelW, kTextBoxHeight));
    lblRadionuclide = MakeFieldLabel(frmInfo, "lblRadionuclide", tr("Radionuclide:"),
                                     PxRect(kLabelX, kRow2, kLabelW, kTextBoxHeight));
    txtRadionuclide = MakeTextBox(frmInfo, "txtRadionuclide", tr("Unity Rule"),
                                  PxRect(kInputX, kRow2, kInputW, kTextBoxHeight));
    LblDCGL = MakeFieldLabel(frmInfo, "LblDCGL", tr("&DCGL"),
                             PxRect(kLabelX, kRow3, kLabelW, kTextBoxHeight));
    txtDCGL = MakeTextBox(frmInfo, "txtDCGL", QString(),
                          PxRect(kInputX, kRow3, kInputW, kTextBoxHeight));
    lblSigma = MakeFieldLabel(frmInfo, "lblSigma", tr("&Sigma"),
                              PxRect(kLabelX, kRow4, kLabelW, kTextBoxHeight));
    txtSigma = MakeTextBox(frmInfo, "txtSigma", QString(),
                           PxRect(kInputX, kRow4, kSigmaW, kTextBoxHeight));
    UpDSigma = Named(new UpDownControl(frmInfo), "UpDSigma");
    const QRect sigma = txtSigma->geometry();
    UpDSigma->setGeometry(sigma.right() + 1, sigma.top(), Px(kSpinWidth), sigma.height());

    SetToolTip(txtRadionuclide, tr("Radionuclide"));
    SetToolTip(txtDCGL, tr("Enter the DCGL - Derived Concentration Guideline Levels"));
    SetToolTip(txtSigma, tr("Enter your estimate of the standard deviation here"));
    lblRadionuclide->setBuddy(txtRadionuclide);
    LblDCGL->setBuddy(txtDCGL);
    lblSigma->setBuddy(txtSigma);
}

// FrmStatisticalTest: drawn over the right-hand part of frmInfo, so
// it is a sibling placed in window coordinates and kept above it.
void frmSampleSizeandPower::BuildStatisticalTestFrame(QWidget* client) {
    FrmStatisticalTest = MakeFrame(client, "FrmStatisticalTest", tr("Statistical Test"),
                                   PxRect(2985, 600, 1560, 1455));
    FrmStatisticalTest->raise();
    constexpr int kX = 120, kW = 1380;
    OptSignTest = Named(new QRadioButton(QString::fromStdString(TestCaption(TestKind::Sign)), FrmStatisticalTest), "OptSignTest");
    OptSignTest->setGeometry(PxRect(kX, 330, kW, 285));
    OptSignTest->setChecked(true);
    OptWRSTest = Named(new QRadioButton(QString::fromStdString(TestCaption(TestKind::WRS)), FrmStatisticalTest), "OptWRSTest");
    OptWRSTest->setGeometry(PxRect(kX, 630, kW, 285));
    // Heading on the first line, the value below it.
    LblCV = MakeLabel(FrmStatisticalTest, "LblCV", QString::fromStdString(kCriticalValueTitle + ":"),
                      Qt::AlignLeft | Qt::AlignTop, PxRect(kX, 915, kW, 510));
    MakeSelectableResult(LblCV, QKeySequence(tr("Alt+C")), tr("Alt+C selects the critical value"), this);
    LblCV->setToolTip(QString::fromStdString(kCriticalValueKeyTip));
    SetToolTip(OptSignTest, OptSignTest->text());
    SetToolTip(OptWRSTest, tr("Wilcoxon Rank Sum (WRS) Test"));
}

// FrmDecisionErrors: alpha and beta, each under its heading.
void frmSampleSizeandPower::BuildDecisionErrorsFrame(QWidget* client) {
    FrmDecisionErrors = MakeFrame(client, "FrmDecisionErrors", tr("Decision Errors"),
                                  PxRect(4710, 0, 2415, 975));
    constexpr int kAlphaX = 120, kBetaX = 1260, kComboW = 1035;
    constexpr int kHeadingY = 315, kHeadingH = 255, kComboY = kHeadingY + kHeadingH;
    const QFont heading = Typeface(Face::TimesNewRoman, 12);
    Lblalpha = MakeLabel(FrmDecisionErrors, "Lblalpha", tr("&Alpha:"),
                         Qt::AlignLeft | Qt::AlignBottom, PxRect(kAlphaX, kHeadingY, kComboW, kHeadingH));
    Lblalpha->setFont(heading);
    Cboalpha = MakeComboBox(FrmDecisionErrors, "Cboalpha", tr("Alpha"), kAlphaX, kComboY, kComboW);
    lblBeta = MakeLabel(FrmDecisionErrors, "lblBeta", tr("&Beta:"),
                        Qt::AlignLeft | Qt::AlignBottom, PxRect(kBetaX, kHeadingY, kComboW, kHeadingH));
    lblBeta->setFont(heading);
    CboBeta = MakeComboBox(FrmDecisionErrors, "CboBeta", tr("Beta"), kBetaX, kComboY, kComboW);
    SetToolTip(Cboalpha, tr("alpha - Type I error rate"));
    SetToolTip(CboBeta, tr("beta - Type II error rate"));
    Lblalpha->setBuddy(Cboalpha);
    lblBeta->setBuddy(CboBeta);
}

// FrmSampleSize: the two sample sizes, outputs only.
void frmSampleSizeandPower::BuildSampleSizeFrame(QWidget* client) {
    FrmSampleSize = MakeFrame(client, "FrmSampleSize", tr("Required Sample Size"),
                              PxRect(7200, 0, 2235, 975));
    constexpr int kLabelX = 60, kLabelW = 1170;
    constexpr int kBoxX = kLabelX + kLabelW + kLabelGap, kBoxW = 795;
    constexpr int kRow1 = 300, kRow2 = kRow1 + kOutputBoxHeight + 15;
    LblSurveyUnit = MakeFieldLabel(FrmSampleSize, "LblSurveyUnit", tr("Survey &Unit:"),
                                   PxRect(kLabelX, kRow1, kLabelW, kOutputBoxHeight));
    // The survey-unit box has the button face and its text colour, so it
    // reads under a dark palette too; the reference-area box keeps its fixed
    // grey with black.
    txtN = MakeOutputBox(FrmSampleSize, "txtN", palette().color(QPalette::Button),
                         palette().color(QPalette::ButtonText), PxRect(kBoxX, kRow1, kBoxW, kOutputBoxHeight));
    LblReferenceArea = MakeFieldLabel(FrmSampleSize, "LblReferenceArea", tr("&Reference:"),
                                      PxRect(kLabelX, kRow2, kLabelW, kOutputBoxHeight));
    TxtM = MakeOutputBox(FrmSampleSize, "TxtM", kActiveBorderColour, Qt::black,
                         PxRect(kBoxX, kRow2, kBoxW, kOutputBoxHeight));
    LblSurveyUnit->setBuddy(txtN);
    LblReferenceArea->setBuddy(TxtM);
}

// frmLBGR: the LBGR as a scroll bar over 0..DCGL and as a number.
void frmSampleSizeandPower::BuildLBGRFrame(QWidget* client) {
    frmLBGR = MakeFrame(client, "frmLBGR", QString(), PxRect(4710, 960, 4755, 1140));
    constexpr int kBarX = 405, kBarY = 180, kBarW = 3735;
    constexpr int kEndGap = 45, kEndLabelW = 480;
    constexpr int kRowY = 630, kLabelX = 105, kLabelW = 840;
    constexpr int kBoxX = kLabelX + kLabelW + kLabelGap, kBoxW = 1095;
    lblLBGRMin = MakeLabel(frmLBGR, "lblLBGRMin", QStringLiteral("0"), Qt::AlignRight | Qt::AlignVCenter,
                           PxRect(kBarX - kEndGap - kEndLabelW, kBarY, kEndLabelW, kScrollBarHeight));
    ScrLBGR = Named(new HorizontalScrollBar(frmLBGR), "ScrLBGR");
    ScrLBGR->setGeometry(PxRect(kBarX, kBarY, kBarW, kScrollBarHeight));
    ScrLBGR->setRange(kLBGRBarBottom, kLBGRBarTop);
    ScrLBGR->setSingleStep(kLBGRBarSmallStep);
    ScrLBGR->setPageStep(kLBGRBarLargeStep);
    ScrLBGR->setValue(kLBGRBarStart);
    ScrLBGR->setTracking(false);  // one change at the end of a drag, not one per pixel
    // The bar takes the focus from a click, Tab or the wheel, so a box being
    // typed in is left (and checked) before the bar moves.
    ScrLBGR->setFocusPolicy(Qt::WheelFocus);
    ScrLBGR->setAccessibleName(tr("LBGR"));
    // Sized to the rest of the frame: the DCGL text it shows can grow.
    lblLBGRMax = MakeLabel(frmLBGR, "lblLBGRMax", QString(), Qt::AlignLeft | Qt::AlignVCenter,
                           PxRect(kBarX + kBarW + kEndGap, kBarY, 4755 - (kBarX + kBarW + kEndGap) - 60,
                                 kScrollBarHeight));

    lblLBGR = MakeFieldLabel(frmLBGR, "lblLBGR", tr("&LBGR"), PxRect(kLabelX, kRowY, kLabelW, kTextBoxHeight));
    txtLBGR = MakeTextBox(frmLBGR, "txtLBGR", QString(), PxRect(kBoxX, kRowY, kBoxW, kTextBoxHeight));
    SetToolTip(txtLBGR, tr("LBGR - Lower Boundary of the Gray Region"));
    lblLBGR->setBuddy(txtLBGR);

    // Shown in Greek letters; it sizes itself to each new caption, so
    // only its left edge and vertical centre are placed here.
    lblShift = Named(new SymbolLabel(frmLBGR), "lblShift");
    lblShift->setFont(Typeface(Face::TimesNewRoman, 11.25));
    lblShift->setCaption(QStringLiteral("D/s ="));
    MakeSelectableResult(lblShift, QKeySequence(tr("Alt+T")),
                         tr("Alt+T selects the relative shift delta over sigma"), this);
    lblShift->setToolTip(QString::fromStdString(kShiftKeyTip));
    const QRect box = txtLBGR->geometry();
    lblShift->move(box.right() + 1 + Px(2 * kLabelGap),
                   box.center().y() - lblShift->height() / 2 + 1);
}

// PicChart and the two axis titles drawn over it.
void frmSampleSizeandPower::BuildChart(QWidget* client) {
    PicChart = Named(new PowerChartView(client), "PicChart");
    PicChart->setGeometry(PxRect(120, 2160, 7815, 4695));
    PicChart->setFont(Typeface(Face::MSSansSerif, 8.25));
    PicChart->setFocusPolicy(Qt::ClickFocus);  // the box being left loses the focus before the click
    PicChart->setAccessibleName(tr("Power curve"));
    SetToolTip(PicChart, tr("Click on Chart to Update"));
    // Positions inside the chart count from its drawing area.
    const QPoint origin = PicChart->contentsRect().topLeft();
    const QFont title = AxisTitleFont();
    auto make_title = [&](const char* name, const QString& caption) {
        auto* label = Named(new QLabel(caption, PicChart), name);
        label->setFont(title);
        label->setAlignment(Qt::AlignCenter);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
        // Part of the chart: its fixed black on the chart's own white.
        QPalette black = label->palette();
        black.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(black);
        return label;
    };
    LblYaxis = make_title("LblYaxis", YAxisTitle());
    LblYaxis->adjustSize();
    LblYaxis->move(origin.x() + (PicChart->contentsRect().width() - LblYaxis->width()) / 2,
                   origin.y() + YAxisTitleTop());
    Lblxaxis = make_title("Lblxaxis", XAxisTitle());
    Lblxaxis->setGeometry(XAxisTitleBox().translated(origin));
}

// Beside and below the chart.
void frmSampleSizeandPower::BuildExitAndHint(QWidget* client) {
    Label1 = MakeLabel(client, "Label1",
                       tr("Click anywhere on the graph to update the power curve using newly entered "
                          "parameter values"),
                       Qt::AlignLeft | Qt::AlignTop, PxRect(8040, 2280, 1335, 2775));
    Label1->setFont(Typeface(Face::TimesNewRoman, 12, kItalic));
    Label1->setWordWrap(true);

    CmdExit = Named(new QPushButton(tr("E&xit Program"), client), "CmdExit");
    CmdExit->setGeometry(PxRect(8040, 6240, 1365, 540));
}

// Below the hint beside the chart, shown only while the results are those
// of the test not selected; and the notice for refused keys.
void frmSampleSizeandPower::BuildResultsNote(QWidget* client) {
    lblResultsNote = MakeLabel(client, "lblResultsNote", QString(), Qt::AlignLeft | Qt::AlignTop,
                               PxRect(8040, 5115, 1365, 1065));
    lblResultsNote->setFont(Typeface(Face::TimesNewRoman, 10, kBold));
    lblResultsNote->setWordWrap(true);
    lblResultsNote->hide();
    noticeBalloon = new NoticeBalloon(this);
}

// Menu bar, in the system's menu font. F1 and the help context
// numbers are the help set-up's.
void frmSampleSizeandPower::BuildMenus() {
    mnuFile = Named(menuBar()->addMenu(tr("&File")), "mnuFile");
    MnuExit = Named(mnuFile->addAction(tr("E&xit")), "MnuExit");
    mnuHelp = Named(menuBar()->addMenu(tr("&Help")), "mnuHelp");
    mnuGettingStarted = Named(mnuHelp->addAction(tr("Getting Started")), "mnuGettingStarted");
    mnuAbout = Named(mnuHelp->addAction(tr("&About")), "mnuAbout");
}

// Keyboard order: the inputs in the order a design is thought through.
void frmSampleSizeandPower::SetKeyboardOrder() {
    QWidget* const chain[] = {txtRadionuclide, txtDCGL, txtSigma, OptSignTest, OptWRSTest,
                              Cboalpha, CboBeta, txtLBGR, ScrLBGR, CmdExit};
    for (size_t i = 0; i + 1 < std::size(chain); ++i) {
        setTabOrder(chain[i], chain[i + 1]);
    }
    txtRadionuclide->setFocus();
}

}  // namespace valdris
