// SPDX-License-Identifier: Apache-2.0
#include "frm_splash.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "context_ids.h"
#include "splash_pictures.h"
#include "twips.h"
#include "typefaces.h"
#include "window_placement.h"

namespace valdris {
namespace {

const QColor kLightGrey(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kDarkBlue(0, 0, 192);

const QString kProductName = QStringLiteral("VALDRIS Power");
const QString kProductDescription =
    QStringLiteral("Sample Size and Power Calulations for VALDRIS Final Status Survey Designs");
const QString kAuthorCredit = QStringLiteral("Written by the VALDRIS Power team");
const QString kVersionDate = QStringLiteral("December 2000");
const QString kWarning =
    QStringLiteral("Warning: Use at your own risk.\r\n If anything goes wrong its not our fault.");

const QSize kFaceSize = PxSize(9870, 8250);

// Inside Frame1 the right-hand labels keep the same margin as the left-hand ones.
constexpr int kFrameMarginTwips = 120;

// Room kept around the OK button when the face scrolls to it.
constexpr int kOKMarginPx = 8;

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                 const QColor& colour = Qt::black) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QLabel* NewPicture(QWidget* parent, const QString& name, SplashPicture picture, qreal device_pixel_ratio) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(LoadSplashPicture(picture, device_pixel_ratio));
    label->setScaledContents(true);
    return label;
}

// A label that sizes itself to its text, at its layout position; one whose
// text is longer than the layout allowed for moves left rather than being cut
// off at the frame's edge.
void PlaceSizedToText(QLabel* label, int x_twips, int y_twips) {
    label->adjustSize();
    const int right_limit = label->parentWidget()->width() - Px(kFrameMarginTwips);
    const int x = std::min(Px(x_twips), right_limit - label->width());
    label->move(std::max(0, x), Px(y_twips));
}

}  // namespace

QString VersionCaption() {
    return QStringLiteral("Version ") + QString::number(VALDRIS_VERSION_MAJOR) + '.' +
           QString::number(VALDRIS_VERSION_MINOR) + '.' + QString::number(VALDRIS_VERSION_PATCH);
}

frmSplash::frmSplash(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    // Its own font is one its labels use anyway: the scroll area asks its
    // font for its size hint, and another face would be loaded just for that.
    setFont(Typeface(Face::Arial, 8.25));
    SetHelpContextID(this, kHelpContextSplash);
    BuildLayout();
    Form_Load();
}

void frmSplash::BuildLayout() {
    // The window's face, which scrolls on a screen too small for it.
    auto* face = new QWidget;
    face->setObjectName(QStringLiteral("splashFace"));
    face->setFixedSize(kFaceSize);
    face->setAutoFillBackground(true);
    QPalette grey = face->palette();
    grey.setColor(QPalette::Window, kLightGrey);
    face->setPalette(grey);
    face->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    body_ = ScrollingBody(face);
    body_->installEventFilter(this);
    layout->addWidget(body_);
    resize(kFaceSize);

    Frame1 = new QWidget(face);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(PxRect(120, 120, 9585, 7935));
    Frame1->setAutoFillBackground(true);
    QPalette white = Frame1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Frame1->setPalette(white);

    // Created back to front: the logo lies under the labels drawn over it.
    // Both pictures come drawn at their labels' size (1x, and 2x for other
    // screens), so that nothing is decoded or rendered for them at start.
    const qreal ratio = devicePixelRatioF();
    ImgValdrisLogo = NewPicture(Frame1, QStringLiteral("ImgValdrisLogo"), SplashPicture::Logo, ratio);
    ImgValdrisLogo->setGeometry(PxRect(360, 960, 8775, 6210));
    Image1 = NewPicture(Frame1, QStringLiteral("Image1"), SplashPicture::Banner, ratio);
    Image1->setGeometry(PxRect(120, 6840, 3855, 1095));

    lblCompanyProduct = NewLabel(Frame1, QStringLiteral("lblCompanyProduct"), kProductName,
                                 Typeface(Face::Staccato222BT, 48, {true, true}), kRed);
    lblVersion = NewLabel(Frame1, QStringLiteral("lblVersion"), QStringLiteral("Version"),
                          Typeface(Face::LithographLight, 11.25, {true, false}));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignTop);
    LblCopyright = NewLabel(Frame1, QStringLiteral("LblCopyright"), QStringLiteral("Version Date"),
                            Typeface(Face::LithographLight, 11.25, {true, false}));
    LblCopyright->setAlignment(Qt::AlignRight | Qt::AlignTop);

    lblProductName = NewLabel(Frame1, QStringLiteral("lblProductName"), kProductDescription,
                              Typeface(Face::Arial, 12, {true, false}), kDarkBlue);
    lblProductName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblProductName->setWordWrap(true);
    lblProductName->setAutoFillBackground(true);
    lblProductName->setPalette([&] {
        QPalette p = lblProductName->palette();
        p.setColor(QPalette::Window, Qt::white);
        return p;
    }());
    // Word-wrapped: the width is the layout's, the height follows the text.
    lblProductName->setFixedWidth(Px(2415));
    lblProductName->setFixedHeight(lblProductName->heightForWidth(Px(2415)));
    lblProductName->move(PxPoint(3600, 3120));

    lblCompany = NewLabel(Frame1, QStringLiteral("lblCompany"), kAuthorCredit,
                          Typeface(Face::ComicSansMS, 11.25, {true, true}));
    PlaceSizedToText(lblCompany, 3840, 4680);

    lblWarning = NewLabel(Frame1, QStringLiteral("lblWarning"), QString(),
                          Typeface(Face::Arial, 8.25));
    lblWarning->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    CmdOK = new QPushButton(QStringLiteral("OK"), Frame1);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setFont(Typeface(Face::TimesNewRoman, 14.25, {true, false}));
    CmdOK->setGeometry(PxRect(6960, 7200, 2055, 495));
    CmdOK->setDefault(true);
    CmdOK->setAutoDefault(true);
    SetHelpContextID(CmdOK, kHelpContextSplash);
    connect(CmdOK, &QPushButton::clicked, this, &frmSplash::okClicked);

    setFocusProxy(CmdOK);
    CmdOK->setFocus();
}

void frmSplash::Form_Load() {
    LblCopyright->setText(kVersionDate);
    lblWarning->setText(kWarning);
    lblVersion->setText(VersionCaption());

    PlaceSizedToText(lblCompanyProduct, 120, 0);
    PlaceSizedToText(lblVersion, 8145, 120);
    PlaceSizedToText(LblCopyright, 7350, 480);
    PlaceSizedToText(lblWarning, 6720, 6720);
}

// No window manager frame is asked for: the face is the whole window.
void frmSplash::CentreOnScreen() { valdris::CentreOnScreen(this, kFaceSize, QMargins()); }

// The thin fixed border, drawn over the face's edge. On a screen too small
// for the face, the window, which has no title bar to move it by, scrolls to
// its OK button whenever its size changes.
bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == body_ && event->type() == QEvent::Resize) {
        // After the scroll area has set its scroll bars for the new size.
        QTimer::singleShot(0, this, [this] { body_->ensureWidgetVisible(CmdOK, kOKMarginPx, kOKMarginPx); });
        return false;
    }
    if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("splashFace")) {
        auto* face = static_cast<QWidget*>(watched);
        QPainter painter(face);
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(face->rect().adjusted(0, 0, -1, -1));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    // Only the OK button reacts to keys; Escape must not close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace valdris
