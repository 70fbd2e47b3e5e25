#include "editor/spellview.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "editor/viewlayers.h"
#include "ground/speller.h"
#include "text/spelltext.h"

namespace zelvar {

SpellView::SpellView(Editor* editor)
    : QObject(editor), editor_(editor), view_(HtmlHighlighter::of(editor)) {
    distinct_.emplace_back();
    lineStarts_.push_back(0);
    readAhead_.setSingleShot(true);
    connect(&readAhead_, &QTimer::timeout, this, [this] {
        if (!view_ || wanted_ < int(lineStarts_.size())) {
            return;
        }
        const std::size_t before = lineStarts_.size();
        readLanguagesTo(std::min(wanted_, editor_->document()->blockCount() - 1),
                        kReadAheadSliceMs);
        if (int(lineStarts_.size()) > wanted_) {
            view_->invalidate(); // the screen that waited, with its languages
        } else {
            // No line read: the colouring's reading has yet to come; a look
            // again in a moment.
            readAhead_.start(lineStarts_.size() > before ? 0 : 10);
        }
    });
    // The languages from an edited line on are read again; the highlighter
    // says so before it builds the edited lines.
    if (view_) {
        connect(view_, &HtmlHighlighter::linesChanging, this, &SpellView::forgetFrom);
    }
}

void SpellView::setSpellers(Spellers* spellers) {
    spellers_ = spellers;
    // New words of the user's, or a dictionary ready: the lines again.
    connect(spellers, &Spellers::wordsChanged, this, [this] {
        if (view_) {
            view_->invalidate();
        }
    });
    apply();
}

void SpellView::setSpeller(Speller* speller) {
    setSpellers(new Spellers(speller, Spellers::dictionaryFolder(), this));
}

Speller* SpellView::speller() const {
    return spellers_ ? spellers_->czech() : nullptr;
}

SpellView* SpellView::of(const Editor* editor) {
    return editor->findChild<SpellView*>(QString(), Qt::FindDirectChildrenOnly);
}

void SpellView::setEnabled(bool on) {
    enabled_ = on;
    apply();
}

void SpellView::forgetFrom(int line) {
    wanted_ = -1;                                   // the screen asks again
    const std::size_t kept = std::max(1, line + 1); // a line's start depends on the lines above
    if (lineStarts_.size() > kept) {
        lineStarts_.resize(kept);
        distinct_.resize(lineStarts_.back() + 1);
    }
}

std::optional<TextLanguages> SpellView::languagesAt(const QTextBlock& block) {
    HtmlHighlighter* view = view_;
    const int line = block.blockNumber();
    if (!view) {
        return std::nullopt;
    }
    if (int(lineStarts_.size()) <= line) {
        // Far below the lines read so far, or below the colouring's
        // reading, the lines between are read while the program waits, and
        // the screen is built again when they are.
        if (line - int(lineStarts_.size()) > kReadAtOnce || !view->nearStartState(block)) {
            wanted_ = std::max(wanted_, line);
            if (!readAhead_.isActive()) {
                readAhead_.start(0);
            }
            return std::nullopt;
        }
        readLanguagesTo(line, -1);
    }
    return distinct_[lineStarts_[line]];
}

// Reads on from the last line known to the line given, or for as long as
// the milliseconds given allow: most lines hold no lang and no tag of an
// element that has one, and are passed over unread.
void SpellView::readLanguagesTo(int line, int ms) {
    HtmlHighlighter* view = view_;
    QElapsedTimer slice;
    slice.start();
    QTextBlock b = editor_->document()->findBlockByNumber(int(lineStarts_.size()) - 1);
    TextLanguages languages = distinct_.back();
    for (int n = 0; int(lineStarts_.size()) <= line && b.isValid(); b = b.next(), ++n) {
        if (ms >= 0 && ((n % 256 == 255 && slice.hasExpired(ms)) ||
                        !view->nearStartState(b.next().isValid() ? b.next() : b))) {
            break; // the rest in the next slice, or once the colouring has read it
        }
        const QString text = b.text();
        const bool endsInTag = b.next().isValid() && htmlStart(view->startState(b.next())).inTag;
        if (b.length() <= Editor::kLongLine && mayChangeLanguages(text, languages, endsInTag)) {
            spans_.clear();
            htmlLineSpans(text, view->startState(b), spans_);
            readLanguages(text, spans_, languages);
        }
        noteLineStart(languages);
    }
}

// The languages the next line starts in, the last known.
void SpellView::noteLineStart(const TextLanguages& languages) {
    if (!(languages == distinct_.back())) {
        distinct_.push_back(languages);
    }
    lineStarts_.push_back(int(distinct_.size()) - 1);
}

void SpellView::apply() {
    if (!enabled_ || !spellers_) {
        editor_->layers().setLineLayer(ViewLayers::Spelling, {});
        return;
    }
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    underline.setUnderlineColor(Qt::red);
    editor_->layers().setLineLayer(
        ViewLayers::Spelling,
        [this, underline, words = QList<CheckedWord>()](
            const QTextBlock& block, QStringView line, int state, const QList<HtmlSpan>& spans,
            QList<QTextLayout::FormatRange>& formats) mutable {
            if (!spellers_ || !view_ || view_->language() != PageLanguage::Html) {
                return;
            }
            const std::optional<TextLanguages> start = languagesAt(block);
            if (!start) {
                return; // built again once the reading has come near
            }
            // The languages of the next line's start, while the spans are at
            // hand: the edited lines are built one after the other.
            TextLanguages languages = *start;
            checkedWords(line, state, spans, languages, words);
            const int number = block.blockNumber();
            if (int(lineStarts_.size()) == number + 1) {
                noteLineStart(languages);
            }
            for (const CheckedWord& w : words) {
                if (!w.speller) {
                    continue; // no dictionary for its language: not checked
                }
                if (!w.speller->isReady()) {
                    w.speller->load(); // the first words of the language on screen
                } else if (!w.speller->isKnown(w.word.word)) {
                    formats.append({int(w.word.start), int(w.word.length), underline});
                }
            }
        });
}

// The words of a line that the check reads, each with the dictionary of the
// language it stands in (nullptr: none installed); languages goes from the
// line's start to its end.
void SpellView::checkedWords(QStringView line, int state, const QList<HtmlSpan>& spans,
                             TextLanguages& languages, QList<CheckedWord>& out) {
    out.clear();
    QString language = languages.language();
    changes_.clear();
    readLanguages(line, spans, languages, &changes_);
    words_.clear();
    spellWords(line, state, spans, words_);
    qsizetype next = 0;
    for (const SpellWord& w : std::as_const(words_)) {
        while (next < changes_.size() && changes_[next].column <= w.start) {
            language = changes_[next++].language;
        }
        out.append({w, spellers_->forLanguage(language)});
    }
}

std::optional<SpellView::Word> SpellView::unknownWordAt(int position) {
    const QTextBlock block = editor_->document()->findBlock(position);
    if (!enabled_ || !view_ || view_->language() != PageLanguage::Html || !spellers_ ||
        !block.isValid() || block.length() > Editor::kLongLine) {
        return std::nullopt;
    }
    std::optional<TextLanguages> languages = languagesAt(block);
    if (!languages) {
        return std::nullopt;
    }
    const QString text = block.text();
    QList<HtmlSpan> spans;
    const int state = view_->startState(block);
    htmlLineSpans(text, state, spans);
    QList<CheckedWord> words;
    checkedWords(text, state, spans, *languages, words);
    const int column = position - block.position();
    for (const CheckedWord& w : words) {
        if (column >= w.word.start && column <= w.word.start + w.word.length) {
            if (!w.speller || !w.speller->isReady() || w.speller->isKnown(w.word.word)) {
                break;
            }
            const int start = block.position() + int(w.word.start);
            return Word{start, start + int(w.word.length), w.word.word, w.speller};
        }
    }
    return std::nullopt;
}

} // namespace zelvar
