// SPDX-License-Identifier: GPL-3.0-or-later
#include "UhidMouse.h"

#include <QThread>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr std::uint16_t kBusUsb = 0x03;
constexpr int kPollMs = 50;
constexpr std::uint8_t kReportLength = 32;
constexpr std::uint8_t kFeatureLength = 8;

// Usage page and usage 0xff00 | low: one application collection of 8-bit fields with
// `inputs` input bytes, `outputs` output bytes and `features` feature bytes, no report ids.
QByteArray vendorDescriptor(std::uint8_t low, std::uint8_t inputs, std::uint8_t outputs, std::uint8_t features) {
    QByteArray d;
    const auto add = [&d](std::initializer_list<int> bytes) {
        for (int b : bytes)
            d.append(static_cast<char>(b));
    };
    add({0x06, low, 0xff, 0x0a, low, 0xff, 0xa1, 0x01, 0x15, 0x00, 0x26, 0xff, 0x00, 0x75, 0x08});
    if (inputs)
        add({0x95, inputs, 0x09, 0x01, 0x81, 0x02});
    if (outputs)
        add({0x95, outputs, 0x09, 0x02, 0x91, 0x02});
    if (features)
        add({0x95, features, 0x09, 0x03, 0xb1, 0x02});
    add({0xc0});
    return d;
}

bool writeEvent(int fd, const uhid_event& event) {
    return ::write(fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
}

bool createDevice(int fd, const char* name, std::uint16_t vendor, std::uint16_t product, const QByteArray& rd) {
    uhid_event event{};
    event.type = UHID_CREATE2;
    std::strncpy(reinterpret_cast<char*>(event.u.create2.name), name, sizeof event.u.create2.name - 1);
    std::memcpy(event.u.create2.rd_data, rd.constData(), static_cast<std::size_t>(rd.size()));
    event.u.create2.rd_size = static_cast<std::uint16_t>(rd.size());
    event.u.create2.bus = kBusUsb;
    event.u.create2.vendor = vendor;
    event.u.create2.product = product;
    return writeEvent(fd, event);
}

} // namespace

UhidMouse::UhidMouse(VirtualMouse& mouse, bool scrambling) : m_mouse(mouse) {
    m_mouse.setScrambling(scrambling);
    m_command.name = "virtual mouse commands";
    m_command.descriptor = vendorDescriptor(0x00, kReportLength, kReportLength, kFeatureLength);
    m_event.name = "virtual mouse events";
    m_event.descriptor = vendorDescriptor(0x01, kReportLength, 0, 0);
}

UhidMouse::~UhidMouse() {
    m_running.store(false);
    if (m_server.joinable())
        m_server.join();
    destroyInterfaces();
    for (const Interface* iface : {&m_command, &m_event}) {
        if (iface->fd >= 0)
            ::close(iface->fd);
    }
}

