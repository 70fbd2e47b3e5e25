#pragma once
// What the commands of the subsystems need of the main window: the editors
// and what is known of their pages, the page events, places for panels, the
// services and settings, the controls by name and the window itself. The
// main window implements it; the subsystems know this interface only.

#include <QList>
#include <QMainWindow>
#include <array>
#include <functional>

class QAbstractButton;
class QAction;
class QLabel;
class QListView;
class QPlainTextEdit;
class QScrollBar;

class QMenu;
class QString;
class QTabWidget;
class QWidget;

namespace zelvar {

class Editor;
class PageEvents;
class Patterns;
class Settings;
class ShortcutRouter;
struct PageRecord;
struct Platform;

// The controls of the window's fixed regions that commands drive.
struct RegionControls {
    // The colour mixer: red, green and blue, and the sample.
    std::array<QScrollBar*, 3> mixerSliders{};
    std::array<QLabel*, 3> mixerValues{};
    QPlainTextEdit* mixerSample = nullptr;
    QListView* tagList = nullptr; // the tag box's sorted list
    QList<QLabel*> swatches;      // the colour swatches of the tab row, left to right
};

// Where a panel stands: at the right of the pages or below them.
enum class PanelPlace { Right, Below };

class Workspace {
public:
    // --- Page slots --------------------------------------------------------
    virtual int shownSlot() const = 0; // the slot of the page that PageControl1 shows
    virtual Editor* editor(int slot) const = 0;
    Editor* activeEditor() const { return editor(shownSlot()); }
    virtual Editor* notesEditor() const = 0;
    virtual QTabWidget* pageControl() const = 0;
    // The Format menu's page item: shows the page and keeps the focus in the
    // page editors when it was there.
    virtual void showPage(int slot) = 0;
    // The page's file and what it was when last read or written.
    virtual PageRecord& pageRecord(int slot) = 0;
    PageRecord& shownRecord() { return pageRecord(shownSlot()); }
    // The shown page changed; a page's text, file or encoding changed.
    virtual PageEvents& pageEvents() = 0;

    // --- Panels --------------------------------------------------------------
    // Gives a feature's panel a place beside the pages, behind a splitter the
    // user can drag. It starts hidden; shown and hidden with setVisible, it
    // takes its space from the pages and gives it back. The window takes it
    // over.
    virtual void addPanel(QWidget* panel, PanelPlace place) = 0;
    // Moves a panel to the other place, keeping whether it is shown.
    virtual void movePanel(QWidget* panel, PanelPlace place) = 0;

    // --- Services and controls ---------------------------------------------
    virtual Platform& platform() = 0;
    virtual Patterns& patterns() = 0;
    virtual Settings& settings() = 0;
    virtual QAction* action(const char* name) const = 0;
    virtual QAbstractButton* button(const char* name) const = 0;
    virtual QMenu* menu(const char* name) const = 0;
    virtual const RegionControls& controls() const = 0;
    // The key routing of the window (popup menus, main menu, own keys).
    virtual ShortcutRouter& router() const = 0;
    // Connects the menu item or button of this name to a command; the
    // command runs guarded by the exception display.
    virtual void on(const char* name, std::function<void()> command) = 0;
    // The print title: an owned text that is never assigned.
    virtual const QString& printTitle() const = 0;
    // The main window itself, for its geometry, palette and child controls.
    virtual QMainWindow& mainWindow() = 0;
    const QMainWindow& mainWindow() const { return const_cast<Workspace*>(this)->mainWindow(); }

    // --- The way out -------------------------------------------------------
    // The close query: decides whether the window may close. Without one the
    // window always closes.
    virtual void setCloseQuery(std::function<bool()> query) = 0;
    // Backups that a subsystem adds to those of the pages on every way out
    // (the notes pad's); they are written in the order added.
    virtual void addExitBackup(std::function<void()> write) = 0;
    virtual void writeExitBackups() = 0;

protected:
    ~Workspace() = default;
};

} // namespace zelvar
