// Czech text in the pages: the spelling check (Format > "Kontrola
// pravopisu", the suggestions at the top of a page's popup menu) and the
// Tools menu's "Nezlomitelné mezery".

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>

#include "editor/editor.h"
#include "editor/spellview.h"
#include "ground/commands.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/settings.h"
#include "ground/speller.h"
#include "ground/texts.h"
#include "ground/workspace.h"
#include "text/cp1250.h"
#include "text/spelltext.h"

namespace zelvar {

namespace {

constexpr const char* kSpellItem = "Kontrolapravopisu1";
constexpr const char* kNoDictionaryHint =
    "Kontrola pravopisu potřebuje český slovník: nainstalujte balíček hunspell-cs.";
constexpr const char* kAddWord = "Přidat do slovníku";
constexpr const char* kUserWordsFile = "slovnik.txt";

// The text as the page keeps it: what its encoding lacks written as the
// numeric references that saving would write.
QString inPageEncoding(const QString& text, const Editor& page) {
    return page.writeEncoding() == TextEncoding::Windows1250 ? fromCp1250(toCp1250(text)) : text;
}

// Replaces [start, end) of the page with the text as one undo step, if the
// page still holds what it held there.
void replaceWord(Editor& page, const SpellView::Word& word, const QString& written,
                 const QString& text) {
    QTextCursor cursor(page.document());
    cursor.setPosition(word.start);
    cursor.setPosition(word.end, QTextCursor::KeepAnchor);
    if (cursor.selectedText() == written) {
        cursor.insertText(inPageEncoding(text, page));
    }
}

// The spelling items at the top of the page's popup menu: they are put in
// as the menu opens on an unknown word and taken out after it has closed.
class SpellPopup : public QObject {
public:
    explicit SpellPopup(Workspace& form)
        : QObject(&form.mainWindow()), form_(form), menu_(form.menu("PopupMenu1")) {
        // A right click reaches the viewport, the Menu key and Shift+F10 the
        // page itself.
        for (const PageSlot& slot : kPageSlots) {
            form.editor(slot.number)->installEventFilter(this);
            form.editor(slot.number)->viewport()->installEventFilter(this);
        }
        connect(menu_, &QMenu::aboutToShow, this, &SpellPopup::fill);
        // The menu runs the chosen item after it has hidden: the items leave
        // the menu now and go once that is done.
        connect(menu_, &QMenu::aboutToHide, this, [this] {
            for (QAction* a : std::as_const(added_)) {
                menu_->removeAction(a);
            }
            QMetaObject::invokeMethod(
                this, [used = std::exchange(added_, {})] { qDeleteAll(used); },
                Qt::QueuedConnection);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu) {
            auto* page = qobject_cast<Editor*>(watched);
            page = page ? page : qobject_cast<Editor*>(watched->parent());
            const auto* e = static_cast<QContextMenuEvent*>(event);
            if (page) {
                clicked_ = page;
                position_ = e->reason() == QContextMenuEvent::Mouse
                                ? page->cursorForPosition(e->pos()).position()
                                : page->textCursor().position();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void fill() {
        const QPointer<Editor> page = clicked_;
        clicked_ = nullptr;
        SpellView* view = page ? SpellView::of(page) : nullptr;
        const auto word = view ? view->unknownWordAt(position_) : std::nullopt;
        if (!word) {
            return;
        }
        QAction* first = menu_->actions().value(0);
        const auto add = [&](const QString& caption) {
            auto* action = new QAction(caption, menu_);
            menu_->insertAction(first, action);
            added_.append(action);
            return action;
        };
        QTextCursor range(page->document());
        range.setPosition(word->start);
        range.setPosition(word->end, QTextCursor::KeepAnchor);
        const QString written = range.selectedText();
        for (const QString& suggestion : word->speller->suggestions(word->word)) {
            connect(add(suggestion), &QAction::triggered, page,
                    [page, w = *word, written, suggestion] {
                        replaceWord(*page, w, written, suggestion);
                    });
        }
        connect(add(text::q(kAddWord)), &QAction::triggered, this,
                [this, w = word->word, speller = QPointer<Speller>(word->speller)] {
                    if (!speller || !speller->addWord(w)) {
                        form_.patterns().message(text::kSaveFailed);
                    }
                });
        added_.append(menu_->insertSeparator(first));
    }

    Workspace& form_;
    QMenu* menu_;
    QPointer<Editor> clicked_;
    int position_ = -1;
    QList<QAction*> added_;
};

constexpr const char* kSpellingSetting = "view/spelling";

void installSpelling(Workspace& form) {
    QAction* item = form.action(kSpellItem);
    if (!Speller::czechInstalled()) {
        item->setChecked(false);
        item->setEnabled(false);
        item->setToolTip(text::q(kNoDictionaryHint));
        item->setStatusTip(text::q(kNoDictionaryHint));
        return;
    }
    auto* speller = new Speller(Speller::czechAffixFile(), Speller::czechDictionaryFile(),
                                QDir::current().absoluteFilePath(QLatin1String(kUserWordsFile)),
                                &form.mainWindow());
    auto* spellers = new Spellers(speller, Spellers::dictionaryFolder(), speller);
    for (const PageSlot& slot : kPageSlots) {
        SpellView::of(form.editor(slot.number))->setSpellers(spellers);
    }
    new SpellPopup(form);
    // The item is checkable: choosing it has flipped its mark, which the
    // pages follow.
    const auto check = [&form](bool on) {
        for (const PageSlot& slot : kPageSlots) {
            SpellView::of(form.editor(slot.number))->setEnabled(on);
        }
        form.settings().setFlag(kSpellingSetting, on);
    };
    form.on(kSpellItem, [&form, item, check] {
        check(item->isChecked());
        form.patterns().message("Kontrola pravopisu...");
    });
    // The check stays as the user last chose it.
    if (!form.settings().flag(kSpellingSetting, true)) {
        item->setChecked(false);
        check(false);
    }
}

// In the selection, or in the whole page when nothing is selected; one undo
// step.
void putNonBreakingSpaces(Workspace& form) {
    Editor* page = form.activeEditor();
    QTextDocument* doc = page->document();
    const QTextCursor selection = page->textCursor();
    const bool selected = selection.hasSelection();
    const NonBreakingSpaces found = insertNonBreakingSpaces(
        doc->toRawText(), kHtmlFirstLineState, selected ? selection.selectionStart() : 0,
        selected ? selection.selectionEnd() : -1);
    if (!found.spaces.isEmpty()) {
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        for (auto at = found.spaces.crbegin(); at != found.spaces.crend(); ++at) {
            cursor.setPosition(int(*at));
            cursor.setPosition(int(*at) + 1, QTextCursor::KeepAnchor);
            cursor.insertText(kNonBreakingSpace.toString());
        }
        cursor.endEditBlock();
    }
    form.patterns().message(
        text::q("Vloženo nezlomitelných mezer: %1...").arg(found.spaces.size()));
}

} // namespace

void installSpellCommands(Workspace& form) {
    installSpelling(form);
    form.on("Nezlomitelnmezery1", [&form] { putNonBreakingSpaces(form); });
}

} // namespace zelvar
