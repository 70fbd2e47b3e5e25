#include "editor/htmlhighlighter.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "editor/editor.h"
#include "editor/viewlayers.h"

namespace zelvar {

namespace {

constexpr int kKinds = int(HtmlKind::String) + 1;

// The light set keeps a contrast of at least 4.5:1 on white and under its
// marks, the dark one on backgrounds from black to #2B2B2B and under its
// marks. In each set, any two colours and the usual text colour (black,
// light grey) stay apart (CIEDE2000 distance above 10) also as seen with
// protanopia, deuteranopia or tritanopia.
constexpr std::array<QRgb, kKinds> kOnLight = {
    0x0858BC, // tag: blue
    0xD30003, // attribute name: red
    0x007C62, // attribute value: teal
    0x636374, // comment: grey
    0x711E68, // declaration: plum
    0x537339, // reference: olive
    0x860C3E, // string: wine
};
constexpr std::array<QRgb, kKinds> kOnDark = {
    0x6AAFFF, // tag: sky blue
    0xFFC730, // attribute name: amber
    0x55DBAC, // attribute value: mint
    0x8E9D9E, // comment: grey
    0xC285C5, // declaration: orchid
    0xB8DF87, // reference: lime
    0xFA9BC6, // string: pink
};
constexpr QRgb kMarkOnLight = 0xFFF0B3;
constexpr QRgb kMarkOnDark = 0x3A3300;

// WCAG's contrast of two colours, from 1 to 21.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double leastContrast(const std::array<QRgb, kKinds>& set, const QColor& background) {
    double least = 21;
    for (QRgb c : set) {
        least = std::min(least, contrast(QColor(c), background));
    }
    return least;
}

// The set that reads better on the background.
bool isDark(const QColor& background) {
    return leastContrast(kOnDark, background) > leastContrast(kOnLight, background);
}

// Up to this many lines, the states are read from each line's own text when
// needed; the screen that needs more is coloured from a guess meanwhile, made
// from this many lines above it.
constexpr int kReadAtOnce = 20000;
constexpr int kGuessLines = 2000;

// How long one slice of reading ahead may take.
constexpr int kReadAheadSliceMs = 3;

// Up to this many edited lines are coloured as they change.
constexpr int kLinesColouredAtOnce = 64;

// What a line's view was built from: the line's text (its revision and no
// change since), the state it started in and the view's generation. It
// belongs to the block, so it moves with the line when lines above come or
// go. A line whose stamp still matches keeps its formats: a caret move or a
// repaint does not read it again.
class LineStamp : public QTextBlockUserData {
public:
    int revision = -1;
    int state = -1;
    quint64 generation = 0;
};

LineStamp* stampOf(const QTextBlock& block) {
    return static_cast<LineStamp*>(block.userData());
}

bool stampMatches(const QTextBlock& block, int state, quint64 generation) {
    const LineStamp* stamp = stampOf(block);
    return stamp && stamp->revision == block.revision() && stamp->state == state &&
           stamp->generation == generation;
}

void setStamp(QTextBlock block, int state, quint64 generation) {
    LineStamp* stamp = stampOf(block);
    if (!stamp) {
        stamp = new LineStamp; // owned by the document from now on
        block.setUserData(stamp);
    }
    stamp->revision = block.revision();
    stamp->state = state;
    stamp->generation = generation;
}

void clearStamp(const QTextBlock& block) {
    if (LineStamp* stamp = stampOf(block)) {
        stamp->revision = -1;
    }
}

} // namespace

HtmlHighlighter::HtmlHighlighter(Editor* editor) : QObject(editor), editor_(editor) {
    QTextDocument* doc = editor->document();
    blockCount_ = doc->blockCount();
    connect(doc, &QTextDocument::contentsChange, this, &HtmlHighlighter::noteChange);
    readAhead_.setSingleShot(true);
    readAhead_.setInterval(0);
    connect(&readAhead_, &QTimer::timeout, this, &HtmlHighlighter::readAhead);
    connect(editor, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0 || rect.contains(editor_->viewport()->rect())) {
            schedule();
        }
    });
    // A caret move changes only the matching-tag mark.
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, &HtmlHighlighter::scheduleMarks);
    connect(editor, &Editor::viewFormatsLost, this, &HtmlHighlighter::invalidate);
    connect(&editor->layers(), &ViewLayers::linesChanged, this, &HtmlHighlighter::invalidate);
    editor->installEventFilter(this);
    editor->viewport()->installEventFilter(this);
    schedule();
}

