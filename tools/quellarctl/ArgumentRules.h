// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// Reads the numbers and lists of verb arguments against their ranges; a value outside gets a
// clear message naming the allowed range.
class ArgumentRules {
public:
    // A whole number from `low` to `high`; nullopt with *error otherwise.
    static std::optional<int> number(const QString& text, int low, int high, const QString& what, QString* error);
    // "key=value": the value when the word has this key.
    static std::optional<QString> keyed(const QString& word, const QString& key);
};
