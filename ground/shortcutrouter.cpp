#include "ground/shortcutrouter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace zelvar {

namespace {

QAction* findInMenu(const QMenu* menu, const QKeySequence& key) {
    if (!menu) {
        return nullptr;
    }
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        if (action->shortcuts().contains(key)) {
            return action;
        }
        if (QAction* inner = findInMenu(action->menu(), key)) {
            return inner;
        }
    }
    return nullptr;
}

// Whether the key types a character: no menu item has such a key, so the
// menus need no search for it (two searches of every menu for each letter
// typed).
bool typesText(const QKeyEvent& key) {
    const QString text = key.text();
    return (key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0 && !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

} // namespace

ShortcutRouter::ShortcutRouter(QWidget* window, QMenuBar* menuBar)
    : QObject(window), window_(window), menuBar_(menuBar) {
    qApp->installEventFilter(this);
}

ShortcutRouter::~ShortcutRouter() {
    if (qApp) {
        qApp->removeEventFilter(this);
    }
}

void ShortcutRouter::setPopupMenu(QWidget* control, QMenu* menu) {
    popups_.insert(control, menu);
}

void ShortcutRouter::addCompanion(QWidget* window) {
    companions_.append(window);
}

void ShortcutRouter::setOwnKey(QWidget* control, QKeyCombination key,
                               std::function<void()> command) {
    ownKeys_.append({control, key, std::move(command)});
}

QKeyCombination ShortcutRouter::combination(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return QKeyCombination(mods, Qt::Key(event->key()));
}

QAction* ShortcutRouter::find(QWidget* focus, QKeyCombination key) const {
    const QKeySequence sequence(key);
    for (QWidget* w = focus; w; w = w->parentWidget()) {
        const auto it = popups_.constFind(w);
        if (it != popups_.constEnd()) {
            if (QAction* action = findInMenu(it.value(), sequence)) {
                return action;
            }
        }
    }
    if (!menuBar_) {
        return nullptr;
    }
    for (QAction* menuAction : menuBar_->actions()) {
        if (QAction* action = findInMenu(menuAction->menu(), sequence)) {
            return action;
        }
    }
    return nullptr;
}

bool ShortcutRouter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !window_) {
        return false;
    }
    const bool companion = widget->window() != window_;
    if (companion && !companions_.contains(widget->window())) {
        return false;
    }
    // An open menu or a modal dialog has the keys to itself.
    if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) {
        return false;
    }
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    if (key == 0 || key == Qt::Key_unknown || key == Qt::Key_Control || key == Qt::Key_Shift ||
        key == Qt::Key_Alt || key == Qt::Key_Meta) {
        return false;
    }
    const QKeyCombination combo = combination(keyEvent);
    const bool perform = type == QEvent::KeyPress;
    if (companion) {
        if (keyEvent->matches(QKeySequence::Copy) || keyEvent->matches(QKeySequence::SelectAll)) {
            return false;
        }
        QAction* action = find(nullptr, combo);
        if (!action) {
            return false;
        }
        if (perform && action->isEnabled()) {
            action->trigger();
        }
        event->accept();
        return true;
    }
    for (const OwnKey& own : std::as_const(ownKeys_)) {
        if (own.control == widget && own.key == combo) {
            if (perform) {
                own.command();
            }
            event->accept();
            return true;
        }
    }
    bool taken = preRoute_ && preRoute_(widget, combo, perform);
    if (!taken) {
        if (typesText(*keyEvent)) {
            return false;
        }
        QAction* action = find(widget, combo);
        if (!action) {
            return false;
        }
        taken = true;
        if (perform && action->isEnabled()) {
            action->trigger();
        }
    }
    // Accepting the override keeps the key from the shortcut map and the
    // widget's own handling; the key press that follows is consumed above.
    event->accept();
    return true;
}

} // namespace zelvar
