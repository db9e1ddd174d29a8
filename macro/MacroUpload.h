// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing macro images into the device's macro slots and reading them back,
// the per-profile record of which macro a slot holds, and the upkeep of stored
// key matrices when a macro is deleted or its run mode changes. The view
// converts the pages' values; these methods take them typed.
// GUI thread only; device commands go through the DevicePort.

#include <QList>
#include <QStringList>
#include <QVariant>
#include <array>

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
    // Records the macro bound to slot `slot` (0..4) in the current profile;
    // refused with one warning for another slot or an unsafe name.
    void bindMacroName(int slot, const QString& name);
    // The macro name recorded for `slot`, or 0 when there is none.
    QVariant boundMacroName(int slot);
    // The tag encoder's image of macro lines ("A    [Down]", ...).
    QList<uchar> encodeTagLines(const QStringList& lines);
    // The page encoder of the macro and gun pages; also the pages' length check.
    QList<uchar> encodeMacroLines(const QStringList& lines, int loopCount, bool gunVariant);
    // Sends the stored macro `name` to mouse macro slot id `slotId` (13H) or
    // keyboard macro slot id `slotId` (11H); an image too long is cut after
    // the user is told.
    void uploadMouseMacro(uchar slotId, const QString& name);
    void uploadKeyboardMacro(uchar slotId, const QString& name);
    std::array<uchar, kMouseImageSize> readMouseMacro(uchar slotId);
    std::array<uchar, kKeyboardImageSize> readKeyboardMacro(uchar slotId);
    // After macro `deletedIndex` was deleted: the other profiles' buttons that
    // played it get their defaults back, those playing later macros follow them.
    void forgetDeletedMacro(int deletedIndex);
    // After macro `macroIndex` changed its type: the other profiles' buttons
    // playing it take the run mode of `macroType` (1 repeats while held).
    void changeMacroRunMode(int macroIndex, int macroType);

private:
    template <typename Edit> void walkStoredMacroBindings(Edit edit);

    ProfileStore& m_profiles;
    DevicePort& m_device;
    MacroLibrary& m_library;
    UserDialogs& m_dialogs;
    QStringList m_messages;
};
