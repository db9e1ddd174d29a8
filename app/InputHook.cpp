// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputHook.h"

#include "AppLogging.h"
#include "MessageChannel.h"

#include <utility>

namespace {

constexpr quint16 kExtendedBit = 0x0001;
constexpr quint16 kBreakScanCode = 0x46; // Ctrl+Pause arrives as Scroll Lock's code plus E0
constexpr quint16 kSysRqScanCode = 0x54; // Print Screen while Alt is held
constexpr quint8 kVkPause = 0x13;
constexpr quint8 kVkSnapshot = 0x2C;

struct ScanEntry {
    quint16 scanCode;
    bool extended;
    quint8 virtualKey;
};

constexpr bool E = true;
constexpr bool N = false;

// Set-1 scan code -> virtual key of a US layout, in insertion order. Keypad Enter gets the
// otherwise unused virtual key 0E so it stays distinct from the main Enter; the right
// Windows key is deliberately absent.
constexpr ScanEntry kScanEntries[] = {
    {0x01, N, 0x1B}, {0x3B, N, 0x70}, {0x3C, N, 0x71}, {0x3D, N, 0x72}, {0x3E, N, 0x73}, {0x3F, N, 0x74},
    {0x40, N, 0x75}, {0x41, N, 0x76}, {0x42, N, 0x77}, {0x43, N, 0x78}, {0x44, N, 0x79}, {0x57, N, 0x7A},
    {0x58, N, 0x7B}, {0x37, E, 0x2C}, {0x46, N, 0x91}, {0x45, N, 0x13}, {0x29, N, 0xC0}, {0x02, N, 0x31},
    {0x03, N, 0x32}, {0x04, N, 0x33}, {0x05, N, 0x34}, {0x06, N, 0x35}, {0x07, N, 0x36}, {0x08, N, 0x37},
    {0x09, N, 0x38}, {0x0A, N, 0x39}, {0x0B, N, 0x30}, {0x0C, N, 0xBD}, {0x0D, N, 0xBB}, {0x0E, N, 0x08},
    {0x52, E, 0x2D}, {0x47, E, 0x24}, {0x49, E, 0x21}, {0x45, E, 0x90}, {0x35, E, 0x6F}, {0x37, N, 0x6A},
    {0x4A, N, 0x6D}, {0x0F, N, 0x09}, {0x10, N, 0x51}, {0x11, N, 0x57}, {0x12, N, 0x45}, {0x13, N, 0x52},
    {0x14, N, 0x54}, {0x15, N, 0x59}, {0x16, N, 0x55}, {0x17, N, 0x49}, {0x18, N, 0x4F}, {0x19, N, 0x50},
    {0x1A, N, 0xDB}, {0x1B, N, 0xDD}, {0x2B, N, 0xDC}, {0x53, E, 0x2E}, {0x4F, E, 0x23}, {0x51, E, 0x22},
    {0x47, N, 0x67}, {0x48, N, 0x68}, {0x49, N, 0x69}, {0x4E, N, 0x6B}, {0x3A, N, 0x14}, {0x1E, N, 0x41},
    {0x1F, N, 0x53}, {0x20, N, 0x44}, {0x21, N, 0x46}, {0x22, N, 0x47}, {0x23, N, 0x48}, {0x24, N, 0x4A},
    {0x25, N, 0x4B}, {0x26, N, 0x4C}, {0x27, N, 0xBA}, {0x28, N, 0xDE}, {0x1C, N, 0x0D}, {0x4B, N, 0x64},
    {0x4C, N, 0x65}, {0x4D, N, 0x66}, {0x2A, N, 0xA0}, {0x2C, N, 0x5A}, {0x2D, N, 0x58}, {0x2E, N, 0x43},
    {0x2F, N, 0x56}, {0x30, N, 0x42}, {0x31, N, 0x4E}, {0x32, N, 0x4D}, {0x33, N, 0xBC}, {0x34, N, 0xBE},
    {0x35, N, 0xBF}, {0x36, E, 0xA1}, {0x48, E, 0x26}, {0x4F, N, 0x61}, {0x50, N, 0x62}, {0x51, N, 0x63},
    {0x1C, E, 0x0E}, {0x1D, N, 0xA2}, {0x5B, E, 0x5B}, {0x38, N, 0xA4}, {0x39, N, 0x20}, {0x38, E, 0xA5},
    {0x6E, N, 0x86}, {0x5D, E, 0x5D}, {0x1D, E, 0xA3}, {0x4B, E, 0x25}, {0x50, E, 0x28}, {0x4D, E, 0x27},
    {0x52, N, 0x60}, {0x53, N, 0x6E}, {0x56, N, 0xE2},
};

struct UsageEntry {
    quint8 virtualKey;
    quint8 usage;
};

// Virtual key -> USB HID keyboard usage for the keys that are not part of a run.
// DC is listed twice on purpose: the later value (32, Non-US #) is the one that holds.
constexpr UsageEntry kUsageEntries[] = {
    {0x0D, 0x28}, {0x0E, 0x58}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0xBD, 0x2D}, {0xBB, 0x2E},
    {0xDB, 0x2F}, {0xDD, 0x30}, {0xDC, 0x31}, {0xDC, 0x32}, {0xBA, 0x33}, {0xDE, 0x34}, {0xC0, 0x35}, {0xBC, 0x36},
    {0xBE, 0x37}, {0xBF, 0x38}, {0x14, 0x39}, {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49}, {0x24, 0x4A},
    {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D}, {0x22, 0x4E}, {0x27, 0x4F}, {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52},
    {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56}, {0x6B, 0x57}, {0x60, 0x62}, {0x6E, 0x63}, {0xE2, 0x64},
    {0x5D, 0x65}, {0xFF, 0x66}, {0xC2, 0x85}, {0xC1, 0x87}, {0xEB, 0x8B}, {0xA2, 0xE0}, {0xA0, 0xE1}, {0xA4, 0xE2},
    {0x5B, 0xE3}, {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6}, {0x5C, 0xE7},
};

