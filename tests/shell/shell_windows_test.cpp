// SPDX-License-Identifier: Apache-2.0
// The splash and Getting Started windows and how the program keeps each
// window at most once.
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include "context_ids.h"
#include "frm_getting_started.h"
#include "frm_splash.h"
#include "frm_sample_size_and_power.h"
#include "plan_host.h"
#include "plan_window.h"
#include "recording_messages.h"
#include "program_windows.h"
#include "splash_pictures.h"

namespace valdris {
namespace {

// Stands in for the design window: counts loads and keeps a value that a
// second load would reset.
struct FakeDesignWindows {
    int loads = 0;
    QPointer<QMainWindow> last;
    ProgramWindows::DesignWindowLoader Loader() {
        return [this](ProgramWindows&) {
            ++loads;
            last = new QMainWindow;
            last->setWindowTitle(QStringLiteral("VALDRIS Power 2000"));
            last->setProperty("dcgl", QStringLiteral("1"));
            return static_cast<QWidget*>(last.data());
        };
    }
};

// Deleted windows go with the posted deferred deletes.
void ProcessDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The program's one window of a kind, or null when there is none.
template <typename Window>
Window* TheWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w)) return window;
    return nullptr;
}

QList<QWidget*> VisibleTopLevels() {
    QList<QWidget*> visible;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) visible << w;
    return visible;
}

