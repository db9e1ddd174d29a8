// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredValues.h"

std::optional<int> StoredValues::integer(const QVariant& value) {
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

QVariant StoredValues::numberOrValue(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        if (const auto number = integer(value))
            return *number;
    }
    return value;
}
