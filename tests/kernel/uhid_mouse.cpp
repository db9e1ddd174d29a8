// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual mouse behind /dev/uhid, for programs that reach it through the kernel's HID
// core and hidraw (the kernel tier's guest). Commands, one a line on standard input:
// press-dpi N, unplug, plug; the end of the input ends the program. With --stranger it also
// creates an unrelated vendor device. Prints "ready" once the interfaces exist.
#include "DeviceCatalog.h"
#include "UhidMouse.h"

#include <QCoreApplication>
#include <QTextStream>
#include <unistd.h>

namespace {

void runCommands(UhidMouse& device, QTextStream& in, QTextStream& err) {
    QString line;
    while (in.readLineInto(&line)) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString command = words.value(0);
        bool isNumber = false;
        const int stage = words.value(1).toInt(&isNumber);
        if (command == QLatin1String("press-dpi") && isNumber)
            device.pressDpi(stage);
        else if (command == QLatin1String("unplug"))
            device.unplug();
        else if (command == QLatin1String("plug"))
            device.plug();
        else if (!command.isEmpty())
            err << "uhid_mouse: unknown command " << line << Qt::endl;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    VirtualMouse mouse;
    UhidMouse device(mouse, DeviceCatalog().scramblingEnabled());
    QString error;
    int stranger = -1;
    if (!device.start(&error) ||
        (app.arguments().contains(QStringLiteral("--stranger")) && !UhidMouse::createStranger(&stranger, &error))) {
        err << "uhid_mouse: " << error << Qt::endl;
        return 1;
    }
    out << "ready" << Qt::endl;
    runCommands(device, in, err);
    if (stranger >= 0)
        ::close(stranger);
    return 0;
}
