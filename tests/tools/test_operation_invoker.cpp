// Invoking operations by name with QML's argument conversion, as quellarctl does.
#include "OperationInvoker.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QTest>

class Target : public QObject {
    Q_OBJECT
public:
    QList<QVariant> received;

public slots:
    void takeByte(uchar value) { received = {int(value)}; }
    uchar answerByte() { return 200; }
    void takeInts(int a, uint b) { received = {a, b}; }
    QVariant echo(QVariant value) { return value; }
    QVariantList reverse(QVariantList list)
    {
        std::reverse(list.begin(), list.end());
        return list;
    }
    QStringList strings(QStringList list) { return list; }
    QVariantMap map() { return {{"a", 1}, {"b", QStringList{"x"}}}; }
    QList<uchar> bytes() { return {1, 2, 255}; }
    bool flag(bool value) { return !value; }
    QVariant nothing() { return {}; }
    void overloaded() { received = {0}; }
    void overloaded(int value) { received = {value}; }
};

class TestOperationInvoker : public QObject {
    Q_OBJECT
private slots:
    void convertsArgumentsLikeQml_data();
    void convertsArgumentsLikeQml();
    void integerParametersTruncate();
    void overloadsAreChosenByArgumentCount();
    void failuresNameTheSignature();
    void shellWordsAreJsonOrText();
};

void TestOperationInvoker::convertsArgumentsLikeQml_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QJsonArray>("arguments");
    QTest::addColumn<QJsonValue>("expected");

    QTest::newRow("uchar result") << "answerByte" << QJsonArray{} << QJsonValue(200);
    QTest::newRow("number through QVariant stays integral") << "echo" << QJsonArray{3} << QJsonValue(3);
    QTest::newRow("text through QVariant") << "echo" << QJsonArray{"3"} << QJsonValue("3");
    QTest::newRow("list") << "reverse" << QJsonArray{QJsonArray{1, "a", true}} << QJsonValue(QJsonArray{true, "a", 1});
    QTest::newRow("string list from numbers") << "strings" << QJsonArray{QJsonArray{1, "b"}}
                                              << QJsonValue(QJsonArray{"1", "b"});
    QTest::newRow("map") << "map" << QJsonArray{}
                         << QJsonValue(QJsonObject{{"a", 1}, {"b", QJsonArray{"x"}}});
    QTest::newRow("byte list") << "bytes" << QJsonArray{} << QJsonValue(QJsonArray{1, 2, 255});
    QTest::newRow("bool") << "flag" << QJsonArray{false} << QJsonValue(true);
    QTest::newRow("invalid result is null") << "nothing" << QJsonArray{} << QJsonValue(QJsonValue::Null);
    QTest::newRow("void result is null") << "takeByte" << QJsonArray{7} << QJsonValue(QJsonValue::Null);
}

void TestOperationInvoker::convertsArgumentsLikeQml()
{
    QFETCH(QString, operation);
    QFETCH(QJsonArray, arguments);
    QFETCH(QJsonValue, expected);
    Target target;
    const auto result = OperationInvoker::invoke(&target, operation, arguments);
    QCOMPARE(result.outcome, OperationInvoker::Outcome::Done);
    QCOMPARE(result.value, expected);
}

void TestOperationInvoker::integerParametersTruncate()
{
    Target target;
    OperationInvoker::invoke(&target, "takeByte", {300});
    QCOMPARE(target.received, QList<QVariant>{44});
    OperationInvoker::invoke(&target, "takeInts", {2.9, "17"});
    QCOMPARE(target.received, (QList<QVariant>{2, 17u}));
}

void TestOperationInvoker::overloadsAreChosenByArgumentCount()
{
    Target target;
    OperationInvoker::invoke(&target, "overloaded", {});
    QCOMPARE(target.received, QList<QVariant>{0});
    OperationInvoker::invoke(&target, "overloaded", {5});
    QCOMPARE(target.received, QList<QVariant>{5});
}

void TestOperationInvoker::failuresNameTheSignature()
{
    Target target;
    auto unknown = OperationInvoker::invoke(&target, "noSuchOperation", {});
    QCOMPARE(unknown.outcome, OperationInvoker::Outcome::UnknownOperation);
    QVERIFY(unknown.message.contains("noSuchOperation"));

    auto wrongCount = OperationInvoker::invoke(&target, "takeInts", {1});
    QCOMPARE(wrongCount.outcome, OperationInvoker::Outcome::WrongArgumentCount);
    QVERIFY(wrongCount.message.contains("takeInts(int,uint)"));

    auto badArgument = OperationInvoker::invoke(&target, "takeInts", {QJsonObject{{"x", 1}}, 1});
    QCOMPARE(badArgument.outcome, OperationInvoker::Outcome::BadArgument);
    QVERIFY(target.received.isEmpty());
}

void TestOperationInvoker::shellWordsAreJsonOrText()
{
    QCOMPARE(OperationInvoker::parseWord("12"), QJsonValue(12));
    QCOMPARE(OperationInvoker::parseWord("[1,2]"), QJsonValue(QJsonArray{1, 2}));
    QCOMPARE(OperationInvoker::parseWord("\"x y\""), QJsonValue("x y"));
    QCOMPARE(OperationInvoker::parseWord("plain words"), QJsonValue("plain words"));
    QCOMPARE(OperationInvoker::parseWord("1, 2"), QJsonValue("1, 2"));
    QCOMPARE(OperationInvoker::parseWord("null"), QJsonValue(QJsonValue::Null));
}

QTEST_GUILESS_MAIN(TestOperationInvoker)
#include "test_operation_invoker.moc"
