// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppConfig.h"

#include "SettingsValues.h"
#include "StoreLog.h"

#include <QDir>

namespace {

const QString kLanguageKey = QStringLiteral("common/language");
const QString kChineseSimplified = QStringLiteral("ChineseSimplified");
const QString kProfileNoKey = QStringLiteral("Q3/profileNo");
const QString kColorMaxStageKey = QStringLiteral("Q3/colorMaxStage");
const QString kTotalKey = QStringLiteral("common/total");
const QString kProductNameKey = QStringLiteral("common/product_name");
const QString kDefaultSecrecyCode = QStringLiteral("731905");
const QString kSkinFolder = QStringLiteral("./modules/img");
constexpr int kSkinFoldersNeeded = 2;

QString listKey(int index) {
    return QStringLiteral("common/%1").arg(index);
}

std::unique_ptr<QSettings> openLive() {
    return SettingsValues::openChecked(AppConfig::fileName());
}

} // namespace

AppConfig::AppConfig(QObject* parent) : QObject(parent), m_settings(openLive()) {}

AppConfig::~AppConfig() = default;

QString AppConfig::fileName() {
    return QStringLiteral("./modules/setting/apConfig.bin");
}

QString AppConfig::factoryFileName() {
    return QStringLiteral("./modules/setting/apConfigD.bin");
}

QString AppConfig::windowTitle() {
    // A short-lived object: the title is read once, apart from the live configuration.
    QSettings file(fileName(), QSettings::IniFormat);
    const bool chinese = file.value(kLanguageKey, QString()).toString() == kChineseSimplified;
    return SettingsValues::text(file.value(chinese ? QStringLiteral("common/name") : QStringLiteral("common/name0")));
}

void AppConfig::saveApConfig(QVariantList apConfigs) {
    m_settings->setValue(kTotalKey, static_cast<int>(apConfigs.size()));
    for (int i = 0; i < apConfigs.size(); ++i)
        m_settings->setValue(listKey(i), apConfigs.at(i));
    SettingsValues::flush(*m_settings);
}

QVariant AppConfig::getLang() {
    return m_settings->value(kLanguageKey);
}

QVariantList AppConfig::loadApConfig() {
    QVariantList list;
    int total = SettingsValues::integer(m_settings->value(kTotalKey), 0);
    if (total > kMaxApConfigEntries) {
        qCWarning(lcStore) << "configuration list claims" << total << "entries; reading" << kMaxApConfigEntries;
        total = kMaxApConfigEntries;
    }
    for (int i = 0; i < total; ++i)
        list.append(m_settings->value(listKey(i), 0));
    return list;
}

QVariantList AppConfig::loadDeviceApConfig() {
    return {SettingsValues::integer(m_settings->value(kColorMaxStageKey), kDefaultColorMaxStage)};
}

int AppConfig::profileNumber() {
    return SettingsValues::integer(m_settings->value(kProfileNoKey), 0);
}

void AppConfig::setProfileNumber(uint profile) {
    SettingsValues::writeNow(*m_settings, kProfileNoKey, profile);
}

void AppConfig::storeProfileNumber(int profile) {
    SettingsValues::writeNow(*m_settings, kProfileNoKey, profile);
}

void AppConfig::resetApconfig() {
    // Pending writes are on disk already; close the file before it is replaced so
    // nothing the old object holds can reach the factory copy afterwards.
    SettingsValues::flush(*m_settings);
    m_settings.reset();
    if (!SettingsValues::copyOver(factoryFileName(), fileName()))
        qCInfo(lcStore) << "configuration kept: the factory file could not be copied"; // the copy logged why
    m_settings = openLive();
}

bool AppConfig::getIsSkinShow() {
    const QDir folder(kSkinFolder);
    if (!folder.exists())
        return false;
    const QStringList skins = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    return skins.size() >= kSkinFoldersNeeded;
}

QString AppConfig::secrecyCodeText(unsigned int deviceId) const {
    const QVariant stored = m_settings->value(QStringLiteral("common/sCode%1").arg(deviceId));
    if (!stored.isValid())
        return kDefaultSecrecyCode;
    // A number such as 012345 must keep its leading zero: read it as written.
    return SettingsValues::texts(stored).join(QLatin1Char(','));
}

QStringList AppConfig::productNames() const {
    return SettingsValues::texts(m_settings->value(kProductNameKey));
}
