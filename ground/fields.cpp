#include "ground/fields.h"

#include <QLineEdit>
#include <utility>

#include "ground/shortcutrouter.h"

namespace zelvar {

void keepEditingKeys(ShortcutRouter& router, QLineEdit* field) {
    using Operation = void (*)(QLineEdit*);
    const std::pair<QKeyCombination, Operation> own[] = {
        {Qt::Key_Delete, [](QLineEdit* f) { f->del(); }},
        {Qt::ControlModifier | Qt::Key_A, [](QLineEdit* f) { f->selectAll(); }},
        {Qt::ControlModifier | Qt::Key_C, [](QLineEdit* f) { f->copy(); }},
        {Qt::ControlModifier | Qt::Key_V, [](QLineEdit* f) { f->paste(); }},
        {Qt::ControlModifier | Qt::Key_X, [](QLineEdit* f) { f->cut(); }},
        {Qt::ControlModifier | Qt::Key_Z, [](QLineEdit* f) { f->undo(); }},
        {Qt::ControlModifier | Qt::Key_Y, [](QLineEdit* f) { f->redo(); }},
    };
    for (const auto& entry : own) {
        router.setOwnKey(field, entry.first,
                         [field, operation = entry.second] { operation(field); });
    }
}

void showWrong(QLineEdit* field, bool wrong) {
    QPalette colours = field->palette();
    colours.setColor(QPalette::Text, wrong
                                         ? QColor(Qt::red)
                                         : field->parentWidget()->palette().color(QPalette::Text));
    field->setPalette(colours);
}

} // namespace zelvar
