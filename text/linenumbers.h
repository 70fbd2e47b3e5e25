#pragma once
// Line numbers kept beside a document, renumbered after a change of its
// lines.

#include <QList>
#include <algorithm>

namespace zelvar {

// The items as they stand after a change that starts in line `first` and
// adds `delta` lines (removes -delta when negative): items before `first`
// keep their numbers; of the lines the change joins, the last one's item
// stays (a line keeps what belongs to its end) and the others go; later
// ones move on.
// `line` gives an item's line number as a reference to change.
template <typename T, typename Line>
void renumberLines(QList<T>& items, int first, int delta, Line line) {
    const int removedTo = first - std::min(delta, 0); // the first line that stays
    QList<T> kept;
    kept.reserve(items.size());
    for (T& item : items) {
        int& n = line(item);
        if (n >= first && n < removedTo) {
            continue;
        }
        if (n >= first) {
            n += delta;
        }
        kept.append(std::move(item));
    }
    items = std::move(kept);
}

} // namespace zelvar
