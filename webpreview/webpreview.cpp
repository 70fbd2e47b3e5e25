// The live preview's web view: Qt WebEngine in a module of its own, loaded
// by the panel when it is first shown. The page's own scripts run in the
// main world; the preview's helpers run in the application's world, which
// shares the document but none of the scripts' objects, so the page sees
// itself as written: once the document is parsed, the helpers take the
// offset attributes out of the elements and keep them on their side. (Taking
// each out as the parser inserts it, by a mutation observer, made a load of
// a 1 MB page a second slower.) Scripts of the page that run while it is
// parsed still see the attributes.

#include <QJsonArray>
#include <QJsonDocument>
#include <QOpenGLContext>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include "ground/previewview.h"

namespace zelvar {

namespace {

// Installed in each document of the preview once it is parsed.
const char kHelpers[] = R"(
(function () {
  const NAME = '%1';
  const byOffset = new Map();
  const offsets = new WeakMap();
  function take(el) {
    const v = el.getAttribute(NAME);
    if (v === null) return;
    el.removeAttribute(NAME);
    offsets.set(el, +v);
    byOffset.set(+v, el);
  }
  function sweep(node) {
    if (node.nodeType !== 1) return;
    take(node);
    for (const el of node.querySelectorAll('[' + NAME + ']')) take(el);
  }
  sweep(document.documentElement);

  function forget(node) {
    if (node.nodeType !== 1) return;
    for (const d of [node, ...node.querySelectorAll('*')]) {
      if (offsets.get(d) !== undefined && byOffset.get(offsets.get(d)) === d)
        byOffset.delete(offsets.get(d));
    }
  }
  function moveOffsets(end, shift) {
    if (shift !== 0) {
      const moved = [];
      for (const entry of byOffset) if (entry[0] >= end) moved.push(entry);
      for (const entry of moved) byOffset.delete(entry[0]);
      for (const [o, e] of moved) {
        byOffset.set(o + shift, e);
        offsets.set(e, o + shift);
      }
    }
  }
  // A new copy of one element in place of the old one, or (run) of what
  // the body holds between two of its elements; the offsets of the
  // elements after it move with the text.
  window.zelvarPatch = function (start, end, shift, html, run, previous, next) {
    sweep(document.documentElement);
    const el = byOffset.get(start);
    const parent = el && el.parentElement;
    if (!parent || !el.isConnected) return false;
    const child = function (offset) {
      const c = offset >= 0 ? byOffset.get(offset) : null;
      return offset < 0 || (c && c.parentNode === el) ? c : undefined;
    };
    const gone = [];
    const first = run ? child(previous) : null;
    const last = run ? child(next) : null;
    if (first === undefined || last === undefined) return false;
    if (run) {
      let node = first ? first.nextSibling : el.firstChild;
      for (; node && node !== last; node = node.nextSibling) gone.push(node);
      if (node !== last) return false;
    } else {
      gone.push(el);
    }
    for (const node of gone) forget(node);
    moveOffsets(end, shift);
    try {
      if (!run) {
        el.outerHTML = html;
      } else {
        for (const node of gone) node.remove();
        if (first) first.insertAdjacentHTML('afterend', html);
        else if (last) last.insertAdjacentHTML('beforebegin', html);
        else el.insertAdjacentHTML('beforeend', html);
      }
    } catch (e) {
      return false;
    }
    sweep(run ? el : parent);
    return true;
  };

  let box = null;
  window.zelvarOutline = function (offset) {
    sweep(document.documentElement);
    const el = byOffset.get(offset);
    if (!el || !el.isConnected || el === document.documentElement || el === document.body) {
      if (box) box.remove();
      return false;
    }
    if (!box) {
      box = document.createElement('div');
      box.style.cssText = 'position:absolute;pointer-events:none;z-index:2147483647;' +
        'outline:2px solid #e8a317;outline-offset:1px;background:rgba(232,163,23,0.08);margin:0;';
    }
    const r = el.getBoundingClientRect();
    box.style.left = (r.left + scrollX) + 'px';
    box.style.top = (r.top + scrollY) + 'px';
    box.style.width = r.width + 'px';
    box.style.height = r.height + 'px';
    if (box.parentNode !== document.documentElement) document.documentElement.appendChild(box);
    if (r.bottom < 0 || r.top > innerHeight || r.right < 0 || r.left > innerWidth)
      el.scrollIntoView({block: 'center', inline: 'nearest'});
    return true;
  };
  document.addEventListener('click', function (e) {
    if (!e.ctrlKey) return;
    for (let el = e.target; el; el = el.parentElement) {
      if (offsets.has(el)) {
        e.preventDefault();
        e.stopImmediatePropagation();
        console.log('zelvar-pick:' + offsets.get(el));
        return;
      }
    }
  }, true);
})();
)";

// The scroll position of the copy shown before, given to the next one as
// soon as its document is there and again once it has loaded.
const char kRestore[] = R"(
(function () {
  const x = %1, y = %2;
  if (x === 0 && y === 0) return;
  scrollTo(x, y);
  const first = [scrollX, scrollY];
  // Again once pictures have their size, unless something scrolled since.
  addEventListener('load', function () {
    if (scrollX === first[0] && scrollY === first[1]) scrollTo(x, y);
  });
})();
)";

