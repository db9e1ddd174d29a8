// The profile table and the whole-profile operations: switching, copying,
// factory reset, import and export, and the page defaults.

#include "AppConfig.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "ScriptedDialogs.h"
#include "TestDataFolder.h"

#include <QTest>

namespace {

const QString kFactory = QStringLiteral("modules/setting/pD_standard.bin");
const QString kDefaults = QStringLiteral("modules/setting/pD.bin");
const QString kConfig = QStringLiteral("modules/setting/apConfig.bin");

QString profileFile(int position) {
    return QStringLiteral("modules/setting/p%1.bin").arg(position + 1);
}

QByteArray profileText(int position) {
    return QStringLiteral("[sensor]\nreportRate_Q3=%1\ndpi_Q3=%1, 200, 300\n").arg(position + 1).toUtf8();
}

// A data folder with ten distinct profiles on disk and the objects under test.
struct Fixture {
    TestDataFolder folder;
    std::unique_ptr<ProfileStore> profiles;
    std::unique_ptr<AppConfig> config;
    ScriptedDialogs dialogs;
    std::unique_ptr<ProfileManager> manager;

    explicit Fixture(bool withProfiles = true) {
        if (withProfiles)
            for (int i = 0; i < ProfileStore::kCount; ++i)
                TestDataFolder::write(profileFile(i), profileText(i));
        TestDataFolder::write(kFactory, "[sensor]\nreportRate_Q3=8\ncursorSpeed_Q3=6\n");
        profiles = std::make_unique<ProfileStore>();
        config = std::make_unique<AppConfig>();
        manager = std::make_unique<ProfileManager>(*profiles, *config, dialogs);
    }
    int rateOf(int position) { return profiles->at(position).value(QStringLiteral("sensor/reportRate_Q3")).toInt(); }
};

} // namespace

class TestProfileStore : public QObject {
    Q_OBJECT
private slots:
    void tableOpensTenFilesInOrder() {
        Fixture f;
        for (int i = 0; i < ProfileStore::kCount; ++i) {
            QCOMPARE(QFileInfo(f.profiles->at(i).fileName()).fileName(), QStringLiteral("p%1.bin").arg(i + 1));
            QCOMPARE(f.rateOf(i), i + 1);
        }
        QCOMPARE(f.profiles->currentIndex(), 0);
    }

    void switchWritesProfileNumberOnlyOnChange() {
        Fixture f;
        f.manager->ui_02H_SetCurrentProfile(0);
        QVERIFY(!QFile::exists(kConfig));
        f.manager->ui_02H_SetCurrentProfile(4);
        QCOMPARE(f.profiles->currentIndex(), 4);
        QCOMPARE(TestDataFolder::onDisk(kConfig, QStringLiteral("Q3/profileNo")).toInt(), 4);
        QCOMPARE(f.profiles->current().value(QStringLiteral("sensor/reportRate_Q3")).toInt(), 5);
    }

    void setProfileDoesNotSwitch() {
        Fixture f;
        f.config->setProfile(6);
        QCOMPARE(f.profiles->currentIndex(), 0);
    }

    void copyProfile_data() {
        QTest::addColumn<int>("dest");
        QTest::addColumn<int>("src");
        QTest::newRow("1 <- 2") << 1 << 2;
        QTest::newRow("2 <- 1") << 2 << 1;
        QTest::newRow("9 <- 0") << 9 << 0;
    }
    void copyProfile() {
        QFETCH(int, dest);
        QFETCH(int, src);
        Fixture f;
        f.manager->copyProfile(dest, src);
        QCOMPARE(TestDataFolder::read(profileFile(dest)), profileText(src));
        QCOMPARE(f.rateOf(dest), src + 1);
        for (int i = 0; i < ProfileStore::kCount; ++i) {
            QCOMPARE(QFileInfo(f.profiles->at(i).fileName()).fileName(), QStringLiteral("p%1.bin").arg(i + 1));
            if (i != dest)
                QCOMPARE(TestDataFolder::read(profileFile(i)), profileText(i));
        }
    }

