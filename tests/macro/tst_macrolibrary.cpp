// SPDX-License-Identifier: GPL-3.0-or-later
// The macro and gun libraries, the macro slots and the gun selection against a
// recording device port. Every operation has its files on disk before it returns,
// so results are read back from the files.

#include "FileSizeLimit.h"
#include "LibraryFiles.h"
#include "MacroRename.h"
#include "MacroTestSupport.h"
#include "SettingsValues.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSettings>
#include <memory>
#include <sys/stat.h>

static QSettings onDisk(const QString& path) {
    return QSettings(path, QSettings::IniFormat);
}

// A profile's value as written to disk, numbers as numbers.
static QVariantList stored(int profile, const QString& key) {
    const QVariant value = onDisk(ProfileStore::fileNameOf(profile)).value(key);
    QVariantList numbers;
    for (const QVariant& number : value.typeId() == QMetaType::QString || value.typeId() == QMetaType::Int
                                      ? QVariantList{value}
                                      : value.toList())
        numbers << number.toInt();
    return numbers;
}

// The file as it is on disk: read through a copy of its own, since Qt shares
// the pending changes of every settings object on one path.
static QSettings snapshot(const QString& path) {
    static int s_count = 0;
    const QString copy = QStringLiteral("snapshot%1.ini").arg(++s_count);
    QFile::copy(path, copy);
    return QSettings(copy, QSettings::IniFormat);
}

// Whether every macro that profiles 0..5 on disk refer to has its entry file.
static bool referencesResolve() {
    for (int p = 0; p < MacroLibrary::kReferencedProfiles; ++p) {
        QSettings profile = snapshot(ProfileStore::fileNameOf(p));
        profile.beginGroup("macro");
        for (const QString& key : profile.childKeys())
            if (!QFile::exists("modules/macro/" + profile.value(key).toString() + ".bin"))
                return false;
    }
    return true;
}

static void expectWarning(const QString& pattern) {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
}

static QStringList filesBelow(const QString& folder) {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        files << it.next();
    files.sort();
    return files;
}

class TestMacroLibrary : public QObject {
    Q_OBJECT
    RecordingMacroPort m_device;
    std::unique_ptr<MacroRig> m;

    // Writes "profile:key=value" entries, separated by spaces, into the profiles.
    void setProfiles(const QString& entries) {
        for (const QString& entry : entries.split(' '))
            m->profiles.at(entry.section(':', 0, 0).toInt())
                .setValue(entry.section(':', 1).section('=', 0, 0), entry.section('=', 1));
    }

private slots:
    void init() {
        m_device = {};
        m = std::make_unique<MacroRig>(m_device);
    }
    void cleanup() { m.reset(); }

    // The folder is made on the first write; a longer earlier save leaves no lines behind.
    void entryFiles() {
        MacroLibrary& lib = m->library;
        QCOMPARE(lib.saveEntry(LibraryKind::Macro, "E", {"1,A"}, "1"), false); // no entry yet
        QVERIFY(!QDir("modules/macro").exists() && !QDir("modules/gun").exists());
        QCOMPARE(lib.entryIndex(LibraryKind::Macro, "E").toInt(), 0);
        QCOMPARE(lib.createEntry(LibraryKind::Macro, "E", 4), true);
        QCOMPARE(lib.createEntry(LibraryKind::Gun, "G", 5), true);
        QCOMPARE(lib.createEntry(LibraryKind::Gun, QString(81, QChar(0x4E2D)), 0), true); // 243 bytes
        QCOMPARE(onDisk("modules/gun/G.bin").value("config/repeat").toInt(), 1);
        QCOMPARE((QVariantList{lib.entryIndex(LibraryKind::Macro, "E"), lib.entryType(LibraryKind::Macro, "E"),
                               lib.entryIndex(LibraryKind::Gun, "G"), lib.entryType(LibraryKind::Gun, "G")}),
                 (QVariantList{4, -1, 5, -1}));
        QCOMPARE(lib.loadEntry(LibraryKind::Macro, "E") + lib.loadEntry(LibraryKind::Gun, "G"),
                 (QStringList{"1", "1"}));
        lib.saveEntry(LibraryKind::Macro, "E", {"1,X", "1,Y", "1,Z", "1,W", "1,V"}, "2");
        QCOMPARE(lib.saveEntry(LibraryKind::Macro, "E", {"1,, <", "5,-3", "6,4", "0,50"}, "65535"), true);
        QCOMPARE(lib.saveEntry(LibraryKind::Gun, "G", {"5,-3", "0,50"}, "3"), true);
        QCOMPARE(lib.loadEntry(LibraryKind::Macro, "E") + lib.loadEntry(LibraryKind::Gun, "G"),
                 (QStringList{"1,, <", "5,-3", "6,4", "0,50", "65535", "5,-3", "0,50", "3"}));
        QVERIFY(!onDisk("modules/macro/E.bin").contains("macro/4"));
    }

