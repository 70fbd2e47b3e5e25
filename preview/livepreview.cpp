// Operace > "Živý náhled" (Shift+F9): the shown page rendered by Qt WebEngine
// in a panel at the right of the pages (or below them), as it is typed.
//
// The panel stays off the typing path: a change of the page only restarts
// a timer. When the timer fires, the page's text is copied once and a worker
// makes the preview's copy of it (UTF-8, a base address for the page's
// folder, every start tag carrying its source offset) and writes it to a
// file of the program's own in the user's cache folder; the view then loads
// that file, keeping its scroll position. The page, its file, its undo
// history and its clipboard never see any of it.
//
// The web view lives in a module of its own that is loaded when the panel
// is first shown: a run that never shows the preview never loads the web
// engine. Its pages render in WebEngine's own processes; when one of them
// ends, the panel says so and offers to start it again.

#include "preview/livepreview.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibrary>
#include <QOpenGLContext>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <cerrno>
#include <csignal>
#include <unistd.h>
#include <utility>

#include "editor/editor.h"
#include "ground/commands.h"
#include "ground/pagerecord.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/settings.h"
#include "ground/toggles.h"
#include "ground/workspace.h"
#include "text/codesyntax.h"

// Qt's own, from its private headers: the graphics context that all others
// share.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace zelvar {

struct LivePreviewPanel::Made {
    QString text;
    bool unchanged = false; // the same text as the copy before
    PreviewCopy copy;
    std::optional<PreviewPatch> patch;
    bool written = false;
};

namespace {

constexpr char kItem[] = "ivnhled1";
constexpr char kShownSetting[] = "view/livepreview";
constexpr char kBelowSetting[] = "view/livepreviewbelow";
constexpr char kRightSizeSetting[] = "view/livepreviewwidth";
constexpr char kBelowSizeSetting[] = "view/livepreviewheight";
// The pause after the last change before the copy is made: short enough
// that the preview follows within 300 ms of the last key.
constexpr int kEditPauseMs = 120;
constexpr int kCaretPauseMs = 80;

const char16_t kNotHtml[] = u"Náhled ukazuje jen stránky HTML.";
const char16_t kFailed[] = u"Zobrazení náhledu selhalo.";
const char16_t kNoCopy[] = u"Kopii stránky pro náhled nelze zapsat.";
const char16_t kNoModule[] = u"Náhled nelze spustit: ";
const char16_t kDown[] = u"Přesunout dolů";
const char16_t kRight[] = u"Přesunout vpravo";

QString cacheFolder() {
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || QDir::isRelativePath(cache)) {
        cache = QDir::homePath() + QLatin1String("/.cache");
    }
    return cache + QLatin1String("/zelvar");
}

// Pages of style sheets and scripts, and empty ones, have nothing to show.
bool isHtmlPage(const QString& file, const QTextDocument& text) {
    return pageLanguage(file) == PageLanguage::Html && !text.isEmpty();
}

// The copies that programs which ended without tidying up (killed, say)
// left in the cache folder.
void removeStaleCopies(const QString& folder) {
    QDir dir(folder);
    const QString prefix = QStringLiteral("zivy_nahled-");
    for (const QString& name : dir.entryList({prefix + QLatin1String("*.html")}, QDir::Files)) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.size(), name.size() - prefix.size() - 5).toLongLong(&ok);
        if (ok && pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH) {
            dir.remove(name);
        }
    }
}

// The module with the web view, loaded once and never unloaded.
CreatePreviewView loadModule(QString& error) {
    // Chromium refuses its sandbox to root (the tests, CI): for that case
    // only it runs without, unless the environment says otherwise.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // The web engine shares its graphics contexts with the window's, through
    // the context that all others share; it looks for that one as its
    // library is loaded. Qt makes it when the application starts with
    // Qt::AA_ShareOpenGLContexts, which would cost every start of the
    // program some 40 ms and 57 MB (the graphics driver's): it is made here
    // instead, as Qt would have made it.
    if (!QOpenGLContext::globalShareContext()) {
        auto* shared = new QOpenGLContext(QCoreApplication::instance());
        shared->setFormat(QSurfaceFormat::defaultFormat());
        shared->create();
        qt_gl_set_global_share_context(shared);
    }
    static QLibrary module;
    if (!module.isLoaded()) {
        QString path = qEnvironmentVariable("ZELVAR_PREVIEW_MODULE");
        if (path.isEmpty()) {
            path = QCoreApplication::applicationDirPath() + QLatin1String("/zelvar-webpreview.so");
        }
        module.setFileName(path);
    }
    auto create = reinterpret_cast<CreatePreviewView>(module.resolve(kCreatePreviewViewSymbol));
    if (!create) {
        error = module.errorString();
    }
    return create;
}

} // namespace

