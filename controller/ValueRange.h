// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Range checks of the numbers operations take from QML and scripts. A number
// outside its range is refused with one warning naming the operation, and the
// operation then stores and sends nothing: a stage of 300 must not become 44,
// nor -99999999999 a step of -1215752191.
// GUI thread only (the operations that call it are).

#include <QVariant>
#include <initializer_list>
#include <optional>

namespace ValueRange {

// Whether `value` lies in [low, high]; warns when it does not.
bool check(long long value, long long low, long long high, const char* operation, const char* what);
// Whether `value` is one of `allowed`; warns when it is not.
bool checkOneOf(long long value, std::initializer_list<long long> allowed, const char* operation, const char* what);
// A whole number from a QML value (number or numeric text); warns and gives nullopt otherwise.
std::optional<long long> wholeNumber(const QVariant& value, const char* operation, const char* what);
// A whole number in [low, high] from a QML value (number or numeric text); warns and gives nullopt otherwise.
std::optional<long long> integerIn(const QVariant& value, long long low, long long high, const char* operation,
                                   const char* what);

} // namespace ValueRange
