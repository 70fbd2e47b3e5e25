#pragma once
// A small main window for testing one subsystem's commands without the whole
// program: five page editors with their HTML view, the notes pad, the page
// records and events, settings in memory and the scripted platform. Panels
// stand below the pages wherever they ask to stand. A command connected by
// name gets a menu item of that name, which the test triggers.

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTabWidget>
#include <array>
#include <memory>
#include <vector>

#include "ground/pagerecord.h"
#include "ground/pageslots.h"
#include "ground/workspace.h"
#include "support/testplatform.h"

class QVBoxLayout;

namespace zelvar::testing {

class StandInWorkspace : public Workspace {
public:
    StandInWorkspace();
    ~StandInWorkspace();

    ScriptedDialogs& dialogs() { return *platform_.dialogs; }

    int shownSlot() const override { return pages_->currentIndex() + 1; }
    Editor* editor(int slot) const override { return editors_.at(slot - 1); }
    Editor* notesEditor() const override { return notes_; }
    QTabWidget* pageControl() const override { return pages_; }
    void showPage(int slot) override { pages_->setCurrentIndex(slot - 1); }
    PageRecord& pageRecord(int slot) override { return records_.at(slot - 1); }
    PageEvents& pageEvents() override { return *events_; }
    void addPanel(QWidget* panel, PanelPlace place) override;
    void movePanel(QWidget*, PanelPlace) override {}
    Platform& platform() override { return platform_.platform; }
    Patterns& patterns() override { return *patterns_; }
    Settings& settings() override { return *settings_; }
    QAction* action(const char* name) const override { return find<QAction>(name); }
    QAbstractButton* button(const char* name) const override { return find<QAbstractButton>(name); }
    QMenu* menu(const char* name) const override { return find<QMenu>(name); }
    const RegionControls& controls() const override { return controls_; }
    ShortcutRouter& router() const override { return *router_; }
    void on(const char* name, std::function<void()> command) override;
    const QString& printTitle() const override { return printTitle_; }
    QMainWindow& mainWindow() override { return window_; }
    void setCloseQuery(std::function<bool()>) override {}
    void addExitBackup(std::function<void()> write) override { backups_.push_back(write); }
    void writeExitBackups() override {
        for (const auto& write : backups_) {
            write();
        }
    }

private:
    template <typename T> T* find(const char* name) const {
        return window_.findChild<T*>(QLatin1String(name));
    }

    TestPlatform platform_;
    QMainWindow window_;
    QVBoxLayout* column_;
    QTabWidget* pages_;
    std::array<Editor*, kPageCount> editors_{};
    Editor* notes_;
    std::array<PageRecord, kPageCount> records_;
    PageEvents* events_;
    std::unique_ptr<Patterns> patterns_;
    std::unique_ptr<Settings> settings_;
    ShortcutRouter* router_;
    RegionControls controls_;
    QString printTitle_;
    std::vector<std::function<void()>> backups_;
};

} // namespace zelvar::testing
