// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceVerbs.h"

#include "DeviceCatalog.h"
#include "HidBackend.h"
#include "VerbSession.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <unistd.h>

namespace {
constexpr int kMillisecondHz = 1000;

QString hex4(std::uint16_t value) {
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

// A device node this user cannot open for reading and writing needs the udev rule (and a replug).
bool accessible(const QString& path) {
    return !path.startsWith(QLatin1String("/dev/")) || ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0;
}
} // namespace

int DeviceVerbs::list(HidBackend& backend, bool json) {
    QJsonArray devices;
    bool anyRefused = false;
    const DeviceCatalog catalog;
    for (const DeviceEntry& entry : catalog.entries()) {
        QJsonArray paths;
        bool refused = false;
        for (const HidInterfaceInfo& found : backend.enumerate(entry.vid, entry.pid)) {
            paths.append(found.path);
            refused |= !accessible(found.path);
        }
        if (paths.isEmpty())
            continue;
        anyRefused |= refused;
        const QString name = entry.type == 1 ? QStringLiteral("mouse") : QStringLiteral("keyboard");
        devices.append(QJsonObject{{QStringLiteral("kind"), name},
                                   {QStringLiteral("id"), hex4(entry.vid) + QLatin1Char(':') + hex4(entry.pid)},
                                   {QStringLiteral("paths"), paths},
                                   {QStringLiteral("accessible"), !refused}});
        if (!json) {
            QStringList texts;
            for (const auto& path : paths)
                texts.append(path.toString());
            std::fprintf(stdout, "%s %s:%s %s\n", qPrintable(name), qPrintable(hex4(entry.vid)),
                         qPrintable(hex4(entry.pid)), qPrintable(texts.join(QLatin1Char(' '))));
            if (refused)
                std::fprintf(stdout, "  present but not accessible: install the udev rule, then replug the mouse "
                                     "(or run udevadm trigger)\n");
        }
    }
    if (json)
        std::fprintf(stdout, "%s\n",
                     QJsonDocument(QJsonObject{{QStringLiteral("devices"), devices}})
                         .toJson(QJsonDocument::Compact)
                         .constData());
    else if (devices.isEmpty())
        std::fprintf(stdout, "no mouse found: check the cable\n");
    if (devices.isEmpty())
        return VerbSession::kExitNoDevice;
    return anyRefused ? VerbSession::kExitRefused : VerbSession::kExitDone;
}

int DeviceVerbs::info(VerbSession& session, const QStringList& arguments) {
    if (!arguments.isEmpty())
        return VerbSession::usage(QStringLiteral("info takes no arguments"));
    const QString firmware = session.call(QStringLiteral("ui_80H_GetFWVersion")).toString();
    const int profile = session.call(QStringLiteral("getProfile")).toVariant().toInt();
    const int stages = session.call(QStringLiteral("ui_91H_SyncDPI")).toInt();
    const int stage = session.call(QStringLiteral("getDeviceDpiStage")).toInt();
    const int rate = session.call(QStringLiteral("ui_81H_GetReportRate")).toInt();
    const int sensor = session.call(QStringLiteral("getSensorType")).toInt();
    const bool rateKnown = rate > 0 && kMillisecondHz % rate == 0;
    session.put(QStringLiteral("firmware"), firmware, firmware.isEmpty() ? QStringLiteral("unknown") : firmware);
    session.put(QStringLiteral("profile"), profile + 1, QString::number(profile + 1),
                QStringLiteral("current profile"));
    session.put(QStringLiteral("stages"), stages, QString::number(stages), QStringLiteral("DPI stages"));
    session.put(QStringLiteral("stage"), stage > 0 ? QJsonValue(stage) : QJsonValue(),
                stage > 0 ? QString::number(stage) : QStringLiteral("unknown (the mouse did not answer)"),
                QStringLiteral("current stage"));
    session.put(QStringLiteral("rateHz"), rateKnown ? QJsonValue(kMillisecondHz / rate) : QJsonValue(),
                rateKnown ? QStringLiteral("%1 Hz").arg(kMillisecondHz / rate) : QStringLiteral("not set"),
                QStringLiteral("report rate"));
    session.put(QStringLiteral("sensor"), sensor, QString::number(sensor), QStringLiteral("sensor type"));
    return session.finish();
}