    // A missing line reads as 0; nothing is made up past the last stored line; unquoted lines read too.
    void damagedTotal() {
        m->library.createEntry(LibraryKind::Macro, "M", 0);
        m->library.saveEntry(LibraryKind::Macro, "M", {"1,A", "0,5", "2,A"}, "4");
        onDisk("modules/macro/M.bin").remove("macro/1");
        onDisk("modules/macro/M.bin").setValue("config/total", 2000000000);
        QCOMPARE(m->library.loadEntry(LibraryKind::Macro, "M"), (QStringList{"1,A", "0", "2,A", "4"}));
        onDisk("modules/macro/M.bin").setValue("config/total", "garbage");
        QCOMPARE(m->library.loadEntry(LibraryKind::Macro, "M"), QStringList{"4"});
        onDisk("modules/macro/M.bin").setValue("config/total", 2147483647);
        onDisk("modules/macro/M.bin").setValue("macro/2147483647", "1,B");
        expectWarning("reading only the first 4096 lines");
        const QStringList lines = m->library.loadEntry(LibraryKind::Macro, "M");
        QCOMPARE(lines.size(), MacroLibrary::kMaxEventLines + 1);
        QCOMPARE(lines.mid(0, 4) + lines.mid(MacroLibrary::kMaxEventLines - 1),
                 (QStringList{"1,A", "0", "2,A", "0", "0", "4"}));
        m->library.createEntry(LibraryKind::Gun, "G", 0);
        QVERIFY(writeFile("modules/gun/G.bin", readFile("modules/gun/G.bin") + "[gun]\n0=6,-3\n1=\"3,MS-L\"\n"));
        onDisk("modules/gun/G.bin").setValue("config/total", 2);
        QCOMPARE(m->library.loadEntry(LibraryKind::Gun, "G"), (QStringList{"6,-3", "3,MS-L", "1"}));
    }

    // A single name gets a filler; an empty list removes the key; unknown types change nothing.
    void nameLists() {
        MacroLibrary& lib = m->library;
        lib.storeNameList(0, {"Macro_0"});
        lib.storeNameList(1, {"General", "x, y"});
        QCOMPARE(lib.storeNameList(2, {"P"}), true);
        QCOMPARE(onDisk("modules/setting/name.bin").value("profile/profileName").toStringList(),
                 (QStringList{"P", "loadermarble"}));
        QCOMPARE(lib.nameList(0) + lib.nameList(1), (QStringList{"Macro_0", "loadermarble", "General", "x, y"}));
        QCOMPARE(lib.storeNameList(7, {"x"}), true);
        QCOMPARE(lib.nameList(7), QStringList{});
        lib.storeNameList(1, {});
        lib.storeNameList(2, {});
        QCOMPARE(onDisk("modules/setting/name.bin").allKeys(), QStringList{"macro/macroName"});
    }

