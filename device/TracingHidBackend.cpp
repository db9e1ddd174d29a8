// SPDX-License-Identifier: GPL-3.0-or-later
#include "TracingHidBackend.h"

#include "DeviceCatalog.h"
#include "DeviceLog.h"

#include <cstdio>

namespace {

const char* const kCommandInterface = "cmd";
const char* const kEventInterface = "evt";

quint32 usagePair(std::uint16_t page, std::uint16_t usage) {
    return (quint32(page) << 16) | usage;
}

} // namespace

TracingHidBackend::TracingHidBackend(HidBackend& inner, const QString& target) : m_inner(inner) {
    // Interfaces are told apart the way discovery tells them apart: by the catalogue's event usage pairs.
    const DeviceCatalog catalog;
    for (const DeviceEntry& entry : catalog.entries())
        m_eventUsagePairs.insert(usagePair(entry.usagePage2, entry.usage2));
    const bool opened = target == QLatin1String("-")
                            ? m_file.open(stderr, QIODevice::WriteOnly)
                            : (m_file.setFileName(target), m_file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (!opened)
        qCWarning(lcDevice) << "cannot open wire trace" << target << m_file.errorString();
    m_clock.start();
}

const char* TracingHidBackend::interfaceOfPath(const QString& path) const {
    QMutexLocker lock(&m_lock);
    return m_eventPaths.contains(path) ? kEventInterface : kCommandInterface;
}

const char* TracingHidBackend::interfaceOf(Handle handle) const {
    QMutexLocker lock(&m_lock);
    return m_handleInterfaces.value(handle, kCommandInterface);
}

void TracingHidBackend::writeLine(const char* iface, const char* op, const unsigned char* bytes, std::size_t count,
                                  const QByteArray& result) {
    QMutexLocker lock(&m_lock);
    if (!m_file.isOpen())
        return;
    QByteArray line = QByteArray::number(double(m_clock.nsecsElapsed()) / 1e9, 'f', 3);
    line += ' ';
    line += iface;
    line += ' ';
    line += op;
    if (bytes && count > 0) {
        line += ' ';
        line += QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(count)).toHex(' ');
    }
    if (!result.isEmpty())
        line += " -> " + result;
    line += '\n';
    m_file.write(line);
    m_file.flush();
}

QList<HidInterfaceInfo> TracingHidBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    QList<HidInterfaceInfo> interfaces = m_inner.enumerate(vendorId, productId);
    QMutexLocker lock(&m_lock);
    for (const HidInterfaceInfo& info : interfaces) {
        if (m_eventUsagePairs.contains(usagePair(info.usagePage, info.usage)))
            m_eventPaths.insert(info.path);
        else
            m_eventPaths.remove(info.path);
    }
    return interfaces;
}

HidBackend::Handle TracingHidBackend::open(const QString& path) {
    const char* iface = interfaceOfPath(path);
    Handle handle = m_inner.open(path);
    if (handle) {
        QMutexLocker lock(&m_lock);
        m_handleInterfaces.insert(handle, iface);
    }
    writeLine(iface, "open", nullptr, 0, handle ? QByteArrayLiteral("ok") : QByteArrayLiteral("fail"));
    return handle;
}

int TracingHidBackend::setNonBlocking(Handle handle, int nonBlock) {
    return m_inner.setNonBlocking(handle, nonBlock);
}

int TracingHidBackend::sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) {
    const int result = m_inner.sendFeatureReport(handle, data, length);
    writeLine(interfaceOf(handle), "send_feature", data, length, resultOf(result));
    return result;
}

int TracingHidBackend::getFeatureReport(Handle handle, unsigned char* data, std::size_t length) {
    const int result = m_inner.getFeatureReport(handle, data, length);
    writeLine(interfaceOf(handle), "get_feature", data, length, resultOf(result));
    return result;
}

int TracingHidBackend::write(Handle handle, const unsigned char* data, std::size_t length) {
    const int result = m_inner.write(handle, data, length);
    writeLine(interfaceOf(handle), "write", data, length, resultOf(result));
    return result;
}

int TracingHidBackend::read(Handle handle, unsigned char* data, std::size_t length) {
    const int result = m_inner.read(handle, data, length);
    writeLine(interfaceOf(handle), "read", data, result > 0 ? static_cast<std::size_t>(result) : 0, resultOf(result));
    return result;
}

int TracingHidBackend::readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) {
    const int result = m_inner.readTimeout(handle, data, length, milliseconds);
    writeLine(interfaceOf(handle), "read_timeout", data, result > 0 ? static_cast<std::size_t>(result) : 0,
              resultOf(result));
    return result;
}

void TracingHidBackend::close(Handle handle) {
    const char* iface = interfaceOf(handle);
    {
        QMutexLocker lock(&m_lock);
        m_handleInterfaces.remove(handle);
    }
    m_inner.close(handle);
    writeLine(iface, "close", nullptr, 0, {});
}
