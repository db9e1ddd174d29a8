#include "SingleInstanceGuard.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstanceGuard : public QObject {
    Q_OBJECT

private slots:
    void init();
    void secondGuardOnSameKeyIsRefused();
    void separateDataFoldersCoexist();
    void releaseLetsTheNextOneIn();
    void staleLockIsTakenOver();
    void pathsAreCanonical();
    void withoutRuntimeFolderUsesTemp();

private:
    QString exe() const { return QCoreApplication::applicationFilePath(); }
    QTemporaryDir m_dir;
};

void TestSingleInstanceGuard::init() {
    QVERIFY(m_dir.isValid());
    // Point the runtime folder into the temporary folder so nothing leaks between runs.
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSingleInstanceGuard::secondGuardOnSameKeyIsRefused() {
    const QString data = m_dir.filePath(QStringLiteral("data"));
    SingleInstanceGuard first(exe(), data);
    QVERIFY(first.tryAcquire());
    QVERIFY(first.isAcquired());
    QVERIFY(first.lockFilePath().startsWith(m_dir.path()));
    SingleInstanceGuard second(exe(), data);
    QVERIFY(!second.tryAcquire());
    QVERIFY(!second.isAcquired());
    QVERIFY(first.isAcquired());
}

void TestSingleInstanceGuard::separateDataFoldersCoexist() {
    SingleInstanceGuard a(exe(), m_dir.filePath(QStringLiteral("a")));
    SingleInstanceGuard b(exe(), m_dir.filePath(QStringLiteral("b")));
    QVERIFY(a.lockFilePath() != b.lockFilePath());
    QVERIFY(a.tryAcquire());
    QVERIFY(b.tryAcquire());
}

void TestSingleInstanceGuard::releaseLetsTheNextOneIn() {
    const QString data = m_dir.filePath(QStringLiteral("data"));
    {
        SingleInstanceGuard first(exe(), data);
        QVERIFY(first.tryAcquire());
    }
    SingleInstanceGuard next(exe(), data);
    QVERIFY(next.tryAcquire());
}

void TestSingleInstanceGuard::staleLockIsTakenOver() {
    const QString data = m_dir.filePath(QStringLiteral("data"));
    const QString path = SingleInstanceGuard::lockFilePathFor(exe(), data);
    // A lock file left by a process that has ended.
    QProcess finished;
    finished.start(QStringLiteral("true"), {});
    QVERIFY(finished.waitForStarted());
    const qint64 deadPid = finished.processId();
    QVERIFY(finished.waitForFinished());
    QFile stale(path);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(deadPid) + "\ntst_singleinstanceguard\n" + QSysInfo::machineHostName().toUtf8() +
                "\n");
    stale.close();
    SingleInstanceGuard guard(exe(), data);
    QVERIFY(guard.tryAcquire());
}

void TestSingleInstanceGuard::pathsAreCanonical() {
    const QString data = m_dir.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(data));
    const QString roundabout = m_dir.filePath(QStringLiteral("data/../data/."));
    QCOMPARE(SingleInstanceGuard::lockFilePathFor(exe(), roundabout),
             SingleInstanceGuard::lockFilePathFor(exe(), data));
}

void TestSingleInstanceGuard::withoutRuntimeFolderUsesTemp() {
    qunsetenv("XDG_RUNTIME_DIR");
    const QString path = SingleInstanceGuard::lockFilePathFor(exe(), m_dir.filePath(QStringLiteral("data")));
    QCOMPARE(QFileInfo(path).absolutePath(), QDir::tempPath());
    SingleInstanceGuard first(exe(), m_dir.filePath(QStringLiteral("data")));
    SingleInstanceGuard second(exe(), m_dir.filePath(QStringLiteral("data")));
    QVERIFY(first.tryAcquire());
    QVERIFY(!second.tryAcquire());
}

QTEST_GUILESS_MAIN(TestSingleInstanceGuard)
#include "tst_singleinstanceguard.moc"
