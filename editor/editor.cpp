#include "editor/editor.h"

#include "editor/viewlayers.h"
#include "text/charset.h"
#include "text/linenumbers.h"
#include "text/pagefile.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QFocusEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <exception>
#include <memory>
#include <optional>

namespace zelvar {

namespace {

// A page's scroll bar, drawn again only when it looks otherwise: in a long
// page a caret moved a line, or a line scrolled, moves the slider by less
// than a pixel, and the bar would be drawn again whole at every key.
class PageScrollBar final : public QScrollBar {
public:
    PageScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

protected:
    void sliderChange(SliderChange change) override {
        if (change == SliderValueChange && !QAccessible::isActive() && look() == drawn_) {
            return;
        }
        QScrollBar::sliderChange(change);
    }

    void paintEvent(QPaintEvent* e) override {
        drawn_ = look();
        QScrollBar::paintEvent(e);
    }

private:
    struct Look {
        QRect slider;
        bool atStart = false;
        bool atEnd = false;
        friend bool operator==(const Look&, const Look&) = default;
    };

    Look look() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                        this),
                value() == minimum(), value() == maximum()};
    }

    Look drawn_;
};

// Marks a colour in a character format as the editor's default one rather
// than the character's own.
constexpr int kDefaultColourMark = QTextFormat::UserProperty + 1;

bool showsDefaultColour(const QTextCharFormat& format) {
    return !format.hasProperty(QTextFormat::ForegroundBrush) ||
           format.foreground().style() == Qt::NoBrush || format.boolProperty(kDefaultColourMark);
}

// Line breaks inside a line (Unicode line and paragraph separators) become
// real line breaks, so that the line list and the file forms agree with what
// the user sees.
QString withPlainBreaks(QString text) {
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

// Long lines are shaped without the optional typographic features (kerning,
// ligatures) of scripts that need no shaping: their glyphs are looked up
// directly, several times faster. The format is display-only.
QTextLayout::FormatRange longLineFormat(int length) {
    QTextLayout::FormatRange range;
    range.start = 0;
    range.length = length;
    range.format.setFontStyleStrategy(QFont::PreferNoShaping);
    return range;
}

bool isLightShaping(const QTextLayout::FormatRange& range) {
    return range.format == longLineFormat(0).format;
}

// Gives the line's layout the light shaping over the whole line (the text
// being composed in it included), or takes it away; the layout's other
// formats (those of the text being composed) stay. Whether that changed
// them.
bool shapeLightly(const QTextBlock& block, bool on) {
    QTextLayout* layout = block.layout();
    QList<QTextLayout::FormatRange> formats = layout->formats();
    formats.removeIf(isLightShaping);
    if (on) {
        formats.prepend(longLineFormat(block.length() + int(layout->preeditAreaText().size())));
    }
    if (formats == layout->formats()) {
        return false;
    }
    layout->setFormats(formats);
    return true;
}

// The single line of an unwrapped line long enough to be drawn by its
// visible part, or an invalid line.
QTextLine lineDrawnInPart(const QTextBlock& block) {
    if (block.length() <= Editor::kDrawnInPartFrom) {
        return QTextLine();
    }
    const QTextLayout* layout = block.layout();
    if (layout->lineCount() != 1 || layout->lineAt(0).textLength() <= Editor::kDrawnInPartFrom) {
        return QTextLine();
    }
    return layout->lineAt(0);
}

// Qt's plain-text layout takes a change of `removed` and `added` characters
// as reaching removed + added characters from its start. Display formats set
// on a line while it is edited widen the change to the whole line, which then
// reaches into the next one, and the whole view is repainted for every key.
// A change whose new text lies in one line, with as many lines as before, is
// passed on as a change of that line alone. Not for a long line: that way
// lays it out twice, once to learn its old height.
class PageLayout final : public QPlainTextDocumentLayout {
public:
    explicit PageLayout(QTextDocument* doc)
        : QPlainTextDocumentLayout(doc), blockCount_(doc->blockCount()) {}

protected:
    void documentChanged(int from, int removed, int added) override {
        const QTextDocument* doc = document();
        const bool sameCount = doc->blockCount() == blockCount_;
        blockCount_ = doc->blockCount();
        const QTextBlock block = doc->findBlock(from);
        if (sameCount && block.isValid() && block.length() <= Editor::kLongLine &&
            block.contains(from + qMax(added, 1) - 1)) {
            QPlainTextDocumentLayout::documentChanged(from, 0, 1);
        } else {
            QPlainTextDocumentLayout::documentChanged(from, removed, added);
        }
    }

private:
    int blockCount_;
};

} // namespace

Editor::Editor(QWidget* parent) : QPlainTextEdit(parent), layers_(new ViewLayers(this)) {
    auto* doc = new QTextDocument(this);
    doc->setDocumentLayout(new PageLayout(doc));
    setDocument(doc);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBar(new PageScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new PageScrollBar(Qt::Horizontal, this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    // Every change of the text, typed or made by a command, sets the flag;
    // undo back to the text last read or written clears it.
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed != 0 || added != 0) {
            setModified(true);
        }
    });
    // Only an undo or redo reaches the text last read or written again, and
    // only while the history still leads there: a history emptied by other
    // means than a read or write (Qt's own replacing of the whole text) no
    // longer does.
    connect(document(), &QTextDocument::modificationChanged, this, [this](bool changed) {
        if (!changed && undoing_ && cleanReachable_) {
            setModified(false);
        }
    });
    connect(document(), &QTextDocument::undoAvailable, this, [this](bool available) {
        if (!available && !undoing_) {
            cleanReachable_ = false;
        }
    });
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int from, int, int added) { noteLongLines(from, added); });
    // What is kept by line number follows the lines when lines come or go:
    // the lines that keep their glyphs, and those of a file whose lines end
    // in more than one way that end otherwise.
    connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int) {
        const int count = document()->blockCount();
        if (count != blockCount_) {
            const int first = document()->findBlock(from).blockNumber();
            renumberLines(glyphsKept_, first, count - blockCount_,
                          [](int& n) -> int& { return n; });
            renumberLines(form_.otherBreaks, first, count - blockCount_,
                          [](PlainForm::OtherBreak& b) -> int& { return b.line; });
        }
        blockCount_ = count;
    });
    // Only the first characters can hold the declaration the prescan finds.
    connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int) {
        if (from < kPrescanLength) {
            followDeclaration();
        }
    });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0 || rect.contains(viewport()->rect())) {
            keepShownGlyphs();
        }
    });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!holdChanged_) {
            Q_EMIT changed();
        }
    });
}

