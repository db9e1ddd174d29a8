// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowEventInputSource.h"

#include "AppLogging.h"
#include "EvdevScanCodeTable.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace {

// Native scan codes of xkb-based platforms are evdev codes shifted by 8.
constexpr quint32 kEvdevOffset = 8;

PointerButton pointerButtonFor(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return PointerButton::Left;
    case Qt::RightButton:
        return PointerButton::Right;
    case Qt::MiddleButton:
        return PointerButton::Middle;
    default:
        return PointerButton::Other;
    }
}

} // namespace

bool WindowEventInputSource::s_loggedUnavailable = false;

WindowEventInputSource::WindowEventInputSource(QObject* parent) : QObject(parent) {}

WindowEventInputSource::~WindowEventInputSource() {
    // Qualified: no virtual dispatch while the object is destroyed.
    WindowEventInputSource::stop();
}

bool WindowEventInputSource::start(KeyHandler onKey, ButtonHandler onButton) {
    if (!QCoreApplication::instance())
        return false;
    stop();
    if (!std::exchange(s_loggedUnavailable, true))
        qCInfo(lcApp) << "global input capture is unavailable here; keys and buttons are seen only in our window";
    m_onKey = std::move(onKey);
    m_onButton = std::move(onButton);
    QCoreApplication::instance()->installEventFilter(this);
    m_running = true;
    return true;
}

void WindowEventInputSource::stop() {
    if (m_running && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_running = false;
}

bool WindowEventInputSource::eventFilter(QObject* watched, QEvent* event) {
    // Input reaches the window first and then each widget on its way; take it only once.
    if (!watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const quint32 native = key->nativeScanCode();
        const auto scan = native > kEvdevOffset ? EvdevScanCodeTable::lookup(int(native - kEvdevOffset)) : std::nullopt;
        if (scan && m_onKey) {
            const bool altDown = key->modifiers().testFlag(Qt::AltModifier);
            m_onKey(KeyTransition{scan->code, scan->extended, altDown, event->type() == QEvent::KeyPress});
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const PointerButton button = pointerButtonFor(mouse->button());
        if (button != PointerButton::Other && m_onButton) {
            const QPoint global = mouse->globalPosition().toPoint();
            m_onButton(ButtonTransition{button, event->type() == QEvent::MouseButtonPress, global.x(), global.y()});
        }
        break;
    }
    default:
        break;
    }
    return false;
}
