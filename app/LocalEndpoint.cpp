// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalEndpoint.h"

#include "AppLogging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kProbeTimeoutMs = 500;
constexpr int kHashChars = 24;
constexpr mode_t kPrivateFolderMode = 0700;

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

QString LocalEndpoint::runtimeFolder(QString* error) {
    // A relative value is invalid by the base directory rules and is ignored like an unset one.
    const QString fromEnvironment = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!fromEnvironment.isEmpty() && QDir::isAbsolutePath(fromEnvironment))
        return isPrivateFolder(fromEnvironment, error) ? QDir::cleanPath(fromEnvironment) : QString();

    const QString fallback = QDir(QDir::tempPath()).filePath(QStringLiteral("quellar-%1").arg(::geteuid()));
    if (::mkdir(QFile::encodeName(fallback).constData(), kPrivateFolderMode) != 0 && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("cannot create the runtime folder %1: %2").arg(fallback, systemError(errno));
        return {};
    }
    return isPrivateFolder(fallback, error) ? fallback : QString();
}

bool LocalEndpoint::isPrivateFolder(const QString& path, QString* error) {
    const auto refuse = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("refusing the runtime folder %1: %2 (set XDG_RUNTIME_DIR to a folder of "
                                    "your own with mode 0700)")
                         .arg(path, why);
        return false;
    };
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return refuse(systemError(errno));
    if (!S_ISDIR(info.st_mode))
        return refuse(QStringLiteral("it is not a folder (links are refused too)"));
    if (info.st_uid != ::geteuid())
        return refuse(QStringLiteral("it belongs to another user (uid %1)").arg(info.st_uid));
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return refuse(
            QStringLiteral("other users may write to it (mode %1)").arg(info.st_mode & 07777, 4, 8, QLatin1Char('0')));
    return true;
}

QString LocalEndpoint::pathFor(const QString& prefix, const QString& dataFolder, const QString& key, QString* error) {
    const QString folder = runtimeFolder(error);
    if (folder.isEmpty())
        return {};
    const QByteArray material = canonicalFolder(dataFolder).toUtf8() + '\n' + key.toUtf8();
    const QByteArray hash = QCryptographicHash::hash(material, QCryptographicHash::Sha256).toHex();
    return QDir(folder).filePath(prefix + QLatin1Char('-') + QString::fromLatin1(hash.left(kHashChars)));
}

QString LocalEndpoint::canonicalFolder(const QString& path) {
    if (path.isEmpty())
        return {};
    // Resolve the part that exists; the rest is appended as written.
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList missing;
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath()) {
        missing.prepend(QFileInfo(existing).fileName());
        existing = QFileInfo(existing).absolutePath();
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + QLatin1Char('/') +
                           missing.join(QLatin1Char('/')));
}

bool LocalEndpoint::isOwnedByUser(const QString& path, QString* error) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || info.st_uid == ::geteuid())
        return true; // nothing there, or ours
    if (error)
        *error = QStringLiteral("%1 belongs to another user (uid %2)").arg(path).arg(info.st_uid);
    return false;
}

bool LocalEndpoint::peerIsUser(const QLocalSocket& socket) {
    struct ucred credentials {};
    socklen_t length = sizeof(credentials);
    const int descriptor = int(socket.socketDescriptor());
    return descriptor >= 0 && ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::geteuid();
}

bool LocalEndpoint::connectTo(QLocalSocket& socket, const QString& path, int timeoutMs, QString* error) {
    if (path.isEmpty())
        return false;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (peerIsUser(socket))
        return true;
    if (error)
        *error = QStringLiteral("refusing %1: another user serves it").arg(path);
    socket.abort();
    return false;
}

bool LocalEndpoint::listen(QLocalServer& server, const QString& path, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        else
            qCWarning(lcApp).noquote() << why;
        return false;
    };
    QString reason;
    if (path.isEmpty()) {
        runtimeFolder(&reason);
        return fail(QStringLiteral("cannot open a local channel: ") + reason);
    }
    // Qt installs a user-only socket by renaming it over the name, which would silently take
    // the name from a live owner, so ask first whether anybody answers there.
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kProbeTimeoutMs)) {
        probe.abort();
        return fail(QStringLiteral("another process already listens on ") + path);
    }
    if (!isOwnedByUser(path, &reason))
        return fail(QStringLiteral("cannot open a local channel: ") + reason);
    QLocalServer::removeServer(path);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (server.listen(path))
        return true;
    return fail(QStringLiteral("cannot listen on %1: %2").arg(path, server.errorString()));
}
