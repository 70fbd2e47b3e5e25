#include "support/standinworkspace.h"

#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "editor/spellview.h"
#include "ground/patterns.h"
#include "ground/settings.h"
#include "ground/shortcutrouter.h"
#include "ground/speller.h"

namespace zelvar::testing {

StandInWorkspace::StandInWorkspace() : platform_(makeTestPlatform()) {
    auto* central = new QWidget(&window_);
    column_ = new QVBoxLayout(central);
    pages_ = new QTabWidget(central);
    for (const PageSlot& slot : kPageSlots) {
        auto* e = new Editor(pages_);
        e->setObjectName(QLatin1String(slot.editor));
        new HtmlHighlighter(e);
        new SpellView(e);
        editors_[slot.number - 1] = e;
        pages_->addTab(e, QString::fromUtf8(slot.tabCaption));
    }
    notes_ = new Editor(central);
    auto* operation = new QLabel(central);
    column_->addWidget(pages_, 1);
    column_->addWidget(notes_);
    column_->addWidget(operation);
    window_.setCentralWidget(central);
    events_ = new PageEvents(&window_);
    QObject::connect(pages_, &QTabWidget::currentChanged, events_,
                     [this](int index) { Q_EMIT events_->shownPageChanged(index + 1); });
    patterns_ = std::make_unique<Patterns>(&window_, *platform_.dialogs, operation);
    settings_ = std::make_unique<Settings>();
    router_ = new ShortcutRouter(&window_, window_.menuBar());
    window_.resize(800, 600);
}

StandInWorkspace::~StandInWorkspace() = default;

void StandInWorkspace::addPanel(QWidget* panel, PanelPlace) {
    panel->hide();
    column_->insertWidget(1, panel);
}

void StandInWorkspace::on(const char* name, std::function<void()> command) {
    QAction* item = action(name);
    if (!item) {
        item = new QAction(QLatin1String(name), &window_);
        item->setObjectName(QLatin1String(name));
        item->setCheckable(true);
        window_.addAction(item);
    }
    QObject::connect(item, &QAction::triggered, &window_,
                     [this, command = std::move(command)] { patterns_->guarded(command); });
}

} // namespace zelvar::testing
