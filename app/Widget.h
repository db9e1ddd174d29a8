// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host window: frameless and transparent, filled by the QML view. It owns
// the discovery timer, the tray icon and the controller, runs the back end's
// discovery, restores itself on request and watches the hidden hot key.
// For the back end's worker it is the host: tray balloons and hiding. GUI thread only; DeviceHost calls may come from
// pool threads and are handed over to the GUI thread.

#include "DeviceHost.h"
#include "Hid_Thread.h"
#include "Notifier.h"

#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <memory>

class Backend;
class UserDialogs;
class Ui_Controler;
class ViewWidget;
class myQQuickView;

class Widget : public QWidget, public DeviceHost {
    Q_OBJECT
public:
    static constexpr int kDiscoveryDelayMs = 2048;

    Widget(Backend& backend, UserDialogs& dialogs);
    ~Widget() override;

    Hid_Thread& worker();
    myQQuickView* view() const;
    ViewWidget* viewWidget() const;
    Ui_Controler* controller() const { return m_controller; }
    QSystemTrayIcon* trayIcon() const { return m_trayIcon; }
    const QTimer& discoveryTimer() const { return m_discoveryTimer; }

    // Whether keys reach us while another window has focus (X11 yes, Wayland no).
    void setGlobalHotKeyAvailable(bool available) { m_globalHotKeyAvailable = available; }
    // A hidden window can come back through the tray or the global hot key.
    bool canHideToTray() const;
    // Whether the tray is a StatusNotifierItem host, which reports a click as Trigger and never
    // a double click. Found when the tray icon is built; tests set it.
    void setStatusNotifierTray(bool statusNotifier) { m_statusNotifierTray = statusNotifier; }
    // Tray messages go to the tray icon's balloon until another notifier is set.
    Notifier& trayBalloons() { return *m_trayBalloons; }
    void setNotifier(std::unique_ptr<Notifier> notifier) { m_notifier = std::move(notifier); }

    // Input hook callbacks (usage = HID keyboard usage; button = F0/F1/F2).
    void onKey(bool isDown, int usage);
    void onMouseButton(bool isDown, uint button, int x, int y) const;

    void showTrayMessage(const QString& title, const QString& text, int msecs) override;
    void hideHostWindow() override;

public slots:
    void checkDevice();
    // A hidraw node came or went.
    void onDeviceChange();
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void restoreWindow();

protected:
    void customEvent(QEvent* event) override;

private:
    void buildTrayIcon();
    void watchHotKey(bool isDown, int usage);

    QTimer m_discoveryTimer;
    Ui_Controler* m_controller = nullptr;
    Backend& m_backend;
    QSystemTrayIcon* m_trayIcon = nullptr;
    std::unique_ptr<Notifier> m_trayBalloons;
    std::unique_ptr<Notifier> m_notifier; // after the balloons, which it may fall back to
    bool m_winKey = false;
    bool m_shiftKey = false;
    bool m_altKey = false;
    bool m_globalHotKeyAvailable = true;
    bool m_statusNotifierTray = false;
};
