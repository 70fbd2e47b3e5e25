#pragma once
// The page text-file rules: how an editor's whole text is loaded from and
// saved to a file, in plain-text form (in the page's encoding, CR LF after
// every line) or in rich-text form (RTF).

#include <QByteArray>
#include <QString>

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

// Replaces the document's whole text with the file as one edit (one undo
// step), in plain-text form when plainText is true, else in rich-text form
// (RTF, read as plain text from its start when it is not well-formed RTF).
// Returns the encoding the plain text was read in by the rule (Windows-1250
// for RTF). On failure throws FileError and leaves the document untouched.
TextEncoding loadPageFile(QTextDocument& doc, const QString& path, bool plainText,
                          EncodingRule rule = EncodingRule::Page);

// Writes the document's whole text to the file in plain-text form (in the
// given encoding) or as RTF.
// The file is replaced only when everything has been written, so a failed
// save leaves the old file whole. Throws FileError: Create when the file
// cannot be created or opened for writing, General for a failure while
// writing.
void savePageFile(const QTextDocument& doc, const QString& path, bool plainText,
                  TextEncoding encoding = TextEncoding::Windows1250);

// Plain-text form: every line in the encoding (Windows-1250 unless told
// otherwise; UTF-8 with its byte-order mark first when it had one) followed
// by CR LF. The empty
// last line after a final line break is not written, so "a\nb" and "a\nb\n"
// both give "a\r\nb\r\n" and an empty document gives no bytes. A line
// separator (U+2028) inside a block is written as a line break too.
QByteArray plainTextBytes(const QTextDocument& doc,
                          TextEncoding encoding = TextEncoding::Windows1250);

// The encoding a page's text is written in: the one its own charset
// declaration names (text/charset.h, in the first bytes of the text written
// in `remembered`) when that is one of the three, else `remembered`. A file
// so never contradicts its declaration.
TextEncoding pageWriteEncoding(const QTextDocument& doc, TextEncoding remembered);

// Code page bytes (Windows-1250 unless told otherwise) as text with every
// line break (CR LF, a lone CR, a lone LF) turned into '\n'. A final line
// break stays as a final '\n'.
QString textFromPlainBytes(const QByteArray& bytes, const CodePage& page = windows1250());

// The same for a file's bytes read by the encoding rule. The encoding read
// goes to *encoding.
QString textFromFileBytes(const QByteArray& bytes, TextEncoding* encoding,
                          EncodingRule rule = EncodingRule::Page);

} // namespace zelvar
