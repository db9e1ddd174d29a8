// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11RawInputSource.h"

#include "AppLogging.h"
#include "EvdevScanCodeTable.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace {

// X keycodes are evdev codes shifted by 8.
constexpr quint32 kEvdevOffset = 8;
constexpr quint32 kButtonLeft = 1;
constexpr quint32 kButtonMiddle = 2;
constexpr quint32 kButtonRight = 3;
// Raw events reach clients that do not grab the devices from XInput 2.1 on.
constexpr quint16 kXiMajor = 2;
constexpr quint16 kXiMinor = 2;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

PointerButton pointerButtonFor(quint32 button) {
    switch (button) {
    case kButtonLeft:
        return PointerButton::Left;
    case kButtonRight:
        return PointerButton::Right;
    case kButtonMiddle:
        return PointerButton::Middle;
    default:
        return PointerButton::Other;
    }
}

} // namespace

X11RawInputSource::X11RawInputSource(QByteArray displayName, QObject* parent)
    : QObject(parent), m_displayName(std::move(displayName)) {}

X11RawInputSource::~X11RawInputSource() {
    // Qualified: no virtual dispatch while the object is destroyed.
    X11RawInputSource::stop();
}

bool X11RawInputSource::displayAvailable(const QByteArray& displayName) {
    xcb_connection_t* connection = xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), nullptr);
    const bool available = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return available;
}

bool X11RawInputSource::start(KeyHandler onKey, ButtonHandler onButton) {
    stop();
    m_onKey = std::move(onKey);
    m_onButton = std::move(onButton);
    if (!connectAndSelect()) {
        stop();
        return false;
    }
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11RawInputSource::readEvents);
    return true;
}

bool X11RawInputSource::connectAndSelect() {
    int screenNumber = 0;
    m_connection = xcb_connect(m_displayName.isEmpty() ? nullptr : m_displayName.constData(), &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        qCWarning(lcApp) << "cannot open the X display for global input";
        return false;
    }
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(m_connection, &xcb_input_id);
    if (!extension || !extension->present) {
        qCWarning(lcApp) << "the X server has no XInput extension";
        return false;
    }
    m_xinputOpcode = extension->major_opcode;

    XcbReply<xcb_input_xi_query_version_reply_t> version(xcb_input_xi_query_version_reply(
        m_connection, xcb_input_xi_query_version(m_connection, kXiMajor, kXiMinor), nullptr));
    if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 1)) {
        qCWarning(lcApp) << "the X server lacks XInput 2.1 raw events";
        return false;
    }

    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return false;
    m_root = screens.data->root;

    struct {
        xcb_input_event_mask_t header;
        uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE |
                    XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE};
    // Checked, so the selection is in force when start() returns.
    XcbReply<xcb_generic_error_t> error(xcb_request_check(
        m_connection, xcb_input_xi_select_events_checked(m_connection, m_root, 1, &selection.header)));
    if (error) {
        qCWarning(lcApp) << "the X server refused raw input events, error" << error->error_code;
        return false;
    }
    return true;
}

void X11RawInputSource::stop() {
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
    m_leftAltDown = false;
    m_rightAltDown = false;
}

void X11RawInputSource::readEvents() {
    while (m_connection) {
        XcbReply<xcb_generic_event_t> event(xcb_poll_for_event(m_connection));
        if (!event)
            break;
        if ((event->response_type & 0x7F) != XCB_GE_GENERIC)
            continue;
        const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event.get());
        if (generic->extension != m_xinputOpcode)
            continue;
        // Raw key and raw button events share one layout.
        const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(event.get());
        switch (generic->event_type) {
        case XCB_INPUT_RAW_KEY_PRESS:
            handleKey(raw->detail, true);
            break;
        case XCB_INPUT_RAW_KEY_RELEASE:
            handleKey(raw->detail, false);
            break;
        case XCB_INPUT_RAW_BUTTON_PRESS:
            handleButton(raw->detail, true);
            break;
        case XCB_INPUT_RAW_BUTTON_RELEASE:
            handleButton(raw->detail, false);
            break;
        default:
            break;
        }
    }
    if (m_connection && xcb_connection_has_error(m_connection)) {
        qCWarning(lcApp) << "the X connection for global input was lost";
        stop();
    }
}

void X11RawInputSource::handleKey(quint32 keycode, bool isDown) {
    if (keycode < kEvdevOffset)
        return;
    const int evdev = int(keycode - kEvdevOffset);
    if (evdev == EvdevScanCodeTable::kLeftAlt)
        m_leftAltDown = isDown;
    else if (evdev == EvdevScanCodeTable::kRightAlt)
        m_rightAltDown = isDown;
    const auto scan = EvdevScanCodeTable::lookup(evdev);
    if (!scan || !m_onKey)
        return;
    const bool altDown = m_leftAltDown || m_rightAltDown;
    KeyTransition transition{scan->code, scan->extended, altDown, isDown};
    // A PC keyboard sends Print Screen as its own SysRq code while Alt is held.
    if (evdev == EvdevScanCodeTable::kSysRq && altDown)
        transition = KeyTransition{EvdevScanCodeTable::kAltSysRqScanCode, false, true, isDown};
    m_onKey(transition);
}

void X11RawInputSource::handleButton(quint32 button, bool isDown) {
    const PointerButton pointerButton = pointerButtonFor(button);
    if (pointerButton == PointerButton::Other || !m_onButton)
        return;
    int x = 0;
    int y = 0;
    queryPointer(&x, &y);
    m_onButton(ButtonTransition{pointerButton, isDown, x, y});
}

void X11RawInputSource::queryPointer(int* x, int* y) {
    XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    if (reply) {
        *x = reply->root_x;
        *y = reply->root_y;
    }
}
