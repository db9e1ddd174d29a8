// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroUpload.h"

#include "DevicePort.h"
#include "LibraryFiles.h"
#include "MacroEncoder.h"
#include "MacroLibrary.h"
#include "MacroLog.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "UserDialogs.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

namespace {

constexpr int kMacroFunction = 9;
constexpr int kEntrySize = 4;
constexpr uint kDefaultLoopCount = 1;

using Entry = std::array<int, kEntrySize>;

// What a button gets back when the macro it played is deleted.
constexpr std::array<Entry, MacroUpload::kWalkedKeys> kDefaultEntries{{
    {1, 0, 0xF0, 0},
    {1, 0, 0xF1, 0},
    {1, 0, 0xF2, 0},
    {1, 0, 0xF4, 0},
    {1, 0, 0xF3, 0},
    {7, 0, 1, 0},
    {7, 0, 2, 0},
}};

QString tr(const char* text) {
    return QCoreApplication::translate("myQQuickView", text);
}

template <size_t N> std::array<uchar, N> payloadOf(const QList<uchar>& image) {
    std::array<uchar, N> payload{};
    std::copy_n(image.cbegin(), std::min<qsizetype>(image.size(), qsizetype(N)), payload.begin());
    return payload;
}

} // namespace

MacroUpload::MacroUpload(ProfileStore& profiles, DevicePort& device, MacroLibrary& library, UserDialogs& dialogs)
    : m_profiles(profiles), m_device(device), m_library(library), m_dialogs(dialogs) {}

bool MacroUpload::sendImage(int slot, const QList<uchar>& image) {
    if (slot < 0 || slot >= kMacroSlotCount) {
        qCWarning(lcMacro) << "refused macro slot" << slot << "outside 0 to" << kMacroSlotCount - 1;
        return false;
    }
    m_device.setMacro(uchar(slot + 1), payloadOf<kMouseImageSize>(image));
    return true;
}

void MacroUpload::bindMacroName(int slot, const QString& name) {
    if (slot < 0 || slot >= kBoundMacroSlotCount) {
        qCWarning(lcMacro) << "refused macro slot" << slot << "for a macro name: slots are 0 to"
                           << kBoundMacroSlotCount - 1;
        return;
    }
    if (!LibraryFiles::isSafeName(name)) {
        qCWarning(lcMacro) << "refused macro name for slot" << slot;
        return;
    }
    m_profiles.current().setValue(ProfileKeys::macroSlot(slot), name);
    SettingsValues::flush(m_profiles.current());
}

QVariant MacroUpload::boundMacroName(int slot) {
    return m_profiles.current().value(ProfileKeys::macroSlot(slot), 0);
}

QList<uchar> MacroUpload::encodeTagLines(const QStringList& lines) {
    return MacroEncoder::encodeTags(lines, m_device.currentDeviceId());
}

QList<uchar> MacroUpload::encodeMacroLines(const QStringList& lines, int loopCount, bool gunVariant) {
    const auto variant = gunVariant ? MacroEncoder::Variant::Gun : MacroEncoder::Variant::Macro;
    return MacroEncoder::encodePage(lines, loopCount, variant);
}

void MacroUpload::uploadMouseMacro(uchar slotId, const QString& name) {
    if (!LibraryFiles::entryPath(LibraryKind::Macro, name))
        return;
    QList<uchar> image = encodeTagLines(m_library.loadEntry(LibraryKind::Macro, name));
    if (image.size() > kMouseImageSize)
        m_dialogs.warning(tr("MACRO"), tr("Out of memory,\nsome command line has been cut."));
    const uint loopCount = MacroLibrary::loopCountOf(LibraryKind::Macro, name, kDefaultLoopCount);
    image[0] = uchar((loopCount >> 8) & 0xFF);
    image[1] = uchar(loopCount & 0xFF);
    m_device.setMacro(slotId, payloadOf<kMouseImageSize>(image));
}

void MacroUpload::uploadKeyboardMacro(uchar slotId, const QString& name) {
    if (!LibraryFiles::entryPath(LibraryKind::Macro, name))
        return;
    const QList<uchar> image = encodeTagLines(m_library.loadEntry(LibraryKind::Macro, name));
    if (image.size() > kKeyboardImageSize) {
        const QString title = !m_messages.isEmpty() ? m_messages.at(0) : tr("MACRO");
        const QString text =
            m_messages.size() > 1 ? m_messages.at(1) : tr("Out of memory,\nsome command line has been cut.");
        m_dialogs.warning(QStringLiteral("%1").arg(title), QStringLiteral("%1").arg(text));
    }
    m_device.setKeyboardMacro(slotId, payloadOf<kKeyboardImageSize>(image));
}

std::array<uchar, MacroUpload::kMouseImageSize> MacroUpload::readMouseMacro(uchar slotId) {
    std::array<uchar, kMouseImageSize> image{};
    m_device.getMacro(slotId, image);
    return image;
}

std::array<uchar, MacroUpload::kKeyboardImageSize> MacroUpload::readKeyboardMacro(uchar slotId) {
    std::array<uchar, kKeyboardImageSize> image{};
    m_device.getKeyboardMacro(slotId, image);
    return image;
}

template <typename Edit> void MacroUpload::walkStoredMacroBindings(Edit edit) {
    for (int position = 0; position < kWalkedProfiles; ++position) {
        if (position == m_profiles.currentIndex())
            continue;
        QSettings& profile = m_profiles.at(position);
        for (int key = 0; key < kWalkedKeys; ++key) {
            // An entry with anything but numbers is no macro binding of ours: it stays as it is.
            const QVariantList stored = SettingsValues::integers(profile.value(ProfileKeys::mouseButton(key)),
                                                                 SettingsValues::BadElement::RefusesList);
            if (stored.isEmpty() || stored.first().toInt() != kMacroFunction)
                continue;
            Entry entry{};
            for (qsizetype i = 0; i < std::min<qsizetype>(stored.size(), kEntrySize); ++i)
                entry[static_cast<std::size_t>(i)] = stored[i].toInt();
            edit(key, entry);
            profile.setValue(ProfileKeys::mouseButton(key), SettingsValues::toVariantList(entry));
        }
        SettingsValues::flush(profile);
    }
}

void MacroUpload::forgetDeletedMacro(int deletedIndex) {
    walkStoredMacroBindings([&](int key, Entry& entry) {
        if (entry[2] == deletedIndex)
            entry = kDefaultEntries[key];
        else if (entry[2] > deletedIndex)
            --entry[2];
    });
}

void MacroUpload::changeMacroRunMode(int macroIndex, int macroType) {
    const int runMode = macroType == 1 ? 2 : 0;
    walkStoredMacroBindings([&](int, Entry& entry) {
        if (entry[2] == macroIndex)
            entry[1] = runMode;
    });
}
