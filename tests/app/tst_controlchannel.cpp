#include "ControlChannel.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTest>
#include <QTextStream>
#include <QThread>
#include <QUuid>

#include <atomic>

// The client blocks while it waits for its answer, as quellarctl does; the server runs on its
// own thread here so the round trip is real.
class ServerThread : public QThread {
public:
    ServerThread(QString key, ControlChannel::Handler handler) : m_key(std::move(key)), m_handler(std::move(handler)) {}
    std::atomic<bool> listening{false};
    std::atomic<bool> failed{false};

protected:
    void run() override {
        ControlChannel channel(m_handler);
        if (!channel.listen(m_key)) {
            failed = true;
            return;
        }
        listening = true;
        exec();
    }

private:
    QString m_key;
    ControlChannel::Handler m_handler;
};

class TestControlChannel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void roundTrip_data();
    void roundTrip();
    void clientPrintsAndExits_data();
    void clientPrintsAndExits();
    void noInstanceExitsThree();
    void malformedRequestIsRefused();
    void secondServerOnSameKeyIsRefused();
    void leftoverSocketFileIsReclaimed();

private:
    static QString handle(const QStringList& args, bool* ok);

    QString m_key;
    std::unique_ptr<ServerThread> m_server;
};

QString TestControlChannel::handle(const QStringList& args, bool* ok) {
    if (args.value(0) == QLatin1String("press-dpi") && args.size() == 2) {
        bool number = false;
        const int stage = args[1].toInt(&number);
        *ok = number && stage >= 1 && stage <= 8;
        return *ok ? QStringLiteral("pressed %1").arg(stage) : QStringLiteral("stage must be 1 to 8");
    }
    if (args.value(0) == QLatin1String("dump")) {
        *ok = true;
        return QStringLiteral("[state]\ndpi=6\nname=a \"quoted\" word\n");
    }
    *ok = false;
    return QStringLiteral("unknown command: ") + args.join(QLatin1Char(' '));
}

void TestControlChannel::init() {
    m_key = QStringLiteral("/tmp/test-data-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_server = std::make_unique<ServerThread>(m_key, &TestControlChannel::handle);
    m_server->start();
    QTRY_VERIFY(m_server->listening || m_server->failed);
    QVERIFY(m_server->listening);
}

void TestControlChannel::cleanup() {
    m_server->quit();
    m_server->wait();
    m_server.reset();
}

void TestControlChannel::roundTrip_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::newRow("press-dpi") << QStringList{"press-dpi", "3"} << true << QStringLiteral("pressed 3");
    QTest::newRow("bad stage") << QStringList{"press-dpi", "9"} << false << QStringLiteral("stage must be 1 to 8");
    QTest::newRow("multi-line") << QStringList{"dump"} << true
                                << QStringLiteral("[state]\ndpi=6\nname=a \"quoted\" word\n");
    QTest::newRow("words with spaces") << QStringList{"say", "two words", "line\nbreak"} << false
                                       << QStringLiteral("unknown command: say two words line\nbreak");
    QTest::newRow("nothing") << QStringList{} << false << QStringLiteral("unknown command: ");
}

void TestControlChannel::roundTrip() {
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    const ControlChannel::Reply reply = ControlChannel::request(m_key, args);
    QVERIFY(reply.reached);
    QCOMPARE(reply.ok, ok);
    QCOMPARE(reply.text, text);
}

void TestControlChannel::clientPrintsAndExits_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("ok") << QStringList{"press-dpi", "2"} << 0 << QStringLiteral("pressed 2\n") << QString();
    QTest::newRow("refused") << QStringList{"unplug", "now"} << 1 << QString()
                             << QStringLiteral("unknown command: unplug now\n");
    QTest::newRow("dump keeps its newline")
        << QStringList{"dump"} << 0 << QStringLiteral("[state]\ndpi=6\nname=a \"quoted\" word\n") << QString();
}

void TestControlChannel::clientPrintsAndExits() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);
    QCOMPARE(ControlChannel::runClient(m_key, args, outStream, errStream), exitCode);
    QCOMPARE(outText, out);
    QCOMPARE(errText, err);
}

void TestControlChannel::noInstanceExitsThree() {
    QString outText;
    QString errText;
    QTextStream outStream(&outText);
    QTextStream errStream(&errText);
    QCOMPARE(ControlChannel::runClient(m_key + "-other", {"dump"}, outStream, errStream),
             ControlChannel::kExitNoInstance);
    QVERIFY(outText.isEmpty());
    QVERIFY(!errText.isEmpty());
}

void TestControlChannel::malformedRequestIsRefused() {
    QLocalSocket socket;
    socket.connectToServer(ControlChannel::serverNameFor(m_key));
    QVERIFY(socket.waitForConnected(2000));
    socket.write("not json\n[1, 2]\n");
    QByteArray answers;
    while (answers.count('\n') < 2 && socket.waitForReadyRead(2000))
        answers += socket.readAll();
    QCOMPARE(answers, QByteArray("{\"ok\":false,\"text\":\"malformed request\"}\n"
                                 "{\"ok\":false,\"text\":\"malformed request\"}\n"));
}

void TestControlChannel::secondServerOnSameKeyIsRefused() {
    ControlChannel second([](const QStringList&, bool* ok) {
        *ok = true;
        return QString();
    });
    QVERIFY(!second.listen(m_key));
    QVERIFY(ControlChannel::request(m_key, {"press-dpi", "1"}).ok);
}

void TestControlChannel::leftoverSocketFileIsReclaimed() {
    // What a crashed instance leaves behind: the socket's file with nobody listening.
    const QString key = m_key + QStringLiteral("-crashed");
    const QString leftover = QDir(QDir::tempPath()).filePath(ControlChannel::serverNameFor(key));
    QFile file(leftover);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    ControlChannel channel([](const QStringList&, bool* ok) {
        *ok = true;
        return QStringLiteral("alive");
    });
    QVERIFY(channel.listen(key));
    QVERIFY(channel.isListening());
}

QTEST_GUILESS_MAIN(TestControlChannel)
#include "tst_controlchannel.moc"