    // Six profiles are searched and renamed, keys in the order the settings list them (as text).
    void referencesAndRenames() {
        MacroLibrary& lib = m->library;
        QCOMPARE(lib.referencesTo(LibraryKind::Macro, "M"), QStringList{"Name"});
        setProfiles("0:macro/2=M 1:macro/10=M 1:macro/3=M 3:macro/2=M 3:macro/1=Other 4:macro/0=Ghost 6:macro/4=M "
                    "5:gun/1=G 5:macro/0=G 2:macro/5=Taken");
        const QStringList uses{"Name", "2", "10", "3", "2"};
        QCOMPARE(lib.referencesTo(LibraryKind::Macro, "M"), uses);
        QCOMPARE(lib.referencesTo(LibraryKind::Gun, "G"), (QStringList{"Name", "1"}));

        lib.createEntry(LibraryKind::Macro, "M", 0);
        lib.createEntry(LibraryKind::Macro, "Taken", 1);
        QCOMPARE(lib.renameMacro("M", "Taken"), false);
        QCOMPARE(lib.renameMacro("M", "M"), false);
        QCOMPARE(lib.renameMacro("Ghost", "New"), false);
        QCOMPARE(lib.referencesTo(LibraryKind::Macro, "M"), uses);
        QCOMPARE(m->profiles.at(4).value("macro/0"), QVariant("Ghost"));
        QCOMPARE(lib.renameMacro("M", "New"), true);
        QVERIFY(!QFile::exists("modules/macro/M.bin") && QFile::exists("modules/macro/New.bin"));
        QCOMPARE(lib.referencesTo(LibraryKind::Macro, "New"), uses);
        QCOMPARE(onDisk(ProfileStore::fileNameOf(3)).value("macro/2"), QVariant("New"));
        QCOMPARE(m->profiles.at(6).value("macro/4"), QVariant("M"));

        lib.createEntry(LibraryKind::Gun, "G", 0);
        QCOMPARE(lib.renameEntryFile(LibraryKind::Gun, "G", "H"), true);
        QCOMPARE(lib.renameEntryFile(LibraryKind::Gun, "G", "I"), false);
        QCOMPARE(lib.referencesTo(LibraryKind::Gun, "G"), (QStringList{"Name", "1"})); // gun renames leave the profiles
        lib.renameEntryFile(LibraryKind::Macro, "Taken", "T");                         // the file only
        QVERIFY(QFile::exists("modules/macro/T.bin") && QFile::exists("modules/gun/H.bin"));
        QCOMPARE(m->profiles.at(2).value("macro/5"), QVariant("Taken"));
        QCOMPARE(lib.deleteEntry(LibraryKind::Macro, "Taken"), false);
        QCOMPARE(lib.deleteEntry(LibraryKind::Macro, "T"), true);
        QCOMPARE(lib.deleteEntry(LibraryKind::Gun, "H"), true);
        QVERIFY(!QFile::exists("modules/macro/T.bin") && !QFile::exists("modules/gun/H.bin"));
    }

    // Wherever a rename stops, every reference on disk names an existing macro:
    // copy, point the profiles at the copy, then remove the old entry.
    void renameStepByStep() {
        setProfiles("0:macro/2=M 3:macro/1=M 5:macro/0=M 4:macro/3=Other");
        for (int p = 0; p < MacroLibrary::kReferencedProfiles; ++p)
            QVERIFY(SettingsValues::flush(m->profiles.at(p)));
        m->library.createEntry(LibraryKind::Macro, "M", 0);
        m->library.createEntry(LibraryKind::Macro, "Other", 1);
        QVERIFY(referencesResolve());
        MacroRename rename(m->profiles, "M", "New");
        QVERIFY(rename.isAccepted());
        QList<MacroRename::Step> steps;
        while (rename.nextStep() != MacroRename::Step::Done) {
            steps << rename.nextStep();
            QVERIFY(rename.runNextStep());
            QVERIFY2(referencesResolve(), qPrintable(QString::number(int(steps.last()))));
        }
        QCOMPARE(steps, (QList{MacroRename::Step::CopyEntry, MacroRename::Step::RepointReferences,
                               MacroRename::Step::RemoveOldEntry}));
        QVERIFY(!QFile::exists("modules/macro/M.bin") && QFile::exists("modules/macro/New.bin"));
        QCOMPARE(m->library.referencesTo(LibraryKind::Macro, "New"), (QStringList{"Name", "2", "1", "0"}));
        QCOMPARE(snapshot(ProfileStore::fileNameOf(4)).value("macro/3"), QVariant("Other"));
    }

