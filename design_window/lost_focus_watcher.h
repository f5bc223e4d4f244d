// SPDX-License-Identifier: Apache-2.0
#pragma once
// Runs a control's lost-focus handler when the control that had the keyboard
// focus gives it to another control of its window.
//
// Only a control that received FocusIn can lose the focus: when a handler
// gives the focus back to its own control while Qt is moving it elsewhere,
// the control that was about to get it never receives FocusIn, and its own
// handler must not run. A focus-out caused by the window deactivating (a
// message box, another window), by a popup opening (a combo box list, a
// context menu) or by the menu bar, and a focus that goes to no widget or to
// one of another window, are no change of control: the control keeps the
// focus as far as the handlers are concerned.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace valdris {

class LostFocusWatcher : public QObject {
    Q_OBJECT
public:
    explicit LostFocusWatcher(QObject* parent = nullptr);
    ~LostFocusWatcher() override;

    // Watches a control that takes the focus itself (an editable combo box,
    // not its line edit, which only forwards the focus to it).
    void Watch(QWidget* control, std::function<void()> on_lost_focus);

    // Stops watching every control; no handler runs afterwards.
    void Detach();

    // The watched control that has the focus, or nullptr.

    // True while the control is processing the loss of the focus, whatever
    // its reason.
    bool IsLosingFocus(const QObject* control) const { return losing_ && losing_ == control; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watched {
        QPointer<QWidget> control;
        std::function<void()> on_lost_focus;
    };
    const Watched* Find(const QObject* object) const;

    std::vector<Watched> watched_;
    QPointer<QWidget> owner_;
    bool detached_ = false;
    const QEvent* forwarding_ = nullptr;  // the focus-out being delivered to its control
    const QObject* losing_ = nullptr;     // the control it is delivered to
};

}  // namespace valdris