// --- Lines -------------------------------------------------------------------

int Editor::lineCount() const {
    const QTextDocument* doc = document();
    int count = doc->blockCount();
    if (doc->lastBlock().length() <= 1) {
        --count; // the empty last line after a final line break is not counted
    }
    return count;
}

QString Editor::line(int i) const {
    if (i < 0 || i >= document()->blockCount()) {
        return QString();
    }
    return document()->findBlockByNumber(i).text();
}

void Editor::setLine(int i, const QString& text) {
    if (i < 0 || i >= document()->blockCount()) {
        return;
    }
    QTextCursor cursor(document()->findBlockByNumber(i));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(withPlainBreaks(text));
}

QString Editor::text() const {
    const QTextDocument* doc = document();
    const int count = lineCount();
    QString out;
    out.reserve(doc->characterCount() + count);
    QTextBlock block = doc->begin();
    for (int i = 0; i < count && block.isValid(); ++i, block = block.next()) {
        out += block.text();
        out += QLatin1String("\r\n");
    }
    return out;
}

void Editor::setText(const QString& text) {
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(withPlainBreaks(text));
    cursor.endEditBlock();
    spreadDefaultColour(true);
    setTextCursor(cursor);
}

void Editor::addLine(const QString& text) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QString piece = withPlainBreaks(text) + QLatin1Char('\n');
    if (cursor.block().length() > 1) {
        piece.prepend(QLatin1Char('\n')); // the last line has text: start a new one
    }
    cursor.insertText(piece);
}

namespace {

// While a big file goes in, the window repaints but takes no input but Esc,
// which stops the reading; closing it waits for the end. A dialog that
// comes up meanwhile takes its input.
class LoadingGuard final : public QObject {
public:
    LoadingGuard() { qApp->installEventFilter(this); }
    ~LoadingGuard() override { qApp->removeEventFilter(this); }
    bool stopped() const { return stopped_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // A question asked meanwhile (another program changed a page's
        // file, say) takes its answer as usual.
        if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
            return false;
        }
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                stopped_ = true;
            }
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            event->ignore();
            return true;
        default:
            return false;
        }
    }

private:
    bool stopped_ = false;
};

// A piece of about this many characters goes in between two looks at the
// window's events.
constexpr qsizetype kLoadPart = 1 << 20;

} // namespace

bool Editor::loadFromFile(const QString& path) {
    if (plainText_ && document()->isUndoRedoEnabled() &&
        QFileInfo(path).size() >= kLoadInPartsFrom) {
        return loadInParts(path);
    }
    form_ = loadPageFile(*document(), path, plainText_, encodingRule(),
                         [this](QStringView text) { fitGutterFor(text); });
    loaded();
    return true;
}

EncodingRule Editor::encodingRule() const {
    return pageRules_ ? EncodingRule::Page : EncodingRule::Editor;
}

// The gutter takes its width for the new lines while the page is empty: a
// change of the text's width afterwards would lay out every line again.
void Editor::fitGutterFor(QStringView text) {
    if (gutter_) {
        fitGutter(int(text.count(u'\n')) + 1);
    }
}

// A page read from a file starts a history of its own: undo never takes it
// back to what was there before.
void Editor::loaded() {
    document()->clearUndoRedoStacks();
    spreadDefaultColour(true);
    followDeclaration();
    markUnchanged();
    Q_EMIT lineBreakChanged();
}

bool Editor::loadInParts(const QString& path) {
    LoadingGuard guard;
    Q_EMIT loadProgress(0);
    // Read and decoded on a thread of its own; the result is shared with it,
    // so that a reading stopped early ends on its own.
    struct Read {
        QString text;
        PlainForm form;
        std::exception_ptr error;
    };
    const auto read = std::make_shared<Read>();
    const EncodingRule rule = encodingRule();
    QEventLoop waiting;
    QThread* reader = QThread::create([read, path, rule] {
        try {
            read->text = textFromFileBytes(readWholeFile(path), &read->form, rule);
        } catch (...) {
            read->error = std::current_exception();
        }
    });
    connect(reader, &QThread::finished, &waiting, &QEventLoop::quit);
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    reader->start();
    QTimer looking;
    connect(&looking, &QTimer::timeout, &waiting, [&] {
        if (guard.stopped()) {
            waiting.quit();
        }
    });
    looking.start(20);
    waiting.exec();
    looking.stop();
    if (guard.stopped()) {
        Q_EMIT loadProgress(-1);
        return false; // the thread finishes and lets go of the text alone
    }
    if (read->error) {
        Q_EMIT loadProgress(-1);
        std::rethrow_exception(read->error);
    }

    // In parts, each ending at a line's end; stopped, the edit is undone and
    // the page is as it was, its history included.
    QTextDocument* doc = document();
    const int stepsBefore = doc->availableUndoSteps();
    const bool wasModified = modified_;
    const bool wasReachable = cleanReachable_;
    const bool docModified = doc->isModified();
    const PlainForm wasForm = form_; // its line numbers follow the removal
    const QString& text = read->text;
    // One edit, told to the view when it is whole (parts told one by one
    // cost a third more memory, the document's buffer growing part by part);
    // meanwhile the page is not drawn, the rest of the window is.
    setUpdatesEnabled(false);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    fitGutterFor(text);
    qsizetype done = 0;
    while (done < text.size() && !guard.stopped()) {
        qsizetype end = std::min(text.size(), done + kLoadPart);
        if (end < text.size()) {
            const qsizetype lineEnd = text.indexOf(u'\n', end);
            end = lineEnd < 0 ? text.size() : lineEnd + 1;
        }
        cursor.movePosition(QTextCursor::End);
        // A view of the text, not a copy: the document copies it in.
        cursor.insertText(QString::fromRawData(text.constData() + done, end - done),
                          QTextCharFormat());
        done = end;
        Q_EMIT loadProgress(int(done * 100 / text.size()));
        QApplication::processEvents();
    }
    cursor.endEditBlock();
    setUpdatesEnabled(true);
    if (guard.stopped()) {
        {
            const QScopedValueRollback<bool> undoing(undoing_, true);
            while (doc->availableUndoSteps() > stepsBefore) {
                doc->undo();
            }
        }
        doc->clearUndoRedoStacks(QTextDocument::RedoStack);
        doc->setModified(docModified);
        form_ = wasForm;
        cleanReachable_ = wasReachable;
        setModified(wasModified);
        if (gutter_) {
            fitGutter();
        }
        Q_EMIT loadProgress(-1);
        return false;
    }
    form_ = read->form;
    loaded();
    Q_EMIT loadProgress(-1);
    return true;
}

