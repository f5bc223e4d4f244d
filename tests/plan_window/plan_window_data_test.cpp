// SPDX-License-Identifier: Apache-2.0
// What the measurements panel adds to the plan's data commands: the
// clipboard and files as sources, the column asked for, the refusals shown
// with the file's name, and the verdict and picture following the unit.

#include <map>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "data_panel.h"
#include "drawing_view.h"
#include "plan_table_model.h"
#include "plan_window_fixture.h"

namespace valdris::testing {
namespace {

using Request = DataPanel::Request;

const std::vector<double>& Survey(const PlanTableModel* model) {
    return model->Plan().entry(0).unit.survey_data;
}

TEST_F(PlanWindowTest, PastedMeasurementsShowTheVerdictAndThePicture) {
    AddUnit("A");
    SelectRow(0);
    EXPECT_FALSE(Child<DrawingView>("dataPlot")->HasDrawing());
    EXPECT_TRUE(Child<QLabel>("decision")->text().startsWith("No measurements yet"));
    EXPECT_FALSE(Child<QPushButton>(DataPanel::ButtonName(Request::Clear, UnitData::Survey))->isEnabled());

    QGuiApplication::clipboard()->setText("0.1\n0.2\n0.3\n0.4\n0.5\n0.6\n0.7\n0.8\n0.9\n1.3\n");
    Child<QPushButton>(DataPanel::ButtonName(Request::Paste, UnitData::Survey))->click();
    EXPECT_EQ(Survey(Model()).size(), 10u);
    EXPECT_EQ(Child<QLabel>("decision")->text(), "The survey unit passes");
    EXPECT_EQ(Child<QTableView>("surveyData")->model()->rowCount(), 10);
    EXPECT_EQ(Child<QListWidget>("investigate")->count(), 1);
    EXPECT_EQ(Child<QListWidget>("investigate")->item(0)->text(), "Measurement 10: 1.3");
    EXPECT_TRUE(Child<QLabel>("powerNote")->text().contains("below 1 - beta"));
    EXPECT_TRUE(Child<DrawingView>("dataPlot")->HasDrawing());
    EXPECT_GT(Child<QTableWidget>("assessmentFigures")->rowCount(), 8);
    EXPECT_TRUE(Child<QPushButton>(DataPanel::ButtonName(Request::Clear, UnitData::Survey))->isEnabled());
    EXPECT_EQ(Act("actUndo")->text(), "&Undo Set Survey Unit Data");

    // A refused paste names the line and keeps the unit's data.
    QGuiApplication::clipboard()->setText("1\nNaN\n");
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Act("actAssess")->trigger();
    ASSERT_EQ(QApplication::focusWidget(), Child<QTableView>("surveyData"));
    QTest::keyClick(Child<QTableView>("surveyData"), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The survey unit's measurements, line 2: \"NaN\" is not a finite number.");
    EXPECT_EQ(Survey(Model()).size(), 10u);

    Child<QPushButton>(DataPanel::ButtonName(Request::Clear, UnitData::Survey))->click();
    EXPECT_TRUE(Survey(Model()).empty());
    EXPECT_FALSE(Child<DrawingView>("dataPlot")->HasDrawing());
    Model()->Plan().Undo();
    EXPECT_EQ(Child<QLabel>("decision")->text(), "The survey unit passes");
}

// Every figure's name reads whole beside a long value, in a small window
// and at twice the font size: the value wraps, the name is never cut.
TEST_F(PlanWindowTest, FigureNamesReadWholeAtEveryScale) {
    AddUnit("A");
    SelectRow(0);
    QGuiApplication::clipboard()->setText("0.1\n0.2\n0.3\n0.4\n0.5\n0.6\n0.7\n0.8\n0.9\n1.3\n");
    Child<QPushButton>(DataPanel::ButtonName(Request::Paste, UnitData::Survey))->click();
    const struct {
        QSize window;
        double scale;
    } cases[] = {{{1366, 768}, 1.0}, {{1366, 768}, 2.0}, {{900, 600}, 1.0}};
    const QFont base = window->font();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        QFont font = base;
        font.setPointSizeF(base.pointSizeF() * c.scale);
        window->setFont(font);
        window->resize(c.window);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->findChild<QTabWidget*>("unitPanels")->setCurrentIndex(2);
        QApplication::processEvents();
        auto* figures = Child<QTableWidget>("assessmentFigures");
        ASSERT_GT(figures->rowCount(), 0);
        for (int r = 0; r < figures->rowCount(); ++r) {
            const QString name = figures->item(r, 0)->text();
            EXPECT_GE(figures->columnWidth(0), figures->fontMetrics().horizontalAdvance(name)) << name.toStdString();
        }
    }
    window->setFont(base);
}

TEST_F(PlanWindowTest, ImportedFilesAreTakenWholeOrRefusedNamingTheFile) {
    AddUnit("A");
    SelectRow(0);
    const struct {
        const char* what;
        QByteArray bytes;  // empty: the path names a folder
        std::optional<QString> choice;
        QStringList offered;
        int first;          // the column offered first (the first of numbers); -1: not asked
        std::size_t taken;  // the survey data's size afterwards
        QString message;    // after the file's path; empty: none
    } cases[] = {
        {"one column", "Result\n0.5\n0.7\n0.2\n", std::nullopt, {}, -1, 3, ""},
        {"a column chosen", "id\tResult\nA1\t0.5\nA2\t0.9\n", "Result", {"id", "Result"}, 1, 2, ""},
        {"the choice cancelled", "id,net\n1,2\n3,4\n", std::nullopt, {"id", "net"}, 0, 2, ""},
        {"a bad value", "0.5\n0.7\n#VALUE!\n", std::nullopt, {}, -1, 2,
         " was not read:\nThe survey unit's measurements, line 3: \"#VALUE!\" is not a number."},
        {"a folder", "", std::nullopt, {}, -1, 2, ": it is not a regular file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.Clear();
        dialogs.choices.clear();
        dialogs.choice_offered_first = -1;
        dialogs.choice = c.choice;
        dialogs.file_name = PathIn("data");
        if (c.bytes.isEmpty()) {
            QDir(dir.path()).mkdir("folder");
            dialogs.file_name = PathIn("folder");
        } else {
            QFile file(dialogs.file_name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(c.bytes);
        }
        // The column is asked first (then, for survey data, where each was taken).
        dialogs.asked.clear();
        Child<QPushButton>(DataPanel::ButtonName(Request::Import, UnitData::Survey))->click();
        EXPECT_EQ(dialogs.asked.empty() ? QStringList() : dialogs.asked.front().choices, c.offered);
        EXPECT_EQ(dialogs.asked.empty() ? -1 : dialogs.asked.front().offered_first, c.first);
        EXPECT_EQ(Survey(Model()).size(), c.taken);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_TRUE(messages.shown[0].text.endsWith(dialogs.file_name + c.message))
                << messages.shown[0].text.toStdString();
        }
    }
}

TEST_F(PlanWindowTest, ThePanelOffersWhatTheSelectedUnitsTestNeeds) {
    AddUnit("S");
    AddUnit("W", 0.5, TestKind::WRS);
    window->show();
    const struct {
        std::vector<std::size_t> rows;
        bool enabled, reference;
    } cases[] = {{{0}, true, false}, {{1}, true, true}, {{0, 1}, false, true}};
    for (const auto& c : cases) {
        Table()->clearSelection();
        for (const std::size_t row : c.rows) {
            Table()->selectionModel()->select(Table()->model()->index(static_cast<int>(row), 0),
                                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        EXPECT_EQ(Page<DataPanel>()->isEnabled(), c.enabled);
        EXPECT_EQ(Act("actAssess")->isEnabled(), c.enabled);
        EXPECT_EQ(Child<QTableView>("referenceData")->isVisibleTo(Page<DataPanel>()), c.reference);
    }
}

// Measurements with their locations' ids join; the one joined to none is
// named at once; the elevated area's investigated size is entered and can
// be given back its default. Location 2 (1.5) at 1 m2, area factor 4:
// delta 0.4, 0.4 + (1.5 - 0.4) / 4 = 0.675 < 1.
TEST_F(PlanWindowTest, PlacedMeasurementsJoinAndTheirAreasTakeSizes) {
    AddUnit("A");
    SurveyPlan& plan = Model()->Plan();
    ASSERT_TRUE(plan.Edit(0, PlanField::Area, "100"));
    ASSERT_TRUE(plan.Edit(0, PlanField::Seed, "7"));
    ASSERT_TRUE(plan.Edit(0, PlanField::AreaFactors, "1:4, 16:1"));
    SelectRow(0);
    QFile file(PathIn("placed.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("id,v\n1,0.2\n2,1.5\n3,0.4\nX9,0.6\n");
    file.close();
    dialogs.file_name = file.fileName();
    dialogs.answers = {QStringLiteral("v"), QStringLiteral("id")};
    Child<QPushButton>(DataPanel::ButtonName(Request::Import, UnitData::Survey))->click();
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1].choices, QStringList({"(none)", "id"}));
    EXPECT_EQ(dialogs.asked[1].offered_first, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Joined to no location (counted in the test all the same): X9.");
    EXPECT_EQ(plan.entry(0).unit.survey_data.ids().size(), 4u);
    EXPECT_FALSE(Child<QLabel>("areaLines")->isHidden());
    ASSERT_FALSE(Child<QPushButton>("elevatedAreaSize")->isHidden());

    const struct {
        const char* typed;
        std::map<std::string, double> sizes;  // the unit's afterwards
        QString message;                      // empty: none
    } cases[] = {
        {"1", {{"2", 1.0}}, ""},
        {"abc", {{"2", 1.0}}, "An elevated area's size must be a number above 0 (m2)."},
        {"-2", {{"2", 1.0}}, "An elevated area's size must be a number above 0 (m2)."},
        {" ", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        messages.Clear();
        dialogs.answers = {std::nullopt};  // cancelled: nothing changes
        Child<QPushButton>("elevatedAreaSize")->click();
        ASSERT_EQ(dialogs.asked.back().choices.size(), 1);
        EXPECT_TRUE(dialogs.asked.back().choices[0].startsWith("2 ("));
        dialogs.answers = {dialogs.asked.back().choices[0]};
        dialogs.text = QString::fromLatin1(c.typed);
        Child<QPushButton>("elevatedAreaSize")->click();
        EXPECT_EQ(plan.entry(0).unit.elevated_area_sizes, c.sizes);
        EXPECT_EQ(messages.shown.empty() ? QString() : messages.shown[0].text, c.message);
    }
    plan.Undo();
    EXPECT_EQ(plan.entry(0).unit.elevated_area_sizes, (std::map<std::string, double>{{"2", 1.0}}));
    EXPECT_TRUE(Child<QLabel>("areaLines")->text().contains("The elevated-measurement comparison passes."));
}

}  // namespace
}  // namespace valdris::testing
