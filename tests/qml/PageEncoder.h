// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantList>

// The back end's page encoder for the stand-in of "ui_View", so the pages'
// length check is tested against the real image lengths.
class PageEncoder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    Q_INVOKABLE QVariantList encode(const QStringList& lines, int loopCount, bool gunVariant) const;
};
