#include "files/pageencoding.h"

#include <QAction>
#include <QTabWidget>
#include <QTextCursor>
#include <array>

#include "editor/editor.h"
#include "ground/pagerecord.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/workspace.h"
#include "text/charset.h"
#include "text/pagefile.h"

namespace zelvar {

namespace {

struct EncodingItem {
    const char* name;
    TextEncoding encoding;
};

constexpr std::array<EncodingItem, 3> kEncodingItems{{
    {"UTF81", TextEncoding::Utf8},
    {"Windows12501", TextEncoding::Windows1250},
    {"ISO885921", TextEncoding::Iso88592},
}};

struct LineBreakItem {
    const char* name;
    LineBreak lineBreak;
    const char* message;
};

constexpr std::array<LineBreakItem, 2> kLineBreakItems{{
    {"WindowsCRLF1", LineBreak::CrLf, "Konce řádků: Windows (CR LF)..."},
    {"UnixLF1", LineBreak::Lf, "Konce řádků: Unix (LF)..."},
}};

// One item is checked at a time: the shown page's encoding, and its line
// breaks (none for a page of lone CRs).
void showEncodingChecks(Workspace& form) {
    const TextEncoding shown = form.activeEditor()->writeEncoding();
    for (const EncodingItem& item : kEncodingItems) {
        form.action(item.name)->setChecked(sameEncoding(item.encoding, shown));
    }
    for (const LineBreakItem& item : kLineBreakItems) {
        form.action(item.name)->setChecked(item.lineBreak == form.activeEditor()->lineBreak());
    }
}

// Every line of the page ends with the chosen break from its next write on.
void chooseLineBreak(Workspace& form, const LineBreakItem& item) {
    form.activeEditor()->setLineBreak(item.lineBreak);
    showEncodingChecks(form);
    form.patterns().message(item.message);
}

// The page's next write is in the chosen encoding; the text stays as it is.
void chooseEncoding(Workspace& form, TextEncoding chosen) {
    Editor* editor = form.activeEditor();
    if (!sameEncoding(editor->writeEncoding(), chosen)) {
        editor->setEncoding(chosen);
    }
    showEncodingChecks(form);
    form.patterns().message(QString::fromUtf8("Kódování: ") + encodingName(chosen) +
                            QLatin1String("..."));
}

// The page becomes UTF-8; a charset its text declares says so too.
void makeUtf8(Editor& editor, QStringView text) {
    if (const std::optional<CharsetDeclaration> declared = findCharsetDeclaration(text)) {
        QTextCursor cursor(editor.document());
        cursor.beginEditBlock();
        cursor.setPosition(int(declared->labelStart));
        cursor.setPosition(int(declared->labelStart + declared->labelLength),
                           QTextCursor::KeepAnchor);
        cursor.insertText(QStringLiteral("utf-8"));
        cursor.endEditBlock();
    }
    editor.setEncoding(TextEncoding::Utf8);
}

} // namespace

bool settleSaveAsEncoding(Workspace& form, Editor& editor) {
    const TextEncoding writes = editor.writeEncoding();
    // Line breaks as '\n', one character each as in the document.
    const QString text = editor.document()->toPlainText();
    const qsizetype at = firstUnencodable(text, writes);
    if (at < 0) {
        return true;
    }
    char32_t codePoint = text[at].unicode();
    if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
        codePoint = QChar::surrogateToUcs4(text[at], text[at + 1]);
    }
    const QString question =
        text::q(text::kEncodingQuestion)
            .arg(QString::fromUcs4(&codePoint, 1),
                 QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0')).toUpper(),
                 QString::number(QStringView(text).first(at).count(u'\n') + 1),
                 encodingName(writes));
    switch (form.patterns().askYesNoCancel(question)) {
    case MsgButton::Yes:
        makeUtf8(editor, text);
        return true;
    case MsgButton::No:
        return true;
    default:
        return false;
    }
}

void noteDeclarationMismatch(Workspace& form, const Editor& editor) {
    if (editor.contradictsDeclaration()) {
        form.patterns().notice(text::q(text::kDeclarationMismatch)
                                   .arg(encodingName(editor.writeEncoding()),
                                        encodingName(*editor.declaredEncoding())));
    }
}

void installEncodingMenu(Workspace& form) {
    for (const EncodingItem& item : kEncodingItems) {
        form.on(item.name, [&form, encoding = item.encoding] { chooseEncoding(form, encoding); });
    }
    for (const LineBreakItem& item : kLineBreakItems) {
        form.on(item.name, [&form, &item] { chooseLineBreak(form, item); });
    }
    QObject* context = form.action(kEncodingItems[0].name);
    PageEvents& events = form.pageEvents();
    QObject::connect(&events, &PageEvents::shownPageChanged, context,
                     [&form] { showEncodingChecks(form); });
    QObject::connect(&events, &PageEvents::encodingChanged, context, [&form](int slot) {
        if (slot == form.shownSlot()) {
            showEncodingChecks(form);
        }
    });
}

} // namespace zelvar
