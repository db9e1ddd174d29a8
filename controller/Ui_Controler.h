// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds the QML view inside the host window and carries out the window
// operations QML asks for ("ui_Ctl"): move, minimise, hide, busy lock.
// GUI thread only.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class Backend;
class UserDialogs;
class ViewWidget;
class myQQuickView;

class Ui_Controler : public QObject {
    Q_OBJECT
public:
    // `canHideToTray` tells whether a hidden window could be brought back
    // (tray icon or global hot key); when it cannot, closing minimises.
    Ui_Controler(QWidget* owner, Backend& backend, UserDialogs& dialogs, std::function<bool()> canHideToTray);
    // Without a host window (quellarctl): window operations do nothing.
    explicit Ui_Controler(myQQuickView* view);
    ~Ui_Controler() override;

    myQQuickView* view() const { return m_view; }
    // The widget showing the QML; none without a host window.
    ViewWidget* viewWidget() const;

public slots:
    void onMinimize();
    void onClose();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();

private:
    QPointer<QWidget> m_owner;
    QPointer<myQQuickView> m_view;
    QPointer<ViewWidget> m_viewWidget;
    std::function<bool()> m_canHideToTray;
};
