// SPDX-License-Identifier: GPL-3.0-or-later
// Device answers: a mouse that passes the handshake and then answers every get
// command with arbitrary bytes, short reads, failures and time-outs. Every read
// operation of the pages must turn whatever comes back into bounded values.

#include "DeviceConfigSource.h"
#include "DeviceDiscovery.h"
#include "DeviceSettings.h"
#include "FuzzDataFolder.h"
#include "FuzzDoubles.h"
#include "Hid_Thread.h"
#include "KeyAssignment.h"
#include "ProfileStore.h"
#include "VirtualHidBackend.h"
#include "WorkerDevicePort.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Passes everything to the virtual mouse, then replaces the answers of the
// command interface with the fuzz input while one is being played.
class FuzzedAnswers final : public HidBackend {
public:
    void play(const std::uint8_t* data, std::size_t size) {
        m_data = data;
        m_left = size;
    }
    void stop() { m_left = 0; }

    QList<HidInterfaceInfo> enumerate(std::uint16_t v, std::uint16_t p) override { return m_mouse.enumerate(v, p); }
    Handle open(const QString& path) override { return m_mouse.open(path); }
    int setNonBlocking(Handle h, int nonBlock) override { return m_mouse.setNonBlocking(h, nonBlock); }
    int sendFeatureReport(Handle h, const unsigned char* d, std::size_t n) override {
        return m_mouse.sendFeatureReport(h, d, n);
    }
    int getFeatureReport(Handle h, unsigned char* d, std::size_t n) override {
        return answer(m_mouse.getFeatureReport(h, d, n), d, n);
    }
    int write(Handle h, const unsigned char* d, std::size_t n) override { return m_mouse.write(h, d, n); }
    int read(Handle h, unsigned char* d, std::size_t n) override { return answer(m_mouse.read(h, d, n), d, n); }
    int readTimeout(Handle h, unsigned char* d, std::size_t n, int ms) override {
        return answer(m_mouse.readTimeout(h, d, n, std::min(ms, 1)), d, n);
    }
    void close(Handle h) override { m_mouse.close(h); }

private:
    // One control byte picks failure, time-out or a read of some length (never
    // more than the buffer: hidapi never returns more); the bytes follow it.
    int answer(int mouseResult, unsigned char* data, std::size_t length) {
        if (m_left == 0)
            return mouseResult;
        const std::uint8_t control = take();
        if (control == 0xFF)
            return -1;
        if (control == 0xFE)
            return 0;
        const std::size_t count = std::min<std::size_t>({length, control, m_left});
        std::memcpy(data, m_data, count);
        m_data += count;
        m_left -= count;
        return int(std::max<std::size_t>(count, 1));
    }
    std::uint8_t take() {
        --m_left;
        return *m_data++;
    }

    VirtualHidBackend m_mouse;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_left = 0;
};

struct FixedConfig final : DeviceConfigSource {
    QString secrecyCodeText(unsigned int) const override { return QStringLiteral("731905"); }
    QStringList productNames() const override { return {QStringLiteral("Keyboard"), QStringLiteral("Mouse")}; }
};

struct Rig {
    FuzzDataFolder folder;
    FuzzedAnswers backend;
    FixedConfig config;
    CancellingDialogs dialogs;
    Hid_Thread worker{backend, config};
    WorkerDevicePort port{worker};
    ProfileStore profiles;
    DeviceSettings settings{profiles, port, dialogs};
    Rig() {
        settings.setViewVisibility([] { return true; });
    }
    KeyAssignment keys{profiles, port};
};

Rig* rig = nullptr;

void readEverything() {
    DeviceSettings& s = rig->settings;
    s.dpiValues();
    s.stagesInUse();
    s.deviceStageCount();
    s.currentDpiStage();
    s.lightingEffect();
    for (uchar type = 0; type < 3; ++type)
        s.stageColors(type);
    s.logoLedWorks();
    s.reportRate();
    s.sensorType();
    s.firmwareVersion();
    s.deviceProfile();
    s.keyboardOption();
    s.buttonSensitivity();
    s.keyboardLighting();
    s.keyboardMode();
    s.keySwitches();
    s.userPicture(0);
    s.keyColor(0);
    rig->keys.readMouseButtons();
    rig->keys.readKeyboardKeys();
    Block128 macro{};
    rig->worker.hid_93H_GetMacroKey(1, macro);
    Block192 keyboardMacro{};
    rig->worker.hid_91H_GetMacroKey(1, keyboardMacro);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    rig = new Rig;
    DeviceDiscovery(rig->backend, rig->config).run(rig->worker);
    // Events are not under test here; only the command interface answers.
    rig->worker.stopListener();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rig->backend.play(data, size);
    readEverything();
    rig->backend.stop();
    return 0;
}
