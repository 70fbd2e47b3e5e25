// Saves what the display shows as a PNG once it has settled: two grabs a
// quarter of a second apart that agree and show more than one colour.
// `make screenshot` runs it beside the program on a virtual display.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

namespace {

bool oneColour(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            if (image.pixel(x, y) != first) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: zelvar_screengrab FILE.png\n", stderr);
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    QImage last;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000) {
        QThread::msleep(250);
        const QImage now = screen->grabWindow(0).toImage();
        if (now == last && !oneColour(now)) {
            return now.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
        }
        last = now;
    }
    std::fputs("zelvar_screengrab: the display did not settle\n", stderr);
    return 1;
}
