#pragma once
// Small helpers for tests that work with files and text documents.

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace zelvar::testing {

// The whole file, or an empty array with *ok false when it cannot be read.
QByteArray readFileBytes(const QString& path, bool* ok = nullptr);

// Creates or replaces the file with the bytes; false on any failure.
bool writeFileBytes(const QString& path, const QByteArray& bytes);

// For comparisons in tests: the whole file, or "<missing>" when it cannot
// be read; and a file written whole, failing the running test when it
// cannot be.
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

// The preview file's bytes without the base address the preview writes
// into it for the folder, or "<no base for the folder>" when that is not
// there exactly once: what remains is the page's bytes.
QByteArray withoutPreviewBase(const QByteArray& preview, const QString& folder);

// The document's blocks, each as its raw text (no character replaced), joined
// with '\n'.
QString blocksText(const QTextDocument& doc);

} // namespace zelvar::testing
