// SPDX-License-Identifier: GPL-3.0-or-later
// Grabs rectangles of the X screen into PPM files for the end-to-end scripts.
// It stays running and answers one request per line on standard input,
// "X Y WIDTH HEIGHT FILE" (a FILE without spaces), with "ok" or "failed" on standard output, so a
// picture can be taken within a few milliseconds of the moment it is asked for.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <iostream>
#include <string>

namespace {
bool grab(const QStringList& request) {
    if (request.size() != 5)
        return false;
    bool ok[4] = {};
    const int x = request[0].toInt(&ok[0]);
    const int y = request[1].toInt(&ok[1]);
    const int width = request[2].toInt(&ok[2]);
    const int height = request[3].toInt(&ok[3]);
    if (!(ok[0] && ok[1] && ok[2] && ok[3]) || width <= 0 || height <= 0)
        return false;
    const QImage picture = QGuiApplication::primaryScreen()->grabWindow(0, x, y, width, height).toImage();
    return !picture.isNull() && picture.convertToFormat(QImage::Format_RGB888).save(request[4], "PPM");
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    std::cout << "ready" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
        const QStringList request = QString::fromStdString(line).split(' ', Qt::SkipEmptyParts);
        std::cout << (grab(request) ? "ok" : "failed") << std::endl;
    }
    return 0;
}