bool UhidMouse::start(QString* error) {
    for (Interface* iface : {&m_command, &m_event}) {
        iface->fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
        if (iface->fd < 0) {
            *error = QStringLiteral("cannot open /dev/uhid: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    plug();
    if (!m_created) {
        *error = QStringLiteral("uhid refused to create the interfaces");
        return false;
    }
    m_running.store(true);
    m_server = std::thread([this] { serve(); });
    return true;
}

bool UhidMouse::createInterface(const Interface& iface) {
    return createDevice(iface.fd, iface.name, VirtualMouse::kVendorId, VirtualMouse::kProductId, iface.descriptor);
}

void UhidMouse::plug() {
    std::lock_guard lock(m_createLock);
    if (m_created)
        return;
    m_mouse.plug();
    m_created = createInterface(m_command) && createInterface(m_event);
}

void UhidMouse::unplug() {
    destroyInterfaces();
}

void UhidMouse::destroyInterfaces() {
    std::lock_guard lock(m_createLock);
    if (!m_created)
        return;
    m_created = false;
    m_mouse.unplug();
    uhid_event event{};
    event.type = UHID_DESTROY;
    writeEvent(m_command.fd, event);
    writeEvent(m_event.fd, event);
}

void UhidMouse::destroyAfterOutputs(int count) {
    m_outputsLeft.store(count);
}

void UhidMouse::setGetReplyDelay(int delayMs) {
    m_getDelayMs.store(delayMs);
}

void UhidMouse::pressDpi(int stage) {
    m_mouse.pressDpi(stage);
    // Padded to the length the descriptor declares: the kernel drops shorter input reports.
    std::array<std::uint8_t, kReportLength> report{};
    while (m_mouse.nextEventReport(report.data(), VirtualMouse::kEventReportSize, 0) > 0)
        sendInput(m_event.fd, report.data(), report.size());
}

void UhidMouse::serve() {
    std::array<pollfd, 2> fds{pollfd{m_command.fd, POLLIN, 0}, pollfd{m_event.fd, POLLIN, 0}};
    while (m_running.load()) {
        if (::poll(fds.data(), fds.size(), kPollMs) <= 0)
            continue;
        if (fds[0].revents & POLLIN)
            handleEvent(m_command);
        if (fds[1].revents & POLLIN)
            handleEvent(m_event);
    }
}

void UhidMouse::handleEvent(const Interface& iface) {
    uhid_event event{};
    if (::read(iface.fd, &event, sizeof event) <= 0)
        return;
    switch (event.type) {
    case UHID_SET_REPORT: {
        const uhid_set_report_req& request = event.u.set_report;
        // Report id in byte 0, as hidraw passes it on.
        m_mouse.receiveFeatureReport(request.data, request.size);
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = request.id;
        writeEvent(iface.fd, reply);
        // A GET command queues its bulk answer; the host reads it after the feature reply.
        sendQueuedInput();
        break;
    }
    case UHID_GET_REPORT:
        answerGet(iface.fd, event.u.get_report.id);
        break;
    case UHID_OUTPUT:
        takeOutput(event.u.output.data, event.u.output.size);
        break;
    default: // start, stop, open, close: nothing to do
        break;
    }
}

void UhidMouse::answerGet(int fd, std::uint32_t id) {
    const int delay = m_getDelayMs.load();
    if (delay == kNeverAnswer)
        return;
    if (delay > 0)
        QThread::msleep(static_cast<unsigned long>(delay));
    uhid_event reply{};
    reply.type = UHID_GET_REPORT_REPLY;
    reply.u.get_report_reply.id = id;
    const int size = m_mouse.answerFeatureReport(reply.u.get_report_reply.data, VirtualMouse::kFeatureReportSize);
    reply.u.get_report_reply.err = size < 0 ? EIO : 0;
    reply.u.get_report_reply.size = static_cast<std::uint16_t>(std::max(size, 0));
    writeEvent(fd, reply);
}

void UhidMouse::takeOutput(const std::uint8_t* data, std::size_t size) {
    m_mouse.receiveOutputReport(data, size);
    const int left = m_outputsLeft.load();
    if (left > 0 && m_outputsLeft.fetch_sub(1) == 1)
        destroyInterfaces();
}

void UhidMouse::sendQueuedInput() {
    std::array<std::uint8_t, kReportLength> report{};
    while (m_mouse.nextInputReport(report.data(), report.size(), 0) > 0)
        sendInput(m_command.fd, report.data(), report.size());
}

void UhidMouse::sendInput(int fd, const std::uint8_t* data, std::size_t size) {
    uhid_event event{};
    event.type = UHID_INPUT2;
    std::memcpy(event.u.input2.data, data, size);
    event.u.input2.size = static_cast<std::uint16_t>(size);
    if (!writeEvent(fd, event))
        qWarning("uhid refused an input report: %s", std::strerror(errno));
}

bool UhidMouse::createStranger(int* fd, QString* error) {
    constexpr std::uint16_t kOtherVendor = 0x1209;
    constexpr std::uint16_t kOtherProduct = 0x0001;
    *fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (*fd < 0 || !createDevice(*fd, "unrelated vendor device", kOtherVendor, kOtherProduct,
                                 vendorDescriptor(0x00, kReportLength, kReportLength, kFeatureLength))) {
        *error = QStringLiteral("cannot create the unrelated uhid device: %1")
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}
