// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationInvoker.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaMethod>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace {

QList<QMetaMethod> publicSlots(const QMetaObject& meta) {
    QList<QMetaMethod> found;
    for (int i = QObject::staticMetaObject.methodCount(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.access() == QMetaMethod::Public && method.methodType() == QMetaMethod::Slot)
            found.append(method);
    }
    return found;
}

QList<QMetaMethod> slotsNamed(const QObject* target, const QByteArray& name) {
    QList<QMetaMethod> found = publicSlots(*target->metaObject());
    found.removeIf([&name](const QMetaMethod& method) { return method.name() != name; });
    return found;
}

QString signatureOf(const QMetaMethod& method, const QString& prefix = {}) {
    return QString::fromLatin1(method.typeName()) + QLatin1Char(' ') + prefix +
           QString::fromLatin1(method.methodSignature());
}

QString signaturesOf(const QList<QMetaMethod>& methods) {
    QStringList lines;
    for (const QMetaMethod& method : methods)
        lines.append(signatureOf(method));
    return lines.join(QLatin1Char('\n'));
}

// JSON numbers are doubles; QML hands whole numbers over as integers.
QVariant fromJson(const QJsonValue& json) {
    if (json.isDouble()) {
        const double number = json.toDouble();
        if (std::trunc(number) == number && std::abs(number) < 9.0e15)
            return std::abs(number) <= 2147483647.0 ? QVariant(int(number)) : QVariant(qlonglong(number));
        return number;
    }
    if (json.isArray()) {
        QVariantList list;
        for (const auto& element : json.toArray())
            list.append(fromJson(element));
        return list;
    }
    if (json.isObject()) {
        QVariantMap map;
        const QJsonObject object = json.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            map.insert(it.key(), fromJson(it.value()));
        return map;
    }
    return json.toVariant();
}

// The range of an integer parameter type; nullopt for any other type.
std::optional<std::pair<double, double>> integerRange(QMetaType type) {
    switch (type.id()) {
    case QMetaType::UChar:
        return std::pair<double, double>(0, std::numeric_limits<uchar>::max());
    case QMetaType::Char:
    case QMetaType::SChar:
        return std::pair<double, double>(std::numeric_limits<signed char>::min(),
                                         std::numeric_limits<signed char>::max());
    case QMetaType::UShort:
        return std::pair<double, double>(0, std::numeric_limits<ushort>::max());
    case QMetaType::Short:
        return std::pair<double, double>(std::numeric_limits<short>::min(), std::numeric_limits<short>::max());
    case QMetaType::UInt:
        return std::pair<double, double>(0, std::numeric_limits<uint>::max());
    case QMetaType::Int:
        return std::pair<double, double>(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    case QMetaType::LongLong:
    case QMetaType::Long:
        return std::pair<double, double>(-9.0e18, 9.0e18);
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return std::pair<double, double>(0, 1.8e19);
    default:
        return std::nullopt;
    }
}

// A number an integer parameter cannot hold would wrap into another value
// (300 as a byte is 44): refused instead, like any argument of the wrong kind.
bool fitsIntegerParameter(const QVariant& value, QMetaType type) {
    const std::optional<std::pair<double, double>> range = integerRange(type);
    const bool isNumber = value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong ||
                          value.typeId() == QMetaType::Double;
    if (!range || !isNumber)
        return true;
    const double number = value.toDouble();
    return number >= range->first && number <= range->second;
}

bool convertTo(QVariant& value, QMetaType type) {
    if (type.id() == QMetaType::QVariant)
        return true;
    if (type.id() == QMetaType::QStringList && value.typeId() == QMetaType::QVariantList) {
        QStringList strings;
        for (const QVariant& element : value.toList())
            strings.append(element.toString());
        value = strings;
        return true;
    }
    if (value.typeId() == QMetaType::Double && type.id() != QMetaType::Double && type.id() != QMetaType::Float &&
        type.id() != QMetaType::QString)
        value = qlonglong(value.toDouble()); // integer parameters truncate like QML
    if (!value.isValid() || value.isNull()) {
        value = QVariant(type); // null becomes the default value, as in QML
        return true;
    }
    return value.convert(type);
}

} // namespace