    // A profile that cannot be written undoes the rename: old file, old references.
    void renameUndoneWhenAProfileFails() {
        setProfiles("0:macro/2=M 3:macro/1=M");
        for (int p : {0, 3})
            QVERIFY(SettingsValues::flush(m->profiles.at(p)));
        m->library.createEntry(LibraryKind::Macro, "M", 0);
        QVERIFY(QFile::remove(ProfileStore::fileNameOf(3)) && QDir().mkpath(ProfileStore::fileNameOf(3)));
        QCOMPARE(m->library.renameMacro("M", "New"), false);
        QVERIFY(QFile::exists("modules/macro/M.bin") && !QFile::exists("modules/macro/New.bin"));
        QCOMPARE(snapshot(ProfileStore::fileNameOf(0)).value("macro/2"), QVariant("M"));
        QCOMPARE(m->profiles.at(3).value("macro/1"), QVariant("M"));
        QVERIFY(referencesResolve());
    }

    // An import that cannot be read (cancelled, missing) leaves the macro as it was.
    void importExport() {
        MacroLibrary& lib = m->library;
        ScriptedDialogs& dialogs = m->dialogs;
        const QString folder = m->folder.dir.path();
        lib.createEntry(LibraryKind::Macro, "M", 0);
        lib.saveEntry(LibraryKind::Macro, "M", {"1,A"}, "2");
        QVERIFY(QFile(folder + "/empty.mc").open(QIODevice::WriteOnly));
        for (const QString& answer : {QString(), folder + "/missing.mc"}) {
            dialogs.openAnswer = answer;
            QCOMPARE(lib.importMacroFile("M"), QString(" "));
            QCOMPARE(lib.loadEntry(LibraryKind::Macro, "M"), (QStringList{"1,A", "2"}));
        }
        dialogs.openAnswer = folder + "/import.mc";
        onDisk(dialogs.openAnswer).setValue("config/total", 1);
        onDisk(dialogs.openAnswer).setValue("config/repeat", 4);
        onDisk(dialogs.openAnswer).setValue("macro/0", "1,Q");
        QCOMPARE(lib.importMacroFile("M"), dialogs.openAnswer);
        QCOMPARE(lib.loadEntry(LibraryKind::Macro, "M"), (QStringList{"1,Q", "4"}));
        QVERIFY(QFile::exists(dialogs.openAnswer) && !QFile::exists("modules/macro/M.bin.part"));

        lib.exportMacroFile("none"); // no macro: no question either
        dialogs.saveAnswer = folder + "/empty.mc";
        lib.exportMacroFile("M");
        QCOMPARE(dialogs.asked.mid(2), (QStringList{"Open File|Macro(*.mc)", "Save File|Macro(*.mc)"}));
        QFile exported(dialogs.saveAnswer), source("modules/macro/M.bin");
        QVERIFY(exported.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QCOMPARE(exported.readAll(), source.readAll());
    }

    // An import that cannot land (a full disk; no small regular file) or a save on a full
    // disk leaves the macro file as it was, and says so once.
    void failedWritesKeepMacro_data() {
        QTest::addColumn<QString>("import");
        QTest::newRow("full disk") << QString("large.mc");
        QTest::newRow("fifo") << QString("fifo.mc");
        QTest::newRow("endless device") << QString("/dev/zero");
        QTest::newRow("save on a full disk") << QString();
    }
    void failedWritesKeepMacro() {
        QFETCH(QString, import);
        MacroLibrary& lib = m->library;
        lib.createEntry(LibraryKind::Macro, "M", 0);
        lib.saveEntry(LibraryKind::Macro, "M", {"1,A"}, "2");
        QVERIFY(::mkfifo("fifo.mc", 0600) == 0);
        onDisk("large.mc").setValue("macro/0", QString(2000, 'Q'));
        const QByteArray before = readFile("modules/macro/M.bin");
        QVERIFY(!before.isEmpty());
        m->dialogs.openAnswer = import;
        expectWarning("cannot write|could not write|refused to read");
        QTest::failOnWarning(QRegularExpression(".*"));
        {
            FileSizeLimit full(512);
            if (import.isEmpty())
                QCOMPARE(lib.saveEntry(LibraryKind::Macro, "M", QStringList(100, "1,A"), "2"), false);
            else
                QCOMPARE(lib.importMacroFile("M"), QString(" "));
        }
        QCOMPARE(readFile("modules/macro/M.bin"), before);
        QCOMPARE(lib.loadEntry(LibraryKind::Macro, "M"), (QStringList{"1,A", "2"}));
    }

    void refusedNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("slash") << "a/b";
        QTest::newRow("parent folder") << "../p1";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("nul") << QString("a") + QChar(0) + "b";
        QTest::newRow("leading dot") << ".hidden";
        QTest::newRow("101 characters") << QString(101, 'x');
        QTest::newRow("file name over 255 bytes") << QString(82, QChar(0x4E2D)); // 3 bytes each
    }
    // Names that are not plain file names are refused and touch nothing.
    void refusedNames() {
        QFETCH(QString, name);
        MacroLibrary& lib = m->library;
        lib.createEntry(LibraryKind::Macro, "Good", 0);
        lib.createEntry(LibraryKind::Gun, "Good", 0);
        m->profiles.at(0).setValue("macro/0", name);
        SettingsValues::flush(m->profiles.at(0));
        const QStringList before = filesBelow(m->folder.dir.path());
        for (bool result : {lib.createEntry(LibraryKind::Macro, name, 0), lib.createEntry(LibraryKind::Gun, name, 0),
                            lib.saveEntry(LibraryKind::Macro, name, {"1,A"}, "1"),
                            lib.saveEntry(LibraryKind::Gun, name, {"1,A"}, "1"), lib.renameMacro("Good", name),
                            lib.renameMacro(name, "Other"), lib.renameEntryFile(LibraryKind::Gun, "Good", name),
                            lib.deleteEntry(LibraryKind::Macro, name), lib.deleteEntry(LibraryKind::Gun, name)})
            QVERIFY(!result);
        QVERIFY(lib.loadEntry(LibraryKind::Macro, name).isEmpty() && lib.loadEntry(LibraryKind::Gun, name).isEmpty());
        QVERIFY(lib.entryType(LibraryKind::Macro, name).toInt() == 0 &&
                lib.entryIndex(LibraryKind::Gun, name).toInt() == 0);
        QVERIFY(!lib.macroSlotConfig(name));
        lib.setMacroSlotConfig(name, "1", "2");
        lib.setEntryIndex(LibraryKind::Macro, name, "1");
        lib.setEntryIndex(LibraryKind::Gun, name, "1");
        lib.setMacroType(name, "1");
        QCOMPARE(lib.referencesTo(LibraryKind::Macro, name), QStringList{"Name"});
        lib.renameEntryFile(LibraryKind::Macro, "Good", name);
        m->dialogs.openAnswer = "modules/macro/Good.bin";
        QCOMPARE(lib.importMacroFile(name), QString(" "));
        m->dialogs.saveAnswer = m->folder.dir.path() + "/out.mc";
        lib.exportMacroFile(name);
        QCOMPARE(filesBelow(m->folder.dir.path()), before);
        QCOMPARE(m->profiles.at(0).value("macro/0").toString(), name);
    }

