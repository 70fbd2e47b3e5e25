// Czech text in the pages: the Tools menu's "Nezlomitelné mezery".

#include <QTextCursor>
#include <QTextDocument>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "ground/workspace.h"
#include "text/spelltext.h"

namespace zelvar {

namespace {

// In the selection, or in the whole page when nothing is selected; one undo
// step.
void putNonBreakingSpaces(Workspace& form) {
    Editor* page = form.activeEditor();
    QTextDocument* doc = page->document();
    const QTextCursor selection = page->textCursor();
    const bool selected = selection.hasSelection();
    const NonBreakingSpaces found = insertNonBreakingSpaces(
        doc->toRawText(), kHtmlFirstLineState, selected ? selection.selectionStart() : 0,
        selected ? selection.selectionEnd() : -1);
    if (!found.spaces.isEmpty()) {
        QTextCursor cursor(doc);
        cursor.beginEditBlock();
        for (auto at = found.spaces.crbegin(); at != found.spaces.crend(); ++at) {
            cursor.setPosition(int(*at));
            cursor.setPosition(int(*at) + 1, QTextCursor::KeepAnchor);
            cursor.insertText(kNonBreakingSpace.toString());
        }
        cursor.endEditBlock();
    }
    form.patterns().message(
        text::q("Vloženo nezlomitelných mezer: %1...").arg(found.spaces.size()));
}

} // namespace

void installSpellCommands(Workspace& form) {
    form.on("Nezlomitelnmezery1", [&form] { putNonBreakingSpaces(form); });
}

} // namespace zelvar
