// SPDX-License-Identifier: Apache-2.0
#include "help_find_bar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>

namespace valdris {
namespace {

enum class Found { There, AfterWrapping, Nowhere };

// Looks from the text's cursor on (or back), then once more from the other
// end; a match is selected.
Found FindWrapping(QTextEdit* text, const QString& what, bool backward) {
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (text->find(what, flags)) return Found::There;
    QTextCursor from_end(text->document());
    from_end.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    text->setTextCursor(from_end);
    if (text->find(what, flags)) return Found::AfterWrapping;
    return Found::Nowhere;
}

QToolButton* MakeButton(QWidget* parent, const QIcon& icon, const QString& text, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setText(text);
    button->setToolTip(QString(text).remove(QLatin1Char('&')));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

HelpFindBar::HelpFindBar(QTextEdit* text, QWidget* parent) : QWidget(parent), text_(text) {
    setObjectName(QStringLiteral("HelpFindBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(tr("Fi&nd:"), this);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("HelpFindText"));
    field_->setClearButtonEnabled(true);
    label->setBuddy(field_);
    QStyle* look = style();
    QToolButton* previous = MakeButton(this, look->standardIcon(QStyle::SP_ArrowUp), tr("&Previous"), "HelpFindPrevious");
    QToolButton* next = MakeButton(this, look->standardIcon(QStyle::SP_ArrowDown), tr("N&ext"), "HelpFindNext");
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("HelpFindNote"));
    QToolButton* close = MakeButton(this, look->standardIcon(QStyle::SP_TitleBarCloseButton), tr("Close"), "HelpFindClose");
    close->setToolButtonStyle(Qt::ToolButtonIconOnly);
    row->addWidget(label);
    row->addWidget(field_, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(note_, 1);
    row->addWidget(close);

    field_->installEventFilter(this);
    connect(field_, &QLineEdit::textEdited, this, [this] { Find(/*backward=*/false, /*again=*/false); });
    connect(previous, &QToolButton::clicked, this, &HelpFindBar::FindPrevious);
    connect(next, &QToolButton::clicked, this, &HelpFindBar::FindNext);
    connect(close, &QToolButton::clicked, this, &HelpFindBar::Close);
    hide();
}

void HelpFindBar::Open() {
    show();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void HelpFindBar::Find(bool backward, bool again) {
    const QString what = field_->text();
    if (what.isEmpty()) {
        note_->clear();
        return;
    }
    if (!isVisible()) show();  // F3 with the bar closed finds the last text again
    const QTextCursor before = text_->textCursor();
    if (!again) {
        QTextCursor start = text_->textCursor();
        start.setPosition(start.selectionStart());
        text_->setTextCursor(start);
    }
    switch (FindWrapping(text_, what, backward)) {
    case Found::There: note_->clear(); break;
    case Found::AfterWrapping:
        note_->setText(backward ? tr("Continued from the end.") : tr("Continued from the start."));
        break;
    case Found::Nowhere:
        text_->setTextCursor(before);  // the last match stays in view
        note_->setText(tr("\"%1\" was not found.").arg(what));
        QApplication::beep();
        break;
    }
}

void HelpFindBar::Close() {
    hide();
    text_->setFocus(Qt::OtherFocusReason);
}

// Esc belongs to the bar while its field has the focus (the viewer would
// close on it otherwise); Return with Shift looks back.
bool HelpFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool escape = key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (event->type() == QEvent::ShortcutOverride) {
            if (escape) event->accept();
            return false;
        }
        if (escape) {
            Close();
            return true;
        }
        if (enter) {
            Find(/*backward=*/key->modifiers() & Qt::ShiftModifier, /*again=*/true);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace valdris
