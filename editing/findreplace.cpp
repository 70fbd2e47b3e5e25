// Úpravy > "Hledat a nahradit..." (Ctrl+H): a panel below the pages that
// finds a text in the shown page and replaces it, with F3 and Shift+F3 for
// the next and the previous match from anywhere in the window.
//
// While the text is typed every match on screen is marked (a view layer:
// nothing of it enters the page), the first one from where the search
// started is selected, and the panel counts them. The page is searched on a
// worker thread from a copy of its text, so that neither a page of many
// megabytes nor a regular expression that backtracks for long holds up the
// window; an edit of the page makes the results stale until the next search.

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <memory>

#include "editing/findreplace.h"
#include "editor/editor.h"
#include "editor/viewlayers.h"
#include "ground/commands.h"
#include "ground/fields.h"
#include "ground/pagerecord.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "ground/workspace.h"
#include "text/search.h"

namespace zelvar {

namespace {

// Marks on screen at most: a long line can hold far more matches than show.
constexpr int kMaxMarks = 2000;
// The pause after an edit of the page before its matches are found again.
constexpr int kEditPauseMs = 300;

// Where a worker's result goes: nowhere once the panel is gone.
struct ResultChannel {
    QMutex mutex;
    QObject* receiver = nullptr;
    std::atomic<quint64> current{0}; // the search that is still wanted
};

class FindReplacePanel final : public QWidget {
public:
    explicit FindReplacePanel(Workspace& form)
        : form_(form), channel_(std::make_shared<ResultChannel>()) {
        setObjectName(QStringLiteral("FindReplacePanel"));
        channel_->receiver = this;
        pool_.setMaxThreadCount(1);
        build();
        form.addPanel(this, PanelPlace::Below);
        connect(&form.pageEvents(), &PageEvents::shownPageChanged, this, [this] {
            if (isVisible()) {
                follow(form_.activeEditor());
                then_ = Then::Nothing;
                search();
            }
        });
        editPause_.setSingleShot(true);
        editPause_.setInterval(kEditPauseMs);
        connect(&editPause_, &QTimer::timeout, this, [this] { search(); });
    }

    ~FindReplacePanel() override {
        if (ResultChannel* channel = channel_.get()) {
            QMutexLocker lock(&channel->mutex);
            channel->receiver = nullptr;
            channel->current = ~quint64(0);
        }
        pool_.waitForDone();
    }

    void open() {
        Editor* page = form_.activeEditor();
        follow(page);
        const QTextCursor caret = page->textCursor();
        const QString selected = caret.selectedText();
        // A word or so selected is what is looked for; a selection of lines
        // is where.
        if (selected.contains(QChar::ParagraphSeparator)) {
            takeScope();
            const QSignalBlocker quiet(inSelection_);
            inSelection_->setChecked(true);
        } else if (!selected.isEmpty() && selected.size() <= 200) {
            findField_->setText(selected);
        }
        origin_ = caret.selectionStart();
        count_->clear(); // until the page as it is now is counted
        show();
        findField_->setFocus(Qt::ShortcutFocusReason);
        findField_->selectAll();
        then_ = Then::Select;
        search();
        form_.patterns().message("Hledat a nahradit...");
    }

    // F3 and Shift+F3: the next or previous match of the panel's text, with
    // the panel shown or not.
    void goOn(bool forward) {
        if (findField_->text().isEmpty()) {
            open();
            return;
        }
        form_.patterns().message(forward ? "Najít další" : "Najít předchozí");
        act(forward ? Then::Next : Then::Previous);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QWidget::keyPressEvent(event);
    }

    void hideEvent(QHideEvent* event) override {
        if (page_) {
            page_->layers().setMarks(ViewLayers::SearchMarks, {});
        }
        QWidget::hideEvent(event);
    }

private:
    // What to do with the page once its matches are known.
    enum class Then { Nothing, Select, Next, Previous, ReplaceAll };