HtmlHighlighter* HtmlHighlighter::of(const Editor* editor) {
    return editor->findChild<HtmlHighlighter*>(QString(), Qt::FindDirectChildrenOnly);
}

void HtmlHighlighter::setEnabled(bool on) {
    enabled_ = on;
    invalidate();
}

void HtmlHighlighter::setLanguage(PageLanguage language) {
    if (language == language_) {
        return;
    }
    language_ = language;
    reader_ = lineReader(language);
    endStates_.clear();
    guessedLine_ = -1;
    invalidate();
}

void HtmlHighlighter::invalidate() {
    ++generation_;
    schedule();
}

QColor HtmlHighlighter::colour(HtmlKind kind, const QColor& background) {
    return QColor(isDark(background) ? kOnDark[int(kind)] : kOnLight[int(kind)]);
}

QColor HtmlHighlighter::markColour(const QColor& background) {
    return QColor(isDark(background) ? kMarkOnDark : kMarkOnLight);
}

bool HtmlHighlighter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
        schedule();
        break;
    case QEvent::PaletteChange:
        invalidate();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// Runs before the layout sees the change, like the editor's own handler
// before it. The edited lines get their colours now, so that they are laid
// out and drawn once, with them; the states of the lines after them stay
// when the last edited line ends in the state it ended in before.
void HtmlHighlighter::noteChange(int from, int, int added) {
    schedule();
    const QTextDocument* doc = editor_->document();

    const int delta = doc->blockCount() - blockCount_;
    blockCount_ = doc->blockCount();
    const QTextBlock firstBlock = doc->findBlock(from);
    QTextBlock lastBlock = doc->findBlock(from + added);
    if (!lastBlock.isValid()) {
        lastBlock = doc->lastBlock();
    }
    const int first = firstBlock.blockNumber();
    const int last = lastBlock.blockNumber();
    Q_EMIT linesChanging(first);
    // The edited lines are built again (a change of formats only included);
    // after a change of many lines, every line.
    if (last - first >= kLinesColouredAtOnce) {
        ++generation_;
    } else {
        for (QTextBlock b = firstBlock; b.isValid() && b.blockNumber() <= last; b = b.next()) {
            clearStamp(b);
        }
    }
    const int oldLast = last - delta; // the last edited line as it was numbered
    const int known = int(endStates_.size());
    if ((!enabled_ && !editor_->layers().hasLineLayers()) || first < 0 || first > known ||
        oldLast >= known || oldLast < first || last - first >= kReadAtOnce) {
        endStates_.resize(qBound(0, first, known));
        return;
    }
    // The edited lines read again: when the last of them ends as it did, the
    // states after it still hold. A change of many lines that leaves their
    // text as it was (Qt marks the lines on screen dirty when it shapes them
    // anew) thus costs their reading, not a reading of the whole page.
    const bool many = last - first >= kLinesColouredAtOnce;
    int state = first == 0 ? kHtmlFirstLineState : endStates_[first - 1];
    std::vector<unsigned char> fresh;
    fresh.reserve(last - first + 1);
    int count = 0;
    for (QTextBlock block = firstBlock; count <= last - first; block = block.next()) {
        if (block.length() > Editor::kLongLine) {
            break; // read when a line after it is shown
        }
        if (many) {
            state = reader_.state(block.text(), state);
        } else {
            const int startState = state;
            const QList<QTextLayout::FormatRange> wanted = lineFormats(block, state);
            // A line being composed keeps the input method's formats.
            if (block.layout()->preeditAreaText().isEmpty()) {
                if (wanted != block.layout()->formats()) {
                    block.layout()->setFormats(wanted);
                }
                setStamp(block, startState, generation_);
            }
        }
        fresh.push_back(static_cast<unsigned char>(state));
        ++count;
    }
    if (count == last - first + 1 && state == endStates_[oldLast]) {
        endStates_.erase(endStates_.begin() + first, endStates_.begin() + oldLast + 1);
        endStates_.insert(endStates_.begin() + first, fresh.begin(), fresh.begin() + count);
    } else {
        endStates_.resize(first);
        endStates_.insert(endStates_.end(), fresh.begin(), fresh.begin() + count);
    }
}