void Editor::setLineBreak(LineBreak lineBreak) {
    form_.lineBreak = lineBreak;
    form_.otherBreaks.clear();
    Q_EMIT lineBreakChanged();
}

void Editor::markUnchanged() {
    cleanReachable_ = true;
    document()->setModified(false);
    setModified(false);
}

void Editor::setModified(bool on) {
    if (on != modified_) {
        modified_ = on;
        Q_EMIT modifiedChanged();
    }
}

void Editor::saveToFile(const QString& path) {
    // The page keeps to what it was written in from then on.
    PlainForm written = form_;
    written.encoding = writes_;
    savePageFile(*document(), path, plainText_, written);
    if (plainText_) {
        const std::optional<TextEncoding> declared = pageDeclaredEncoding(*document(), written);
        written.declared.reset();
        if (declared && !sameEncoding(*declared, written.encoding)) {
            written.declared = declared;
        }
        form_ = written;
        followDeclaration();
    }
}

void Editor::setEncoding(TextEncoding encoding) {
    // The user's choice: from now on a declaration the page's text makes
    // decides as usual, so that the file reads back as it was written.
    form_.encoding = encoding;
    form_.declared.reset();
    followDeclaration();
}

void Editor::followDeclaration() {
    const std::optional<TextEncoding> declared =
        pageRules_ ? pageDeclaredEncoding(*document(), form_) : std::nullopt;
    // What Save As (which writes the plain-text form) would write.
    const TextEncoding writes = pageRules_ ? pageWriteEncoding(form_, declared) : form_.encoding;
    const bool contradicts = declared && !sameEncoding(*declared, writes);
    if (writes != writes_ || contradicts != contradicts_ || declared != declaredNow_) {
        writes_ = writes;
        contradicts_ = contradicts;
        declaredNow_ = declared;
        Q_EMIT encodingChanged();
    }
}

void Editor::clearLines() {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
}

// --- Insertion at the caret -------------------------------------------------
//
// Both insertions give the text, caret and selection of writing the changed
// line, or the changed whole text, back; they edit in place instead, so the
// character formatting of the rest of the page stays and one insertion is
// one undo step and one change.

void Editor::noteRewrite() {
    setModified(true);
    Q_EMIT changed();
}

void Editor::insertInLine(QPoint at, const QString& text) {
    const QTextBlock block = document()->findBlockByNumber(at.y());
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + qBound(0, at.x(), block.length() - 1));
    if (text.isEmpty()) {
        noteRewrite();
    } else {
        cursor.beginEditBlock();
        cursor.insertText(withPlainBreaks(text));
        cursor.endEditBlock();
    }
    // The rewritten line ends where the text put in ends (a text with line
    // breaks writes several lines).
    cursor.movePosition(QTextCursor::EndOfBlock);
    setTextCursor(cursor);
    takeFocusAfterInsertion();
}

void Editor::takeFocusAfterInsertion() {
    // The next key goes where the text went, not to the list or button
    // the insertion came from.
    if (isVisible()) {
        setFocus(Qt::OtherFocusReason);
    }
}

void Editor::insertInCaretLine(const QString& text) {
    insertInLine(caretPos(), text);
}

void Editor::insertAtSelStart(const QString& text) {
    QTextDocument* doc = document();
    // Lines.Text ends every counted line with a line break. It differs from
    // the document only when the last line holds text: the rewritten text
    // then gains a final line break. An empty editor has no line, so its
    // Lines.Text is empty and the inserted text stands alone.
    const bool addFinalBreak = doc->lastBlock().length() > 1;
    QTextCursor cursor(doc);
    cursor.setPosition(textCursor().selectionStart());
    if (text.isEmpty() && !addFinalBreak) {
        noteRewrite();
    } else if (text.isEmpty()) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("\n"));
    } else {
        // The text and the final line break go in as two edits joined into
        // one undo step: one edit spanning both places would make the layout
        // revisit every line between them. The change is announced once,
        // after the second.
        holdChanged_ = addFinalBreak;
        cursor.beginEditBlock();
        cursor.insertText(withPlainBreaks(text));
        cursor.endEditBlock();
        holdChanged_ = false;
        if (addFinalBreak) {
            cursor.movePosition(QTextCursor::End);
            cursor.joinPreviousEditBlock();
            cursor.insertText(QStringLiteral("\n"));
            cursor.endEditBlock();
        }
    }
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    takeFocusAfterInsertion();
}

