#include "InputHook.h"
#include "TestInputSource.h"

#include <QSet>
#include <QTest>

#include <vector>

namespace {

struct KeyCall {
    quint8 usage;
    bool isDown;
    bool operator==(const KeyCall&) const = default;
};

struct MouseCall {
    quint8 button;
    bool isDown;
    int x;
    int y;
    bool operator==(const MouseCall&) const = default;
};

} // namespace

class TestInputHook : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mapsHaveTheirSizes();
    void backslashLatestAssignmentHolds();
    void keyReportsUsage_data();
    void keyReportsUsage();
    void heldKeyReportsOneDownOneUp();
    void keysMissingFromTheMapsAreSilent_data();
    void keysMissingFromTheMapsAreSilent();
    void stateTableUpdatesWithoutCallback();
    void mouseButtonsReportEveryTransition();
    void otherButtonsAreSilent();
    void callbackMayReplaceItself();
    void installStartsAndRemoveStopsTheSource();
    void failedInstallLeavesNoHook();
    void oneProcessWideHook();

private:
    TestInputSource* m_source = nullptr;
    std::unique_ptr<InputHook> m_hook;
    std::vector<KeyCall> m_keys;
    std::vector<MouseCall> m_buttons;
};

void TestInputHook::init() {
    auto source = std::make_unique<TestInputSource>();
    m_source = source.get();
    m_hook = std::make_unique<InputHook>(std::move(source));
    m_keys.clear();
    m_buttons.clear();
    m_hook->registerKeyboardCallback([this](quint8 usage, bool isDown) { m_keys.push_back({usage, isDown}); });
    m_hook->registerMouseCallback([this](quint8 button, bool isDown, int x, int y) {
        m_buttons.push_back({button, isDown, x, y});
    });
}

void TestInputHook::cleanup() {
    m_hook.reset();
    m_source = nullptr;
}

void TestInputHook::mapsHaveTheirSizes() {
    QCOMPARE(m_hook->scanCodeMapSize(), std::size_t(105));
    QCOMPARE(m_hook->usageMapSize(), std::size_t(121));
    QCOMPARE(m_hook->flag(), quint8(0));
}

void TestInputHook::backslashLatestAssignmentHolds() {
    QCOMPARE(m_hook->usageFor(0xDC), quint8(0x32));
    // Whatever arrives, usage 31 (the US backslash) is never produced.
    for (int scan = 0; scan <= 0xFF; ++scan) {
        for (bool extended : {false, true}) {
            for (bool alt : {false, true}) {
                m_source->key(quint16(scan), extended, true, alt);
                m_source->key(quint16(scan), extended, false, alt);
            }
        }
    }
    QVERIFY(!m_keys.empty());
    for (const KeyCall& call : m_keys)
        QVERIFY(call.usage != 0x31);
}

void TestInputHook::keyReportsUsage_data() {
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<bool>("altDown");
    QTest::addColumn<int>("usage");

    QTest::newRow("left ctrl") << 0x1D << false << false << 0xE0;
    QTest::newRow("right ctrl") << 0x1D << true << false << 0xE4;
    QTest::newRow("left alt") << 0x38 << false << true << 0xE2;
    QTest::newRow("right alt") << 0x38 << true << true << 0xE6;
    QTest::newRow("left shift") << 0x2A << false << false << 0xE1;
    QTest::newRow("right shift") << 0x36 << true << false << 0xE5;
    QTest::newRow("left gui") << 0x5B << true << false << 0xE3;
    QTest::newRow("keypad enter") << 0x1C << true << false << 0x58;
    QTest::newRow("enter") << 0x1C << false << false << 0x28;
    QTest::newRow("pause") << 0x45 << false << false << 0x48;
    QTest::newRow("ctrl break") << 0x46 << true << false << 0x48;
    QTest::newRow("scroll lock") << 0x46 << false << false << 0x47;
    QTest::newRow("num lock") << 0x45 << true << false << 0x53;
    QTest::newRow("print screen") << 0x37 << true << false << 0x46;
    QTest::newRow("alt print screen") << 0x54 << false << true << 0x46;
    QTest::newRow("keypad *") << 0x37 << false << false << 0x55;
    QTest::newRow("backslash") << 0x2B << false << false << 0x32;
    QTest::newRow("a") << 0x1E << false << false << 0x04;
    QTest::newRow("z") << 0x2C << false << false << 0x1D;
    QTest::newRow("1") << 0x02 << false << false << 0x1E;
    QTest::newRow("0") << 0x0B << false << false << 0x27;
    QTest::newRow("escape") << 0x01 << false << false << 0x29;
    QTest::newRow("f1") << 0x3B << false << false << 0x3A;
    QTest::newRow("f12") << 0x58 << false << false << 0x45;
    QTest::newRow("f23") << 0x6E << false << false << 0x72;
    QTest::newRow("keypad 0") << 0x52 << false << false << 0x62;
    QTest::newRow("keypad 9") << 0x49 << false << false << 0x61;
    QTest::newRow("keypad /") << 0x35 << true << false << 0x54;
    QTest::newRow("slash") << 0x35 << false << false << 0x38;
    QTest::newRow("insert") << 0x52 << true << false << 0x49;
    QTest::newRow("up") << 0x48 << true << false << 0x52;
    QTest::newRow("menu") << 0x5D << true << false << 0x65;
    QTest::newRow("102nd key") << 0x56 << false << false << 0x64;
}

void TestInputHook::keyReportsUsage() {
    QFETCH(int, scanCode);
    QFETCH(bool, extended);
    QFETCH(bool, altDown);
    QFETCH(int, usage);

    m_source->key(quint16(scanCode), extended, true, altDown);
    m_source->key(quint16(scanCode), extended, false, altDown);
    const std::vector<KeyCall> expected{{quint8(usage), true}, {quint8(usage), false}};
    QCOMPARE(m_keys.size(), expected.size());
    QVERIFY(m_keys == expected);
}

