// SPDX-License-Identifier: Apache-2.0
#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "context_ids.h"

namespace valdris {
namespace {

struct HelpPathCase {
    const char* directory;
    char separator;
    const char* expected;
};

class HelpFilePathTest : public ::testing::TestWithParam<HelpPathCase> {};

TEST_P(HelpFilePathTest, JoinsDirectoryAndFileName) {
    const HelpPathCase& c = GetParam();
    EXPECT_EQ(HelpFilePath(QString::fromUtf8(c.directory), QLatin1Char(c.separator)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Directories, HelpFilePathTest,
    ::testing::Values(
        // A subdirectory gets a separator, a root keeps its own.
        HelpPathCase{"C:\\Tools", '\\', "C:\\Tools\\VALDRISPower99.HLP"},
        HelpPathCase{"C:\\", '\\', "C:\\VALDRISPower99.HLP"},
        HelpPathCase{"/opt/valdris/bin", '/', "/opt/valdris/bin/VALDRISPower99.HLP"},
        HelpPathCase{"/", '/', "/VALDRISPower99.HLP"},
        // Blanks belong to the directory's name and are kept as they are.
        HelpPathCase{"C:\\My Tools ", '\\', "C:\\My Tools \\VALDRISPower99.HLP"},
        HelpPathCase{" /opt/x", '/', " /opt/x/VALDRISPower99.HLP"},
        // A directory named by a blank under the root is not the root itself.
        HelpPathCase{"C:\\ ", '\\', "C:\\ \\VALDRISPower99.HLP"},
        HelpPathCase{"/ ", '/', "/ /VALDRISPower99.HLP"},
        // Only the platform's separator counts as one.
        HelpPathCase{"/opt/x\\", '/', "/opt/x\\/VALDRISPower99.HLP"}));

// Beside the program first, then in the installed data directory.
TEST(FindHelpFile, LooksBesideTheProgramThenInShare) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.path() + QStringLiteral("/bin");
    const QString share = root.path() + QStringLiteral("/share/valdris-power");
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
    const QString beside = bin + QStringLiteral("/VALDRISPower99.HLP");
    const QString installed = share + QStringLiteral("/VALDRISPower99.HLP");
    const auto touch = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly);
    };
    EXPECT_EQ(FindHelpFile(bin), beside);  // in neither: the message names this one
    ASSERT_TRUE(touch(installed));
    EXPECT_EQ(FindHelpFile(bin), installed);
    ASSERT_TRUE(touch(beside));
    EXPECT_EQ(FindHelpFile(bin), beside);
}

TEST(HelpContextID, ObjectsWithoutNumberTakeTheirNearestAncestors) {
    QObject window;
    auto* menu = new QObject(&window);
    auto* control = new QObject(&window);
    auto* inner = new QObject(control);
    SetHelpContextID(&window, kHelpContextDesignWindow);
    SetHelpContextID(menu, kHelpContextFileMenu);

    EXPECT_EQ(HelpContextID(&window), 10);
    EXPECT_EQ(HelpContextID(menu), 210);
    EXPECT_EQ(HelpContextID(control), 10);
    EXPECT_EQ(HelpContextID(inner), 10);
}

TEST(HelpContextID, NoneWhenNothingHasANumber) {
    QObject lone;
    EXPECT_EQ(HelpContextID(&lone), 0);
    EXPECT_EQ(HelpContextID(nullptr), 0);
    SetHelpContextID(nullptr, 5);  // ignored, not a crash
}

TEST(CloseHelp, RunsTheRegisteredCloserEvenWithoutAViewer) {
    CloseHelp();  // nothing registered: nothing happens
    int closed = 0;
    SetHelpViewerCloser([&closed] { ++closed; });
    CloseHelp();
    CloseHelp();
    EXPECT_EQ(closed, 2);
    SetHelpViewerCloser(nullptr);
    CloseHelp();
    EXPECT_EQ(closed, 2);
}

}  // namespace
}  // namespace valdris
