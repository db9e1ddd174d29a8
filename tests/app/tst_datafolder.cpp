// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLineOptions.h"
#include "ControlChannel.h"
#include "DataFolder.h"
#include "LocalEndpoint.h"
#include "SingleInstanceGuard.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// Where the data lives: command line, folder choice, factory seeding, one instance per folder.
class TestDataFolder : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_start = QDir::currentPath();
    const QByteArray m_tmpDir = qgetenv("TMPDIR");
    static constexpr uid_t kOtherUser = 54321;

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QByteArray read(const QString& file) const { return readFile(path(file)); }
    void write(const QString& file, const QByteArray& content) {
        QDir().mkpath(QFileInfo(path(file)).absolutePath());
        QVERIFY(writeFile(path(file), content));
    }
    QString makeFactory(const QString& root) {
        for (const char* file : {"setting/apConfig.bin", "setting/p1.bin", "img/trayIcon.ico", "i18n/lang_en.ini"})
            write(root + "/modules/" + file, QByteArray("factory ") + file);
        return path(root);
    }

private slots:
    void init() {
        // The runtime folder lies in the temporary folder, so no lock leaks between runs.
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Gives path to another user; false when this process may not (only root may).
    static bool giveAway(const QString& path) {
        return ::lchown(QFile::encodeName(path).constData(), kOtherUser, kOtherUser) == 0;
    }

    void cleanup() {
        if (m_tmpDir.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_tmpDir);
        QDir::setCurrent(m_start);
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void commandLineOptions_data() {
        QTest::addColumn<QString>("args");
        // data folder|virtual device|trace file|positional|hidden, help, version; empty on error
        QTest::addColumn<QString>("options");
        const auto row = [](const char* args, const char* options) { QTest::newRow(args) << args << options; };
        row("quellar", "|0|||000");
        row("quellar --data /tmp/d --virtual-device --trace -", "/tmp/d|1|-||000");
        row("quellarctl --data=/x virtual dump", "/x|0||virtual dump|000");
        row("quellarctl --virtual-device call op -1 --trace x", "|1||call op -1 --trace x|000"); // the command's words
        row("quellar --hidden --verbose", "|0|||100");
        row("quellar -h", "|0|||010");
        row("quellar --help --version", "|0|||011");
        row("quellar --version", "|0|||001");
        row("quellar --data", "");
        row("quellar --data=", "");
        QTest::newRow("quellar --data ''") << QString("quellar\n--data\n") << "";
        row("quellar --bogus", "");
    }
    void commandLineOptions() {
        QFETCH(QString, args);
        QFETCH(QString, options);
        CommandLineOptions o;
        QString error;
        const bool ok = CommandLineOptions::parse(args.split(args.contains(u'\n') ? u'\n' : u' '), &o, &error);
        QCOMPARE(ok, error.isEmpty());
        const QString flags =
            QString::number(o.hidden) + QString::number(o.helpRequested) + QString::number(o.versionRequested);
        const QStringList got{o.dataFolder, QString::number(o.virtualDevice), o.traceFile, o.positional.join(u' '),
                              flags};
        QCOMPARE(ok ? got.join(u'|') : QString(), options);
    }

    void folderPrecedence() {
        DataFolder::Inputs inputs{QString(), path("exe"), path("xdg"), path("home")};
        QDir().mkpath(path("exe/modules"));
        QCOMPARE(DataFolder::choose(inputs), path("xdg/quellar"));
        for (const QString& unusable : {QString(), QString("relative/dir")}) {
            inputs.xdgDataHome = unusable;
            QCOMPARE(DataFolder::choose(inputs), path("home/.local/share/quellar"));
        }
        QDir().mkpath(path("exe/modules/setting")); // a writable settings folder makes it portable
        QCOMPARE(DataFolder::choose(inputs), path("exe"));
        QFile::setPermissions(path("exe/modules/setting"), QFile::ReadOwner | QFile::ExeOwner);
        if (!QFileInfo(path("exe/modules/setting")).isWritable()) // root ignores permissions
            QCOMPARE(DataFolder::choose(inputs), path("home/.local/share/quellar"));
        QFile::setPermissions(path("exe/modules/setting"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        inputs.explicitFolder = path("chosen");
        QCOMPARE(DataFolder::choose(inputs), path("chosen"));
    }

    void seedingNeverOverwrites() {
        const QString factory = makeFactory("factory");
        QFile::setPermissions(factory + "/modules/img/trayIcon.ico", QFile::ReadOwner | QFile::ReadGroup);
        write("data/modules/setting/p1.bin", "user p1");
        write("data/modules/setting/p2.bin", "user only");
        QCOMPARE(DataFolder::seedFactoryFiles(path("data"), {factory}), 3);
        QCOMPARE(read("data/modules/setting/p1.bin"), "user p1");
        QCOMPARE(read("data/modules/setting/p2.bin"), "user only");
        QCOMPARE(read("data/modules/i18n/lang_en.ini"), "factory i18n/lang_en.ini");
        QVERIFY(QFile::permissions(path("data/modules/img/trayIcon.ico")).testFlag(QFile::WriteOwner));
        QCOMPARE(DataFolder::seedFactoryFiles(path("data"), {factory}), 0); // everything in place
        // Only the first root with modules counts.
        write("first/modules/setting/p1.bin", "first p1");
        QCOMPARE(DataFolder::seedFactoryFiles(path("data2"), {path("missing"), path("first"), factory}), 1);
        QCOMPARE(read("data2/modules/setting/p1.bin"), "first p1");
        QCOMPARE(DataFolder::seedFactoryFiles(path("data3"), {path("missing")}), 0);
    }

    void prepareCreatesSeedsAndEnters() {
        DataFolder::Inputs inputs{path("fresh/data"), path("exe"), QString(), path("home")};
        QString folder;
        QString error;
        QVERIFY2(DataFolder::prepare(inputs, {makeFactory("factory")}, &folder, &error), qPrintable(error));
        QCOMPARE(folder, path("fresh/data"));
        QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());
        QCOMPARE(read("fresh/data/modules/setting/p1.bin"), "factory setting/p1.bin");
        // The factory tree beside the program comes first.
        const QStringList roots = DataFolder::factoryRoots(path("any/prefix/bin"));
        QCOMPARE(roots.size(), 2);
        QCOMPARE(roots.first(), path("any/prefix/share/quellar"));
        QVERIFY(roots.last().endsWith("packaging/data"));
    }

    // A second guard on the same folder is refused; a stale lock is not.
    void secondGuardOnSameKeyIsRefused() {
        QVERIFY(QDir().mkpath(path("data")));
        QVERIFY(QFile::link(path("data"), path("link")));
        {
            SingleInstanceGuard first(path("data"));
            QVERIFY(first.tryAcquire());
            QVERIFY(first.lockFilePath().startsWith(m_dir.path()));
            for (const char* same : {"data/../data/.", "link"}) {
                SingleInstanceGuard second(path(same));
                QCOMPARE(second.acquire(), SingleInstanceGuard::Outcome::Held);
                QCOMPARE(second.holderName(), "tst_datafolder");
            }
            SingleInstanceGuard other(path("other")); // separate data folders coexist
            QVERIFY(other.tryAcquire());
        }
        QVERIFY(SingleInstanceGuard(path("data")).tryAcquire()); // released with the first
        // A folder named before it exists keeps its name once created.
        const QString before = SingleInstanceGuard::lockFilePathFor(path("link/new"));
        QVERIFY(QDir().mkpath(path("data/new")));
        QCOMPARE(SingleInstanceGuard::lockFilePathFor(path("link/new")), before);
        QProcess finished; // a lock file left by a process that has ended is taken over
        finished.start("true", {});
        QVERIFY(finished.waitForStarted());
        const qint64 deadPid = finished.processId();
        QVERIFY(finished.waitForFinished());
        const QByteArray holder =
            QByteArray::number(deadPid) + "\ntst_datafolder\n" + QSysInfo::machineHostName().toUtf8();
        QVERIFY(writeFile(SingleInstanceGuard::lockFilePathFor(path("data")), holder + "\n"));
        QVERIFY(SingleInstanceGuard(path("data")).tryAcquire());
    }

    void withoutRuntimeFolderAPrivateOneIsMade() {
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", m_dir.path().toUtf8());
        const QString own = path(QString("quellar-%1").arg(::geteuid()));
        QCOMPARE(QFileInfo(SingleInstanceGuard::lockFilePathFor(path("data"))).absolutePath(), own);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(own).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, 0700u);
        SingleInstanceGuard first(path("data"));
        QVERIFY(first.tryAcquire());
        QVERIFY(!SingleInstanceGuard(path("data")).tryAcquire());
    }

    // The runtime folder must be this user's and writable by nobody else; otherwise the lock
    // and every channel are refused with the reason, never placed there.
    void unsafeRuntimeFolderIsRefused_data() {
        QTest::addColumn<bool>("fromEnvironment"); // XDG_RUNTIME_DIR, or the private fallback in TMPDIR
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("otherOwner");
        QTest::addColumn<QString>("reason"); // empty: accepted
        QTest::newRow("private") << true << 0700 << false << "";
        QTest::newRow("readable by others") << true << 0755 << false << "";
        QTest::newRow("group writable") << true << 0770 << false << "other users may write to it (mode 0770)";
        QTest::newRow("world writable") << true << 01777 << false << "other users may write to it (mode 1777)";
        QTest::newRow("another user's") << true << 0700 << true << "it belongs to another user (uid 54321)";
        QTest::newRow("fallback world writable") << false << 0777 << false << "other users may write to it (mode 0777)";
        QTest::newRow("fallback taken by another user") << false << 0700 << true << "it belongs to another user";
    }
    void unsafeRuntimeFolderIsRefused() {
        QFETCH(bool, fromEnvironment);
        QFETCH(int, mode);
        QFETCH(bool, otherOwner);
        QFETCH(QString, reason);
        const QString runtime = fromEnvironment ? path("run") : path(QString("quellar-%1").arg(::geteuid()));
        QVERIFY(QDir().mkpath(runtime));
        QCOMPARE(::chmod(QFile::encodeName(runtime).constData(), mode_t(mode)), 0);
        if (otherOwner && !giveAway(runtime))
            QSKIP("only root can give a folder to another user");
        if (fromEnvironment) {
            qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
            qputenv("TMPDIR", m_dir.path().toUtf8());
        }
        QString error;
        QCOMPARE(LocalEndpoint::runtimeFolder(&error), reason.isEmpty() ? runtime : QString());
        QVERIFY2(error.contains(reason), qPrintable(error));
        if (reason.isEmpty())
            return;
        QVERIFY(error.contains(runtime));
        SingleInstanceGuard guard(path("data"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot take the instance lock: refusing the runtime"));
        QCOMPARE(guard.acquire(), SingleInstanceGuard::Outcome::Refused);
        QVERIFY(guard.errorString().contains(reason));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot open a local channel: refusing the runtime"));
        QVERIFY(!ControlChannel({}).listen(path("data")));
        QCOMPARE(QDir(runtime).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // Inside a private folder only root could plant these, but they are still never used.
    void filesOfAnotherUserAreRefused() {
        const QString planted = SingleInstanceGuard::lockFilePathFor(path("data"));
        QVERIFY(writeFile(planted, {}));
        if (!giveAway(planted))
            QSKIP("only root can give a file to another user");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("cannot take the instance lock: .* belongs to another user"));
        QCOMPARE(SingleInstanceGuard(path("data")).acquire(), SingleInstanceGuard::Outcome::Refused);
        const QString socket = ControlChannel::serverNameFor(path("data"));
        QVERIFY(writeFile(socket, {}) && giveAway(socket));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("cannot open a local channel: .* belongs to another user"));
        QVERIFY(!ControlChannel({}).listen(path("data")));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