    void build() {
        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(4, 2, 4, 2);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(2);
        findField_ = field("FindField", "&Hledat:", 0, grid);
        replaceField_ = field("ReplaceField", "Nahradit &textem:", 1, grid);
        findField_->setToolTip(text::q("Enter – další výskyt, Shift+Enter – předchozí"));
        replaceField_->setToolTip(
            text::q("U regulárního výrazu: \\1 až \\99 skupiny, \\0 celý výskyt, \\n konec "
                    "řádku, \\t tabulátor, \\\\ zpětné lomítko"));
        connect(findField_, &QLineEdit::textEdited, this, [this] {
            then_ = Then::Select;
            search();
        });
        connect(findField_, &QLineEdit::returnPressed, this, [this] {
            act((QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) ? Then::Previous
                                                                           : Then::Next);
        });
        connect(replaceField_, &QLineEdit::returnPressed, this, [this] { replace(); });

        struct ButtonRow {
            const char* name;
            const char* caption;
            void (FindReplacePanel::*press)();
        };
        const ButtonRow buttons[] = {
            {"FindNextButton", "Da&lší", &FindReplacePanel::next},
            {"FindPreviousButton", "Př&edchozí", &FindReplacePanel::previous},
            {"ReplaceButton", "Nah&radit", &FindReplacePanel::replace},
            {"ReplaceAllButton", "Nahr&adit vše", &FindReplacePanel::replaceAll},
            {"FindCloseButton", "&Zavřít", &FindReplacePanel::close},
        };
        auto* row = new QHBoxLayout;
        for (const ButtonRow& b : buttons) {
            auto* button = new QPushButton(text::q(b.caption), this);
            button->setObjectName(QString::fromLatin1(b.name));
            button->setAutoDefault(false);
            button->setFocusPolicy(Qt::TabFocus);
            connect(button, &QPushButton::clicked, this, b.press);
            row->addWidget(button);
        }
        row->addStretch(1);
        grid->addLayout(row, 0, 2);

        struct OptionRow {
            const char* name;
            const char* caption;
            QCheckBox* FindReplacePanel::*box;
        };
        const OptionRow options[] = {
            {"MatchCaseOption", "Rozlišovat veli&kost písmen", &FindReplacePanel::matchCase_},
            {"WholeWordsOption", "&Celá slova", &FindReplacePanel::wholeWords_},
            {"RegularExpressionOption", "Re&gulární výraz", &FindReplacePanel::regular_},
            {"InSelectionOption", "&Jen ve výběru", &FindReplacePanel::inSelection_},
        };
        auto* optionRow = new QHBoxLayout;
        for (const OptionRow& o : options) {
            auto* box = new QCheckBox(text::q(o.caption), this);
            box->setObjectName(QString::fromLatin1(o.name));
            this->*o.box = box;
            optionRow->addWidget(box);
            connect(box, &QCheckBox::toggled, this, [this, box] { optionChanged(box); });
        }
        count_ = new QLabel(this);
        count_->setObjectName(QStringLiteral("FindCount"));
        note_ = new QLabel(this);
        note_->setObjectName(QStringLiteral("FindNote"));
        optionRow->addSpacing(12);
        optionRow->addWidget(count_);
        optionRow->addWidget(note_);
        optionRow->addStretch(1);
        grid->addLayout(optionRow, 1, 2);
        grid->setColumnStretch(2, 1);
    }