TEST(Splash, ShowsItsTextsAfterLoading) {
    frmSplash splash;
    EXPECT_EQ(splash.lblCompanyProduct->text(), QStringLiteral("VALDRIS Power"));
    EXPECT_EQ(splash.lblVersion->text(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(splash.LblCopyright->text(), QStringLiteral("December 2000"));
    EXPECT_EQ(splash.lblWarning->text(),
              QStringLiteral("Warning: Use at your own risk.\r\n If anything goes wrong its not our fault."));
    EXPECT_EQ(splash.lblProductName->text(),
              QStringLiteral("Sample Size and Power Calulations for VALDRIS Final Status Survey Designs"));
    EXPECT_FALSE(splash.lblCompany->text().isEmpty());
    EXPECT_EQ(splash.CmdOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(splash.windowTitle().isEmpty());
}

TEST(Splash, HasTheLayoutsGeometryAndFrame) {
    frmSplash splash;
    EXPECT_EQ(splash.size(), QSize(658, 550));
    EXPECT_EQ(splash.Frame1->geometry(), QRect(8, 8, 639, 529));
    EXPECT_EQ(splash.CmdOK->geometry(), QRect(464, 480, 137, 33));
    EXPECT_EQ(splash.ImgValdrisLogo->geometry(), QRect(24, 64, 585, 414));
    EXPECT_EQ(splash.ImgValdrisLogo->pixmap().deviceIndependentSize(), QSizeF(585, 414));
    EXPECT_EQ(splash.Image1->geometry(), QRect(8, 456, 257, 73));
    // The banner comes at the label's own size (in device-independent pixels).
    EXPECT_EQ(splash.Image1->pixmap().deviceIndependentSize(), QSizeF(257, 73));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    // Every label lies wholly inside the white frame.
    for (QLabel* label : splash.Frame1->findChildren<QLabel*>()) {
        EXPECT_TRUE(splash.Frame1->rect().contains(label->geometry())) << label->objectName().toStdString();
    }
}

TEST(Splash, UsesTheStatedTypefaces) {
    frmSplash splash;
    struct Expected {
        QWidget* widget;
        double points;
        bool bold;
        bool italic;
    };
    const Expected table[] = {
        {splash.lblCompanyProduct, 48, true, true}, {splash.lblVersion, 11.25, true, false},
        {splash.LblCopyright, 11.25, true, false},  {splash.lblProductName, 12, true, false},
        {splash.lblCompany, 11.25, true, true},     {splash.lblWarning, 8.25, false, false},
        {splash.CmdOK, 14.25, true, false},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.widget->objectName().toStdString());
        EXPECT_DOUBLE_EQ(e.widget->font().pointSizeF(), e.points);
        EXPECT_EQ(e.widget->font().bold(), e.bold);
        EXPECT_EQ(e.widget->font().italic(), e.italic);
    }
    EXPECT_EQ(splash.lblCompanyProduct->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(splash.lblProductName->palette().color(QPalette::WindowText), QColor(0, 0, 192));
}

TEST(Splash, SubstitutesInstalledFacesForTheMissingOnes) {
    frmSplash splash;
    struct Expected {
        QWidget* widget;
        QStringList families;
    };
    const Expected table[] = {
        {splash.lblCompanyProduct, {"Staccato222 BT", "Z003"}},
        {splash.lblVersion, {"LithographLight", "URW Gothic"}},
        {splash.lblCompany, {"Comic Sans MS", "Comic Neue"}},
        {splash.lblProductName, {"Arial", "Liberation Sans"}},
        {splash.CmdOK, {"Times New Roman", "Liberation Serif"}},
    };
    for (const Expected& e : table) {
        // Families installed by more than one foundry carry it in brackets.
        const QString resolved = QFontInfo(e.widget->font()).family().section(QStringLiteral(" ["), 0, 0);
        EXPECT_TRUE(e.families.contains(resolved))
            << e.widget->objectName().toStdString() << " got " << resolved.toStdString();
    }
}

// Type 1 copies of faces take thirty times as long to open as OpenType ones
// (the splash's title was one), so the font list the program draws from
// leaves them out.
TEST(Splash, DrawsFromAFontListWithoutType1Files) {
    frmSplash splash;
    FcPattern* type1 = FcPatternCreate();
    FcPatternAddString(type1, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>("Type 1"));
    FcObjectSet* file = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* found = FcFontList(nullptr, type1, file);
    ASSERT_NE(found, nullptr);
    FcChar8* first = nullptr;
    if (found->nfont > 0) FcPatternGetString(found->fonts[0], FC_FILE, 0, &first);
    EXPECT_EQ(found->nfont, 0) << "for example " << (first ? reinterpret_cast<const char*>(first) : "");
    FcFontSetDestroy(found);
    FcObjectSetDestroy(file);
    FcPatternDestroy(type1);
}

// The logo lies under the transparent labels: where a label's text stands the
// artwork must be plain, or its lines strike through the text. (The product
// name has a white background of its own.)
TEST(Splash, ArtworkLeavesTheTextsClear) {
    frmSplash splash;
    splash.show();
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage art = LoadSplashPicture(SplashPicture::Logo, ratio).toImage();
        ASSERT_EQ(art.size(), splash.ImgValdrisLogo->size() * ratio);
        for (QLabel* label : {splash.lblCompanyProduct, splash.lblVersion, splash.LblCopyright, splash.lblCompany,
                              splash.lblWarning}) {
            SCOPED_TRACE(label->objectName().toStdString());
            const QRect text = label->geometry().translated(-splash.ImgValdrisLogo->pos()).adjusted(-2, -2, 2, 2);
            const QRect under(QPoint(text.topLeft() * ratio), QPoint(text.bottomRight() * ratio));
            const QRect covered = under.intersected(art.rect());
            int lightest = 0, darkest = 255 * 3;
            for (int y = covered.top(); y <= covered.bottom(); ++y) {
                for (int x = covered.left(); x <= covered.right(); ++x) {
                    const QColor c = art.pixelColor(x, y);
                    const int sum = c.red() + c.green() + c.blue();
                    lightest = std::max(lightest, sum);
                    darkest = std::min(darkest, sum);
                }
            }
            // A gentle gradient is plain enough; a line or a shape is not.
            if (!covered.isEmpty()) {
                EXPECT_LE(lightest - darkest, 24) << "under " << covered.x() << "," << covered.y() << " "
                                                  << covered.width() << "x" << covered.height();
            }
        }
    }
}

TEST(Splash, OnlyOKTakesTheFocusAndEscapeKeepsItOpen) {
    frmSplash splash;
    splash.show();
    QApplication::setActiveWindow(&splash);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&splash));
    EXPECT_EQ(QApplication::focusWidget(), splash.CmdOK);
    for (QWidget* w : splash.findChildren<QWidget*>()) {
        if (w == splash.CmdOK) continue;
        EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << w->objectName().toStdString();
    }
    QTest::keyClick(&splash, Qt::Key_Escape);
    EXPECT_TRUE(splash.isVisible());
    QTest::keyClick(&splash, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), splash.CmdOK);

    QSignalSpy ok(&splash, &frmSplash::okClicked);
    QTest::keyClick(splash.CmdOK, Qt::Key_Return);
    EXPECT_EQ(ok.count(), 1);
}

