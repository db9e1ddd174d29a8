#include "CommandLineOptions.h"
#include "DataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDataFolder : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void explicitFolderComesFirst();
    void portableFolderNeedsWritableSettings();
    void xdgDataHomeThenHome_data();
    void xdgDataHomeThenHome();
    void seedingCopiesMissingFiles();
    void seedingNeverOverwrites();
    void seedingTakesFirstRootWithModules();
    void seededCopiesAreWritable();
    void prepareCreatesSeedsAndEnters();
    void factoryRootsPreferTheTreeTheProgramRunsFrom();
    void commandLineOptions_data();
    void commandLineOptions();

private:
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    void writeFile(const QString& file, const QByteArray& content);
    QByteArray readFile(const QString& file) const;
    QString makeFactory(const QString& name);

    QTemporaryDir m_dir;
    QString m_previousCurrent;
};

void TestDataFolder::init() {
    QVERIFY(m_dir.isValid());
    m_previousCurrent = QDir::currentPath();
}

void TestDataFolder::cleanup() {
    QDir::setCurrent(m_previousCurrent);
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

void TestDataFolder::writeFile(const QString& file, const QByteArray& content) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray TestDataFolder::readFile(const QString& file) const {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TestDataFolder::makeFactory(const QString& name) {
    const QString root = path(name);
    writeFile(root + "/modules/setting/apConfig.bin", "[General]\nfactory=1\n");
    writeFile(root + "/modules/setting/p1.bin", "factory p1");
    writeFile(root + "/modules/img/trayIcon.ico", "icon");
    writeFile(root + "/modules/i18n/lang_en.ini", "lang");
    return root;
}

void TestDataFolder::explicitFolderComesFirst() {
    QDir().mkpath(path("exe/modules/setting"));
    DataFolder::Inputs inputs{path("chosen"), path("exe"), path("xdg"), path("home")};
    QCOMPARE(DataFolder::choose(inputs), path("chosen"));
}

void TestDataFolder::portableFolderNeedsWritableSettings() {
    DataFolder::Inputs inputs{QString(), path("exe"), path("xdg"), path("home")};
    QDir().mkpath(path("exe/modules"));
    QCOMPARE(DataFolder::choose(inputs), path("xdg/quellar"));

    QDir().mkpath(path("exe/modules/setting"));
    QCOMPARE(DataFolder::choose(inputs), path("exe"));

    QFile::setPermissions(path("exe/modules/setting"), QFile::ReadOwner | QFile::ExeOwner);
    const bool writable = QFileInfo(path("exe/modules/setting")).isWritable();
    if (!writable) // root ignores permissions, so this half only runs for normal users
        QCOMPARE(DataFolder::choose(inputs), path("xdg/quellar"));
    QFile::setPermissions(path("exe/modules/setting"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestDataFolder::xdgDataHomeThenHome_data() {
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("expected");
    QTest::newRow("xdg set") << QStringLiteral("xdg") << QStringLiteral("xdg/quellar");
    QTest::newRow("xdg empty") << QString() << QStringLiteral("home/.local/share/quellar");
    QTest::newRow("xdg relative is ignored")
        << QStringLiteral("relative/dir") << QStringLiteral("home/.local/share/quellar");
}

void TestDataFolder::xdgDataHomeThenHome() {
    QFETCH(QString, xdg);
    QFETCH(QString, expected);
    const QString xdgValue = xdg.isEmpty() || xdg.startsWith("relative") ? xdg : path(xdg);
    DataFolder::Inputs inputs{QString(), path("exe"), xdgValue, path("home")};
    QCOMPARE(DataFolder::choose(inputs), path(expected));
}

void TestDataFolder::seedingCopiesMissingFiles() {
    const QString factory = makeFactory("factory");
    QCOMPARE(DataFolder::seedFactoryFiles(path("data"), {factory}), 4);
    QCOMPARE(readFile(path("data/modules/setting/p1.bin")), QByteArray("factory p1"));
    QCOMPARE(readFile(path("data/modules/img/trayIcon.ico")), QByteArray("icon"));
    QCOMPARE(readFile(path("data/modules/i18n/lang_en.ini")), QByteArray("lang"));
    // A second run finds everything in place.
    QCOMPARE(DataFolder::seedFactoryFiles(path("data"), {factory}), 0);
}

void TestDataFolder::seedingNeverOverwrites() {
    const QString factory = makeFactory("factory");
    writeFile(path("data/modules/setting/p1.bin"), "user p1");
    writeFile(path("data/modules/setting/p2.bin"), "user only");
    QCOMPARE(DataFolder::seedFactoryFiles(path("data"), {factory}), 3);
    QCOMPARE(readFile(path("data/modules/setting/p1.bin")), QByteArray("user p1"));
    QCOMPARE(readFile(path("data/modules/setting/p2.bin")), QByteArray("user only"));
    QCOMPARE(readFile(path("data/modules/setting/apConfig.bin")), QByteArray("[General]\nfactory=1\n"));
}

void TestDataFolder::seedingTakesFirstRootWithModules() {
    const QString second = makeFactory("second");
    writeFile(path("first/modules/setting/p1.bin"), "first p1");
    QCOMPARE(DataFolder::seedFactoryFiles(path("data"), {path("missing"), path("first"), second}), 1);
    QCOMPARE(readFile(path("data/modules/setting/p1.bin")), QByteArray("first p1"));
    QVERIFY(!QFile::exists(path("data/modules/img/trayIcon.ico")));
    QCOMPARE(DataFolder::seedFactoryFiles(path("data2"), {path("missing")}), 0);
}

void TestDataFolder::seededCopiesAreWritable() {
    const QString factory = makeFactory("factory");
    QFile::setPermissions(factory + "/modules/setting/p1.bin", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QCOMPARE(DataFolder::seedFactoryFiles(path("data"), {factory}), 4);
    QVERIFY(QFile::permissions(path("data/modules/setting/p1.bin")).testFlag(QFile::WriteOwner));
}

void TestDataFolder::prepareCreatesSeedsAndEnters() {
    const QString factory = makeFactory("factory");
    DataFolder::Inputs inputs{path("fresh/data"), path("exe"), QString(), path("home")};
    QString folder;
    QString error;
    QVERIFY2(DataFolder::prepare(inputs, {factory}, &folder, &error), qPrintable(error));
    QCOMPARE(folder, path("fresh/data"));
    QCOMPARE(QDir::currentPath(), QDir(path("fresh/data")).canonicalPath());
    QVERIFY(QFileInfo(QStringLiteral("modules/setting")).isDir());
    QCOMPARE(readFile(QStringLiteral("modules/setting/p1.bin")), QByteArray("factory p1"));
}

void TestDataFolder::factoryRootsPreferTheTreeTheProgramRunsFrom() {
    const QStringList fromBuild = DataFolder::factoryRoots(path("build"));
    QCOMPARE(fromBuild.size(), 2);
    QVERIFY(fromBuild.first().endsWith(QStringLiteral("packaging/data")));
    QVERIFY(fromBuild.last().endsWith(QStringLiteral("share/quellar")));
    const QString installedBin = QDir::cleanPath(fromBuild.last() + QStringLiteral("/../../bin"));
    const QStringList fromInstall = DataFolder::factoryRoots(installedBin);
    QCOMPARE(fromInstall.first(), fromBuild.last());
}

void TestDataFolder::commandLineOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("virtualDevice");
    QTest::addColumn<QString>("trace");
    QTest::addColumn<QStringList>("positional");

    QTest::newRow("none") << QStringList{"quellar"} << true << QString() << false << QString() << QStringList();
    QTest::newRow("all") << QStringList{"quellar", "--data", "/tmp/d", "--virtual-device", "--trace", "-"} << true
                         << "/tmp/d" << true << "-" << QStringList();
    QTest::newRow("equals form") << QStringList{"quellarctl", "--data=/x", "virtual", "dump"} << true << "/x" << false
                                 << QString() << QStringList{"virtual", "dump"};
    QTest::newRow("command words stay the command's")
        << QStringList{"quellarctl", "--virtual-device", "call", "op", "-1", "--trace", "x"} << true << QString()
        << true << QString() << QStringList{"call", "op", "-1", "--trace", "x"};
    QTest::newRow("missing value") << QStringList{"quellar", "--data"} << false << QString() << false << QString()
                                   << QStringList();
    QTest::newRow("empty value") << QStringList{"quellar", "--data="} << false << QString() << false << QString()
                                 << QStringList();
    QTest::newRow("unknown option") << QStringList{"quellar", "--bogus"} << false << QString() << false << QString()
                                    << QStringList();
}

void TestDataFolder::commandLineOptions() {
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QFETCH(QString, data);
    QFETCH(bool, virtualDevice);
    QFETCH(QString, trace);
    QFETCH(QStringList, positional);

    CommandLineOptions options;
    QString error;
    QCOMPARE(CommandLineOptions::parse(args, &options, &error), ok);
    if (!ok) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(options.dataFolder, data);
    QCOMPARE(options.virtualDevice, virtualDevice);
    QCOMPARE(options.traceFile, trace);
    QCOMPARE(options.positional, positional);
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
