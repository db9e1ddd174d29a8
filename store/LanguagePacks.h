// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language packs in "modules/i18n/": lists the packs present and reads one
// group of strings from a pack. Loading the group "other" installs the eight
// DPI message prefixes of the device worker. Packs are read through a
// short-lived settings object per call. GUI thread only.

#include <QMap>
#include <QObject>
#include <QStringList>

class LanguagePacks : public QObject {
    Q_OBJECT
public:
    // A pack cannot hold more strings than any page shows; a larger total is a broken file.
    static constexpr int kMaxEntries = 4096;
    static constexpr int kLayoutStringCount = 16;

    explicit LanguagePacks(QObject* parent = nullptr);

    static QString folder();
    // Display name of a pack code such as "025044" -> "CHINESE (Simp)".
    static QString displayName(const QString& code);

    // The packs present: display name -> pack code.
    QMap<QString, QString> installedLanguages();
    // The strings of group `group` (0 main, 2 key menu, ... ; any other: the ungrouped ones).
    QStringList groupStrings(uint group, const QString& langCode);
    // The sixteen strings of the product layout; empty ones where the pack has none.
    QStringList productLayoutStrings(const QString& langCode);
};
