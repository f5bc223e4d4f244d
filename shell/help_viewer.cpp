#include "help_viewer.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBrowser>
#include <QUrl>

#include "context_ids.h"
#include "message_boxes.h"

namespace valdris {
namespace {

const QString kViewerTitle = QStringLiteral("VALDRIS Power Help");
constexpr QSize kViewerSize(640, 560);

// The file is a few kilobytes of HTML; anything far larger is not our file.
constexpr qint64 kLargestHelpFile = 4 * 1024 * 1024;

bool ReadHelpFile(const QString& path, QString& html) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestHelpFile) return false;
    html = QString::fromUtf8(file.readAll());
    return true;
}

}  // namespace

QString HelpTopicAnchor(int context_id) { return QStringLiteral("context-%1").arg(context_id); }

QString MissingHelpFileMessage(const QString& help_file) {
    return QStringLiteral("The help file could not be opened:\r\n%1\r\n"
                          "It should lie in the same folder as the program.")
        .arg(help_file);
}

HelpViewer::HelpViewer(MessageBoxes& messages, QObject* parent) : QObject(parent), messages_(messages) {}

HelpViewer::~HelpViewer() { delete window_; }

void HelpViewer::ShowTopic(const QString& help_file, int context_id) {
    QString html;
    if (!ReadHelpFile(help_file, html)) {
        messages_.Show(MissingHelpFileMessage(help_file), MessageIcon::Exclamation);
        return;
    }
    if (!window_) {
        window_ = new QTextBrowser;
        window_->setObjectName(QStringLiteral("HelpViewer"));
        window_->setWindowTitle(kViewerTitle);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        // Like a help viewer of its own, it does not keep the program running.
        window_->setAttribute(Qt::WA_QuitOnClose, false);
        window_->setOpenExternalLinks(false);
        window_->resize(kViewerSize);
    }
    // Read afresh each time: the file may have been replaced meanwhile.
    window_->setHtml(html);
    if (context_id != 0) window_->scrollToAnchor(HelpTopicAnchor(context_id));
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void HelpViewer::Close() {
    if (window_) window_->close();
}

int HelpTopicFor(const QWidget* focus, const QWidget* active_popup, const QWidget* active_window) {
    if (qobject_cast<const QMenu*>(active_popup)) {
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
    const QString help_file = help_file_();
    // No help file is set until the design window has loaded.
    if (help_file.isEmpty()) return QObject::eventFilter(watched, event);
    viewer_.ShowTopic(help_file, HelpTopicFor(QApplication::focusWidget(), QApplication::activePopupWidget(),
                                              QApplication::activeWindow()));
    return true;
}

}  // namespace valdris
