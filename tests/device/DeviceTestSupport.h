// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the device tests: configuration and host doubles, a wire
// trace reader and a rig wiring the worker to the virtual mouse through the
// tracer, the way the application wires it, with fault injection in between.

#include "DeviceConfigSource.h"
#include "DeviceHost.h"
#include "FaultyHidBackend.h"
#include "Hid_Thread.h"
#include "LinkState.h"
#include "TracingHidBackend.h"
#include "VirtualHidBackend.h"

#include <QFile>
#include <QMutex>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>

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
        const QMutexLocker lock(&m_lock);
        m_messages << QStringLiteral("%1|%2|%3").arg(title, text).arg(msecs);
    }
    void hideHostWindow() override { ++hides; }
    QStringList messages() const {
        const QMutexLocker lock(&m_lock);
        return m_messages;
    }
    std::atomic<int> hides{0};

private:
    mutable QMutex m_lock;
    QStringList m_messages;
};

// One trace line "<seconds> <iface> <op> <hex bytes> [-> <result>]".
struct TraceLine {
    double t = 0;
    QString iface, op, result;
    QByteArray bytes;
};

// The lines of the trace at `path`, only those on `iface` and of `op` when given.
inline QList<TraceLine> readTrace(const QString& path, const QString& iface = {}, const QString& op = {}) {
    QList<TraceLine> lines;
    QFile file(path);
    for (const QByteArray& raw : file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QByteArrayList()) {
        const QStringList halves = QString::fromLatin1(raw).split(QStringLiteral(" -> "));
        const QStringList words = halves.first().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() >= 3 && (iface.isEmpty() || words[1] == iface) && (op.isEmpty() || words[2] == op))
            lines.append({words[0].toDouble(), words[1], words[2], halves.value(1),
                          QByteArray::fromHex(words.mid(3).join(QString()).toLatin1())});
    }
    return lines;
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
    return {DeviceRecord{0, QStringLiteral("Keyboard"), 0, {}, {}, 0},
            DeviceRecord{1, QStringLiteral("Mouse"), 1, QString::fromLatin1(VirtualHidBackend::kCommandPath),
                         QString::fromLatin1(VirtualHidBackend::kEventPath), 32}};
}

// A recognisable block; blocks of one seed share their prefixes.
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
// `faults` sits between them, so the trace shows what the host saw.
struct DeviceRig {
    QTemporaryDir dir;
    QString tracePath = dir.filePath(QStringLiteral("wire.trace"));
    VirtualHidBackend virt{dir.filePath(QStringLiteral("virtual-device.ini"))};
    FaultyHidBackend faults{virt};
    TracingHidBackend trace{faults, tracePath};
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
    QList<TraceLine> cmd(const QString& op = {}) const { return readTrace(tracePath, QStringLiteral("cmd"), op); }
};