TEST(GettingStarted, ShowsTheParagraphInItsPlace) {
    frmGettingStarted window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Getting Started"));
    EXPECT_EQ(window.LblGettingStarted->text(),
              QStringLiteral("VALDRIS Power  calculates the required sample size, the critical value and "
                             "the power curve for VALDRIS final status survey designs. The program begins "
                             "with default values, which can be changed in any order."));
    EXPECT_TRUE(window.LblGettingStarted->wordWrap());
    EXPECT_EQ(window.LblGettingStarted->geometry(), QRect(25, 19, 346, 97));
    EXPECT_DOUBLE_EQ(window.LblGettingStarted->font().pointSizeF(), 12);
    EXPECT_EQ(window.OKButton->geometry(), QRect(152, 136, 81, 25));
    EXPECT_DOUBLE_EQ(window.OKButton->font().pointSizeF(), 8.25);
    // The client area, not the frame, is placed from the screen's corner.
    EXPECT_EQ(window.geometry().size(), QSize(402, 177));
    EXPECT_EQ(window.geometry().topLeft() - QGuiApplication::primaryScreen()->geometry().topLeft(),
              QPoint(184, 250));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

TEST(GettingStarted, OpensWithOKFocusedAndOKCloses) {
    QPointer<frmGettingStarted> window = new frmGettingStarted;
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(QApplication::focusWidget(), window->OKButton);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    QTest::mouseClick(window->OKButton, Qt::LeftButton);
    ProcessDeferredDeletes();
    EXPECT_TRUE(window.isNull());
}

TEST(ProgramWindows, SplashOKLeavesOnlyTheDesignWindow) {
    FakeDesignWindows fake;
    ProgramWindows windows(fake.Loader());
    Main(windows);
    QTest::mouseClick(TheWindow<frmSplash>()->CmdOK, Qt::LeftButton);
    ProcessDeferredDeletes();
    EXPECT_EQ(fake.loads, 1);
    EXPECT_EQ(TheWindow<frmSplash>(), nullptr);
    ASSERT_NE(windows.DesignWindow(), nullptr);
    EXPECT_EQ(VisibleTopLevels(), QList<QWidget*>{windows.DesignWindow()});
    EXPECT_TRUE(windows.DesignWindow()->testAttribute(Qt::WA_DeleteOnClose));
}

TEST(ProgramWindows, DesignWindowIsLoadedWhileTheSplashIsStillShown) {
    bool splash_up_during_load = false;
    ProgramWindows windows([&](ProgramWindows&) {
        splash_up_during_load = TheWindow<frmSplash>() && TheWindow<frmSplash>()->isVisible();
        return static_cast<QWidget*>(new QMainWindow);
    });
    Main(windows);
    windows.SplashOK();
    EXPECT_TRUE(splash_up_during_load);
}

TEST(ProgramWindows, AboutTwiceIsOneWindowAndOKKeepsTheDesignWindowsValues) {
    FakeDesignWindows fake;
    ProgramWindows windows(fake.Loader());
    Main(windows);
    windows.SplashOK();
    ProcessDeferredDeletes();
    fake.last->setProperty("dcgl", QStringLiteral("7"));

    windows.ShowAbout();
    frmSplash* about = TheWindow<frmSplash>();
    ASSERT_NE(about, nullptr);
    windows.ShowAbout();
    EXPECT_EQ(TheWindow<frmSplash>(), about);
    int splashes = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) splashes += qobject_cast<frmSplash*>(w) ? 1 : 0;
    EXPECT_EQ(splashes, 1);

    QTest::mouseClick(about->CmdOK, Qt::LeftButton);
    ProcessDeferredDeletes();
    EXPECT_EQ(fake.loads, 1);
    EXPECT_EQ(TheWindow<frmSplash>(), nullptr);
    EXPECT_EQ(fake.last->property("dcgl").toString(), QStringLiteral("7"));
    EXPECT_TRUE(fake.last->isVisible());
}

