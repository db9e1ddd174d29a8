// SPDX-License-Identifier: GPL-3.0-or-later
// Macro and gun entry files and the name lists: files of any content read back
// as event lines, configuration and names, and the tag encoder takes whatever
// the reader hands it, as the upload does.

#include "FuzzDataFolder.h"
#include "FuzzDoubles.h"
#include "KeyNameTable.h"
#include "LibraryFiles.h"
#include "MacroEncoder.h"
#include "MacroLibrary.h"
#include "ProfileStore.h"

#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

namespace {

FuzzLibraryRig* rig = nullptr;

void readEntry(LibraryKind kind, const QString& name) {
    MacroLibrary& library = rig->library;
    const QStringList lines = kind == LibraryKind::Macro ? library.loadEntry(LibraryKind::Macro, name)
                                                         : library.loadEntry(LibraryKind::Gun, name);
    MacroEncoder::encodeTags(lines, 1);
    MacroEncoder::encodePage(lines, 1,
                             kind == LibraryKind::Gun ? MacroEncoder::Variant::Gun : MacroEncoder::Variant::Macro);
    if (kind == LibraryKind::Macro) {
        library.macroSlotConfig(name);
        library.entryType(LibraryKind::Macro, name);
        library.entryIndex(LibraryKind::Macro, name);
    } else {
        library.entryType(LibraryKind::Gun, name);
        library.entryIndex(LibraryKind::Gun, name);
    }
    MacroLibrary::loopCountOf(kind, name, 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rig = new FuzzLibraryRig;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    for (LibraryKind kind : {LibraryKind::Macro, LibraryKind::Gun}) {
        const QString path = rig->folder.writeFresh(LibraryFiles::folder(kind) + QStringLiteral("f%1.bin"), input);
        readEntry(kind, QFileInfo(path).completeBaseName());
        QFile::remove(path);
    }
    rig->folder.writeStamped(LibraryFiles::nameListPath(), input);
    for (int type = 0; type < 3; ++type)
        rig->library.nameList(type);
    return 0;
}
