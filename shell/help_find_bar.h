// SPDX-License-Identifier: Apache-2.0
#pragma once
// The help viewer's find bar, at the foot of the viewer. Ctrl+F opens it with
// the focus in its field; what is typed is looked for at once from where the
// last match began. Return, F3 or Next finds the next match, Shift+Return,
// Shift+F3 or Previous the one before; both go round the end of the text and
// say so, and a text that the help does not hold is said not to be found.
// Esc in the bar closes it and gives the text the focus back.

#include <QWidget>

class QLabel;
class QLineEdit;
class QTextEdit;

namespace valdris {

class HelpFindBar : public QWidget {
    Q_OBJECT
public:
    HelpFindBar(QTextEdit* text, QWidget* parent = nullptr);

    void Open();
    void FindNext() { Find(/*backward=*/false, /*again=*/true); }
    void FindPrevious() { Find(/*backward=*/true, /*again=*/true); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // again: from the current match on; else from where it begins, so that a
    // longer text typed still finds the match being extended.
    void Find(bool backward, bool again);
    void Close();

    QTextEdit* text_;
    QLineEdit* field_;
    QLabel* note_;
};

}  // namespace valdris