// --- Caret and selection -----------------------------------------------------

int Editor::offsetFromPosition(int position) const {
    const QTextBlock block = document()->findBlock(position);
    return position + (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

int Editor::positionFromOffset(int offset) const {
    const QTextDocument* doc = document();
    if (offset <= 0) {
        return 0;
    }
    // The block b starts at offset position(b) + b; find the last block
    // starting at or before the offset (binary search over block numbers).
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        const QTextBlock b = doc->findBlockByNumber(mid);
        if (b.position() + mid <= offset) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const int inBlock = offset - (block.position() + lo);
    // An offset inside or after the CR LF pair lands at the end of the line.
    return block.position() + qMin(inBlock, block.length() - 1);
}

QPoint Editor::caretPos() const {
    const int pos = textCursor().selectionEnd();
    const QTextBlock block = document()->findBlock(pos);
    return QPoint(pos - block.position(), block.blockNumber());
}

int Editor::selStart() const {
    return offsetFromPosition(textCursor().selectionStart());
}

int Editor::selLength() const {
    const QTextCursor c = textCursor();
    return offsetFromPosition(c.selectionEnd()) - offsetFromPosition(c.selectionStart());
}

QString Editor::selText() const {
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

void Editor::setSelStart(int offset) {
    QTextCursor c = textCursor();
    c.setPosition(positionFromOffset(offset));
    setTextCursor(c);
}

void Editor::setSelLength(int length) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int end = positionFromOffset(offsetFromPosition(start) + qMax(0, length));
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void Editor::selectAllText() {
    selectAll();
}

void Editor::clearAll() {
    clear();
    spreadDefaultColour(true);
    form_ = PlainForm(); // a clean page is a new page
    document()->clearUndoRedoStacks();
    markUnchanged();
    followDeclaration();
    Q_EMIT lineBreakChanged();
}

// --- Clipboard and undo ------------------------------------------------------

void Editor::copyToClipboard() {
    copy();
}
void Editor::cutToClipboard() {
    cut();
}
void Editor::deleteSelection() {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        return;
    }
    c.beginEditBlock();
    c.removeSelectedText();
    c.endEditBlock();
    setTextCursor(c);
}
void Editor::pasteFromClipboard() {
    paste();
}
void Editor::undoLast() {
    const QScopedValueRollback<bool> undoing(undoing_, true);
    undo();
    followDefaultColour();
}

void Editor::redoLast() {
    const QScopedValueRollback<bool> undoing(undoing_, true);
    redo();
    followDefaultColour();
}

// --- Flags -------------------------------------------------------------------

bool Editor::wordWrap() const {
    return lineWrapMode() != QPlainTextEdit::NoWrap;
}

void Editor::setWordWrap(bool on) {
    if (on != wordWrap()) {
        setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        Q_EMIT wordWrapChanged();
    }
}

void Editor::setAcceptsTab(bool on) {
    setTabChangesFocus(!on);
}

// --- Default attributes ------------------------------------------------------

QColor Editor::defaultColour() const {
    return defaultColour_.isValid() ? defaultColour_ : palette().color(QPalette::Text);
}

void Editor::setDefaultColour(const QColor& colour) {
    showDefaultColour(colour);
    spreadDefaultColour(false);
}

void Editor::showDefaultColour(const QColor& colour) {
    defaultColour_ = colour;
    // The caret and anything drawn without a format take the text role; with
    // no default colour it is the theme's again.
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Text,
                   colour.isValid() ? colour
                                    : QApplication::palette(this).color(group, QPalette::Text));
    }
    setPalette(p);
}

// The default colour is one edit of the text: undo and redo take it away
// and give it back, so it is read again from the text, where the first
// character or line break marked with it tells it. The screen then shows
// what the file and the printout get. The first line's own format is kept
// outside the undo history, so it is made to agree.
void Editor::followDefaultColour() {
    auto marked = [](const QTextCharFormat& f) {
        return f.boolProperty(kDefaultColourMark) && f.hasProperty(QTextFormat::ForegroundBrush);
    };
    const QTextBlock first = document()->begin();
    std::optional<QColor> found;
    for (QTextBlock block = first; block.isValid() && !found; block = block.next()) {
        if (block != first && marked(block.charFormat())) {
            found = block.charFormat().foreground().color();
        }
        for (auto it = block.begin(); !it.atEnd() && !found; ++it) {
            if (marked(it.fragment().charFormat())) {
                found = it.fragment().charFormat().foreground().color();
            }
        }
    }
    if (!found && document()->characterCount() <= 1 && marked(first.charFormat())) {
        found = first.charFormat().foreground().color(); // nothing but the empty first line
    }
    const QColor colour = found.value_or(QColor());
    if (marked(first.charFormat()) && first.charFormat().foreground().color() != colour) {
        QTextCharFormat format = first.charFormat();
        if (colour.isValid()) {
            format.setForeground(colour);
        } else {
            format.clearForeground();
            format.clearProperty(kDefaultColourMark);
        }
        QTextCursor(document()).setBlockCharFormat(format);
    }
    if (colour != defaultColour_) {
        showDefaultColour(colour);
    }
}

QTextCharFormat Editor::ownColourFormat(const QColor& colour) {
    QTextCharFormat format;
    format.setForeground(colour);
    format.setProperty(kDefaultColourMark, false);
    return format;
}

QColor Editor::colourOf(const QTextCharFormat& format) const {
    return showsDefaultColour(format) ? defaultColour() : format.foreground().color();
}

bool Editor::hasOwnColour(const QTextCharFormat& format) {
    return !showsDefaultColour(format);
}

