// SPDX-License-Identifier: Apache-2.0
#pragma once
// frmSplash: the first window at start-up and, later, the About window. Its OK
// button is the only way on; what OK does is up to the program's windows.

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

namespace valdris {

// "Version " and the three-part version number of this build.
QString VersionCaption();

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QWidget* Frame1 = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* LblCopyright = nullptr;
    QLabel* ImgValdrisLogo = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblWarning = nullptr;
    QPushButton* CmdOK = nullptr;

    // Places the window in the middle of the screen it is shown on, within
    // the screen's free area.
    void CentreOnScreen();

signals:
    void okClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    void Form_Load();

    QScrollArea* body_ = nullptr;
};

}  // namespace valdris
