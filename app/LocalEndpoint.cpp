#include "LocalEndpoint.h"

#include "AppLogging.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
constexpr int kProbeTimeoutMs = 500;
constexpr int kHashChars = 24;
} // namespace

QString LocalEndpoint::nameFor(const QString& prefix, const QString& key) {
    const QByteArray material = QByteArray::number(qulonglong(::getuid())) + '\n' + key.toUtf8();
    const QByteArray hash = QCryptographicHash::hash(material, QCryptographicHash::Sha256).toHex();
    return prefix + QLatin1Char('-') + QString::fromLatin1(hash.left(kHashChars));
}

bool LocalEndpoint::listen(QLocalServer& server, const QString& name) {
    // Qt installs a user-only socket by renaming it over the name, which would silently take
    // the name from a live owner, so ask first whether anybody answers there.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kProbeTimeoutMs)) {
        probe.abort();
        qCWarning(lcApp) << "another process already listens on" << name;
        return false;
    }
    QLocalServer::removeServer(name);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (server.listen(name))
        return true;
    qCWarning(lcApp) << "cannot listen on" << name << ":" << server.errorString();
    return false;
}
