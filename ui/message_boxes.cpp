// SPDX-License-Identifier: Apache-2.0
#include "message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace valdris {

void QtMessageBoxes::Show(const QString& text, MessageIcon icon) {
    QMessageBox::Icon qt_icon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None: qt_icon = QMessageBox::NoIcon; break;
    case MessageIcon::Exclamation: qt_icon = QMessageBox::Warning; break;
    case MessageIcon::Information: qt_icon = QMessageBox::Information; break;
    }
    QWidget* parent = parent_ ? parent_ : QApplication::activeWindow();
    QMessageBox box(qt_icon, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBoxes::AskYesNo(const QString& question) {
    QWidget* parent = parent_ ? parent_ : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Question, kApplicationTitle, question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace valdris
