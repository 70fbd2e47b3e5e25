// The ways out of the editor: the local help file, the help pages and links
// on the web, the version check, the About window and the clipboard viewer.
// Files and addresses go to the system shell's "open"; whether a viewer or
// browser started is not the program's business, and the message is written
// either way.

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <array>
#include <functional>

#include "ground/addresses.h"
#include "ground/commands.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/secondarywindow.h"
#include "ground/texts.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

constexpr const char* kHelpFile = "navod.txt";

// A page of the program's own site.
QString sitePage(const char* path) {
    return text::q(kHomePageAddress) + text::q(path);
}

struct WebCommand {
    const char* item;
    QString address;
    const char* message; // UTF-8
};

// Every web address the program opens, with the command that opens it. The
// program's own site holds only its home page and the version page; the help
// pages and the links lead to long-lived sites of their kind, Czech ones
// where there are such.
const std::array<WebCommand, 15>& webCommands() {
    static const std::array<WebCommand, 15> table{{
        // Help pages of the "Nápověda HTML" submenu.
        {"Zanme1", text::q("https://www.jakpsatweb.cz/"), "Začínáme..."},
        {"ZkladyHTML1", text::q("https://www.jakpsatweb.cz/html/"), "Základy HTML..."},
        {"Nvod1",
         text::q("https://developer.mozilla.org/en-US/docs/Learn/Getting_started_with_the_web/"
                 "Publishing_your_website"),
         "Jak publikovat..."},
        {"HTMLtahk1", text::q("https://www.w3schools.com/tags/default.asp"), "HTML tahák..."},
        {"Zkontrolovatverzi1", sitePage("/verze.html"), "Kontrola verze..."},
        // The links menu.
        {"Domovskyweb1", text::q(kHomePageAddress), "Odkaz..."},
        {"Webodkaz1", text::q("https://www.itnetwork.cz/"), "Odkaz..."}, // web-design courses
        {"JavaScriptLibrary1", text::q("https://www.dynamicdrive.com/"), "Odkaz..."},
        {"Animace1", text::q("https://giphy.com/"), "Odkaz..."},            // animations
        {"Webodkaz2", text::q("https://www.okoun.cz/"), "Odkaz..."},        // discussion boards
        {"CikCakTools1", text::q("https://validator.w3.org/"), "Odkaz..."}, // checkers for pages
        {"MaXsite1", text::q("https://www.webnode.cz/"), "Odkaz..."},       // site builder
        {"Webodkaz3", text::q("https://neocities.org/"), "Odkaz..."},       // free hosting
        {"Webodkaz4", text::q("https://www.estranky.cz/"), "Odkaz..."},     // free hosting
        {"Webhosting1", text::q("https://www.wedos.cz/"), "Odkaz..."},      // paid hosting
    }};
    return table;
}

const QString& addressOf(const char* item) {
    for (const WebCommand& c : webCommands()) {
        if (qstrcmp(c.item, item) == 0) {
            return c.address;
        }
    }
    static const QString none;
    return none;
}

// The help file's three ways in: F1 and the Help menu's first item, the File
// menu's title item and the "-?- " toolbar button.
constexpr std::array<const char*, 3> kHelpControls{"Npovda2", "HTMlEditor2", "SpeedButton38"};

// A label that runs a command when clicked, with the hand pointer.
class LinkLabel final : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent, std::function<void()> command)
        : QLabel(text, parent), command_(std::move(command)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            command_();
        }
    }

private:
    std::function<void()> command_;
};

// Runs a function each time the watched window is shown.
class ShowWatcher final : public QObject {
public:
    ShowWatcher(QWidget* window, std::function<void()> shown)
        : QObject(window), shown_(std::move(shown)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent()) {
            shown_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> shown_;
};

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry,
              bool bold = false) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setBold(bold);
    l->setFont(f);
    l->setGeometry(geometry);
    return l;
}

constexpr WindowDescription kAboutWindow{"TForm2", ".: O programu :.", 262, 211, false};
constexpr WindowDescription kClipboardWindow{"TForm5", ".: Obsah schránky :.", 290, 175, false};

// --- About ----------------------------------------------------------------

