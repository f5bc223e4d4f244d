// SPDX-License-Identifier: Apache-2.0
#pragma once
// Every message the program shows goes through this interface, so that tests
// can record messages without running a modal loop.

#include <QString>

#include "input_rules.h"

class QWidget;

namespace valdris {

// The application's title, used as the caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("VALDRIS Power");

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal message with an OK button and returns once it is closed.
    virtual void Show(const QString& text, MessageIcon icon) = 0;
    // Asks a question with Yes and No, No being the default; true for Yes.
    virtual bool AskYesNo(const QString& question) = 0;
};

// The real thing: a QMessageBox with the application's title.
class QtMessageBoxes : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void Show(const QString& text, MessageIcon icon) override;
    bool AskYesNo(const QString& question) override;

private:
    QWidget* parent_;
};

}  // namespace valdris
