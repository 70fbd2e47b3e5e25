// Formát > "Pomoc při psaní tagů": help while HTML is typed into the pages.
// "</" is completed to the end tag of the innermost element still open at
// the caret (one undo step takes the completion back and leaves what was
// typed), a list completes elements, attributes and character references,
// and Return keeps the indentation of the line it ends, in the pages and in
// the notes pad. The choice lasts in the settings.

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextBlock>
#include <QTextCursor>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "ground/commands.h"
#include "ground/pageslots.h"
#include "ground/toggles.h"
#include "ground/workspace.h"
#include "text/htmlnames.h"
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
// looks for a partner tag (HtmlHighlighter::reach): the time it takes is
// bounded in any page.
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
    const std::optional<HtmlHighlighter::Reach> before = view->reach(caret.position() - 2, 0);
    const std::optional<QString> name =
        before ? openElementAtEnd(before->text, before->state) : std::nullopt;
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

// The list of what may follow: after "<" and a letter the elements (the
// page's own custom ones too), after a blank in a tag the element's
// attributes and the global ones, after "&" and a letter the named
// character references. It is filtered as the user types on; Enter or Tab
// takes the choice, Esc closes it, and any other key goes into the text.
class TagCompletion final : public QObject {
public:
    explicit TagCompletion(QObject* parent) : QObject(parent) {
        completer_ = new QCompleter(this);
        completer_->setObjectName(QStringLiteral("TagCompletion"));
        completer_->setModel(&model_);
        completer_->setCompletionRole(Qt::UserRole);
        completer_->setCompletionMode(QCompleter::PopupCompletion);
        completer_->setMaxVisibleItems(12);
        connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
                [this](const QModelIndex& index) { choose(index.data(Qt::UserRole).toString()); });
    }

    void attach(Editor* page) {
        page->setCompletionPopup(completer_->popup());
        // Backspace and caret keys move the word being completed.
        connect(page, &QPlainTextEdit::cursorPositionChanged, this, [this, page] {
            if (page == page_ && completer_->popup()->isVisible()) {
                follow();
            }
        });
    }

    // A letter typed: a list opens where one belongs.
    void typed(Editor* page, const QString& text) {
        if (completer_->popup()->isVisible() && page == page_) {
            follow();
        } else if (text.size() == 1 && text[0].isLetter()) {
            page_ = page;
            follow();
        }
    }

