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
#include "windows/forms.h"

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
    // The secondary windows belong to the main window and live as long as it.
    new TForm2(form1_.get());
    new TForm3(form1_.get());
    new TForm4(form1_.get());
    new TForm5(form1_.get());
    new TForm6(form1_.get());
    new TForm7(form1_.get());
    new TForm8(form1_.get());
    new TForm9(form1_.get());
    // The commands are wired once every window they show exists.
    installCommands(*form1_);
}

Program::~Program() = default;

} // namespace zelvar
