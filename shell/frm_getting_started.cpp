// SPDX-License-Identifier: Apache-2.0
#include "frm_getting_started.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "close_only_frame.h"
#include "context_ids.h"
#include "twips.h"
#include "typefaces.h"
#include "window_placement.h"

namespace valdris {
namespace {

// The paragraph as written, two blanks after "Power" included.
const QString kGettingStarted = QStringLiteral(
    "VALDRIS Power  calculates the required sample size, the critical value and the power "
    "curve for VALDRIS final status survey designs. The program begins with default values, "
    "which can be changed in any order.");

}  // namespace

frmGettingStarted::frmGettingStarted(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmGettingStarted"));
    setWindowTitle(QStringLiteral("Getting Started"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(false);
    SetHelpContextID(this, kHelpContextGettingStarted);
    BuildLayout();
    // The geometry of a top-level widget is its client area.
    setGeometry(QRect(ClientPosition(), size()));
    KeepOnScreen(this, FrameMargins(this));
    AskForCloseButtonOnly(this);
}

QPoint frmGettingStarted::ClientPosition() {
    QPoint origin;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) origin = screen->geometry().topLeft();
    return origin + PxPoint(2760, 3750);
}

void frmGettingStarted::BuildLayout() {
    setFixedSize(PxSize(6030, 2655));

    // Tab order follows creation: the OK button comes first.
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setFont(Typeface(Face::MSSansSerif, 8.25));
    OKButton->setGeometry(PxRect(2280, 2040, 1215, 375));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::close);

    LblGettingStarted = new QLabel(kGettingStarted, this);
    LblGettingStarted->setObjectName(QStringLiteral("LblGettingStarted"));
    LblGettingStarted->setTextFormat(Qt::PlainText);
    LblGettingStarted->setFont(Typeface(Face::Arial, 12));
    LblGettingStarted->setWordWrap(true);
    LblGettingStarted->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblGettingStarted->setGeometry(PxRect(375, 285, 5190, 1455));

    setFocusProxy(OKButton);
    OKButton->setFocus();
}

void frmGettingStarted::keyPressEvent(QKeyEvent* event) {
    // No Cancel button: Escape leaves the window open, only OK and the close
    // button close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace valdris
