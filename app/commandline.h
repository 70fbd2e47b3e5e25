#pragma once
// The command line: file names to open into the pages, or a request for the
// short help or version text.

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
    QString error;
};

// The arguments after the program name.
CommandLine parseCommandLine(const QStringList& arguments);

QString helpText();
QString versionText();

} // namespace zelvar