    QLineEdit* field(const char* name, const char* caption, int line, QGridLayout* grid) {
        auto* label = new QLabel(text::q(caption), this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(220);
        label->setBuddy(edit);
        grid->addWidget(label, line, 0);
        grid->addWidget(edit, line, 1);
        keepEditingKeys(form_.router(), edit);
        return edit;
    }

    void next() { act(Then::Next); }
    void previous() { act(Then::Previous); }

    void close() {
        hide();
        form_.activeEditor()->setFocus(Qt::OtherFocusReason);
    }

    void optionChanged(QCheckBox* box) {
        if (box == inSelection_ && box->isChecked()) {
            takeScope();
        }
        origin_ = form_.activeEditor()->textCursor().selectionStart();
        then_ = Then::Nothing;
        search();
    }

    // The selection as it is now, growing and shrinking with edits inside it.
    void takeScope() {
        const QTextCursor caret = form_.activeEditor()->textCursor();
        scopeStart_ = QTextCursor(caret.document());
        scopeStart_.setPosition(caret.selectionStart());
        scopeStart_.setKeepPositionOnInsert(true);
        scopeEnd_ = QTextCursor(caret.document());
        scopeEnd_.setPosition(caret.selectionEnd());
    }

    // --- The page searched ---------------------------------------------------

    void follow(Editor* page) {
        if (page == page_) {
            return;
        }
        if (page_) {
            page_->layers().setMarks(ViewLayers::SearchMarks, {});
            disconnect(pageLinks_[0]);
            disconnect(pageLinks_[1]);
            disconnect(pageLinks_[2]);
        }
        page_ = page;
        stale();
        pageLinks_[0] = connect(page->document(), &QTextDocument::contentsChange, this, [this] {
            stale();
            if (isVisible()) {
                editPause_.start();
            }
        });
        pageLinks_[1] = connect(page->verticalScrollBar(), &QScrollBar::valueChanged, this,
                                [this] { scheduleMarks(); });
        pageLinks_[2] = connect(page->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                                [this] { scheduleMarks(); });
    }

    // The page's text changed: what was found no longer fits it.
    void stale() {
        current_ = false;
        textRead_ = false;
        channel_->current = ++generation_;
        if (page_ && !page_->layers().marks(ViewLayers::SearchMarks).isEmpty()) {
            scheduleMarks();
        }
    }

    // The marks again once the page is done with what it is doing: a
    // scroll or an edit may come from inside a change of the document.
    void scheduleMarks() {
        if (!marksDue_) {
            marksDue_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    marksDue_ = false;
                    showMarks();
                },
                Qt::QueuedConnection);
        }
    }

    SearchOptions options() const {
        return {matchCase_->isChecked(), wholeWords_->isChecked(), regular_->isChecked()};
    }

    std::pair<int, int> scope() const {
        if (inSelection_->isChecked() && !scopeStart_.isNull() &&
            scopeStart_.document() == page_->document() &&
            scopeStart_.position() < scopeEnd_.position()) {
            return {scopeStart_.position(), scopeEnd_.position()};
        }
        return {0, int(text_.size())};
    }

    // Starts a search of the page as it is now with the panel's text and
    // options; `then_` is done when it is found.
    void search(bool withReplacements = false) {
        editPause_.stop();
        follow(form_.activeEditor());
        const QString pattern = findField_->text();
        const TextSearch check(pattern, options());
        current_ = false;
        channel_->current = ++generation_;
        if (pattern.isEmpty() || !check.isValid()) {
            then_ = Then::Nothing;
            results_ = {};
            current_ = true;
            showCount(check);
            showMarks();
            return;
        }
        if (!textRead_) {
            text_ = searchableText(page_->document()->toRawText());
            textRead_ = true;
        }
        const std::pair<int, int> range = scope();
        const int from = range.first;
        const int to = range.second;
        const QString replacement = replaceField_->text();
        const SearchOptions chosen = options();
        const quint64 generation = generation_;
        const std::shared_ptr<ResultChannel> channel = channel_;
        const QString text = text_;
        pool_.start(
            [pattern, chosen, text, from, to, withReplacements, replacement, channel, generation] {
                const TextSearch search(pattern, chosen);
                SearchResult result =
                    search.findAll(text, from, to, withReplacements ? &replacement : nullptr,
                                   [&] { return channel->current != generation; });
                QMutexLocker lock(&channel->mutex);
                if (channel->receiver && channel->current == generation) {
                    auto* panel = static_cast<FindReplacePanel*>(channel->receiver);
                    QMetaObject::invokeMethod(
                        panel,
                        [panel, generation, result = std::move(result)]() mutable {
                            panel->found(generation, std::move(result));
                        },
                        Qt::QueuedConnection);
                }
            });
    }

    void found(quint64 generation, SearchResult result) {
        if (generation != generation_) {
            return; // a later search or an edit came since
        }
        results_ = std::move(result);
        current_ = true;
        showCount(TextSearch(findField_->text(), options()));
        perform();
    }

