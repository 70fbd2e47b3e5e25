#pragma once
// The view of a page editor in ranked layers: what is only shown (colours,
// matching tags, spelling underlines, search marks, the caret's mark of the
// preview) and never enters the document, its undo history or its modified
// state, nor anything saved, copied or printed from it. Every editor has its
// stack from the start.
//
// A line layer adds formats to the lines on screen as they are built (the
// page's HTML view builds them and gives each the line's coloured parts);
// a mark layer holds extra selections. Layers are applied in rank order, a
// higher rank over a lower one, and each adds to what is below it: a colour
// and an underline on one word both show. A layer that is off is not in the
// stack and costs nothing.

#include <QList>
#include <QObject>
#include <QStringView>
#include <QTextEdit>
#include <QTextLayout>
#include <functional>
#include <map>

#include "text/htmlsyntax.h"

class QPlainTextEdit;
class QTextBlock;

namespace zelvar {

class ViewLayers : public QObject {
    Q_OBJECT
public:
    enum Rank {
        Colouring = 0, // drawn by the HTML view itself, below every line layer
        MatchingTags = 10,
        Spelling = 20,
        SearchMarks = 30,
        PreviewCaret = 40,
    };

    explicit ViewLayers(QPlainTextEdit* editor);

    // Given a line on screen (its block and text), the state it starts in
    // and its coloured parts, appends formats of its own.
    using LineLayer =
        std::function<void(const QTextBlock& block, QStringView line, int state,
                           const QList<HtmlSpan>& spans, QList<QTextLayout::FormatRange>& formats)>;
    // Puts the layer in its rank, or takes it out with an empty one; the
    // lines on screen are built again.
    void setLineLayer(Rank rank, LineLayer layer);
    bool hasLineLayers() const { return !lineLayers_.empty(); }
    void addLineFormats(const QTextBlock& block, QStringView line, int state,
                        const QList<HtmlSpan>& spans,
                        QList<QTextLayout::FormatRange>& formats) const;

    // The marks of the rank, in place of those it had; the editor shows
    // every rank's.
    void setMarks(Rank rank, const QList<QTextEdit::ExtraSelection>& marks);
    QList<QTextEdit::ExtraSelection> marks(Rank rank) const;

Q_SIGNALS:
    // What the line layers show changed: the lines must be built again.
    void linesChanged();

private:
    QPlainTextEdit* editor_;
    std::map<int, LineLayer> lineLayers_;
    std::map<int, QList<QTextEdit::ExtraSelection>> marks_;
};

} // namespace zelvar
