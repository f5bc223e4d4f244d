// SPDX-License-Identifier: Apache-2.0
#pragma once
// The order of questions and deeds behind the plan's file commands: setting
// the plan aside (a new plan, another opened, the window closed), Save,
// Save As, and a leftover autosave offered. Each step says what is to be done
// next; whoever shows the boxes does it and reports back, so that the order
// (what each answer leads to, when a name is asked for, what a failed write
// stops) is decided here once, apart from any window.

#include <string>
#include <utility>
#include <vector>

#include "plan_document.h"
#include "question.h"

namespace valdris {

struct FileStep {
    enum class Kind {
        Ask,      // show `question`; then Answered
        AskName,  // a save dialog that suggests `path`; then Named
        Write,    // the plan written to `path` and taken as its file; then Did
        Recover,  // the autosave at `path` read and taken as the unsaved work
                  // of the plan whose file is `plan`; then Did
        Remove,   // the leftover autosave at `path` removed; then Did
        Done,     // the plan may be set aside, was saved, or was recovered
        Stopped,  // the user stayed, or what failed has been reported
    };
    Kind kind = Kind::Stopped;
    Question question;
    std::string path;
    std::string plan;
};

class FileErrand {
public:
    // The plan is about to be set aside: unsaved work is asked about first.
    static FileErrand SetAside(const PlanDocument& document, const SurveyPlan& plan);
    static FileErrand Save(const PlanDocument& document);
    static FileErrand SaveAs(const PlanDocument& document);
    // A leftover autosave offered as the unsaved work of the plan whose file
    // is plan_path (empty: a plan never saved); declined or unreadable, it is
    // removed, so that it is offered once.
    static FileErrand Recover(const PlanDocument& document, std::string autosave, std::string plan_path);

    FileStep Start();
    FileStep Answered(Answer answer);
    // The absolute name to save under, its suffix added and its replacing
    // agreed to; empty when the user cancelled.
    FileStep Named(const std::string& path);
    // Whether the last Write, Recover or Remove was done.
    FileStep Did(bool done);

private:
    enum class Goal { SetAside, Save, SaveAs, Recover };
    FileErrand(const PlanDocument& document, Goal goal) : document_(document), goal_(goal) {}
    FileStep Ask(Question question);
    FileStep Deed(FileStep::Kind kind, std::string path);
    FileStep Saving();
    FileStep AskName();
    FileStep SaveTo(const std::string& path);

    const PlanDocument& document_;
    Goal goal_;
    bool unsaved_ = false;
    std::string target_;    // the file being saved to, or the autosave offered
    std::string plan_;      // Recover: the plan's file
    QuestionKind asked_ = QuestionKind::UnsavedChanges;
    FileStep::Kind doing_ = FileStep::Kind::Stopped;
};

// The leftover autosaves of earlier runs to offer at the start, the newest
// first, each with the plan's file it stands for: none while the window
// holds work of its own, which a recovered plan would replace.
std::vector<std::pair<std::string, std::string>> LeftoversToOffer(const PlanDocument& document,
                                                                  const SurveyPlan& plan);

}  // namespace valdris
