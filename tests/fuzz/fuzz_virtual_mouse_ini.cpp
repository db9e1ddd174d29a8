// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual mouse's memory file. Whatever the file holds, reading it gives a
// state, and that state survives its own INI form unchanged.

#include "FuzzDataFolder.h"
#include "VirtualMouseState.h"

#include <cstdint>
#include <cstdlib>

namespace {
FuzzDataFolder* folder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = new FuzzDataFolder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = folder->writeFresh(QStringLiteral("in-%1.ini"), input);
    const VirtualMouseState state = VirtualMouseState::fromIniFile(path);
    QFile::remove(path);

    const QString again = folder->writeFresh(QStringLiteral("again-%1.ini"), state.toIni().toUtf8());
    const bool sameState = VirtualMouseState::fromIniFile(again) == state;
    QFile::remove(again);
    if (!sameState)
        std::abort();
    return 0;
}
