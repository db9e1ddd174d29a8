#pragma once
// The language packs in "modules/i18n/": lists the packs present and reads one
// group of strings from a pack. Loading the group "other" installs the eight
// DPI message prefixes of the device worker. Packs are read through a
// short-lived settings object per call. GUI thread only.

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

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

    QVariantMap chkLanguages();
    QStringList getGlobalStrings(QVariant type, QString langCode);
    QStringList getProductLayoutStrings_Q3(QString langCode);
};