// Runs of consecutive virtual keys that map to consecutive usages.
struct UsageRun {
    quint8 firstVirtualKey;
    quint8 lastVirtualKey;
    quint8 firstUsage;
};

constexpr UsageRun kUsageRuns[] = {
    {0x41, 0x5A, 0x04}, // A-Z
    {0x31, 0x39, 0x1E}, // 1-9 (0 follows them on the usage page)
    {0x30, 0x30, 0x27}, // 0
    {0x70, 0x7B, 0x3A}, // F1-F12
    {0x61, 0x69, 0x59}, // keypad 1-9
    {0x7C, 0x87, 0x68}, // F13-F24
};

} // namespace

InputHook::InputHook(std::unique_ptr<InputSource> source, quint8 flag) : m_source(std::move(source)), m_flag(flag) {
    buildScanCodeMap();
    buildUsageMap();
    installHooks();
}

InputHook::~InputHook() {
    removeHooks();
}

void InputHook::buildScanCodeMap() {
    for (const ScanEntry& entry : kScanEntries)
        m_scanCodeMap.insert_or_assign(mapKey(entry.scanCode, entry.extended), entry.virtualKey);
}

void InputHook::buildUsageMap() {
    for (const UsageRun& run : kUsageRuns) {
        for (int vk = run.firstVirtualKey; vk <= run.lastVirtualKey; ++vk)
            m_usageMap.insert_or_assign(quint8(vk), quint8(run.firstUsage + (vk - run.firstVirtualKey)));
    }
    for (const UsageEntry& entry : kUsageEntries)
        m_usageMap.insert_or_assign(entry.virtualKey, entry.usage);
}

quint16 InputHook::mapKey(quint16 scanCode, bool extended) {
    const quint16 key = scanCode <= 0xFF ? quint16(scanCode << 8) : 0;
    return extended ? quint16(key | kExtendedBit) : key;
}

quint8 InputHook::virtualKeyFor(quint16 key) const {
    const auto it = m_scanCodeMap.find(key);
    return it == m_scanCodeMap.end() ? 0 : it->second;
}

quint8 InputHook::usageFor(quint8 virtualKey) const {
    const auto it = m_usageMap.find(virtualKey);
    return it == m_usageMap.end() ? 0 : it->second;
}

bool InputHook::installHooks() {
    if (m_installed)
        removeHooks();
    if (!m_source)
        return false;
    m_installed = m_source->start([this](const KeyTransition& t) { processKey(t); },
                                  [this](const ButtonTransition& t) { processButton(t); });
    if (!m_installed)
        qCWarning(lcApp) << "global input capture could not be installed from" << m_source->name();
    return m_installed;
}

void InputHook::removeHooks() {
    if (m_source && m_installed)
        m_source->stop();
    m_installed = false;
}

bool InputHook::hooksInstalled() const {
    return m_installed;
}

void InputHook::registerKeyboardCallback(KeyCallback callback) {
    m_keyCallback = std::move(callback);
}

void InputHook::registerMouseCallback(MouseCallback callback) {
    m_mouseCallback = std::move(callback);
}

bool InputHook::registerCopyDataHandler(CopyDataCallback handler, const QString& windowTitle,
                                        const QString& dataFolder) {
    m_copyDataCallback = std::move(handler);
    m_messageChannel = std::make_unique<MessageChannel>();
    m_messageChannel->setHandler([this](const QString& text) {
        if (const CopyDataCallback callback = m_copyDataCallback)
            callback(text);
    });
    return m_messageChannel->listen(windowTitle, dataFolder);
}

bool InputHook::sendTextToWindow(const QString& windowTitle, const QString& text, const QString& dataFolder) {
    return MessageChannel::sendText(windowTitle, text, dataFolder);
}

void InputHook::processKey(const KeyTransition& transition) {
    quint8 virtualKey = virtualKeyFor(mapKey(transition.scanCode, transition.extended));
    if (transition.scanCode == kBreakScanCode && transition.extended)
        virtualKey = kVkPause;
    else if (transition.scanCode == kSysRqScanCode && transition.altDown)
        virtualKey = kVkSnapshot;
    else if (virtualKey == 0)
        return;

    const quint8 usage = usageFor(virtualKey);
    const quint8 isDown = transition.isDown ? 1 : 0;
    if (usage == 0 || m_pressed[usage] == isDown)
        return;
    m_pressed[usage] = isDown;
    // A copy, so a callback that registers another callback does not destroy itself mid-call.
    if (const KeyCallback callback = m_keyCallback)
        callback(usage, transition.isDown);
}

void InputHook::processButton(const ButtonTransition& transition) {
    quint8 code = 0;
    switch (transition.button) {
    case PointerButton::Left:
        code = kLeftButton;
        break;
    case PointerButton::Right:
        code = kRightButton;
        break;
    case PointerButton::Middle:
        code = kMiddleButton;
        break;
    case PointerButton::Other:
        return;
    }
    if (const MouseCallback callback = m_mouseCallback)
        callback(code, transition.isDown, transition.x, transition.y);
}
