// SPDX-License-Identifier: GPL-3.0-or-later
#include "HidBackendStack.h"

#include "HidapiBackend.h"
#include "TracingHidBackend.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

#include <QStringList>

HidBackendStack::HidBackendStack(bool virtualDevice, const QString& traceTarget) {
    if (virtualDevice) {
        auto virtualBackend = std::make_unique<VirtualHidBackend>(QString::fromLatin1(kVirtualDeviceFile));
        m_virtual = virtualBackend.get();
        m_device = std::move(virtualBackend);
    } else {
        m_device = std::make_unique<HidapiBackend>();
    }
    if (!traceTarget.isEmpty())
        m_trace = std::make_unique<TracingHidBackend>(*m_device, traceTarget);
}

HidBackendStack::~HidBackendStack() = default;

HidBackend& HidBackendStack::backend() {
    return m_trace ? static_cast<HidBackend&>(*m_trace) : *m_device;
}

VirtualMouse* HidBackendStack::virtualMouse() const {
    return m_virtual ? &m_virtual->mouse() : nullptr;
}

QString HidBackendStack::control(const QStringList& args, bool* ok) const {
    *ok = false;
    VirtualMouse* mouse = virtualMouse();
    if (!mouse)
        return QStringLiteral("this instance runs without the virtual mouse");
    const QString command = args.value(0);
    if (command == QLatin1String("press-dpi")) {
        bool isNumber = false;
        const int stage = args.value(1).toInt(&isNumber);
        if (args.size() != 2 || !isNumber || stage < 0 || stage > 255)
            return QStringLiteral("usage: press-dpi N (0..255)");
        mouse->pressDpi(stage);
    } else if (command == QLatin1String("unplug") && args.size() == 1) {
        mouse->unplug();
    } else if (command == QLatin1String("plug") && args.size() == 1) {
        mouse->plug();
    } else if (command == QLatin1String("dump") && args.size() == 1) {
        *ok = true;
        return mouse->dump();
    } else {
        return QStringLiteral("unknown command; use press-dpi N, unplug, plug or dump");
    }
    *ok = true;
    return QStringLiteral("ok");
}
