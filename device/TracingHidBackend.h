// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decorator that writes every call through the HID seam as one trace line:
//   <t> <iface> <op> [<hex> ...] [-> <result>]
// to a file or, for "-", to standard error. Lines are written whole under a
// lock, timed by a monotonic clock and flushed at once, so a crash keeps them.
//
// Threads: any; the GUI thread, pool threads and the listener call it at once.

#include "HidBackend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSet>

class TracingHidBackend : public HidBackend {
public:
    // `target`: a file path, or "-" for standard error.
    TracingHidBackend(HidBackend& inner, const QString& target);
    bool isOpen() const { return m_file.isOpen(); }

    QList<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    Handle open(const QString& path) override;
    int setNonBlocking(Handle handle, int nonBlock) override;
    int sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) override;
    int getFeatureReport(Handle handle, unsigned char* data, std::size_t length) override;
    int write(Handle handle, const unsigned char* data, std::size_t length) override;
    int read(Handle handle, unsigned char* data, std::size_t length) override;
    int readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) override;
    void close(Handle handle) override;

private:
    const char* interfaceOfPath(const QString& path) const;
    const char* interfaceOf(Handle handle) const;
    void writeLine(const char* iface, const char* op, const unsigned char* bytes, std::size_t count,
                   const QByteArray& result);
    static QByteArray resultOf(int value) { return QByteArray::number(value); }

    HidBackend& m_inner;
    mutable QMutex m_lock;
    QFile m_file;
    QElapsedTimer m_clock;
    QSet<QString> m_eventPaths;
    QHash<Handle, const char*> m_handleInterfaces;
    QSet<quint32> m_eventUsagePairs;
};
