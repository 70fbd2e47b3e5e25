// The twelve colour swatches: pointing at one names its colour in the
// operation message, clicking one inserts its HTML code at the caret of the
// shown page (the message keeps the colour name).

#include <QLabel>
#include <QMouseEvent>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/workspace.h"
#include "tools/swatches.h"

namespace zelvar {

namespace {

class SwatchWatcher final : public QObject {
public:
    SwatchWatcher(Workspace& form, const SwatchRow& row)
        : QObject(&form.mainWindow()), form_(form), row_(row) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::Enter:
            form_.patterns().message(row_.name);
            break;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto* swatch = static_cast<QWidget*>(watched);
            if (mouse->button() == Qt::LeftButton &&
                swatch->rect().contains(mouse->position().toPoint())) {
                form_.patterns().guarded(
                    [this] { form_.activeEditor()->insertInCaretLine(QLatin1String(row_.code)); });
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    Workspace& form_;
    const SwatchRow& row_;
};

} // namespace

void installSwatchCommands(Workspace& form) {
    const QList<QLabel*>& swatches = form.controls().swatches;
    for (qsizetype i = 0; i < swatches.size() && i < qsizetype(kSwatches.size()); ++i) {
        swatches[i]->installEventFilter(new SwatchWatcher(form, kSwatches[size_t(i)]));
    }
}

} // namespace zelvar
