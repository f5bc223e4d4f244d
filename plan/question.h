// SPDX-License-Identifier: Apache-2.0
#pragma once
// A question put to the user, as a plain value: what the box says, its
// buttons, and which of them Enter and Escape choose. The rules that raise a
// question decide what each answer leads to; a window only shows it and
// hands back the button chosen.

#include <string>
#include <vector>

namespace valdris {

enum class Answer { Save, Discard, Overwrite, SaveAs, Yes, No, Delete, Cancel };

enum class QuestionKind { UnsavedChanges, ChangedOnDisk, RecoverAutosave, DeleteUnits };

// A plain question, or one whose wrong answer loses work.
enum class QuestionTone { Question, Warning };

// Where a button stands and how the system treats it (an accepting, a
// destroying, a rejecting choice).
enum class ButtonRole { Accept, Destructive, Reject };

struct QuestionButton {
    Answer answer = Answer::Cancel;
    // With its access key; empty: the system's own button for the answer
    // (Yes, No, Cancel), worded as the system words it.
    std::string text;
    ButtonRole role = ButtonRole::Accept;
};

struct Question {
    QuestionKind kind = QuestionKind::UnsavedChanges;
    QuestionTone tone = QuestionTone::Question;
    std::string text;
    std::vector<QuestionButton> buttons;
    Answer default_answer = Answer::Cancel;  // Enter
    Answer escape_answer = Answer::Cancel;   // Escape, or the box closed
};

}  // namespace valdris
