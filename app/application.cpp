#include "app/application.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>
#include <exception>

#include "app/commandline.h"
#include "app/program.h"
#include "app/tform1.h"
#include "files/documents.h"
#include "ground/patterns.h"
#include "ground/texts.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

void showException(const QString& message) {
    QMessageBox box(QMessageBox::Critical, text::q(text::kApplicationTitle),
                    Patterns::exceptionText(message), QMessageBox::Ok);
    box.exec();
}

// The last line of defence: anything that escapes an event handler is shown
// by the exception display and the event loop goes on.
class ZelvarApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            showException(QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
};

} // namespace

void startWith(Workspace& form, const CommandLine& line) {
    if (!line.notices.isEmpty()) {
        form.patterns().notice(line.notices.join(QLatin1Char('\n')));
    }
    Documents::of(form).openFiles(line.files);
}

int runApplication(int argc, char** argv) {
    // The short texts are printed before any window system is reached.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QFile::decodeName(argv[i]);
    }
    const CommandLine line = parseCommandLine(arguments);
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(line.error.toLocal8Bit().constData(), stderr);
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    ZelvarApplication app(argc, argv);
    try {
        prepareApplication(app);
        Program program(makeQtPlatform());
        TForm1& form = program.mainWindow();
        // Fill the screen even where no window manager maximises the window.
        if (const QScreen* screen = form.screen()) {
            form.setGeometry(screen->availableGeometry());
        }
        form.showMaximized();
        // Take the keyboard focus even where no window manager hands it over.
        form.raise();
        form.activateWindow();
        startWith(form, line);
        ZelvarApplication::exec();
    } catch (const std::exception& e) {
        showException(QString::fromLocal8Bit(e.what()));
    }
    return 0;
}

} // namespace zelvar