void buildAbout(Workspace& form, QDialog* about) {
    Shell& shell = *form.platform().shell;

    auto* title = label(about, "Label2", text::q("- Zelvar -"), {0, 6, 262, 38});
    QFont titleFont(QStringLiteral("BernhardMod BT"));
    titleFont.setPixelSize(27);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    QPalette black = title->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    title->setPalette(black);

    // Bold captions with their values beside them.
    struct Pair {
        const char* caption;
        const char* captionText;
        const char* value;
        const char* valueText;
    };
    const Pair pairs[] = {
        {"Label1", "Aplikace:", "Label3", "Zelvar"},
        {"Label4", "Verze:", "Label5", "2.0"},
        {"Label6", "Určení:", "Label7", "Editor kódu HTML"},
        {"Label8", "Licence:", "Label9", "Freeware"},
        {"Label10", "Jazyk:", "Label11", "Čeština"},
    };
    int y = 46;
    for (const Pair& p : pairs) {
        label(about, p.caption, text::q(p.captionText), {16, y, 70, 16}, true);
        label(about, p.value, text::q(p.valueText), {90, y, 166, 16});
        y += 15;
    }
    label(about, "Label15", text::q("Web:"), {16, y, 70, 16}, true);
    auto* home = new LinkLabel(text::q(kHomePageAddress), about,
                               [&shell] { shell.openUrl(addressOf("Domovskyweb1")); });
    home->setObjectName(QStringLiteral("Label16"));
    home->setGeometry(90, y, 166, 16);
    QPalette blue = home->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    home->setPalette(blue);

    auto* check = new LinkLabel(text::q("->> Zkontrolovat verzi <<--"), about,
                                [&shell] { shell.openUrl(addressOf("Zkontrolovatverzi1")); });
    check->setObjectName(QStringLiteral("Label12"));
    QFont small = check->font();
    small.setPixelSize(13);
    check->setFont(small);
    check->setAlignment(Qt::AlignCenter);
    check->setToolTip(text::q("Zkontrolujte, zda-li není k dispozici nová verze"));
    check->setGeometry(0, 139, 262, 18);

    auto* line = new QFrame(about);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 161, 246, 4);

    const QRect below[] = {{8, 168, 246, 16}, {8, 186, 246, 16}};
    label(about, "Label13", text::q("Editor pro tvorbu webových prezentací."), below[0])
        ->setAlignment(Qt::AlignCenter);
    label(about, "Label14", text::q("Nápovědu najdete pod klávesou F1."), below[1])
        ->setAlignment(Qt::AlignCenter);
}

// --- Clipboard viewer ---------------------------------------------------------

// The field's paste takes text, plain or rich, and nothing else; rich text
// without a plain form comes in as its plain text.
void pasteText(QPlainTextEdit* field) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data && !data->hasText() && data->hasHtml()) {
        field->insertPlainText(QTextDocumentFragment::fromHtml(data->html()).toPlainText());
        return;
    }
    field->paste();
}

void buildClipboardViewer(QDialog* viewer) {
    auto* field = new QPlainTextEdit(viewer);
    field->setObjectName(QStringLiteral("RichEdit1"));
    field->setGeometry(8, 8, 273, 113);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    QLabel* caption = label(viewer, "Label1", text::q("Formát:"), {8, 124, 56, 16}, true);
    QPalette maroon = caption->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    caption->setPalette(maroon);
    QLabel* format = label(viewer, "Label2", QString(), {66, 124, 216, 16});

    auto* close = new QPushButton(text::q("&Konec"), viewer);
    close->setObjectName(QStringLiteral("Button2"));
    close->setToolTip(text::q("Ukončit formulář"));
    close->setAutoDefault(false);
    close->setGeometry(206, 142, 75, 25);
    QObject::connect(close, &QPushButton::clicked, viewer, &QDialog::reject);

    // Each showing starts from an empty, unchanged field and shows the
    // clipboard of that moment.
    new ShowWatcher(viewer, [field, format] {
        field->clear();
        field->document()->setModified(false);
        pasteText(field);
        format->setText(field->document()->isModified()
                            ? text::q("Známý, schránka byla zobrazena.")
                            : text::q("Neznámý, schránku nelze zobrazit."));
    });
}

} // namespace

void installHelpAndLinks(Workspace& form) {
    for (const char* control : kHelpControls) {
        form.on(control, [&form] {
            form.platform().shell->openFile(QDir::current().absoluteFilePath(text::q(kHelpFile)));
            form.patterns().message("Nápověda...");
        });
    }
    for (const WebCommand& c : webCommands()) {
        form.on(c.item, [&form, &c] {
            form.platform().shell->openUrl(c.address);
            form.patterns().message(c.message);
        });
    }
    auto* about = new SecondaryWindow(kAboutWindow, &form.mainWindow());
    buildAbout(form, about);
    auto* viewer = new SecondaryWindow(kClipboardWindow, &form.mainWindow());
    buildClipboardViewer(viewer);
    // The clipboard viewer leaves the message as it was.
    form.on("Zobrazitschrnku1", [viewer] { viewer->exec(); });
    form.on("Oprogramu1", [&form, about] {
        about->exec();
        form.patterns().message("O programu...");
    });
}

} // namespace zelvar
