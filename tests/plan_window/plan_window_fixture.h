// SPDX-License-Identifier: Apache-2.0
#pragma once
// A plan window with scripted answers to its questions, a recorded message
// box and a stand-in for the design window.

#include <QAction>
#include <QTemporaryDir>
#include <algorithm>
#include <deque>
#include <memory>
#include <gtest/gtest.h>

#include "design_window_link.h"
#include "plan_table_model.h"
#include "plan_dialogs.h"
#include "plan_window.h"
#include "recording_messages.h"

class QTableView;

namespace valdris::testing {

class ScriptedDialogs : public PlanDialogs {
public:
    // The scripted answer, which the question must offer.
    Answer Ask(const Question& question) override {
        const Answer answer = Scripted(question);
        const bool offered = std::any_of(question.buttons.begin(), question.buttons.end(),
                                         [answer](const QuestionButton& button) { return button.answer == answer; });
        EXPECT_TRUE(offered) << question.text;
        return answer;
    }
    Answer Scripted(const Question& question) {
        switch (question.kind) {
            case QuestionKind::UnsavedChanges: ++unsaved_asked; return unsaved;
            case QuestionKind::ChangedOnDisk: ++changed_asked; return changed;
            case QuestionKind::RecoverAutosave: ++recover_asked; return recover ? Answer::Yes : Answer::No;
            case QuestionKind::DeleteUnits: break;
        }
        return question.escape_answer;
    }
    QString OpenFileName(const QString&) override { return file_name; }
    QString SaveFileName(const QString& title, const QString& suggested, const QString&) override {
        save_title = title;
        save_suggested = suggested;
        return file_name;
    }
    std::optional<QString> AskText(const QString&, const QString&, const QString&) override { return text; }
    std::optional<CostTexts> AskCosts(const QString&, const CostTexts& shown, bool offer_all) override {
        costs_shown = shown;
        costs_offered_all = offer_all;
        return costs;
    }
    bool AskDeleteUnits(const QString& names) override {
        delete_asked = names;
        return delete_units;
    }
    QString OpenDataFileName(const QString&) override { return file_name; }
    QString OpenBoundaryFileName(const QString&) override { return file_name; }
    std::optional<QString> AskChoice(const QString&, const QString&, const QStringList& offered, int first) override {
        choices = offered;
        choice_offered_first = first;
        asked.push_back({offered, first});
        if (answers.empty()) return choice;
        std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    Answer unsaved = Answer::Cancel;
    int unsaved_asked = 0;
    bool recover = true;
    int recover_asked = 0;
    Answer changed = Answer::Cancel;
    int changed_asked = 0;
    QString file_name;
    QString save_title;  // what the last save dialog said and suggested
    QString save_suggested;
    std::optional<QString> text;
    std::optional<CostTexts> costs;
    CostTexts costs_shown;  // what the last costs dialog showed
    bool costs_offered_all = false;
    QString delete_asked;  // the units the last question named
    bool delete_units = true;
    int choice_offered_first = -1;
    QStringList choices;  // the last offered
    std::optional<QString> choice;
    // Every choice asked, in order; answered from `answers` first, then `choice`.
    struct Asked {
        QStringList choices;
        int offered_first = -1;
    };
    std::vector<Asked> asked;
    std::deque<std::optional<QString>> answers;
};

// The design window as the plan sees it: a design to take, the last unit
// shown, the title, and a way to play an input taken there.
class FakeDesignWindow : public DesignWindowLink {
public:
    std::optional<PlanUnit> TakeDesign(const PlanUnit& into) override {
        if (!shows_design) return std::nullopt;
        // The design's inputs; name, given size and costs stay the unit's.
        PlanUnit unit = design;
        unit.name = into.name;
        unit.given_n = into.given_n;
        unit.costs = into.costs;
        return unit;
    }
    // Showing a unit makes the window take its inputs, as the real one does.
    std::optional<Refusal> ShowUnit(const PlanUnit& unit) override {
        design = unit;
        ++shown;
        if (taken) taken();
        return std::nullopt;
    }
    void SetEditedUnit(const std::string& name) override { edited = name; }
    void SetInputTaken(std::function<void()> callback) override { taken = std::move(callback); }

    void TakeInput(const PlanUnit& unit) {
        design = unit;
        if (taken) taken();
    }

    PlanUnit design;
    bool shows_design = true;
    int shown = 0;
    std::string edited;
    std::function<void()> taken;
};

// The window is reached as a user reaches it: its widgets and actions by
// their object names, its commands through its actions.
class PlanWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Adds a unit at the defaults but for these.
    void AddUnit(const std::string& name, double lbgr = 0.5, TestKind test = TestKind::Sign);
    QString Cell(int row, int column) const;
    QString PathIn(const QString& name) const { return dir.filePath(name); }

    // The table's model over the plan, the table, a page of the unit's
    // panels and an action, of this window or another.
    static PlanTableModel* Model(const PlanWindow& of);
    PlanTableModel* Model() const { return Model(*window); }
    QTableView* Table() const;
    template <typename Panel>
    Panel* Page() const {
        Panel* panel = window->findChild<Panel*>();
        EXPECT_NE(panel, nullptr);
        return panel;
    }
    // A widget of the window by its object name.
    template <typename Widget>
    Widget* Child(const QString& name) const {
        auto* widget = window->findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    static QAction* Act(const PlanWindow& of, const char* name);
    QAction* Act(const char* name) const { return Act(*window, name); }
    // Triggers the action, which must be enabled: a test of a command that
    // the menu does not offer would pass without running it.
    static void Trigger(const PlanWindow& of, const char* name);
    void Trigger(const char* name) const { Trigger(*window, name); }
    // Rows of the plan (not of the sorted view).
    void SelectRow(std::size_t row) const;
    std::vector<std::size_t> SelectedRows() const;
    // Saves under the name, as Save Plan As with that name typed; false
    // when a message said why not.
    bool SaveAs(const QString& path);
    // The autosave is written at once instead of after its delay.
    void WriteAutosaveNow() const;

    QTemporaryDir dir;
    RecordingMessages messages;
    ScriptedDialogs dialogs;
    FakeDesignWindow design_window;
    std::unique_ptr<PlanWindow> window;
};

}  // namespace valdris::testing
