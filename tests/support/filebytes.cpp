#include "support/filebytes.h"

#include <QTest>

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace zelvar::testing {

QByteArray readFileBytes(const QString& path, bool* ok) {
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok != nullptr) {
        *ok = opened;
    }
    return opened ? file.readAll() : QByteArray();
}

bool writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes) == bytes.size() && file.flush();
}

QString blocksText(const QTextDocument& doc) {
    QString text;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin()) {
            text += QLatin1Char('\n');
        }
        text += block.text();
    }
    return text;
}

QByteArray readAll(const QString& path) {
    bool ok = false;
    const QByteArray bytes = readFileBytes(path, &ok);
    return ok ? bytes : QByteArray("<missing>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QVERIFY2(writeFileBytes(path, bytes), qPrintable(path));
}

QByteArray withoutPreviewBase(const QByteArray& preview, const QString& folder) {
    const QByteArray base =
        "<base href=\"" + QUrl::fromLocalFile(folder + QLatin1Char('/')).toEncoded() + "\">";
    if (preview.count(base) != 1) {
        return "<no base for the folder>";
    }
    return QByteArray(preview).replace(base, "");
}

} // namespace zelvar::testing
