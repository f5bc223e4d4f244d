// SPDX-License-Identifier: Apache-2.0
#pragma once
// A view's current cell is announced to screen readers as focused, whether
// or not the view has the focus. This keeps the current cell only while the
// view has the focus and puts it back, with the selection untouched, when
// the focus returns.

#include <QObject>
#include <QPersistentModelIndex>

class QAbstractItemView;

namespace valdris {

class CurrentCellKeeper : public QObject {
public:
    // Watches the view; owned by it.
    explicit CurrentCellKeeper(QAbstractItemView* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* view_;
    QPersistentModelIndex kept_;
};

}  // namespace valdris
