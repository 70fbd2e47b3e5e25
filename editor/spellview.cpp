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

SpellView::SpellView(Editor* editor) : QObject(editor), editor_(editor) {
    distinct_.emplace_back();
    lineStarts_.push_back(0);
    readAhead_.setSingleShot(true);
    connect(&readAhead_, &QTimer::timeout, this, [this] {
        HtmlHighlighter* view = HtmlHighlighter::of(editor_);
        if (!view || wanted_ < int(lineStarts_.size())) {
            return;
        }
        const std::size_t before = lineStarts_.size();
        readLanguagesTo(std::min(wanted_, editor_->document()->blockCount() - 1),
                        kReadAheadSliceMs);
        if (int(lineStarts_.size()) > wanted_) {
            view->invalidate(); // the screen that waited, with its languages
        } else {
            // No line read: the colouring's reading has yet to come; a look
            // again in a moment.
            readAhead_.start(lineStarts_.size() > before ? 0 : 10);
        }
    });
    // The languages from an edited line on are read again; the highlighter
    // says so before it builds the edited lines.
    if (HtmlHighlighter* view = HtmlHighlighter::of(editor)) {
        connect(view, &HtmlHighlighter::linesChanging, this, &SpellView::forgetFrom);
    }
}

void SpellView::setSpellers(Spellers* spellers) {
    spellers_ = spellers;
    // New words of the user's, or a dictionary ready: the lines again.
    connect(spellers, &Spellers::wordsChanged, this, [this] {
        if (HtmlHighlighter* view = HtmlHighlighter::of(editor_)) {
            view->invalidate();
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
    HtmlHighlighter* view = HtmlHighlighter::of(editor_);
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
    HtmlHighlighter* view = HtmlHighlighter::of(editor_);
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
            if (!(languages == distinct_.back())) {
                distinct_.push_back(languages);
            }
        }
        lineStarts_.push_back(int(distinct_.size()) - 1);
    }
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
        [this, underline, words = QList<SpellWord>(), changes = QList<LanguageChange>()](
            const QTextBlock& block, QStringView line, int state, const QList<HtmlSpan>& spans,
            QList<QTextLayout::FormatRange>& formats) mutable {
            const HtmlHighlighter* view = HtmlHighlighter::of(editor_);
            if (!spellers_ || !view || view->language() != PageLanguage::Html) {
                return;
            }
            const std::optional<TextLanguages> start = languagesAt(block);
            if (!start) {
                return; // built again once the reading has come near
            }
            // The languages of the next line's start, while the spans are at
            // hand: the edited lines are built one after the other.
            TextLanguages languages = *start;
            changes.clear();
            readLanguages(line, spans, languages, &changes);
            const int number = block.blockNumber();
            if (int(lineStarts_.size()) == number + 1) {
                if (!(languages == distinct_.back())) {
                    distinct_.push_back(languages);
                }
                lineStarts_.push_back(int(distinct_.size()) - 1);
            }
            words.clear();
            spellWords(line, state, spans, words);
            QString language = start->language();
            qsizetype next = 0;
            for (const SpellWord& w : words) {
                while (next < changes.size() && changes[next].column <= w.start) {
                    language = changes[next++].language;
                }
                Speller* speller = spellers_->forLanguage(language);
                if (!speller) {
                    continue; // no dictionary for it: not checked
                }
                if (!speller->isReady()) {
                    speller->load(); // the first words of the language on screen
                } else if (!speller->isKnown(w.word)) {
                    formats.append({int(w.start), int(w.length), underline});
                }
            }
        });
}

std::optional<SpellView::Word> SpellView::unknownWordAt(int position) {
    HtmlHighlighter* view = HtmlHighlighter::of(editor_);
    const QTextBlock block = editor_->document()->findBlock(position);
    if (!enabled_ || !view || view->language() != PageLanguage::Html || !spellers_ ||
        !block.isValid() || block.length() > Editor::kLongLine) {
        return std::nullopt;
    }
    const std::optional<TextLanguages> start = languagesAt(block);
    if (!start) {
        return std::nullopt;
    }
    const QString text = block.text();
    QList<HtmlSpan> spans;
    const int state = view->startState(block);
    htmlLineSpans(text, state, spans);
    TextLanguages languages = *start;
    QList<LanguageChange> changes;
    readLanguages(text, spans, languages, &changes);
    const int column = position - block.position();
    QString language = start->language();
    qsizetype next = 0;
    for (const SpellWord& w : spellWords(text, state)) {
        while (next < changes.size() && changes[next].column <= w.start) {
            language = changes[next++].language;
        }
        if (column >= w.start && column <= w.start + w.length) {
            Speller* speller = spellers_->forLanguage(language);
            if (!speller || !speller->isReady() || speller->isKnown(w.word)) {
                break;
            }
            const int wordStart = block.position() + int(w.start);
            return Word{wordStart, wordStart + int(w.length), w.word, speller};
        }
    }
    return std::nullopt;
}

} // namespace zelvar