LivePreviewPanel::LivePreviewPanel(Workspace& form) : QWidget(nullptr), form_(form) {
    setObjectName(QStringLiteral("LivePreviewPanel"));
    copyFile_ = cacheFolder() +
                QStringLiteral("/zivy_nahled-%1.html").arg(QCoreApplication::applicationPid());
    pool_.setMaxThreadCount(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 0);
    auto* title = new QLabel(QString::fromUtf8("Živý náhled"), this);
    mover_ = new QToolButton(this);
    mover_->setObjectName(QStringLiteral("LivePreviewMove"));
    mover_->setAutoRaise(true);
    bar->addWidget(title);
    bar->addStretch();
    bar->addWidget(mover_);
    layout->addLayout(bar);

    stack_ = new QStackedWidget(this);
    auto* notePage = new QWidget(stack_);
    auto* noteLayout = new QVBoxLayout(notePage);
    note_ = new QLabel(notePage);
    note_->setObjectName(QStringLiteral("LivePreviewNote"));
    note_->setAlignment(Qt::AlignCenter);
    note_->setWordWrap(true);
    restart_ = new QPushButton(QString::fromUtf8("Spustit znovu"), notePage);
    restart_->setObjectName(QStringLiteral("LivePreviewRestart"));
    noteLayout->addStretch();
    noteLayout->addWidget(note_);
    noteLayout->addWidget(restart_, 0, Qt::AlignHCenter);
    noteLayout->addStretch();
    stack_->addWidget(notePage);
    layout->addWidget(stack_, 1);

    const bool below = form.settings().flag(kBelowSetting, false);
    mover_->setText(QString::fromUtf16(below ? kRight : kDown));
    form.addPanel(this, below ? PanelPlace::Below : PanelPlace::Right);

    pause_.setSingleShot(true);
    pause_.setInterval(kEditPauseMs);
    connect(&pause_, &QTimer::timeout, this, &LivePreviewPanel::prepare);
    caretPause_.setSingleShot(true);
    caretPause_.setInterval(kCaretPauseMs);
    connect(&caretPause_, &QTimer::timeout, this, &LivePreviewPanel::outlineCaret);
    connect(restart_, &QPushButton::clicked, this, [this] {
        form_.patterns().message("Spustit znovu");
        failed_ = false;
        prepare();
    });
    connect(mover_, &QToolButton::clicked, this, &LivePreviewPanel::move);
    PageEvents& events = form.pageEvents();
    connect(&events, &PageEvents::shownPageChanged, this, [this] {
        follow(form_.activeEditor());
        schedule();
    });
    connect(&events, &PageEvents::fileChanged, this, [this](int slot) {
        if (slot == form_.shownSlot()) {
            schedule();
        }
    });
}

LivePreviewPanel::~LivePreviewPanel() {
    ++generation_;
    pool_.waitForDone();
    view_.reset();
    QFile::remove(copyFile_);
}

void LivePreviewPanel::setShown(bool on) {
    if (on == !isHidden()) {
        return;
    }
    if (!on) {
        pause_.stop();
        caretPause_.stop();
        hide();
        return;
    }
    show();
    placeChanged();
    follow(form_.activeEditor());
    if (!ensureView()) {
        return;
    }
    prepare();
}

void LivePreviewPanel::follow(Editor* page) {
    if (page == page_) {
        return;
    }
    if (page_) {
        disconnect(page_->document(), nullptr, this, nullptr);
        disconnect(page_, nullptr, this, nullptr);
    }
    page_ = page;
    if (page) {
        // A key costs a timer's restart, nothing more.
        connect(page->document(), &QTextDocument::contentsChanged, this, [this] {
            if (!isHidden()) {
                pause_.start();
            }
        });
        connect(page, &QPlainTextEdit::cursorPositionChanged, this, [this] {
            if (!isHidden()) {
                caretPause_.start();
            }
        });
    }
}

// Another page or file: its copy as soon as the events in hand are done.
void LivePreviewPanel::schedule() {
    if (!isHidden()) {
        pause_.stop();
        QTimer::singleShot(0, this, &LivePreviewPanel::prepare);
    }
}

