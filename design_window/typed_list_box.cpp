// SPDX-License-Identifier: Apache-2.0
#include "typed_list_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace valdris {
namespace {

class TypedListBoxAccessible : public QAccessibleWidget {
public:
    explicit TypedListBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        const auto* box = static_cast<const QComboBox*>(widget());
        switch (kind) {
        case QAccessible::Name: return box->accessibleName();
        case QAccessible::Value: return box->currentText();
        default: return QAccessibleWidget::text(kind);
        }
    }
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
