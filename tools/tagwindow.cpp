// The add-tag window: one edit that starts with a prompt and one button that
// writes the typed tag into the library.

#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <limits>

#include "ground/patterns.h"
#include "ground/secondarywindow.h"
#include "ground/workspace.h"
#include "tools/taglibrary.h"

namespace zelvar {

namespace {

constexpr const char* kPrompt = "Zde vložte nový tag...";

class TagWindowHandlers final : public QObject {
public:
    TagWindowHandlers(QDialog& window, TagLibrary& library, QLineEdit* edit)
        : QObject(&window), window_(window), library_(library), edit_(edit) {
        window.installEventFilter(this);
        edit->installEventFilter(this);
    }

    // "Zapsat": only a text the user typed or pasted counts as a tag; the
    // prompt and a field emptied by a click do not.
    void write() {
        Patterns& patterns = library_.form().patterns();
        if (!edit_->isModified()) {
            patterns.notice(text::kEnterTagFirst);
            return;
        }
        // The field holds one line, and so does every entry of the file: a
        // pasted text ends at its first line break or zero character.
        const QString typed = edit_->text();
        if (library_.addTag(
                typed.left(typed.indexOf(QRegularExpression(QStringLiteral("[\r\n\\x{0}]")))))) {
            patterns.message("Knihovna změněna...");
        }
        window_.accept();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show) {
            formActivate();
        } else if (watched == edit_ && event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                edit_->rect().contains(mouse->position().toPoint())) {
                edit1Click();
            }
        }
        return false;
    }

private:
    // Each time the window is shown: the prompt again, selected, so that the
    // first key typed replaces it.
    void formActivate() {
        edit_->setText(text::q(kPrompt));
        edit_->selectAll();
        edit_->setFocus(Qt::OtherFocusReason);
    }

    // A click into the field empties it, also after typing. Set, not
    // cleared: an emptied field has not been typed into.
    void edit1Click() { edit_->setText(QString()); }

    QDialog& window_;
    TagLibrary& library_;
    QLineEdit* edit_;
};

} // namespace

QDialog* buildTagWindow(TagLibrary& library) {
    auto* made = new SecondaryWindow({"TForm9", ".: Další tagy :.", 210, 64, true},
                                     &library.form().mainWindow());
    QDialog& window = *made;
    auto* edit = new QLineEdit(&window);
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setGeometry(8, 8, 194, 21);

    auto* button = new QPushButton(text::q("&Zapsat"), &window);
    button->setObjectName(QStringLiteral("Button1"));
    button->setToolTip(text::q("Zapsat tag do knihovny..."));
    button->setAutoDefault(false);
    button->setGeometry(120, 35, 82, 23);

    auto* handlers = new TagWindowHandlers(window, library, edit);
    QObject::connect(button, &QPushButton::clicked, handlers, [handlers, &library] {
        library.form().patterns().guarded([handlers] { handlers->write(); });
    });
    return made;
}

} // namespace zelvar
