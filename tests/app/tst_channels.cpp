#include "ControlChannel.h"
#include "InputHook.h"
#include "MessageChannel.h"
#include "WarningPresenter.h"

#include <QDir>
#include <QEventLoop>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>
#include <QThread>
#include <QUuid>

#include <algorithm>

// The window message channel (a frame is tag and byte count, little-endian, UTF-8 text and a zero)
// and the control channel, whose server runs on a thread: the client blocks for its answer.
class TestChannels : public QObject {
    Q_OBJECT

    InputHook m_hook;
    const QString m_title = newName();
    QStringList m_shown;
    const QString m_key = QDir::temp().filePath(newName());
    std::unique_ptr<QThread> m_server;
    std::atomic<int> m_listening{0}; // 1 listening, -1 refused

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
        QVERIFY(m_hook.registerCopyDataHandler([this](const QString& text) { m_shown << text; }, m_title));
        m_server.reset(QThread::create([this] {
            ControlChannel channel(&handle);
            m_listening = channel.listen(m_key) ? 1 : -1;
            if (m_listening == 1)
                QEventLoop().exec();
        }));
        m_server->start();
        QTRY_VERIFY(m_listening != 0);
        QCOMPARE(m_listening.load(), 1);
    }
    void cleanupTestCase() {
        m_server->quit();
        m_server->wait();
    }

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
            QTest::qWait(200);
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

    void leftoverSocketFileIsReclaimed() {
        // What a crashed instance leaves behind: the socket's file with nobody listening.
        const QString key = m_key + QStringLiteral("-crashed");
        QFile leftover(QDir(QDir::tempPath()).filePath(ControlChannel::serverNameFor(key)));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        QVERIFY(ControlChannel(&handle).listen(key));
    }
};

QTEST_GUILESS_MAIN(TestChannels)
#include "tst_channels.moc"
