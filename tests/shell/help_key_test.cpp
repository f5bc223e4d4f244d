// SPDX-License-Identifier: Apache-2.0
// F1: which topic it asks for, and what happens without a usable help file.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include "context_ids.h"
#include "help_file.h"
#include "help_viewer.h"
#include "recording_messages.h"

namespace valdris {
namespace {

// A window laid out like the design window, as far as help goes.
struct DesignLikeWindow {
    QMainWindow window;
    QLineEdit* input = new QLineEdit(&window);
    QMenu* file_menu = window.menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* help_menu = window.menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* exit_item = file_menu->addAction(QStringLiteral("E&xit"));
    QAction* report_item = file_menu->addAction(QStringLiteral("Save &Report"));
    DesignLikeWindow() {
        SetHelpContextID(report_item, kHelpContextSaveReport);
        window.setCentralWidget(input);
        SetHelpContextID(&window, kHelpContextDesignWindow);
        SetHelpContextID(file_menu, kHelpContextFileMenu);
        SetHelpContextID(help_menu, kHelpContextHelpMenu);
    }
};

TEST(HelpTopicFor, PrefersTheOpenMenuThenTheFocusThenTheWindow) {
    DesignLikeWindow design;
    QWidget other_window;
    SetHelpContextID(&other_window, kHelpContextGettingStarted);
    QMenu untagged_submenu(design.help_menu);
    QMenu file_menu_on_report;  // the File menu with an item of its own topic highlighted
    file_menu_on_report.addAction(design.report_item);
    file_menu_on_report.setActiveAction(design.report_item);
    SetHelpContextID(&file_menu_on_report, kHelpContextFileMenu);
    design.file_menu->setActiveAction(design.exit_item);
    QLineEdit unnumbered;  // a window of its own with no number anywhere
    QWidget popup_not_menu;

    struct Case {
        const char* what;
        const QWidget* focus;
        const QWidget* popup;
        const QWidget* active;
        int expected;
    };
    const Case table[] = {
        {"control in design window", design.input, nullptr, &design.window, 10},
        {"file menu open on an item without a topic", design.input, design.file_menu, &design.window, 210},
        {"item with a topic of its own", design.input, &file_menu_on_report, &design.window, 211},
        {"help menu open", design.input, design.help_menu, &design.window, 220},
        {"submenu takes its parent menu's", design.input, &untagged_submenu, &design.window, 220},
        {"a popup that is no menu", design.input, &popup_not_menu, &design.window, 10},
        {"no focus: the window", nullptr, nullptr, &other_window, 240},
        {"focus without number: the window", &unnumbered, nullptr, &other_window, 240},
        {"nothing at all", nullptr, nullptr, nullptr, 0},
    };
    for (const Case& c : table) {
        EXPECT_EQ(HelpTopicFor(c.focus, c.popup, c.active), c.expected) << c.what;
    }
}

TEST(HelpFile, HasATopicForEveryContextNumber) {
    QFile file(QStringLiteral(VALDRIS_HELP_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << VALDRIS_HELP_FILE;
    const QString html = QString::fromUtf8(file.readAll());
    for (int id : {kHelpContextDesignWindow, kHelpContextFileMenu, kHelpContextHelpMenu, kHelpContextSplash,
                   kHelpContextGettingStarted, kHelpContextSaveReport, kHelpContextPrint, kHelpContextSaveChart,
                   kHelpContextEditMenu, kHelpContextCopyResults, kHelpContextViewMenu, kHelpContextPlanMenu,
                   kHelpContextPlanWindow, kHelpContextPlanFiles, kHelpContextBudgetPage, kHelpContextFieldPage,
                   kHelpContextAreaFactors, kHelpContextScanMDC, kHelpContextNuclides, kHelpContextMeasurementsPage}) {
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(HelpTopicAnchor(id)))) << id;
    }
    // The one label of the window that has no input, and how to choose the
    // design's inputs, reached from the contents.
    EXPECT_TRUE(html.contains(QStringLiteral("<dt><b>Survey Unit ID:</b></dt>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<a href=\"#choosing\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"choosing\"></a>Choosing alpha, beta, sigma and the LBGR")));
}

class HelpKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        help_file_ = dir_.filePath(kHelpFileName);
    }
    void WriteHelpFile() {
        QFile file(help_file_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray html = "<html><body><h1>Contents</h1>";
        for (int id : {10, 210, 220, 230, 240}) {
            // Far apart, in the help file's own markup.
            html += "<p>" + QByteArray("<br>").repeated(100) + "<a name='context-" + QByteArray::number(id) +
                    "'></a>Topic " + QByteArray::number(id) + "</p>";
        }
        file.write(html + "</body></html>");
    }
    void PressF1(QWidget* window) {
        window->show();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
    }

    QTemporaryDir dir_;
    QString help_file_;
    testing::RecordingMessages messages_;
};

TEST_F(HelpKeyTest, DoesNothingBeforeTheHelpFileIsSet) {
    HelpViewer viewer(messages_);
    HelpKey key(viewer, [] { return QString(); });
    qApp->installEventFilter(&key);
    DesignLikeWindow design;
    PressF1(&design.window);
    qApp->removeEventFilter(&key);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(viewer.Window(), nullptr);
}

TEST_F(HelpKeyTest, MissingHelpFileIsReportedWhenF1IsPressed) {
    HelpViewer viewer(messages_);
    HelpKey key(viewer, [this] { return help_file_; });
    qApp->installEventFilter(&key);
    DesignLikeWindow design;
    PressF1(&design.window);
    qApp->removeEventFilter(&key);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, HelpFileProblemMessage(help_file_, HelpFileStatus::CannotOpen));
    EXPECT_TRUE(messages_.shown[0].text.contains(help_file_));
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(viewer.Window(), nullptr);
}

