// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsValues.h"

#include "StoreLog.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isList(const QVariant& stored) {
    const int type = stored.metaType().id();
    return type == QMetaType::QVariantList || type == QMetaType::QStringList;
}

// The one rule for a whole number in a stored or handed-over value: a number, a
// number written as text with blanks, or "true"/"false".
std::optional<int> wholeNumber(const QVariant& stored) {
    if (!stored.isValid() || isList(stored))
        return std::nullopt;
    bool ok = false;
    const int value = stored.toInt(&ok);
    if (ok)
        return value;
    const QString text = stored.toString().trimmed();
    if (text == QLatin1String("true"))
        return 1;
    if (text == QLatin1String("false"))
        return 0;
    const int trimmedValue = text.toInt(&ok);
    if (ok)
        return trimmedValue;
    return std::nullopt;
}

// Qt's settings machinery keeps parsed files and re-reads one only when its size
// or modification time changed. A replacement of the same size written within
// the same millisecond would be taken for the old file, so its time is moved on.
void keepCacheHonest(const QString& target, const QDateTime& oldStamp) {
    if (!oldStamp.isValid() || QFileInfo(target).lastModified() != oldStamp)
        return;
    QFile file(target);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(oldStamp.addMSecs(1), QFileDevice::FileModificationTime);
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Reads a whole source file that is regular and small. It is opened without
// blocking and checked through the opened descriptor, so a FIFO cannot hang the
// read and a device such as /dev/zero cannot feed it without end.
std::optional<QByteArray> readSmallRegularFile(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        qCWarning(lcStore) << "cannot read" << path << systemError();
        return std::nullopt;
    }
    QFile input;
    if (!input.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        qCWarning(lcStore) << "cannot read" << path << input.errorString();
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        qCWarning(lcStore) << "refused to read" << path << ": not a regular file";
        return std::nullopt;
    }
    // One byte more than allowed tells an oversized file (some report no size) from one at the limit.
    const QByteArray contents = input.read(SettingsValues::kMaxCopiedFileBytes + 1);
    if (input.error() != QFileDevice::NoError) {
        qCWarning(lcStore) << "cannot read" << path << input.errorString();
        return std::nullopt;
    }
    if (contents.size() > SettingsValues::kMaxCopiedFileBytes) {
        qCWarning(lcStore) << "refused to read" << path << ": larger than" << SettingsValues::kMaxCopiedFileBytes
                           << "bytes";
        return std::nullopt;
    }
    return contents;
}

// Replaces target by contents in one step, checking every write, the flush and the
// sync before the rename. QSaveFile::commit() alone is not enough: on Qt 6.4 it
// renames even after the flush of its write buffer failed (a full disk), putting a
// truncated file in place of the old one.
bool replaceFile(const QString& target, const QByteArray& contents) {
    QSaveFile output(target);
    const bool written = output.open(QIODevice::WriteOnly) && output.write(contents) == contents.size() &&
                         output.flush() && ::fsync(output.handle()) == 0;
    if (!written) {
        qCWarning(lcStore) << "cannot write" << target << output.errorString();
        output.cancelWriting(); // the destructor removes the temporary file
        return false;
    }
    if (!output.commit()) {
        qCWarning(lcStore) << "cannot write" << target << output.errorString();
        return false;
    }
    return true;
}

// The file a settings object is about to replace, kept under a second name (a hard
// link costs no space, so it works on a full disk) until the replacement is known
// to be complete. Where the file system has no hard links the contents are kept in memory.
class PreviousFile {
public:
    explicit PreviousFile(const QString& path) : m_path(path), m_link(path + QStringLiteral(".previous")) {
        m_existed = QFileInfo::exists(path);
        if (!m_existed)
            return;
        QFile::remove(m_link); // left over from an interrupted run
        m_linked = ::link(QFile::encodeName(path).constData(), QFile::encodeName(m_link).constData()) == 0;
        if (!m_linked) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                m_contents = file.readAll();
        }
    }
    ~PreviousFile() {
        if (m_linked)
            QFile::remove(m_link);
    }
    PreviousFile(const PreviousFile&) = delete;
    PreviousFile& operator=(const PreviousFile&) = delete;

    // Puts the previous file back (or removes the new one when there was none).
    bool restore() {
        if (!m_existed)
            return QFile::remove(m_path) || !QFileInfo::exists(m_path);
        if (m_linked)
            return ::rename(QFile::encodeName(m_link).constData(), QFile::encodeName(m_path).constData()) == 0;
        return m_contents && replaceFile(m_path, *m_contents);
    }

private:
    QString m_path;
    QString m_link;
    bool m_existed = false;
    bool m_linked = false;
    std::optional<QByteArray> m_contents;
};