private:
    enum class Kind { Element, Attribute, Entity };
    struct Context {
        Kind kind;
        int start; // of the word being completed
        QString word;
        QString element; // of an attribute
    };

    std::optional<Context> contextAt() const {
        HtmlHighlighter* view = HtmlHighlighter::of(page_);
        const QTextCursor caret = page_->textCursor();
        const QTextBlock block = caret.block();
        if (!view || caret.hasSelection() || block.length() > Editor::kLongLine) {
            return std::nullopt;
        }
        const QString line = block.text();
        const int at = caret.positionInBlock();
        int start = at;
        while (start > 0 && (line[start - 1].isLetterOrNumber() || line[start - 1] == u'-')) {
            --start;
        }
        if (start == 0 || start == at || !line[start].isLetter()) {
            return std::nullopt;
        }
        const QChar before = line[start - 1];
        const int wordAt = block.position() + start;
        const QString word = line.mid(start, at - start);
        // Where the word starts, or its "<" or "&": markup text, a tag or
        // a value.
        const int wordStart = before == u'<' || before == u'&' ? start - 1 : start;
        const std::optional<int> lineState = view->nearStartState(block);
        if (!lineState) {
            return std::nullopt;
        }
        const HtmlPlace place =
            htmlPlace(htmlLineState(QStringView(line).first(wordStart), *lineState));
        if (before == u'<' && place == HtmlPlace::Text) {
            return Context{Kind::Element, wordAt, word, {}};
        }
        if (before == u'&' && (place == HtmlPlace::Text || place == HtmlPlace::Value)) {
            return Context{Kind::Entity, wordAt, word, {}};
        }
        if (before.isSpace() && place == HtmlPlace::BetweenAttributes) {
            const qsizetype open = line.lastIndexOf(u'<', start);
            qsizetype end = open + 1;
            while (open >= 0 && end < line.size() &&
                   (line[end].isLetterOrNumber() || line[end] == u'-')) {
                ++end;
            }
            const QString element = open < 0 ? QString() : line.mid(open + 1, end - open - 1);
            return Context{Kind::Attribute, wordAt, word, element};
        }
        return std::nullopt;
    }

    // The list for the word at the caret, or none.
    void follow() {
        const std::optional<Context> context = page_ ? contextAt() : std::nullopt;
        if (!context) {
            completer_->popup()->hide();
            return;
        }
        if (!completer_->popup()->isVisible() || context->kind != context_.kind ||
            context->start != context_.start || context->element != context_.element) {
            fill(*context);
        }
        context_ = *context;
        completer_->setCaseSensitivity(context->kind == Kind::Entity ? Qt::CaseSensitive
                                                                     : Qt::CaseInsensitive);
        completer_->setCompletionPrefix(context->word);
        if (completer_->completionCount() == 0) {
            completer_->popup()->hide();
            return;
        }
        completer_->setWidget(page_);
        completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
        QRect at = page_->cursorRect();
        at.setWidth(completer_->popup()->sizeHintForColumn(0) +
                    completer_->popup()->verticalScrollBar()->sizeHint().width());
        completer_->complete(at);
    }

    static void add(QStandardItemModel& model, const QString& name, const QString& shown) {
        auto* row = new QStandardItem(shown);
        row->setData(name, Qt::UserRole);
        model.appendRow(row);
    }

    // The references never change: their list is made once.
    void fill(const Context& context) {
        if (context.kind == Kind::Entity) {
            if (entities_.rowCount() == 0) {
                for (const HtmlEntity& e : htmlEntities()) {
                    const QString name = QString::fromLatin1(e.name);
                    add(entities_, name,
                        QStringLiteral("&%1;   %2").arg(name, QString::fromUtf8(e.text)));
                }
            }
            completer_->setModel(&entities_);
            return;
        }
        model_.clear();
        QStringList names = context.kind == Kind::Attribute ? htmlAttributeNames(context.element)
                                                            : htmlElementNames() + customElements();
        names.removeDuplicates();
        for (const QString& name : names) {
            add(model_, name, name);
        }
        completer_->setModel(&model_);
    }

    // The page's own elements ("<my-card"), from the text near the caret.
    QStringList customElements() const {
        static const QRegularExpression custom(QStringLiteral("<([a-z][a-z0-9]*-[a-z0-9-]*)"),
                                               QRegularExpression::CaseInsensitiveOption);
        HtmlHighlighter* view = HtmlHighlighter::of(page_);
        const auto near = view->reach(page_->textCursor().position(), HtmlHighlighter::kMatchReach);
        QStringList names;
        const QString text = near ? near->text : QString();
        for (QRegularExpressionMatchIterator it = custom.globalMatch(text); it.hasNext();) {
            names << it.next().captured(1);
        }
        return names;
    }

    // The word typed so far gives way to the choice, as one undo step.
    void choose(const QString& name) {
        if (!page_) {
            return;
        }
        QTextCursor caret = page_->textCursor();
        caret.beginEditBlock();
        caret.setPosition(context_.start, QTextCursor::KeepAnchor);
        const bool valued = context_.kind == Kind::Attribute && !name.endsWith(u'-');
        caret.insertText(context_.kind == Kind::Entity ? name + u';'
                         : valued                      ? name + QStringLiteral("=\"\"")
                                                       : name);
        caret.endEditBlock();
        if (valued) {
            caret.movePosition(QTextCursor::Left); // between the quotes
        }
        page_->setTextCursor(caret);
    }

    QCompleter* completer_;
    QStandardItemModel model_;    // elements or attributes
    QStandardItemModel entities_; // character references
    QPointer<Editor> page_;
    Context context_{Kind::Element, -1, {}, {}};
};

} // namespace

void installTypingHelp(Workspace& form) {
    lastingToggle(form, kItem, kSetting, true, "Pomoc při psaní tagů...");
    QAction* item = form.action(kItem);
    auto* typeOver = new TypeOver(item);
    auto* completion = new TagCompletion(&form.mainWindow());
    const auto help = [item, typeOver, completion](Editor* editor, bool pages) {
        editor->installEventFilter(typeOver);
        if (pages) {
            completion->attach(editor);
        }
        QObject::connect(editor, &Editor::typed, item, [=](const QString& text) {
            if (!item->isChecked()) {
                return;
            }
            if (text == u"\n") {
                keepIndentation(*editor);
            } else if (pages && text == u"/") {
                closeEndTag(*editor, *typeOver);
            } else if (pages) {
                completion->typed(editor, text);
            }
        });
    };
    for (const PageSlot& slot : kPageSlots) {
        help(form.editor(slot.number), true);
    }
    help(form.notesEditor(), false);
}

} // namespace zelvar
