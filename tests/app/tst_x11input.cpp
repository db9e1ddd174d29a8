// SPDX-License-Identifier: GPL-3.0-or-later
#include "CallLog.h"
#include "InputSourceFactory.h"
#include "X11RawInputSource.h"

#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

// The application on the test X server with the xcb platform: a tray to live in, and real input
// injected with xdotool and read back through XInput2 raw events.
class TestX11Input : public QObject {
    Q_OBJECT

    std::unique_ptr<InputHook> m_hook;
    QStringList m_calls;

private slots:
    void sessionOffersTrayAndX11Input() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QTRY_VERIFY(QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(InputSourceFactory::x11Available());
        const std::unique_ptr<InputSource> source = InputSourceFactory::create();
        QVERIFY(dynamic_cast<X11RawInputSource*>(source.get()));
        QVERIFY(source->start([](const KeyTransition&) {}, [](const ButtonTransition&) {}));
        source->stop();
        QVERIFY(!source->isRunning());
    }

    void inputReportsItsCalls_data() {
        QTest::addColumn<QString>("xdotool");
        QTest::addColumn<QString>("calls");
        // Right-hand modifiers go by X keycode: for a modifier keysym xdotool presses the left-hand key.
        const auto key = [](const char* name, const QString& key, const char* usage) {
            QTest::newRow(name) << QStringLiteral("keydown %1 keyup %1").arg(key)
                                << QStringLiteral("k%1+ k%1-").arg(QLatin1String(usage));
        };
        key("left ctrl", "Control_L", "e0");
        key("right ctrl", "105", "e4");
        key("left alt", "Alt_L", "e2");
        key("right alt", "108", "e6");
        key("left shift", "Shift_L", "e1");
        key("right shift", "62", "e5");
        key("keypad enter", "KP_Enter", "58");
        key("return", "Return", "28");
        key("pause", "Pause", "48");
        key("print", "Print", "46");
        key("backslash", "backslash", "32");
        QTest::newRow("held key") << "keydown a sleep 1.2 keyup a"
                                  << "k04+ k04-"; // past the auto-repeat delay
        QTest::newRow("alt print") << "keydown Alt_L keydown Print keyup Print keyup Alt_L"
                                   << "ke2+ k46+ k46- ke2-";
        QTest::newRow("right super is in no map") << "keydown 134 keyup 134"
                                                  << "";
        QTest::newRow("double click") << "mousemove 200 300 click --repeat 2 --delay 40 1"
                                      << "bf0+200,300 bf0-200,300 bf0+200,300 bf0-200,300";
        QTest::newRow("right button") << "mousemove 640 512 click 3"
                                      << "bf1+640,512 bf1-640,512";
        QTest::newRow("middle button") << "mousemove 321 123 click 2"
                                       << "bf2+321,123 bf2-321,123";
    }
    void inputReportsItsCalls() {
        QFETCH(QString, xdotool);
        QFETCH(QString, calls);
        if (!m_hook) {
            m_hook = std::make_unique<InputHook>(std::make_unique<X11RawInputSource>());
            QVERIFY(m_hook->hooksInstalled());
            recordCalls(*m_hook, &m_calls);
        }
        m_calls.clear();
        // The B key closes every sequence.
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), xdotool.split(u' ') << "key"
                                                                                  << "b"),
                 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_calls.endsWith(QStringLiteral("k05-")), 5000);
        QCOMPARE(m_calls.join(u' '), calls + (calls.isEmpty() ? "" : " ") + "k05+ k05-");
    }
};

QTEST_MAIN(TestX11Input)
#include "tst_x11input.moc"