    // Slot id = slot + 1 on the wire; slots outside 0..11 send nothing and say so.
    void sendImage() {
        MacroUpload& upload = m->upload;
        for (int slot : {12, -1, 255}) {
            expectWarning(QString("refused macro slot %1 outside 0 to 11").arg(slot));
            QVERIFY(!upload.sendImage(slot, {9}));
        }
        QVERIFY(m_device.writes13.isEmpty());
        QVERIFY(upload.sendImage(0, {0xFF, 0xFF, 0}));
        QVERIFY(upload.sendImage(11, {7}));
        QVERIFY(upload.sendImage(4, QList<uchar>(200, 7))); // at most 128 bytes
        QCOMPARE(m_device.writes13,
                 (QList{hexList("01 ff ff 00", 129), hexList("0c 07", 129), QList<uchar>{5} + QList<uchar>(128, 7)}));
    }

    // Macro names go to slots 0..4 only, the slots buttons bind macros to.
    void slotRecordAndSilentReads() {
        m->upload.bindMacroName(3, "Jump");
        expectWarning("refused macro name for slot 4");
        m->upload.bindMacroName(4, "../x");
        for (int slot : {-1, 5, 11, 999999}) {
            expectWarning("refused macro slot");
            m->upload.bindMacroName(slot, "Jump");
        }
        QCOMPARE(onDisk(ProfileStore::fileNameOf(0)).allKeys(), QStringList{"macro/3"});
        QCOMPARE((QVariantList{m->upload.boundMacroName(3), m->upload.boundMacroName(4)}), (QVariantList{"Jump", 0}));
        QCOMPARE(SettingsValues::toVariantList(m->upload.readMouseMacro(4)) +
                     SettingsValues::toVariantList(m->upload.readKeyboardMacro(9)),
                 QVariantList(128 + 192, 0));
    }

