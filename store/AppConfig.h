// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live application configuration on "modules/setting/apConfig.bin": the
// interface language, the window titles, the current profile number, the colour
// stage limit, the secrecy codes and a generic list the QML side keeps. One
// settings object is held open for the whole run and replaced by a factory reset.
// Every write reaches the disk before the operation returns.
// GUI thread only; the device worker reads the secrecy codes and product
// names on the GUI thread as well.

#include <QObject>
#include <QSettings>
#include <QVariant>
#include <QVariantList>
#include <memory>

class AppConfig : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultColorMaxStage = 8;
    // The generic list holds what the pages keep (a handful of values); a larger
    // common/total is a broken or hostile file, read no further than this.
    static constexpr int kMaxApConfigEntries = 4096;

    explicit AppConfig(QObject* parent = nullptr);
    ~AppConfig() override;

    static QString fileName();
    static QString factoryFileName();
    // Title of the host window: common/name for the Simplified Chinese
    // interface, common/name0 otherwise (both empty when absent).
    static QString windowTitle();

    QSettings& settings() { return *m_settings; }

    void saveApConfig(QVariantList apConfigs);
    QVariant getLang();
    QVariantList loadApConfig();
    QVariantList loadDeviceApConfig();
    // Q3/profileNo as the pages keep it.
    int profileNumber();
    void setProfileNumber(uint profile);
    void resetApconfig();
    bool getIsSkinShow();

    // Q3/profileNo as the profile switch writes it.
    void storeProfileNumber(int profile);

    // Value of "common/sCode<deviceId>" as written, "731905" when absent.
    QString secrecyCodeText(unsigned int deviceId) const;
    // "common/product_name": entry n names catalogue device n.
    QStringList productNames() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
