// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputSource.h"

#include <utility>

// Input source driven directly by tests: every press/release call is handed to the
// handlers at once, but only while the source is started.
class TestInputSource : public InputSource {
public:
    bool start(KeyHandler onKey, ButtonHandler onButton) override {
        ++m_startCount;
        if (std::exchange(m_failNextStart, false))
            return false;
        m_onKey = std::move(onKey);
        m_onButton = std::move(onButton);
        m_running = true;
        return true;
    }
    void stop() override { m_running = false; }
    bool isRunning() const override { return m_running; }
    QString name() const override { return QStringLiteral("test"); }

    void key(quint16 scanCode, bool extended, bool isDown, bool altDown = false) {
        if (m_running && m_onKey)
            m_onKey(KeyTransition{scanCode, extended, altDown, isDown});
    }
    void button(PointerButton button, bool isDown, int x, int y) {
        if (m_running && m_onButton)
            m_onButton(ButtonTransition{button, isDown, x, y});
    }

    int startCount() const { return m_startCount; }
    void failNextStart() { m_failNextStart = true; }

private:
    KeyHandler m_onKey;
    ButtonHandler m_onButton;
    bool m_running = false;
    bool m_failNextStart = false;
    int m_startCount = 0;
};
