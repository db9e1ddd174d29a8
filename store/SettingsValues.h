#pragma once
// Conversions of values read back from INI settings files. Qt 6 hands every
// scalar back as text, a one-element list as plain text and an empty list as
// an invalid value, so values are converted by what they mean, never by the
// variant's own list conversion (which would split a text into characters).

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace SettingsValues {

// A stored text. An unquoted text with commas comes back from the file as a
// list; its parts are joined again.
QString text(const QVariant& stored);
// The elements of a stored list as texts; a single value is a one-element list.
QStringList texts(const QVariant& stored);
// The elements of a stored list of numbers as ints (elements that are not numbers become 0).
QVariantList integers(const QVariant& stored);
// The same as unsigned integers.
QVariantList unsignedIntegers(const QVariant& stored);
// A stored scalar as int, fallback when absent or not a number.
int integer(const QVariant& stored, int fallback);
unsigned int unsignedInteger(const QVariant& stored, unsigned int fallback);
bool boolean(const QVariant& stored, bool fallback);

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
constexpr qint64 kMaxCopiedFileBytes = 1024 * 1024;

// Makes target an exact copy of source through a temporary file and a rename,
// so target is either the old file or the complete copy, never lost half-way.
// Fails (and logs, leaving target untouched) when source cannot be read, is not a
// regular file (a FIFO or a device would block or never end), is larger than
// kMaxCopiedFileBytes, or when any write of the copy fails.
bool copyOver(const QString& source, const QString& target);
} // namespace SettingsValues
