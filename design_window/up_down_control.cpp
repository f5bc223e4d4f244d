// SPDX-License-Identifier: Apache-2.0
#include "up_down_control.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSizePolicy>
#include <QToolButton>
#include <QVBoxLayout>

namespace valdris {
namespace {

// Auto-repeat timing of a native spin control: a pause, then steady steps.
constexpr int kRepeatDelayMs = 300;
constexpr int kRepeatIntervalMs = 50;

QToolButton* MakeArrowButton(QWidget* parent, Qt::ArrowType arrow, const QString& name,
                             const QString& accessible_name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelayMs);
    button->setAutoRepeatInterval(kRepeatIntervalMs);
    // The text box beside the arrows keeps the focus while they are clicked.
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(accessible_name);
    // The arrows share the control's height whatever their own size hints.
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return button;
}

}  // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent),
      up_(MakeArrowButton(this, Qt::UpArrow, QStringLiteral("up"), tr("Increase sigma"))),
      down_(MakeArrowButton(this, Qt::DownArrow, QStringLiteral("down"), tr("Decrease sigma"))) {
    setFocusPolicy(Qt::NoFocus);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(up_);
    stack->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, &UpDownControl::upClicked);
    connect(down_, &QToolButton::clicked, this, &UpDownControl::downClicked);
}

void UpDownControl::StepWithKeysOf(QWidget* box) {
    box_ = box;
    box->installEventFilter(this);
}

void UpDownControl::SetArrowsEnabled(bool enabled, const QString& tip) {
    for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(up_), static_cast<QWidget*>(down_)}) {
        widget->setToolTip(tip);
    }
    up_->setEnabled(enabled);
    down_->setEnabled(enabled);
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    QToolButton* arrow = key->key() == Qt::Key_Up ? up_ : key->key() == Qt::Key_Down ? down_ : nullptr;
    if (!arrow) return false;
    if (arrow->isEnabled()) {
        arrow->click();
    } else {
        QApplication::beep();
    }
    return true;
}

}  // namespace valdris
