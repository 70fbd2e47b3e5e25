#pragma once
// The main window: it builds the regions, the page slots, the menus and the
// toolbars, keeps the indicators of the shown page up to date and hands the
// controls to the commands of each subsystem. The commands themselves live
// with their subsystems.

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "app/pageslots.h"

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;

namespace zelvar {

class Editor;
class Patterns;
class ShortcutRouter;
struct Platform;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Page slots --------------------------------------------------------
    int shownSlot() const; // the slot of the page that PageControl1 shows
    Editor* editor(int slot) const;
    Editor* activeEditor() const { return editor(shownSlot()); }
    Editor* notesEditor() const { return notes_; }
    QTabWidget* pageControl() const { return pages_; }
    // The Format menu's page item: shows the page and keeps the focus in the
    // page editors when it was there.
    void showPage(int slot);

    // --- Services for the commands ----------------------------------------
    Platform& platform() { return platform_; }
    Patterns& patterns() { return *patterns_; }
    QAction* action(const char* name) const;
    QAbstractButton* button(const char* name) const;
    QMenu* menu(const char* name) const;
    // The key routing of the window (popup menus, main menu, own keys).
    ShortcutRouter& router() const { return *router_; }
    // Connects the menu item or button of this name to a command; the
    // command runs guarded by the exception display.
    void on(const char* name, std::function<void()> command);
    // The print title: an owned text that is never assigned.
    const QString& printTitle() const { return printTitle_; }

    // The close query: decides whether the window may close. Without one the
    // window always closes.
    void setCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbars(QWidget* band);
    QWidget* buildOptionStrip();
    QWidget* buildPages();
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

    Platform& platform_;
    std::unique_ptr<Patterns> patterns_;
    ShortcutRouter* router_ = nullptr;
    QTabWidget* pages_ = nullptr;
    std::array<Editor*, kPageCount> editors_{};
    Editor* notes_ = nullptr;
    QLabel* operationLabel_ = nullptr;
    QLabel* encodingPanel_ = nullptr;
    QList<QWidget*> tabRowOverlays_;
    QString printTitle_;
    std::function<bool()> closeQuery_;
};

} // namespace zelvar
