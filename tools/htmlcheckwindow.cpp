// Operace > "Zkontrolovat HTML" (F12): checks the shown page's text as it is
// now and lists the findings in the modeless window "Kontrola HTML" beside
// the main window. A row (double-click or Enter) shows the checked page with
// the caret at the finding. The check never changes the text.

#include <QAbstractTableModel>
#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTreeView>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/pagerecord.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/shortcutrouter.h"
#include "ground/texts.h"
#include "ground/workspace.h"
#include "text/codesyntax.h"
#include "tools/htmlcheckrun.h"

namespace zelvar {

namespace {

class FindingsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setFindings(const QList<HtmlFinding>& findings) {
        beginResetModel();
        findings_ = findings;
        endResetModel();
    }
    const HtmlFinding& finding(int row) const { return findings_.at(row); }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(findings_.size());
    }
    int columnCount(const QModelIndex&) const override { return 4; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        const HtmlFinding& f = findings_.at(index.row());
        switch (index.column()) {
        case 0:
            return f.line > 0 ? QVariant(f.line) : QVariant();
        case 1:
            return f.line > 0 ? QVariant(f.column) : QVariant();
        case 2:
            return kindName(f.kind);
        default:
            return czechMessage(f);
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return {};
        }
        static const char* const titles[] = {"Řádek", "Sloupec", "Druh", "Zpráva"};
        return text::q(titles[section]);
    }

private:
    QList<HtmlFinding> findings_;
};

class HtmlCheckWindow : public QDialog {
public:
    explicit HtmlCheckWindow(Workspace& form);

    void check(); // the shown page, now

private:
    void showRunning(bool running);
    void showResult(const HtmlCheckResult& result);
    void showFailure(const QString& message);
    void jumpTo(const QModelIndex& index);
    void placeBesideMainWindow();

    Workspace& form_;
    HtmlCheckRun* run_;
    FindingsModel* model_;
    QTreeView* view_;
    QLabel* page_;
    QLabel* summary_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    int slot_ = 0;        // the checked page
    bool placed_ = false; // placed once; afterwards where the user leaves it
};

HtmlCheckWindow::HtmlCheckWindow(Workspace& form)
    : QDialog(&form.mainWindow()), form_(form), run_(new HtmlCheckRun(this)),
      model_(new FindingsModel(this)), view_(new QTreeView(this)), page_(new QLabel(this)),
      summary_(new QLabel(this)), progress_(new QProgressBar(this)),
      cancel_(new QPushButton(text::q("Zrušit"), this)) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(text::q("Kontrola HTML"));
    setModal(false);
    run_->setObjectName(QStringLiteral("HtmlCheckRun"));
    view_->setObjectName(QStringLiteral("ListView20"));
    page_->setObjectName(QStringLiteral("Label20"));
    summary_->setObjectName(QStringLiteral("Label21"));
    progress_->setObjectName(QStringLiteral("ProgressBar20"));
    cancel_->setObjectName(QStringLiteral("Button20"));

    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->header()->setStretchLastSection(true);
    view_->header()->setSectionResizeMode(QHeaderView::Interactive);
    view_->setColumnWidth(0, 60);
    view_->setColumnWidth(1, 60);
    view_->setColumnWidth(2, 80);
    progress_->setRange(0, 0);      // busy, no measure of how far
    cancel_->setAutoDefault(false); // Enter on a row only jumps
    summary_->setWordWrap(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary_, 1);
    bottom->addWidget(progress_);
    bottom->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page_);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
    resize(560, 340);
    showRunning(false);

    connect(run_, &HtmlCheckRun::finished, this, &HtmlCheckWindow::showResult);
    connect(run_, &HtmlCheckRun::failed, this, &HtmlCheckWindow::showFailure);
    connect(cancel_, &QPushButton::clicked, run_, &HtmlCheckRun::cancel);
    connect(view_, &QTreeView::activated, this, &HtmlCheckWindow::jumpTo);
    // The main window's keys work here too (F12 checks the shown page
    // again, F9 shows it in the browser).
    form_.router().addCompanion(this);
    // A window closed during a check does not wait for it.
    connect(this, &QDialog::finished, run_, &HtmlCheckRun::cancel);
}

