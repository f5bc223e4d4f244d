// SPDX-License-Identifier: Apache-2.0
#pragma once
// A spin control with an up and a down arrow and no value of its own: it only
// reports clicks on its arrows.

#include <QWidget>

class QToolButton;

namespace valdris {

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    // Up and Down pressed in the box beside the arrows click them, held
    // keys repeating as held arrows do; disabled arrows beep instead.
    void StepWithKeysOf(QWidget* box);
    // Both arrows on or off, with the tooltip that says what they do or why
    // they are off (a disabled arrow still shows its tooltip).
    void SetArrowsEnabled(bool enabled, const QString& tip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* up_;
    QToolButton* down_;
    QWidget* box_ = nullptr;
};

}  // namespace valdris
