// Saves a picture of the whole X screen: x11shot FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0);
    return picture.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
