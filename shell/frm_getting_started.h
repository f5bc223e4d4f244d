// SPDX-License-Identifier: Apache-2.0
#pragma once
// frmGettingStarted: one paragraph on what the program does; OK closes it.

#include <QDialog>

class QLabel;
class QPushButton;

namespace valdris {

class frmGettingStarted : public QDialog {
    Q_OBJECT
public:
    explicit frmGettingStarted(QWidget* parent = nullptr);

    QLabel* LblGettingStarted = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    // Where the client area goes: a fixed place from the screen's top-left.
    static QPoint ClientPosition();
};

}  // namespace valdris
