// SPDX-License-Identifier: Apache-2.0
#include "help_viewer.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextFrame>
#include <QToolBar>
#include <QUrl>

#include "context_ids.h"
#include "help_file.h"
#include "message_boxes.h"
#include "program_icon.h"
#include "window_placement.h"

namespace valdris {
namespace {

const QString kViewerTitle = QStringLiteral("VALDRIS Power Help");
constexpr QSize kViewerSize(640, 560);

// A link within the help file: nothing but "#anchor".
bool IsOwnAnchor(const QUrl& link) {
    return link.scheme().isEmpty() && link.host().isEmpty() && link.path().isEmpty() && link.hasFragment() &&
           !link.fragment().isEmpty();
}

}  // namespace

QString HelpTopicAnchor(int context_id) { return QStringLiteral("context-%1").arg(context_id); }

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("HelpBrowser"));
    // Links are followed here, and only within the file.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
}

// Nothing is read from disk or the network on the document's behalf: the help
// file needs no pictures or style sheets, and a link must not reach other
// files. The answer is an empty resource, not none: for none, Qt opens a
// local file itself (a FIFO would hang the viewer, /dev/zero fill memory).
QVariant HelpBrowser::loadResource(int type, const QUrl&) {
    if (type == QTextDocument::ImageResource) {
        QImage nothing(1, 1, QImage::Format_ARGB32);
        nothing.fill(Qt::transparent);
        return nothing;
    }
    return QByteArray();
}

void HelpBrowser::Open(const QString& html, const QString& anchor) {
    const bool reading = isVisible();
    const int place = verticalScrollBar()->value();
    setHtml(html);
    PadEndToViewHeight();
    if (reading) Remember(place);
    ShowAnchorAtTop(anchor);
    emit placesChanged();
}

void HelpBrowser::GoTo(const QString& anchor) {
    Remember(verticalScrollBar()->value());
    ShowAnchorAtTop(anchor);
    emit placesChanged();
}

void HelpBrowser::Remember(int place) {
    back_.push_back(place);
    forward_.clear();
}

void HelpBrowser::GoBack() { Step(back_, forward_); }

void HelpBrowser::GoForward() { Step(forward_, back_); }

// Back and Forward: the place left goes on the other list.
void HelpBrowser::Step(std::vector<int>& from, std::vector<int>& to) {
    if (from.empty()) return;
    to.push_back(verticalScrollBar()->value());
    verticalScrollBar()->setValue(from.back());
    from.pop_back();
    emit placesChanged();
}

void HelpBrowser::FollowLink(const QUrl& link) {
    if (IsOwnAnchor(link)) GoTo(link.fragment());
}

// A topic is placed once the pane has its size: before that the document is
// laid out for another width and the heading would land elsewhere.
void HelpBrowser::ShowAnchorAtTop(const QString& anchor) {
    if (!isVisible()) {
        pending_anchor_ = anchor;
        anchor_pending_ = true;
        return;
    }
    anchor_pending_ = false;
    if (anchor.isEmpty()) {
        verticalScrollBar()->setValue(0);
    } else {
        scrollToAnchor(anchor);
    }
}

void HelpBrowser::showEvent(QShowEvent* event) {
    QTextBrowser::showEvent(event);
    PadEndToViewHeight();
    if (anchor_pending_) ShowAnchorAtTop(pending_anchor_);
}

void HelpBrowser::resizeEvent(QResizeEvent* event) {
    QTextBrowser::resizeEvent(event);
    PadEndToViewHeight();
}

// Room below the last topic, so that it too can stand at the top of the view.
void HelpBrowser::PadEndToViewHeight() {
    QTextFrame* root = document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    const qreal padding = viewport()->height();
    if (format.bottomMargin() == padding) return;
    format.setBottomMargin(padding);
    root->setFrameFormat(format);
}

HelpViewer::HelpViewer(MessageBoxes& messages, QObject* parent) : QObject(parent), messages_(messages) {}

HelpViewer::~HelpViewer() { delete window_; }

void HelpViewer::CreateWindow() {
    window_ = new QMainWindow;
    window_->setObjectName(QStringLiteral("HelpViewer"));
    window_->setWindowTitle(kViewerTitle);
    window_->setWindowIcon(ProgramIcon());
    window_->setAttribute(Qt::WA_DeleteOnClose);
    // Like a help viewer of its own, it does not keep the program running.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    // Centred within the screen's free area; smaller on a small screen.
    CentreOnScreenOnceFramed(window_, [] { return kViewerSize; });

    browser_ = new HelpBrowser(window_);
    window_->setCentralWidget(browser_);

    QToolBar* bar = window_->addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("HelpNavigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle* style = window_->style();
    QAction* back = bar->addAction(style->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Back"));
    back->setShortcut(QKeySequence::Back);
    back->setObjectName(QStringLiteral("HelpBack"));
    QAction* forward = bar->addAction(style->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setObjectName(QStringLiteral("HelpForward"));
    QAction* contents = bar->addAction(style->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Contents"));
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    contents->setObjectName(QStringLiteral("HelpContents"));

    HelpBrowser* browser = browser_;
    connect(back, &QAction::triggered, browser, &HelpBrowser::GoBack);
    connect(forward, &QAction::triggered, browser, &HelpBrowser::GoForward);
    connect(contents, &QAction::triggered, browser, &HelpBrowser::GoToContents);
    const auto enable = [browser, back, forward] {
        back->setEnabled(browser->CanGoBack());
        forward->setEnabled(browser->CanGoForward());
    };
    connect(browser, &HelpBrowser::placesChanged, back, enable);
    enable();
}

void HelpViewer::ShowTopic(const QString& help_file, int context_id) {
    // Read afresh each time: the file may have been replaced meanwhile.
    const HelpFileContents file = ReadHelpFile(help_file);
    if (file.status != HelpFileStatus::Read) {
        messages_.Show(HelpFileProblemMessage(help_file, file.status), MessageIcon::Exclamation);
        return;
    }
    if (!window_) CreateWindow();
    browser_->Open(file.html, context_id != 0 ? HelpTopicAnchor(context_id) : QString());
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void HelpViewer::Close() {
    if (window_) window_->close();
}

int HelpTopicFor(const QWidget* focus, const QWidget* active_popup, const QWidget* active_window) {
    if (const auto* menu = qobject_cast<const QMenu*>(active_popup)) {
        // The highlighted item's own topic; an item without one is the menu's.
        if (menu->activeAction()) {
            if (const int id = HelpContextID(menu->activeAction())) return id;
        }
        if (const int id = HelpContextID(active_popup)) return id;
    }
    if (const int id = HelpContextID(focus)) return id;
    return HelpContextID(active_window);
}

HelpKey::HelpKey(HelpViewer& viewer, HelpFileSource help_file, QObject* parent)
    : QObject(parent), viewer_(viewer), help_file_(std::move(help_file)) {}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) {
        return QObject::eventFilter(watched, event);
    }
    // F1 while reading help keeps the place being read.
    if (viewer_.Window() && QApplication::activeWindow() == viewer_.Window()) return true;
    const QString help_file = help_file_();
    // No help file is set until the design window has loaded.
    if (help_file.isEmpty()) return QObject::eventFilter(watched, event);
    viewer_.ShowTopic(help_file, HelpTopicFor(QApplication::focusWidget(), QApplication::activePopupWidget(),
                                              QApplication::activeWindow()));
    return true;
}

}  // namespace valdris