void TestInputHook::heldKeyReportsOneDownOneUp() {
    m_source->key(0x1E, false, true);
    QVERIFY(m_hook->isPressed(0x04));
    for (int repeat = 0; repeat < 20; ++repeat)
        m_source->key(0x1E, false, true);
    m_source->key(0x1E, false, false);
    m_source->key(0x1E, false, false);
    QCOMPARE(m_keys.size(), std::size_t(2));
    QVERIFY((m_keys[0] == KeyCall{0x04, true}));
    QVERIFY((m_keys[1] == KeyCall{0x04, false}));
    QVERIFY(!m_hook->isPressed(0x04));
}

void TestInputHook::keysMissingFromTheMapsAreSilent_data() {
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<bool>("altDown");

    QTest::newRow("right windows") << 0x5C << true << false;
    QTest::newRow("sysrq without alt") << 0x54 << false << false;
    QTest::newRow("right shift without E0") << 0x36 << false << false;
    QTest::newRow("unused code") << 0x7F << false << false;
    QTest::newRow("code above a byte") << 0x11E << false << false;
}

void TestInputHook::keysMissingFromTheMapsAreSilent() {
    QFETCH(int, scanCode);
    QFETCH(bool, extended);
    QFETCH(bool, altDown);

    m_source->key(quint16(scanCode), extended, true, altDown);
    m_source->key(quint16(scanCode), extended, false, altDown);
    QVERIFY(m_keys.empty());
}

void TestInputHook::stateTableUpdatesWithoutCallback() {
    m_hook->registerKeyboardCallback({});
    m_source->key(0x1D, false, true);
    QVERIFY(m_hook->isPressed(0xE0));
    m_hook->registerKeyboardCallback([this](quint8 usage, bool isDown) { m_keys.push_back({usage, isDown}); });
    // Still held: a repeat reports nothing, the release reports the up.
    m_source->key(0x1D, false, true);
    m_source->key(0x1D, false, false);
    QCOMPARE(m_keys.size(), std::size_t(1));
    QVERIFY((m_keys[0] == KeyCall{0xE0, false}));
}

void TestInputHook::mouseButtonsReportEveryTransition() {
    m_source->button(PointerButton::Left, true, 10, 20);
    m_source->button(PointerButton::Left, false, 11, 21);
    m_source->button(PointerButton::Right, true, -5, 7);
    m_source->button(PointerButton::Right, false, -5, 7);
    m_source->button(PointerButton::Middle, true, 1919, 1079);
    m_source->button(PointerButton::Middle, true, 1919, 1079);
    m_source->button(PointerButton::Middle, false, 1919, 1079);
    const std::vector<MouseCall> expected{{0xF0, true, 10, 20},     {0xF0, false, 11, 21},    {0xF1, true, -5, 7},
                                          {0xF1, false, -5, 7},     {0xF2, true, 1919, 1079}, {0xF2, true, 1919, 1079},
                                          {0xF2, false, 1919, 1079}};
    QCOMPARE(m_buttons.size(), expected.size());
    QVERIFY(m_buttons == expected);
    QVERIFY(m_keys.empty());
}

void TestInputHook::otherButtonsAreSilent() {
    m_source->button(PointerButton::Other, true, 1, 1);
    m_source->button(PointerButton::Other, false, 1, 1);
    QVERIFY(m_buttons.empty());
}

void TestInputHook::callbackMayReplaceItself() {
    int firstCalls = 0;
    int secondCalls = 0;
    m_hook->registerKeyboardCallback([&](quint8, bool) {
        ++firstCalls;
        m_hook->registerKeyboardCallback([&](quint8, bool) { ++secondCalls; });
    });
    m_source->key(0x1E, false, true);
    m_source->key(0x1E, false, false);
    QCOMPARE(firstCalls, 1);
    QCOMPARE(secondCalls, 1);
}

void TestInputHook::installStartsAndRemoveStopsTheSource() {
    QVERIFY(m_hook->hooksInstalled());
    QVERIFY(m_source->isRunning());
    QCOMPARE(m_source->startCount(), 1);

    m_hook->removeHooks();
    QVERIFY(!m_source->isRunning());
    m_source->key(0x1E, false, true);
    QVERIFY(m_keys.empty());

    QVERIFY(m_hook->installHooks());
    QVERIFY(m_hook->installHooks()); // re-installation removes the running hooks first
    QCOMPARE(m_source->startCount(), 3);
    m_source->key(0x1E, false, true);
    QCOMPARE(m_keys.size(), std::size_t(1));
}

void TestInputHook::failedInstallLeavesNoHook() {
    m_source->failNextStart();
    QVERIFY(!m_hook->installHooks());
    QVERIFY(!m_hook->hooksInstalled());
    QVERIFY(!m_source->isRunning());

    InputHook::instance()->removeHooks();
    m_hook.reset();
    InputHook withoutSource;
    QVERIFY(!withoutSource.hooksInstalled());
    QVERIFY(!withoutSource.installHooks());
}

void TestInputHook::oneProcessWideHook() {
    QCOMPARE(InputHook::instance(), m_hook.get());
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("second InputHook"));
        InputHook second;
        QCOMPARE(InputHook::instance(), m_hook.get());
    }
    QCOMPARE(InputHook::instance(), m_hook.get());
    m_hook.reset();
    QCOMPARE(InputHook::instance(), nullptr);
}

QTEST_GUILESS_MAIN(TestInputHook)
#include "tst_inputhook.moc"
