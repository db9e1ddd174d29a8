#include "EvdevScanCodeTable.h"
#include "InputHook.h"
#include "InputSourceFactory.h"
#include "WindowEventInputSource.h"
#include "X11RawInputSource.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>

#include <vector>

class TestInputSources : public QObject {
    Q_OBJECT

private slots:
    void evdevTable_data();
    void evdevTable();
    void everyTableEntryReachesAUsageOrIsKnownSilent();
    void windowEventsReportKeysOnce();
    void windowEventsReportButtonsOnce();
    void windowEventsStopWhenStopped();
    void factoryFallsBackWithoutX11();
};

void TestInputSources::evdevTable_data() {
    QTest::addColumn<int>("evdev");
    QTest::addColumn<bool>("known");
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<bool>("extended");

    QTest::newRow("escape") << 1 << true << 0x01 << false;
    QTest::newRow("a") << 30 << true << 0x1E << false;
    QTest::newRow("backslash") << 43 << true << 0x2B << false;
    QTest::newRow("left shift") << 42 << true << 0x2A << false;
    QTest::newRow("right shift") << 54 << true << 0x36 << true;
    QTest::newRow("left alt") << 56 << true << 0x38 << false;
    QTest::newRow("num lock") << 69 << true << 0x45 << true;
    QTest::newRow("scroll lock") << 70 << true << 0x46 << false;
    QTest::newRow("keypad dot") << 83 << true << 0x53 << false;
    QTest::newRow("102nd") << 86 << true << 0x56 << false;
    QTest::newRow("f12") << 88 << true << 0x58 << false;
    QTest::newRow("keypad enter") << 96 << true << 0x1C << true;
    QTest::newRow("right ctrl") << 97 << true << 0x1D << true;
    QTest::newRow("print") << 99 << true << 0x37 << true;
    QTest::newRow("right alt") << 100 << true << 0x38 << true;
    QTest::newRow("delete") << 111 << true << 0x53 << true;
    QTest::newRow("pause") << 119 << true << 0x45 << false;
    QTest::newRow("left meta") << 125 << true << 0x5B << true;
    QTest::newRow("right meta") << 126 << true << 0x5C << true;
    QTest::newRow("f23") << 193 << true << 0x6E << false;
    QTest::newRow("unused 84") << 84 << false << 0 << false;
    QTest::newRow("zero") << 0 << false << 0 << false;
    QTest::newRow("negative") << -8 << false << 0 << false;
    QTest::newRow("huge") << 70000 << false << 0 << false;
}

void TestInputSources::evdevTable() {
    QFETCH(int, evdev);
    QFETCH(bool, known);
    QFETCH(int, scanCode);
    QFETCH(bool, extended);
    const auto scan = EvdevScanCodeTable::lookup(evdev);
    QCOMPARE(scan.has_value(), known);
    if (known)
        QVERIFY((*scan == EvdevScanCodeTable::ScanCode{quint16(scanCode), extended}));
}

void TestInputSources::everyTableEntryReachesAUsageOrIsKnownSilent() {
    // Every key a US PC keyboard has (evdev 1..127 without the media keys) lands on a usage,
    // except the right Windows key, which the maps leave out on purpose.
    InputHook hook;
    const QList<int> silent{84,  85,  89,  90,  91,  92,  93,  94,  95,  101, 112, 113,
                            114, 115, 116, 117, 118, 120, 121, 122, 123, 124, 126};
    for (int evdev = 1; evdev <= 127; ++evdev) {
        const auto scan = EvdevScanCodeTable::lookup(evdev);
        const quint8 vk = scan ? hook.virtualKeyFor(InputHook::mapKey(scan->code, scan->extended)) : 0;
        const quint8 usage = vk ? hook.usageFor(vk) : 0;
        if (silent.contains(evdev))
            QVERIFY2(usage == 0, qPrintable(QString::number(evdev)));
        else
            QVERIFY2(usage != 0, qPrintable(QString::number(evdev)));
    }
}

void TestInputSources::windowEventsReportKeysOnce() {
    QWindow window;
    QObject notAWindow;
    WindowEventInputSource source;
    std::vector<KeyTransition> keys;
    QVERIFY(source.start([&](const KeyTransition& t) { keys.push_back(t); }, {}));
    QVERIFY(source.isRunning());

    // xkb platforms carry the evdev code + 8 as native scan code.
    QKeyEvent pressA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 30 + 8, 0, 0);
    QCoreApplication::sendEvent(&window, &pressA);
    QCoreApplication::sendEvent(&notAWindow, &pressA);
    QKeyEvent releaseEnter(QEvent::KeyRelease, Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier, 96 + 8, 0, 0);
    QCoreApplication::sendEvent(&window, &releaseEnter);
    QKeyEvent noScanCode(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, 0, 0, 0);
    QCoreApplication::sendEvent(&window, &noScanCode);

    QCOMPARE(keys.size(), std::size_t(2));
    QCOMPARE(keys[0].scanCode, quint16(0x1E));
    QVERIFY(keys[0].isDown && !keys[0].extended && !keys[0].altDown);
    QCOMPARE(keys[1].scanCode, quint16(0x1C));
    QVERIFY(!keys[1].isDown && keys[1].extended && keys[1].altDown);
}

void TestInputSources::windowEventsReportButtonsOnce() {
    QWindow window;
    QObject notAWindow;
    WindowEventInputSource source;
    std::vector<ButtonTransition> buttons;
    QVERIFY(source.start({}, [&](const ButtonTransition& t) { buttons.push_back(t); }));

    const QPointF local(5, 6);
    const QPointF global(105, 206);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    QCoreApplication::sendEvent(&notAWindow, &press);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &doubleClick);
    QMouseEvent back(QEvent::MouseButtonPress, local, global, Qt::BackButton, Qt::BackButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &back);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &release);

    QCOMPARE(buttons.size(), std::size_t(2));
    QCOMPARE(buttons[0].button, PointerButton::Middle);
    QVERIFY(buttons[0].isDown);
    QCOMPARE(buttons[0].x, 105);
    QCOMPARE(buttons[0].y, 206);
    QCOMPARE(buttons[1].button, PointerButton::Right);
    QVERIFY(!buttons[1].isDown);
}

void TestInputSources::windowEventsStopWhenStopped() {
    QWindow window;
    WindowEventInputSource source;
    int calls = 0;
    QVERIFY(source.start([&](const KeyTransition&) { ++calls; }, {}));
    source.stop();
    QVERIFY(!source.isRunning());
    QKeyEvent pressA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 30 + 8, 0, 0);
    QCoreApplication::sendEvent(&window, &pressA);
    QCOMPARE(calls, 0);
}

void TestInputSources::factoryFallsBackWithoutX11() {
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QSKIP("runs on the offscreen platform only");
    qunsetenv("DISPLAY");
    QVERIFY(!InputSourceFactory::x11Available());
    const std::unique_ptr<InputSource> source = InputSourceFactory::create();
    QVERIFY(dynamic_cast<WindowEventInputSource*>(source.get()) != nullptr);

    X11RawInputSource x11(QByteArrayLiteral(":unreachable"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot open the X display"));
    QVERIFY(!x11.start([](const KeyTransition&) {}, [](const ButtonTransition&) {}));
    QVERIFY(!x11.isRunning());
}

QTEST_MAIN(TestInputSources)
#include "tst_inputsources.moc"
