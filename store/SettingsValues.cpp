#include "SettingsValues.h"

#include "StoreLog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool isList(const QVariant& stored) {
    const int type = stored.metaType().id();
    return type == QMetaType::QVariantList || type == QMetaType::QStringList;
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

QVariantList SettingsValues::integers(const QVariant& stored) {
    QVariantList result;
    if (stored.metaType().id() == QMetaType::QVariantList) {
        for (const QVariant& element : stored.toList())
            result.append(integer(element, 0));
        return result;
    }
    for (const QString& text : texts(stored))
        result.append(integer(text, 0));
    return result;
}

QVariantList SettingsValues::unsignedIntegers(const QVariant& stored) {
    QVariantList result;
    for (const QVariant& element : integers(stored))
        result.append(static_cast<unsigned int>(element.toInt()));
    return result;
}

int SettingsValues::integer(const QVariant& stored, int fallback) {
    if (!stored.isValid() || isList(stored))
        return fallback;
    bool ok = false;
    const int value = stored.toInt(&ok);
    if (ok)
        return value;
    // "true"/"false" and numbers written as text with blanks.
    const QString text = stored.toString().trimmed();
    if (text == QLatin1String("true"))
        return 1;
    if (text == QLatin1String("false"))
        return 0;
    const int trimmedValue = text.toInt(&ok);
    return ok ? trimmedValue : fallback;
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

bool SettingsValues::writeNow(QSettings& settings, const QString& key, const QVariant& value) {
    settings.setValue(key, value);
    return flush(settings);
}

bool SettingsValues::flush(QSettings& settings) {
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qCWarning(lcStore) << "could not write" << settings.fileName() << "status" << settings.status();
    return false;
}

bool SettingsValues::copyOver(const QString& source, const QString& target) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        qCWarning(lcStore) << "cannot read" << source << input.errorString();
        return false;
    }
    const QByteArray contents = input.readAll();
    if (input.error() != QFileDevice::NoError) {
        qCWarning(lcStore) << "cannot read" << source << input.errorString();
        return false;
    }
    const QDateTime oldStamp = QFileInfo(target).lastModified();
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly) || output.write(contents) != contents.size() || !output.commit()) {
        qCWarning(lcStore) << "cannot write" << target << output.errorString();
        return false;
    }
    keepCacheHonest(target, oldStamp);
    return true;
}
