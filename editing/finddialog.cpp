#include "editing/finddialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// The editor's text with every line break written as CR LF, so that an index
// into it is an offset as SelStart counts it. Nothing is added after the last
// line: the search range ends where the text ends.
QString crlfText(const Editor& editor) {
    QString text = editor.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

} // namespace

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(text::q("Najít"));
    setModal(false);

    auto* caption = new QLabel(text::q("&Najít:"), this);
    box_ = new QLineEdit(this);
    box_->setObjectName(QStringLiteral("FindText"));
    box_->setMaxLength(kMaxFindText);
    box_->setMinimumWidth(220);
    caption->setBuddy(box_);

    findButton_ = new QPushButton(text::q("Najít &další"), this);
    findButton_->setObjectName(QStringLiteral("FindNext"));
    findButton_->setDefault(true);
    auto* closeButton = new QPushButton(text::q("Zavřít"), this);
    closeButton->setObjectName(QStringLiteral("CloseFind"));
    closeButton->setAutoDefault(false);

    auto* row = new QHBoxLayout();
    row->addWidget(caption);
    row->addWidget(box_, 1);
    auto* buttons = new QVBoxLayout();
    buttons->addWidget(findButton_);
    buttons->addWidget(closeButton);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addLayout(buttons);

    // Like the usual find dialogs, there is nothing to find with an empty box.
    findButton_->setEnabled(false);
    connect(box_, &QLineEdit::textChanged, this,
            [this](const QString& text) { findButton_->setEnabled(!text.isEmpty()); });
    connect(findButton_, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const {
    return box_->text();
}

void FindDialog::setFindText(const QString& text) {
    box_->setText(text.left(kMaxFindText));
}

void FindDialog::openWithPreset(const QString& preset) {
    if (!isVisible()) {
        setFindText(preset);
        show();
    }
    raise();
    activateWindow();
    box_->setFocus(Qt::OtherFocusReason);
}

int findForward(const Editor& editor, const QString& what, int from) {
    if (what.isEmpty()) {
        return -1;
    }
    const QString text = crlfText(editor);
    if (from < 0 || from > text.size()) {
        return -1;
    }
    return int(text.indexOf(what, from, Qt::CaseSensitive));
}

namespace {

void openFind(Workspace& form, FindDialog& dialog) {
    dialog.openWithPreset(form.notesEditor()->selText());
    form.patterns().message("Hledat výraz...");
}

// One press of the find button.
void findInNotes(Workspace& form, const FindDialog& dialog) {
    Editor* notes = form.notesEditor();
    // The selection carries the search position: just after it, or the
    // beginning of the text when nothing is selected (wherever the caret is).
    const int start = notes->selLength() != 0 ? notes->selStart() + notes->selLength() : 0;
    const QString what = dialog.findText();
    const int hit = findForward(*notes, what, start);
    if (hit >= 0) {
        // The notes take the focus in their own window, so that their enter
        // and leave handlers run as for any other move of the focus.
        if (!form.mainWindow().isActiveWindow()) {
            QApplication::setActiveWindow(&form.mainWindow());
        }
        form.mainWindow().activateWindow();
        notes->setFocus(Qt::OtherFocusReason);
        notes->setSelStart(hit);
        notes->setSelLength(int(what.size()));
    } else {
        form.patterns().notice(text::kNotFound);
    }
    form.patterns().message("Hledat výraz...");
}

} // namespace

void installFindCommands(Workspace& form) {
    // The one find dialog of the program; it serves the notes pad. The page
    // editors' find items stay disabled.
    auto* dialog = new FindDialog(&form.mainWindow());
    dialog->setObjectName(QStringLiteral("FindDialog2"));
    for (const char* control : {"Najt3", "SpeedButton32"}) {
        form.on(control, [&form, dialog] { openFind(form, *dialog); });
    }
    QObject::connect(dialog, &FindDialog::findNext, &form.mainWindow(), [&form, dialog] {
        form.patterns().guarded([&form, dialog] { findInNotes(form, *dialog); });
    });
}

} // namespace zelvar
