// Úpravy > "Přejít na řádek..." (Ctrl+G): a field below the pages that
// takes a line number, or "řádek:sloupec", and puts the caret there in the
// shown page. A number beyond the end goes to the last line, a column beyond
// the line's end to its end; the line stands in the middle of the view.

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextBlock>
#include <optional>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/fields.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

// The line and column (1-based) the text names, or nothing.
std::optional<std::pair<int, int>> placeOf(const QString& text) {
    static const QRegularExpression place(
        QStringLiteral("^\\s*(\\d{1,9})\\s*(?::\\s*(\\d{1,9})\\s*)?$"));
    const QRegularExpressionMatch m = place.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const int column = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
    return std::pair{m.captured(1).toInt(), column};
}

class GoToLinePanel final : public QWidget {
public:
    explicit GoToLinePanel(Workspace& form) : form_(form) {
        setObjectName(QStringLiteral("GoToLinePanel"));
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(4, 2, 4, 2);
        auto* caption = new QLabel(text::q(kCaption), this);
        field_ = new QLineEdit(this);
        field_->setObjectName(QStringLiteral("GoToLineField"));
        field_->setMaximumWidth(160);
        caption->setBuddy(field_);
        row->addWidget(caption);
        row->addWidget(field_);
        row->addStretch(1);
        field_->installEventFilter(this);
        connect(field_, &QLineEdit::returnPressed, this, [this] { go(); });
        connect(field_, &QLineEdit::textEdited, this, [this] { mark(false); });
        keepEditingKeys(form.router(), field_);
        form.addPanel(this, PanelPlace::Below);
    }

    void open() {
        show();
        mark(false);
        field_->setFocus(Qt::ShortcutFocusReason);
        field_->selectAll();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == field_ && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }

private:
    static constexpr const char* kCaption = "&Řádek (řádek:sloupec):";

    void go() {
        const std::optional<std::pair<int, int>> place = placeOf(field_->text());
        if (!place) {
            mark(true);
            return;
        }
        Editor* page = form_.activeEditor();
        const QTextDocument* doc = page->document();
        const int line = qBound(1, place->first, qMax(1, page->lineCount()));
        const QTextBlock block = doc->findBlockByNumber(line - 1);
        QTextCursor caret(block);
        caret.setPosition(block.position() + qBound(0, place->second - 1, block.length() - 1));
        page->setTextCursor(caret);
        page->centerCursor();
        close();
        form_.patterns().message("Přejít na řádek...");
    }

    void close() {
        hide();
        form_.activeEditor()->setFocus(Qt::OtherFocusReason);
    }

    void mark(bool wrong) { showWrong(field_, wrong); }

    Workspace& form_;
    QLineEdit* field_;
};

} // namespace

void installGoToLine(Workspace& form) {
    auto* panel = new GoToLinePanel(form);
    form.on("Pejtnadek1", [panel] { panel->open(); });
}

} // namespace zelvar
