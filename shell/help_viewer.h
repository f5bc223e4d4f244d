#pragma once
// The program's own help viewer: the HTML help file beside the program, one
// anchor per help context number, shown in a window of its own.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <functional>

class QKeyEvent;
class QWidget;

namespace valdris {

class MessageBoxes;

// The anchor of a context number's topic in the help file.
QString HelpTopicAnchor(int context_id);

// The message shown when the help file cannot be read.
QString MissingHelpFileMessage(const QString& help_file);

class HelpViewer : public QObject {
    Q_OBJECT
public:
    explicit HelpViewer(MessageBoxes& messages, QObject* parent = nullptr);
    ~HelpViewer() override;

    // Opens the help file at the topic of the context number (the contents
    // for 0), bringing the viewer to the front; a file that cannot be read is
    // reported and nothing else happens.
    void ShowTopic(const QString& help_file, int context_id);
    // Closes the viewer window if one is open.
    void Close();

    QTextBrowser* Window() const { return window_; }

private:
    MessageBoxes& messages_;
    QPointer<QTextBrowser> window_;
    QString loaded_file_;
};

// The help context that F1 asks for: the highlighted menu while a menu is
// open, else the focused control, else the active window.
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
