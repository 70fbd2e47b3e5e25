#pragma once
// Windows-1250 (Central European) text, the program's own single-byte code
// page: the functions below are that code page's (text/codepage.h), under the
// names the rest of the program uses.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "text/codepage.h"

namespace zelvar {

QString fromCp1250(const QByteArray& bytes);
QByteArray toCp1250(const QString& text);

// The character that one byte stands for.
char16_t cp1250ToUnicode(unsigned char byte);

// The byte for one UTF-16 unit, or -1 when the code page has none.
int unicodeToCp1250(char16_t ch);

// Appends the encoding of text (with numeric character references for what
// the code page cannot hold) to out.
void appendCp1250(QByteArray& out, QStringView text);

} // namespace zelvar
