#include "InputSourceFactory.h"
#include "X11RawInputSource.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTest>

// The X server fixture as the application sees it with the xcb platform: a tray to live in,
// and global input through X11.
class TestX11Session : public QObject {
    Q_OBJECT

private slots:
    void runsOnXcb();
    void trayIsAvailable();
    void factoryChoosesX11RawInput();
};

void TestX11Session::runsOnXcb() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void TestX11Session::trayIsAvailable() {
    QTRY_VERIFY(QSystemTrayIcon::isSystemTrayAvailable());
}

void TestX11Session::factoryChoosesX11RawInput() {
    QVERIFY(InputSourceFactory::x11Available());
    const std::unique_ptr<InputSource> source = InputSourceFactory::create();
    auto* x11 = dynamic_cast<X11RawInputSource*>(source.get());
    QVERIFY(x11 != nullptr);
    QVERIFY(x11->start([](const KeyTransition&) {}, [](const ButtonTransition&) {}));
    QVERIFY(x11->isRunning());
    x11->stop();
    QVERIFY(!x11->isRunning());
}

QTEST_MAIN(TestX11Session)
#include "tst_x11session.moc"
