#pragma once
// The charset a web page declares, found the way a browser's prescan finds
// it in the page's first 1024 bytes: the first <meta charset=...> or
// <meta http-equiv="Content-Type" content="...; charset=..."> (names and
// values in any letter case and quoting; comments, other tags and their
// attributes skipped; the first charset a <meta> gives stands; a label of
// another encoding passes on to the next <meta>; a UTF-16 label is UTF-8),
// else the encoding="..." of an XML declaration at the very start.

#include <QByteArrayView>
#include <QStringView>
#include <optional>

#include "text/textencoding.h"

namespace zelvar {

struct CharsetDeclaration {
    // The encoding the label names when it is one of the program's three
    // (TextEncoding::Utf8 for UTF-8); nothing for any other label.
    std::optional<TextEncoding> encoding;
    // Where the label stands, in units of the scanned view.
    qsizetype labelStart = 0;
    qsizetype labelLength = 0;
};

// How many units from the start the prescan looks at.
inline constexpr qsizetype kPrescanLength = 1024;

// The declaration in the first kPrescanLength bytes, if any.
std::optional<CharsetDeclaration> findCharsetDeclaration(QByteArrayView bytes);

// The same for text with line breaks as '\n' (QTextDocument::toPlainText()),
// in its first kPrescanLength characters; a character outside ASCII counts as
// one unit, like any byte that is not ASCII.
std::optional<CharsetDeclaration> findCharsetDeclaration(QStringView text);

} // namespace zelvar
