#pragma once

#include "InputSource.h"

// Input source driven directly by tests: every press/release call is handed to the
// handlers at once, but only while the source is started.
class TestInputSource : public InputSource {
public:
    bool start(KeyHandler onKey, ButtonHandler onButton) override;
    void stop() override;
    bool isRunning() const override { return m_running; }
    QString name() const override { return QStringLiteral("test"); }

    void key(quint16 scanCode, bool extended, bool isDown, bool altDown = false);
    void button(PointerButton button, bool isDown, int x, int y);

    int startCount() const { return m_startCount; }
    void failNextStart() { m_failNextStart = true; }

private:
    KeyHandler m_onKey;
    ButtonHandler m_onButton;
    bool m_running = false;
    bool m_failNextStart = false;
    int m_startCount = 0;
};
