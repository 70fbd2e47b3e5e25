#include "text/pagefile.h"

#include "text/charset.h"
#include "text/rtf.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvar {

namespace {

// The exception display ends a message with a full stop unless its last
// character sorts at or before one.
QString withFullStop(QString text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) {
        text += QLatin1Char('.');
    }
    return text;
}

// Characters that end a line in the document's raw text: the block
// separators (paragraph, frame start, frame end), and the line separator
// where the encoding has no such character.
bool endsLine(char16_t ch, bool keepsLineSeparator) {
    return ch == QChar::ParagraphSeparator || ch == 0xFDD0 || ch == 0xFDD1 ||
           (ch == QChar::LineSeparator && !keepsLineSeparator);
}

QByteArrayView lineBreakBytes(LineBreak lineBreak) {
    switch (lineBreak) {
    case LineBreak::Lf:
        return "\n";
    case LineBreak::Cr:
        return "\r";
    case LineBreak::CrLf:
        break;
    }
    return "\r\n";
}

} // namespace

FileError::FileError(FileFailure kind, const QString& message)
    : std::runtime_error(withFullStop(message).toStdString()), kind_(kind),
      message_(withFullStop(message)) {}

FileError FileError::cannotOpen(const QString& path) {
    return FileError(FileFailure::Open, QStringLiteral("Cannot open file %1").arg(path));
}

FileError FileError::cannotCreate(const QString& path) {
    return FileError(FileFailure::Create, QStringLiteral("Cannot create file %1").arg(path));
}

FileError FileError::readFailed(const QString& path) {
    return FileError(FileFailure::General, QStringLiteral("Error reading file %1").arg(path));
}

FileError FileError::writeFailed(const QString& path) {
    return FileError(FileFailure::General, QStringLiteral("Error writing file %1").arg(path));
}

namespace {

// Appends the raw text of a document (or the start of it) in plain-text form.
void appendPlainText(QByteArray& out, QStringView raw, const PlainForm& form) {
    const QByteArrayView lineBreak = lineBreakBytes(form.lineBreak);
    const bool keepsLineSeparator = codePageOf(form.encoding) == nullptr;
    const char16_t* text = raw.utf16();
    const qsizetype n = raw.size();
    qsizetype from = 0;
    int line = 0; // the document's line, counted by its block separators
    auto other = form.otherBreaks.cbegin();
    for (qsizetype i = 0; i < n; ++i) {
        if (endsLine(text[i], keepsLineSeparator)) {
            appendEncoded(out, QStringView(text + from, i - from), form.encoding);
            from = i + 1;
            if (text[i] == QChar::LineSeparator) {
                out.append(lineBreak);
                continue;
            }
            while (other != form.otherBreaks.cend() && other->line < line) {
                ++other;
            }
            const bool differs = other != form.otherBreaks.cend() && other->line == line;
            QByteArrayView brk = differs ? lineBreakBytes(other->lineBreak) : lineBreak;
            // A lone LF right after a lone CR would read back as one CR LF
            // (an edit can bring them together): the line gets CR LF.
            if (brk == "\n" && out.endsWith('\r')) {
                brk = "\r\n";
            }
            out.append(brk);
            ++line;
        }
    }
    // The empty line after a final break is not written.
    if (from < n) {
        appendEncoded(out, QStringView(text + from, n - from), form.encoding);
        if (form.finalBreak) {
            out.append(lineBreak);
        }
    }
}

// The first bytes of the document written in the form: all the bytes a
// declaration is looked for in, since every character gives at least one.
QByteArray startBytes(const QTextDocument& doc, const PlainForm& form) {
    QString text;
    for (QTextBlock block = doc.begin(); block.isValid() && text.size() < kPrescanLength;
         block = block.next()) {
        text += block.text();
        text += QChar::ParagraphSeparator;
    }
    QByteArray start;
    appendPlainText(start, QStringView(text).first(std::min(text.size(), kPrescanLength)), form);
    return start;
}

} // namespace

PlainForm plainFormOf(QByteArrayView bytes, TextEncoding encoding) {
    PlainForm form;
    form.encoding = encoding;
    form.finalBreak = bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r');
    const std::optional<CharsetDeclaration> declared = findCharsetDeclaration(bytes);
    if (declared && declared->encoding && !sameEncoding(*declared->encoding, encoding)) {
        form.declared = declared->encoding;
    }
    // The line breaks: the kind most lines end with, and the lines that
    // end otherwise.
    const char* data = bytes.data();
    const qsizetype n = bytes.size();
    if (!bytes.contains('\r')) {
        if (bytes.contains('\n')) {
            form.lineBreak = LineBreak::Lf;
        }
        return form;
    }
    QList<LineBreak> breaks;
    std::array<qsizetype, 3> counts{};
    for (qsizetype i = 0; i < n; ++i) {
        LineBreak kind;
        if (data[i] == '\r') {
            kind = i + 1 < n && data[i + 1] == '\n' ? LineBreak::CrLf : LineBreak::Cr;
            i += kind == LineBreak::CrLf ? 1 : 0;
        } else if (data[i] == '\n') {
            kind = LineBreak::Lf;
        } else {
            continue;
        }
        breaks.append(kind);
        ++counts[size_t(kind)];
    }
    form.lineBreak = LineBreak(std::max_element(counts.begin(), counts.end()) - counts.begin());
    for (int line = 0; line < breaks.size(); ++line) {
        if (breaks[line] != form.lineBreak) {
            form.otherBreaks.append({line, breaks[line]});
        }
    }
    return form;
}

