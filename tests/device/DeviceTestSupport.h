#pragma once
// Shared pieces of the device tests: configuration and host doubles, a wire
// trace reader and a rig wiring the worker to the virtual mouse through the
// tracer, the way the application wires it.

#include "DeviceCatalog.h"
#include "DeviceConfigSource.h"
#include "DeviceHost.h"
#include "Hid_Thread.h"
#include "LinkState.h"
#include "TracingHidBackend.h"
#include "VirtualHidBackend.h"

#include <QFile>
#include <QMutex>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class FakeConfig : public DeviceConfigSource {
public:
    QString code = QStringLiteral("731905");
    QStringList names{QStringLiteral("Keyboard"), QStringLiteral("Mouse")};
    QString secrecyCodeText(unsigned int) const override { return code; }
    QStringList productNames() const override { return names; }
};

class RecordingHost : public DeviceHost {
public:
    void showTrayMessage(const QString& title, const QString& text, int msecs) override {
        QMutexLocker lock(&m_lock);
        m_messages.append(title + QLatin1Char('|') + text + QLatin1Char('|') + QString::number(msecs));
    }
    void hideHostWindow() override {
        QMutexLocker lock(&m_lock);
        ++m_hides;
    }
    QStringList messages() const {
        QMutexLocker lock(&m_lock);
        return m_messages;
    }
    int hides() const {
        QMutexLocker lock(&m_lock);
        return m_hides;
    }

private:
    mutable QMutex m_lock;
    QStringList m_messages;
    int m_hides = 0;
};

struct TraceLine {
    double t = 0;
    QString iface;
    QString op;
    QByteArray bytes;
    QString result;
};

inline QList<TraceLine> readTrace(const QString& path) {
    QList<TraceLine> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        if (raw.isEmpty())
            continue;
        const QString text = QString::fromLatin1(raw);
        const QString head = text.section(QStringLiteral(" -> "), 0, 0);
        TraceLine line;
        line.result = text.contains(QStringLiteral(" -> ")) ? text.section(QStringLiteral(" -> "), 1) : QString();
        const QStringList words = head.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        line.t = words.value(0).toDouble();
        line.iface = words.value(1);
        line.op = words.value(2);
        line.bytes = QByteArray::fromHex(words.mid(3).join(QString()).toLatin1());
        lines.append(line);
    }
    return lines;
}

inline QList<TraceLine> onInterface(const QList<TraceLine>& lines, const QString& iface) {
    QList<TraceLine> picked;
    for (const TraceLine& line : lines)
        if (line.iface == iface)
            picked.append(line);
    return picked;
}

inline QList<TraceLine> withOp(const QList<TraceLine>& lines, const QString& op) {
    QList<TraceLine> picked;
    for (const TraceLine& line : lines)
        if (line.op == op)
            picked.append(line);
    return picked;
}

inline void resetLinkState() {
    LinkState::deviceConnected.store(false);
    LinkState::demoMode.store(false);
    LinkState::scramblingEnabled.store(false);
    LinkState::secrecyCode.fill(0);
    for (auto& value : LinkState::dpiValues)
        value.store(0);
}

inline QList<DeviceRecord> virtualMouseRecords() {
    DeviceRecord keyboard{0, QStringLiteral("Keyboard"), 0, {}, {}, 0};
    DeviceRecord mouse{1,
                       QStringLiteral("Mouse"),
                       1,
                       QString::fromLatin1(VirtualHidBackend::kCommandPath),
                       QString::fromLatin1(VirtualHidBackend::kEventPath),
                       32};
    return {keyboard, mouse};
}

inline QByteArray hexBytes(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

template <std::size_t N> std::array<uchar, N> patternBlock(int seed) {
    std::array<uchar, N> block{};
    for (std::size_t i = 0; i < N; ++i)
        block[i] = static_cast<uchar>(seed + 7 * i + 1);
    return block;
}

template <std::size_t N> QByteArray bytesOf(const std::array<uchar, N>& block) {
    return QByteArray(reinterpret_cast<const char*>(block.data()), static_cast<qsizetype>(N));
}

// The worker on the virtual mouse through the wire tracer, records already set.
struct DeviceRig {
    QTemporaryDir dir;
    QString tracePath = dir.filePath(QStringLiteral("wire.trace"));
    VirtualHidBackend virt{dir.filePath(QStringLiteral("virtual-device.ini"))};
    TracingHidBackend trace{virt, tracePath};
    FakeConfig config;
    RecordingHost host;
    Hid_Thread worker{trace, config, &host};

    DeviceRig() {
        resetLinkState();
        // Discovery always enumerates first; that is how the tracer tells the interfaces apart.
        trace.enumerate(VirtualMouse::kVendorId, VirtualMouse::kProductId);
        worker.setRecords(virtualMouseRecords());
    }
    ~DeviceRig() {
        worker.stopListener();
        worker.waitForTransfers();
    }
    QList<TraceLine> commandLines() const { return onInterface(readTrace(tracePath), QStringLiteral("cmd")); }
};
