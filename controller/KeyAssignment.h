// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Button assignment: stores the mouse key matrix (sixteen four-byte function
// entries under "keydefine_Q3/<n>") and the keyboard key matrix (126 entries
// under "keydefine/<n>") in the current profile and sends them to the device;
// reads them back from the device. GUI thread only.

#include "DeviceBlocks.h"

#include <QList>
#include <QObject>

class DevicePort;
class ProfileStore;

class KeyAssignment : public QObject {
    Q_OBJECT
public:
    static constexpr int kMouseEntries = 16;
    static constexpr int kKeyboardStoredEntries = 126;
    static constexpr int kEntrySize = 4;
    static constexpr int kMouseMatrixBytes = 64;
    static constexpr int kKeyboardMatrixBytes = 512;
    // Named keys exist only in the profile and the pages; the device gets a plain key.
    static constexpr uchar kTypeNamedKey = 0x0F;
    static constexpr uchar kTypeKeyboard = 0x00;

    KeyAssignment(ProfileStore& profiles, DevicePort& device, QObject* parent = nullptr);

    // The four values the current profile keeps for `entry` of the open
    // device's key matrix; empty (and a warning) for an entry outside it.
    QList<int> storedEntry(long long entry);
    // The mouse's 16 entries (64 values) into the profile, then to the device.
    void assignMouseButtons(const QList<int>& values);
    // The keyboard's 512 values: 126 entries into the profile, all to the device.
    void assignKeyboardKeys(const QList<int>& values);
    // What the device holds; zeros where it does not answer.
    Block64 readMouseButtons();
    Block512 readKeyboardKeys();

    // The 64 wire bytes of a mouse key matrix (each value's low 8 bits, type 0FH sent as 00H).
    static Block64 mouseMatrixBytes(const QList<int>& values);

private:
    ProfileStore& m_profiles;
    DevicePort& m_device;
};