    // 13H carries the loop count of the file; 11H (keyboard) keeps 00 01; too long is cut with a warning.
    void uploadTagged() {
        MacroUpload& upload = m->upload;
        QStringList longLines(100, "B    [Down]");
        m->library.createEntry(LibraryKind::Macro, "M", 0);
        m->library.saveEntry(LibraryKind::Macro, "M", {"A    [Down]", "200   [Delay]", "A      [Up]"}, "300");
        m->library.createEntry(LibraryKind::Macro, "Long", 0);
        m->library.saveEntry(LibraryKind::Macro, "Long", longLines, "2");
        upload.uploadMouseMacro(3, "");
        upload.uploadMouseMacro(3, "none");
        upload.uploadMouseMacro(0x105 & 0xFF, "M");
        QVERIFY(m->dialogs.warnings.isEmpty());
        upload.uploadMouseMacro(1, "Long");
        QCOMPARE(m->dialogs.warnings,
                 (QList{qMakePair(QString("MACRO"), QString("Out of memory,\nsome command line has been cut."))}));
        m_device.deviceId = 0;
        upload.uploadKeyboardMacro(2, "M");
        upload.setMessageList({"Title", "Text"});
        upload.uploadKeyboardMacro(1, "Long");
        QCOMPARE(m->dialogs.warnings.last(), qMakePair(QString("Title"), QString("Text")));
        QCOMPARE(m_device.writes13.mid(0, 2),
                 (QList{hexList("03 00 01 00 00", 129), hexList("05 01 2c 14 04 81 04 00 00", 129)}));
        QCOMPARE(m_device.writes13[2].mid(0, 5) + m_device.writes13[2].mid(125), hexList("01 00 02 01 05 01 05 01 05"));
        QCOMPARE(m_device.writes11[0], hexList("02 00 01 01 04 7f 00 00 14 81 04 00 00", 193));
        QCOMPARE(m_device.writes11[1].mid(189), hexList("01 05 01 05"));
    }

    // Deleting macro 2 in profiles 0..4 but the current one: keys 0..6 bound to it
    // get their default, those above move one down; profile 5 is not walked.
    void indexWalk() {
        m->profiles.setCurrentIndex(1);
        for (int p = 0; p < 6; ++p) {
            for (int k = 0; k < 8; ++k)
                m->profiles.at(p).setValue(QString("keydefine_Q3/%1").arg(k), QVariantList{9, 0, k % 4 + 1, 0});
            m->profiles.at(p).setValue("keydefine_Q3/6", QVariantList{1, 0, 0xF0, 0});
        }
        m->upload.forgetDeletedMacro(2);
        const QList<QVariantList> walked{{9, 0, 1, 0}, {1, 0, 0xF1, 0}, {9, 0, 2, 0},    {9, 0, 3, 0},
                                         {9, 0, 1, 0}, {7, 0, 1, 0},    {1, 0, 0xF0, 0}, {9, 0, 4, 0}};
        for (int p : {0, 2, 3, 4})
            for (int k = 0; k < 8; ++k)
                QCOMPARE(stored(p, "keydefine_Q3/" + QString::number(k)), walked[k]);
        for (int p : {1, 5})
            QCOMPARE(m->profiles.at(p).value("keydefine_Q3/1").toList(), (QVariantList{9, 0, 2, 0}));
    }

