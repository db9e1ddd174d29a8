#include "ProfileManager.h"

#include "AppConfig.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "StoreLog.h"
#include "UserDialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

enum class DefaultsPage : uchar { ButtonAssignment = 0, Lighting = 2, Performance = 3 };

constexpr int kButtonCount = 16;
constexpr int kDefaultReportRate = 2;
constexpr int kDefaultCursorSpeed = 5;
constexpr int kDefaultScrollLines = 2;
constexpr int kDefaultDoubleClickSpeed = 5;
constexpr int kDefaultStage = 2;

QString desktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

// The dialog texts belong to the view's translation context, as the QML-facing object shows them.
QString viewText(const char* text) {
    return QCoreApplication::translate("myQQuickView", text);
}

QString profileFilter() {
    return viewText("Profile(*.pf)");
}

void appendElements(QVariantList& list, const QSettings& file, const QString& key) {
    list.append(SettingsValues::integers(file.value(key)));
}

void appendInteger(QVariantList& list, const QSettings& file, const QString& key, int fallback) {
    list.append(SettingsValues::integer(file.value(key), fallback));
}

} // namespace

ProfileManager::ProfileManager(ProfileStore& profiles, AppConfig& config, UserDialogs& dialogs, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_config(config), m_dialogs(dialogs) {}

QString ProfileManager::defaultsFileName() {
    return QStringLiteral("./modules/setting/pD.bin");
}

QString ProfileManager::factoryFileName() {
    return QStringLiteral("./modules/setting/pD_standard.bin");
}

QVariantList ProfileManager::loadDefaultProfile(uchar uiPageId) {
    const QSettings file(defaultsFileName(), QSettings::IniFormat);
    QVariantList values;
    switch (static_cast<DefaultsPage>(uiPageId)) {
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

bool ProfileManager::loadProfile(int profile) {
    if (!checkPosition(profile, "loadProfile"))
        return false;
    const QString chosen = m_dialogs.openFileName(viewText("Open File"), desktopFolder(), profileFilter());
    if (chosen.isEmpty())
        return false;
    // False when the file could not be imported: the profile stays as it was and
    // the pages have nothing new to show.
    return m_profiles.replaceFrom(profile, chosen);
}

void ProfileManager::saveProfile(int profile) {
    if (!checkPosition(profile, "saveProfile"))
        return;
    const QString chosen = m_dialogs.saveFileName(viewText("Save File"), desktopFolder(), profileFilter());
    if (chosen.isEmpty())
        return;
    const QString source = ProfileStore::fileNameOf(profile);
    if (QFileInfo(chosen).canonicalFilePath() == QFileInfo(source).canonicalFilePath() && QFile::exists(source))
        return; // exporting a profile onto its own file: deleting the target first would lose it
    m_profiles.flush(profile);
    if (!QFile::exists(source)) {
        qCWarning(lcStore) << "export: profile" << profile << "has no file yet";
        QFile::remove(chosen);
        return;
    }
    // Replaced in one step, so a failed copy leaves the old target rather than nothing.
    SettingsValues::copyOver(source, chosen);
}

void ProfileManager::resetProfile(int profile) {
    if (!checkPosition(profile, "resetProfile"))
        return;
    m_profiles.replaceFrom(profile, factoryFileName());
}

void ProfileManager::copyProfile(int destprofile, int srcprofile) {
    if (!checkPosition(destprofile, "copyProfile") || !checkPosition(srcprofile, "copyProfile"))
        return;
    if (destprofile == srcprofile)
        return; // already a copy of itself; replacing it would only risk the file
    m_profiles.flush(srcprofile);
    m_profiles.replaceFrom(destprofile, ProfileStore::fileNameOf(srcprofile));
}

void ProfileManager::ui_02H_SetCurrentProfile(int profile) {
    if (!checkPosition(profile, "ui_02H_SetCurrentProfile"))
        return;
    if (m_profiles.setCurrentIndex(profile))
        m_config.storeProfileNumber(profile);
}

bool ProfileManager::checkPosition(int profile, const char* operation) const {
    if (ProfileStore::isValidPosition(profile))
        return true;
    qCWarning(lcStore) << operation << "refused: profile position" << profile << "is outside 0 to 9";
    return false;
}