void Editor::spreadDefaultColour(bool joined) {
    if (!defaultColour_.isValid()) {
        return;
    }
    QTextCharFormat format;
    format.setForeground(defaultColour_);
    format.setProperty(kDefaultColourMark, true);
    // The places are gathered first, as few long runs: changing a format
    // joins and splits the fragments being walked, and every change costs.
    // A line's own format is that of the line break before it (of the
    // document's start for the first line).
    bool firstLine = false;
    QList<std::pair<int, int>> runs;
    auto add = [&runs](int start, int end) {
        if (!runs.isEmpty() && runs.last().second == start) {
            runs.last().second = end;
        } else {
            runs.append({start, end});
        }
    };
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (showsDefaultColour(block.charFormat())) {
            if (block.position() == 0) {
                firstLine = true;
            } else {
                add(block.position() - 1, block.position());
            }
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && showsDefaultColour(fragment.charFormat())) {
                add(fragment.position(), fragment.position() + fragment.length());
            }
        }
    }
    QTextCursor cursor(document());
    if (joined) {
        cursor.joinPreviousEditBlock();
    } else {
        cursor.beginEditBlock();
    }
    if (firstLine) {
        cursor.mergeBlockCharFormat(format);
    }
    for (const auto& [start, end] : runs) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
}

// --- Line numbers ---------------------------------------------------------------

namespace {

class LineNumberGutter final : public QWidget {
public:
    explicit LineNumberGutter(Editor* editor) : QWidget(editor), editor_(editor) {
        setObjectName(QStringLiteral("LineNumberGutter"));
        // It fills all it draws: scrolled, only the lines that come in are
        // drawn, the rest moved.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* e) override { editor_->paintLineNumbers(this, e->rect()); }

private:
    Editor* editor_;
};

} // namespace

void Editor::setLineNumbersShown(bool on) {
    if (on == lineNumbersShown()) {
        return;
    }
    if (!on) {
        delete gutter_;
        gutter_ = nullptr;
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    gutter_ = new LineNumberGutter(this);
    // Scrolled with the text, drawn again where the text is.
    connect(this, &QPlainTextEdit::updateRequest, gutter_, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            gutter_->scroll(0, dy);
        } else {
            gutter_->update(0, rect.y(), gutter_->width(), rect.height());
        }
    });
    connect(this, &QPlainTextEdit::blockCountChanged, gutter_, [this] { fitGutter(); });
    // The caret's line stands out: the number it left and the one it came
    // to are drawn again, not the whole gutter.
    connect(this, &QPlainTextEdit::cursorPositionChanged, gutter_, [this, line = -1]() mutable {
        const int now = textCursor().blockNumber();
        if (now != line) {
            QTextBlock block = firstVisibleBlock();
            qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
            for (; block.isValid() && top <= viewport()->height(); block = block.next()) {
                const qreal height = blockBoundingRect(block).height();
                if (block.blockNumber() == line || block.blockNumber() == now) {
                    gutter_->update(0, int(top), gutter_->width(), int(std::ceil(height)) + 1);
                }
                top += height;
            }
            line = now;
        }
    });
    fitGutter();
    gutter_->show();
}

// As wide as the page's last line number needs, two digits at least.
void Editor::fitGutter(int lines) {
    const int digits =
        qMax(2, int(QString::number(lines < 0 ? document()->blockCount() : lines).size()));
    const int width = fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 10;
    if (viewportMargins().left() != width) {
        setViewportMargins(width, 0, 0, 0);
    }
    placeGutter();
}

// Beside the text, as high as it (a gutter that reached under the
// horizontal scroll bar would be overlapped by it, and drawn again whole at
// every scroll instead of moved). A resize keeps the width: the line count
// may be in the middle of a change (a file's text going in).
void Editor::placeGutter() {
    const QRect area = contentsRect();
    gutter_->setGeometry(area.left(), viewport()->y(), viewportMargins().left(),
                         viewport()->height());
}

void Editor::resizeEvent(QResizeEvent* e) {
    QPlainTextEdit::resizeEvent(e);
    if (gutter_) {
        placeGutter();
    }
}

void Editor::changeEvent(QEvent* e) {
    QPlainTextEdit::changeEvent(e);
    if (gutter_ && e->type() == QEvent::FontChange) {
        fitGutter();
        gutter_->update();
    }
}

