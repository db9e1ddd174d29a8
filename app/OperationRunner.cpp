// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationRunner.h"

#include "Hid_Thread.h"
#include "OperationInvoker.h"
#include "Ui_Controler.h"
#include "WarningCounter.h"
#include "myQQuickView.h"

#include <algorithm>

namespace {
QString outcomeName(OperationInvoker::Outcome outcome) {
    switch (outcome) {
    case OperationInvoker::Outcome::Done:
        return QStringLiteral("done");
    case OperationInvoker::Outcome::UnknownOperation:
        return QStringLiteral("unknown operation");
    case OperationInvoker::Outcome::WrongArgumentCount:
        return QStringLiteral("wrong argument count");
    case OperationInvoker::Outcome::BadArgument:
        return QStringLiteral("bad argument");
    }
    return {};
}
} // namespace

OperationRunner::OperationRunner(QObject* view, QObject* controller, Hid_Thread& worker)
    : m_view(view), m_controller(controller), m_worker(worker) {}

QJsonObject OperationRunner::run(const QString& operation, const QJsonArray& arguments) {
    const QString prefix = QLatin1String(kControllerPrefix);
    const bool onController = operation.startsWith(prefix);
    QObject* target = onController ? m_controller : m_view;
    const QString name = onController ? operation.mid(prefix.size()) : operation;

    const int failedBefore = m_worker.failedCommands();
    const int absentBefore = m_worker.commandsWithoutDevice();
    const WarningCounter warnings;
    const OperationInvoker::Result result = OperationInvoker::invoke(target, name, arguments);
    m_worker.waitForTransfers();
    return QJsonObject{{QStringLiteral("outcome"), outcomeName(result.outcome)},
                       {QStringLiteral("value"), result.value},
                       {QStringLiteral("message"), result.message},
                       {QStringLiteral("warnings"), warnings.count()},
                       {QStringLiteral("failed"), m_worker.failedCommands() - failedBefore},
                       {QStringLiteral("absent"), m_worker.commandsWithoutDevice() - absentBefore}};
}

QStringList OperationRunner::signatures() {
    return OperationInvoker::signatures(myQQuickView::staticMetaObject) +
           OperationInvoker::signatures(Ui_Controler::staticMetaObject, QLatin1String(kControllerPrefix));
}

bool OperationRunner::isQuery(const QString& operation) {
    static const QStringList kReadPrefixes{
        QStringLiteral("get"),  QStringLiteral("chk"),       QStringLiteral("is"),      QStringLiteral("ui_8"),
        QStringLiteral("ui_9"), QStringLiteral("loadMacro"), QStringLiteral("loadGun"), QStringLiteral("keyCodeTable")};
    return std::any_of(kReadPrefixes.begin(), kReadPrefixes.end(),
                       [&operation](const QString& prefix) { return operation.startsWith(prefix); });
}

bool OperationRunner::needsDialog(const QString& operation) {
    static const QStringList kDialogOperations{
        QStringLiteral("loadProfile"),          QStringLiteral("saveProfile"),
        QStringLiteral("loadMacroIniFromFile"), QStringLiteral("saveMacroIniToFile"),
        QStringLiteral("getCustomFilePath"),    QStringLiteral("getMsgAns_FoolProofing")};
    return kDialogOperations.contains(operation);
}
