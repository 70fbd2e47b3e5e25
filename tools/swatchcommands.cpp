// The twelve colour swatches: pointing at one names its colour in the
// operation message, clicking one inserts its HTML code at the caret of the
// shown page (the message keeps the colour name).

#include <QLabel>
#include <QMouseEvent>

#include "app/commands.h"
#include "app/patterns.h"
#include "app/tform1.h"
#include "editing/editor.h"
#include "tools/swatches.h"

namespace zelvar {

namespace {

class SwatchWatcher final : public QObject {
public:
    SwatchWatcher(TForm1& form, const SwatchRow& row) : QObject(&form), form_(form), row_(row) {}

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
    TForm1& form_;
    const SwatchRow& row_;
};

} // namespace

void installSwatchCommands(TForm1& form) {
    for (const SwatchRow& row : kSwatches) {
        if (auto* swatch = form.findChild<QLabel*>(QLatin1String(row.panel))) {
            swatch->installEventFilter(new SwatchWatcher(form, row));
        }
    }
}

} // namespace zelvar
