// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputSource.h"

#include <QObject>

// Fallback input source where global capture is impossible (Wayland without X11): the
// application's own key and mouse events, taken once per event at the window that
// receives it first. GUI thread.
class WindowEventInputSource : public QObject, public InputSource {
    Q_OBJECT
public:
    explicit WindowEventInputSource(QObject* parent = nullptr);
    ~WindowEventInputSource() override;

    bool start(KeyHandler onKey, ButtonHandler onButton) override;
    void stop() override;
    bool isRunning() const override { return m_running; }
    QString name() const override { return QStringLiteral("window events"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool s_loggedUnavailable;

    KeyHandler m_onKey;
    ButtonHandler m_onButton;
    bool m_running = false;
};
