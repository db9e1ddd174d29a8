// SPDX-License-Identifier: GPL-3.0-or-later
// The host window in-process: window setup, tray, hidden hot key, discovery timer, window
// operations of "ui_Ctl", start-up notifications into QML and the stage-switch balloon,
// all against the virtual mouse.
#include "Backend.h"
#include "DBusNotifier.h"
#include "Hid_Thread.h"
#include "LinkState.h"
#include "ScriptedUserDialogs.h"
#include "Ui_Controler.h"
#include "ViewWidget.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QQuickItem>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int kF12 = 0x45, kLeftShift = 0xE1, kRightAlt = 0xE6;

QStringList s_log;
QtMessageHandler s_previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    s_log.append(text);
    s_previousHandler(type, context, text);
}

bool logContains(const QString& text) {
    return std::any_of(s_log.begin(), s_log.end(), [&](const QString& line) { return line.contains(text); });
}

// Records every message as "title|text|msecs".
struct RecordingNotifier : Notifier {
    QStringList shown;
    void notify(const QString& title, const QString& text, int msecs) override {
        shown << QStringLiteral("%1|%2|%3").arg(title, text).arg(msecs);
    }
};

void writeConfig(const QString& language) {
    QSettings config(QStringLiteral("modules/setting/apConfig.bin"), QSettings::IniFormat);
    config.setValue(QStringLiteral("common/language"), language);
    config.setValue(QStringLiteral("common/name"), QStringLiteral("鼠标设置"));
    config.setValue(QStringLiteral("common/name0"), QStringLiteral("Mouse Settings"));
}
} // namespace

class TestWidget : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<VirtualHidBackend> m_backend;
    ScriptedUserDialogs m_dialogs;

    std::unique_ptr<Backend> m_quellar;

    // The back end lives until cleanup, as the program's outlives its window.
    std::unique_ptr<Widget> makeWidget() {
        m_quellar = std::make_unique<Backend>(*m_backend, m_dialogs);
        return std::make_unique<Widget>(*m_quellar, m_dialogs);
    }

