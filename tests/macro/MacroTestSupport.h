// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the macro tests: a device port that records every command, dialogs
// answered from a script, the macro operations inside a data folder of their
// own, and an independent decoder that turns page-encoder images back into events.

#include "GunSelection.h"
#include "MacroLibrary.h"
#include "MacroUpload.h"
#include "ProfileStore.h"
#include "ScriptedDialogs.h"
#include "SilentDevicePort.h"
#include "store/StoreTestSupport.h"

#include <QTest>
#include <optional>
#include <vector>

// Each command as its slot id (or matrix number) followed by its bytes.
struct RecordingMacroPort final : SilentDevicePort {
    QList<QList<uchar>> writes13, writes11, matrices, gunData;

    template <typename Block> static QList<uchar> record(uchar id, const Block& block) {
        return QList<uchar>{id} + QList<uchar>(block.begin(), block.end());
    }
    void setMacro(uchar id, const Block128& image) override { writes13 << record(id, image); }
    void setKeyboardMacro(uchar id, const Block192& image) override { writes11 << record(id, image); }
    void setKeyMatrix(const Block64& matrix, uchar number) override { matrices << record(number, matrix); }
    void setGunData(uchar p0, uchar p1, uchar p2, uchar p3, uchar p4) override { gunData << QList{p0, p1, p2, p3, p4}; }
};

// The macro operations wired to one device port, inside a fresh data folder.
struct MacroRig {
    explicit MacroRig(DevicePort& port) : port(port) {}
    TestDataFolder folder;
    DevicePort& port;
    ProfileStore profiles;
    ScriptedDialogs dialogs;
    MacroLibrary library{profiles, port, dialogs};
    MacroUpload upload{profiles, port, library, dialogs};
    GunSelection guns{profiles, port, library, upload};

    // A gun whose gun image is exactly imageBytes long (even, at least 6).
    void createGun(const QString& name, int imageBytes) {
        QStringList lines;
        for (int i = 0; i < (imageBytes - 4) / 2; ++i)
            lines << (i % 2 ? "4,MS-R" : "3,MS-R");
        QVERIFY(library.createEntry(LibraryKind::Gun, name, 0));
        QVERIFY(library.saveEntry(LibraryKind::Gun, name, lines, "1"));
        QCOMPARE(guns.gunImage(name).size(), imageBytes);
    }
};

// "00 01 32 04" as bytes, zero-padded up to size.
inline QList<uchar> hexList(const char* hex, int size = 0) {
    QList<uchar> bytes;
    for (const QByteArray& word : QByteArray(hex).split(' '))
        if (!word.isEmpty())
            bytes << uchar(word.toUInt(nullptr, 16));
    bytes.resize(std::max<qsizetype>(size, bytes.size()), 0);
    return bytes;
}

// One event as the device will play it.
struct DecodedEvent {
    uchar code = 0;
    bool release = false, cursor = false;
    int x = 0, y = 0;
    qint64 gapMs = 0;
    bool operator==(const DecodedEvent&) const = default;
};

struct DecodedImage {
    int loopCount = -1;
    std::vector<DecodedEvent> events;
};

// Reads a page-encoder image; nothing when it is malformed (no end mark where
// expected, an extended delay without its mode unit, trailing bytes).
inline std::optional<DecodedImage> decodePageImage(const QList<uchar>& image, bool gun) {
    static const qint64 kModeMs[] = {0, 20, 50, 100};
    if (image.size() < 2)
        return std::nullopt;
    DecodedImage decoded{image[0] * 256 + image[1], {}};
    for (qsizetype pos = 2; pos < image.size();) {
        const uchar delay = image[pos], code = image.value(pos + 1, 0xFF);
        pos += 2;
        if (delay == 0 && code == 0)
            return pos == image.size() ? std::optional(decoded) : std::nullopt;
        DecodedEvent event{code, bool(delay & 0x80), gun && code == 0xFA};
        if (event.cursor) {
            event.x = qint8(image.value(pos));
            event.y = qint8(image.value(pos + 1));
            pos += 2;
        }
        event.gapMs = (delay & 0x7F) * 2;
        for (; event.gapMs == 0 || (delay & 0x7F) == 0; pos += 4) { // extended: one or more mode units
            const uchar mode = image.value(pos + 1);
            if (pos + 3 >= image.size() || image[pos] != 0 || mode < 1 || mode > 3)
                break;
            event.gapMs += kModeMs[mode] * (image[pos + 2] * 256 + image[pos + 3]);
        }
        if (event.gapMs == 0)
            return std::nullopt;
        decoded.events.push_back(event);
    }
    return image.size() == 2 ? std::optional(decoded) : std::nullopt;
}
