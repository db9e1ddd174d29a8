// The profile table and the whole-profile operations: switching, copying,
// factory reset, import, export and the page defaults.

#include "AppConfig.h"
#include "ProfileManager.h"
#include "ProfileStore.h"
#include "StoreTestSupport.h"

#include <QTest>

namespace {

const QString kFactory = QStringLiteral("modules/setting/pD_standard.bin");
const QString kConfig = QStringLiteral("modules/setting/apConfig.bin");

QString file(int position) { return ProfileStore::fileNameOf(position); }
QByteArray text(int position) { return QString("[sensor]\nreportRate_Q3=%1\ndpi_Q3=%1, 200\n").arg(position + 1).toUtf8(); }
void ignoreWarning(const char* pattern) { QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern)); }

// Ten distinct profiles and a factory profile on disk, and the objects under test.
struct Fixture {
    TestDataFolder folder;
    bool written = [] {
        bool ok = TestDataFolder::write(kFactory, "[sensor]\nreportRate_Q3=8\n");
        for (int i = 0; i < ProfileStore::kCount; ++i)
            ok = TestDataFolder::write(file(i), text(i)) && ok;
        return ok;
    }();
    ProfileStore profiles;
    AppConfig config;
    ScriptedDialogs dialogs;
    ProfileManager manager{profiles, config, dialogs};

    int rate(int position) { return profiles.at(position).value("sensor/reportRate_Q3").toInt(); }
    // Every profile but `changed` still holds its own text, on disk and in memory.
    bool othersUnchanged(int changed) {
        for (int i = 0; i < ProfileStore::kCount; ++i)
            if (i != changed && (TestDataFolder::read(file(i)) != text(i) || rate(i) != i + 1))
                return false;
        return true;
    }
};

} // namespace

class TestProfileStore : public QObject {
    Q_OBJECT
private slots:
    void switchStoresNumberOnlyOnChangeAtOnce() {
        Fixture f;
        f.manager.ui_02H_SetCurrentProfile(0);
        QVERIFY(!QFile::exists(kConfig));
        f.manager.ui_02H_SetCurrentProfile(4);
        QCOMPARE(TestDataFolder::onDisk(kConfig, "Q3/profileNo").toInt(), 4);
        QVERIFY(f.profiles.writeCurrent("sensor/stage_Q3", 3));
        QCOMPARE(TestDataFolder::onDisk(file(4), "sensor/stage_Q3").toInt(), 3);
    }

    void copyProfile() {
        for (auto [dest, src] : {std::pair{9, 0}, {2, 2}}) { // onto itself keeps the profile
            Fixture f;
            f.manager.copyProfile(dest, src);
            QCOMPARE(TestDataFolder::read(file(dest)), text(src));
            QCOMPARE(f.rate(dest), src + 1);
            QVERIFY(f.othersUnchanged(dest));
        }
        Fixture f;
        f.profiles.at(3).setValue("sensor/stage_Q3", 4); // not yet flushed, but copied along
        f.manager.copyProfile(5, 3);
        QCOMPARE(f.profiles.at(5).value("sensor/stage_Q3").toInt(), 4);
    }

    void positionsOutsideTableAreRefused() {
        for (int position : {-1, 10}) {
            Fixture f;
            f.dialogs.answer = "out.pf";
            for (int i = 0; i < 7; ++i)
                ignoreWarning("refused");
            f.manager.resetProfile(position);
            f.manager.copyProfile(position, 1);
            f.manager.copyProfile(1, position);
            f.manager.copyProfile(position, position);
            QVERIFY(!f.manager.loadProfile(position));
            f.manager.saveProfile(position);
            f.manager.ui_02H_SetCurrentProfile(position);
            QCOMPARE(f.profiles.currentIndex(), 0);
            QVERIFY(f.dialogs.asked.isEmpty());
            QCOMPARE(QDir("modules/setting").entryList(QDir::Files).size(), ProfileStore::kCount + 1);
            QVERIFY(f.othersUnchanged(-1));
        }
    }

    void reset() {
        Fixture f;
        f.manager.resetProfile(3);
        QCOMPARE(TestDataFolder::read(file(3)), TestDataFolder::read(kFactory));
        QCOMPARE(f.rate(3), 8);
        QVERIFY(!f.profiles.at(3).contains("sensor/dpi_Q3"));
        QVERIFY(QFile::remove(kFactory));
        ignoreWarning("cannot read");
        ignoreWarning("kept");
        f.manager.resetProfile(4); // without factory file: profile kept
        QVERIFY(f.othersUnchanged(3));
    }

    void import() {
        Fixture f;
        QVERIFY(TestDataFolder::write("mine.pf", "[sensor]\nreportRate_Q3=4\n"));
        QVERIFY(!f.manager.loadProfile(6)); // cancelled
        f.dialogs.answer = "missing.pf";
        ignoreWarning("cannot read");
        ignoreWarning("kept");
        QVERIFY(f.manager.loadProfile(6)); // answered, but unreadable: profile kept
        QVERIFY(f.othersUnchanged(-1));
        f.dialogs.answer = "mine.pf";
        QVERIFY(f.manager.loadProfile(6));
        QCOMPARE(TestDataFolder::read(file(6)), TestDataFolder::read("mine.pf"));
        QCOMPARE(f.rate(6), 4);
        QCOMPARE(f.dialogs.asked.last(), "Open File|Profile(*.pf)");
    }

    void exportProfile() {
        Fixture f;
        QVERIFY(TestDataFolder::write("old.pf", "stale contents that are longer than the profile"));
        for (const QString& target : {QString("old.pf"), QString("noextension"), QFileInfo(file(4)).absoluteFilePath()}) {
            f.dialogs.answer = target;
            f.manager.saveProfile(4);
            QCOMPARE(TestDataFolder::read(target), text(4));
        }
        QCOMPARE(f.dialogs.asked.last(), "Save File|Profile(*.pf)");
        QVERIFY(f.othersUnchanged(-1));
        QVERIFY(QFile::remove(file(5)));
        f.dialogs.answer = "old.pf";
        ignoreWarning("no file");
        f.manager.saveProfile(5); // no profile file: the target is deleted
        QVERIFY(!QFile::exists("old.pf"));
    }

    void defaults_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("page");
        QTest::addColumn<QVariantList>("expected");
        const QByteArray full = "[keydefine_Q3]\n0=1, 0, 240, 0\n1=1, 0, 241, 0\n15=4, 0, 2, 0\n"
                                "[color_Q3]\ntype1=1, 2\ntype2=7\n"
                                "[sensor]\nreportRate_Q3=1\ncursorSpeed_Q3=4\nverticalScrollLines_Q3=3\n"
                                "doubleClickSpeed_Q3=6\ndpi_Q3=800, 1600\nstage_Q3=1\n";
        QTest::newRow("no file, page 3") << QByteArray() << 3 << QVariantList{2, 5, 2, 5, 2};
        QTest::newRow("page 0") << full << 0 << QVariantList{1, 0, 240, 0, 1, 0, 241, 0, 4, 0, 2, 0};
        QTest::newRow("page 3") << full << 3 << QVariantList{1, 4, 3, 6, 800, 1600, 1, 1, 2, 7};
        QTest::newRow("page 255") << full << 255 << QVariantList();
    }
    void defaults() {
        QFETCH(QByteArray, file);
        QFETCH(int, page);
        QFETCH(QVariantList, expected);
        Fixture f;
        if (!file.isEmpty())
            QVERIFY(TestDataFolder::write("modules/setting/pD.bin", file));
        QCOMPARE(f.manager.loadDefaultProfile(static_cast<uchar>(page)), expected);
    }
};

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
