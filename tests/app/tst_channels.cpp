// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlChannel.h"
#include "InputHook.h"
#include "LocalEndpoint.h"
#include "MessageChannel.h"
#include "OperationClient.h"
#include "OperationServer.h"
#include "WarningPresenter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonObject>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Short limits, so the tests see them act.
constexpr LocalListener::Limits kTightLimits{4, 300, 200};

// A server made and serving on its own thread: the client blocks for its answer.
class ServerThread {
public:
    // `serve` makes the server on the thread and hands it back listening, or null.
    explicit ServerThread(const std::function<std::shared_ptr<QObject>()>& serve)
        : m_thread(QThread::create([this, serve] {
              const std::shared_ptr<QObject> server = serve();
              m_listening = server ? 1 : -1;
              if (server)
                  QEventLoop().exec();
          })) {
        m_thread->start();
        while (m_listening == 0)
            QThread::msleep(5);
    }
    // A control channel on `key`.
    ServerThread(const QString& key, ControlChannel::Handler handler, LocalListener::Limits limits = {})
        : ServerThread([key, handler, limits]() -> std::shared_ptr<QObject> {
              auto channel = std::make_shared<ControlChannel>(handler, limits);
              return channel->listen(key) ? channel : nullptr;
          }) {}
    ~ServerThread() {
        m_thread->quit();
        m_thread->wait();
    }
    bool listening() const { return m_listening == 1; }

private:
    std::atomic<int> m_listening{0}; // 1 listening, -1 refused
    std::unique_ptr<QThread> m_thread;
};
} // namespace

// The window message channel (a frame is tag and byte count, little-endian, UTF-8 text and a zero)
// and the control channel, whose server runs on a thread.
class TestChannels : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime; // private (0700) like a real runtime folder
    InputHook m_hook;
    const QString m_title = newName();
    QStringList m_shown;
    const QString m_key = QDir::temp().filePath(newName());
    std::unique_ptr<ServerThread> m_server;

    static inline const QString kRaised = QStringLiteral("<raise request>");

    static QString newName() { return QStringLiteral("quellar-test-") + QUuid::createUuid().toString(QUuid::Id128); }
    // Lets the receiving side, on this thread, read what was sent; then checks the channel still works.
    void expectShown(QStringList shown) {
        QTest::qWait(100);
        QVERIFY(InputHook::sendTextToWindow(m_title, QStringLiteral("after")));
        shown << QStringLiteral("after");
        QTRY_COMPARE(m_shown, shown);
        m_shown.clear();
    }
    // Succeeds when the first word is "ok"; answers with the words joined by '|'.
    static QString handle(const QStringList& args, bool* ok) {
        *ok = args.value(0) == QLatin1String("ok");
        return args.join(u'|');
    }
    static QString run(const QString& key, const QStringList& args) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int code = ControlChannel::runClient(key, args, outStream, errStream);
        return QStringLiteral("%1 out:%2 err:%3").arg(code).arg(out, err);
    }

