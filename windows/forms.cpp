#include "windows/forms.h"

namespace zelvar {

namespace {

constexpr WindowDescription kForm2{"TForm2", ".: O programu :.", 262, 211, false};
constexpr WindowDescription kForm3{"TForm3", ".: Text v pohybu :.", 290, 175, false};
constexpr WindowDescription kForm4{"TForm4", ".: Změna barvy :.", 290, 175, false};
constexpr WindowDescription kForm5{"TForm5", ".: Obsah schránky :.", 290, 175, false};
constexpr WindowDescription kForm6{"TForm6", ".: Datum a čas :.", 290, 175, false};
constexpr WindowDescription kForm7{"TForm7", ".: Domovská stránka :.", 290, 175, false};
constexpr WindowDescription kForm8{"TForm8", ".: Přidat k oblíbeným :.", 290, 175, false};
constexpr WindowDescription kForm9{"TForm9", ".: Další tagy :.", 210, 64, true};

} // namespace

SecondaryWindow::SecondaryWindow(const WindowDescription& d, QWidget* parent) : QDialog(parent) {
    setObjectName(QLatin1String(d.name));
    setWindowTitle(QString::fromUtf8(d.caption));
    // A fixed single border with the system menu (and minimise where given).
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (d.minimizeButton) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    setWindowFlags(flags);
    setModal(true);
    setFixedSize(d.clientWidth, d.clientHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
}

TForm2::TForm2(QWidget* parent) : SecondaryWindow(kForm2, parent) {}
TForm3::TForm3(QWidget* parent) : SecondaryWindow(kForm3, parent) {}
TForm4::TForm4(QWidget* parent) : SecondaryWindow(kForm4, parent) {}
TForm5::TForm5(QWidget* parent) : SecondaryWindow(kForm5, parent) {}
TForm6::TForm6(QWidget* parent) : SecondaryWindow(kForm6, parent) {}
TForm7::TForm7(QWidget* parent) : SecondaryWindow(kForm7, parent) {}
TForm8::TForm8(QWidget* parent) : SecondaryWindow(kForm8, parent) {}
TForm9::TForm9(QWidget* parent) : SecondaryWindow(kForm9, parent) {}

} // namespace zelvar
