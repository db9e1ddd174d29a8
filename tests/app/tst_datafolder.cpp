#include "CommandLineOptions.h"
#include "DataFolder.h"
#include "SingleInstanceGuard.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

// Where the data lives: command line, folder choice, factory seeding, one instance per folder.
class TestDataFolder : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_start = QDir::currentPath();
    const QString m_exe = QCoreApplication::applicationFilePath();

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QByteArray read(const QString& file) const {
        QFile f(path(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& file, const QByteArray& content) {
        QDir().mkpath(QFileInfo(path(file)).absolutePath());
        QFile f(path(file));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
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
    void cleanup() {
        QDir::setCurrent(m_start);
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void commandLineOptions_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("options"); // data folder|virtual device|trace file|positional; empty on error
        const auto row = [](const char* args, const char* options) { QTest::newRow(args) << args << options; };
        row("quellar", "|0||");
        row("quellar --data /tmp/d --virtual-device --trace -", "/tmp/d|1|-|");
        row("quellarctl --data=/x virtual dump", "/x|0||virtual dump");
        row("quellarctl --virtual-device call op -1 --trace x", "|1||call op -1 --trace x"); // the command's words
        row("quellar --data", "");
        row("quellar --data=", "");
        QTest::newRow("quellar --data ''") << QStringLiteral("quellar\n--data\n") << "";
        row("quellar --bogus", "");
    }
    void commandLineOptions() {
        QFETCH(QString, args);
        QFETCH(QString, options);
        CommandLineOptions o;
        QString error;
        const bool ok = CommandLineOptions::parse(args.split(args.contains(u'\n') ? u'\n' : u' '), &o, &error);
        QCOMPARE(ok, error.isEmpty());
        const QStringList got{o.dataFolder, QString::number(o.virtualDevice), o.traceFile, o.positional.join(u' ')};
        QCOMPARE(ok ? got.join(u'|') : QString(), options);
    }

    void folderPrecedence() {
        DataFolder::Inputs inputs{QString(), path("exe"), path("xdg"), path("home")};
        QDir().mkpath(path("exe/modules"));
        QCOMPARE(DataFolder::choose(inputs), path("xdg/quellar"));
        for (const QString& unusable : {QString(), QStringLiteral("relative/dir")}) {
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
    }

    void factoryRootsPreferTheTreeTheProgramRunsFrom() {
        const QStringList fromBuild = DataFolder::factoryRoots(path("build"));
        QCOMPARE(fromBuild.size(), 2);
        QVERIFY(fromBuild.first().endsWith("packaging/data") && fromBuild.last().endsWith("share/quellar"));
        QCOMPARE(DataFolder::factoryRoots(fromBuild.last() + "/../../bin").first(), fromBuild.last());
    }

    void secondGuardOnSameKeyIsRefused() {
        QVERIFY(QDir().mkpath(path("data")));
        {
            SingleInstanceGuard first(m_exe, path("data"));
            QVERIFY(first.tryAcquire());
            QVERIFY(first.lockFilePath().startsWith(m_dir.path()));
            SingleInstanceGuard second(m_exe, path("data/../data/."));
            QVERIFY(!second.tryAcquire());
            QVERIFY(first.isAcquired() && !second.isAcquired());
            SingleInstanceGuard other(m_exe, path("other")); // separate data folders coexist
            QVERIFY(other.tryAcquire());
        }
        QVERIFY(SingleInstanceGuard(m_exe, path("data")).tryAcquire()); // released with the first
    }

    void staleLockIsTakenOver() {
        QProcess finished; // a lock file left by a process that has ended
        finished.start(QStringLiteral("true"), {});
        QVERIFY(finished.waitForStarted());
        const qint64 deadPid = finished.processId();
        QVERIFY(finished.waitForFinished());
        QFile stale(SingleInstanceGuard::lockFilePathFor(m_exe, path("data")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(deadPid) + "\ntst_datafolder\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        QVERIFY(SingleInstanceGuard(m_exe, path("data")).tryAcquire());
    }

    void withoutRuntimeFolderTheLockGoesToTemp() {
        qunsetenv("XDG_RUNTIME_DIR");
        QCOMPARE(QFileInfo(SingleInstanceGuard::lockFilePathFor(m_exe, path("data"))).absolutePath(), QDir::tempPath());
        SingleInstanceGuard first(m_exe, path("data"));
        QVERIFY(first.tryAcquire());
        QVERIFY(!SingleInstanceGuard(m_exe, path("data")).tryAcquire());
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