private slots:
    void initTestCase() {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        QVERIFY(m_hook.registerCopyDataHandler([this](const QString& text) { m_shown << text; }, m_title));
        m_hook.messageChannel()->setRaiseHandler([this] { m_shown << kRaised; });
        m_server = std::make_unique<ServerThread>(m_key, &handle);
        QVERIFY(m_server->listening());
    }
    void cleanupTestCase() { m_server.reset(); }

    void framesAreChecked_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QStringList>("shown");
        const auto frame = [](const char* name, const char* hex, const QStringList& shown = {}) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << shown;
        };
        frame("warning tag", "0f250000 05000000 68656c6c6f 00", {QStringLiteral("hello")});
        frame("multi-byte", "0f250000 12000000 4772c3b6c39f6520e2809320e8aebee7bdae 00",
              {QStringLiteral("Größe – 设置")});
        frame("empty", "0f250000 00000000 00", {QString()});
        frame("other tag", "0e250000 05000000 68656c6c6f 00");
        frame("one short", "0f250000 04000000 68656c6c6f 00");
        frame("one long", "0f250000 06000000 68656c6c6f 00");
        frame("characters instead of bytes", "0f250000 05000000 4772c3bcc39f65 00");
        frame("embedded zero", "0f250000 05000000 6162006364 00");
        frame("invalid utf-8", "0f250000 02000000 fffe 00");
        frame("unterminated", "0f250000 02000000 6869");
        frame("raise", "10250000 00000000 00", {kRaised});
        frame("raise with text", "10250000 05000000 68656c6c6f 00");
        frame("raise announcing text", "10250000 01000000 00");
    }
    void framesAreChecked() {
        QFETCH(QByteArray, frame);
        QFETCH(QStringList, shown);
        QLocalSocket socket;
        socket.connectToServer(MessageChannel::serverNameFor(m_title));
        QVERIFY(socket.waitForConnected(1000));
        socket.write(frame);
        QVERIFY(socket.waitForBytesWritten(1000));
        socket.disconnectFromServer();
        expectShown(shown);
    }

    void secondStartAsksToRaise() {
        QVERIFY(MessageChannel::sendRaise(m_title));
        expectShown({kRaised});
        QVERIFY(!MessageChannel::sendRaise(newName()));
    }

    void oversizedMessageIsCutOff() {
        const QByteArray huge(MessageChannel::kMaxMessageBytes + 100, 'x');
        MessageChannel::sendFrame(m_title, MessageChannel::kWarningTag, quint32(huge.size()), huge);
        expectShown({});
    }

    void titlesAreSeparate() {
        QVERIFY(!InputHook::sendTextToWindow(newName(), QStringLiteral("nobody listens")));
        MessageChannel other;
        QStringList otherShown;
        other.setHandler([&](const QString& text) { otherShown << text; });
        const QString otherTitle = newName();
        QVERIFY(other.listen(otherTitle));
        QVERIFY(!MessageChannel().listen(otherTitle)); // a title in use is refused
        QVERIFY(MessageChannel::sendText(otherTitle, QStringLiteral("to other")));
        QTRY_COMPARE(otherShown, QStringList{QStringLiteral("to other")});
        expectShown({});
    }

    void controlRoundTrip_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("result"); // exit code, standard output, standard error
        QTest::newRow("ok") << QStringList{"ok", "3"} << "0 out:ok|3\n err:";
        QTest::newRow("text keeps its newline")
            << QStringList{"ok", "[a]\nb=\"c d\"\n"} << "0 out:ok|[a]\nb=\"c d\"\n err:";
        QTest::newRow("refused") << QStringList{"no", "two words", "line\nbreak"}
                                 << "1 out: err:no|two words|line\nbreak\n";
        QTest::newRow("nothing") << QStringList{} << "1 out: err:";
    }
    void controlRoundTrip() {
        QFETCH(QStringList, args);
        QFETCH(QString, result);
        QCOMPARE(run(m_key, args), result);
    }

    void controlFailuresAreReported() {
        QVERIFY(run(m_key + "-other", {"ok"}).startsWith("3 out: err:no running quellar"));
        QLocalSocket socket;
        socket.connectToServer(ControlChannel::serverNameFor(m_key));
        QVERIFY(socket.waitForConnected(2000));
        socket.write("not json\n[1, 2]\n");
        QByteArray answers;
        while (answers.count('\n') < 2 && socket.waitForReadyRead(2000))
            answers += socket.readAll();
        QCOMPARE(answers, QByteArray("{\"ok\":false,\"text\":\"malformed request\"}\n"
                                     "{\"ok\":false,\"text\":\"malformed request\"}\n"));
        QVERIFY(!ControlChannel(&handle).listen(m_key)); // a second server on the same key
        QVERIFY(ControlChannel::request(m_key, {"ok"}).ok);
    }

    void dataFoldersAreSeparate() {
        // The same title on two data folders: two windows that never see each other's messages.
        const QString title = newName();
        MessageChannel one;
        MessageChannel two;
        QStringList shownByOne;
        QStringList shownByTwo;
        one.setHandler([&](const QString& text) { shownByOne << text; });
        two.setHandler([&](const QString& text) { shownByTwo << text; });
        QVERIFY(one.listen(title, m_key + "/one"));
        QVERIFY(two.listen(title, m_key + "/two"));
        QVERIFY(MessageChannel::sendText(title, QStringLiteral("for two"), m_key + "/two"));
        QVERIFY(MessageChannel::sendText(title, QStringLiteral("for one"), m_key + "/one"));
        QTRY_COMPARE(shownByTwo, QStringList{QStringLiteral("for two")});
        QTRY_COMPARE(shownByOne, QStringList{QStringLiteral("for one")});
        // And two control channels, each answering for its own folder.
        ServerThread other(m_key + "/two", [](const QStringList&, bool* ok) {
            *ok = true;
            return QStringLiteral("two");
        });
        QVERIFY(other.listening());
        QCOMPARE(ControlChannel::request(m_key + "/two", {"ok"}).text, QStringLiteral("two"));
        QCOMPARE(ControlChannel::request(m_key, {"ok"}).text, QStringLiteral("ok"));
    }

    void floodShowsOneWarningAtATime() {
        constexpr int kFrames = 2000;
        const QString title = newName();
        std::unique_ptr<QThread> sender(QThread::create([title] {
            for (int i = 0; i < kFrames; ++i)
                MessageChannel::sendText(title, QStringLiteral("frame %1").arg(i));
        }));
        MessageChannel channel;
        QStringList shown;
        int deepest = 0;
        int depth = 0;
        WarningPresenter presenter([&](const QString& text) {
            shown << text;
            deepest = std::max(deepest, ++depth);
            // Like a modal box: an event loop of its own, where the rest of the flood arrives.
            QTRY_VERIFY_WITH_TIMEOUT(sender->isFinished(), 60000);
            // What the sender left waiting to be accepted arrives too.
            QTest::qWait(300);
            QTRY_COMPARE_WITH_TIMEOUT(channel.connectionCount(), 0, 5000);
            --depth;
        });
        channel.setHandler([&](const QString& text) { presenter.offer(text); });
        QVERIFY(channel.listen(title));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("dropped \\d+ window messages that came while a warning"));
        sender->start();
        QTRY_VERIFY_WITH_TIMEOUT(sender->isFinished() && !presenter.isShowing(), 60000);
        QCOMPARE(shown, QStringList{QStringLiteral("frame 0")});
        QCOMPARE(deepest, 1);
        QVERIFY2(presenter.droppedCount() > kFrames / 2, qPrintable(QString::number(presenter.droppedCount())));
        // Once the box is closed, the next message gets its own.
        QVERIFY(MessageChannel::sendText(title, QStringLiteral("later")));
        QTRY_COMPARE(shown.size(), 2);
        QCOMPARE(shown.last(), QStringLiteral("later"));
    }

    void heldConnectionsAreBounded() {
        const QString key = m_key + QStringLiteral("-bounded");
        ServerThread server(key, &handle, {kTightLimits.maxConnections, 10000, kTightLimits.recoveryIntervalMs});
        std::vector<std::unique_ptr<QLocalSocket>> held;
        for (int i = 0; i < kTightLimits.maxConnections; ++i) {
            held.push_back(std::make_unique<QLocalSocket>());
            held.back()->connectToServer(ControlChannel::serverNameFor(key));
            QVERIFY(held.back()->waitForConnected(1000));
        }
        // One more is told so and closed at once.
        const ControlChannel::Reply refused = ControlChannel::request(key, {"ok"});
        QVERIFY(refused.reached && !refused.ok);
        QCOMPARE(refused.text, QStringLiteral("busy: too many connections"));
        // Once they leave, the channel answers again.
        held.clear();
        QTRY_VERIFY(ControlChannel::request(key, {"ok"}).ok);
    }

    void idleConnectionsAreClosed() {
        const QString key = m_key + QStringLiteral("-idle");
        ServerThread server(key, &handle, kTightLimits);
        QLocalSocket silent;
        QLocalSocket unfinished; // a request that never ends its line
        for (QLocalSocket* socket : {&silent, &unfinished}) {
            socket->connectToServer(ControlChannel::serverNameFor(key));
            QVERIFY(socket->waitForConnected(1000));
        }
        unfinished.write("[\"ok\"");
        QElapsedTimer held;
        held.start();
        for (QLocalSocket* socket : {&silent, &unfinished})
            QVERIFY(socket->state() == QLocalSocket::UnconnectedState || socket->waitForDisconnected(3000));
        QVERIFY(held.elapsed() >= kTightLimits.idleTimeoutMs - 50);
        QVERIFY(ControlChannel::request(key, {"ok"}).ok);
    }

    void lostSocketFileIsRecovered() {
        const QString key = m_key + QStringLiteral("-removed");
        ServerThread server(key, &handle, kTightLimits);
        QVERIFY(QFile::remove(ControlChannel::serverNameFor(key)));
        QTRY_VERIFY_WITH_TIMEOUT(ControlChannel::request(key, {"ok"}, 500).ok, 5000);
        // The window channel too (it looks every 2 s, so the loss is seen first).
        QVERIFY(QFile::remove(MessageChannel::serverNameFor(m_title)));
        QVERIFY(!InputHook::sendTextToWindow(m_title, QStringLiteral("lost")));
        bool sent = false; // QTRY evaluates once more after success
        QTRY_VERIFY_WITH_TIMEOUT(sent || (sent = InputHook::sendTextToWindow(m_title, QStringLiteral("found"))), 5000);
        QTRY_COMPARE(m_shown, QStringList{QStringLiteral("found")});
        m_shown.clear();
    }

    void descriptorExhaustionIsSurvived() {
        // Qt closes a server for good when an accept fails; here it fails for want of descriptors.
        const QString key = m_key + QStringLiteral("-exhausted");
        ServerThread server(key, &handle, kTightLimits);
        const QByteArray path = QFile::encodeName(ControlChannel::serverNameFor(key));
        const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(client >= 0);
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        rlimit low = saved;
        low.rlim_cur = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size() + 64;
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        std::vector<int> filler;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            filler.push_back(fd);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        const int connected = ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        QThread::msleep(300); // the server tries to accept meanwhile
        for (int fd : filler)
            ::close(fd);
        ::close(client);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);
        QCOMPARE(connected, 0);
        QTRY_VERIFY_WITH_TIMEOUT(ControlChannel::request(key, {"ok"}, 500).ok, 5000);
    }

    void impostorIsNeverTalkedTo() {
        // A server of another user on our control channel's name (only root can arrange that
        // inside a private runtime folder): it answers every connection with a forged reply.
        if (::geteuid() != 0)
            QSKIP("only root can run a server as another user");
        const QString key = m_key + QStringLiteral("-impostor");
        QTemporaryDir open;
        QCOMPARE(::chmod(QFile::encodeName(open.path()).constData(), 0777), 0);
        const QByteArray bound = QFile::encodeName(open.filePath(QStringLiteral("s")));
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t impostor = ::fork();
        if (impostor == 0) { // only system calls from here on
            constexpr uid_t kOtherUser = 54321;
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, bound.constData(), size_t(bound.size()));
            const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0 ||
                ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(server, 4) != 0)
                ::_exit(1);
            const char forged[] = "{\"ok\":true,\"text\":\"forged\"}\n";
            if (::write(ready[1], "r", 1) != 1)
                ::_exit(1);
            for (int client; (client = ::accept(server, nullptr, nullptr)) >= 0; ::close(client)) {
                if (::write(client, forged, sizeof(forged) - 1) < 0)
                    continue;
            }
            ::_exit(0);
        }
        char byte = 0;
        QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
        QCOMPARE(::rename(bound.constData(), QFile::encodeName(ControlChannel::serverNameFor(key)).constData()), 0);

        const ControlChannel::Reply reply = ControlChannel::request(key, {"press-dpi", "3"});
        ::kill(impostor, SIGKILL);
        ::waitpid(impostor, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        QVERIFY(!reply.reached);
        QCOMPARE(reply.text, QString());
        QVERIFY2(reply.error.endsWith(QStringLiteral(": another user serves it")), qPrintable(reply.error));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("cannot open a local channel: .* belongs to another user"));
        QVERIFY(!ControlChannel(&handle).listen(key)); // and its name is not taken over silently
    }

    void leftoverSocketFileIsReclaimed() {
        // What a crashed instance leaves behind: the socket's file with nobody listening.
        const QString key = m_key + QStringLiteral("-crashed");
        QFile leftover(ControlChannel::serverNameFor(key));
        QVERIFY(leftover.fileName().startsWith(m_runtime.path() + QLatin1Char('/')));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        QVERIFY(ControlChannel(&handle).listen(key));
    }

    // quellarctl's requests to a running quellar: one JSON object a line each way, answered in
    // order on one connection; a malformed line gets a refusal and the connection goes on.
    void operationsRoundTrip() {
        const QString folder = QDir::temp().filePath(newName());
        const ServerThread thread([folder]() -> std::shared_ptr<QObject> {
            auto server = std::make_shared<OperationServer>([](const QString& operation, const QJsonArray& arguments) {
                return QJsonObject{{"outcome", "done"}, {"value", operation + ":" + QString::number(arguments.size())}};
            });
            return server->listen(folder) ? server : nullptr;
        });
        QVERIFY(thread.listening());

        OperationClient client;
        QVERIFY(client.connectTo(folder));
        QCOMPARE(client.run("getProfile", {}).value("value").toString(), QString("getProfile:0"));
        QCOMPARE(client.run("setProfile", {3}).value("value").toString(), QString("setProfile:1"));
        QVERIFY(!OperationClient().connectTo(folder + "-other"));

        QLocalSocket socket;
        socket.connectToServer(OperationServer::serverNameFor(folder));
        QVERIFY(socket.waitForConnected(2000));
        socket.write("[\"getProfile\"]\n");
        QVERIFY(socket.waitForReadyRead(2000));
        QVERIFY(socket.readLine().startsWith("{\"message\":\"expected {\\\"operation\\\""));
    }
};

QTEST_GUILESS_MAIN(TestChannels)
#include "tst_channels.moc"
