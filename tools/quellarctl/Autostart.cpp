// SPDX-License-Identifier: GPL-3.0-or-later
#include "Autostart.h"

#include "VerbSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <cstdio>

namespace {
const char* const kEntry = "[Desktop Entry]\n"
                           "Type=Application\n"
                           "Name=Quellar\n"
                           "Name[zh_CN]=Quellar 鼠标设置\n"
                           "Comment=Mouse settings in the tray\n"
                           "Exec=quellar --hidden\n"
                           "Icon=quellar\n"
                           "Terminal=false\n"
                           "X-GNOME-Autostart-enabled=true\n";
}

QString Autostart::entryPath() {
    // QStandardPaths honours XDG_CONFIG_HOME and falls back to ~/.config.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("autostart/quellar.desktop"));
}

int Autostart::run(const QStringList& arguments) {
    const QString word = arguments.value(0);
    const QString path = entryPath();
    if (arguments.size() != 1 ||
        (word != QLatin1String("on") && word != QLatin1String("off") && word != QLatin1String("status")))
        return VerbSession::usage(QStringLiteral("autostart: give on, off or status"));
    if (word == QLatin1String("status")) {
        std::fprintf(stdout, "autostart: %s\n", QFile::exists(path) ? "on" : "off");
        return VerbSession::kExitDone;
    }
    if (word == QLatin1String("off")) {
        if (QFile::exists(path) && !QFile::remove(path)) {
            VerbSession::printError(QStringLiteral("cannot remove %1").arg(path));
            return VerbSession::kExitRefused;
        }
        std::fprintf(stdout, "autostart off: %s removed\n", qPrintable(path));
        return VerbSession::kExitDone;
    }
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) || file.write(kEntry) < 0 ||
        !file.commit()) {
        VerbSession::printError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return VerbSession::kExitRefused;
    }
    std::fprintf(stdout, "autostart on: %s starts quellar --hidden at login\n", qPrintable(path));
    return VerbSession::kExitDone;
}
