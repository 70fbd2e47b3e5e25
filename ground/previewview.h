#pragma once
// The seam between the live preview panel and the web view that renders it.
// The view lives in a module of its own (zelvar-webpreview.so beside the
// program), loaded when the panel is first shown, so that the web engine
// costs nothing to a run that never shows the preview. The module links Qt
// only; this header is all it knows of the program.

#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWidget;

namespace zelvar {

// What the view reports back to the panel.
struct PreviewHooks {
    // A link clicked (or a form sent) in the preview that leads elsewhere.
    std::function<void(const QUrl&)> openLink;
    // Ctrl+click: the source offset of the clicked element's start tag.
    std::function<void(qsizetype)> pick;
    // The render process ended by itself (crashed, killed).
    std::function<void()> crashed;
    // A load of the copy ended: whether it succeeded.
    std::function<void(bool)> loaded;
    // A patch of the copy shown ended: whether it was put in place.
    std::function<void(bool)> patched;
};

class PreviewView {
public:
    virtual ~PreviewView() = default;
    // The view's widget, owned by the PreviewView.
    virtual QWidget* widget() = 0;
    // Shows the copy in this file; a new copy of the same page keeps the
    // scroll position of the one shown before, another page starts at its
    // top. The page's own address (its base) is where a link to one of its
    // anchors leads: the preview scrolls to the anchor.
    virtual void showCopy(const QUrl& file, const QUrl& address, bool samePage) = 0;
    // Puts `html` in place of the element of the copy shown whose start tag
    // is at `start` (run: of what that element holds between its elements
    // whose start tags are at `previous` and `next`, -1 for its start and
    // end), and moves the offsets of the elements that start at `end` or
    // later by `shift`; the scroll position stays. Reports through
    // `patched`: false when the elements are not there (a script of the
    // page took them away), and the copy is to be loaded whole.
    virtual void patch(qsizetype start, qsizetype end, qsizetype shift, const QString& html,
                       bool run, qsizetype previous, qsizetype next) = 0;
    // Outlines the element whose start tag is at this source offset, and
    // scrolls it into view when off screen; a negative offset removes the
    // outline.
    virtual void outline(qsizetype start) = 0;
    // Runs a script in the page's own world and hands its result to `done`
    // (the tests read the rendered page with it).
    virtual void runScript(const QString& code, std::function<void(const QVariant&)> done) = 0;
    // The process that renders the page, 0 for none.
    virtual qint64 renderProcess() const = 0;
};

// The name the attribute that carries a start tag's source offset in the
// copy; the view takes it out of the document as it is built.
inline constexpr char kPreviewOffsetAttribute[] = "data-zv";

// The module's one entry, resolved by name.
using CreatePreviewView = PreviewView* (*)(QWidget* parent, PreviewHooks hooks);
inline constexpr char kCreatePreviewViewSymbol[] = "zelvarCreatePreviewView";

} // namespace zelvar
