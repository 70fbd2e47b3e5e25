#pragma once
// The command line: file names to open into the pages, or a request for the
// short help or version text. The launcher adds what it could not prepare as
// --notice TEXT, shown to the user once the main window is up.

#include <QString>
#include <QStringList>

namespace zelvar {

struct CommandLine {
    enum class Action {
        Run,     // start the window and open the files
        Help,    // print helpText() and end
        Version, // print versionText() and end
        Refuse   // print error and end with a failure
    };
    Action action = Action::Run;
    QStringList files;
    QStringList notices;
    QString error;
};

// The arguments after the program name.
CommandLine parseCommandLine(const QStringList& arguments);

QString helpText();
QString versionText();

} // namespace zelvar
