#include "files/outsidechanges.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <optional>

#include "editor/editor.h"
#include "files/documents.h"
#include "files/pageencoding.h"
#include "ground/pagerecord.h"
#include "ground/pageslots.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

class OutsideChanges final : public QObject {
public:
    explicit OutsideChanges(Workspace& form) : QObject(&form.mainWindow()), form_(form) {
        form.mainWindow().installEventFilter(this);
        // A page that belongs to another file (or was just written) starts
        // over: its next outside change is news again.
        connect(&form.pageEvents(), &PageEvents::fileChanged, this,
                [this](int slot) { asked_[slot - 1].reset(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // After the activation, so that the question has a window to stand on;
        // the questions' own windows activate it again, and find nothing new.
        if (event->type() == QEvent::WindowActivate && !checking_) {
            QTimer::singleShot(0, this, [this] { check(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void check() {
        if (checking_) {
            return;
        }
        checking_ = true;
        for (const PageSlot& slot : kPageSlots) {
            form_.patterns().guarded([&] { checkPage(slot); });
        }
        checking_ = false;
    }

    void checkPage(const PageSlot& slot) {
        const PageRecord& record = form_.pageRecord(slot.number);
        if (!record.changedOnDisk()) {
            return;
        }
        // The file as it is now (size -1: gone), against the one asked about.
        PageRecord now;
        now.setFile(record.file);
        std::optional<PageRecord>& asked = asked_[slot.number - 1];
        if (asked && asked->size == now.size && asked->modified == now.modified) {
            return; // asked about this very change already
        }
        asked = now;
        const QString file = QDir::toNativeSeparators(record.file);
        const QString page = QLatin1String(slot.questionName);
        Patterns& patterns = form_.patterns();
        if (now.size < 0) {
            patterns.notice(text::q(text::kFileRemovedOutside).arg(file, page));
            return;
        }
        Editor* editor = form_.editor(slot.number);
        const char* question =
            editor->isModifiedFlag() ? text::kTakeChangedFile : text::kReloadChangedFile;
        if (!patterns.askYesNo(text::q(question).arg(file, page))) {
            return;
        }
        const QString path = record.file;
        bool loaded = false;
        if (patterns.fileErrorReport(text::kLoadWording, text::kLoadFailed,
                                     [&] {
                                         editor->setPlainTextMode(true);
                                         loaded = editor->loadFromFile(path);
                                     }) &&
            loaded) {
            setPageFile(form_, slot.number, path);
            noteDeclarationMismatch(form_, *editor);
            patterns.message("Soubor načten...");
        }
    }

    Workspace& form_;
    bool checking_ = false;
    std::array<std::optional<PageRecord>, kPageCount> asked_;
};

} // namespace

void installOutsideChanges(Workspace& form) {
    new OutsideChanges(form);
}

} // namespace zelvar
