#pragma once
// The Editor adapter: one multi-line editing control with the operations the
// rest of the program uses, under their established names and with their
// exact semantics.
//
// Positions: Qt counts a line break as one character; SelStart, SelLength
// and SelText count and write it as the two characters CR LF.
// Lines: the empty last line after a final line break is not counted.
// Modified: the program's own flag; set by every change of the text and
// cleared only by Clear (an undo back to the earlier text leaves it set).

#include <QColor>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPointer>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextLayout>
#include <optional>
#include <utility>

#include "text/pagefile.h"
#include "text/textencoding.h"

namespace zelvar {

class ViewLayers;

class Editor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit Editor(QWidget* parent = nullptr);

    // --- Lines -----------------------------------------------------------
    int lineCount() const;                    // Lines.Count
    QString line(int i) const;                // Lines[i]
    void setLine(int i, const QString& text); // Lines[i] := text
    QString text() const;                     // Lines.Text, CR LF after every line
    void setText(const QString& text);        // Lines.Text := text
    void addLine(const QString& text);        // Lines.Add
    void clearLines();                        // Lines.Clear
    // Lines.LoadFromFile (throws FileError). A plain-text file from
    // kLoadInPartsFrom bytes on is decoded off the interface thread and goes
    // in by parts, the window answering meanwhile and loadProgress telling
    // how far; Esc stops it and leaves the page as it was: false.
    bool loadFromFile(const QString& path);
    static constexpr qint64 kLoadInPartsFrom = 4 * 1024 * 1024;
    void saveToFile(const QString& path); // Lines.SaveToFile (throws FileError)

    // --- Insertion at the caret -------------------------------------------
    // Line insertion: the text goes into line y after its first x characters
    // (appended when x is at or past the line's end), as if the line were
    // read, changed and written back whole; afterwards the caret stands at
    // the end of that line and nothing is selected. Nothing happens for a
    // line beyond the last one.
    void insertInLine(QPoint at, const QString& text);
    // Both take the keyboard focus when the editor is shown.
    // Line insertion at CaretPos (the end of the selection).
    void insertInCaretLine(const QString& text);
    // Text insertion: the text goes in at SelStart (before the selection) of
    // the whole text as Lines.Text gives it, every line followed by a line
    // break, as if that string were changed and written back; afterwards the
    // caret stands at the end of the text and nothing is selected.
    void insertAtSelStart(const QString& text);

    // --- Caret and selection -----------------------------------------------
    QPoint caretPos() const; // x = column, y = line, at the selection's end
    int selStart() const;
    int selLength() const;
    QString selText() const;
    void setSelStart(int offset);  // collapses the selection there
    void setSelLength(int length); // extends from SelStart
    void selectAllText();          // SelectAll
    void clearAll();               // Clear: empties the text, clears Modified

    // --- Clipboard and undo ------------------------------------------------
    void copyToClipboard();
    void cutToClipboard();
    // Delete: removes the selection as one undo step and leaves the clipboard
    // as it was; with nothing selected it does nothing.
    void deleteSelection();
    void pasteFromClipboard();
    void undoLast();
    void redoLast();

    // --- Flags -------------------------------------------------------------
    // Whether the text changed since it was last read or written to its
    // file (Modified): every change sets it, and undoing back to the text
    // read or written clears it again.
    bool isModifiedFlag() const { return modified_; }
    // The text now is what its file holds: read from it, or just written.
    void markUnchanged();
    // The text differs from its file though it was just read (from a backup
    // in the file's place).
    void markChanged() { setModified(true); }
    bool plainTextMode() const { return plainText_; } // PlainText
    void setPlainTextMode(bool on) { plainText_ = on; }
    // The encoding of the page's plain-text form: what its last plain-text
    // load read, what its last plain-text save wrote or what the user chose;
    // Windows-1250 again after Clear or a rich-text load.
    TextEncoding encoding() const { return form_.encoding; }
    void setEncoding(TextEncoding encoding);
    // The break most lines of the plain-text form end with: what the file
    // was read with, CR LF for a new page. Set, every line ends with it from
    // the next write on.
    LineBreak lineBreak() const { return form_.lineBreak; }
    void setLineBreak(LineBreak lineBreak);
    // The encoding the next plain-text save writes (text/pagefile.h: a
    // declaration typed into the page may decide), and whether that differs
    // from what the page's text declares now. encodingChanged() tells when
    // either changes.
    TextEncoding writeEncoding() const { return writes_; }
    bool contradictsDeclaration() const { return contradicts_; }
    std::optional<TextEncoding> declaredEncoding() const { return declaredNow_; }
    // Whether loads and saves follow the charset the text declares (a web
    // page's rules; on unless turned off).
    void setPageRules(bool on) {
        pageRules_ = on;
        followDeclaration();
    }
    bool wordWrap() const;
    void setWordWrap(bool on);

    // Whether the Tab key inserts a tab character (otherwise it moves the focus).
    void setAcceptsTab(bool on);

