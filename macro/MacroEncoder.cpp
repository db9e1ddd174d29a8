// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroEncoder.h"

#include "KeyNameTable.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr uchar kReleaseBit = 0x80;
constexpr uchar kCursorCode = 0xFA;
constexpr uchar kShortestMacroDelay = 0x01;
constexpr uchar kShortestGunDelay = 0x0A;
constexpr qint64 kLongestShortDelay = 126; // units that still fit the 7 delay bits
constexpr qint64 kMode1Limit = 100000;
constexpr qint64 kMode2Limit = 300000;
constexpr int kCursorLimit = 127;

enum EventType { Delay = 0, KeyDown, KeyUp, ButtonDown, ButtonUp, CursorX, CursorY };

// One event of the device image: a key or button transition, or a cursor move.
struct Record {
    uchar code = 0;
    bool release = false;
    bool cursor = false;
    uchar x = 0;
    uchar y = 0;
    qint64 gapMs = 0; // time to wait after the event
};

struct PageEvent {
    int type = -1;
    QString info;
};

std::optional<PageEvent> parseLine(const QString& line) {
    if (line.size() < 2 || !line.at(0).isDigit() || line.at(1) != QLatin1Char(','))
        return std::nullopt;
    PageEvent event{line.at(0).digitValue(), line.mid(2)};
    if (event.type > CursorY)
        return std::nullopt;
    return event;
}

uchar mouseCode(const QString& name) {
    static const QStringList kButtons{"MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"};
    const qsizetype index = kButtons.indexOf(name);
    return index < 0 ? 0 : uchar(0xF0 + index);
}

uchar cursorByte(const QString& text) {
    bool ok = false;
    const int value = std::clamp(text.trimmed().toInt(&ok), -kCursorLimit, kCursorLimit);
    return ok ? uchar(value & 0xFF) : 0;
}

// Clamped before any arithmetic, so sums of waits cannot overflow.
qint64 delayMilliseconds(const QString& text) {
    bool ok = false;
    const qint64 ms = text.trimmed().toLongLong(&ok);
    return ok ? std::clamp<qint64>(ms, 0, MacroEncoder::kLongestGapMs) : 0;
}

// The image being written: bytes past its capacity are not kept, and the
// encoder stops once it is full.
class BoundedImage {
public:
    explicit BoundedImage(qsizetype capacity) : m_capacity(capacity) {}
    BoundedImage& operator<<(uchar byte) {
        if (!full())
            m_bytes << byte;
        return *this;
    }
    bool full() const { return m_bytes.size() >= m_capacity; }
    QList<uchar> take() { return std::move(m_bytes); }

private:
    QList<uchar> m_bytes;
    qsizetype m_capacity;
};

// Collects the records of a page event list; events that name nothing known and
// offsets outside the gun variant are left out. Every record takes at least two
// bytes after the two loop-count bytes, so no record past the first capacity / 2
// reaches the image; one more is collected so that the last one written keeps
// its own delay instead of the closing one.
std::vector<Record> collectRecords(const QStringList& lines, MacroEncoder::Variant variant, int capacity) {
    std::vector<PageEvent> events;
    for (const QString& line : lines)
        if (auto event = parseLine(line))
            events.push_back(*event);

    std::vector<Record> records;
    const size_t maxRecords = size_t(capacity / 2) + 1;
    const bool gun = variant == MacroEncoder::Variant::Gun;
    for (size_t i = 0; i < events.size() && records.size() < maxRecords; ++i) {
        const PageEvent& event = events[i];
        Record record;
        switch (event.type) {
        case Delay:
            if (!records.empty())
                records.back().gapMs =
                    std::min(records.back().gapMs + delayMilliseconds(event.info), MacroEncoder::kLongestGapMs);
            continue;
        case KeyDown:
        case KeyUp:
            record.code = KeyNameTable::pageCodeOf(event.info);
            record.release = event.type == KeyUp;
            break;
        case ButtonDown:
        case ButtonUp:
            record.code = mouseCode(event.info);
            record.release = event.type == ButtonUp;
            break;
        case CursorX:
            if (!gun)
                continue;
            record.cursor = true;
            record.code = kCursorCode;
            record.x = cursorByte(event.info);
            if (i + 1 < events.size() && events[i + 1].type == CursorY)
                record.y = cursorByte(events[++i].info);
            break;
        default: // a Y offset without its X offset
            continue;
        }
        if (record.code != 0)
            records.push_back(record);
    }
    return records;
}

template <typename Image> void appendWord(Image& out, uint value) {
    out << uchar((value >> 8) & 0xFF) << uchar(value & 0xFF);
}

// Mode unit plus count; gaps beyond mode 3's range become several mode-3 units,
// as many as the image still holds.
void appendExtendedDelay(BoundedImage& out, qint64 units) {
    if (units < kMode1Limit) {
        out << 0x00 << 0x01;
        appendWord(out, uint(units / 10));
    } else if (units < kMode2Limit) {
        out << 0x00 << 0x02;
        appendWord(out, uint(units / 25));
    } else {
        qint64 count = units / 50;
        while (count > 0 && !out.full()) {
            const qint64 piece = std::min<qint64>(count, MacroEncoder::kMaxMode3Count);
            out << 0x00 << 0x03;
            appendWord(out, uint(piece));
            count -= piece;
        }
    }
}

