// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions of values read back from INI settings files by what they mean.
// Qt's INI reader returns every scalar as text and a one-element list as a
// plain string, so a list is never taken apart with QVariant::toList().

#include <QList>
#include <QStringList>
#include <QVariant>
#include <optional>

class StoredValues {
public:
    // Lists of numbers: SettingsValues::integers.
    static std::optional<int> integer(const QVariant& value);
    // An integer when the value is one (Qt reads "3" back as text), otherwise the value itself.
    static QVariant numberOrValue(const QVariant& value);
};
