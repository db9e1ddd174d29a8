#pragma once
// A data folder with the profile table, and the worker on the virtual mouse
// through the wire tracer: what the controller operations need.

#include "ProfileStore.h"
#include "device/DeviceTestSupport.h"
#include "store/ScriptedDialogs.h"
#include "store/TestDataFolder.h"

struct ControllerRig {
    TestDataFolder folder;
    ProfileStore profiles;
    ScriptedDialogs dialogs;
    DeviceRig device;

    Hid_Thread& worker() { return device.worker; }

    // Every command report sent so far (send_feature lines), after all transfers ended.
    QList<QByteArray> sentReports() {
        device.worker.waitForTransfers();
        QList<QByteArray> reports;
        for (const TraceLine& line : withOp(device.commandLines(), QStringLiteral("send_feature")))
            reports.append(line.bytes);
        return reports;
    }
    // The bulk output reports sent so far, joined without their report id bytes.
    QByteArray sentBulk() {
        device.worker.waitForTransfers();
        QByteArray joined;
        for (const TraceLine& line : withOp(device.commandLines(), QStringLiteral("write")))
            joined += line.bytes.mid(1);
        return joined;
    }
    QVariant stored(const QString& key) { return TestDataFolder::onDisk(ProfileStore::fileNameOf(0), key); }
    QByteArray profileText() { return TestDataFolder::read(ProfileStore::fileNameOf(0)); }
};

// The 9-byte out report of a command with its checksum.
inline QByteArray outReport(uchar code, std::initializer_list<uchar> data) {
    QByteArray report(9, '\0');
    report[1] = static_cast<char>(code);
    int i = 2;
    for (uchar byte : data)
        report[i++] = static_cast<char>(byte);
    uint sum = 0;
    for (int k = 1; k <= 7; ++k)
        sum += static_cast<uchar>(report[k]);
    report[8] = static_cast<char>(0xFF - (sum & 0xFF));
    return report;
}
