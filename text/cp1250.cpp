#include "text/cp1250.h"

namespace zelvar {

char16_t cp1250ToUnicode(unsigned char byte) {
    return windows1250().toUnicode(byte);
}

int unicodeToCp1250(char16_t ch) {
    return windows1250().fromUnicode(ch);
}

QString fromCp1250(const QByteArray& bytes) {
    return windows1250().decode(bytes);
}

void appendCp1250(QByteArray& out, QStringView text) {
    windows1250().append(out, text);
}

QByteArray toCp1250(const QString& text) {
    return windows1250().encode(text);
}

} // namespace zelvar