void Editor::paintLineNumbers(QWidget* gutter, const QRect& rect) {
    QPainter painter(gutter);
    const QPalette colours = palette();
    painter.fillRect(rect, colours.color(QPalette::Window));
    painter.setFont(font());
    const int caretLine = textCursor().blockNumber();
    const int right = gutter->width() - 5;
    const int lineHeight = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= rect.bottom()) {
        const qreal height = blockBoundingRect(block).height();
        if (block.isVisible() && top + height >= rect.top()) {
            QFont f = font();
            f.setBold(block.blockNumber() == caretLine);
            painter.setFont(f);
            painter.setPen(block.blockNumber() == caretLine
                               ? colours.color(QPalette::WindowText)
                               : colours.color(QPalette::PlaceholderText));
            painter.drawText(QRect(0, int(top), right, lineHeight),
                             Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}

// --- Long lines ----------------------------------------------------------------

// Runs before the layout sees the change. The blocks the change touched
// that are long keep their glyphs and are shaped the light way; a single
// block that is no longer long goes back to the usual way.
void Editor::noteLongLines(int from, int added) {
    const QTextDocument* doc = document();
    QTextBlock block = doc->findBlock(from);
    const QTextBlock last = doc->findBlock(from + added);
    const bool single = block == last;
    for (; block.isValid(); block = block.next()) {
        if (block.length() > kLongLine) {
            block.layout()->setCacheEnabled(true);
            shapeLightly(block, true);
        } else if (single && shapeLightly(block, false)) {
            block.layout()->setCacheEnabled(false);
        }
        if (block == last) {
            break;
        }
    }
}

// Qt shapes a line again for every repaint unless its layout keeps its
// glyphs, and a caret move repaints the caret's line: the lines on screen
// and a screen's worth above and below it that are long enough for that to
// matter keep them, set before Qt lays the new ones out; a line that leaves
// that stretch lets them go, so that what is kept stays within it.
void Editor::keepShownGlyphs() {
    const auto [first, end] = nearBlocks();
    QList<int> shown;
    for (QTextBlock b = first; b.isValid() && b != end; b = b.next()) {
        if (b.length() > kGlyphsKeptFrom && b.length() <= kLongLine) {
            b.layout()->setCacheEnabled(true);
            shown.append(b.blockNumber());
        }
    }
    for (const int number : std::as_const(glyphsKept_)) {
        const QTextBlock b = document()->findBlockByNumber(number);
        if (b.isValid() && b.length() <= kLongLine && !shown.contains(number)) {
            QTextLayout* layout = b.layout();
            layout->setCacheEnabled(false);
            // A layout that keeps nothing lets go of its glyphs after a
            // draw; one outside the clip draws nothing.
            QImage nowhere(1, 1, QImage::Format_ARGB32_Premultiplied);
            QPainter painter(&nowhere);
            layout->draw(&painter, QPointF(0, -1e6), {}, QRectF(0, 0, 1, 1));
        }
    }
    glyphsKept_ = std::move(shown);
}

std::pair<QTextBlock, QTextBlock> Editor::nearBlocks() const {
    const int screen = viewport()->height() / qMax(1, fontMetrics().lineSpacing()) + 2;
    QTextBlock first = firstVisibleBlock();
    for (int k = 0; k < screen && first.previous().isValid(); ++k) {
        first = first.previous();
    }
    QTextBlock end = firstVisibleBlock();
    for (int k = 0; k < 2 * screen && end.isValid(); ++k) {
        end = end.next();
    }
    return {first, end};
}

std::pair<QTextBlock, QTextBlock> Editor::shownBlocks() const {
    const QTextBlock first = firstVisibleBlock();
    const int height = viewport()->height();
    qreal top = blockBoundingGeometry(first).translated(contentOffset()).top();
    QTextBlock block = first;
    while (block.isValid() && top <= height) {
        top += blockBoundingRect(block).height();
        block = block.next();
    }
    return {first, block};
}

bool Editor::showsLineDrawnInPart() const {
    if (lineWrapMode() != NoWrap) {
        return false;
    }
    const int height = viewport()->height();
    qreal top = contentOffset().y();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && top <= height;
         block = block.next()) {
        if (lineDrawnInPart(block).isValid()) {
            return true;
        }
        top += blockBoundingRect(block).height();
    }
    return false;
}

void Editor::paintEvent(QPaintEvent* e) {
    if (showsLineDrawnInPart()) {
        paintInParts(e);
    } else {
        QPlainTextEdit::paintEvent(e);
    }
}

// The widget's own painting, except that a line of some thousand characters
// or more draws only the part that meets the repainted rectangle.
void Editor::paintInParts(QPaintEvent* e) {
    QPainter painter(viewport());
    QPointF offset(contentOffset());
    QRect clip = e->rect();
    const QRect viewportRect = viewport()->rect();
    const bool editable = !isReadOnly();
    const qreal maximumWidth = document()->documentLayout()->documentSize().width();
    painter.setBrushOrigin(offset);
    // The right margin stays clear of full-width selections.
    const int maxX = int(offset.x() + qMax(qreal(viewportRect.width()), maximumWidth) -
                         document()->documentMargin() + cursorWidth());
    clip.setRight(qMin(clip.right(), maxX));
    painter.setClipRect(clip);

    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());

    QTextBlock block = firstVisibleBlock();
    for (; block.isValid(); block = block.next()) {
        const QRectF r = blockBoundingRect(block).translated(offset);
        if (!block.isVisible()) {
            offset.ry() += r.height();
            continue;
        }
        QTextLayout* layout = block.layout();
        if (r.bottom() >= clip.top() && r.top() <= clip.bottom()) {
            const QBrush background = block.blockFormat().background();
            if (background != Qt::NoBrush) {
                QRectF contents = r;
                contents.setWidth(qMax(r.width(), maximumWidth));
                painter.save();
                painter.setBrushOrigin(contents.topLeft());
                painter.fillRect(contents, background);
                painter.restore();
            }
            const int blockStart = block.position();
            const int blockLength = block.length();
            QList<QTextLayout::FormatRange> selections;
            for (const QAbstractTextDocumentLayout::Selection& range : context.selections) {
                const int start = range.cursor.selectionStart() - blockStart;
                const int end = range.cursor.selectionEnd() - blockStart;
                if (start < blockLength && end > 0 && end > start) {
                    selections.append({start, end - start, range.format});
                } else if (!range.cursor.hasSelection() &&
                           range.format.hasProperty(QTextFormat::FullWidthSelection) &&
                           block.contains(range.cursor.position())) {
                    const QTextLine l =
                        layout->lineForTextPosition(range.cursor.position() - blockStart);
                    QTextLayout::FormatRange o{l.textStart(), l.textLength(), range.format};
                    if (o.start + o.length == blockLength - 1) {
                        ++o.length; // the line break too
                    }
                    selections.append(o);
                }
            }
            const bool drawCursor =
                (editable || (textInteractionFlags() & Qt::TextSelectableByKeyboard)) &&
                context.cursorPosition >= blockStart &&
                context.cursorPosition < blockStart + blockLength;
            bool cursorAsBlock = drawCursor && overwriteMode();
            if (cursorAsBlock) {
                if (context.cursorPosition == blockStart + blockLength - 1) {
                    cursorAsBlock = false;
                } else {
                    QTextLayout::FormatRange o;
                    o.start = context.cursorPosition - blockStart;
                    o.length = 1;
                    o.format.setForeground(palette().base());
                    o.format.setBackground(palette().text());
                    selections.append(o);
                }
            }

            // A line that runs right to left is drawn whole.
            const QTextLine inPart =
                block.textDirection() == Qt::LeftToRight ? lineDrawnInPart(block) : QTextLine();
            if (inPart.isValid()) {
                const bool caret = drawCursor && !cursorAsBlock;
                drawLinePart(painter, block, inPart, offset, selections, clip,
                             caret ? context.cursorPosition - blockStart : -1);
            } else {
                layout->draw(&painter, offset, selections, clip);
            }

            const bool preedit =
                editable && context.cursorPosition < -1 && !layout->preeditAreaText().isEmpty();
            if (preedit || (drawCursor && !cursorAsBlock && !inPart.isValid())) {
                int position = context.cursorPosition;
                if (position < -1) {
                    position = layout->preeditAreaPosition() - (position + 2);
                } else {
                    position -= blockStart;
                }
                layout->drawCursor(&painter, offset, position, cursorWidth());
            }
        }
        offset.ry() += r.height();
        if (offset.y() > viewportRect.height()) {
            break;
        }
    }

    if (backgroundVisible() && !block.isValid() && offset.y() <= clip.bottom() &&
        (centerOnScroll() || verticalScrollBar()->maximum() == verticalScrollBar()->minimum())) {
        painter.fillRect(QRect(QPoint(clip.left(), int(offset.y())), clip.bottomRight()),
                         palette().window());
    }
}

