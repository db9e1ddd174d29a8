#pragma once
// Doubles and helpers shared by the macro tests: a device port that records
// every command, dialogs answered from a script, a data folder of its own, and
// an independent decoder that turns page-encoder images back into events.

#include "MacroDevicePort.h"
#include "UserDialogs.h"

#include <QDir>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <vector>

struct RecordingMacroPort final : MacroDevicePort {
    struct MacroWrite {
        uchar slotId;
        QList<uchar> bytes;
    };
    struct MatrixWrite {
        QList<uchar> bytes;
        uchar number;
    };
    uint deviceId = 1;
    QList<MacroWrite> writes13;
    QList<MacroWrite> writes11;
    QList<MatrixWrite> matrices;
    QList<QList<uchar>> gunData;
    QList<uchar> reads93;
    QList<uchar> reads91;
    // Fills read buffers like a device answering; when unset the buffer is left
    // as handed over, like a device that does not answer.
    std::optional<uchar> answerByte;

    uint currentDeviceId() const override { return deviceId; }
    void setMacroKey13(uchar slotId, const Block128& image) override {
        writes13.append({slotId, QList<uchar>(image.begin(), image.end())});
    }
    void getMacroKey93(uchar slotId, Block128& image) override {
        reads93 << slotId;
        if (answerByte)
            image.fill(*answerByte);
    }
    void setMacroKey11(uchar slotId, const Block192& image) override {
        writes11.append({slotId, QList<uchar>(image.begin(), image.end())});
    }
    void getMacroKey91(uchar slotId, Block192& image) override {
        reads91 << slotId;
        if (answerByte)
            image.fill(*answerByte);
    }
    void setKeyMatrix12(const Block64& matrix, uchar number) override {
        matrices.append({QList<uchar>(matrix.begin(), matrix.end()), number});
    }
    void setGunData04(uchar p0, uchar p1, uchar p2, uchar p3, uchar p4) override {
        gunData.append(QList<uchar>{p0, p1, p2, p3, p4});
    }
};

struct ScriptedDialogs final : UserDialogs {
    QString openAnswer;
    QString saveAnswer;
    QStringList asked;
    QList<QPair<QString, QString>> warnings;

    QString openFileName(const QString& caption, const QString&, const QString& filter) override {
        asked << caption + QLatin1Char('|') + filter;
        return openAnswer;
    }
    QString saveFileName(const QString& caption, const QString&, const QString& filter) override {
        asked << caption + QLatin1Char('|') + filter;
        return saveAnswer;
    }
    void warning(const QString& title, const QString& text) override { warnings.append({title, text}); }
    bool confirm(const QString&, const QString&) override { return false; }
};

// Runs a test inside a fresh data folder; the previous working directory comes back afterwards.
class DataFolder {
public:
    DataFolder() : m_previous(QDir::currentPath()) {
        QVERIFY(m_dir.isValid());
        QDir::setCurrent(m_dir.path());
        QDir().mkpath(QStringLiteral("modules/setting"));
    }
    ~DataFolder() { QDir::setCurrent(m_previous); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// One event as the device will play it.
struct DecodedEvent {
    uchar code = 0;
    bool release = false;
    bool cursor = false;
    int x = 0;
    int y = 0;
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
    DecodedImage decoded;
    decoded.loopCount = image[0] * 256 + image[1];
    qsizetype pos = 2;
    if (pos == image.size())
        return decoded;
    while (true) {
        if (pos + 1 >= image.size())
            return std::nullopt;
        const uchar delay = image[pos];
        const uchar code = image[pos + 1];
        if (delay == 0 && code == 0)
            return pos + 2 == image.size() ? std::optional(decoded) : std::nullopt;
        DecodedEvent event;
        event.release = delay & 0x80;
        event.code = code;
        pos += 2;
        if (gun && code == 0xFA) {
            if (pos + 1 >= image.size())
                return std::nullopt;
            event.cursor = true;
            event.x = qint8(image[pos]);
            event.y = qint8(image[pos + 1]);
            pos += 2;
        }
        const int units = delay & 0x7F;
        if (units == 0) {
            bool any = false;
            while (pos + 3 < image.size() && image[pos] == 0 && image[pos + 1] >= 1 && image[pos + 1] <= 3) {
                event.gapMs += kModeMs[image[pos + 1]] * (image[pos + 2] * 256 + image[pos + 3]);
                pos += 4;
                any = true;
            }
            if (!any)
                return std::nullopt;
        } else {
            event.gapMs = units * 2;
        }
        decoded.events.push_back(event);
    }
}

inline QList<uchar> bytesOf(const QVariantList& list) {
    QList<uchar> bytes;
    for (const QVariant& value : list)
        bytes << uchar(value.toInt());
    return bytes;
}

inline QList<uchar> hexBytes(const char* hex) {
    QList<uchar> bytes;
    for (const QByteArray& word : QByteArray(hex).split(' '))
        if (!word.isEmpty())
            bytes << uchar(word.toUInt(nullptr, 16));
    return bytes;
}