const char kPick[] = "zelvar-pick:";

// A text as a script's literal: a one-string array, to be taken `[0]`.
QString quoted(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
}

class Page final : public QWebEnginePage {
public:
    Page(QObject* parent, PreviewHooks& hooks) : QWebEnginePage(parent), hooks_(hooks) {}

    QUrl copy;    // the copy shown, with no fragment
    QUrl address; // the page's own address

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (standIn_) {
            if (url.isValid() && url != QUrl(QStringLiteral("about:blank"))) {
                hooks_.openLink(url);
                deleteLater();
            }
            return false;
        }
        if (type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted) {
            return true; // the copy itself, reloads, the page's own frames
        }
        const QUrl target = url.adjusted(QUrl::RemoveFragment);
        if (target == copy) {
            return true; // an anchor of the copy: the preview scrolls to it
        }
        if (target == address && url.hasFragment()) {
            scrollToAnchor(url.fragment(QUrl::FullyDecoded));
            return false;
        }
        if (isMainFrame || type == NavigationTypeLinkClicked) {
            hooks_.openLink(url);
            return false;
        }
        return true;
    }

    // A link that asks for a window of its own opens in the browser too:
    // its address arrives with the stand-in page's first navigation.
    QWebEnginePage* createWindow(WebWindowType) override {
        auto* standIn = new Page(this, hooks_);
        standIn->standIn_ = true;
        return standIn;
    }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        if (message.startsWith(QLatin1String(kPick))) {
            bool ok = false;
            const qsizetype offset = message.mid(int(sizeof kPick) - 1).toLongLong(&ok);
            if (ok && offset >= 0) {
                hooks_.pick(offset);
            }
        }
    }

private:
    void scrollToAnchor(const QString& name) {
        runJavaScript(QStringLiteral("(function (n) {"
                                     " const e = document.getElementById(n) ||"
                                     " document.getElementsByName(n)[0];"
                                     " if (e) e.scrollIntoView();"
                                     " else if (n === '' || n.toLowerCase() === 'top')"
                                     " scrollTo(0, 0); })(%1[0])")
                          .arg(quoted(name)),
                      QWebEngineScript::ApplicationWorld);
    }

    PreviewHooks& hooks_;
    bool standIn_ = false; // the page of a link's own window
};

