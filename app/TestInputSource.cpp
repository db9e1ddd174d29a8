#include "TestInputSource.h"

#include <utility>

bool TestInputSource::start(KeyHandler onKey, ButtonHandler onButton) {
    ++m_startCount;
    if (std::exchange(m_failNextStart, false))
        return false;
    m_onKey = std::move(onKey);
    m_onButton = std::move(onButton);
    m_running = true;
    return true;
}

void TestInputSource::stop() {
    m_running = false;
}

void TestInputSource::key(quint16 scanCode, bool extended, bool isDown, bool altDown) {
    if (m_running && m_onKey)
        m_onKey(KeyTransition{scanCode, extended, altDown, isDown});
}

void TestInputSource::button(PointerButton button, bool isDown, int x, int y) {
    if (m_running && m_onButton)
        m_onButton(ButtonTransition{button, isDown, x, y});
}
