// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileStore.h"

#include "SettingsValues.h"
#include "StoreLog.h"

ProfileStore::ProfileStore(QObject* parent) : QObject(parent) {
    for (int position = 0; position < kCount; ++position)
        m_profiles.push_back(SettingsValues::openChecked(fileNameOf(position)));
}

ProfileStore::~ProfileStore() = default;

bool ProfileStore::setCurrentIndex(int position) {
    if (!isValidPosition(position) || position == m_currentIndex)
        return false;
    m_currentIndex = position;
    return true;
}

QString ProfileStore::fileNameOf(int position) {
    return QStringLiteral("./modules/setting/p%1.bin").arg(position + 1);
}

bool ProfileStore::writeCurrent(const QString& key, const QVariant& value) {
    return SettingsValues::writeNow(current(), key, value);
}

bool ProfileStore::flush(int position) {
    if (!isValidPosition(position))
        return false;
    return SettingsValues::flush(at(position));
}

bool ProfileStore::replaceFrom(int position, const QString& source) {
    if (!isValidPosition(position)) {
        qCWarning(lcStore) << "profile position out of range:" << position;
        return false;
    }
    const QString target = fileNameOf(position);
    // Close the old object first: whatever it still held must not reach the
    // new file when it is destroyed.
    flush(position);
    m_profiles[position].reset();
    const bool copied = SettingsValues::copyOver(source, target);
    if (!copied)
        qCInfo(lcStore) << "profile" << position << "kept: cannot copy" << source; // the copy logged why
    m_profiles[position] = SettingsValues::openChecked(target);
    return copied;
}