TEST_F(HelpKeyTest, OpensTheFocusedControlsTopicAndCloseHelpClosesIt) {
    WriteHelpFile();
    HelpViewer viewer(messages_);
    SetHelpViewerCloser([&viewer] { viewer.Close(); });
    HelpKey key(viewer, [this] { return help_file_; });
    qApp->installEventFilter(&key);
    DesignLikeWindow design;
    design.input->setFocus();
    PressF1(&design.window);
    qApp->removeEventFilter(&key);

    EXPECT_TRUE(messages_.shown.empty());
    ASSERT_NE(viewer.Window(), nullptr);
    EXPECT_TRUE(viewer.Window()->isVisible());
    EXPECT_TRUE(viewer.Window()->findChild<HelpBrowser*>()->toPlainText().contains(QStringLiteral("Topic 10")));
    EXPECT_GT(viewer.Window()->findChild<HelpBrowser*>()->verticalScrollBar()->value(), 0);
    // It does not hold the program open by itself.
    EXPECT_FALSE(viewer.Window()->testAttribute(Qt::WA_QuitOnClose));

    CloseHelp();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(viewer.Window(), nullptr);
    SetHelpViewerCloser(nullptr);
}

TEST_F(HelpKeyTest, OtherKeysPassThrough) {
    WriteHelpFile();
    HelpViewer viewer(messages_);
    HelpKey key(viewer, [this] { return help_file_; });
    qApp->installEventFilter(&key);
    DesignLikeWindow design;
    design.input->setFocus();
    design.window.show();
    QApplication::setActiveWindow(&design.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&design.window));
    QTest::keyClicks(design.input, QStringLiteral("12"));
    QTest::keyClick(design.input, Qt::Key_F1, Qt::ShiftModifier);
    qApp->removeEventFilter(&key);
    EXPECT_EQ(design.input->text(), QStringLiteral("12"));
    EXPECT_EQ(viewer.Window(), nullptr);
}

}  // namespace
}  // namespace valdris
