// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HID backend a run talks through, chosen from the command line: hidapi or
// the virtual mouse, optionally wrapped by the wire trace. quellar and
// quellarctl build it the same way.

#include <QString>
#include <memory>

class HidBackend;
class TracingHidBackend;
class VirtualHidBackend;
class VirtualMouse;

class HidBackendStack {
public:
    // The virtual mouse keeps its memory in this file of the data folder.
    static constexpr const char* kVirtualDeviceFile = "./virtual-device.ini";

    HidBackendStack(bool virtualDevice, const QString& traceTarget);
    ~HidBackendStack();

    HidBackend& backend();
    // Null unless the virtual mouse is in use.
    VirtualMouse* virtualMouse() const;
    // The answer to a `quellarctl virtual` request; *ok false for an unknown command.
    QString control(const QStringList& args, bool* ok) const;

private:
    std::unique_ptr<HidBackend> m_device;
    VirtualHidBackend* m_virtual = nullptr;
    std::unique_ptr<TracingHidBackend> m_trace;
};