bool LivePreviewPanel::ensureView() {
    if (view_) {
        return true;
    }
    QString error;
    const CreatePreviewView create = loadModule(error);
    if (!create) {
        showNote(QString::fromUtf16(kNoModule) + error, false);
        return false;
    }
    removeStaleCopies(QFileInfo(copyFile_).path());
    PreviewHooks hooks;
    hooks.openLink = [this](const QUrl& url) {
        form_.platform().shell->openUrl(QString::fromUtf8(url.toEncoded()));
    };
    hooks.pick = [this](qsizetype offset) { pick(offset); };
    hooks.crashed = [this] {
        loaded_ = false;
        loading_ = false;
        waiting_.reset();
        base_.reset();
        failed_ = true;
        showNote(QString::fromUtf16(kFailed), true);
    };
    hooks.loaded = [this](bool ok) { finished(ok); };
    hooks.patched = [this](bool ok) {
        if (!view_) {
            return; // the view is going
        }
        if (ok) {
            finished(true);
        } else {
            loadWhole(true);
        }
    };
    view_.reset(create(stack_, std::move(hooks)));
    stack_->addWidget(view_->widget());
    stack_->setCurrentIndex(1);
    return true;
}

void LivePreviewPanel::finished(bool ok) {
    loaded_ = ok;
    loading_ = false;
    if (waiting_) {
        // A newer copy came meanwhile: the preview is not up to date yet.
        const Waiting next = *std::exchange(waiting_, std::nullopt);
        load(next.elements, next.slot, next.address, next.patch);
        return;
    }
    if (ok) {
        outlineCaret();
        Q_EMIT updated();
    } else {
        base_.reset();
    }
}

void LivePreviewPanel::showNote(const QString& note, bool offerRestart) {
    note_->setText(note);
    restart_->setVisible(offerRestart);
    stack_->setCurrentIndex(0);
}

void LivePreviewPanel::prepare() {
    pause_.stop();
    if (isHidden() || !page_ || !ensureView() || failed_) {
        return; // a failed view waits for "Spustit znovu"
    }
    const int slot = form_.shownSlot();
    const PageRecord& record = form_.pageRecord(slot);
    QTextDocument* document = page_->document();
    if (!isHtmlPage(record.file, *document)) {
        ++generation_;
        waiting_.reset();
        base_.reset();
        elements_.clear();
        shownSlot_ = 0;
        showNote(QString::fromUtf16(kNotHtml), false);
        return;
    }
    stack_->setCurrentIndex(1);
    // The page's own address: relative addresses resolve against its
    // folder, an anchor of the page is the page itself.
    const QUrl address = record.hasFile()
                             ? QUrl::fromLocalFile(QFileInfo(record.file).absoluteFilePath())
                             : QUrl::fromLocalFile(QDir::currentPath() + QLatin1Char('/'));
    const QByteArray base = address.toEncoded();
    const quint64 generation = ++generation_;
    const QString path = copyFile_;
    std::optional<Shown> before;
    if (base_ && base_->slot == slot && base_->address == address) {
        before = base_;
    }
    pool_.start([this, generation, path, base, slot, address, before = std::move(before),
                 text = document->toRawText()] {
        if (generation != generation_) {
            return; // a newer copy is wanted already
        }
        Made made;
        made.text = text;
        if (before && before->text == text) {
            made.unchanged = true;
        } else {
            made.copy = makePreviewCopy(text, kPreviewOffsetAttribute, base);
            if (before) {
                made.patch = previewPatch(before->text, before->elements, text, made.copy.elements,
                                          kPreviewOffsetAttribute);
            }
            // The whole copy is written even for a patch: a reload shows the
            // page as it is.
            QDir().mkpath(QFileInfo(path).path());
            QSaveFile file(path);
            made.written = file.open(QIODevice::WriteOnly) &&
                           file.write(made.copy.html) == made.copy.html.size() && file.commit();
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, made = std::move(made), slot, address] {
                if (generation == generation_) {
                    takeCopy(made, slot, address);
                }
            },
            Qt::QueuedConnection);
    });
}

