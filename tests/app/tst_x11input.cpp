#include "InputHook.h"
#include "X11RawInputSource.h"

#include <QProcess>
#include <QTest>

#include <vector>

namespace {

struct Call {
    QString kind; // "key" or "button"
    int code;
    bool isDown;
    int x = 0;
    int y = 0;
    bool operator==(const Call&) const = default;
};

constexpr int kSentinelUsage = 0x05; // the B key closes every sequence

// X keycodes (evdev code + 8) of the right-hand modifiers.
const QString kRightCtrlKeycode = QStringLiteral("105");
const QString kRightAltKeycode = QStringLiteral("108");
const QString kRightShiftKeycode = QStringLiteral("62");
const QString kRightSuperKeycode = QStringLiteral("134");

} // namespace

namespace QTest {
template <> char* toString(const std::vector<Call>& calls) {
    QStringList parts;
    for (const Call& c : calls)
        parts << QStringLiteral("%1 %2 %3 (%4,%5)").arg(c.kind).arg(c.code, 2, 16).arg(c.isDown).arg(c.x).arg(c.y);
    return qstrdup(qPrintable(parts.join(QStringLiteral("; "))));
}
} // namespace QTest

// Real input on the test X server, injected with xdotool and read back through XInput2 raw events.
class TestX11Input : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void heldKeyReportsOneDownOneUp();
    void keysReportTheirUsage_data();
    void keysReportTheirUsage();
    void altPrintScreenReportsPrintScreen();
    void keyMissingFromTheMapsIsSilent();
    void doubleClickGivesNoExtraCall();
    void buttonsReportRootCoordinates_data();
    void buttonsReportRootCoordinates();

private:
    void xdotool(const QStringList& args);
    // Types the sentinel key and hands back everything seen before it.
    void callsUntilSentinel(std::vector<Call>* seen);
    void expectCalls(const std::vector<Call>& expected);

    std::unique_ptr<InputHook> m_hook;
    std::vector<Call> m_calls;
};

void TestX11Input::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the X server fixture (DISPLAY)");
    QVERIFY(X11RawInputSource::displayAvailable());
    m_hook = std::make_unique<InputHook>(std::make_unique<X11RawInputSource>());
    QVERIFY(m_hook->hooksInstalled());
    m_hook->registerKeyboardCallback([this](quint8 usage, bool isDown) { m_calls.push_back({"key", usage, isDown}); });
    m_hook->registerMouseCallback([this](quint8 button, bool isDown, int x, int y) {
        m_calls.push_back({"button", button, isDown, x, y});
    });
}

void TestX11Input::init() {
    m_calls.clear();
}

void TestX11Input::cleanupTestCase() {
    m_hook.reset();
}

void TestX11Input::xdotool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), args);
    QVERIFY2(process.waitForFinished(10000), "xdotool did not finish");
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(QString::fromLocal8Bit(process.readAllStandardError())));
}

void TestX11Input::callsUntilSentinel(std::vector<Call>* seen) {
    xdotool({"key", "b"});
    const Call sentinelUp{"key", kSentinelUsage, false};
    QTRY_VERIFY_WITH_TIMEOUT(m_calls.size() >= 2 && m_calls.back() == sentinelUp, 5000);
    seen->assign(m_calls.begin(), m_calls.end() - 2);
    m_calls.clear();
}

void TestX11Input::expectCalls(const std::vector<Call>& expected) {
    if (QTest::currentTestFailed())
        return;
    std::vector<Call> seen;
    callsUntilSentinel(&seen);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(seen, expected);
}

void TestX11Input::heldKeyReportsOneDownOneUp() {
    // Long enough for the server's auto-repeat to start.
    xdotool({"keydown", "a", "sleep", "1.2", "keyup", "a"});
    const std::vector<Call> expected{{"key", 0x04, true}, {"key", 0x04, false}};
    expectCalls(expected);
}

void TestX11Input::keysReportTheirUsage_data() {
    // A key is a keysym name or an X keycode. Right-hand modifiers go by keycode: for a
    // modifier keysym xdotool also presses the modifier's first (left-hand) key.
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("usage");
    QTest::newRow("left ctrl") << "Control_L" << 0xE0;
    QTest::newRow("right ctrl") << kRightCtrlKeycode << 0xE4;
    QTest::newRow("left alt") << "Alt_L" << 0xE2;
    QTest::newRow("right alt") << kRightAltKeycode << 0xE6;
    QTest::newRow("left shift") << "Shift_L" << 0xE1;
    QTest::newRow("right shift") << kRightShiftKeycode << 0xE5;
    QTest::newRow("left super") << "Super_L" << 0xE3;
    QTest::newRow("keypad enter") << "KP_Enter" << 0x58;
    QTest::newRow("return") << "Return" << 0x28;
    QTest::newRow("pause") << "Pause" << 0x48;
    QTest::newRow("print") << "Print" << 0x46;
    QTest::newRow("backslash") << "backslash" << 0x32;
    QTest::newRow("f12") << "F12" << 0x45;
    QTest::newRow("num lock") << "Num_Lock" << 0x53;
    QTest::newRow("delete") << "Delete" << 0x4C;
}

void TestX11Input::keysReportTheirUsage() {
    QFETCH(QString, key);
    QFETCH(int, usage);
    xdotool({"keydown", key, "keyup", key});
    const std::vector<Call> expected{{"key", usage, true}, {"key", usage, false}};
    expectCalls(expected);
}

void TestX11Input::altPrintScreenReportsPrintScreen() {
    xdotool({"keydown", "Alt_L", "keydown", "Print", "keyup", "Print", "keyup", "Alt_L"});
    const std::vector<Call> expected{
        {"key", 0xE2, true}, {"key", 0x46, true}, {"key", 0x46, false}, {"key", 0xE2, false}};
    expectCalls(expected);
}

void TestX11Input::keyMissingFromTheMapsIsSilent() {
    xdotool({"keydown", kRightSuperKeycode, "keyup", kRightSuperKeycode});
    expectCalls(std::vector<Call>{});
}

void TestX11Input::doubleClickGivesNoExtraCall() {
    xdotool({"mousemove", "200", "300", "click", "--repeat", "2", "--delay", "40", "1"});
    const std::vector<Call> expected{{"button", 0xF0, true, 200, 300},
                                     {"button", 0xF0, false, 200, 300},
                                     {"button", 0xF0, true, 200, 300},
                                     {"button", 0xF0, false, 200, 300}};
    expectCalls(expected);
}

void TestX11Input::buttonsReportRootCoordinates_data() {
    QTest::addColumn<int>("xButton");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("left") << 1 << 0xF0 << 10 << 20;
    QTest::newRow("right") << 3 << 0xF1 << 640 << 512;
    QTest::newRow("middle") << 2 << 0xF2 << 321 << 123;
}

void TestX11Input::buttonsReportRootCoordinates() {
    QFETCH(int, xButton);
    QFETCH(int, code);
    QFETCH(int, x);
    QFETCH(int, y);
    xdotool({"mousemove", QString::number(x), QString::number(y), "click", QString::number(xButton)});
    const std::vector<Call> expected{{"button", code, true, x, y}, {"button", code, false, x, y}};
    expectCalls(expected);
}

QTEST_GUILESS_MAIN(TestX11Input)
#include "tst_x11input.moc"
