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

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace valdris
