#pragma once
// Shared by the macro tests: a device port that records every command, dialogs
// answered from a script, the macro operations inside a data folder of their
// own, and an independent decoder that turns page-encoder images back into events.

#include "GunSelection.h"
#include "MacroDevicePort.h"
#include "MacroLibrary.h"
#include "MacroUpload.h"
#include "ProfileStore.h"
#include "UserDialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <vector>

// Each command as its slot id (or matrix number) followed by its bytes.
struct RecordingMacroPort final : MacroDevicePort {
    uint deviceId = 1;
    QList<QList<uchar>> writes13, writes11, matrices, gunData;
    QList<uchar> reads;
    std::optional<uchar> answer; // unset: the device does not answer, buffers stay as handed over

    template <typename Block> static QList<uchar> record(uchar id, const Block& block) {
        return QList<uchar>{id} + QList<uchar>(block.begin(), block.end());
    }
    template <typename Block> void read(uchar id, Block& block) {
        reads << id;
        if (answer)
            block.fill(*answer);
    }
    uint currentDeviceId() const override { return deviceId; }
    void setMacroKey13(uchar id, const Block128& image) override { writes13 << record(id, image); }
    void setMacroKey11(uchar id, const Block192& image) override { writes11 << record(id, image); }
    void setKeyMatrix12(const Block64& matrix, uchar number) override { matrices << record(number, matrix); }
    void getMacroKey93(uchar id, Block128& image) override { read(id, image); }
    void getMacroKey91(uchar id, Block192& image) override { read(id, image); }
    void setGunData04(uchar p0, uchar p1, uchar p2, uchar p3, uchar p4) override {
        gunData << QList{p0, p1, p2, p3, p4};
    }
};

struct ScriptedDialogs final : UserDialogs {
    QString openAnswer, saveAnswer;
    QStringList asked;
    QList<QPair<QString, QString>> warnings;

    QString openFileName(const QString& caption, const QString&, const QString& filter) override {
        asked << caption + '|' + filter;
        return openAnswer;
    }
    QString saveFileName(const QString& caption, const QString&, const QString& filter) override {
        asked << caption + '|' + filter;
        return saveAnswer;
    }
    void warning(const QString& title, const QString& text) override { warnings.append({title, text}); }
    bool confirm(const QString&, const QString&) override { return false; }
};

// A fresh data folder as working directory; the previous one comes back afterwards.
struct DataFolder {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    DataFolder() {
        QVERIFY(dir.isValid());
        QDir::setCurrent(dir.path());
        QDir().mkpath(QStringLiteral("modules/setting"));
    }
    ~DataFolder() { QDir::setCurrent(previous); }
};

// The macro operations wired to one device port, inside a fresh data folder.
struct MacroRig {
    explicit MacroRig(MacroDevicePort& port) : port(port) {}
    DataFolder folder;
    MacroDevicePort& port;
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
        QVERIFY(library.createGunIni(name, 0).toBool());
        QVERIFY(library.saveGunIni(name, lines, {}, 1).toBool());
        QCOMPARE(guns.gunImage(name).size(), imageBytes);
    }
};

// "00 01 32 04" as bytes, zero-padded up to size.
inline QList<uchar> hexList(const char* hex, int size = 0) {
    QList<uchar> bytes;
    for (const QByteArray& word : QByteArray(hex).split(' '))
        if (!word.isEmpty())
            bytes << uchar(word.toUInt(nullptr, 16));
    if (bytes.size() < size)
        bytes.resize(size, 0);
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
    qsizetype pos = 2;
    if (pos == image.size())
        return decoded;
    while (pos + 1 < image.size()) {
        const uchar delay = image[pos], code = image[pos + 1];
        pos += 2;
        if (delay == 0 && code == 0)
            return pos == image.size() ? std::optional(decoded) : std::nullopt;
        DecodedEvent event{code, bool(delay & 0x80)};
        if (gun && code == 0xFA) {
            if (pos + 1 >= image.size())
                return std::nullopt;
            event.cursor = true;
            event.x = qint8(image[pos]);
            event.y = qint8(image[pos + 1]);
            pos += 2;
        }
        event.gapMs = (delay & 0x7F) * 2;
        if (event.gapMs == 0) { // extended: one or more mode units
            while (pos + 3 < image.size() && image[pos] == 0 && image[pos + 1] >= 1 && image[pos + 1] <= 3) {
                event.gapMs += kModeMs[image[pos + 1]] * (image[pos + 2] * 256 + image[pos + 3]);
                pos += 4;
            }
            if (event.gapMs == 0)
                return std::nullopt;
        }
        decoded.events.push_back(event);
    }
    return std::nullopt;
}
