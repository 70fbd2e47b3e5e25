#pragma once
// The main window: it builds the regions, the page slots, the menus and the
// toolbars, keeps the indicators of the shown page up to date and hands the
// controls to the commands of each subsystem. The commands themselves live
// with their subsystems.

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "ground/pagerecord.h"
#include "ground/pageslots.h"
#include "ground/workspace.h"

class QAbstractButton;
class QAction;
class QLabel;
class QProgressBar;
class QMenu;
class QSplitter;
class QTabWidget;

namespace zelvar {

class Editor;
class Patterns;
class Settings;
class ShortcutRouter;
struct Platform;

class TForm1 : public QMainWindow, public Workspace {
    Q_OBJECT
public:
    explicit TForm1(Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Workspace -----------------------------------------------------------
    int shownSlot() const override;
    Editor* editor(int slot) const override;
    Editor* notesEditor() const override { return notes_; }
    QTabWidget* pageControl() const override { return pages_; }
    void showPage(int slot) override;
    PageRecord& pageRecord(int slot) override { return records_.at(slot - 1); }
    PageEvents& pageEvents() override { return *pageEvents_; }
    void addPanel(QWidget* panel, PanelPlace place) override;
    void movePanel(QWidget* panel, PanelPlace place) override;
    Platform& platform() override { return platform_; }
    Patterns& patterns() override { return *patterns_; }
    Settings& settings() override { return *settings_; }
    QAction* action(const char* name) const override;
    QAbstractButton* button(const char* name) const override;
    QMenu* menu(const char* name) const override;
    const RegionControls& controls() const override { return controls_; }
    ShortcutRouter& router() const override { return *router_; }
    void on(const char* name, std::function<void()> command) override;
    const QString& printTitle() const override { return printTitle_; }
    QMainWindow& mainWindow() override { return *this; }
    void setCloseQuery(std::function<bool()> query) override { closeQuery_ = std::move(query); }
    void addExitBackup(std::function<void()> write) override;
    void writeExitBackups() override;

    // The names given to on() that name no control: a misspelt name.
    QStringList unmatchedControls() const { return unmatchedControls_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbars(QWidget* band);
    QWidget* buildOptionStrip();
    QWidget* buildPages();
    QWidget* buildPanelPlaces(QWidget* pages);
    QWidget* buildBottomRow();
    void buildStatusBar();
    void placeTabRowOverlays();
    bool routePageKeys(QWidget* focus, QKeyCombination key, bool perform);

    // Handlers of the page slots.
    void tabSheetShow(int slot);
    void richEditChange(int slot);
    void richEditEnter(int slot);
    void richEditExit(int slot);
    void pageItemClick(int slot);
    void setPageChecks(int slot);
    void showEncoding(int slot);
    void showWordWrap(int slot);
    void showLineBreak(int slot);
    void showCaretPlace(int slot);
    void showFile(int slot);

    Platform& platform_;
    std::unique_ptr<Patterns> patterns_;
    std::unique_ptr<Settings> settings_;
    PageEvents* pageEvents_ = nullptr;
    std::array<PageRecord, kPageCount> records_;
    QSplitter* rightOfPages_ = nullptr; // the pages and the panels at their right
    QSplitter* belowPages_ = nullptr;   // those and the panels below them
    ShortcutRouter* router_ = nullptr;
    QTabWidget* pages_ = nullptr;
    std::array<Editor*, kPageCount> editors_{};
    Editor* notes_ = nullptr;
    QLabel* operationLabel_ = nullptr;
    QLabel* encodingPanel_ = nullptr;
    QLabel* lineBreakPanel_ = nullptr;
    QLabel* caretPanel_ = nullptr;
    QProgressBar* loadBar_ = nullptr;
    QLabel* filePanel_ = nullptr;
    QLabel* wordWrapLabel_ = nullptr;   // Label7
    QLabel* lineCountLabel_ = nullptr;  // Label3
    QLabel* pageNameLabel_ = nullptr;   // Panel18, in the tab row
    QLabel* editorNameLabel_ = nullptr; // Label9, in the static memory box
    QList<QWidget*> tabRowOverlays_;
    QString printTitle_;
    std::function<bool()> closeQuery_;
    std::vector<std::function<void()>> exitBackups_;
    QStringList unmatchedControls_;
    RegionControls controls_;
};

} // namespace zelvar