    // --- Default attributes --------------------------------------------------
    // The default colour belongs to the text: every character without a
    // colour of its own carries it in its format (marked as the default's),
    // and so does every line's format, so that new text takes it. Saving and
    // printing therefore see it. Until one is chosen, text has no colour and
    // shows the editor's text colour.
    QColor defaultColour() const; // DefAttributes.Color
    void setDefaultColour(const QColor& colour);
    // A format that gives characters a colour of their own (SelAttributes).
    static QTextCharFormat ownColourFormat(const QColor& colour);
    // The colour a character shows: its own, else the default.
    QColor colourOf(const QTextCharFormat& format) const;
    // Whether the format gives its characters a colour of their own.
    static bool hasOwnColour(const QTextCharFormat& format);

    // A completion list shown at the caret: while it is visible, Return,
    // Enter, Tab and Esc are its own (they choose or close), every other key
    // goes on into the text.
    void setCompletionPopup(QWidget* popup) { completionPopup_ = popup; }

    // The stack of what is only shown over the text.
    ViewLayers& layers() const { return *layers_; }

    // A gutter at the left with the numbers of the lines on screen (a line
    // that wraps is numbered once), the caret's line in bold. It is no part
    // of the text: nothing saved, copied or printed has it.
    bool lineNumbersShown() const { return gutter_ != nullptr; }
    void setLineNumbersShown(bool on);
    // Draws the gutter's part of the numbers.
    void paintLineNumbers(QWidget* gutter, const QRect& rect);

    // The lines on screen: the first one and the one after the last.
    std::pair<QTextBlock, QTextBlock> shownBlocks() const;

    // From this length on a line is a long line: it keeps its glyphs between
    // changes, is shaped the light way and is drawn by its visible part.
    static constexpr int kLongLine = 10000;
    // From this length on an unwrapped line is drawn by its visible part.
    static constexpr int kDrawnInPartFrom = 1000;

    // Converts between Qt document positions and offsets that count a line
    // break as two characters.
    int offsetFromPosition(int position) const;
    int positionFromOffset(int offset) const;

Q_SIGNALS:
    void changed(); // after every change of the text
    void entered(); // the editor received the keyboard focus
    void left();    // the editor lost the keyboard focus
    void encodingChanged();
    void lineBreakChanged(); // after a read, a Clear or a choice
    void modifiedChanged();  // the modified flag turned
    void wordWrapChanged();
    // A key typed text into the page, after it went in ("\n" for Return).
    void typed(const QString& text);
    // A big file going in: 0 to 100, then -1 when it is in or stopped.
    void loadProgress(int percent);
    // An input method replaced the display formats of the caret's line.
    void viewFormatsLost();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    // A long line keeps its shaped glyphs between changes and is drawn by
    // its visible part only, so that a repaint costs what is shown.
    void noteLongLines(int from, int added);
    // Lines on screen from this length on keep their shaped glyphs.
    static constexpr int kGlyphsKeptFrom = 256;
    void keepShownGlyphs();
    // The lines on screen with a screen's worth above and below them, the
    // first one and the one after the last; found without laying out any
    // line (a line is at least one line of text high), so that their
    // layouts can be prepared before Qt lays them out.
    std::pair<QTextBlock, QTextBlock> nearBlocks() const;
    QList<int> glyphsKept_; // the numbers of the lines that keep them
    int blockCount_ = 1;    // as the last change left it
    // Unwrapped lines from this length on are drawn by their visible part:
    // drawing a whole line costs its length, whatever the clip.
    bool showsLineDrawnInPart() const;
    void paintInParts(QPaintEvent* e);
    void drawLinePart(QPainter& painter, const QTextBlock& block, const QTextLine& line,
                      const QPointF& offset, const QList<QTextLayout::FormatRange>& selections,
                      const QRectF& clip, int caret);

    // Where the drawn part of a line starts, for its layout, revision and
    // width and the left edge of what is drawn.
    struct LongLineStart {
        const QTextLayout* layout = nullptr;
        int revision = -1;
        qreal width = 0;
        qreal left = 0;
        int from = 0;
        qreal x = 0;
    };
    LongLineStart longLineStart_;

    bool loadInParts(const QString& path);
    EncodingRule encodingRule() const;
    void fitGutterFor(QStringView text);
    void loaded(); // after a read of the whole file
    void takeFocusAfterInsertion();
    // Writing text back that equals what was there is still a change.
    void noteRewrite();
    void setModified(bool on);
    // Gives the default colour to every character and line that has no
    // colour of its own; `joined` makes it part of the edit just made.
    void spreadDefaultColour(bool joined);
    // Shows the colour as the default one (an invalid colour: none).
    void showDefaultColour(const QColor& colour);
    void followDefaultColour();

    // Works out the next save's encoding again after a change near the start.
    void followDeclaration();

    ViewLayers* layers_;
    QWidget* gutter_ = nullptr;
    QPointer<QWidget> completionPopup_;
    // For the page's lines, or for this many.
    void fitGutter(int lines = -1);
    void placeGutter();
    bool modified_ = false;
    bool undoing_ = false;       // in an undo or redo
    bool cleanReachable_ = true; // undo can lead back to the text last read or written
    bool plainText_ = false;
    PlainForm form_;
    TextEncoding writes_ = TextEncoding::Windows1250;
    std::optional<TextEncoding> declaredNow_;
    bool contradicts_ = false;
    bool pageRules_ = true;
    bool holdChanged_ = false; // an edit whose change is announced by the next one
    QColor defaultColour_;     // invalid until chosen
};

} // namespace zelvar
