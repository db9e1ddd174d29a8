// SPDX-License-Identifier: GPL-3.0-or-later
#include "ValueRange.h"

#include "ControllerLog.h"

#include <algorithm>
#include <cmath>

namespace {

// A whole number, exactly as given: no rounding of 2.5, no wrapping of texts beyond 64 bits.
std::optional<long long> wholeNumber(const QVariant& value) {
    bool ok = false;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double number = value.toDouble();
        if (std::trunc(number) != number || std::abs(number) > 9.0e18)
            return std::nullopt;
        return static_cast<long long>(number);
    }
    const long long number = value.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

} // namespace

bool ValueRange::check(long long value, long long low, long long high, const char* operation, const char* what) {
    if (value >= low && value <= high)
        return true;
    qCWarning(lcController, "%s refused: %s %lld outside %lld to %lld", operation, what, value, low, high);
    return false;
}

bool ValueRange::checkOneOf(long long value, std::initializer_list<long long> allowed, const char* operation,
                            const char* what) {
    if (std::find(allowed.begin(), allowed.end(), value) != allowed.end())
        return true;
    qCWarning(lcController, "%s refused: %s %lld is not one the device takes", operation, what, value);
    return false;
}

std::optional<long long> ValueRange::wholeNumber(const QVariant& value, const char* operation, const char* what) {
    const std::optional<long long> number = ::wholeNumber(value);
    if (!number)
        qCWarning(lcController, "%s refused: %s %s is not a whole number", operation, what,
                  qPrintable(value.toString()));
    return number;
}

std::optional<long long> ValueRange::integerIn(const QVariant& value, long long low, long long high,
                                               const char* operation, const char* what) {
    const std::optional<long long> number = wholeNumber(value, operation, what);
    if (!number)
        return std::nullopt;
    if (!check(*number, low, high, operation, what))
        return std::nullopt;
    return number;
}
