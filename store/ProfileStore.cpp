#include "ProfileStore.h"

ProfileStore::ProfileStore(QObject* parent) : QObject(parent)
{
    for (int position = 0; position < kCount; ++position)
        m_profiles.push_back(std::make_unique<QSettings>(fileNameOf(position), QSettings::IniFormat));
}

ProfileStore::~ProfileStore() = default;

bool ProfileStore::setCurrentIndex(int position)
{
    if (!isValidPosition(position) || position == m_currentIndex)
        return false;
    m_currentIndex = position;
    return true;
}

QString ProfileStore::fileNameOf(int position)
{
    return QStringLiteral("./modules/setting/p%1.bin").arg(position + 1);
}
