// SPDX-License-Identifier: Apache-2.0
#include "tab_bar_accessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QTabBar>
#include <QWindow>

namespace valdris {
namespace {

// A tab's text as read aloud: its access key's marker gone ("&&" is an
// ampersand).
QString Spoken(QString text) {
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) text.remove(i, 1);
    }
    return text;
}

QString TabName(const QTabBar* bar, int index) {
    const QString name = bar->accessibleTabName(index);
    return name.isEmpty() ? Spoken(bar->tabText(index)) : name;
}

// One tab: it has no widget of its own, so it is known by its bar and place.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override {
        if (!isValid()) return {};
        switch (kind) {
            case QAccessible::Name: return TabName(bar_, index_);
            case QAccessible::Description: return bar_->tabToolTip(index_);
            case QAccessible::Help: return bar_->tabWhatsThis(index_);
            case QAccessible::Accelerator:
                return QKeySequence::mnemonic(bar_->tabText(index_)).toString(QKeySequence::NativeText);
            default: return {};
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool current = bar_->currentIndex() == index_;
        state.selectable = true;
        state.selected = current;
        state.focusable = bar_->focusPolicy() != Qt::NoFocus;
        state.focused = current && bar_->hasFocus();
        state.disabled = !bar_->isEnabled() || !bar_->isTabEnabled(index_);
        state.invisible = !bar_->isVisible() || !bar_->isTabVisible(index_);
        return state;
    }

    QRect rect() const override {
        if (!isValid()) return {};
        const QRect tab = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(tab.topLeft()), tab.size());
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (isValid() && action == pressAction()) bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

// The bar: a list of its tabs, then its scroll arrows (shown when the tabs
// do not fit), read by the page shown (as Qt's own is).
class TabBarAccessible : public QAccessibleWidget {
public:
    explicit TabBarAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabBarAccessible() override {
        for (const QAccessible::Id id : std::as_const(tabs_)) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return Bar()->count() + static_cast<int>(Arrows().size()); }

    // A tab's interface is made when first asked for and kept, so that the
    // tab keeps one identity.
    QAccessibleInterface* child(int index) const override {
        const int tabs = Bar()->count();
        if (index < 0 || index >= childCount()) return nullptr;
        if (index >= tabs) return QAccessible::queryAccessibleInterface(Arrows().at(index - tabs));
        if (const auto kept = tabs_.constFind(index); kept != tabs_.constEnd()) {
            return QAccessible::accessibleInterface(*kept);
        }
        auto* tab = new TabAccessible(Bar(), index);
        tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (child->object()) {
            const int arrow = static_cast<int>(Arrows().indexOf(qobject_cast<QAbstractButton*>(child->object())));
            return arrow < 0 ? -1 : Bar()->count() + arrow;
        }
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (auto kept = tabs_.constBegin(); kept != tabs_.constEnd(); ++kept) {
            if (kept.value() == id) return kept.key();
        }
        return -1;
    }

    QAccessibleInterface* focusChild() const override {
        return Bar()->hasFocus() && Bar()->currentIndex() >= 0 ? child(Bar()->currentIndex()) : nullptr;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && Bar()->currentIndex() >= 0) return TabName(Bar(), Bar()->currentIndex());
        return QAccessibleWidget::text(kind);
    }

private:
    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }
    QList<QAbstractButton*> Arrows() const {
        return Bar()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
    }
    mutable QHash<int, QAccessible::Id> tabs_;
};

// Asked before Qt's own interfaces, which were installed first.
QAccessibleInterface* TabBarFactory(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String("QTabBar") || !object || !object->isWidgetType()) return nullptr;
    return new TabBarAccessible(static_cast<QTabBar*>(object));
}

}  // namespace

void InstallTabBarAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(TabBarFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace valdris
