// Formát > "Pomoc při psaní tagů": help while HTML is typed into the pages.
// "</" is completed to the end tag of the innermost element still open at
// the caret (one undo step takes the completion back and leaves what was
// typed), and Return keeps the indentation of the line it ends, in the
// pages and in the notes pad. The choice lasts in the settings.

#include <QAction>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "ground/commands.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/settings.h"
#include "ground/workspace.h"
#include "text/htmlsyntax.h"

namespace zelvar {

namespace {

constexpr const char* kItem = "Pomocpipsantag1";
constexpr const char* kSetting = "view/typinghelp";

// A completion is typed over: the user who goes on typing the end tag the
// completion wrote ("p>" after "</p>") moves through it instead of writing
// it twice. Any other key ends that.
class TypeOver final : public QObject {
public:
    using QObject::QObject;
    void start(Editor* page, const QString& written) {
        page_ = page;
        rest_ = written;
        at_ = page->textCursor().position();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || watched != page_ || rest_.isEmpty()) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const QTextCursor caret = page_->textCursor();
        if (key->text() == rest_.first(1) && key->modifiers() == Qt::NoModifier &&
            caret.position() == at_ && !caret.hasSelection()) {
            rest_.remove(0, 1);
            return true;
        }
        rest_.clear();
        return false;
    }

private:
    QPointer<Editor> page_;
    QString rest_;
    int at_ = 0;
};

// The text before the "</" just typed is read as far back as the colouring
// looks for a partner tag: the time it takes is bounded in any page.
void closeEndTag(Editor& page, TypeOver& typeOver) {
    HtmlHighlighter* view = HtmlHighlighter::of(&page);
    QTextCursor caret = page.textCursor();
    const QTextBlock block = caret.block();
    const int at = caret.positionInBlock();
    if (!view || caret.hasSelection() || at < 2 || block.length() > Editor::kLongLine) {
        return;
    }
    const QString line = block.text();
    if (line[at - 1] != u'/' || line[at - 2] != u'<') {
        return;
    }
    const int position = caret.position() - 2;
    QTextBlock first = block;
    while (first.previous().isValid() &&
           position - first.previous().position() <= HtmlHighlighter::kMatchReach) {
        first = first.previous();
    }
    QTextCursor window(first);
    window.setPosition(position, QTextCursor::KeepAnchor);
    const std::optional<QString> name =
        openElementAtEnd(window.selectedText(), view->startState(first));
    if (!name) {
        return;
    }
    caret.beginEditBlock();
    caret.insertText(*name + u'>');
    caret.endEditBlock();
    page.setTextCursor(caret);
    typeOver.start(&page, *name + u'>');
}

// After Return: the blanks and tabs the line before starts with.
void keepIndentation(Editor& editor) {
    QTextCursor caret = editor.textCursor();
    const QTextBlock previous = caret.block().previous();
    if (!previous.isValid() || caret.positionInBlock() != 0 || caret.hasSelection()) {
        return;
    }
    const QString text = previous.text();
    qsizetype n = 0;
    while (n < text.size() && (text[n] == u' ' || text[n] == u'\t')) {
        ++n;
    }
    if (n > 0) {
        caret.insertText(text.first(n));
        editor.setTextCursor(caret);
    }
}

} // namespace

void installTypingHelp(Workspace& form) {
    QAction* item = form.action(kItem);
    item->setChecked(form.settings().flag(kSetting, true));
    form.on(kItem, [&form, item] {
        form.settings().setFlag(kSetting, item->isChecked());
        form.patterns().message("Pomoc při psaní tagů...");
    });
    auto* typeOver = new TypeOver(item);
    const auto help = [item, typeOver](Editor* editor, bool pages) {
        editor->installEventFilter(typeOver);
        QObject::connect(editor, &Editor::typed, item,
                         [item, editor, pages, typeOver](const QString& text) {
                             if (!item->isChecked()) {
                                 return;
                             }
                             if (text == u"\n") {
                                 keepIndentation(*editor);
                             } else if (pages && text == u"/") {
                                 closeEndTag(*editor, *typeOver);
                             }
                         });
    };
    for (const PageSlot& slot : kPageSlots) {
        help(form.editor(slot.number), true);
    }
    help(form.notesEditor(), false);
}

} // namespace zelvar
