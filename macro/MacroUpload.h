// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing macro images into the device's macro slots and reading them back,
// the per-profile record of which macro a slot holds, and the upkeep of stored
// key matrices when a macro is deleted or its run mode changes. The method
// names and signatures are those the QML pages call on "ui_View".
// GUI thread only; device commands go through the DevicePort.

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

class DevicePort;
class MacroLibrary;
class ProfileStore;
class UserDialogs;

class MacroUpload {
public:
    static constexpr int kMacroSlotCount = 12; // slots 0..11, slot id = slot + 1 on the wire
    // Slots 0..4 play macros bound to buttons and carry a macro name in the
    // profile; 5..11 hold the gun sequences, which no macro name may claim
    // (a macro saved later would be uploaded over them).
    static constexpr int kBoundMacroSlotCount = 5;
    static constexpr int kMouseImageSize = 128;    // command 13H
    static constexpr int kKeyboardImageSize = 192; // command 11H
    static constexpr int kWalkedProfiles = 5;      // profiles 0..4
    static constexpr int kWalkedKeys = 7;          // the seven physical buttons

    MacroUpload(ProfileStore& profiles, DevicePort& device, MacroLibrary& library, UserDialogs& dialogs);

    // The view's message list; entries 0 and 1 title the 11H overflow warning.
    void setMessageList(const QStringList& messages) { m_messages = messages; }

    // Sends an image to macro slot `slot` (0..11; slot id slot + 1 on the wire),
    // its first 128 bytes, zero-filled. False, with one warning and nothing sent,
    // for a slot outside 0..11.
    bool sendImage(int slot, const QList<uchar>& image);
    void setMacroKey(int index, QVariant macroName);
    QVariant getMacroKey(int index);
    QList<uchar> macroIncode(QStringList macros);
    // The page encoder of the macro and gun pages; also the pages' length check.
    QVariantList encodeMacroLines(QStringList lines, int loopCount, bool gunVariant);
    void ui_13H_SetMacroKey(QVariant macroId, QVariant name);
    void ui_11H_SetMacroKey(QVariant macroId, QVariant name);
    QVariantList ui_93H_GetMacroKey(uchar macroId);
    QVariantList ui_91H_GetMacroKey(uchar macroId);
    void changeMacroFileIndex(QVariant macroIndex);
    void changeMacroFileType(QVariant macroIndex, QVariant macroType);

private:
    template <typename Edit> void walkStoredMacroBindings(Edit edit);

    ProfileStore& m_profiles;
    DevicePort& m_device;
    MacroLibrary& m_library;
    UserDialogs& m_dialogs;
    QStringList m_messages;
};