OperationInvoker::Result OperationInvoker::invoke(QObject* target, const QString& operation,
                                                  const QJsonArray& arguments) {
    const QList<QMetaMethod> candidates = slotsNamed(target, operation.toLatin1());
    if (candidates.isEmpty())
        return {Outcome::UnknownOperation, {}, QStringLiteral("unknown operation: %1").arg(operation)};

    const auto chosen = std::find_if(candidates.begin(), candidates.end(), [&](const QMetaMethod& method) {
        return method.parameterCount() == arguments.size();
    });
    if (chosen == candidates.end())
        return {Outcome::WrongArgumentCount,
                {},
                QStringLiteral("%1 takes other arguments:\n%2").arg(operation, signaturesOf(candidates))};
    const QMetaMethod method = *chosen;

    std::vector<QVariant> values;
    values.reserve(size_t(arguments.size()));
    for (int i = 0; i < arguments.size(); ++i) {
        QVariant value = fromJson(arguments[i]);
        if (!fitsIntegerParameter(value, method.parameterMetaType(i)))
            return {
                Outcome::BadArgument,
                {},
                QStringLiteral("argument %1 of %2 is out of range for %3:\n%4")
                    .arg(i + 1)
                    .arg(operation, QString::fromLatin1(method.parameterMetaType(i).name()), signaturesOf({method}))};
        if (!convertTo(value, method.parameterMetaType(i)))
            return {Outcome::BadArgument,
                    {},
                    QStringLiteral("argument %1 of %2 cannot be converted:\n%3")
                        .arg(i + 1)
                        .arg(operation, signaturesOf({method}))};
        values.push_back(std::move(value));
    }

    QGenericArgument passed[10];
    const QList<QByteArray> typeNames = method.parameterTypes();
    for (size_t i = 0; i < values.size() && i < 10; ++i) {
        // A QVariant parameter receives the variant itself, any other its contents.
        const bool isVariant = method.parameterMetaType(int(i)).id() == QMetaType::QVariant;
        passed[i] = QGenericArgument(typeNames[int(i)].constData(),
                                     isVariant ? static_cast<const void*>(&values[i]) : values[i].constData());
    }

    const QMetaType returnType = method.returnMetaType();
    const bool hasResult = returnType.id() != QMetaType::Void;
    const bool returnsVariant = returnType.id() == QMetaType::QVariant;
    QVariant result = hasResult && !returnsVariant ? QVariant(returnType) : QVariant();
    QGenericReturnArgument returned;
    if (hasResult)
        returned =
            QGenericReturnArgument(method.typeName(), returnsVariant ? static_cast<void*>(&result) : result.data());
    method.invoke(target, Qt::DirectConnection, returned, passed[0], passed[1], passed[2], passed[3], passed[4],
                  passed[5], passed[6], passed[7], passed[8], passed[9]);

    return {Outcome::Done, hasResult ? toJson(result) : QJsonValue(QJsonValue::Null), {}};
}

QJsonValue OperationInvoker::parseWord(const QString& word) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson("[" + word.toUtf8() + "]", &error);
    if (error.error == QJsonParseError::NoError && document.array().size() == 1)
        return document.array().first();
    return word;
}

QJsonValue OperationInvoker::toJson(const QVariant& value) {
    if (!value.isValid())
        return QJsonValue::Null;
    switch (value.typeId()) {
    case QMetaType::UChar:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UShort:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Int:
    case QMetaType::ULong:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return {value.toLongLong()};
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        QJsonArray array;
        for (const QVariant& element : value.toList())
            array.append(toJson(element));
        return array;
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            object.insert(it.key(), toJson(it.value()));
        return object;
    }
    default:
        break;
    }
    if (value.canConvert<QVariantList>() && value.typeId() != QMetaType::QString) {
        // Sequences such as QList<uchar>.
        QJsonArray array;
        for (const QVariant& element : value.value<QVariantList>())
            array.append(toJson(element));
        return array;
    }
    return QJsonValue::fromVariant(value);
}

QStringList OperationInvoker::signatures(const QMetaObject& meta, const QString& prefix) {
    QStringList lines;
    for (const QMetaMethod& method : publicSlots(meta))
        lines.append(signatureOf(method, prefix));
    // By operation name, not by return type.
    const auto nameOf = [](const QString& line) { return QStringView(line).mid(line.indexOf(QLatin1Char(' ')) + 1); };
    std::sort(lines.begin(), lines.end(),
              [&nameOf](const QString& a, const QString& b) { return nameOf(a) < nameOf(b); });
    return lines;
}
