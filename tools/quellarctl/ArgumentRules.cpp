// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArgumentRules.h"

std::optional<int> ArgumentRules::number(const QString& text, int low, int high, const QString& what, QString* error) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value >= low && value <= high)
        return value;
    *error =
        QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"").arg(what).arg(low).arg(high).arg(text);
    return std::nullopt;
}

std::optional<QString> ArgumentRules::keyed(const QString& word, const QString& key) {
    const QString prefix = key + QLatin1Char('=');
    if (!word.startsWith(prefix))
        return std::nullopt;
    return word.mid(prefix.size());
}
