#pragma once
// The whole program with scripted stand-ins, running in a fresh temporary
// working folder that is removed afterwards. The user's cache folder
// (XDG_CACHE_HOME) points into a temporary folder of its own meanwhile, so
// that no test writes into the real ~/.cache.

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <memory>

#include "app/program.h"
#include "app/tform1.h"
#include "support/testplatform.h"

namespace zelvar::testing {

class TestProgram {
public:
    TestProgram();
    ~TestProgram();

    TForm1& form() { return program_->mainWindow(); }
    ScriptedDialogs& dialogs() { return *platform_.dialogs; }
    RecordingShell& shell() { return *platform_.shell; }
    FixedClock& clock() { return *platform_.clock; }
    FixedRegional& regional() { return *platform_.regional; }
    RecordingPrinting& printing() { return *platform_.printing; }
    QString dir() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString cacheDir() const { return cache_.path(); }

    QString label(const char* name);
    QString message() { return label("Label2"); }
    // Shows the main window and waits until it is active (needed for keys).
    bool showAndActivate();
    // Empties the five pages and the notes (their undo steps too), shows page
    // 1 with the focus on the tab row and clears the operation message: the
    // start state again, for a test that keeps one program for all its rows.
    void resetEditors();

private:
    QTemporaryDir dir_;
    QTemporaryDir cache_;
    QString previousDir_;
    QByteArray previousCache_;
    bool hadCache_;
    TestPlatform platform_;
    std::unique_ptr<Program> program_;
};

} // namespace zelvar::testing
