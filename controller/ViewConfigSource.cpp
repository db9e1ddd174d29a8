#include "ViewConfigSource.h"

#include "AppConfig.h"
#include "myQQuickView.h"

QString ViewConfigSource::secrecyCodeText(unsigned int deviceId) const
{
    // Without a view there is no configuration yet; an empty code leaves the key as it is.
    return m_view ? m_view->appConfig().secrecyCodeText(deviceId) : QString();
}

QStringList ViewConfigSource::productNames() const
{
    return m_view ? m_view->appConfig().productNames() : QStringList();
}

void ViewConfigSource::setView(myQQuickView* view)
{
    m_view = view;
}
