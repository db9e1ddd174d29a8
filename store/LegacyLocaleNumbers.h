// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pack file names carry the language and country numbers of an older Qt
// numbering (025 Chinese, 044 China, 208 Taiwan), which Qt 6 renumbered. These
// tables translate the old numbers through ISO codes into Qt 6's names.

#include <QString>

namespace LegacyLocaleNumbers {

// English name of the language with the old number; the number as text when unknown.
QString languageName(int legacyNumber);
// English name of the country with the old number; the number as text when unknown.
QString countryName(int legacyNumber);

} // namespace LegacyLocaleNumbers
