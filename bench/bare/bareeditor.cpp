// Qt's own plain-text widget with a page given on the command line, decoded
// as the editor decodes it: the floor that QTextDocument sets for the
// editor's figures (scripts/perf.py measures both).

#include <QApplication>
#include <QPlainTextEdit>

#include "text/pagefile.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A blink repaints a long line whole here, which would leave the widget
    // never idle: the keys are measured without it.
    QApplication::setCursorFlashTime(0);
    QPlainTextEdit editor;
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.showMaximized();
    if (argc > 1) {
        editor.setPlainText(
            zelvar::textFromPlainBytes(zelvar::readWholeFile(QString::fromLocal8Bit(argv[1]))));
    }
    return app.exec();
}
