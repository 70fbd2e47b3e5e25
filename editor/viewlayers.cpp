#include "editor/viewlayers.h"

#include <QPlainTextEdit>
#include <algorithm>

namespace zelvar {

namespace {

bool sameMarks(const QList<QTextEdit::ExtraSelection>& a,
               const QList<QTextEdit::ExtraSelection>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.cursor.selectionStart() == y.cursor.selectionStart() &&
               x.cursor.selectionEnd() == y.cursor.selectionEnd() && x.format == y.format;
    });
}

} // namespace

ViewLayers::ViewLayers(QPlainTextEdit* editor) : QObject(editor), editor_(editor) {}

void ViewLayers::setLineLayer(Rank rank, LineLayer layer) {
    if (layer) {
        lineLayers_[rank] = std::move(layer);
    } else if (lineLayers_.erase(rank) == 0) {
        return; // was off already
    }
    Q_EMIT linesChanged();
}

void ViewLayers::addLineFormats(const QTextBlock& block, QStringView line, int state,
                                const QList<HtmlSpan>& spans,
                                QList<QTextLayout::FormatRange>& formats) const {
    for (const auto& [rank, layer] : lineLayers_) {
        layer(block, line, state, spans, formats);
    }
}

void ViewLayers::setMarks(Rank rank, const QList<QTextEdit::ExtraSelection>& marks) {
    if (sameMarks(this->marks(rank), marks)) {
        return; // as shown
    }
    if (marks.isEmpty()) {
        marks_.erase(rank);
    } else {
        marks_[rank] = marks;
    }
    QList<QTextEdit::ExtraSelection> all;
    for (const auto& [r, shown] : marks_) {
        all.append(shown);
    }
    editor_->setExtraSelections(all);
}

QList<QTextEdit::ExtraSelection> ViewLayers::marks(Rank rank) const {
    const auto it = marks_.find(rank);
    return it == marks_.end() ? QList<QTextEdit::ExtraSelection>() : it->second;
}

} // namespace zelvar
