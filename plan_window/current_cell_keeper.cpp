// SPDX-License-Identifier: Apache-2.0
#include "current_cell_keeper.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QTimer>

namespace valdris {

CurrentCellKeeper::CurrentCellKeeper(QAbstractItemView* view) : QObject(view), view_(view) {
    view->installEventFilter(this);
}

// On the way in the cell is put back before the view handles the event,
// which would otherwise choose (and select) its first cell. On the way out
// the focus may only have gone to a cell's editor, inside the view.
bool CurrentCellKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && view_->selectionModel()) {
        if (event->type() == QEvent::FocusIn && kept_.isValid() && !view_->currentIndex().isValid()) {
            view_->selectionModel()->setCurrentIndex(kept_, QItemSelectionModel::NoUpdate);
        } else if (event->type() == QEvent::FocusOut) {
            QTimer::singleShot(0, this, [this] {
                const QWidget* focus = QApplication::focusWidget();
                if (focus == view_ || view_->isAncestorOf(focus) || !view_->currentIndex().isValid()) return;
                kept_ = view_->currentIndex();
                view_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace valdris