    void copyCarriesUnflushedSourceChanges() {
        Fixture f;
        f.manager->ui_02H_SetCurrentProfile(3);
        f.profiles->current().setValue(QStringLiteral("sensor/stage_Q3"), 4);
        f.manager->copyProfile(5, 3);
        QCOMPARE(f.profiles->at(5).value(QStringLiteral("sensor/stage_Q3")).toInt(), 4);
    }

    void copyOntoItselfKeepsProfile() {
        Fixture f;
        f.manager->copyProfile(2, 2);
        QCOMPARE(TestDataFolder::read(profileFile(2)), profileText(2));
        QCOMPARE(f.rateOf(2), 3);
    }

    void positionsOutsideTableAreRefused_data() {
        QTest::addColumn<int>("position");
        QTest::newRow("-1") << -1;
        QTest::newRow("10") << 10;
        QTest::newRow("huge") << 1000000;
    }
    void positionsOutsideTableAreRefused() {
        QFETCH(int, position);
        Fixture f;
        f.dialogs.openAnswer = kFactory;
        f.dialogs.saveAnswer = QStringLiteral("out.pf");
        const QRegularExpression refused(QStringLiteral("refused"));
        for (int i = 0; i < 7; ++i)
            QTest::ignoreMessage(QtWarningMsg, refused);
        f.manager->resetProfile(position);
        f.manager->copyProfile(position, 1);
        f.manager->copyProfile(1, position);
        QVERIFY(!f.manager->loadProfile(position));
        f.manager->saveProfile(position);
        f.manager->ui_02H_SetCurrentProfile(position);
        QCOMPARE(f.profiles->currentIndex(), 0);
        QVERIFY(f.dialogs.asked.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("out.pf")));
        const QStringList files = QDir(QStringLiteral("modules/setting")).entryList(QDir::Files);
        QCOMPARE(files.size(), ProfileStore::kCount + 1); // nothing created, nothing deleted
        for (int i = 0; i < ProfileStore::kCount; ++i)
            QCOMPARE(TestDataFolder::read(profileFile(i)), profileText(i));
        // equal numbers out of range are refused as well
        f.manager->copyProfile(position, position);
    }

    void resetCopiesFactoryProfile() {
        Fixture f;
        f.manager->resetProfile(3);
        QCOMPARE(TestDataFolder::read(profileFile(3)), TestDataFolder::read(kFactory));
        QCOMPARE(f.rateOf(3), 8);
        QVERIFY(!f.profiles->at(3).contains(QStringLiteral("sensor/dpi_Q3")));
        for (int i = 0; i < ProfileStore::kCount; ++i)
            if (i != 3)
                QCOMPARE(f.rateOf(i), i + 1);
    }

    void resetWithoutFactoryKeepsProfile() {
        Fixture f;
        QVERIFY(QFile::remove(kFactory));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot read")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("kept")));
        f.manager->resetProfile(3);
        QCOMPARE(TestDataFolder::read(profileFile(3)), profileText(3));
        QCOMPARE(f.rateOf(3), 4);
    }

    void importReplacesProfile() {
        Fixture f;
        QVERIFY(TestDataFolder::write(QStringLiteral("mine.pf"), "[sensor]\nreportRate_Q3=4\n"));
        f.dialogs.openAnswer = QStringLiteral("mine.pf");
        QVERIFY(f.manager->loadProfile(6));
        QCOMPARE(f.dialogs.asked, QStringList{QStringLiteral("open|Open File|Profile(*.pf)")});
        QCOMPARE(TestDataFolder::read(profileFile(6)), QByteArray("[sensor]\nreportRate_Q3=4\n"));
        QCOMPARE(f.rateOf(6), 4);
    }

    void importCancelledChangesNothing() {
        Fixture f;
        QVERIFY(!f.manager->loadProfile(6));
        QCOMPARE(TestDataFolder::read(profileFile(6)), profileText(6));
    }

    void importOfUnreadableFileKeepsProfile() {
        Fixture f;
        f.dialogs.openAnswer = QStringLiteral("missing.pf");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot read")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("kept")));
        QVERIFY(f.manager->loadProfile(6));
        QCOMPARE(TestDataFolder::read(profileFile(6)), profileText(6));
        QCOMPARE(f.rateOf(6), 7);
    }

    void exportCopiesAndReplacesExistingTarget() {
        Fixture f;
        QVERIFY(TestDataFolder::write(QStringLiteral("old.pf"), "stale contents that are longer than the profile"));
        f.dialogs.saveAnswer = QStringLiteral("old.pf");
        f.manager->saveProfile(2);
        QCOMPARE(f.dialogs.asked, QStringList{QStringLiteral("save|Save File|Profile(*.pf)")});
        QCOMPARE(TestDataFolder::read(QStringLiteral("old.pf")), profileText(2));
    }

    void exportUsesNameAsGiven() {
        Fixture f;
        f.dialogs.saveAnswer = QStringLiteral("noextension");
        f.manager->saveProfile(0);
        QCOMPARE(TestDataFolder::read(QStringLiteral("noextension")), profileText(0));
    }

    void exportOntoOwnFileKeepsProfile() {
        Fixture f;
        f.dialogs.saveAnswer = QDir::current().absoluteFilePath(profileFile(4));
        f.manager->saveProfile(4);
        QCOMPARE(TestDataFolder::read(profileFile(4)), profileText(4));
        QCOMPARE(f.rateOf(4), 5);
    }

    void exportOfMissingProfileLeavesTargetDeleted() {
        Fixture f(false);
        QVERIFY(TestDataFolder::write(QStringLiteral("old.pf"), "x"));
        f.dialogs.saveAnswer = QStringLiteral("old.pf");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no file")));
        f.manager->saveProfile(5);
        QVERIFY(!QFile::exists(QStringLiteral("old.pf")));
    }

    void writesReachDiskAtOnce() {
        Fixture f;
        QVERIFY(f.profiles->writeCurrent(QStringLiteral("sensor/stage_Q3"), 3));
        QCOMPARE(TestDataFolder::onDisk(profileFile(0), QStringLiteral("sensor/stage_Q3")).toInt(), 3);
    }

    void defaults_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("page");
        QTest::addColumn<QVariantList>("expected");
        const QByteArray full = "[keydefine_Q3]\n0=1, 0, 240, 0\n1=1, 0, 241, 0\n15=4, 0, 2, 0\n"
                                "[color_Q3]\ntype0=255, 0, 0\nledEffect=1, 3, 2\ntype1=1, 2\ntype2=7\n"
                                "[sensor]\nreportRate_Q3=1\ncursorSpeed_Q3=4\nverticalScrollLines_Q3=3\n"
                                "doubleClickSpeed_Q3=6\ndpi_Q3=800, 1600\nstage_Q3=1\n";
        QTest::newRow("no file, page 3") << QByteArray() << 3 << QVariantList{2, 5, 2, 5, 2};
        QTest::newRow("no file, page 0") << QByteArray() << 0 << QVariantList();
        QTest::newRow("no file, page 2") << QByteArray() << 2 << QVariantList();
        QTest::newRow("page 0") << full << 0 << QVariantList{1, 0, 240, 0, 1, 0, 241, 0, 4, 0, 2, 0};
        QTest::newRow("page 1") << full << 1 << QVariantList();
        QTest::newRow("page 2") << full << 2 << QVariantList{255, 0, 0, 1, 3, 2};
        QTest::newRow("page 3") << full << 3 << QVariantList{1, 4, 3, 6, 800, 1600, 1, 1, 2, 7};
        QTest::newRow("page 4") << full << 4 << QVariantList();
        QTest::newRow("page 255") << full << 255 << QVariantList();
    }
    void defaults() {
        QFETCH(QByteArray, file);
        QFETCH(int, page);
        QFETCH(QVariantList, expected);
        Fixture f;
        if (!file.isEmpty())
            QVERIFY(TestDataFolder::write(kDefaults, file));
        QCOMPARE(f.manager->loadDefaultProfile(static_cast<uchar>(page)), expected);
    }
};

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
