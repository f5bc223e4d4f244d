// SPDX-License-Identifier: Apache-2.0
#pragma once
// The program's own help viewer: the HTML help file beside the program, one
// anchor per help context number, shown in a window of its own with Back,
// Forward and Contents.

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <functional>
#include <vector>

class QAction;
class QKeyEvent;
class QWidget;

namespace valdris {

class MessageBoxes;

// The anchor of a context number's topic in the help file.
QString HelpTopicAnchor(int context_id);

// The text pane: it loads nothing from disk and follows only the help file's
// own anchors; its end is padded so that every topic can be scrolled to the
// top of the view.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // Shows a topic (the contents for an empty anchor) at the top of the
    // view, remembering the place left for Back.
    void GoTo(const QString& anchor);
    void GoBack();
    void GoForward();
    void GoToContents() { GoTo(QString()); }
    bool CanGoBack() const { return !back_.empty(); }
    bool CanGoForward() const { return !forward_.empty(); }

    // Shows a fresh copy of the help file at a topic; the place left, if the
    // viewer was open, is remembered for Back.
    void Open(const QString& html, const QString& anchor);

    QVariant loadResource(int type, const QUrl& name) override;

signals:
    void placesChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FollowLink(const QUrl& link);
    void Remember(int place);
    void Step(std::vector<int>& from, std::vector<int>& to);
    void ShowAnchorAtTop(const QString& anchor);
    void PadEndToViewHeight();

    std::vector<int> back_;
    std::vector<int> forward_;
    QString pending_anchor_;
    bool anchor_pending_ = false;
};

class HelpViewer : public QObject {
    Q_OBJECT
public:
    explicit HelpViewer(MessageBoxes& messages, QObject* parent = nullptr);
    ~HelpViewer() override;

    // Opens the help file at the topic of the context number (the contents
    // for 0), bringing the viewer to the front; a file that cannot be shown
    // is reported and nothing else happens.
    void ShowTopic(const QString& help_file, int context_id);
    // Closes the viewer window if one is open.
    void Close();

    QMainWindow* Window() const { return window_; }

private:
    void CreateWindow();

    MessageBoxes& messages_;
    QPointer<QMainWindow> window_;
    QPointer<HelpBrowser> browser_;
};

// The help context that F1 asks for: the highlighted menu item (or its menu)
// while a menu is open, else the focused control, else the active window.
int HelpTopicFor(const QWidget* focus, const QWidget* active_popup, const QWidget* active_window);

// F1 anywhere in the program: installed on the application.
class HelpKey : public QObject {
    Q_OBJECT
public:
    using HelpFileSource = std::function<QString()>;
    explicit HelpKey(HelpViewer& viewer, HelpFileSource help_file, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpViewer& viewer_;
    HelpFileSource help_file_;
};

}  // namespace valdris
