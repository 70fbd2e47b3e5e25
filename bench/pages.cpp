#include "bench/pages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "text/pagefile.h"

#include <fstream>
#include <string>

namespace zelvar::bench {

const QString& longLine() {
    static const QString text = [] {
        const QString piece = QStringLiteral(
            "<div class=\"odstavec\"><a href=\"stranka.html\">Příliš žluťoučký kůň</a> úpěl "
            "ďábelské ódy&nbsp;</div><td align=\"center\">Černá, šedá</td>");
        QString s;
        s.reserve(kLongLine + piece.size());
        while (s.size() < kLongLine) {
            s += piece;
        }
        s.truncate(kLongLine);
        return s;
    }();
    return text;
}

const QString& bigPagePath() {
    static QTemporaryDir dir;
    static const QString path = [] {
        static const char* const lines[] = {
            "<p class=\"odstavec\">P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl.</p>",
            "  <td align=\"center\"><a href=\"stranka.html\">Odkaz</a></td>",
            "<div>&nbsp;\xC8\x65rn\xE1, \x9A\x65\x64\xE1, r\xF9\x9Eov\xE1 &ndash; \xEC\x9A\xE8\xF8"
            "\x9E\xFD\xE1\xED\xE9</div>",
            "\t<img src=\"obrazek.gif\" width=\"120\" height=\"60\" alt=\"\">",
            "",
        };
        QByteArray bytes;
        bytes.reserve(21'000'000);
        for (int i = 0; i < kBigLines; ++i) {
            bytes += lines[i % 5];
            bytes += "\r\n";
        }
        const QString p = dir.filePath(QStringLiteral("velka.html"));
        writeWholeFile(p, bytes);
        return p;
    }();
    return path;
}

void press(QPlainTextEdit& e, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&e, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&e, &up);
    QApplication::processEvents();
}

void typeAlternately(benchmark::State& state, QPlainTextEdit& e) {
    bool typed = false;
    for (auto _ : state) {
        if (typed) {
            press(e, Qt::Key_Backspace);
        } else {
            press(e, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        }
        typed = !typed;
    }
    if (typed) {
        press(e, Qt::Key_Backspace);
    }
}

long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stol(line.substr(key.size()));
        }
    }
    return -1;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace zelvar::bench