// Whether the file on disk holds every key of `settings` with the same value. Qt
// shares one parsed copy per path within the process, so the file is parsed again
// under a name of its own (a symbolic link that is never reused). A file that was
// malformed when it was read (a hand edit, an import) parses with the same error
// again; only a file that read cleanly must still read cleanly.
bool holdsOnDisk(const QSettings& settings, bool readCleanly) {
    static std::atomic<unsigned int> s_checks{0};
    const QTemporaryDir folder;
    const QString alias = folder.filePath(QStringLiteral("written-%1.ini").arg(s_checks++));
    if (!folder.isValid() || !QFile::link(QFileInfo(settings.fileName()).absoluteFilePath(), alias)) {
        qCInfo(lcStore) << "cannot check what was written to" << settings.fileName(); // the caller warns
        return false;
    }
    QSettings onDisk(alias, settings.format());
    onDisk.beginGroup(settings.group());
    const QStringList keys = settings.allKeys();
    if ((readCleanly && onDisk.status() != QSettings::NoError) || onDisk.allKeys() != keys)
        return false;
    // Values read back are texts; values set in this run keep their types: compare them as texts.
    return std::all_of(keys.begin(), keys.end(), [&](const QString& key) {
        return SettingsValues::texts(settings.value(key)) == SettingsValues::texts(onDisk.value(key));
    });
}

// Drops the deferred write request QSettings posts to itself after each change.
class DeferredWriteFilter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::UpdateRequest; }
};

} // namespace

QString SettingsValues::text(const QVariant& stored) {
    if (isList(stored))
        return stored.toStringList().join(QStringLiteral(", "));
    return stored.toString();
}

QStringList SettingsValues::texts(const QVariant& stored) {
    if (!stored.isValid() || stored.isNull())
        return {};
    if (isList(stored))
        return stored.toStringList();
    return {stored.toString()};
}

QVariantList SettingsValues::integers(const QVariant& stored, BadElement bad) {
    // A list set in this run keeps its elements' types; one read back from a file holds texts.
    QVariantList elements;
    if (stored.metaType().id() == QMetaType::QVariantList)
        elements = stored.toList();
    else
        for (const QString& text : texts(stored))
            elements.append(text);
    QVariantList result;
    for (const QVariant& element : std::as_const(elements)) {
        const std::optional<int> number = wholeNumber(element);
        if (!number && bad == BadElement::RefusesList)
            return {};
        result.append(number.value_or(0));
    }
    return result;
}

QVariantList SettingsValues::unsignedIntegers(const QVariant& stored) {
    QVariantList result;
    for (const QVariant& element : integers(stored))
        result.append(static_cast<unsigned int>(element.toInt()));
    return result;
}

int SettingsValues::integer(const QVariant& stored, int fallback) {
    return wholeNumber(stored).value_or(fallback);
}

unsigned int SettingsValues::unsignedInteger(const QVariant& stored, unsigned int fallback) {
    if (!stored.isValid() || isList(stored))
        return fallback;
    bool ok = false;
    const unsigned int value = stored.toString().trimmed().toUInt(&ok);
    if (ok)
        return value;
    const int signedValue = integer(stored, -1);
    return signedValue >= 0 ? static_cast<unsigned int>(signedValue) : fallback;
}

bool SettingsValues::boolean(const QVariant& stored, bool fallback) {
    if (!stored.isValid() || isList(stored))
        return fallback;
    if (stored.metaType().id() == QMetaType::Bool)
        return stored.toBool();
    const QString text = stored.toString().trimmed().toLower();
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value != 0 : fallback;
}

uchar SettingsValues::byteOf(const QVariant& value) {
    return static_cast<uchar>(integer(value, 0) & 0xFF);
}

bool SettingsValues::writeNow(QSettings& settings, const QString& key, const QVariant& value) {
    settings.setValue(key, value);
    return flush(settings);
}

bool SettingsValues::flush(QSettings& settings) {
    const QString path = settings.fileName();
    // status() keeps the first error of the object for good, so only a clean status
    // says something about this write.
    const bool statusClean = settings.status() == QSettings::NoError;
    PreviousFile previous(path);
    settings.sync();
    if (statusClean && settings.status() != QSettings::NoError) {
        qCWarning(lcStore) << "could not write" << path << "status" << settings.status();
        return false; // Qt noticed and kept the old file
    }
    // On a full disk Qt 6.4 may rename an empty or truncated file over the old one
    // and still report no error.
    if (holdsOnDisk(settings, statusClean))
        return true;
    const QDateTime writtenStamp = QFileInfo(path).lastModified();
    const bool restored = previous.restore();
    qCWarning(lcStore) << "could not write" << path << (restored ? ": previous file kept" : ": previous file lost");
    if (statusClean && restored) {
        // Qt takes the write for done, so nothing is pending and this sync only reads
        // the restored file back: memory again matches the disk.
        keepCacheHonest(path, writtenStamp);
        settings.sync();
    }
    return false;
}

std::unique_ptr<QSettings> SettingsValues::openChecked(const QString& fileName) {
    static DeferredWriteFilter s_filter; // GUI thread, as every settings object of the program
    auto settings = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    settings->installEventFilter(&s_filter);
    return settings;
}

bool SettingsValues::copyOver(const QString& source, const QString& target) {
    const std::optional<QByteArray> contents = readSmallRegularFile(source);
    if (!contents)
        return false;
    const QDateTime oldStamp = QFileInfo(target).lastModified();
    if (!replaceFile(target, *contents))
        return false;
    keepCacheHonest(target, oldStamp);
    return true;
}
