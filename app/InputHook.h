// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InputSource.h"

#include <QString>

#include <array>
#include <functional>
#include <map>
#include <memory>

class MessageChannel;

// The global input hook. Owns the input source, the scan-code map (set-1 scan
// code << 8 | extended flag -> virtual-key code), the usage map (virtual-key code -> USB HID
// keyboard usage), the pressed-state table and the registered callbacks, plus the message
// channel that receives window text messages. main builds one and hands it to what needs it;
// everything runs on the GUI thread, so nothing here is locked. Callbacks must only record and return.
class InputHook {
public:
    using KeyCallback = std::function<void(quint8 usage, bool isDown)>;
    using MouseCallback = std::function<void(quint8 button, bool isDown, int x, int y)>;
    using CopyDataCallback = std::function<void(const QString& text)>;

    static constexpr quint8 kLeftButton = 0xF0;
    static constexpr quint8 kRightButton = 0xF1;
    static constexpr quint8 kMiddleButton = 0xF2;

    // Builds the maps and installs the source (may be null:
    // then no system-wide input arrives, as after a failed installation).
    explicit InputHook(std::unique_ptr<InputSource> source = {}, quint8 flag = 0);
    ~InputHook();
    InputHook(const InputHook&) = delete;
    InputHook& operator=(const InputHook&) = delete;

    // Re-installation removes the running hooks first; false leaves no hook installed.
    bool installHooks();
    void removeHooks();
    bool hooksInstalled() const;
    InputSource* source() const { return m_source.get(); }

    void registerKeyboardCallback(KeyCallback callback);
    void registerMouseCallback(MouseCallback callback);
    // Stores the handler and opens the message channel of the window with this title (and the
    // data folder of this instance, so instances on other data folders stay apart).
    bool registerCopyDataHandler(CopyDataCallback handler, const QString& windowTitle, const QString& dataFolder = {});
    // The channel opened by registerCopyDataHandler (null before), for its other messages.
    MessageChannel* messageChannel() const { return m_messageChannel.get(); }

    // Sends a text message to the window with this title; false when nobody listens.
    static bool sendTextToWindow(const QString& windowTitle, const QString& text, const QString& dataFolder = {});

    // The keyboard and mouse procedures; sources feed them, tests may call them directly.
    void processKey(const KeyTransition& transition);
    void processButton(const ButtonTransition& transition);

    quint8 virtualKeyFor(quint16 key) const;
    quint8 usageFor(quint8 virtualKey) const;
    bool isPressed(quint8 usage) const { return m_pressed[usage] != 0; }
    std::size_t scanCodeMapSize() const { return m_scanCodeMap.size(); }
    std::size_t usageMapSize() const { return m_usageMap.size(); }
    quint8 flag() const { return m_flag; }

    static quint16 mapKey(quint16 scanCode, bool extended);

private:
    void buildScanCodeMap();
    void buildUsageMap();

    std::unique_ptr<InputSource> m_source;
    std::unique_ptr<MessageChannel> m_messageChannel;
    std::map<quint16, quint8> m_scanCodeMap;
    std::map<quint8, quint8> m_usageMap;
    std::array<quint8, 256> m_pressed{};
    KeyCallback m_keyCallback;
    MouseCallback m_mouseCallback;
    CopyDataCallback m_copyDataCallback;
    bool m_installed = false;
    quint8 m_flag = 0;
};
