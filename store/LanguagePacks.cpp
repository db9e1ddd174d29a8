// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguagePacks.h"

#include "LegacyLocaleNumbers.h"
#include "LinkState.h"
#include "SettingsValues.h"
#include "StoreLog.h"

#include <QDir>
#include <QLocale>
#include <QSettings>

namespace {

enum class GroupType : unsigned int { Main, KeyMatrix, KeyMenu, MacroEditor, GunControl, MacroKey, Other };

constexpr int kCodeStart = 5; // after "lang_"
constexpr int kCodeLength = 6;
constexpr int kNumberLength = 3;
constexpr int kCountryChina = 44;
constexpr int kCountryTaiwan = 208;

QString groupName(unsigned int type) {
    switch (static_cast<GroupType>(type)) {
    case GroupType::Main:
        return QStringLiteral("main");
    case GroupType::KeyMatrix:
        return QStringLiteral("keyMatrix");
    case GroupType::KeyMenu:
        return QStringLiteral("keyMenu");
    case GroupType::MacroEditor:
        return QStringLiteral("macroEditor");
    case GroupType::GunControl:
        return QStringLiteral("gunControl");
    case GroupType::MacroKey:
        return QStringLiteral("macroKey");
    case GroupType::Other:
        return QStringLiteral("other");
    }
    return {};
}

QString keyIn(const QString& group, const QString& key) {
    return group.isEmpty() ? key : group + QLatin1Char('/') + key;
}

QString countrySuffix(int country) {
    if (country == 0)
        return {};
    if (country == kCountryChina)
        return QStringLiteral(" (Simp)");
    if (country == kCountryTaiwan)
        return QStringLiteral(" (Trad)");
    return QStringLiteral(" (") + LegacyLocaleNumbers::countryName(country).toUpper() + QLatin1Char(')');
}

// A pack name is a plain file name inside the pack folder; anything with a path
// in it would read files elsewhere.
bool isPlainName(const QString& name) {
    const bool plain =
        !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && name != QLatin1String("..");
    if (!plain)
        qCWarning(lcStore) << "language pack name refused:" << name;
    return plain;
}

void installDpiPrefixes(const QStringList& strings) {
    // A short group leaves the prefixes it does not carry as they were.
    const qsizetype count = std::min<qsizetype>(strings.size(), LinkState::kStageCount);
    for (qsizetype i = 0; i < count; ++i)
        LinkState::setDpiMessagePrefix(static_cast<int>(i), strings.at(i));
}

} // namespace

LanguagePacks::LanguagePacks(QObject* parent) : QObject(parent) {}

QString LanguagePacks::folder() {
    return QStringLiteral("./modules/i18n/");
}

QString LanguagePacks::displayName(const QString& code) {
    const int language = code.left(kNumberLength).toInt();
    const int country = code.mid(kNumberLength, kNumberLength).toInt();
    return LegacyLocaleNumbers::languageName(language).toUpper() + countrySuffix(country);
}

QMap<QString, QString> LanguagePacks::installedLanguages() {
    QMap<QString, QString> languages;
    const QDir packs(folder());
    const QStringList names = packs.entryList({QStringLiteral("lang_*.ini")}, QDir::AllEntries | QDir::NoDotAndDotDot,
                                              QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString code = name.mid(kCodeStart, kCodeLength);
        languages.insert(displayName(code), code);
    }
    return languages;
}

QStringList LanguagePacks::groupStrings(uint group, const QString& langCode) {
    if (!isPlainName(langCode))
        return {};
    const QSettings pack(folder() + langCode + QStringLiteral(".ini"), QSettings::IniFormat);
    const QString groupKey = groupName(group);
    int total = SettingsValues::integer(pack.value(keyIn(groupKey, QStringLiteral("total"))), 0);
    if (total > kMaxEntries) {
        qCWarning(lcStore) << "language pack" << langCode << "group" << groupKey << "claims" << total
                           << "entries; reading" << kMaxEntries;
        total = kMaxEntries;
    }
    QStringList strings;
    for (int i = 0; i < total; ++i)
        strings.append(SettingsValues::text(pack.value(keyIn(groupKey, QString::number(i)), QString())));
    if (static_cast<GroupType>(group) == GroupType::Other)
        installDpiPrefixes(strings);
    return strings;
}

QStringList LanguagePacks::productLayoutStrings(const QString& langCode) {
    if (!isPlainName(langCode))
        return QStringList(kLayoutStringCount);
    const QSettings pack(folder() + QStringLiteral("lang_") + langCode + QStringLiteral(".ini"), QSettings::IniFormat);
    QStringList strings;
    for (int i = 0; i < kLayoutStringCount; ++i)
        strings.append(SettingsValues::text(pack.value(QStringLiteral("Q3_133C6AA/%1").arg(i), QString())));
    return strings;
}