// Draws the part of the line that meets the clip: a layout of just that
// part, with the whole line's formats and shaped the same way, placed where
// the whole line's layout has it, so that its tab stops and glyph positions
// agree with the whole line. Finding where the part starts walks the line;
// the answer is kept while the line, its layout and the scroll position
// stay, so a caret blink costs only the part.
//
// Positions count as the whole line's layout counts them: text being
// composed stands in it at its place, though not yet in the document.
void Editor::drawLinePart(QPainter& painter, const QTextBlock& block, const QTextLine& line,
                          const QPointF& offset, const QList<QTextLayout::FormatRange>& selections,
                          const QRectF& clip, int caret) {
    const QTextLayout* layout = block.layout();
    const bool light = block.length() > kLongLine;
    const QString preedit = layout->preeditAreaText();
    const int preeditLength = int(preedit.size());
    const int preeditAt = preedit.isEmpty() ? INT_MAX : layout->preeditAreaPosition();
    const int length = block.length() - 1 + preeditLength;
    // A position of the document's line in the layout, and the other way.
    const auto inLayout = [&](int offset) {
        return offset < preeditAt ? offset : offset + preeditLength;
    };
    const auto inDocument = [&](int position) {
        return position <= preeditAt ? position : qMax(preeditAt, position - preeditLength);
    };
    const auto charAt = [&](int position) {
        if (position >= preeditAt && position < preeditAt + preeditLength) {
            return preedit.at(position - preeditAt);
        }
        return document()->characterAt(block.position() + inDocument(position));
    };
    // The part starts and ends next to a strong left-to-right character (or
    // the composed text), so that right-to-left runs are ordered inside it as
    // in the whole line; never inside a surrogate pair.
    constexpr int kLongestRun = 256;
    const auto cutBefore = [&](int position) {
        for (int k = 0;
             k < kLongestRun && position > 0 && charAt(position - 1).direction() != QChar::DirL;
             ++k) {
            --position;
        }
        if (position > preeditAt && position < preeditAt + preeditLength) {
            position = preeditAt;
        }
        if (position > 0 && charAt(position).isLowSurrogate()) {
            --position;
        }
        return position;
    };
    const auto cutAfter = [&](int position) {
        for (int k = 0; k < kLongestRun && position < length &&
                        charAt(position - 1).direction() != QChar::DirL;
             ++k) {
            ++position;
        }
        if (position > preeditAt && position < preeditAt + preeditLength) {
            position = preeditAt + preeditLength;
        }
        if (position < length && charAt(position).isLowSurrogate()) {
            ++position;
        }
        return position;
    };

    const qreal left = clip.left() - offset.x();
    const qreal right = clip.right() + 1 - offset.x();
    LongLineStart& start = longLineStart_;
    if (start.layout != layout || start.revision != block.revision() ||
        start.width != line.naturalTextWidth() || start.left != left) {
        // A few characters more on the left cover glyphs that reach over
        // their own cell.
        const int from = cutBefore(qMax(0, line.xToCursor(left) - 8));
        start = {layout, block.revision(),    line.naturalTextWidth(), left,
                 from,   line.cursorToX(from)};
    }
    const int from = start.from;
    const qreal x = start.x;

    // The part keeps the whole line's direction and its tab stops, which
    // count from the line's start.
    QTextOption option = layout->textOption();
    option.setTextDirection(Qt::LeftToRight);
    const qreal tab = option.tabStopDistance() > 0 ? option.tabStopDistance() : 80;
    const qreal before = x - line.x();
    QList<QTextOption::Tab> tabs;
    for (qreal stop = (std::floor(before / tab) + 1) * tab; stop - before < right - x + tab;
         stop += tab) {
        tabs.append(QTextOption::Tab(stop - before, QTextOption::LeftTab));
    }
    option.setTabs(tabs);

    // Enough characters to fill the width; more when they do not.
    int count = int((right - x) / 4) + 64;
    for (;;) {
        const int to = cutAfter(qMin(length, from + count));
        const bool withPreedit = from <= preeditAt && preeditAt + preeditLength <= to;
        // Only the part is copied out of the document.
        const int documentFrom = inDocument(from);
        const int documentTo = inDocument(to);
        QTextCursor piece(document());
        piece.setPosition(block.position() + documentFrom);
        piece.setPosition(block.position() + documentTo, QTextCursor::KeepAnchor);
        QString text = piece.selectedText();
        QList<QTextLayout::FormatRange> formats;
        const auto addFormat = [&](int rangeStart, int rangeEnd, QTextCharFormat format) {
            if (rangeEnd > rangeStart) {
                if (light) {
                    format.setFontStyleStrategy(QFont::PreferNoShaping);
                }
                formats.append({rangeStart - from, rangeEnd - rangeStart, format});
            }
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int fragmentStart = qMax(fragment.position() - block.position(), documentFrom);
            const int fragmentEnd =
                qMin(fragment.position() - block.position() + fragment.length(), documentTo);
            if (fragmentEnd <= fragmentStart) {
                continue;
            }
            // The composed text splits a fragment it stands in.
            if (fragmentStart < preeditAt && preeditAt < fragmentEnd) {
                addFormat(fragmentStart, preeditAt, fragment.charFormat());
                addFormat(inLayout(preeditAt), inLayout(fragmentEnd), fragment.charFormat());
            } else {
                addFormat(inLayout(fragmentStart), inLayout(fragmentEnd), fragment.charFormat());
            }
        }
        if (withPreedit) {
            text.insert(preeditAt - documentFrom, preedit);
        }
        // The layout's own formats over the document's: on a long line only
        // the input method's (an underline) over the composed text; on a
        // shorter one the view's colours and marks as well.
        for (const QTextLayout::FormatRange& r : layout->formats()) {
            if (!light) {
                addFormat(qMax(r.start, from), qMin(r.start + r.length, to), r.format);
            } else if (withPreedit) {
                addFormat(qMax(r.start, preeditAt),
                          qMin(r.start + r.length, preeditAt + preeditLength), r.format);
            }
        }
        QTextLayout part(text, document()->defaultFont(), painter.device());
        part.setTextOption(option);
        part.setFormats(formats);
        part.beginLayout();
        QTextLine partLine = part.createLine();
        partLine.setLeadingIncluded(true);
        partLine.setLineWidth(qreal(INT_MAX / 256));
        part.endLayout();
        if (to < length && x + partLine.naturalTextWidth() < right) {
            count *= 2;
            continue;
        }
        const qreal base = line.ascent() + qMax<qreal>(0, line.leading());
        const qreal partBase = partLine.ascent() + qMax<qreal>(0, partLine.leading());
        partLine.setPosition(QPointF(x, line.y() + base - partBase));

        QList<QTextLayout::FormatRange> shown;
        for (const QTextLayout::FormatRange& s : selections) {
            const int selectionStart = qMax(inLayout(s.start), from);
            int selectionEnd = qMin(inLayout(s.start + s.length), to);
            // A selection past the line's end shows the line break too.
            if (to == length && inLayout(s.start + s.length) > length) {
                selectionEnd = length + 1;
            }
            if (selectionEnd > selectionStart) {
                shown.append({selectionStart - from, selectionEnd - selectionStart, s.format});
            }
        }
        part.draw(&painter, offset, shown, clip);
        if (caret >= from && caret <= to) {
            part.drawCursor(&painter, offset, caret - from, cursorWidth());
        }
        return;
    }
}

