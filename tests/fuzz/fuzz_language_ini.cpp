// SPDX-License-Identifier: GPL-3.0-or-later
// Language packs: every group of a pack file of any content reads to a bounded
// list of texts, and the layout strings always number sixteen.

#include "FuzzDataFolder.h"
#include "LanguagePacks.h"

#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

namespace {
FuzzDataFolder* folder = nullptr;
constexpr uint kGroupTypes = 9; // every group the pages ask for, plus one unknown type
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = new FuzzDataFolder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = folder->writeFresh(LanguagePacks::folder() + QStringLiteral("lang_f%1.ini"), input);
    const QString code = QFileInfo(path).completeBaseName().mid(5); // after "lang_"

    LanguagePacks packs;
    for (uint type = 0; type < kGroupTypes; ++type) {
        if (packs.groupStrings(type, QStringLiteral("lang_") + code).size() > LanguagePacks::kMaxEntries)
            std::abort();
    }
    if (packs.productLayoutStrings(code).size() != LanguagePacks::kLayoutStringCount)
        std::abort();
    packs.installedLanguages();
    QFile::remove(path);
    return 0;
}