class WebPreview final : public PreviewView {
public:
    WebPreview(QWidget* parent, PreviewHooks hooks)
        : hooks_(std::move(hooks)), view_(new QWebEngineView(parent)) {
        view_->setObjectName(QStringLiteral("LivePreviewView"));
        page_ = new Page(view_, hooks_);
        view_->setPage(page_);
        view_->setContextMenuPolicy(Qt::NoContextMenu);
        QWebEngineScript helpers;
        helpers.setName(QStringLiteral("zelvar-helpers"));
        helpers.setSourceCode(
            QString::fromLatin1(kHelpers).arg(QLatin1String(kPreviewOffsetAttribute)));
        helpers.setInjectionPoint(QWebEngineScript::DocumentReady);
        helpers.setWorldId(QWebEngineScript::ApplicationWorld);
        helpers.setRunsOnSubFrames(false);
        page_->scripts().insert(helpers);
        QObject::connect(page_, &QWebEnginePage::scrollPositionChanged, view_,
                         [this](const QPointF& at) {
                             if (!loading_) {
                                 scroll_ = at;
                             }
                         });
        QObject::connect(page_, &QWebEnginePage::loadStarted, view_, [this] { loading_ = true; });
        QObject::connect(page_, &QWebEnginePage::loadFinished, view_, [this](bool ok) {
            loading_ = false;
            hooks_.loaded(ok);
        });
        QObject::connect(page_, &QWebEnginePage::renderProcessTerminated, view_,
                         [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                             loading_ = false;
                             if (status != QWebEnginePage::NormalTerminationStatus) {
                                 hooks_.crashed();
                             }
                         });
    }

    ~WebPreview() override { delete view_; }

    QWidget* widget() override { return view_; }

    void showCopy(const QUrl& file, const QUrl& address, bool samePage) override {
        if (!samePage) {
            scroll_ = QPointF();
        }
        const QList<QWebEngineScript> old = page_->scripts().find(QStringLiteral("zelvar-restore"));
        for (const QWebEngineScript& s : old) {
            page_->scripts().remove(s);
        }
        QWebEngineScript restore;
        restore.setName(QStringLiteral("zelvar-restore"));
        restore.setSourceCode(QString::fromLatin1(kRestore).arg(QString::number(scroll_.x()),
                                                                QString::number(scroll_.y())));
        restore.setInjectionPoint(QWebEngineScript::DocumentReady);
        restore.setWorldId(QWebEngineScript::ApplicationWorld);
        restore.setRunsOnSubFrames(false);
        page_->scripts().insert(restore);
        page_->copy = file.adjusted(QUrl::RemoveFragment);
        page_->address = address.adjusted(QUrl::RemoveFragment);
        page_->load(file);
    }

    void patch(qsizetype start, qsizetype end, qsizetype shift, const QString& html, bool run,
               qsizetype previous, qsizetype next) override {
        // The callback may come as the page goes.
        page_->runJavaScript(
            QStringLiteral("zelvarPatch(%1, %2, %3, ").arg(start).arg(end).arg(shift) +
                quoted(html) +
                QStringLiteral("[0], %1, %2, %3)")
                    .arg(QLatin1String(run ? "true" : "false"))
                    .arg(previous)
                    .arg(next),
            QWebEngineScript::ApplicationWorld,
            [guard = QPointer<Page>(page_), hooks = &hooks_](const QVariant& done) {
                if (guard) {
                    hooks->patched(done.toBool());
                }
            });
    }

    void outline(qsizetype start) override {
        page_->runJavaScript(QStringLiteral("zelvarOutline(%1)").arg(start),
                             QWebEngineScript::ApplicationWorld);
    }

    void runScript(const QString& code, std::function<void(const QVariant&)> done) override {
        page_->runJavaScript(code, std::move(done));
    }

    qint64 renderProcess() const override { return page_->renderProcessPid(); }

private:
    PreviewHooks hooks_;
    QWebEngineView* view_;
    Page* page_;
    QPointF scroll_;
    bool loading_ = false;
};

} // namespace

} // namespace zelvar

extern "C" Q_DECL_EXPORT zelvar::PreviewView* zelvarCreatePreviewView(QWidget* parent,
                                                                      zelvar::PreviewHooks hooks) {
    return new zelvar::WebPreview(parent, std::move(hooks));
}