// Several reasons to refresh in one turn of the event loop make one refresh,
// before the repaint they ask for.
void HtmlHighlighter::schedule() {
    if (!scheduled_) {
        scheduled_ = true;
        QMetaObject::invokeMethod(this, &HtmlHighlighter::refresh, Qt::QueuedConnection);
    }
}

void HtmlHighlighter::refresh() {
    scheduled_ = false;
    int dirtyFrom = -1;
    int dirtyTo = -1;
    const bool coloured = enabled_ || editor_->layers().hasLineLayers();
    // The screen and a screen's worth of lines above and below it: lines that
    // a caret key or a page key brings in have their formats before Qt lays
    // them out, so that they are shaped once, not again for their colours.
    auto [first, end] = editor_->shownBlocks();
    const int screenFirst = first.isValid() ? first.blockNumber() : 0;
    const int screenEnd = end.isValid() ? end.blockNumber() : std::numeric_limits<int>::max();
    int lines = 0;
    for (QTextBlock b = first; b.isValid() && b != end; b = b.next()) {
        ++lines;
    }
    for (int k = 0; k < lines && first.previous().isValid(); ++k) {
        first = first.previous();
    }
    for (int k = 0; k < lines && end.isValid(); ++k) {
        end = end.next();
    }
    // Far below the lines read so far, the screen starts in the state that
    // the lines just above it give, and is coloured again when reading ahead
    // reaches it: a jump there does not wait for every line before it.
    int guess = -1;
    if (coloured && first.isValid() && first.blockNumber() - int(endStates_.size()) > kReadAtOnce) {
        guess = guessState(first);
        guessedLine_ = first.blockNumber();
    }
    for (QTextBlock block = first; block.isValid() && block != end; block = block.next()) {
        QTextLayout* layout = block.layout();
        // The layout of a long line carries the light shaping, that of a
        // line being composed the input method's formats.
        if (block.length() > Editor::kLongLine || !layout->preeditAreaText().isEmpty()) {
            if (guess >= 0) {
                guess = reader_.state(block.text(), guess);
            }
            continue;
        }
        QList<QTextLayout::FormatRange> wanted;
        int stamped = -1; // the state the line starts in, -1 uncoloured
        if (coloured) {
            int state = guess >= 0 ? guess : startState(block);
            stamped = state;
            if (stampMatches(block, state, generation_)) {
                // Built already: only the state it ends in is needed.
                if (guess >= 0) {
                    guess = reader_.state(block.text(), guess);
                } else if (int(endStates_.size()) == block.blockNumber()) {
                    endStates_.push_back(
                        static_cast<unsigned char>(reader_.state(block.text(), state)));
                }
                continue;
            }
            wanted = lineFormats(block, state);
            if (guess >= 0) {
                guess = state;
            } else if (int(endStates_.size()) == block.blockNumber()) {
                endStates_.push_back(static_cast<unsigned char>(state));
            }
        } else if (stampMatches(block, stamped, generation_)) {
            continue;
        }
        setStamp(block, stamped, generation_);
        if (wanted != layout->formats()) {
            layout->setFormats(wanted);
            // A line off screen that is not laid out yet will be, with these
            // formats; one on screen is drawn from its layout as it is, laid
            // out or not, until it is laid out again.
            const int number = block.blockNumber();
            if (layout->lineCount() == 0 && (number < screenFirst || number >= screenEnd)) {
                continue;
            }
            if (dirtyFrom < 0) {
                dirtyFrom = block.position();
            }
            dirtyTo = block.position() + block.length();
        }
    }
    // Laid out again with the new formats, without any change of the text.
    if (dirtyFrom >= 0) {
        editor_->document()->markContentsDirty(dirtyFrom, dirtyTo - dirtyFrom);
    }
    markTags();
    // The states of the lines below the screen are read while the program
    // waits, so that a jump there finds them.
    if (coloured && int(endStates_.size()) < editor_->document()->blockCount() - 1 &&
        !readAhead_.isActive()) {
        readAhead_.start();
    }
}