// A closing record (the last one) always waits the shortest time.
void appendRecord(BoundedImage& out, const Record& record, bool closing, uchar shortest) {
    const uchar releaseBit = record.release ? kReleaseBit : 0;
    const qint64 gapUnits = closing ? 0 : MacroEncoder::unitsOfMilliseconds(record.gapMs);
    const bool extended = gapUnits > kLongestShortDelay;
    uchar delay = shortest;
    if (extended)
        delay = 0;
    else if (gapUnits > 0)
        delay = uchar(gapUnits);
    out << uchar(delay | releaseBit) << record.code;
    if (record.cursor)
        out << record.x << record.y;
    if (extended)
        appendExtendedDelay(out, gapUnits);
}

enum class Tag { None, Down, Up, Delay };

Tag tagOf(const QString& line, QString* value) {
    constexpr int kTagLength = 10;
    if (line.size() < kTagLength)
        return Tag::None;
    const QString tag = line.right(kTagLength);
    *value = line.left(line.size() - kTagLength);
    if (tag == QLatin1String("    [Down]"))
        return Tag::Down;
    if (tag == QLatin1String("      [Up]"))
        return Tag::Up;
    if (tag == QLatin1String("   [Delay]"))
        return Tag::Delay;
    return Tag::None;
}

// Rounded to the nearest 20 ms, at least one, at most what 16 bits count.
uint twentyMsCount(qint64 ms) {
    constexpr qint64 kLongestCountedMs = 0xFFFFLL * 20;
    return uint((std::clamp<qint64>(ms, 20, kLongestCountedMs) + 10) / 20);
}

} // namespace

int MacroEncoder::capacityOf(Variant variant) {
    return variant == Variant::Gun ? kGunImageCapacity : kMacroImageCapacity;
}

QList<uchar> MacroEncoder::encodePage(const QStringList& lines, int loopCount, Variant variant) {
    BoundedImage out(capacityOf(variant));
    appendWord(out, uint(std::clamp(loopCount, 0, kMaxLoopCount)));
    const std::vector<Record> records = collectRecords(lines, variant, capacityOf(variant));
    if (records.empty())
        return out.take();
    const uchar shortest = variant == Variant::Gun ? kShortestGunDelay : kShortestMacroDelay;
    for (size_t i = 0; i < records.size() && !out.full(); ++i)
        appendRecord(out, records[i], i + 1 == records.size(), shortest);
    out << 0x00 << 0x00;
    return out.take();
}

namespace {
constexpr qint64 kShortFormLimitMs = 1270;
constexpr qint64 kMiddleFormLimitMs = 5100;

// Appends a mouse delay of `ms`. A short one rewrites the delay byte of the key record the
// output ends in, when `mayShorten`; the result tells whether the output still ends in one.
bool appendMouseDelay(QList<uchar>& out, qint64 ms, bool mayShorten) {
    if (ms <= kShortFormLimitMs && mayShorten) {
        uchar& delayByte = out[out.size() - 2];
        delayByte = uchar((delayByte & kReleaseBit) | ((std::max<qint64>(ms, 10) + 5) / 10));
        return true;
    }
    if (ms > kShortFormLimitMs && ms <= kMiddleFormLimitMs) {
        out << uchar(twentyMsCount(ms)) << 0x01;
        return false;
    }
    out << 0x00 << 0x01;
    appendWord(out, twentyMsCount(ms));
    return false;
}
} // namespace

QList<uchar> MacroEncoder::encodeTags(const QStringList& lines, uint deviceId) {
    constexpr uint kKeyboard = 0;
    constexpr uint kMouse = 1;

    QList<uchar> out{0x00, 0x01};
    bool previousIsDelay = false;
    // The short delay form rewrites the delay byte of the last key record, so it
    // is only used when the output really ends in one.
    bool endsInKeyRecord = false;
    for (const QString& line : lines) {
        QString value;
        const Tag tag = tagOf(line, &value);
        const bool isDelay = tag == Tag::Delay;
        if (tag == Tag::Down || tag == Tag::Up) {
            if (const uchar code = KeyNameTable::codeOf(value)) {
                out << uchar(tag == Tag::Up ? 0x81 : 0x01) << code;
                endsInKeyRecord = true;
            }
        } else if (isDelay) {
            bool ok = false;
            const qint64 ms = value.trimmed().toLongLong(&ok);
            if (ok && ms > 0 && deviceId == kKeyboard) {
                out << 0x7F << 0x00;
                appendWord(out, uint(std::min<qint64>(ms / 10, 0xFFFF)));
                endsInKeyRecord = false;
            } else if (ok && ms > 0 && deviceId == kMouse) {
                endsInKeyRecord = appendMouseDelay(out, ms, !previousIsDelay && endsInKeyRecord);
            }
        }
        previousIsDelay = isDelay;
    }
    out << 0x00 << 0x00;
    return out;
}
