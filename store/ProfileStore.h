// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ten profiles: one settings object per file "modules/setting/p1.bin" ..
// "p10.bin", held open for the whole run, and the index of the current one.
// Every per-profile read and write of the program goes through here.
// GUI thread only.

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class ProfileStore : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 10;

    explicit ProfileStore(QObject* parent = nullptr);
    ~ProfileStore() override;

    static bool isValidPosition(int position) { return position >= 0 && position < kCount; }
    // The profile at the current index.
    QSettings& current() { return *m_profiles[m_currentIndex]; }
    // position must be valid (0..9).
    QSettings& at(int position) { return *m_profiles[position]; }
    int currentIndex() const { return m_currentIndex; }
    // Returns false (and changes nothing) when the index is the held one or out of range.
    bool setCurrentIndex(int position);
    static QString fileNameOf(int position);

    // Writes key=value into the current profile and flushes it to disk at once.
    bool writeCurrent(const QString& key, const QVariant& value);
    // Flushes one profile's pending writes to its file.
    bool flush(int position);
    // Makes profile `position` an exact copy of the file `source` and reopens it.
    // The profile's file is left untouched when the source cannot be read.
    bool replaceFrom(int position, const QString& source);

private:
    std::vector<std::unique_ptr<QSettings>> m_profiles;
    int m_currentIndex = 0;
};
