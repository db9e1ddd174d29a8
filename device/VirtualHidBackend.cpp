#include "VirtualHidBackend.h"

#include "LinkState.h"

#include <QRandomGenerator>
#include <QThread>

namespace {
constexpr std::uint16_t kCommandUsage = 0xff00;
constexpr std::uint16_t kEventUsage = 0xff01;
} // namespace

VirtualHidBackend::VirtualHidBackend(const QString& iniPath) : m_mouse(iniPath) {}

VirtualHidBackend::~VirtualHidBackend() {
    QMutexLocker lock(&m_lock);
    qDeleteAll(m_handles);
}

QList<HidInterfaceInfo> VirtualHidBackend::ownInterfaces() {
    HidInterfaceInfo command{QString::fromLatin1(kCommandPath), VirtualMouse::kVendorId, VirtualMouse::kProductId,
                             kCommandUsage, kCommandUsage};
    HidInterfaceInfo event{QString::fromLatin1(kEventPath), VirtualMouse::kVendorId, VirtualMouse::kProductId,
                           kEventUsage, kEventUsage};
    return {command, event};
}

void VirtualHidBackend::setEnumeration(const std::optional<QList<HidInterfaceInfo>>& interfaces) {
    QMutexLocker lock(&m_lock);
    m_enumeration = interfaces;
}

void VirtualHidBackend::failNext(Op op, int count, int skip) {
    QMutexLocker lock(&m_lock);
    m_failures[static_cast<int>(op)] = Failure{skip, count};
}

void VirtualHidBackend::setGarbageAnswers(bool on) {
    QMutexLocker lock(&m_lock);
    m_garbage = on;
}

void VirtualHidBackend::setSilent(bool on) {
    QMutexLocker lock(&m_lock);
    m_silent = on;
}

void VirtualHidBackend::holdSends(bool on) {
    QMutexLocker lock(&m_lock);
    m_holdSends = on;
    if (!on)
        m_sendsReleased.wakeAll();
}

int VirtualHidBackend::openHandles() const {
    QMutexLocker lock(&m_lock);
    return static_cast<int>(m_handles.size());
}

bool VirtualHidBackend::shouldFail(Op op) {
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

std::optional<bool> VirtualHidBackend::isEventHandle(Handle handle) const {
    QMutexLocker lock(&m_lock);
    auto* known = static_cast<VirtualHandle*>(handle);
    if (!m_handles.contains(known))
        return std::nullopt;
    return known->event;
}

void VirtualHidBackend::garble(unsigned char* data, std::size_t length) const {
    for (std::size_t i = 0; i < length; ++i)
        data[i] = static_cast<unsigned char>(QRandomGenerator::global()->bounded(256));
}

QList<HidInterfaceInfo> VirtualHidBackend::enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    QList<HidInterfaceInfo> listed;
    {
        QMutexLocker lock(&m_lock);
        if (m_enumeration)
            listed = *m_enumeration;
    }
    if (listed.isEmpty() && !m_enumeration) {
        if (!m_mouse.isPlugged())
            return {};
        listed = ownInterfaces();
    }
    QList<HidInterfaceInfo> matching;
    for (const HidInterfaceInfo& info : std::as_const(listed)) {
        // hidapi treats 0 as "any" for both ids.
        if ((vendorId == 0 || info.vendorId == vendorId) && (productId == 0 || info.productId == productId))
            matching.append(info);
    }
    return matching;
}

HidBackend::Handle VirtualHidBackend::open(const QString& path) {
    if (shouldFail(Op::Open) || !m_mouse.isPlugged())
        return nullptr;
    bool event = false;
    if (path == QLatin1String(kEventPath)) {
        event = true;
    } else if (path != QLatin1String(kCommandPath)) {
        // Paths of a test enumeration: the event interface is the one with the event usage pair.
        QMutexLocker lock(&m_lock);
        if (!m_enumeration)
            return nullptr;
        const auto found = std::find_if(m_enumeration->cbegin(), m_enumeration->cend(),
                                        [&](const HidInterfaceInfo& info) { return info.path == path; });
        if (found == m_enumeration->cend())
            return nullptr;
        event = found->usagePage == kEventUsage && found->usage == kEventUsage;
    }
    auto* handle = new VirtualHandle{event};
    QMutexLocker lock(&m_lock);
    m_handles.insert(handle);
    return handle;
}

int VirtualHidBackend::setNonBlocking(Handle handle, int) {
    return isEventHandle(handle) ? 0 : -1;
}

int VirtualHidBackend::sendFeatureReport(Handle handle, const unsigned char* data, std::size_t length) {
    const std::optional<bool> event = isEventHandle(handle);
    if (!event || *event || !m_mouse.isPlugged() || shouldFail(Op::SendFeature))
        return -1;
    {
        QMutexLocker lock(&m_lock);
        while (m_holdSends)
            m_sendsReleased.wait(&m_lock);
    }
    // The mouse follows the scrambling setting of the catalogue the host runs with.
    m_mouse.setScrambling(LinkState::scramblingEnabled.load());
    m_mouse.receiveFeatureReport(data, length);
    return static_cast<int>(length);
}

int VirtualHidBackend::getFeatureReport(Handle handle, unsigned char* data, std::size_t length) {
    const std::optional<bool> event = isEventHandle(handle);
    if (!event || *event || !m_mouse.isPlugged() || shouldFail(Op::GetFeature))
        return -1;
    {
        QMutexLocker lock(&m_lock);
        if (m_silent)
            return -1;
    }
    const int got = m_mouse.answerFeatureReport(data, length);
    QMutexLocker lock(&m_lock);
    // Byte 0 stays the report id: only the answer itself turns to garbage.
    if (got > 0 && m_garbage)
        garble(data + 1, static_cast<std::size_t>(got) - 1);
    return got;
}

int VirtualHidBackend::write(Handle handle, const unsigned char* data, std::size_t length) {
    const std::optional<bool> event = isEventHandle(handle);
    if (!event || *event || !m_mouse.isPlugged() || shouldFail(Op::Write))
        return -1;
    m_mouse.receiveOutputReport(data, length);
    return static_cast<int>(length);
}

int VirtualHidBackend::read(Handle handle, unsigned char* data, std::size_t length) {
    return readTimeout(handle, data, length, -1);
}

int VirtualHidBackend::readTimeout(Handle handle, unsigned char* data, std::size_t length, int milliseconds) {
    const std::optional<bool> event = isEventHandle(handle);
    if (!event || shouldFail(Op::Read))
        return -1;
    bool silent = false;
    {
        QMutexLocker lock(&m_lock);
        silent = m_silent;
    }
    if (silent && !*event) {
        if (milliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        return 0;
    }
    const int got = *event ? m_mouse.nextEventReport(data, length, milliseconds)
                           : m_mouse.nextInputReport(data, length, milliseconds);
    QMutexLocker lock(&m_lock);
    if (got > 0 && m_garbage && !*event)
        garble(data, static_cast<std::size_t>(got));
    return got;
}

void VirtualHidBackend::close(Handle handle) {
    QMutexLocker lock(&m_lock);
    auto* known = static_cast<VirtualHandle*>(handle);
    if (m_handles.remove(known))
        delete known;
}
