#pragma once
// How a key finds its command in the main window: the popup menus of the
// focused control and then of its parents are searched first, then the main
// menu, menu by menu and top to bottom, submenus included. The first item
// that carries the key takes it: an enabled item runs its command, a
// disabled one swallows the key. The focused control never sees a key that
// an item took; keys that no item carries go to the focused control.
//
// Qt's own shortcut map cannot do this (a disabled action lets its key
// through, two enabled actions with one key cancel each other out), so the
// router looks at every key before any widget or the shortcut map does.

#include <QHash>
#include <QKeyCombination>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QWidget;

namespace zelvar {

class ShortcutRouter : public QObject {
    Q_OBJECT
public:
    // Routes the keys of the window that owns the menu bar.
    ShortcutRouter(QWidget* window, QMenuBar* menuBar);
    ~ShortcutRouter() override;

    // The popup menu of a control (its right-click menu).
    void setPopupMenu(QWidget* control, QMenu* menu);

    // A key that one control keeps for a command of its own, ahead of its
    // popup menu and the main menu (the notes pad's Del and Ctrl+Z act on the
    // notes). Only the control itself takes it, not its children.
    void setOwnKey(QWidget* control, QKeyCombination key, std::function<void()> command);

    // A key handled before the menus (page switching); returns true when the
    // key is taken. Called with perform == false to ask, true to act.
    using PreRoute = std::function<bool(QWidget* focus, QKeyCombination key, bool perform)>;
    void setPreRoute(PreRoute preRoute) { preRoute_ = std::move(preRoute); }

    // A modeless window beside the main one (the HTML check's): the main
    // menu's keys work from it too, but for those its own controls use
    // (copy, select all).
    void addCompanion(QWidget* window);

    // The item that takes this key when the focus is on this control.
    QAction* find(QWidget* focus, QKeyCombination key) const;

    static QKeyCombination combination(const QKeyEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    QPointer<QMenuBar> menuBar_;
    QList<QPointer<QWidget>> companions_;
    QHash<QWidget*, QPointer<QMenu>> popups_;
    struct OwnKey {
        QWidget* control;
        QKeyCombination key;
        std::function<void()> command;
    };
    QList<OwnKey> ownKeys_;
    PreRoute preRoute_;
};

} // namespace zelvar
