// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultyHidBackend.h"

#include <QRandomGenerator>
#include <QThread>

void FaultyHidBackend::setEnumeration(const std::optional<QList<HidInterfaceInfo>>& interfaces) {
    QMutexLocker lock(&m_lock);
    m_enumeration = interfaces;
}

void FaultyHidBackend::failNext(Op op, int count, int skip) {
    QMutexLocker lock(&m_lock);
    m_failures[static_cast<int>(op)] = Failure{skip, count};
}

void FaultyHidBackend::setGarbageAnswers(bool on) {
    QMutexLocker lock(&m_lock);
    m_garbage = on;
}

void FaultyHidBackend::setSilent(bool on) {
    QMutexLocker lock(&m_lock);
    m_silent = on;
}

void FaultyHidBackend::holdSends(bool on) {
    QMutexLocker lock(&m_lock);
    m_holdSends = on;
    if (!on)
        m_sendsReleased.wakeAll();
}

bool FaultyHidBackend::shouldFail(Op op) {
    QMutexLocker lock(&m_lock);
    auto found = m_failures.find(static_cast<int>(op));
    if (found == m_failures.end() || found->count <= 0)
        return false;
    if (found->skip > 0) {
        --found->skip;
        return false;
    }
    --found->count;
    return true;
}

void FaultyHidBackend::noteCommandHandle(Handle handle) {
    QMutexLocker lock(&m_lock);
    m_commandHandles.insert(handle);
}

bool FaultyHidBackend::isCommandHandle(Handle handle) const {
    QMutexLocker lock(&m_lock);
    return m_commandHandles.contains(handle);
}

bool FaultyHidBackend::garbage() const {
    QMutexLocker lock(&m_lock);
    return m_garbage;
}

bool FaultyHidBackend::silent() const {
    QMutexLocker lock(&m_lock);
    return m_silent;
}

void FaultyHidBackend::garble(unsigned char* data, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        data[i] = static_cast<unsigned char>(QRandomGenerator::global()->bounded(256));
}

QList<HidInterfaceInfo> FaultyHidBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    std::optional<QList<HidInterfaceInfo>> listed;
    {
        QMutexLocker lock(&m_lock);
        listed = m_enumeration;
    }
    if (!listed)
        return m_inner.enumerate(vendorId, productId);
    QList<HidInterfaceInfo> matching;
    for (const HidInterfaceInfo& info : std::as_const(*listed)) {
        // hidapi treats 0 as "any" for both ids.
        if ((vendorId == 0 || info.vendorId == vendorId) && (productId == 0 || info.productId == productId))
            matching.append(info);
    }
    return matching;
}

HidBackend::Handle FaultyHidBackend::open(const QString& path) {
    if (shouldFail(Op::Open))
        return nullptr;
    return m_inner.open(path);
}

int FaultyHidBackend::setNonBlocking(Handle handle, int nonBlock) {
    return m_inner.setNonBlocking(handle, nonBlock);
}

int FaultyHidBackend::sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) {
    noteCommandHandle(handle);
    if (shouldFail(Op::SendFeature))
        return -1;
    {
        QMutexLocker lock(&m_lock);
        while (m_holdSends)
            m_sendsReleased.wait(&m_lock);
    }
    return m_inner.sendFeatureReport(handle, data, length);
}

int FaultyHidBackend::getFeatureReport(Handle handle, unsigned char* data, std::size_t length) {
    noteCommandHandle(handle);
    if (shouldFail(Op::GetFeature) || silent())
        return -1;
    const int got = m_inner.getFeatureReport(handle, data, length);
    if (got > 0 && garbage())
        garble(data + 1, static_cast<std::size_t>(got) - 1);
    return got;
}

int FaultyHidBackend::write(Handle handle, const unsigned char* data, std::size_t length) {
    if (shouldFail(Op::Write))
        return -1;
    return m_inner.write(handle, data, length);
}

int FaultyHidBackend::read(Handle handle, unsigned char* data, std::size_t length) {
    return filteredRead(handle, data, -1, [&] { return m_inner.read(handle, data, length); });
}

int FaultyHidBackend::readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) {
    return filteredRead(handle, data, milliseconds,
                        [&] { return m_inner.readTimeout(handle, data, length, milliseconds); });
}

int FaultyHidBackend::filteredRead(Handle handle, unsigned char* data, int milliseconds,
                                   const std::function<int()>& innerRead) {
    if (shouldFail(Op::Read))
        return -1;
    const bool command = isCommandHandle(handle);
    if (command && silent()) {
        if (milliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        return 0;
    }
    const int got = innerRead();
    if (got > 0 && command && garbage())
        garble(data, static_cast<std::size_t>(got));
    return got;
}

void FaultyHidBackend::close(Handle handle) {
    {
        QMutexLocker lock(&m_lock);
        m_commandHandles.remove(handle);
    }
    m_inner.close(handle);
}
