#include "editor/spellview.h"

#include <QTextBlock>
#include <QTextDocument>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "editor/viewlayers.h"
#include "ground/speller.h"
#include "text/spelltext.h"

namespace zelvar {

SpellView::SpellView(Editor* editor) : QObject(editor), editor_(editor) {}

void SpellView::setSpeller(Speller* speller) {
    speller_ = speller;
    // New words of the user's, or the dictionary ready: the lines again.
    connect(speller, &Speller::wordsChanged, this, [this] {
        if (HtmlHighlighter* view = HtmlHighlighter::of(editor_)) {
            view->invalidate();
        }
    });
    apply();
}

SpellView* SpellView::of(const Editor* editor) {
    return editor->findChild<SpellView*>(QString(), Qt::FindDirectChildrenOnly);
}

void SpellView::setEnabled(bool on) {
    enabled_ = on;
    apply();
}

void SpellView::apply() {
    if (!enabled_ || !speller_) {
        editor_->layers().setLineLayer(ViewLayers::Spelling, {});
        return;
    }
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    underline.setUnderlineColor(Qt::red);
    editor_->layers().setLineLayer(
        ViewLayers::Spelling, [this, underline, words = QList<SpellWord>()](
                                  QStringView line, int state, const QList<HtmlSpan>& spans,
                                  QList<QTextLayout::FormatRange>& formats) mutable {
            words.clear();
            spellWords(line, state, spans, words);
            if (words.isEmpty() || !speller_) {
                return;
            }
            if (!speller_->isReady()) {
                speller_->load(); // the first words on screen
                return;
            }
            for (const SpellWord& w : words) {
                if (!speller_->isKnown(w.word)) {
                    formats.append({int(w.start), int(w.length), underline});
                }
            }
        });
}

std::optional<SpellView::Word> SpellView::unknownWordAt(int position) const {
    HtmlHighlighter* view = HtmlHighlighter::of(editor_);
    const QTextBlock block = editor_->document()->findBlock(position);
    if (!enabled_ || !view || !speller_ || !speller_->isReady() || !block.isValid() ||
        block.length() > Editor::kLongLine) {
        return std::nullopt;
    }
    const int column = position - block.position();
    for (const SpellWord& w : spellWords(block.text(), view->startState(block))) {
        if (column >= w.start && column <= w.start + w.length) {
            if (speller_->isKnown(w.word)) {
                break;
            }
            const int start = block.position() + int(w.start);
            return Word{start, start + int(w.length), w.word};
        }
    }
    return std::nullopt;
}

} // namespace zelvar
