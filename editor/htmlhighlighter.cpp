#include "editor/htmlhighlighter.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <array>

#include "editor/editor.h"

namespace zelvar {

namespace {

constexpr int kKinds = int(HtmlKind::String) + 1;

// Each set keeps a contrast of at least 4.5:1 with its background and with
// the marks, and any two of its colours and the usual text colour stay
// apart when seen with protanopia, deuteranopia or tritanopia.
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
    0x7FB2FF, // tag
    0xFFA060, // attribute name
    0x60D0A0, // attribute value
    0xA0A0A0, // comment
    0xE090E0, // declaration
    0xE0C060, // reference
    0xFF80B0, // string
};
constexpr QRgb kMarkOnLight = 0xFFF0B3;
constexpr QRgb kMarkOnDark = 0x3A3300;

bool isDark(const QColor& background) {
    return qGray(background.rgb()) < 128;
}

// Identifies the extra selections that are this view's marks.
constexpr int kTagMark = QTextFormat::UserProperty + 20;

// Up to this many lines, the states are read from each line's own text.
constexpr int kLinesReadAlone = 2000;

// How long one slice of reading ahead may take.
constexpr int kReadAheadSliceMs = 3;

// Up to this many edited lines are coloured as they change.
constexpr int kLinesColouredAtOnce = 64;

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
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, &HtmlHighlighter::schedule);
    connect(editor, &Editor::viewFormatsLost, this, &HtmlHighlighter::schedule);
    editor->installEventFilter(this);
    editor->viewport()->installEventFilter(this);
    schedule();
}

HtmlHighlighter* HtmlHighlighter::of(const Editor* editor) {
    return editor->findChild<HtmlHighlighter*>(QString(), Qt::FindDirectChildrenOnly);
}

void HtmlHighlighter::setEnabled(bool on) {
    enabled_ = on;
    schedule();
}

