#pragma once
// A data folder with the profile table and the worker on the virtual mouse
// through the wire tracer, with the reports sent and the profile as read back.

#include "ProfileStore.h"
#include "device/DeviceTestSupport.h"
#include "store/StoreTestSupport.h"

struct ControllerRig {
    TestDataFolder folder;
    ProfileStore profiles;
    ScriptedDialogs dialogs;
    DeviceRig device;

    Hid_Thread& worker() { return device.worker; }
    // The lines of one wire operation so far, as hex, after all transfers ended.
    QList<QByteArray> wire(const char* op) {
        device.worker.waitForTransfers();
        QList<QByteArray> lines;
        for (const TraceLine& line : withOp(device.commandLines(), QString::fromLatin1(op)))
            lines.append(line.bytes.toHex(' '));
        return lines;
    }
    QList<QByteArray> sent() { return wire("send_feature"); } // command reports
    // The first `count` bytes of the bulk output reports, joined without their report ids.
    QByteArray bulk(int count) {
        QByteArray joined;
        for (const QByteArray& line : wire("write"))
            joined += QByteArray::fromHex(line).mid(1);
        return joined.left(count).toHex(' ');
    }
    QVariant stored(const QString& key) { return TestDataFolder::onDisk(ProfileStore::fileNameOf(0), key); }
    QByteArray profileText() { return TestDataFolder::read(ProfileStore::fileNameOf(0)); }
    void serveKeyboard() { // the virtual device answers in the keyboard's place too
        QList<DeviceRecord> records = virtualMouseRecords();
        records[0].path = records[1].path;
        records[0].reportLength = records[1].reportLength;
        device.worker.setRecords(records);
        device.worker.swichCurDevice(0);
    }
};
