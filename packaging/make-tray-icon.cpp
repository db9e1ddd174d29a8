// SPDX-License-Identifier: GPL-3.0-or-later
// Renders icons/quellar.svg into the tray icon file data/modules/img/trayIcon.ico.
// Not part of the build; run it after changing the icon:
//   g++ -std=c++20 -fPIC make-tray-icon.cpp $(pkg-config --cflags --libs Qt6Gui Qt6Svg) -o /tmp/make-tray-icon
//   QT_QPA_PLATFORM=offscreen /tmp/make-tray-icon icons/quellar.svg data/modules/img/trayIcon.ico
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-tray-icon SVG ICO\n");
        return 2;
    }
    constexpr int kSize = 32; // the classic tray size; the tray scales it as it needs
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid())
        return 1;
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    QImageWriter writer(QString::fromLocal8Bit(argv[2]), "ico");
    return writer.write(image) ? 0 : 1;
}
