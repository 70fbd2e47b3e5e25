#pragma once
// The HTML of a page editor in colour, and the tag that belongs to the one
// under the caret marked with a light background: the colouring and the
// matching-tag layers of the editor's view stack. It builds the lines on
// screen for every line layer of the stack, the colours at the bottom.
// All of it is a view only: the colours are formats of the lines' layouts
// and the marks are extra selections, so nothing enters the document, its
// undo history or its modified state, nor anything saved, copied or printed
// from it.
//
// Only the lines on screen are coloured. The state each line starts in
// depends on every line before it; it is kept per line, read by the cheap
// pass as far as the lines shown need it, read further while the program
// waits, and forgotten from an edited line on when the edit changes how the
// line ends. A screen far below the lines read so far is coloured from the
// lines just above it until the reading reaches it. Long lines stay plain:
// their layouts belong to the editor's light shaping. Text with a colour of
// its own keeps it.

#include <QColor>
#include <QList>
#include <QObject>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "text/codesyntax.h"
#include "text/htmlsyntax.h"

class QTextBlock;

namespace zelvar {

class Editor;

class HtmlHighlighter : public QObject {
    Q_OBJECT
public:
    // Colours the editor from now on; the editor owns it.
    explicit HtmlHighlighter(Editor* editor);
    // The editor's highlighter, or nullptr.
    static HtmlHighlighter* of(const Editor* editor);

    bool isEnabled() const { return enabled_; }
    // Off, the lines lose their colours and the marks go.
    void setEnabled(bool on);

    // What the page holds: HTML (from the start), a style sheet or a
    // script. Only HTML has matching tags and a text to spell; reach and
    // nearStartState give nothing for the others.
    PageLanguage language() const { return language_; }
    void setLanguage(PageLanguage language);

    // Builds the view of the lines on screen that need it (shown for the
    // first time, edited, or starting in another state), before the next
    // repaint.
    void schedule();
    // The same for every line on screen: what the view shows has changed
    // (the words a line layer knows, say).
    void invalidate();

    // The state the line starts in, read as far as needed.
    int startState(const QTextBlock& block);
    // The same, but nothing while the reading of the page has yet to come
    // near the line: what a key asks for never waits on a reading of the
    // whole page.
    std::optional<int> nearStartState(const QTextBlock& block);

    // The text around a position as the search for a partner tag reads it:
    // from the first whole line at most kMatchReach before the position to
    // `after` characters past it, with where it starts and the state it
    // starts in; nothing as for nearStartState.
    struct Reach {
        QString text;
        int start;
        int state;
    };
    std::optional<Reach> reach(int position, int after);

    // The colour of a kind, and of the marks, on a background: one set for
    // light backgrounds and one for dark ones, each readable on its
    // background (and under the marks) and telling the kinds apart in the
    // common colour-vision deficiencies.
    static QColor colour(HtmlKind kind, const QColor& background);
    static QColor markColour(const QColor& background);

    // How far the search for a partner tag reaches on either side of the
    // caret, in characters.
    static constexpr int kMatchReach = 16000;

Q_SIGNALS:
    // The text changes from this line on; sent before the edited lines are
    // built again.
    void linesChanging(int firstLine);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void noteChange(int from, int removed, int added);
    void refresh();
    void readStates(int blockCount);
    int guessState(const QTextBlock& block);
    void readAhead();
    // The line's colours when it starts in the state; the state becomes the
    // one it ends in.
    QList<QTextLayout::FormatRange> lineFormats(const QTextBlock& block, int& state);
    void markTags();
    void scheduleMarks();
    QList<QTextEdit::ExtraSelection> tagMarks();

    Editor* editor_;
    bool enabled_ = true;
    PageLanguage language_ = PageLanguage::Html;
    LineReader reader_ = lineReader(PageLanguage::Html);
    bool scheduled_ = false;
    bool marksScheduled_ = false;
    // Counts the changes of what every line shows; a line built under an
    // older count is built again.
    quint64 generation_ = 0;
    int blockCount_ = 0;   // as the last change left it
    int guessedLine_ = -1; // the first line of a screen coloured from a guess
    // The state each line ends in, from the first line on as far as read.
    std::vector<unsigned char> endStates_;
    QTimer readAhead_;
    QList<HtmlSpan> spans_;
    QList<QTextLayout::FormatRange> ownColours_;
    QColor formatsBackground_;
    QList<QTextCharFormat> kindFormats_;
};

} // namespace zelvar
