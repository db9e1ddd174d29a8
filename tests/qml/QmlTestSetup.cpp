// SPDX-License-Identifier: GPL-3.0-or-later
#include "QmlTestSetup.h"

#include "KeyNameTable.h"
#include "PageEncoder.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QUrl>

namespace {

// Builds one stand-in owned by the engine; a broken stand-in stops the run,
// because every test that uses it would fail for the wrong reason.
QObject* createStandIn(QQmlEngine* engine, const QString& fileName) {
    QQmlComponent component(engine, QUrl::fromLocalFile(QStringLiteral(QUELLAR_QML_SUPPORT_DIR "/") + fileName));
    QObject* standIn = component.create();
    if (!standIn)
        qFatal("%s: %s", qPrintable(fileName), qPrintable(component.errorString()));
    standIn->setParent(engine);
    return standIn;
}

} // namespace

void QmlTestSetup::qmlEngineAvailable(QQmlEngine* engine) {
    // The stand-in answers keyCodeTable with the back end's real table.
    engine->rootContext()->setContextProperty(QStringLiteral("backEndKeyCodeTable"), KeyNameTable::pageCodes());
    engine->rootContext()->setContextProperty(QStringLiteral("backEndEncoder"), new PageEncoder(engine));
    engine->rootContext()->setContextProperty(QStringLiteral("ui_View"),
                                              createStandIn(engine, QStringLiteral("RecordingView.qml")));
    engine->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"),
                                              createStandIn(engine, QStringLiteral("RecordingCtl.qml")));
}