// Reads the lines just above the line from plain text on: right unless a
// comment, a tag or the content of a script or a style reaches further up.
int HtmlHighlighter::guessState(const QTextBlock& block) {
    const QTextDocument* doc = editor_->document();
    int state = kHtmlFirstLineState;
    for (QTextBlock b = doc->findBlockByNumber(qMax(0, block.blockNumber() - kGuessLines));
         b.isValid() && b != block; b = b.next()) {
        state = reader_.state(b.text(), state);
    }
    return state;
}

// One slice of that reading: a few milliseconds, then the events waiting.
void HtmlHighlighter::readAhead() {
    const QTextDocument* doc = editor_->document();
    const int needed = doc->blockCount() - 1; // the last line starts no other
    if (!(enabled_ || editor_->layers().hasLineLayers()) || int(endStates_.size()) >= needed) {
        return;
    }
    QElapsedTimer slice;
    slice.start();
    QTextBlock block = doc->findBlockByNumber(int(endStates_.size()));
    int state = endStates_.empty() ? kHtmlFirstLineState : endStates_.back();
    while (int(endStates_.size()) < needed && !slice.hasExpired(kReadAheadSliceMs)) {
        for (int i = 0; i < 256 && int(endStates_.size()) < needed; ++i, block = block.next()) {
            state = reader_.state(block.text(), state);
            endStates_.push_back(static_cast<unsigned char>(state));
        }
    }
    if (guessedLine_ >= 0 && int(endStates_.size()) >= guessedLine_) {
        guessedLine_ = -1;
        schedule(); // the screen that was guessed, with its true states
    }
    if (int(endStates_.size()) < needed) {
        readAhead_.start();
    }
}

std::optional<int> HtmlHighlighter::nearStartState(const QTextBlock& block) {
    if (language_ != PageLanguage::Html ||
        block.blockNumber() - int(endStates_.size()) > kReadAtOnce) {
        return std::nullopt;
    }
    return startState(block);
}

std::optional<HtmlHighlighter::Reach> HtmlHighlighter::reach(int position, int after) {
    const QTextDocument* doc = editor_->document();
    QTextBlock first = doc->findBlock(position);
    while (first.previous().isValid() && position - first.previous().position() <= kMatchReach) {
        first = first.previous();
    }
    const std::optional<int> state = nearStartState(first);
    if (!state) {
        return std::nullopt;
    }
    QTextCursor window(first);
    window.setPosition(qMin(doc->characterCount() - 1, position + after), QTextCursor::KeepAnchor);
    return Reach{window.selectedText(), first.position(), *state};
}

int HtmlHighlighter::startState(const QTextBlock& block) {
    const int line = block.blockNumber();
    readStates(line);
    return line == 0 ? kHtmlFirstLineState : endStates_[line - 1];
}

// Reads the states of the first lines up to count.
void HtmlHighlighter::readStates(int count) {
    const int first = int(endStates_.size());
    if (first >= count) {
        return;
    }
    const QTextDocument* doc = editor_->document();
    const QTextBlock block = doc->findBlockByNumber(first);
    int state = first == 0 ? kHtmlFirstLineState : endStates_.back();
    endStates_.reserve(count);
    if (count - first <= kReadAtOnce) {
        for (QTextBlock b = block; int(endStates_.size()) < count; b = b.next()) {
            state = reader_.state(b.text(), state);
            endStates_.push_back(static_cast<unsigned char>(state));
        }
        return;
    }
    // Many lines: the text of the document in one copy, lines separated by
    // the paragraph separator, costs less than a copy of every line's.
    const QString text = doc->toRawText();
    QStringView rest = QStringView(text).sliced(block.position());
    while (int(endStates_.size()) < count) {
        const qsizetype lineEnd = rest.indexOf(QChar::ParagraphSeparator);
        state = reader_.state(lineEnd < 0 ? rest : rest.first(lineEnd), state);
        endStates_.push_back(static_cast<unsigned char>(state));
        rest = lineEnd < 0 ? QStringView() : rest.sliced(lineEnd + 1);
    }
}

