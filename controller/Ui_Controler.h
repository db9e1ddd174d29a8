#pragma once
// Builds the QML view inside the host window and carries out the window
// operations QML asks for ("ui_Ctl"): move, minimise, hide, busy lock.
// GUI thread only.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class Hid_Thread;
class UserDialogs;
class myQQuickView;

class Ui_Controler : public QObject {
    Q_OBJECT
public:
    // `canHideToTray` tells whether a hidden window could be brought back
    // (tray icon or global hot key); when it cannot, closing minimises.
    Ui_Controler(QWidget* owner, Hid_Thread& worker, UserDialogs& dialogs, std::function<bool()> canHideToTray);
    // Without a host window (quellarctl): window operations do nothing.
    explicit Ui_Controler(myQQuickView* view);
    ~Ui_Controler() override;

    myQQuickView* view() const { return m_view; }

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
    std::function<bool()> m_canHideToTray;
};