    // Type 1 loops until release (run mode 2), other types run once; profile 0 and 5 are not walked.
    void typeWalk() {
        for (auto [type, runMode] : QList<QPair<int, int>>{{1, 2}, {0, 0}, {2, 0}}) {
            for (int p = 0; p < 6; ++p) {
                m->profiles.at(p).setValue("keydefine_Q3/0", QVariantList{9, 1, 3, 0});
                m->profiles.at(p).setValue("keydefine_Q3/1", QVariantList{9, 1, 4, 0});
            }
            m->upload.changeMacroRunMode(3, type);
            for (int p = 1; p < 5; ++p)
                QCOMPARE(stored(p, "keydefine_Q3/0") + stored(p, "keydefine_Q3/1"),
                         (QVariantList{9, runMode, 3, 0, 9, 1, 4, 0}));
            for (int p : {0, 5})
                QCOMPARE(stored(p, "keydefine_Q3/0"), (QVariantList{9, 1, 3, 0}));
        }
    }

    // Stored numbers read back as numbers; a deleted gun falls back to gun 2 with its key unbound.
    void gunSlots() {
        QCOMPARE(m->guns.chosenGuns(), (QVariantList{QString(), QString(), QString()}));
        m->guns.chooseGuns({"4", "1", "2"});
        m->guns.chooseGuns({"7", "7"}); // too short
        ProfileStore reopened;
        QCOMPARE(GunSelection(reopened, m_device, m->library, m->upload).chosenGuns(), (QVariantList{4, 1, 2}));
        m->profiles.setCurrentIndex(1);
        for (int p = 0; p < 7; ++p)
            setProfiles(
                QString("%1:selectGun/0=4 %1:selectGun/1=3 %1:selectGun/2=6 %1:selectGunKey/0=5 %1:selectGunKey/1=5 "
                        "%1:selectGunKey/2=5")
                    .arg(p));
        m->guns.forgetDeletedGun(4);
        for (int p : {0, 2, 3, 4, 5})
            for (int s = 0; s < 3; ++s)
                QCOMPARE(stored(p, "selectGun/" + QString::number(s)) + stored(p, "selectGunKey/" + QString::number(s)),
                         (s == 0   ? QVariantList{2, -1}
                          : s == 1 ? QVariantList{3, 5}
                                   : QVariantList{5, 5}));
        for (int p : {1, 6})
            QCOMPARE(m->profiles.at(p).value("selectGunKey/0"), QVariant("5"));
        m->guns.forgetDeletedGun(0); // an unset slot chose no gun, not gun 0
        QVERIFY(!m->profiles.at(7).contains("selectGun/0") && !m->profiles.at(0).contains("selectGunKey/7"));
    }

    // Gun matrix n is stored under keydefine_Q3n and sent as device matrix n + 1, named keys (0x0F) as plain keys.
    void gunKeyMatrix() {
        QList<int> src;
        for (int n = 0; n < 16; ++n)
            src << (n == 3 ? 0x0F : 9) << 0x0F << 0x2E + n << 0x10F;
        for (int refused : {0, 4}) {
            expectWarning(QString("refused gun key matrix \"%1\" outside 1 to 3").arg(refused));
            m->guns.setGunKeyMatrix(refused, src);
        }
        expectWarning("refused gun key matrix of 63 values");
        m->guns.setGunKeyMatrix(1, src.mid(1));
        QVERIFY(m_device.matrices.isEmpty() && m->profiles.current().allKeys().isEmpty());
        QCOMPARE(m->guns.gunMatrixEntry(2, "5"), QVariantList{});
        for (int matrix = 1; matrix <= 3; ++matrix) {
            m->guns.setGunKeyMatrix(matrix, src);
            QCOMPARE(onDisk(ProfileStore::fileNameOf(0)).value(QString("keydefine_Q3%1/3").arg(matrix)).toStringList(),
                     (QStringList{"15", "15", "49", "271"}));
            QCOMPARE(m->guns.gunMatrixEntry(matrix, "0"), (QVariantList{9, 15, 46, 271}));
            QCOMPARE(m_device.matrices.last().mid(0, 17),
                     QList{uchar(matrix + 1)} + hexList("09 0f 2e 0f 09 0f 2f 0f 09 0f 30 0f 00 0f 31 0f"));
        }
    }

