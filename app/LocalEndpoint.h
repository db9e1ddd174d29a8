// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLocalServer;
class QLocalSocket;

// Where the user's local sockets and the instance lock live, and how they are named. They sit
// in the user's runtime folder ($XDG_RUNTIME_DIR, or a private <temp>/quellar-<uid> made for it
// when that is unset), which must be the user's own and writable by nobody else, so no other
// user can bind a name first or plant a lock. Every name carries a hash of the data folder, so
// instances on different data folders never answer for each other. No state: any thread.
class LocalEndpoint {
public:
    // The checked runtime folder (the fallback is created 0700 when missing); empty with the
    // reason in *error when it is refused.
    static QString runtimeFolder(QString* error = nullptr);
    // True when path is a folder (not a link) owned by this user that group and others cannot write.
    static bool isPrivateFolder(const QString& path, QString* error = nullptr);

    // "<runtime folder>/<prefix>-<hash of data folder and key>"; empty with *error when the
    // runtime folder is refused.
    static QString pathFor(const QString& prefix, const QString& dataFolder, const QString& key = {},
                           QString* error = nullptr);
    // Absolute and canonical as far as the path exists, so a folder named before it is created
    // gets the same name afterwards.
    static QString canonicalFolder(const QString& path);

    // False with *error when something at path belongs to another user.
    static bool isOwnedByUser(const QString& path, QString* error = nullptr);
    // True when the process at the other end of a connected socket runs as this user.
    static bool peerIsUser(const QLocalSocket& socket);
    // The client side of every channel: connects socket to path within timeoutMs and keeps the
    // connection only when the server runs as this user. False otherwise, with the reason in
    // *error when there is one to tell (nobody listening is not one).
    static bool connectTo(QLocalSocket& socket, const QString& path, int timeoutMs, QString* error = nullptr);

    // Listens on path, accessible to the user only. A socket file left behind by a dead process
    // is reclaimed; a live server there, or a file of another user, makes this fail. The reason
    // goes to *error when given, else to the log.
    static bool listen(QLocalServer& server, const QString& path, QString* error = nullptr);
};
