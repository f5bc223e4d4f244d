// SPDX-License-Identifier: Apache-2.0
#include "file_errand.h"

namespace valdris {
namespace {

// What an answer leads to.
enum class Then { Save, Overwrite, AskName, Recover, Remove, Done, Stop };

// Every answer not listed stops the errand: Cancel, Escape, a box closed.
const struct {
    QuestionKind asked;
    Answer answer;
    Then then;
} kFollows[] = {
    {QuestionKind::UnsavedChanges, Answer::Save, Then::Save},
    {QuestionKind::UnsavedChanges, Answer::Discard, Then::Done},
    {QuestionKind::ChangedOnDisk, Answer::Overwrite, Then::Overwrite},
    {QuestionKind::ChangedOnDisk, Answer::SaveAs, Then::AskName},
    {QuestionKind::RecoverAutosave, Answer::Yes, Then::Recover},
    {QuestionKind::RecoverAutosave, Answer::No, Then::Remove},
};

Then Following(QuestionKind asked, Answer answer) {
    for (const auto& row : kFollows) {
        if (row.asked == asked && row.answer == answer) return row.then;
    }
    return Then::Stop;
}

FileStep Only(FileStep::Kind kind) {
    FileStep step;
    step.kind = kind;
    return step;
}

const std::string kUntitledSuggestion = "plan.vplan";

// Each question's words around the name it carries, its buttons, and what
// Enter and Escape answer. The buttons carry access keys of their own (the
// system's have none); saving elsewhere is what a changed file offers first,
// as it keeps both programs' work.
const struct {
    QuestionKind kind;
    QuestionTone tone;
    const char* before;
    const char* after;
    std::vector<QuestionButton> buttons;
    Answer enter, escape;
} kQuestions[] = {
    {QuestionKind::UnsavedChanges, QuestionTone::Question, "The plan ", " has unsaved changes.\nSave them?",
     {{Answer::Save, "&Save", ButtonRole::Accept},
      {Answer::Discard, "&Don't Save", ButtonRole::Destructive},
      {Answer::Cancel, "Cancel", ButtonRole::Reject}},
     Answer::Save, Answer::Cancel},
    {QuestionKind::ChangedOnDisk, QuestionTone::Warning, "The plan ",
     " was changed by another program since it was opened here.\nSaving replaces those changes.",
     {{Answer::Overwrite, "&Overwrite", ButtonRole::Destructive},
      {Answer::SaveAs, "Save &As\u2026", ButtonRole::Accept},
      {Answer::Cancel, "", ButtonRole::Reject}},
     Answer::SaveAs, Answer::Cancel},
    {QuestionKind::RecoverAutosave, QuestionTone::Question,
     "A plan with changes that were never saved was kept in\n", "\nafter the program last ended. Open it?",
     {{Answer::Yes, "", ButtonRole::Accept}, {Answer::No, "", ButtonRole::Reject}}, Answer::Yes, Answer::No},
};

Question Asking(QuestionKind kind, const std::string& name) {
    for (const auto& row : kQuestions) {
        if (row.kind != kind) continue;
        return {kind, row.tone, row.before + name + row.after, row.buttons, row.enter, row.escape};
    }
    return {};
}

}  // namespace

FileErrand FileErrand::SetAside(const PlanDocument& document, const SurveyPlan& plan) {
    FileErrand errand(document, Goal::SetAside);
    errand.unsaved_ = document.HasUnsavedChanges(plan);
    return errand;
}

FileErrand FileErrand::Save(const PlanDocument& document) { return FileErrand(document, Goal::Save); }

FileErrand FileErrand::SaveAs(const PlanDocument& document) { return FileErrand(document, Goal::SaveAs); }

FileErrand FileErrand::Recover(const PlanDocument& document, std::string autosave, std::string plan_path) {
    FileErrand errand(document, Goal::Recover);
    errand.target_ = std::move(autosave);
    errand.plan_ = std::move(plan_path);
    return errand;
}

FileStep FileErrand::Start() {
    switch (goal_) {
        case Goal::SetAside:
            if (!unsaved_) return Only(FileStep::Kind::Done);
            return Ask(Asking(QuestionKind::UnsavedChanges, document_.DisplayName()));
        case Goal::Save: return Saving();
        case Goal::SaveAs: return AskName();
        case Goal::Recover: return Ask(Asking(QuestionKind::RecoverAutosave, target_));
    }
    return Only(FileStep::Kind::Stopped);
}

FileStep FileErrand::Answered(Answer answer) {
    switch (Following(asked_, answer)) {
        case Then::Save: return Saving();
        case Then::Overwrite: return Deed(FileStep::Kind::Write, target_);
        case Then::AskName: return AskName();
        case Then::Recover: return Deed(FileStep::Kind::Recover, target_);
        case Then::Remove: return Deed(FileStep::Kind::Remove, target_);
        case Then::Done: return Only(FileStep::Kind::Done);
        case Then::Stop: break;
    }
    return Only(FileStep::Kind::Stopped);
}

FileStep FileErrand::Named(const std::string& path) {
    if (path.empty()) return Only(FileStep::Kind::Stopped);
    return SaveTo(path);
}

// A recovered plan that cannot be read is no work to keep: removed, as a
// declined one is.
FileStep FileErrand::Did(bool done) {
    if (doing_ == FileStep::Kind::Recover && !done) return Deed(FileStep::Kind::Remove, target_);
    if (doing_ == FileStep::Kind::Remove || !done) return Only(FileStep::Kind::Stopped);
    return Only(FileStep::Kind::Done);
}

FileStep FileErrand::Ask(Question question) {
    asked_ = question.kind;
    FileStep step = Only(FileStep::Kind::Ask);
    step.question = std::move(question);
    return step;
}

FileStep FileErrand::Deed(FileStep::Kind kind, std::string path) {
    doing_ = kind;
    FileStep step = Only(kind);
    step.path = std::move(path);
    if (kind == FileStep::Kind::Recover) step.plan = plan_;
    return step;
}

FileStep FileErrand::Saving() {
    if (document_.Path().empty()) return AskName();
    return SaveTo(document_.Path());
}

FileStep FileErrand::AskName() {
    FileStep step = Only(FileStep::Kind::AskName);
    step.path = document_.Path().empty() ? kUntitledSuggestion : document_.Path();
    return step;
}

// Another program wrote the plan since it was read here: its work would go.
FileStep FileErrand::SaveTo(const std::string& path) {
    target_ = path;
    if (path == document_.Path() && document_.ChangedOnDisk()) {
        return Ask(Asking(QuestionKind::ChangedOnDisk, document_.DisplayName()));
    }
    return Deed(FileStep::Kind::Write, path);
}

std::vector<std::pair<std::string, std::string>> LeftoversToOffer(const PlanDocument& document,
                                                                  const SurveyPlan& plan) {
    std::vector<std::pair<std::string, std::string>> offered;
    if (document.HasUnsavedChanges(plan) || plan.size() != 0) return offered;
    for (std::string& leftover : LeftoverAutosaves()) {
        std::string of = PlanOfStateAutosave(leftover);
        offered.emplace_back(std::move(leftover), std::move(of));
    }
    return offered;
}

}  // namespace valdris