void LivePreviewPanel::takeCopy(const Made& made, int slot, const QUrl& address) {
    if (isHidden() || failed_) {
        return;
    }
    if (made.unchanged) {
        // The copy shown (or on its way) is the page's text already.
        if (!loading_) {
            outlineCaret();
            Q_EMIT updated();
        }
        return;
    }
    if (!made.written) {
        showNote(QString::fromUtf16(kNoCopy), false);
        return;
    }
    const bool overtaken = waiting_.has_value();
    base_ = Shown{made.text, made.copy.elements, slot, address};
    if (loading_) {
        // The load in hand goes on; the newest copy follows it. (Starting
        // each copy at once would cut off the one before: a page that loads
        // for longer than the pause between keys would never show.) A patch
        // from a copy that never showed is no use: the whole copy then.
        // So is one that follows a whole load: the file it loads may be
        // newer than the copy the patch was made from.
        waiting_ = Waiting{made.copy.elements, slot, address,
                           overtaken || loadingWhole_ ? std::nullopt : made.patch};
        return;
    }
    load(made.copy.elements, slot, address, made.patch);
}

void LivePreviewPanel::load(const QList<PreviewElement>& elements, int slot, const QUrl& address,
                            const std::optional<PreviewPatch>& patch) {
    elements_ = elements;
    const bool samePage = slot == shownSlot_ && address == address_;
    shownSlot_ = slot;
    address_ = address;
    loading_ = true;
    if (patch && samePage && loaded_) {
        // Only what changed: no reload, no flash, the scroll position as it
        // was.
        loadingWhole_ = false;
        view_->patch(patch->start, patch->end, patch->shift, patch->html, patch->run,
                     patch->previous, patch->next);
    } else {
        loadWhole(samePage);
    }
}

// The copy file as it is now; a patch waiting for the load in hand is no
// use then.
void LivePreviewPanel::loadWhole(bool samePage) {
    loadingWhole_ = true;
    if (waiting_) {
        waiting_->patch.reset();
    }
    view_->showCopy(QUrl::fromLocalFile(copyFile_), address_, samePage);
}

void LivePreviewPanel::outlineCaret() {
    if (!view_ || !loaded_ || !page_ || isHidden()) {
        return;
    }
    const qsizetype at = elementAt(elements_, page_->textCursor().position());
    view_->outline(at < 0 ? -1 : elements_[at].start);
}

void LivePreviewPanel::pick(qsizetype offset) {
    Editor* page = shownSlot_ > 0 ? form_.editor(shownSlot_) : nullptr;
    if (!page) {
        return;
    }
    QTextCursor caret(page->document());
    caret.setPosition(
        int(qBound(qsizetype(0), offset, qsizetype(page->document()->characterCount() - 1))));
    form_.showPage(shownSlot_);
    page->setTextCursor(caret);
    page->ensureCursorVisible();
    page->setFocus(Qt::MouseFocusReason);
}

void LivePreviewPanel::move() {
    const bool below = !form_.settings().flag(kBelowSetting, false);
    form_.patterns().message(mover_->text());
    form_.settings().setFlag(kBelowSetting, below);
    form_.movePanel(this, below ? PanelPlace::Below : PanelPlace::Right);
    mover_->setText(QString::fromUtf16(below ? kRight : kDown));
    placeChanged();
}

// The panel takes the size it had last in its place, and keeps what the
// user drags it to.
void LivePreviewPanel::placeChanged() {
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter) {
        return;
    }
    disconnect(sizeWatch_);
    const bool below = splitter->orientation() == Qt::Vertical;
    const int whole = below ? splitter->height() : splitter->width();
    const int wanted =
        form_.settings().number(below ? kBelowSizeSetting : kRightSizeSetting, whole * 2 / 5);
    QList<int> sizes = splitter->sizes();
    const int own = splitter->indexOf(this);
    int rest = whole - qBound(50, wanted, whole - 50);
    for (int i = 1; i < sizes.size(); ++i) {
        if (i != own) {
            rest -= sizes[i];
        }
    }
    sizes[0] = qMax(50, rest);
    sizes[own] = qBound(50, wanted, whole - 50);
    splitter->setSizes(sizes);
    sizeWatch_ = connect(splitter, &QSplitter::splitterMoved, this, [this] { keepSize(); });
}

void LivePreviewPanel::keepSize() {
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter || isHidden()) {
        return;
    }
    const bool below = splitter->orientation() == Qt::Vertical;
    form_.settings().setNumber(below ? kBelowSizeSetting : kRightSizeSetting,
                               below ? height() : width());
}

void installLivePreview(Workspace& form) {
    auto* panel = new LivePreviewPanel(form);
    lastingToggle(form, kItem, kShownSetting, false, "Živý náhled...",
                  [panel](bool on) { panel->setShown(on); });
    if (form.action(kItem)->isChecked()) {
        // Shown when the program ended last: once the window is up.
        QTimer::singleShot(0, panel, [panel] { panel->setShown(true); });
    }
}

} // namespace zelvar
