// SPDX-License-Identifier: Apache-2.0
#include "window_driver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "up_down_control.h"

namespace valdris::testing {

bool ShowAndActivate(QWidget* window) {
    window->show();
    window->activateWindow();
    const bool active = QTest::qWaitForWindowActive(window);
    Settle();
    return active;
}

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

QWidget* FocusedWidget() { return QApplication::focusWidget(); }

bool HasFocusWithin(const QWidget* widget) {
    const QWidget* focused = FocusedWidget();
    return focused != nullptr && (focused == widget || widget->isAncestorOf(focused));
}

void PressKey(int key, Qt::KeyboardModifiers modifiers) {
    if (QWidget* target = FocusedWidget()) {
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    Settle();
}

void TabAway() { PressKey(Qt::Key_Tab); }
void BacktabAway() { PressKey(Qt::Key_Backtab, Qt::ShiftModifier); }

void TypeKeys(const QString& text) {
    for (const QChar ch : text) {
        QWidget* target = FocusedWidget();
        if (target == nullptr) break;
        // The focus may move between keys (a handler can take it back), so
        // each key goes to whoever holds it at that moment.
        if (ch.unicode() < 0x7f && ch.isPrint()) {
            QTest::keyClick(target, static_cast<char>(ch.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        QCoreApplication::processEvents();
    }
    Settle();
}

// The part of a box that takes clicks and keys: a combo box's editor.
static QWidget* EditPart(QWidget* box) {
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
        return combo->lineEdit();
    }
    return box;
}

static void ClickIntoAndSelectAll(QWidget* box) {
    ClickOn(EditPart(box));
    PressKey(Qt::Key_A, Qt::ControlModifier);
}

void TypeInto(QWidget* box, const QString& text) {
    ClickIntoAndSelectAll(box);
    if (text.isEmpty()) {
        PressKey(Qt::Key_Delete);
    } else {
        TypeKeys(text);
    }
}

void PasteInto(QWidget* box, const QString& text) {
    ClickIntoAndSelectAll(box);
    QGuiApplication::clipboard()->setText(text);
    PressKey(Qt::Key_V, Qt::ControlModifier);
}

void ClickOn(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    Settle();
}

void ChooseListItem(QComboBox* combo, int index) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.subControls = QStyle::SC_All;
    const QRect arrow =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo);
    QTest::mouseClick(combo, Qt::LeftButton, Qt::NoModifier, arrow.center());
    Settle();

    QAbstractItemView* list = combo->view();
    if (!list->isVisible()) {
        // The click did not open the list: open it from the keyboard.
        combo->setFocus(Qt::MouseFocusReason);
        Settle();
        QTest::keyClick(combo, Qt::Key_F4);
        Settle();
    }
    if (!list->isVisible()) {
        qWarning("ChooseListItem: the list of %s did not open", qPrintable(combo->objectName()));
        return;
    }
    // Moving over an item makes it current; Return chooses it.
    list->setCurrentIndex(combo->model()->index(index, combo->modelColumn()));
    QTest::keyClick(list, Qt::Key_Return);
    Settle();
}

static QStyleOptionSlider ScrollBarOption(const QScrollBar* bar) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    return option;
}

static QRect ScrollBarPart(const QScrollBar* bar, QStyle::SubControl part) {
    const QStyleOptionSlider option = ScrollBarOption(bar);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

static void ClickScrollPart(QScrollBar* bar, QStyle::SubControl part, QAbstractSlider::SliderAction fallback) {
    const QRect rect = ScrollBarPart(bar, part);
    if (rect.isEmpty()) {
        // The style draws no such part (or the thumb covers it): the
        // equivalent action, as the part would trigger it.
        bar->triggerAction(fallback);
    } else {
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, rect.center());
    }
    Settle();
}

void ClickScrollArrow(QScrollBar* bar, bool towards_maximum) {
    if (towards_maximum) {
        ClickScrollPart(bar, QStyle::SC_ScrollBarAddLine, QAbstractSlider::SliderSingleStepAdd);
    } else {
        ClickScrollPart(bar, QStyle::SC_ScrollBarSubLine, QAbstractSlider::SliderSingleStepSub);
    }
}

void ClickScrollTrough(QScrollBar* bar, bool towards_maximum) {
    if (towards_maximum) {
        ClickScrollPart(bar, QStyle::SC_ScrollBarAddPage, QAbstractSlider::SliderPageStepAdd);
    } else {
        ClickScrollPart(bar, QStyle::SC_ScrollBarSubPage, QAbstractSlider::SliderPageStepSub);
    }
}

QRect ScrollBarThumb(const QScrollBar* bar) { return ScrollBarPart(bar, QStyle::SC_ScrollBarSlider); }

void DragScrollTo(QScrollBar* bar, int value) {
    const QRect thumb = ScrollBarPart(bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = ScrollBarPart(bar, QStyle::SC_ScrollBarGroove);
    const QPoint grab = thumb.center();
    int target_x;
    if (value >= bar->maximum()) {
        target_x = groove.right() + 60;
    } else if (value <= bar->minimum()) {
        target_x = groove.left() - 60;
    } else {
        const int span = groove.width() - thumb.width();
        target_x = groove.x() + QStyle::sliderPositionFromValue(bar->minimum(), bar->maximum(), value, span) +
                   (grab.x() - thumb.x());
    }
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, grab);
    // A hand passes through every few pixels on the way.
    const int moves = std::max(1, std::abs(target_x - grab.x()) / 3);
    for (int i = 1; i <= moves; ++i) {
        const int x = grab.x() + (target_x - grab.x()) * i / moves;
        QTest::mouseMove(bar, QPoint(x, grab.y()));
    }
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(target_x, grab.y()));
    Settle();
}

void TurnWheelOver(QWidget* widget, bool away) {
    const QPoint centre = widget->rect().center();
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, away ? 120 : -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // Delivered as the window system would, so that it reaches the widget
    // under the pointer whether or not it has the focus.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(widget, &wheel);
    Settle();
}

void ClickSpinUp(valdris::UpDownControl* spin) { ClickOn(spin->upButton()); }
void ClickSpinDown(valdris::UpDownControl* spin) { ClickOn(spin->downButton()); }

static QStringList CaptionLines(const QLabel* label) {
    QString text = label->text();
    text.remove(QLatin1Char('\r'));
    return text.split(QLatin1Char('\n'));
}

QString FirstLine(const QLabel* label) { return CaptionLines(label).value(0); }
QString SecondLine(const QLabel* label) { return CaptionLines(label).value(1); }

void ModalRecordingMessages::Show(const QString& text, MessageIcon icon) {
    RecordingMessages::Show(text, icon);
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    QTimer closer;
    int ticks = 0;
    QObject::connect(&closer, &QTimer::timeout, &box, [&] {
        // Close only once the box really holds the focus, as a user would.
        if (QApplication::activeWindow() == &box || ++ticks > 100) box.accept();
    });
    QWidget* previous = QApplication::activeWindow();
    closer.start(5);
    box.exec();
    // The window manager hands the activation back to the window the box
    // came from.
    if (previous != nullptr) {
        previous->activateWindow();
        (void)QTest::qWaitForWindowActive(previous, 1000);
    }
}

}  // namespace valdris::testing
