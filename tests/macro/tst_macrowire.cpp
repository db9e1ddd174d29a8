// Macro and gun uploads end to end: the real worker and transport talking to
// the virtual mouse through the wire tracer.

#include "GunSelection.h"
#include "MacroLibrary.h"
#include "MacroUpload.h"
#include "ProfileStore.h"
#include "UserDialogs.h"
#include "WorkerMacroPort.h"
#include "device/DeviceTestSupport.h"

#include <QDir>
#include <QTest>
#include <memory>

namespace {

struct SilentDialogs final : UserDialogs {
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    void warning(const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }
};

// The 04H feature reports on the wire, as their five parameters.
QList<QByteArray> gunLengthReports(const QList<TraceLine>& lines) {
    QList<QByteArray> reports;
    for (const TraceLine& line : withOp(lines, QStringLiteral("send_feature")))
        if (line.bytes.size() == 9 && line.bytes[1] == 0x04)
            reports << line.bytes.mid(2, 5);
    return reports;
}

int macroWrites(const QList<TraceLine>& lines) {
    int count = 0;
    for (const TraceLine& line : withOp(lines, QStringLiteral("send_feature")))
        if (line.bytes.size() == 9 && line.bytes[1] == 0x13)
            ++count;
    return count;
}

} // namespace

class TestMacroWire : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void macroSlotRoundTrip();
    void gunUploadUnderLimit();
    void gunUploadOverLimit();
    void gunKeyMatrixOnDevice();

private:
    void createGun(const QString& name, int imageBytes);

    std::unique_ptr<DeviceRig> m_rig;
    QString m_previousFolder;
    std::unique_ptr<ProfileStore> m_profiles;
    std::unique_ptr<WorkerMacroPort> m_port;
    SilentDialogs m_dialogs;
    std::unique_ptr<MacroLibrary> m_library;
    std::unique_ptr<MacroUpload> m_upload;
    std::unique_ptr<GunSelection> m_guns;
};

void TestMacroWire::init() {
    m_rig = std::make_unique<DeviceRig>();
    m_previousFolder = QDir::currentPath();
    QDir::setCurrent(m_rig->dir.path());
    QDir().mkpath(QStringLiteral("modules/setting"));
    m_profiles = std::make_unique<ProfileStore>();
    m_port = std::make_unique<WorkerMacroPort>(m_rig->worker);
    m_library = std::make_unique<MacroLibrary>(*m_profiles, *m_port, m_dialogs);
    m_upload = std::make_unique<MacroUpload>(*m_profiles, *m_port, *m_library, m_dialogs);
    m_guns = std::make_unique<GunSelection>(*m_profiles, *m_port, *m_library, *m_upload);
}

void TestMacroWire::cleanup() {
    m_rig->worker.waitForTransfers();
    m_guns.reset();
    m_upload.reset();
    m_library.reset();
    m_port.reset();
    m_profiles.reset();
    QDir::setCurrent(m_previousFolder);
    m_rig.reset();
}

void TestMacroWire::createGun(const QString& name, int imageBytes) {
    QStringList lines;
    for (int i = 0; i < (imageBytes - 4) / 2; ++i)
        lines << QStringLiteral("%1,MS-R").arg(i % 2 ? 4 : 3);
    m_library->createGunIni(name, 0);
    m_library->saveGunIni(name, lines, {}, 1);
    QCOMPARE(m_guns->gunImage(name).size(), imageBytes);
}

void TestMacroWire::macroSlotRoundTrip() {
    const QVariantList image = m_upload->encodeMacroLines({"1,A", "0,300", "2,A"}, 2, false);
    m_upload->sendMacroData(image, 0);
    m_rig->worker.waitForTransfers();
    const auto stored = m_rig->virt.mouse().state().macros[0];
    for (qsizetype i = 0; i < image.size(); ++i)
        QCOMPARE(int(stored[i]), image[i].toInt());
    const QVariantList readBack = m_upload->ui_93H_GetMacroKey(1);
    QCOMPARE(readBack.mid(0, image.size()), image);
    QCOMPARE(readBack.size(), 128);
}

void TestMacroWire::gunUploadUnderLimit() {
    createGun("A", 300);
    createGun("B", 300);
    createGun("C", 294);
    QCOMPARE(m_guns->uploadGunData({"A", "B", "C"}), QVariant(true));
    m_rig->worker.waitForTransfers();
    const QList<uchar> all = m_guns->gunImage("A") + m_guns->gunImage("B") + m_guns->gunImage("C");
    const auto state = m_rig->virt.mouse().state();
    for (int i = 0; i < all.size(); ++i)
        QCOMPARE(state.macros[5 + i / 128][i % 128], all[i]);
    const QList<TraceLine> lines = m_rig->commandLines();
    QCOMPARE(macroWrites(lines), 7);
    QCOMPARE(gunLengthReports(lines),
             (QList<QByteArray>{hexBytes("9600000000"), hexBytes("9600000001"), hexBytes("9300000002")}));
}

void TestMacroWire::gunUploadOverLimit() {
    createGun("A", 300);
    QCOMPARE(m_guns->uploadGunData({"A", "A", "A"}), QVariant(false));
    m_rig->worker.waitForTransfers();
    const QList<TraceLine> lines = m_rig->commandLines();
    QCOMPARE(macroWrites(lines), 0);
    QCOMPARE(gunLengthReports(lines),
             (QList<QByteArray>{hexBytes("9600000000"), hexBytes("9600000001"), hexBytes("9600000002")}));
}

void TestMacroWire::gunKeyMatrixOnDevice() {
    QVariantList src;
    for (int n = 0; n < 16; ++n)
        src << (n == 2 ? 0x0F : 1) << 0 << 0xF0 + n % 5 << 0;
    m_guns->ui_12H_SetGunKeyMatrix(src, 2);
    m_rig->worker.waitForTransfers();
    const auto matrix = m_rig->virt.mouse().state().keyMatrices[2]; // device matrix number 3
    QCOMPARE(int(matrix[0]), 1);
    QCOMPARE(int(matrix[8]), 0); // named key sent as a plain key
    QCOMPARE(int(matrix[10]), 0xF2);
}

QTEST_GUILESS_MAIN(TestMacroWire)
#include "tst_macrowire.moc"
