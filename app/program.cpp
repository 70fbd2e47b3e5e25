#include "app/program.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/tform1.h"
#include "ground/commands.h"
#include "ground/texts.h"

namespace zelvar {

void prepareApplication(QApplication& app) {
    app.setApplicationName(text::q(text::kApplicationTitle));
    app.setApplicationVersion(QStringLiteral("2.0"));
    // The desktop entry and the icon the installed program is known by.
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.zelvar.Zelvar"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zelvar")));
    // Qt's own button captions follow the system language.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    // The window descriptions name fonts that Linux does not have; these
    // installed faces are of similar size and look.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Sans Serif")});
    QFont::insertSubstitutions(QStringLiteral("Ventilate AOE"),
                               {QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif"),
                                QStringLiteral("Serif")});
    QFont::insertSubstitutions(QStringLiteral("BernhardMod BT"),
                               {QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif"),
                                QStringLiteral("Serif")});
}

Program::Program(Platform platform) : platform_(std::move(platform)) {
    form1_ = std::make_unique<TForm1>(platform_);
    // The commands, with the secondary windows they show, which belong to
    // the main window and live as long as it.
    installCommands(*form1_);
}

Program::~Program() = default;

} // namespace zelvar
