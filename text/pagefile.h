#pragma once
// The page text-file rules: how an editor's whole text is loaded from and
// saved to a file, in plain-text form (in the page's encoding and with its
// line breaks) or in rich-text form (RTF).

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

#include <optional>
#include <stdexcept>

#include "text/codepage.h"
#include "text/textencoding.h"

class QTextDocument;

namespace zelvar {

enum class FileFailure {
    Open,   // the file cannot be opened for a load
    Create, // the file cannot be created or opened for a save
    General // anything else during the transfer
};

// Thrown by loads and saves. message() is the text the exception display
// shows ("Cannot open file <path>." and the like); kind() tells the file error
// report which of its two texts to show.
class FileError : public std::runtime_error {
public:
    FileError(FileFailure kind, const QString& message);

    static FileError cannotOpen(const QString& path);
    static FileError cannotCreate(const QString& path);
    static FileError readFailed(const QString& path);
    static FileError writeFailed(const QString& path);

    FileFailure kind() const noexcept { return kind_; }
    QString message() const { return message_; }

private:
    FileFailure kind_;
    QString message_;
};

// The whole file as bytes. Throws FileError: Open when the file cannot be
// opened or is not a regular file (a folder, a FIFO, a device), General when
// reading it fails.
QByteArray readWholeFile(const QString& path);

// Writes the bytes as the whole file. The file is replaced only when
// everything has been written, so a failure leaves the old file whole (in a
// folder that takes no new files, an existing writable file is written in
// place instead). Throws FileError: Create when the file cannot be created or
// opened for writing or the name is not a regular file, General for a
// failure while writing.
void writeWholeFile(const QString& path, const QByteArray& bytes);

// How the lines of a plain-text file end.
enum class LineBreak { CrLf, Lf, Cr };

// A page's plain-text form: what a save writes. A page read from a file
// keeps the file's form, so that saving it with no edit gives every byte
// back; a new page is Windows-1250 with CR LF after every line.
struct PlainForm {
    TextEncoding encoding = TextEncoding::Windows1250;
    // The break most lines end with; the lines of a file whose lines end in
    // more than one way that end otherwise are in otherBreaks (line number
    // and break, in the order of the lines).
    LineBreak lineBreak = LineBreak::CrLf;
    struct OtherBreak {
        int line;
        LineBreak lineBreak;
    };
    QList<OtherBreak> otherBreaks;
    // Whether a last line with text gets a line break after it: every line
    // ends with one, as in a file that ended with a break; a file whose last
    // line had none keeps it so.
    bool finalBreak = true;
    // The encoding the page's charset declaration named when the page was
    // read or last written against it (its bytes did not match it); nothing
    // when they matched. Such a declaration decides nothing while it still
    // says the same: the page is written as it was read.
    std::optional<TextEncoding> declared;
};

// The form of a file's bytes read in the encoding: its line breaks, whether
// it ended with one, and the encoding its declaration names when that is
// another one.
PlainForm plainFormOf(QByteArrayView bytes, TextEncoding encoding);

// Replaces the document's whole text with the file as one edit, in
// plain-text form when plainText is true, else in rich-text form (RTF, read
// as plain text from its start when it is not well-formed RTF). Returns the
// form the plain text was read in by the rule (a new page's form for RTF).
// On failure throws FileError and leaves the document untouched. A plain
// text is shown to beforeInsert just before it goes into the document.
PlainForm loadPageFile(QTextDocument& doc, const QString& path, bool plainText,
                       EncodingRule rule = EncodingRule::Page,
                       const std::function<void(QStringView text)>& beforeInsert = {});

// Writes the document's whole text to the file in plain-text form (in the
// given form) or as RTF.
// The file is replaced only when everything has been written, so a failed
// save leaves the old file whole. Throws FileError: Create when the file
// cannot be created or opened for writing, General for a failure while
// writing.
void savePageFile(const QTextDocument& doc, const QString& path, bool plainText,
                  const PlainForm& form = PlainForm());

// Plain-text form: every line in the form's encoding (UTF-8 with its
// byte-order mark first when it had one), a line break of the form's kind
// between lines. The empty last line after a final line break is not
// written; a last line with text gets a break after it when the form says
// so. In a new page's form "a\nb" and "a\nb\n" both give "a\r\nb\r\n" and an
// empty document gives no bytes. A line separator (U+2028) inside a block
// stays one in UTF-8; a code page, which has no such character, writes a
// line break for it.
QByteArray plainTextBytes(const QTextDocument& doc, const PlainForm& form);
QByteArray plainTextBytes(const QTextDocument& doc,
                          TextEncoding encoding = TextEncoding::Windows1250);

// The encoding a page's text is written in. A UTF-8 page that starts with
// the byte-order mark stays so (the mark wins over a declaration, as it does
// when the page is read). Otherwise a charset declaration (text/charset.h, in
// the first bytes of the text written in the form) that names one of the
// three and differs from the form's encoding decides, unless it is the one
// the page already declared when read: a page whose bytes did not match its
// declaration is written as it was read, not converted behind the user's
// back.
TextEncoding pageWriteEncoding(const QTextDocument& doc, const PlainForm& form);
// The same with the declaration found already (pageDeclaredEncoding).
TextEncoding pageWriteEncoding(const PlainForm& form, std::optional<TextEncoding> declared);

// The encoding the page's text declares now (in the first bytes of the text
// written in the form), when the label names one of the three.
std::optional<TextEncoding> pageDeclaredEncoding(const QTextDocument& doc, const PlainForm& form);

// Code page bytes (Windows-1250 unless told otherwise) as text with every
// line break (CR LF, a lone CR, a lone LF) turned into '\n'. A final line
// break stays as a final '\n'.
QString textFromPlainBytes(const QByteArray& bytes, const CodePage& page = windows1250());

// The same for a file's bytes read by the encoding rule. The form they were
// read in goes to *form.
QString textFromFileBytes(const QByteArray& bytes, PlainForm* form,
                          EncodingRule rule = EncodingRule::Page);

} // namespace zelvar