QList<QTextLayout::FormatRange> HtmlHighlighter::lineFormats(const QTextBlock& block, int& state) {
    spans_.clear();
    const QString text = block.text();
    const int lineStart = state;
    state = reader_.spans(text, state, spans_);
    QList<QTextLayout::FormatRange> out;
    if (!enabled_) {
        editor_->layers().addLineFormats(block, text, lineStart, spans_, out);
        return out;
    }
    // Characters with a colour of their own keep it.
    ownColours_.clear();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid() && Editor::hasOwnColour(fragment.charFormat())) {
            ownColours_.append({fragment.position() - block.position(), fragment.length(), {}});
        }
    }
    // The formats of the kinds, made again when the background changes.
    const QColor background = editor_->palette().color(QPalette::Base);
    if (background != formatsBackground_ || kindFormats_.size() != kKinds) {
        formatsBackground_ = background;
        kindFormats_.resize(kKinds);
        for (int k = 0; k < kKinds; ++k) {
            kindFormats_[k].setForeground(colour(HtmlKind(k), background));
        }
    }
    const QList<QTextCharFormat>& formats = kindFormats_;
    out.reserve(spans_.size());
    for (const HtmlSpan& span : spans_) {
        int start = int(span.start);
        const int end = int(span.start + span.length);
        const QTextCharFormat& format = formats[int(span.kind)];
        for (const QTextLayout::FormatRange& own : ownColours_) {
            if (own.start >= end) {
                break;
            }
            if (own.start + own.length <= start) {
                continue;
            }
            if (own.start > start) {
                out.append({start, own.start - start, format});
            }
            start = own.start + own.length;
        }
        if (start < end) {
            out.append({start, end - start, format});
        }
    }
    editor_->layers().addLineFormats(block, text, lineStart, spans_, out);
    return out;
}

// --- Matching tags -------------------------------------------------------------

void HtmlHighlighter::scheduleMarks() {
    if (!marksScheduled_) {
        marksScheduled_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                marksScheduled_ = false;
                markTags();
            },
            Qt::QueuedConnection);
    }
}

void HtmlHighlighter::markTags() {
    editor_->layers().setMarks(ViewLayers::MatchingTags, enabled_ && language_ == PageLanguage::Html
                                                             ? tagMarks()
                                                             : QList<QTextEdit::ExtraSelection>());
}

QList<QTextEdit::ExtraSelection> HtmlHighlighter::tagMarks() {
    const QTextCursor caret = editor_->textCursor();
    const QTextBlock block = caret.block();
    if (block.length() > Editor::kLongLine) {
        return {};
    }
    // Most carets stand in no tag name: a look along the line tells, before
    // the text around is read.
    const QString line = block.text();
    const int at = caret.position() - block.position();
    int name = at;
    while (name > 0 && !line[name - 1].isSpace() && line[name - 1] != u'<' &&
           line[name - 1] != u'/' && line[name - 1] != u'>') {
        --name;
    }
    const int bracket = name > 0 && line[name - 1] == u'/' ? name - 2 : name - 1;
    if (bracket < 0 || line[bracket] != u'<' || name >= line.size() || !line[name].isLetter()) {
        return {};
    }

    const int position = caret.position();
    const std::optional<Reach> near = reach(position, kMatchReach);
    if (!near) {
        return {}; // marked when reading ahead has come near
    }
    const auto pair = matchHtmlTag(near->text, near->state, position - near->start);
    if (!pair) {
        return {};
    }
    QTextDocument* doc = editor_->document();
    QTextCharFormat format;
    format.setBackground(markColour(editor_->palette().color(QPalette::Base)));
    QList<QTextEdit::ExtraSelection> marks;
    for (const HtmlRange& r : {pair->tag, pair->partner}) {
        QTextCursor range(doc);
        range.setPosition(near->start + int(r.start));
        range.setPosition(near->start + int(r.start + r.length), QTextCursor::KeepAnchor);
        marks.append({range, format});
    }
    return marks;
}

} // namespace zelvar
