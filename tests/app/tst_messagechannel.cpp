#include "InputHook.h"
#include "MessageChannel.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

class TestMessageChannel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void taggedMessageReachesHandler_data();
    void taggedMessageReachesHandler();
    void otherTagShowsNothing();
    void wrongLengthShowsNothing_data();
    void wrongLengthShowsNothing();
    void unterminatedMessageShowsNothing();
    void oversizedMessageIsCutOff();
    void noWindowSendsNothing();
    void titlesAreSeparate();
    void hookDeliversToCopyDataHandler();

private:
    QString uniqueTitle() const { return QStringLiteral("Quellar test ") + QUuid::createUuid().toString(); }
    // Lets the receiving side, which lives on this thread, read what was sent.
    void settle() { QTest::qWait(100); }

    QString m_title;
    MessageChannel* m_channel = nullptr;
    QStringList m_received;
};

void TestMessageChannel::init() {
    m_title = uniqueTitle();
    m_received.clear();
    delete m_channel;
    m_channel = new MessageChannel(this);
    m_channel->setHandler([this](const QString& text) { m_received << text; });
    QVERIFY(m_channel->listen(m_title));
}

void TestMessageChannel::taggedMessageReachesHandler_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("demo notice") << QStringLiteral("===== Demo Mode =====");
    QTest::newRow("multi-byte") << QStringLiteral("Größe – 设置 ✓");
    QTest::newRow("empty") << QString();
}

void TestMessageChannel::taggedMessageReachesHandler() {
    QFETCH(QString, text);
    QVERIFY(MessageChannel::sendText(m_title, text));
    QTRY_COMPARE(m_received.size(), 1);
    QCOMPARE(m_received.first(), text);
}

void TestMessageChannel::otherTagShowsNothing() {
    const QByteArray bytes = QByteArrayLiteral("hello");
    QVERIFY(MessageChannel::sendFrame(m_title, 0x250E, 5, bytes));
    QVERIFY(MessageChannel::sendFrame(m_title, 0, 5, bytes));
    settle();
    QVERIFY(m_received.isEmpty());
    // The channel still works afterwards.
    QVERIFY(MessageChannel::sendFrame(m_title, MessageChannel::kWarningTag, 5, bytes));
    QTRY_COMPARE(m_received, QStringList{QStringLiteral("hello")});
}

void TestMessageChannel::wrongLengthShowsNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("announced");
    QTest::newRow("one short") << QByteArrayLiteral("hello") << 4;
    QTest::newRow("one long") << QByteArrayLiteral("hello") << 6;
    QTest::newRow("characters instead of bytes") << QStringLiteral("Grüße").toUtf8() << 5;
    QTest::newRow("embedded zero") << QByteArray("ab\0cd", 5) << 5;
    QTest::newRow("invalid utf-8") << QByteArray("\xff\xfe", 2) << 2;
}

void TestMessageChannel::wrongLengthShowsNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, announced);
    QVERIFY(MessageChannel::sendFrame(m_title, MessageChannel::kWarningTag, quint32(announced), bytes));
    settle();
    QVERIFY(m_received.isEmpty());
}

void TestMessageChannel::unterminatedMessageShowsNothing() {
    QLocalSocket socket;
    socket.connectToServer(MessageChannel::serverNameFor(m_title));
    QVERIFY(socket.waitForConnected(1000));
    socket.write(QByteArray("\x0f\x25\x00\x00\x02\x00\x00\x00hi", 10));
    QVERIFY(socket.waitForBytesWritten(1000));
    socket.disconnectFromServer();
    settle();
    QVERIFY(m_received.isEmpty());
}

void TestMessageChannel::oversizedMessageIsCutOff() {
    const QByteArray huge(MessageChannel::kMaxMessageBytes + 100, 'x');
    MessageChannel::sendFrame(m_title, MessageChannel::kWarningTag, quint32(huge.size()), huge);
    settle();
    QVERIFY(m_received.isEmpty());
    QVERIFY(MessageChannel::sendText(m_title, QStringLiteral("after")));
    QTRY_COMPARE(m_received, QStringList{QStringLiteral("after")});
}

void TestMessageChannel::noWindowSendsNothing() {
    QVERIFY(!MessageChannel::sendText(uniqueTitle(), QStringLiteral("nobody")));
    settle();
    QVERIFY(m_received.isEmpty());
}

void TestMessageChannel::titlesAreSeparate() {
    MessageChannel other;
    QStringList otherReceived;
    other.setHandler([&](const QString& text) { otherReceived << text; });
    const QString otherTitle = uniqueTitle();
    QVERIFY(other.listen(otherTitle));
    QVERIFY(MessageChannel::sendText(otherTitle, QStringLiteral("to other")));
    QTRY_COMPARE(otherReceived, QStringList{QStringLiteral("to other")});
    QVERIFY(m_received.isEmpty());
    // A second listener on a title that is in use is refused.
    MessageChannel duplicate;
    QVERIFY(!duplicate.listen(otherTitle));
}

void TestMessageChannel::hookDeliversToCopyDataHandler() {
    InputHook hook;
    QStringList shown;
    const QString title = uniqueTitle();
    QVERIFY(hook.registerCopyDataHandler([&](const QString& text) { shown << text; }, title));
    QVERIFY(InputHook::sendTextToWindow(title, QStringLiteral("===== Demo Mode =====")));
    QTRY_COMPARE(shown, QStringList{QStringLiteral("===== Demo Mode =====")});
}

QTEST_GUILESS_MAIN(TestMessageChannel)
#include "tst_messagechannel.moc"
