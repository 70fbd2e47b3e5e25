#pragma once
// Operace > "Živý náhled" (Shift+F9): a panel beside the pages that renders
// the shown page as it is typed, saved or not. See livepreview.cpp.

#include <QList>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>

#include "ground/previewview.h"
#include "text/previewcopy.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace zelvar {

class Editor;
class Workspace;

class LivePreviewPanel final : public QWidget {
    Q_OBJECT
public:
    explicit LivePreviewPanel(Workspace& form);
    ~LivePreviewPanel() override;

    // Shows or hides the panel, as the menu item's mark says.
    void setShown(bool on);
    // The copy shown last: what each element spans in its page.
    const QList<PreviewElement>& elements() const { return elements_; }
    // The web view, once the panel has been shown.
    PreviewView* view() const { return view_.get(); }
    // The file the copies are written to.
    QString copyFile() const { return copyFile_; }

Q_SIGNALS:
    // A copy of the page finished loading in the view.
    void updated();

private:
    void follow(Editor* page);
    void schedule();
    void prepare();
    struct Made; // what the worker made of the page
    void takeCopy(const Made& made, int slot, const QUrl& address);
    void load(const QList<PreviewElement>& elements, int slot, const QUrl& address,
              const std::optional<PreviewPatch>& patch);
    void finished(bool ok);
    void loadWhole(bool samePage);
    void showNote(const QString& note, bool offerRestart);
    bool ensureView();
    void outlineCaret();
    void pick(qsizetype offset);
    void move();
    void placeChanged();
    void keepSize();

    Workspace& form_;
    QPointer<Editor> page_;
    int shownSlot_ = 0; // the slot of the page the shown copy was made of
    QStackedWidget* stack_;
    QLabel* note_;
    QPushButton* restart_;
    QToolButton* mover_;
    std::unique_ptr<PreviewView> view_;
    QString copyFile_;
    QUrl address_; // the shown page's own, as its copy's base
    QList<PreviewElement> elements_;
    QTimer pause_;                       // after the last change of the page
    QTimer caretPause_;                  // after the last move of the caret
    QThreadPool pool_;                   // prepares the copies, one at a time
    std::atomic<quint64> generation_{0}; // the copy that is still wanted
    bool loaded_ = false;
    bool loading_ = false;      // a copy is loading in the view
    bool loadingWhole_ = false; // from its file, not as a patch
    // The newest copy, written while another loaded.
    struct Waiting {
        QList<PreviewElement> elements;
        int slot;
        QUrl address;
        std::optional<PreviewPatch> patch; // from the copy before it
    };
    std::optional<Waiting> waiting_;
    // The copy the view holds once the loads in hand are done: the next one
    // of the same page may replace just the element that changed.
    struct Shown {
        QString text;
        QList<PreviewElement> elements;
        int slot;
        QUrl address;
    };
    std::optional<Shown> base_;
    bool failed_ = false; // the render process ended: waits for "Spustit znovu"
    QMetaObject::Connection sizeWatch_;
};

} // namespace zelvar
