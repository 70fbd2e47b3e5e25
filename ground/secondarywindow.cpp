#include "ground/secondarywindow.h"

namespace zelvar {

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

} // namespace zelvar
