// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversions of values read back from INI settings files and of the values
// the pages hand over. Qt 6 hands every scalar back as text, a one-element list
// as plain text and an empty list as an invalid value, so values are converted
// by what they mean, never by the variant's own list conversion (which would
// split a text into characters).

#include <QLoggingCategory>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <array>
#include <iterator>
#include <memory>

namespace SettingsValues {

// A stored text. An unquoted text with commas comes back from the file as a
// list; its parts are joined again.
QString text(const QVariant& stored);
// The elements of a stored list as texts; a single value is a one-element list.
QStringList texts(const QVariant& stored);
// What a list of numbers makes of an element that is not a whole number.
enum class BadElement {
    BecomesZero, // the element reads as 0: a list the pages show or send keeps its length
    RefusesList, // the whole list reads as empty: a caller that rewrites it leaves it as it is
};
// The elements of a stored list of numbers as ints. Elements follow integer() below.
QVariantList integers(const QVariant& stored, BadElement bad = BadElement::BecomesZero);
// The same as unsigned integers.
QVariantList unsignedIntegers(const QVariant& stored);
// A stored scalar as int, fallback when absent or not a number.
int integer(const QVariant& stored, int fallback);
unsigned int unsignedInteger(const QVariant& stored, unsigned int fallback);
bool boolean(const QVariant& stored, bool fallback);
// The device byte of a value: its integer value truncated to 8 bits (not a number: 0).
uchar byteOf(const QVariant& value);
inline uchar byteOf(int value) {
    return static_cast<uchar>(value & 0xFF);
}
// The first N values (QVariants or ints) as device bytes, zeros past the end of the list.
template <std::size_t N, typename List> std::array<uchar, N> byteBlock(const List& values) {
    std::array<uchar, N> block{};
    for (std::size_t i = 0; i < N && i < static_cast<std::size_t>(values.size()); ++i)
        block[i] = byteOf(values.at(static_cast<qsizetype>(i)));
    return block;
}
// Numbers (device bytes, profile entries) as the list the pages receive.
template <typename Numbers> QVariantList toVariantList(const Numbers& numbers) {
    QVariantList list;
    list.reserve(static_cast<qsizetype>(std::size(numbers)));
    for (const auto number : numbers)
        list.append(static_cast<int>(number));
    return list;
}
// Whether `list` has fewer than `needed` values; if so, warns in `category` that `operation` refused it.
template <typename List>
bool refuseShort(const List& list, qsizetype needed, const char* operation, QMessageLogger::CategoryFunction category) {
    if (list.size() >= needed)
        return false;
    qCWarning(category) << operation << "refused: needs" << needed << "values, got" << list.size();
    return true;
}

// Writes the value and flushes the file at once, so a crash right after a
// change loses nothing. Returns false (and logs) when the file could not be written.
bool writeNow(QSettings& settings, const QString& key, const QVariant& value);
// Writes pending changes and checks that the file on disk holds them all; when it
// does not (a full disk), the previous file is put back and false returned (and logged).
// Call it outside any group: the check covers the group the object is in.
bool flush(QSettings& settings);
// Opens a settings file that reaches the disk only through flush(). Qt otherwise writes
// again on its own at the next event loop turn after a change, unchecked, which after
// a failed write could put a truncated file in place of the old one.
std::unique_ptr<QSettings> openChecked(const QString& fileName);

} // namespace SettingsValues

namespace SettingsValues {
// Profiles, macro and configuration files are a few KiB; a larger source is not one of them.
constexpr qint64 kMaxCopiedFileBytes = 1024LL * 1024;

// Makes target an exact copy of source through a temporary file and a rename,
// so target is either the old file or the complete copy, never lost half-way.
// Fails (and logs, leaving target untouched) when source cannot be read, is not a
// regular file (a FIFO or a device would block or never end), is larger than
// kMaxCopiedFileBytes, or when any write of the copy fails.
bool copyOver(const QString& source, const QString& target);
} // namespace SettingsValues
