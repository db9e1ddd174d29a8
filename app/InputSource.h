// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// One key transition as a PC keyboard reports it: a set-1 scan code, the extended (E0) flag,
// whether an Alt key was held, and press or release.
struct KeyTransition {
    quint16 scanCode = 0;
    bool extended = false;
    bool altDown = false;
    bool isDown = false;
};

enum class PointerButton { Left, Right, Middle, Other };

// One pointer button transition with the pointer's position in screen (root window) coordinates.
struct ButtonTransition {
    PointerButton button = PointerButton::Other;
    bool isDown = false;
    int x = 0;
    int y = 0;
};

// Where system-wide key and pointer-button transitions come from. A source only translates
// what its platform delivers; the key maps and the pressed-state rule live in InputHook.
// Sources deliver on the thread that started them (the GUI thread).
class InputSource {
public:
    using KeyHandler = std::function<void(const KeyTransition&)>;
    using ButtonHandler = std::function<void(const ButtonTransition&)>;

    virtual ~InputSource() = default;

    // Begins delivering transitions to the handlers; false when the platform refuses.
    virtual bool start(KeyHandler onKey, ButtonHandler onButton) = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    virtual QString name() const = 0;
};
