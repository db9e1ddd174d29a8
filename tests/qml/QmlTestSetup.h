// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QQmlEngine;

// Setup object of the Qt Quick Test runner. For every test file's engine it
// creates the recording stand-ins of the back end from support/ and publishes
// them under the names the window calls unqualified: "ui_View" and "ui_Ctl";
// "backEndKeyCodeTable" is the back end's own key-code table for them.
class QmlTestSetup : public QObject {
    Q_OBJECT

public slots:
    void qmlEngineAvailable(QQmlEngine* engine);
};