// The page's characters as they are, a '\n' between its lines. (The plain
// text would turn a line separator into a line break, so that Tidy counted
// lines the page does not have, and a no-break space into a space.)
QString checkedText(const QTextDocument& doc) {
    QString text = doc.toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1)) {
            c = QLatin1Char('\n');
        }
    }
    return text;
}

void HtmlCheckWindow::check() {
    slot_ = form_.shownSlot();
    form_.patterns().message("Kontrola HTML...");
    model_->setFindings({});
    page_->setText(text::q("Stránka: ") + text::q(pageSlot(slot_).tabCaption));
    summary_->setText(text::q("Probíhá kontrola..."));
    showRunning(true);
    if (!placed_) {
        placeBesideMainWindow();
    }
    show();
    raise();
    // A style sheet or a script is no page for Tidy.
    const PageLanguage language = pageLanguage(form_.pageRecord(slot_).file);
    if (language != PageLanguage::Html) {
        showFailure(text::q(language == PageLanguage::Css
                                ? "Kontrolují se jen stránky HTML (tento soubor je styl CSS)."
                                : "Kontrolují se jen stránky HTML (tento soubor je skript)."));
        return;
    }
    run_->start(checkedText(*form_.editor(slot_)->document()));
}

void HtmlCheckWindow::showRunning(bool running) {
    progress_->setVisible(running);
    cancel_->setVisible(running);
}

void HtmlCheckWindow::showResult(const HtmlCheckResult& result) {
    showRunning(false);
    model_->setFindings(result.findings);
    summary_->setText(checkSummary(result));
    if (!result.findings.isEmpty()) {
        view_->setCurrentIndex(model_->index(0, 0));
    }
}

void HtmlCheckWindow::showFailure(const QString& message) {
    showRunning(false);
    summary_->setText(message);
}

void HtmlCheckWindow::jumpTo(const QModelIndex& index) {
    if (!index.isValid() || slot_ == 0) {
        return;
    }
    const HtmlFinding& finding = model_->finding(index.row());
    QMainWindow& main = form_.mainWindow();
    main.raise();
    main.activateWindow();
    form_.showPage(slot_);
    Editor* editor = form_.editor(slot_);
    // The text may have changed since: the nearest place that still exists.
    const QTextBlock block = editor->document()->findBlockByNumber(
        std::min(std::max(finding.line, 1), editor->document()->blockCount()) - 1);
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + std::clamp(finding.column - 1, 0, block.length() - 1));
    editor->setTextCursor(cursor);
    editor->ensureCursorVisible();
    editor->setFocus(Qt::OtherFocusReason);
}

void HtmlCheckWindow::placeBesideMainWindow() {
    placed_ = true;
    const QRect main = form_.mainWindow().frameGeometry();
    const QScreen* screen = form_.mainWindow().screen();
    const QRect free = screen ? screen->availableGeometry() : main;
    const QSize size = frameGeometry().size();
    // To the right of the main window, else to its left, else over its right edge.
    int x = main.right() + 1;
    if (x + size.width() > free.right() + 1) {
        x = main.left() - size.width() >= free.left() ? main.left() - size.width()
                                                      : free.right() + 1 - size.width();
    }
    const int y =
        std::clamp(main.top(), free.top(), std::max(free.top(), free.bottom() + 1 - size.height()));
    move(x, y);
}

} // namespace

void installHtmlCheck(Workspace& form) {
    auto* window = new HtmlCheckWindow(form);
    form.on("ZkontrolovatHTML1", [window] { window->check(); });
}

} // namespace zelvar
