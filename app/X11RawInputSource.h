// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputSource.h"

#include <QByteArray>
#include <QObject>

class QSocketNotifier;
struct xcb_connection_t;

// System-wide keys and pointer buttons from X11: XInput2 raw events selected on the root
// window, read from a connection of its own whose socket is watched on the GUI thread.
// Keys become set-1 scan codes through EvdevScanCodeTable; the Alt state is tracked here.
class X11RawInputSource : public QObject, public InputSource {
    Q_OBJECT
public:
    // displayName empty: $DISPLAY.
    explicit X11RawInputSource(QByteArray displayName = {}, QObject* parent = nullptr);
    ~X11RawInputSource() override;

    static bool displayAvailable(const QByteArray& displayName = {});

    bool start(KeyHandler onKey, ButtonHandler onButton) override;
    void stop() override;
    bool isRunning() const override { return m_connection != nullptr; }
    QString name() const override { return QStringLiteral("X11 raw input"); }

private:
    bool connectAndSelect();
    void readEvents();
    void handleKey(quint32 keycode, bool isDown);
    void handleButton(quint32 button, bool isDown);
    void queryPointer(int* x, int* y);

    QByteArray m_displayName;
    xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
    quint8 m_xinputOpcode = 0;
    bool m_leftAltDown = false;
    bool m_rightAltDown = false;
    QSocketNotifier* m_notifier = nullptr; // child; stop() may run inside its own signal
    KeyHandler m_onKey;
    ButtonHandler m_onButton;
};
