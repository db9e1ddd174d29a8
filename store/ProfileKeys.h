// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of every key in a profile file, in one place. "Q3" is part of the
// key text; numbered keys are a prefix followed by the decimal number.

#include <QString>

namespace ProfileKeys {

inline const QString kReportRate = QStringLiteral("sensor/reportRate_Q3");
inline const QString kCursorSpeed = QStringLiteral("sensor/cursorSpeed_Q3");
inline const QString kVerticalScrollLines = QStringLiteral("sensor/verticalScrollLines_Q3");
inline const QString kDoubleClickSpeed = QStringLiteral("sensor/doubleClickSpeed_Q3");
inline const QString kDpiValues = QStringLiteral("sensor/dpi_Q3");
inline const QString kDpiStage = QStringLiteral("sensor/stage_Q3");
inline const QString kDpiSelect = QStringLiteral("sensor/dpi_Select");
inline const QString kLedEffect = QStringLiteral("color_Q3/ledEffect");
inline const QString kKeyboardLedType = QStringLiteral("color/ledType");
inline const QString kScrollSwap = QStringLiteral("keydefine_Q3/scrollswap");

// Function entry of a mouse button in the standard matrix.
inline QString mouseButton(int button) {
    return QStringLiteral("keydefine_Q3/%1").arg(button);
}
// Function entry of a button in gun key matrix 1..3.
inline QString gunMatrixButton(uint matrix, const QString& button) {
    return QStringLiteral("keydefine_Q3%1/%2").arg(matrix).arg(button);
}
// One entry of the keyboard's key matrix.
inline QString keyboardKey(int key) {
    return QStringLiteral("keydefine/%1").arg(key);
}
inline QString stageColors(int type) {
    return QStringLiteral("color_Q3/type%1").arg(type);
}
inline QString keyboardColor(int index) {
    return QStringLiteral("color/%1").arg(index);
}
inline QString userPicture(int index) {
    return QStringLiteral("userPicture/%1").arg(index);
}
inline QString xySensitivity(int axis) {
    return QStringLiteral("XYSensitive/%1").arg(axis);
}
// Name of the macro bound to macro slot 0..4.
inline QString macroSlot(int slot) {
    return QStringLiteral("macro/%1").arg(slot);
}
inline QString selectedGun(int slot) {
    return QStringLiteral("selectGun/%1").arg(slot);
}
inline QString gunKey(int slot) {
    return QStringLiteral("selectGunKey/%1").arg(slot);
}
inline QString gunKeyMode(int slot) {
    return QStringLiteral("selectGunKey/type%1").arg(slot);
}

} // namespace ProfileKeys
