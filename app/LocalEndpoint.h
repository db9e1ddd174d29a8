#pragma once

#include <QString>

class QLocalServer;

// Naming and opening of the per-user local sockets the shell uses (message channel,
// control channel). Names are hashed so any title or path gives a short, safe name.
class LocalEndpoint {
public:
    // "<prefix>-<hash of user id and key>"
    static QString nameFor(const QString& prefix, const QString& key);

    // Listens on name, accessible to the user only. A socket file left behind by a dead
    // process is reclaimed; a live server on the name makes this fail.
    static bool listen(QLocalServer& server, const QString& name);
};
