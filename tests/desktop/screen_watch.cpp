// Watches the X screen for the start-up test: prints "ready" once it can see the screen, then "drawn MS" as soon as
// the screen shows more than one colour, or "blank MS" when it still shows one after LIMIT milliseconds. MS is the
// wall-clock time in milliseconds since the epoch at which the look that told it had finished.
//   screen_watch LIMIT
// One process that keeps looking costs the watched program far less time than a screen dump tool started again
// and again.
#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

namespace {

bool OneColour(const QImage &image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] != first)
                return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const int limit = argc > 1 ? atoi(argv[1]) : 1000;
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 2;
    auto look = [screen]() { return screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32); };
    // What a program that went before left on the screen takes a moment to go.
    QElapsedTimer settling;
    settling.start();
    while (!OneColour(look())) {
        if (settling.elapsed() > 10000) {
            std::printf("busy\n");
            return 2;
        }
        QThread::msleep(20);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const bool blank = OneColour(look());
        const qint64 at = QDateTime::currentMSecsSinceEpoch();
        if (!blank) {
            std::printf("drawn %lld\n", static_cast<long long>(at));
            return 0;
        }
        if (clock.elapsed() > limit) {
            std::printf("blank %lld\n", static_cast<long long>(at));
            return 0;
        }
        QThread::msleep(5);
    }
}
