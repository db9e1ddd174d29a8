#pragma once
// Hands the worker the configuration values it reads. The configuration lives
// in the view, which is built after the worker, so this forwards to whichever
// view it is given and answers defaults until then.

#include "DeviceConfigSource.h"

#include <QPointer>

class myQQuickView;

class ViewConfigSource : public DeviceConfigSource {
public:
    void setView(myQQuickView* view);

    QString secrecyCodeText(unsigned int deviceId) const override;
    QStringList productNames() const override;

private:
    QPointer<myQQuickView> m_view;
};
