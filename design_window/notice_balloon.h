// SPDX-License-Identifier: Apache-2.0
#pragma once
// A short notice at a control, like a tooltip but shown without the pointer
// and kept while the user types on: a tooltip closes at the next key, which
// is the very moment the notice is needed. It goes by itself after a few
// seconds, or when its control loses the focus.

#include <QLabel>
#include <QPointer>

class QTimer;

namespace valdris {

class NoticeBalloon : public QLabel {
    Q_OBJECT
public:
    explicit NoticeBalloon(QWidget* window);

    // Shows the text just below the control, on its screen.
    void ShowAt(QWidget* control, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Place();

    QTimer* hide_timer_;
    QPointer<QWidget> control_;
};

}  // namespace valdris