TEST(ProgramWindows, AboutAfterTheDesignWindowClosedLoadsItAfresh) {
    FakeDesignWindows fake;
    ProgramWindows windows(fake.Loader());
    Main(windows);
    windows.SplashOK();
    windows.ShowAbout();
    windows.DesignWindow()->close();
    ProcessDeferredDeletes();
    EXPECT_EQ(windows.DesignWindow(), nullptr);
    ASSERT_NE(TheWindow<frmSplash>(), nullptr);

    windows.SplashOK();
    ProcessDeferredDeletes();
    EXPECT_EQ(fake.loads, 2);
    EXPECT_EQ(fake.last->property("dcgl").toString(), QStringLiteral("1"));
}

TEST(ProgramWindows, GettingStartedTwiceIsOneWindowInFront) {
    FakeDesignWindows fake;
    ProgramWindows windows(fake.Loader());
    windows.ShowGettingStarted();
    frmGettingStarted* first = TheWindow<frmGettingStarted>();
    ASSERT_NE(first, nullptr);
    windows.ShowGettingStarted();
    EXPECT_EQ(TheWindow<frmGettingStarted>(), first);
    EXPECT_TRUE(first->isVisible());

    first->close();
    ProcessDeferredDeletes();
    EXPECT_EQ(TheWindow<frmGettingStarted>(), nullptr);
    windows.ShowGettingStarted();
    EXPECT_NE(TheWindow<frmGettingStarted>(), nullptr);
}

TEST(ProgramWindows, HelpContextNumbersOfTheShellsWindows) {
    frmSplash splash;
    frmGettingStarted getting_started;
    EXPECT_EQ(HelpContextID(&splash), 230);
    EXPECT_EQ(HelpContextID(splash.CmdOK), 230);
    EXPECT_EQ(HelpContextID(&getting_started), 240);
    EXPECT_EQ(HelpContextID(getting_started.OKButton), 240);
    EXPECT_EQ(HelpContextID(getting_started.LblGettingStarted), 240);
}

// Exit Program takes the plan window with the design window: the plan's
// unsaved changes are asked about once, Cancel keeps both open; Getting
// Started stays either way and keeps the program running.
TEST(ProgramWindows, ExitProgramTakesThePlanWindowAskingAboutThePlanOnce) {
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.filePath(QStringLiteral("state")).toLocal8Bit());
    const struct {
        const char* what;
        bool unsaved;
        const char* answer;  // the button pressed in the question; nullptr: none asked
        bool ended;
    } cases[] = {
        {"a saved plan", false, nullptr, true},
        {"unsaved, cancelled", true, "Cancel", false},
        {"unsaved, not saved", true, "&Don't Save", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::RecordingMessages messages;
        auto* design = new frmSampleSizeandPower(messages);
        design->setAttribute(Qt::WA_DeleteOnClose);
        PlanHost host(messages, [design] { return design; });
        host.AttachDesignWindow(design);
        design->show();
        QPointer<PlanWindow> plan = host.ShowPlanWindow();
        if (c.unsaved) host.AddDesign();
        QPointer<frmGettingStarted> getting_started = new frmGettingStarted;
        getting_started->show();
        int asked = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            ++asked;
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QLatin1String(c.answer)) button->click();
            }
        });
        answer.start(10);
        design->CmdExit->click();
        answer.stop();
        EXPECT_EQ(asked, c.answer ? 1 : 0);
        EXPECT_TRUE(getting_started && getting_started->isVisible()) << "Getting Started keeps the program running";
        EXPECT_EQ(plan && plan->isVisible(), !c.ended);
        ProcessDeferredDeletes();
        if (!c.ended) {
            plan->setAttribute(Qt::WA_DeleteOnClose, false);
            delete plan.data();
            delete design;
        }
        delete getting_started.data();
    }
}

}  // namespace
}  // namespace valdris