    void perform() {
        const Then then = std::exchange(then_, Then::Nothing);
        switch (then) {
        case Then::Select:
            select(firstFrom(origin_), QStringLiteral("hledání pokračovalo od začátku"));
            break;
        case Then::Next:
        case Then::Previous:
            step(then == Then::Next);
            break;
        case Then::ReplaceAll:
            replaceFound();
            break;
        case Then::Nothing:
            break;
        }
        showMarks();
    }

    // Does it now when the matches of this page are known, or when they are.
    void act(Then then) {
        follow(form_.activeEditor());
        then_ = then;
        if (current_ && then != Then::ReplaceAll) {
            perform();
        } else {
            search(then == Then::ReplaceAll);
        }
    }

    // --- Moving through the matches -------------------------------------------

    // The index of the first match that starts at or after the position
    // (wrapping to the first one), or -1 when there is none.
    int firstFrom(int position) {
        const auto& m = results_.matches;
        const auto it = std::lower_bound(m.begin(), m.end(), position,
                                         [](const TextMatch& x, int p) { return x.start < p; });
        wrapped_ = it == m.end() && !m.isEmpty();
        return m.isEmpty() ? -1 : wrapped_ ? 0 : int(it - m.begin());
    }

    // Next: the first match after the selection (a match that is the
    // selection is passed over); previous: the last one before it.
    void step(bool forward) {
        const QTextCursor caret = page_->textCursor();
        const std::pair<int, int> at{caret.selectionStart(), caret.selectionEnd()};
        const auto& m = results_.matches;
        const auto key = [](const TextMatch& x) { return std::pair{x.start, x.end()}; };
        int index = -1;
        if (forward) {
            const auto it =
                std::upper_bound(m.begin(), m.end(), at,
                                 [&](const auto& p, const TextMatch& x) { return p < key(x); });
            wrapped_ = it == m.end() && !m.isEmpty();
            index = m.isEmpty() ? -1 : wrapped_ ? 0 : int(it - m.begin());
        } else {
            const auto it =
                std::lower_bound(m.begin(), m.end(), at,
                                 [&](const TextMatch& x, const auto& p) { return key(x) < p; });
            wrapped_ = it == m.begin() && !m.isEmpty();
            index = m.isEmpty() ? -1 : wrapped_ ? int(m.size()) - 1 : int(it - m.begin()) - 1;
        }
        select(index, forward ? QStringLiteral("hledání pokračovalo od začátku")
                              : QStringLiteral("hledání pokračovalo od konce"));
    }

    void select(int index, const QString& wrapNote) {
        note_->setText(index >= 0 && wrapped_ ? wrapNote : QString());
        if (index < 0) {
            return;
        }
        const TextMatch match = results_.matches.at(index);
        QTextCursor selection(page_->document());
        selection.setPosition(match.start);
        selection.setPosition(match.end(), QTextCursor::KeepAnchor);
        page_->setTextCursor(selection);
        page_->ensureCursorVisible();
    }

    // --- Replacing --------------------------------------------------------------

    // Replaces the selected match and goes on to the next one; a selection
    // that is no match only goes on.
    void replace() {
        follow(form_.activeEditor());
        QTextCursor caret = page_->textCursor();
        const TextMatch selected{caret.selectionStart(),
                                 caret.selectionEnd() - caret.selectionStart()};
        if (!current_ || !std::binary_search(
                             results_.matches.begin(), results_.matches.end(), selected,
                             [](const TextMatch& a, const TextMatch& b) {
                                 return std::pair{a.start, a.length} < std::pair{b.start, b.length};
                             })) {
            act(Then::Next);
            return;
        }
        const TextSearch searched(findField_->text(), options());
        const auto replaced = searched.replaceAt(text_, selected.start, replaceField_->text());
        if (!replaced) {
            act(Then::Next);
            return;
        }
        caret.insertText(replaced->second);
        page_->setTextCursor(caret);
        form_.patterns().message("Nahradit");
        then_ = Then::Next;
        search();
    }

    void replaceAll() {
        if (findField_->text().isEmpty()) {
            return;
        }
        act(Then::ReplaceAll);
    }