private slots:
    void initTestCase() { s_previousHandler = qInstallMessageHandler(recordMessage); }
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_folder->path()));
        QDir().mkpath(QStringLiteral("modules/setting"));
        writeConfig(QStringLiteral("English"));
        m_backend = std::make_unique<VirtualHidBackend>();
        LinkState::deviceConnected = false;
        LinkState::demoMode = false;
        s_log.clear();
    }
    void cleanup() {
        m_quellar.reset();
        m_backend.reset();
        QDir::setCurrent(QDir::tempPath());
        m_folder.reset();
    }

    void hostWindowIsFramelessTransparentAndSizedByTheView() {
        auto widget = makeWidget();
        QVERIFY(widget->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(widget->testAttribute(Qt::WA_TranslucentBackground));
        QCOMPARE(widget->size(), QSize(1000, 640));
        QCOMPARE(widget->objectName(), QStringLiteral("Widget"));
        QCOMPARE(widget->viewWidget()->objectName(), QStringLiteral("ui_View"));
        QVERIFY(widget->isHidden());
    }

    void windowTitleFollowsTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("simplified Chinese") << "ChineseSimplified" << QStringLiteral("鼠标设置");
        QTest::newRow("English") << "English"
                                 << "Mouse Settings";
        QTest::newRow("letter case matters") << "chinesesimplified"
                                             << "Mouse Settings";
    }
    void windowTitleFollowsTheLanguage() {
        QFETCH(QString, language);
        QFETCH(QString, title);
        writeConfig(language);
        QCOMPARE(makeWidget()->windowTitle(), title);
    }

    void trayOffersOnlyQuitAndQuittingEndsWithZero() {
        auto widget = makeWidget();
        QSystemTrayIcon* tray = widget->trayIcon();
        QCOMPARE(tray->toolTip(), QStringLiteral("MORVANE QUELLAR MOUSE K417"));
        const QList<QAction*> actions = tray->contextMenu()->actions();
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions.first()->text(), QStringLiteral("Quit (&Q)"));
        const QString style = tray->contextMenu()->styleSheet();
        QVERIFY(style.startsWith("QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "));
        QVERIFY(style.endsWith("QMenu::icon { padding-left: 2px; padding-right: 2px; } "));
        QTimer::singleShot(0, actions.first(), &QAction::trigger);
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void hiddenHotKeyNeedsShiftAndAlt() {
        auto widget = makeWidget();
        widget->onKey(true, kF12);
        widget->onKey(false, kF12);
        QVERIFY(widget->isHidden());
        widget->onKey(true, kRightAlt);
        widget->onKey(true, kLeftShift);
        widget->onKey(true, kF12);
        QVERIFY(widget->isVisible());
        widget->hide(); // released modifiers no longer count
        widget->onKey(false, kLeftShift);
        widget->onKey(true, kF12);
        QVERIFY(widget->isHidden());
    }

    void deviceChangesLeadToOneDiscoveryAfterTheLast() {
        m_backend->mouse().unplug();
        auto widget = makeWidget();
        widget->checkDevice();
        QVERIFY(!widget->worker().isListenerRunning());
        // A coarse timer could fire up to 5 % early.
        QCOMPARE(widget->discoveryTimer().timerType(), Qt::PreciseTimer);
        QSignalSpy discoveries(&widget->discoveryTimer(), &QTimer::timeout);
        QElapsedTimer sinceLast;
        for (int i = 0; i < 10; ++i) {
            sinceLast.start();
            widget->onDeviceChange();
            QTest::qWait(100);
        }
        QVERIFY(discoveries.isEmpty());
        QVERIFY(discoveries.wait(4000));
        QVERIFY2(sinceLast.elapsed() >= Widget::kDiscoveryDelayMs, qPrintable(QString::number(sinceLast.elapsed())));
        QTest::qWait(300);
        QCOMPARE(discoveries.size(), 1);
    }

    void noDiscoveryWhileTheListenerRuns() {
        auto widget = makeWidget();
        widget->checkDevice();
        QVERIFY(LinkState::deviceConnected.load());
        QVERIFY(widget->worker().isListenerRunning());
        widget->onDeviceChange();
        QVERIFY(!widget->discoveryTimer().isActive());
    }

    void windowMovesByRelativeOffsets() {
        auto widget = makeWidget();
        widget->move(100, 100);
        const QPoint before = widget->pos();
        widget->controller()->onXChanged(5);
        widget->controller()->onYChanged(-3);
        QCOMPARE(widget->pos(), before + QPoint(5, -3));
    }

    void closingMinimisesWhenNothingCouldBringTheWindowBack() {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // the offscreen platform has no tray
        auto widget = makeWidget();
        widget->showNormal();
        widget->controller()->onClose();
        QVERIFY(!widget->isHidden());
        QVERIFY(widget->isMinimized());
    }

    void trayRestoresOnlyAfterAHandshake_data() {
        QTest::addColumn<bool>("statusNotifierTray");
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<bool>("handshakePassed");
        QTest::addColumn<bool>("restored");
        const auto row = [](const char* name, bool statusNotifier, QSystemTrayIcon::ActivationReason reason,
                            bool handshake, bool restored) {
            QTest::newRow(name) << statusNotifier << reason << handshake << restored;
        };
        // An XEmbed tray reports clicks and double clicks.
        row("XEmbed double click before a handshake", false, QSystemTrayIcon::DoubleClick, false, false);
        row("XEmbed click", false, QSystemTrayIcon::Trigger, true, false);
        row("XEmbed middle click", false, QSystemTrayIcon::MiddleClick, true, false);
        row("XEmbed double click", false, QSystemTrayIcon::DoubleClick, true, true);
        // A StatusNotifierItem host reports an activation as Trigger and never a double click.
        row("StatusNotifier activation before a handshake", true, QSystemTrayIcon::Trigger, false, false);
        row("StatusNotifier activation", true, QSystemTrayIcon::Trigger, true, true);
        row("StatusNotifier secondary activation", true, QSystemTrayIcon::MiddleClick, true, false);
        row("StatusNotifier context menu", true, QSystemTrayIcon::Context, true, false);
    }
    void trayRestoresOnlyAfterAHandshake() {
        QFETCH(bool, statusNotifierTray);
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(bool, handshakePassed);
        QFETCH(bool, restored);
        auto widget = makeWidget();
        widget->setStatusNotifierTray(statusNotifierTray);
        LinkState::deviceConnected = handshakePassed;
        widget->trayIconActivated(reason);
        if (restored) {
            QTRY_VERIFY(widget->isVisible());
        } else {
            QTest::qWait(20);
            QVERIFY(widget->isHidden());
        }
    }

    void keysAndButtonsLeaveNoLogLine() {
        auto widget = makeWidget();
        QQuickItem* root = widget->viewWidget()->rootObject();
        QSignalSpy keys(root, SIGNAL(msg_KB(bool, int)));
        QSignalSpy buttons(root, SIGNAL(msg_MS(bool, int, int, int)));
        s_log.clear(); // what building the window logged
        widget->onKey(true, 0x04);
        widget->onKey(false, 0x04);
        widget->onMouseButton(true, 0xF0, 12, 987);
        widget->onMouseButton(false, 0xF0, 12, 987);
        QTRY_COMPARE(buttons.count(), 2);
        QCOMPARE(keys.count(), 2);
        QCOMPARE(keys.last(), (QVariantList{false, 0x04}));
        QCOMPARE(buttons.last(), (QVariantList{false, 0xF0, 12, 987}));
        QVERIFY2(s_log.isEmpty(), qPrintable(s_log.join(u'\n')));
    }

    // initUI reaches the window on the next turn of the event loop; the window
    // then locks itself (the view takes no input) until its start-up second ends.
    void initUiLocksTheWindowForItsStartUp() {
        auto widget = makeWidget();
        widget->view()->initUI();
        QVERIFY(!logContains(QStringLiteral("current profile")));
        QTRY_VERIFY(logContains(QStringLiteral("current profile 0")));
        QVERIFY(!widget->viewWidget()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(widget->viewWidget()->isEnabled(), 3000);
    }

    void dpiButtonShowsTheStageValue() {
        auto widget = makeWidget();
        auto notifier = std::make_unique<RecordingNotifier>();
        const QStringList& shown = notifier->shown;
        widget->setNotifier(std::move(notifier));
        widget->checkDevice();
        QVERIFY(widget->worker().isListenerRunning());
        LinkState::dpiValues[2] = 1600;
        m_backend->mouse().pressDpi(3);
        QTRY_COMPARE_WITH_TIMEOUT(shown, (QStringList{"Info|Detect Mouse|10000", "Info|DPI Switch to 1600|10000"}),
                                  3000);
        widget->worker().stopListener();
    }

    // A bus without a notification server: every message goes to the balloon, with one warning.
    void notificationsFallBackToTheBalloon() {
        const QDBusConnection noBus = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"), "none");
        QVERIFY(!DBusNotifier::isServed(noBus));
        RecordingNotifier balloons;
        DBusNotifier notifier(noBus, balloons);
        notifier.notify("Info", "DPI Switch to 800", 10000);
        notifier.notify("Info", "DPI Switch to 1600", 10000);
        QTRY_COMPARE(balloons.shown, (QStringList{"Info|DPI Switch to 800|10000", "Info|DPI Switch to 1600|10000"}));
        QCOMPARE(s_log.filter("desktop notification failed, using the tray balloon").size(), 1);
    }
};

QTEST_MAIN(TestWidget)
#include "tst_widget.moc"
