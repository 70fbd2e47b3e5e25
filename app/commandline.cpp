#include "app/commandline.h"

#include <QCommandLineParser>

#include "ground/texts.h"

namespace zelvar {

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    const QCommandLineOption notice(QStringLiteral("notice"), QString(), QStringLiteral("text"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(notice);
    CommandLine line;
    // The parser skips its first argument, the program's name.
    if (!parser.parse(QStringList{QStringLiteral("zelvar")} + arguments)) {
        QStringList unknown;
        for (const QString& name : parser.unknownOptionNames()) {
            unknown << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        }
        line.action = CommandLine::Action::Refuse;
        // With every option known, the one that takes a text came without it.
        line.error =
            (unknown.isEmpty()
                 ? text::q("zelvar: u volby --notice chybí text\n")
                 : text::q("zelvar: neznámá volba: %1\n").arg(unknown.join(QLatin1String(", ")))) +
            text::q("Více informací: zelvar --help\n");
    } else if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
    }
    line.files = parser.positionalArguments();
    line.notices = parser.values(notice);
    return line;
}

QString helpText() {
    return text::q("Použití: zelvar [SOUBOR]...\n"
                   "Zelvar, editor pro tvorbu webových stránek v HTML.\n"
                   "\n"
                   "Zadané soubory se otevřou do stránek 1 až 5, nejvýše pět.\n"
                   "Program pracuje ve složce ~/.local/share/zelvar (nebo $XDG_DATA_HOME/zelvar),\n"
                   "kde má šablony, poznámky, knihovnu tagů a zálohy.\n"
                   "\n"
                   "  -h, --help      vypíše tuto nápovědu a skončí\n"
                   "  -v, --version   vypíše verzi programu a skončí\n");
}

QString versionText() {
    return QStringLiteral("Zelvar 2.0\n");
}

} // namespace zelvar