QByteArray plainTextBytes(const QTextDocument& doc, const PlainForm& form) {
    // The raw text keeps every character as it is (no-break spaces too), with
    // one separator between blocks.
    const QString raw = doc.toRawText();
    QByteArray out = byteOrderMark(form.encoding).toByteArray();
    out.reserve(raw.size() + qsizetype(doc.blockCount()) + 16);
    appendPlainText(out, raw, form);
    return out;
}

QByteArray plainTextBytes(const QTextDocument& doc, TextEncoding encoding) {
    PlainForm form;
    form.encoding = encoding;
    return plainTextBytes(doc, form);
}

std::optional<TextEncoding> pageDeclaredEncoding(const QTextDocument& doc, const PlainForm& form) {
    const std::optional<CharsetDeclaration> declared =
        findCharsetDeclaration(QByteArrayView(startBytes(doc, form)));
    return declared ? declared->encoding : std::nullopt;
}

TextEncoding pageWriteEncoding(const QTextDocument& doc, const PlainForm& form) {
    return pageWriteEncoding(form, pageDeclaredEncoding(doc, form));
}

TextEncoding pageWriteEncoding(const PlainForm& form, std::optional<TextEncoding> declared) {
    if (form.encoding == TextEncoding::Utf8WithBom) {
        return form.encoding;
    }
    if (declared && !sameEncoding(*declared, form.encoding) &&
        !(form.declared && sameEncoding(*form.declared, *declared))) {
        return *declared;
    }
    return form.encoding;
}

QString textFromPlainBytes(const QByteArray& bytes, const CodePage& page) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype len = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = in[i];
        if (b == '\r') {
            out[len++] = u'\n';
            if (i + 1 < n && in[i + 1] == '\n') {
                ++i;
            }
        } else {
            out[len++] = page.toUnicode(b);
        }
    }
    text.truncate(len);
    return text;
}

QString textFromFileBytes(const QByteArray& bytes, PlainForm* form, EncodingRule rule) {
    const TextEncoding encoding = detectTextEncoding(bytes, rule);
    *form = plainFormOf(bytes, encoding);
    if (const CodePage* page = codePageOf(encoding)) {
        return textFromPlainBytes(bytes, *page);
    }
    QString text = decodeAs(bytes, encoding);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QByteArray readWholeFile(const QString& path) {
    // Only a regular file is read. The name is opened without waiting (a
    // FIFO would otherwise block until some writer came along) and checked
    // on the open descriptor, so nothing can be swapped in between; a
    // folder, a FIFO or a device in place of the file cannot be opened.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw FileError::cannotOpen(path);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        throw FileError::cannotOpen(path);
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw FileError::cannotOpen(path);
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw FileError::readFailed(path);
    }
    return bytes;
}

void writeWholeFile(const QString& path, const QByteArray& bytes) {
    // Only a regular file is replaced: a folder, a FIFO or a device of that
    // name stays as it is.
    // A file that may not be written is refused too: replacing it through
    // a new file beside it would get past its permission bits.
    const QFileInfo target(path);
    if (target.exists() &&
        (!target.isFile() ||
         ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0)) {
        throw FileError::cannotCreate(path);
    }
    QSaveFile file(path);
    // In a folder that takes no new files, a writable file is written in
    // place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileError::cannotCreate(path);
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw FileError::writeFailed(path);
    }
    if (!file.commit()) {
        throw FileError::writeFailed(path);
    }
}

PlainForm loadPageFile(QTextDocument& doc, const QString& path, bool plainText, EncodingRule rule,
                       const std::function<void(QStringView text)>& beforeInsert) {
    QByteArray bytes = readWholeFile(path);
    PlainForm form;
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    if (plainText || !readRtf(bytes, cursor)) {
        // The file's bytes are let go once decoded: a big page holds its
        // text only in the document.
        const QString text = textFromFileBytes(std::exchange(bytes, QByteArray()), &form, rule);
        cursor.removeSelectedText();
        if (beforeInsert) {
            beforeInsert(text);
        }
        cursor.insertText(text, QTextCharFormat());
    }
    cursor.endEditBlock();
    return form;
}

void savePageFile(const QTextDocument& doc, const QString& path, bool plainText,
                  const PlainForm& form) {
    writeWholeFile(path, plainText ? plainTextBytes(doc, form) : writeRtf(doc));
}

} // namespace zelvar