    void replaceFound() {
        const auto& m = results_.matches;
        if (m.isEmpty() || results_.replacements.size() != m.size()) {
            return;
        }
        replaceMatches(*page_->document(), results_);
        form_.patterns().message(QStringLiteral("Nahrazeno výskytů: %1...").arg(m.size()));
        then_ = Then::Nothing;
        search();
    }

    // --- What the panel and the page show -----------------------------------------

    void showCount(const TextSearch& search) {
        if (!search.isValid()) {
            count_->setText(search.errorString());
            note_->clear();
        } else if (search.isEmpty()) {
            count_->clear();
            note_->clear();
        } else if (results_.matches.isEmpty()) {
            count_->setText(QStringLiteral("nenalezeno"));
            note_->clear();
        } else {
            count_->setText(matchCount(results_.matches.size(), results_.more));
        }
        showWrong(findField_,
                  !search.isEmpty() && (!search.isValid() || results_.matches.isEmpty()));
    }

    // The matches in the lines on screen, those nearest the caret when a
    // long line holds more than can be marked.
    void showMarks() {
        if (!page_) {
            return;
        }
        if (!isVisible() || !current_) {
            page_->layers().setMarks(ViewLayers::SearchMarks, {});
            return;
        }
        const auto [first, after] = page_->shownBlocks();
        const int from = first.position();
        const int to = after.isValid() ? after.position() : page_->document()->characterCount();
        const auto& m = results_.matches;
        const auto startsBefore = [](const TextMatch& x, int p) { return x.start < p; };
        auto begin = std::lower_bound(m.begin(), m.end(), from, startsBefore);
        auto end = std::lower_bound(begin, m.end(), to, startsBefore);
        if (end - begin > kMaxMarks) {
            const auto near =
                std::lower_bound(begin, end, page_->textCursor().position(), startsBefore);
            begin = std::max(begin, near - kMaxMarks / 2);
            end = std::min(end, begin + kMaxMarks);
        }
        QTextCharFormat look;
        look.setBackground(QColor(255, 226, 120));
        QList<QTextEdit::ExtraSelection> marks;
        marks.reserve(end - begin);
        for (auto it = begin; it != end; ++it) {
            if (it->length > 0) {
                QTextCursor mark(page_->document());
                mark.setPosition(it->start);
                mark.setPosition(it->end(), QTextCursor::KeepAnchor);
                marks.append({mark, look});
            }
        }
        page_->layers().setMarks(ViewLayers::SearchMarks, marks);
    }

    Workspace& form_;
    QLineEdit* findField_ = nullptr;
    QLineEdit* replaceField_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeWords_ = nullptr;
    QCheckBox* regular_ = nullptr;
    QCheckBox* inSelection_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* note_ = nullptr;

    QPointer<Editor> page_;
    QMetaObject::Connection pageLinks_[3];
    QString text_;          // the page's text as last read for a search
    bool textRead_ = false; // and still the page's text
    SearchResult results_;
    bool current_ = false; // the results are of the page's text and the panel's search
    bool wrapped_ = false; // the last move went past an end
    int origin_ = 0;       // where the search as typed starts
    Then then_ = Then::Nothing;
    bool marksDue_ = false;
    QTextCursor scopeStart_;
    QTextCursor scopeEnd_;
    QTimer editPause_;

    quint64 generation_ = 0;
    std::shared_ptr<ResultChannel> channel_;
    QThreadPool pool_;
};

} // namespace

void replaceMatches(QTextDocument& document, const SearchResult& found) {
    const QList<TextMatch>& m = found.matches;
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (qsizetype i = m.size() - 1; i >= 0; --i) {
        edit.setPosition(m.at(i).start);
        edit.setPosition(m.at(i).end(), QTextCursor::KeepAnchor);
        edit.insertText(found.replacements.at(i));
    }
    edit.endEditBlock();
}

void installFindReplace(Workspace& form) {
    auto* panel = new FindReplacePanel(form);
    form.on("Hledatanahradit1", [panel] { panel->open(); });
    form.on("Najtdal1", [panel] { panel->goOn(true); });
    form.on("Najtpedchoz1", [panel] { panel->goOn(false); });
}

} // namespace zelvar
