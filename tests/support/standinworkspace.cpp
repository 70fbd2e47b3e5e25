#include "support/standinworkspace.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
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
    auto* column = new QVBoxLayout(central);
    below_ = new QSplitter(Qt::Vertical, central);
    right_ = new QSplitter(Qt::Horizontal, below_);
    below_->addWidget(right_);
    pages_ = new QTabWidget(right_);
    right_->addWidget(pages_);
    for (const PageSlot& slot : kPageSlots) {
        auto* e = new Editor(pages_);
        e->setObjectName(QLatin1String(slot.editor));
        new HtmlHighlighter(e);
        new SpellView(e);
        editors_[slot.number - 1] = e;
        pages_->addTab(e, QString::fromUtf8(slot.tabCaption));
    }
    notes_ = new Editor(central);
    operation_ = new QLabel(central);
    column->addWidget(below_, 1);
    column->addWidget(notes_);
    column->addWidget(operation_);
    window_.setCentralWidget(central);
    events_ = new PageEvents(&window_);
    QObject::connect(pages_, &QTabWidget::currentChanged, events_,
                     [this](int index) { Q_EMIT events_->shownPageChanged(index + 1); });
    patterns_ = std::make_unique<Patterns>(&window_, *platform_.dialogs, operation_);
    settings_ = std::make_unique<Settings>();
    router_ = new ShortcutRouter(&window_, window_.menuBar());
    window_.resize(800, 600);
}

StandInWorkspace::~StandInWorkspace() = default;

void StandInWorkspace::addPanel(QWidget* panel, PanelPlace place) {
    panel->hide();
    movePanel(panel, place);
}

void StandInWorkspace::movePanel(QWidget* panel, PanelPlace place) {
    const bool shown = !panel->isHidden();
    (place == PanelPlace::Right ? right_ : below_)->addWidget(panel);
    panel->setVisible(shown);
}

QAction* StandInWorkspace::action(const char* name) const {
    return window_.findChild<QAction*>(QLatin1String(name));
}

QAbstractButton* StandInWorkspace::button(const char* name) const {
    return window_.findChild<QAbstractButton*>(QLatin1String(name));
}

QMenu* StandInWorkspace::menu(const char* name) const {
    return window_.findChild<QMenu*>(QLatin1String(name));
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

void StandInWorkspace::writeExitBackups() {
    for (const auto& write : backups_) {
        write();
    }
}

} // namespace zelvar::testing