    // Numbers come back as numbers, other values as text; nothing happens without gunData.bin.
    void gunDataFile() {
        m->guns.saveGunData("AK", {"1", "2", "3", "4", "5"});
        QVERIFY(!QFile::exists(LibraryFiles::gunDataPath()));
        QDir().mkpath("modules/gun");
        QVERIFY(writeFile(LibraryFiles::gunDataPath(), {}));
        m->guns.saveGunData("AK", {"1", "2", "3", "4", "5"});
        m->guns.saveGunData("Mixed", {"a", "1", "b c", "-2", "0"});
        m->guns.updateGunData("AK2", {"5", "4", "3", "2", "1"}, QString("AK")); // rename and change
        m->guns.removeGunData("Mixed");
        QCOMPARE(m->guns.gunDataNames(), QStringList{"AK2"});
        QCOMPARE(m->guns.gunData("AK2") + m->guns.gunData("Mixed"), (QVariantList{5, 4, 3, 2, 1}));
        m->guns.saveGunData("Mixed", {"a", "1", "b c", "-2", "0"});
        QCOMPARE(m->guns.gunData("Mixed"), (QVariantList{"a", 1, "b c", -2, 0}));

        // Names that are no plain keys are refused and leave the file as it was.
        const QByteArray before = readFile(LibraryFiles::gunDataPath());
        QVERIFY(!before.isEmpty());
        for (const QString& name : {QString("/"), QString("a/b"), QString("\\"), QString(), QString(".x")}) {
            for (int i = 0; i < 4; ++i)
                expectWarning("refused gun data name");
            m->guns.removeGunData(name);
            m->guns.saveGunData(name, {"1", "2", "3", "4", "5"});
            m->guns.updateGunData("AK3", {"1", "2", "3", "4", "5"}, name);
            QCOMPARE(m->guns.gunData(name), QVariantList{});
        }
        QCOMPARE(readFile(LibraryFiles::gunDataPath()), before);
        QCOMPARE(m->guns.gunDataNames(), (QStringList{"AK2", "Mixed"}));
    }

    // The factory guns load, decode with cursor moves and upload.
    void factoryGuns() {
        const QDir factory(QUELLAR_FACTORY_DIR "/modules");
        const QStringList guns = onDisk(factory.filePath("setting/name.bin")).value("gun/gunName").toStringList();
        QCOMPARE(guns.size(), 3);
        QDir().mkpath("modules/gun");
        for (int position = 0; position < guns.size(); ++position) {
            QVERIFY(QFile::copy(factory.filePath("gun/" + guns[position] + ".bin"),
                                "modules/gun/" + guns[position] + ".bin"));
            QCOMPARE(m->library.entryIndex(LibraryKind::Gun, guns[position]), QVariant(position));
            const QStringList lines = m->library.loadEntry(LibraryKind::Gun, guns[position]);
            QVERIFY(lines.size() > 4);
            for (const QString& line : lines.mid(0, lines.size() - 1))
                QVERIFY2(QRegularExpression("^[0-6],\\S+$").match(line).hasMatch(), qPrintable(line));
            const auto decoded = decodePageImage(m->guns.gunImage(guns[position]), true);
            QVERIFY(decoded &&
                    std::any_of(decoded->events.begin(), decoded->events.end(), [](auto& e) { return e.cursor; }));
        }
        QVERIFY(m->guns.uploadGunData(guns));
        QVERIFY(!m_device.writes13.isEmpty());
    }

    // A gun with a wait no image can hold is cut at the gun area's size and
    // then too long to send; its length still goes out with 04H.
    void hostileGunUpload() {
        m->library.createEntry(LibraryKind::Gun, "H", 0);
        m->library.saveEntry(LibraryKind::Gun, "H", {"1,A", "0,4611686018427387904", "2,A"}, "1");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!m->guns.uploadGunData({"H", "", ""}));
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(m_device.writes13.isEmpty());
        QCOMPARE(m_device.gunData.first(), hexList("c0 01 00 00 00"));
    }
};

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
