// SPDX-License-Identifier: Apache-2.0
#include "typed_list_box.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace valdris {
namespace {

// Qt's own combo box interface names the box by its text on Linux; this one
// keeps the accessible name, and publishes the same children Qt's does: the
// list (with its items, also while it is closed) and the edit field.
class TypedListBoxAccessible : public QAccessibleWidget {
public:
    explicit TypedListBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name: return Box()->accessibleName();
        case QAccessible::Value: return Box()->currentText();
        default: return QAccessibleWidget::text(kind);
        }
    }

    int childCount() const override { return Box()->lineEdit() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == kListIndex && Box()->view()) return QAccessible::queryAccessibleInterface(Box()->view());
        if (index == kEditIndex && Box()->lineEdit()) return QAccessible::queryAccessibleInterface(Box()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (child->object() == Box()->view()) return kListIndex;
        if (Box()->lineEdit() && child->object() == Box()->lineEdit()) return kEditIndex;
        return -1;
    }

    // The open list has the focus; else the edit field, which hands its
    // focus to the box.
    QAccessibleInterface* focusChild() const override {
        if (Box()->view() && Box()->view()->isVisible()) return child(kListIndex);
        return child(kEditIndex);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = Box()->view() && Box()->view()->isVisible();
        state.collapsed = !state.expanded;
        state.editable = Box()->isEditable();
        return state;
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }

    void doAction(const QString& action) override {
        if (action != showMenuAction()) {
            QAccessibleWidget::doAction(action);
        } else if (Box()->view() && Box()->view()->isVisible()) {
            Box()->hidePopup();
        } else {
            Box()->showPopup();
        }
    }

private:
    static constexpr int kListIndex = 0;
    static constexpr int kEditIndex = 1;
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
};

// Asked with the most derived class name first, before Qt's own combo box.
QAccessibleInterface* TypedListBoxFactory(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String(TypedListBox::staticMetaObject.className())) return nullptr;
    return new TypedListBoxAccessible(static_cast<TypedListBox*>(object));
}

}  // namespace

TypedListBox::TypedListBox(const QString& accessible_name, QWidget* parent) : QComboBox(parent) {
    static const bool factory_installed = [] {
        QAccessible::installFactory(TypedListBoxFactory);
        return true;
    }();
    (void)factory_installed;
    setEditable(true);
    setAccessibleName(accessible_name);
    // A click, Tab or the access key enter the box; the wheel does not.
    setFocusPolicy(Qt::StrongFocus);
}

void TypedListBox::keyPressEvent(QKeyEvent* event) {
    // The open list takes its own keys; on the closed box Qt would take a
    // Return on a text matching an item as choosing it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TypedListBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();  // on to the parent
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace valdris
