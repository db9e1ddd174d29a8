// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileManager.h"

#include "AppConfig.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoreLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

enum class DefaultsPage : uchar { ButtonAssignment = 0, Lighting = 2, Performance = 3 };

constexpr int kButtonCount = 16;
constexpr int kDefaultReportRate = 2;
constexpr int kDefaultCursorSpeed = 5;
constexpr int kDefaultScrollLines = 2;
constexpr int kDefaultDoubleClickSpeed = 5;
constexpr int kDefaultStage = 2;

void appendElements(QVariantList& list, const QSettings& file, const QString& key) {
    list.append(SettingsValues::integers(file.value(key)));
}

void appendInteger(QVariantList& list, const QSettings& file, const QString& key, int fallback) {
    list.append(SettingsValues::integer(file.value(key), fallback));
}

} // namespace

ProfileManager::ProfileManager(ProfileStore& profiles, AppConfig& config, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_config(config) {}

QString ProfileManager::defaultsFileName() {
    return QStringLiteral("./modules/setting/pD.bin");
}

QString ProfileManager::factoryFileName() {
    return QStringLiteral("./modules/setting/pD_standard.bin");
}

QVariantList ProfileManager::pageDefaults(uchar page) {
    const QSettings file(defaultsFileName(), QSettings::IniFormat);
    QVariantList values;
    switch (static_cast<DefaultsPage>(page)) {
    case DefaultsPage::ButtonAssignment:
        for (int button = 0; button < kButtonCount; ++button)
            appendElements(values, file, ProfileKeys::mouseButton(button));
        break;
    case DefaultsPage::Lighting:
        appendElements(values, file, ProfileKeys::stageColors(0));
        appendElements(values, file, ProfileKeys::kLedEffect);
        break;
    case DefaultsPage::Performance:
        appendInteger(values, file, ProfileKeys::kReportRate, kDefaultReportRate);
        appendInteger(values, file, ProfileKeys::kCursorSpeed, kDefaultCursorSpeed);
        appendInteger(values, file, ProfileKeys::kVerticalScrollLines, kDefaultScrollLines);
        appendInteger(values, file, ProfileKeys::kDoubleClickSpeed, kDefaultDoubleClickSpeed);
        appendElements(values, file, ProfileKeys::kDpiValues);
        appendInteger(values, file, ProfileKeys::kDpiStage, kDefaultStage);
        appendElements(values, file, ProfileKeys::stageColors(1));
        appendElements(values, file, ProfileKeys::stageColors(2));
        break;
    }
    return values;
}

bool ProfileManager::importProfile(int profile, const QString& path) {
    if (!acceptsPosition(profile, "loadProfile"))
        return false;
    // False when the file could not be imported: the profile stays as it was and
    // the pages have nothing new to show.
    return m_profiles.replaceFrom(profile, path);
}

void ProfileManager::exportProfile(int profile, const QString& path) {
    if (!acceptsPosition(profile, "saveProfile"))
        return;
    const QString source = ProfileStore::fileNameOf(profile);
    if (QFileInfo(path).canonicalFilePath() == QFileInfo(source).canonicalFilePath() && QFile::exists(source))
        return; // exporting a profile onto its own file: deleting the target first would lose it
    m_profiles.flush(profile);
    if (!QFile::exists(source)) {
        qCWarning(lcStore) << "export: profile" << profile << "has no file yet";
        QFile::remove(path);
        return;
    }
    // Replaced in one step, so a failed copy leaves the old target rather than nothing.
    SettingsValues::copyOver(source, path);
}

void ProfileManager::resetToFactory(int profile) {
    if (!acceptsPosition(profile, "resetProfile"))
        return;
    m_profiles.replaceFrom(profile, factoryFileName());
}

void ProfileManager::copyProfile(int destination, int source) {
    if (!acceptsPosition(destination, "copyProfile") || !acceptsPosition(source, "copyProfile"))
        return;
    if (destination == source)
        return; // already a copy of itself; replacing it would only risk the file
    m_profiles.flush(source);
    m_profiles.replaceFrom(destination, ProfileStore::fileNameOf(source));
}

void ProfileManager::switchTo(int profile) {
    if (!acceptsPosition(profile, "ui_02H_SetCurrentProfile"))
        return;
    if (m_profiles.setCurrentIndex(profile))
        m_config.storeProfileNumber(profile);
}

bool ProfileManager::acceptsPosition(int profile, const char* operation) const {
    if (ProfileStore::isValidPosition(profile))
        return true;
    qCWarning(lcStore) << operation << "refused: profile position" << profile << "is outside 0 to 9";
    return false;
}