// --- Events ------------------------------------------------------------------

// Focus that only follows the window being (de)activated or a menu opening
// is no entering or leaving of the editor.
static bool movesFocus(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void Editor::focusInEvent(QFocusEvent* e) {
    QPlainTextEdit::focusInEvent(e);
    if (movesFocus(e->reason())) {
        Q_EMIT entered();
    }
}

void Editor::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    if (movesFocus(e->reason())) {
        Q_EMIT left();
    }
}

void Editor::keyPressEvent(QKeyEvent* e) {
    if (completionPopup_ && completionPopup_->isVisible()) {
        switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            e->ignore(); // the list's
            return;
        default:
            break;
        }
    }
    // Shift+Enter would put a line separator inside the line; it starts a new
    // line like Enter.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        (e->modifiers() & Qt::ShiftModifier) && !isReadOnly()) {
        QTextCursor c = textCursor();
        c.insertBlock();
        setTextCursor(c);
        ensureCursorVisible();
        Q_EMIT typed(QStringLiteral("\n"));
        return;
    }
    // Shift+F10 opens the popup menu at the caret, as the Menu key does (for
    // which the window system sends the menu's event itself).
    if (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier) {
        const QPoint at = viewport()->mapTo(this, cursorRect().center());
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, mapToGlobal(at));
        QApplication::sendEvent(this, &menu);
        return;
    }
    const bool undoKey = e->matches(QKeySequence::Undo) || e->matches(QKeySequence::Redo);
    const QScopedValueRollback<bool> undoing(undoing_, undoKey);
    const int before = document()->revision();
    QPlainTextEdit::keyPressEvent(e);
    if (undoKey) {
        followDefaultColour();
    } else if (document()->revision() != before && !isReadOnly()) {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            Q_EMIT typed(QStringLiteral("\n"));
        } else if (!e->text().isEmpty() && e->text().at(0).isPrint()) {
            Q_EMIT typed(e->text());
        }
    }
}

// The widget ends an input-method event (a dead key, a composed character)
// by giving the caret's line the formats of the text being composed, in
// place of all others: a long line gets its light shaping back.
void Editor::inputMethodEvent(QInputMethodEvent* e) {
    QPlainTextEdit::inputMethodEvent(e);
    const QTextBlock block = textCursor().block();
    if (block.length() > kLongLine && shapeLightly(block, true)) {
        document()->markContentsDirty(block.position(), block.length());
    }
    Q_EMIT viewFormatsLost();
}

void Editor::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || !source || !source->hasText()) {
        return;
    }
    QTextCursor c = textCursor();
    c.insertText(withPlainBreaks(source->text()));
    setTextCursor(c);
    ensureCursorVisible();
}

} // namespace zelvar
