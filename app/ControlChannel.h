#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

#include <functional>

class QLocalSocket;
class QTextStream;

// Line-based control endpoint of a running instance (quellarctl virtual ... talks to it).
// A request is one line holding a JSON array of strings; the answer is one line holding a
// JSON object {"ok": bool, "text": string}. The handler decides what the words mean, so the
// channel knows nothing of what it controls. GUI thread.
class ControlChannel : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<QString(const QStringList& args, bool* ok)>;

    // Client exit codes.
    static constexpr int kExitOk = 0;
    static constexpr int kExitRefused = 1;    // the handler reported a failure
    static constexpr int kExitNoInstance = 3; // nobody listens, or the answer never came

    static constexpr int kMaxRequestBytes = 64 * 1024;

    explicit ControlChannel(Handler handler, QObject* parent = nullptr);
    ~ControlChannel() override;

    // key separates instances (pass the data folder); one user may run one per key.
    bool listen(const QString& key = {});
    bool isListening() const;
    static QString serverNameFor(const QString& key);

    struct Reply {
        bool reached = false;
        bool ok = false;
        QString text;
    };
    // Sends one request and waits for its answer.
    static Reply request(const QString& key, const QStringList& args, int timeoutMs = 5000);
    // quellarctl's side: sends, prints the answer (errors to err) and returns the exit code.
    static int runClient(const QString& key, const QStringList& args, QTextStream& out, QTextStream& err,
                         int timeoutMs = 5000);

private:
    void acceptConnections();
    void serve(QLocalSocket* socket);
    QByteArray answer(const QByteArray& line) const;

    Handler m_handler;
    QLocalServer m_server;
};
