// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnBackEnd.h"

#include "Backend.h"
#include "DataFolder.h"
#include "HidBackendStack.h"
#include "Hid_Thread.h"
#include "OperationRunner.h"
#include "Ui_Controler.h"
#include "myQQuickView.h"

#include <QCoreApplication>
#include <utility>

OwnBackEnd::OwnBackEnd(CommandLineOptions options, const QString& answerFile)
    : m_options(std::move(options)), m_dialogs(answerFile) {}

OwnBackEnd::~OwnBackEnd() {
    if (!m_view)
        return;
    m_backend->worker().waitForTransfers();
    m_backend->worker().stopListener();
    // Settings objects replaced during the run are deleted (and flushed) here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_runner.reset();
    m_controller.reset();
    m_view.reset();
    m_backend.reset();
}

bool OwnBackEnd::start(QString* error) {
    QString dataFolder;
    if (!DataFolder::prepare(DataFolder::fromEnvironment(m_options.dataFolder),
                             DataFolder::factoryRoots(QCoreApplication::applicationDirPath()), &dataFolder, error))
        return false;
    m_hid = std::make_unique<HidBackendStack>(m_options.virtualDevice, m_options.traceFile);
    m_backend = std::make_unique<Backend>(m_hid->backend(), m_dialogs);
    m_backend->setDeviceHost(&m_host);
    m_view = std::make_unique<myQQuickView>(*m_backend, m_dialogs);
    m_controller = std::make_unique<Ui_Controler>(m_view.get());
    m_backend->discoverDevice();
    // The window's shell makes the stored profile the current one at start.
    m_view->ui_02H_SetCurrentProfile(m_view->getProfile().toInt());
    m_runner = std::make_unique<OperationRunner>(m_view.get(), m_controller.get(), m_backend->worker());
    return true;
}

QJsonObject OwnBackEnd::run(const QString& operation, const QJsonArray& arguments) {
    if (!m_started) {
        m_started = true;
        if (!start(&m_startError))
            m_runner.reset();
    }
    if (!m_runner)
        return {{QStringLiteral("outcome"), QStringLiteral("no data folder")},
                {QStringLiteral("message"), m_startError}};
    return m_runner->run(operation, arguments);
}

bool OwnBackEnd::answerDialogsWith(const QString& path) {
    m_dialogs.setAnswerPath(path);
    return true;
}
