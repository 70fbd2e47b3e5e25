#include "support/testprogram.h"

#include <QApplication>
#include <QFile>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "editor/editor.h"
#include "ground/patterns.h"

namespace zelvar::testing {

TestProgram::TestProgram()
    : previousDir_(QDir::currentPath()), previousCache_(qgetenv("XDG_CACHE_HOME")),
      hadCache_(qEnvironmentVariableIsSet("XDG_CACHE_HOME")), platform_(makeTestPlatform()) {
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache_.path()));
    static bool prepared = false;
    if (!prepared) {
        prepareApplication(*qApp);
        prepared = true;
    }
    QDir::setCurrent(dir_.path());
    ScriptedDialogs* dialogs = platform_.dialogs;
    program_ = std::make_unique<Program>(std::move(platform_.platform));
    TForm1* form = &program_->mainWindow();
    dialogs->operationProbe = [form] {
        return form->findChild<QLabel*>(QStringLiteral("Label2"))->text();
    };
}

TestProgram::~TestProgram() {
    program_.reset();
    QDir::setCurrent(previousDir_);
    if (hadCache_) {
        qputenv("XDG_CACHE_HOME", previousCache_);
    } else {
        qunsetenv("XDG_CACHE_HOME");
    }
}

QString TestProgram::label(const char* name) {
    auto* l = form().findChild<QLabel*>(QLatin1String(name));
    return l ? l->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

bool TestProgram::showAndActivate() {
    form().show();
    form().activateWindow();
    return QTest::qWaitForWindowActive(&form());
}

void TestProgram::resetEditors() {
    TForm1& f = form();
    for (int slot = 1; slot <= 5; ++slot) {
        f.editor(slot)->setPlainText(QString()); // also forgets the undo steps
        f.editor(slot)->clearAll();
    }
    f.notesEditor()->setPlainText(QString());
    f.notesEditor()->clearAll();
    f.showPage(1);
    f.pageControl()->tabBar()->setFocus();
    f.patterns().message(QString());
}

} // namespace zelvar::testing
