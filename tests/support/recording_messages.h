// SPDX-License-Identifier: Apache-2.0
#pragma once
// A MessageBoxes that records what would have been shown and returns at once,
// as if the user had pressed OK.

#include <QString>
#include <functional>
#include <vector>

#include "message_boxes.h"

namespace valdris::testing {

struct RecordedMessage {
    QString text;
    MessageIcon icon;
};

class RecordingMessages : public MessageBoxes {
public:
    void Show(const QString& text, MessageIcon icon) override {
        shown.push_back({text, icon});
        if (on_show) on_show(shown.back());
    }
    // Recorded like a message, with the exclamation icon; answered with
    // answer_yes.
    bool AskYesNo(const QString& question) override {
        Show(question, MessageIcon::Exclamation);
        return answer_yes;
    }
    void Clear() { shown.clear(); }

    bool answer_yes = false;

    std::vector<RecordedMessage> shown;
    // Runs while the "box" is up, e.g. to check what the window shows then.
    std::function<void(const RecordedMessage&)> on_show;
};

}  // namespace valdris::testing
