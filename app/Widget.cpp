// SPDX-License-Identifier: GPL-3.0-or-later
#include "Widget.h"

#include "AppLogging.h"
#include "Backend.h"
#include "LinkState.h"
#include "StatusNotifierHost.h"
#include "TrayNotifier.h"
#include "Ui_Controler.h"
#include "UserEvent.h"
#include "ViewWidget.h"
#include "myQQuickView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMetaObject>
#include <utility>

namespace {
// HID keyboard usages watched by the hidden hot key (Shift+Alt+F12).
constexpr int kUsageF12 = 0x45;
constexpr int kUsageLeftShift = 0xE1, kUsageRightShift = 0xE5;
constexpr int kUsageLeftAlt = 0xE2, kUsageRightAlt = 0xE6;
constexpr int kUsageLeftGui = 0xE3, kUsageRightGui = 0xE7;

const char* const kTrayMenuStyle =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "
    "QMenu::item { height: 22px; padding: 0px 25px 0px 20px; } "
    "QMenu::item:enabled { color: rgb(225, 225, 225); } "
    "QMenu::item:!enabled { color: rgb(155, 155, 155); } "
    "QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: rgba(255, 255, 255, 40); } "
    "QMenu::separator { height: 1px; background: rgb(100, 100, 100); } "
    "QMenu::indicator { width: 13px; height: 13px; } "
    "QMenu::icon { padding-left: 2px; padding-right: 2px; } ";
} // namespace

Widget::Widget(Backend& backend, UserDialogs& dialogs) : m_backend(backend) {
    m_backend.setDeviceHost(this);
    m_controller = new Ui_Controler(this, backend, dialogs, [this] { return canHideToTray(); });

    // A coarse timer may fire up to 5 % early; discovery waits the full delay.
    m_discoveryTimer.setTimerType(Qt::PreciseTimer);
    m_discoveryTimer.setInterval(kDiscoveryDelayMs);
    m_discoveryTimer.setSingleShot(true);
    connect(&m_discoveryTimer, &QTimer::timeout, this, &Widget::checkDevice);

    buildTrayIcon();
}

Widget::~Widget() {
    // No balloon may reach the tray once this window is gone.
    worker().stopListener();
    worker().waitForTransfers();
    m_backend.setDeviceHost(nullptr);
    // Both are reached through the controller, so they go before the controller does.
    delete viewWidget();
    delete view();
    delete std::exchange(m_controller, nullptr);
}

Hid_Thread& Widget::worker() {
    return m_backend.worker();
}

myQQuickView* Widget::view() const {
    return m_controller ? m_controller->view() : nullptr;
}

ViewWidget* Widget::viewWidget() const {
    return m_controller ? m_controller->viewWidget() : nullptr;
}

void Widget::buildTrayIcon() {
    // Before the icon: Qt chooses between the two kinds of tray when the icon is created.
    m_statusNotifierTray = StatusNotifierHost::isPresent();
    m_trayIcon = new QSystemTrayIcon(this);
    auto* quitAction = new QAction(tr("Quit (&Q)"), this);
    connect(quitAction, &QAction::triggered, qApp, &QCoreApplication::quit);
    auto* menu = new QMenu(this);
    menu->addAction(quitAction);
    menu->setStyleSheet(QString::fromLatin1(kTrayMenuStyle));
    m_trayIcon->setContextMenu(menu);
    m_trayIcon->setToolTip(QStringLiteral("MORVANE QUELLAR MOUSE K417"));
    m_trayIcon->setIcon(QIcon(QStringLiteral("./modules/img/trayIcon.ico")));
    connect(m_trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    m_trayIcon->setVisible(true);
    m_trayBalloons = std::make_unique<TrayNotifier>(*m_trayIcon);
}

bool Widget::canHideToTray() const {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    // The tray restores only after a handshake; before that only the hot key can.
    return m_globalHotKeyAvailable || LinkState::deviceConnected.load();
}

void Widget::checkDevice() {
    m_backend.discoverDevice();
}

void Widget::onDeviceChange() {
    if (!worker().isListenerRunning())
        m_discoveryTimer.start();
}

void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason) {
    // An XEmbed tray reports double clicks; a StatusNotifierItem host only ever reports Trigger.
    const QSystemTrayIcon::ActivationReason restoring =
        m_statusNotifierTray ? QSystemTrayIcon::Trigger : QSystemTrayIcon::DoubleClick;
    // Slots are invoked by name here and below: the functor overloads hand Qt a heap slot object
    // that the static analyser takes for a leak.
    if (reason == restoring && LinkState::deviceConnected.load())
        QMetaObject::invokeMethod(this, "restoreWindow", Qt::QueuedConnection);
}

void Widget::restoreWindow() {
    setVisible(true);
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void Widget::customEvent(QEvent* event) {
    if (event->type() == QEvent::User && static_cast<UserEvent*>(event)->tag() == UserEvent::kRunUi) {
        if (myQQuickView* quickView = view())
            quickView->runUI();
    }
}

void Widget::onKey(bool isDown, int usage) {
    if (myQQuickView* quickView = view())
        quickView->notifyDetectKeyboard(isDown, usage);
    watchHotKey(isDown, usage);
}

void Widget::onMouseButton(bool isDown, uint button, int x, int y) const {
    if (myQQuickView* quickView = view())
        quickView->notifyDetectMouse(isDown, button, uint(x), uint(y));
}

void Widget::watchHotKey(bool isDown, int usage) {
    switch (usage) {
    case kUsageLeftShift:
    case kUsageRightShift:
        m_shiftKey = isDown;
        break;
    case kUsageLeftAlt:
    case kUsageRightAlt:
        m_altKey = isDown;
        break;
    case kUsageLeftGui:
    case kUsageRightGui:
        m_winKey = isDown;
        break;
    case kUsageF12:
        if (isDown && m_shiftKey && m_altKey && isHidden())
            showNormal();
        break;
    default:
        break;
    }
}

void Widget::showTrayMessage(const QString& title, const QString& text, int msecs) {
    // A debug line: the DPI balloon tells when a button of the mouse was pressed.
    qCDebug(lcApp).noquote() << "tray message:" << title << "|" << text;
    QMetaObject::invokeMethod(
        this, [this, title, text, msecs] { (m_notifier ? *m_notifier : *m_trayBalloons).notify(title, text, msecs); },
        Qt::AutoConnection);
}

void Widget::hideHostWindow() {
    // hide() is setVisible(false); pool threads hand it over to the GUI thread.
    QMetaObject::invokeMethod(this, "hide", Qt::AutoConnection);
}
