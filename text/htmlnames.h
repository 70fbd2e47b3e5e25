#pragma once
// The names HTML knows, for completing what is typed: the elements of the
// HTML standard with the attributes of each, the global attributes, and the
// named character references with the characters they stand for.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

namespace zelvar {

struct HtmlEntity {
    const char* name; // without "&" and ";"
    const char* text; // UTF-8
};
// In the order of their names (text/htmlentities.cpp, generated).
std::span<const HtmlEntity> htmlEntities();

// The elements' names in alphabetical order.
QStringList htmlElementNames();

// The attributes of the element (any case), then the global ones; an
// element HTML does not know has the global ones only. "data-" and "aria-"
// stand for their families.
QStringList htmlAttributeNames(QStringView element);

} // namespace zelvar