void HtmlHighlighter::setOverlay(Overlay overlay) {
    overlay_ = std::move(overlay);
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
    case QEvent::PaletteChange:
        schedule();
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
    const int oldLast = last - delta; // the last edited line as it was numbered
    const int known = int(endStates_.size());
    if ((!enabled_ && !overlay_) || first < 0 || first > known || oldLast >= known ||
        oldLast < first || last - first >= kLinesColouredAtOnce) {
        endStates_.resize(qBound(0, first, known));
        return;
    }
    int state = first == 0 ? kHtmlFirstLineState : endStates_[first - 1];
    std::array<unsigned char, kLinesColouredAtOnce> fresh;
    int count = 0;
    for (QTextBlock block = firstBlock; count <= last - first; block = block.next()) {
        if (block.length() > Editor::kLongLine) {
            break; // read when a line after it is shown
        }
        const QList<QTextLayout::FormatRange> wanted = lineFormats(block, state);
        // A line being composed keeps the input method's formats.
        if (block.layout()->preeditAreaText().isEmpty() && wanted != block.layout()->formats()) {
            block.layout()->setFormats(wanted);
        }
        fresh[count++] = static_cast<unsigned char>(state);
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
    const auto [first, end] = editor_->shownBlocks();
    for (QTextBlock block = first; block.isValid() && block != end; block = block.next()) {
        QTextLayout* layout = block.layout();
        // The layout of a long line carries the light shaping, that of a
        // line being composed the input method's formats.
        if (block.length() > Editor::kLongLine || !layout->preeditAreaText().isEmpty()) {
            continue;
        }
        QList<QTextLayout::FormatRange> wanted;
        if (enabled_ || overlay_) {
            int state = startState(block);
            wanted = lineFormats(block, state);
            if (int(endStates_.size()) == block.blockNumber()) {
                endStates_.push_back(static_cast<unsigned char>(state));
            }
        }
        if (wanted != layout->formats()) {
            layout->setFormats(wanted);
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
    if (enabled_ && int(endStates_.size()) < editor_->document()->blockCount() - 1 &&
        !readAhead_.isActive()) {
        readAhead_.start();
    }
}

// One slice of that reading: a few milliseconds, then the events waiting.
void HtmlHighlighter::readAhead() {
    const QTextDocument* doc = editor_->document();
    const int needed = doc->blockCount() - 1; // the last line starts no other
    if (!enabled_ || int(endStates_.size()) >= needed) {
        return;
    }
    QElapsedTimer slice;
    slice.start();
    QTextBlock block = doc->findBlockByNumber(int(endStates_.size()));
    int state = endStates_.empty() ? kHtmlFirstLineState : endStates_.back();
    while (int(endStates_.size()) < needed && !slice.hasExpired(kReadAheadSliceMs)) {
        for (int i = 0; i < 256 && int(endStates_.size()) < needed; ++i, block = block.next()) {
            state = htmlLineState(block.text(), state);
            endStates_.push_back(static_cast<unsigned char>(state));
        }
    }
    if (int(endStates_.size()) < needed) {
        readAhead_.start();
    }
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
    if (count - first <= kLinesReadAlone) {
        for (QTextBlock b = block; int(endStates_.size()) < count; b = b.next()) {
            state = htmlLineState(b.text(), state);
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
        state = htmlLineState(lineEnd < 0 ? rest : rest.first(lineEnd), state);
        endStates_.push_back(static_cast<unsigned char>(state));
        rest = lineEnd < 0 ? QStringView() : rest.sliced(lineEnd + 1);
    }
}

QList<QTextLayout::FormatRange> HtmlHighlighter::lineFormats(const QTextBlock& block, int& state) {
    spans_.clear();
    const QString text = block.text();
    const int lineStart = state;
    state = htmlLineSpans(text, state, spans_);
    QList<QTextLayout::FormatRange> out;
    if (!enabled_) {
        overlay_(text, lineStart, spans_, out);
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
    const QColor background = editor_->palette().color(QPalette::Base);
    std::array<QTextCharFormat, kKinds> formats;
    for (int k = 0; k < kKinds; ++k) {
        formats[k].setForeground(colour(HtmlKind(k), background));
    }
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
    if (overlay_) {
        overlay_(text, lineStart, spans_, out);
    }
    return out;
}

// --- Matching tags -------------------------------------------------------------

void HtmlHighlighter::markTags() {
    const QList<QTextEdit::ExtraSelection> marks =
        enabled_ ? tagMarks() : QList<QTextEdit::ExtraSelection>();
    // The editor's other extra selections stay.
    QList<QTextEdit::ExtraSelection> all = editor_->extraSelections();
    QList<std::pair<int, int>> shown;
    all.removeIf([&shown](const QTextEdit::ExtraSelection& s) {
        if (!s.format.hasProperty(kTagMark)) {
            return false;
        }
        shown.append({s.cursor.selectionStart(), s.cursor.selectionEnd()});
        return true;
    });
    QList<std::pair<int, int>> wanted;
    for (const QTextEdit::ExtraSelection& m : marks) {
        wanted.append({m.cursor.selectionStart(), m.cursor.selectionEnd()});
    }
    if (wanted != shown) {
        all.append(marks);
        editor_->setExtraSelections(all);
    }
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

    QTextBlock first = block;
    const int position = caret.position();
    while (first.previous().isValid() && position - first.previous().position() <= kMatchReach) {
        first = first.previous();
    }
    QTextDocument* doc = editor_->document();
    QTextCursor window(first);
    window.setPosition(qMin(doc->characterCount() - 1, position + kMatchReach),
                       QTextCursor::KeepAnchor);
    const auto pair =
        matchHtmlTag(window.selectedText(), startState(first), position - first.position());
    if (!pair) {
        return {};
    }
    QTextCharFormat format;
    format.setBackground(markColour(editor_->palette().color(QPalette::Base)));
    format.setProperty(kTagMark, true);
    QList<QTextEdit::ExtraSelection> marks;
    for (const HtmlRange& r : {pair->tag, pair->partner}) {
        QTextCursor range(doc);
        range.setPosition(first.position() + int(r.start));
        range.setPosition(first.position() + int(r.start + r.length), QTextCursor::KeepAnchor);
        marks.append({range, format});
    }
    return marks;
}

} // namespace zelvar
