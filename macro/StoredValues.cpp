#include "StoredValues.h"

QStringList StoredValues::strings(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QStringList:
        return value.toStringList();
    case QMetaType::QVariantList: {
        QStringList texts;
        for (const QVariant& element : value.toList())
            texts << element.toString();
        return texts;
    }
    default:
        if (!value.isValid() || value.isNull())
            return {};
        return {value.toString()};
    }
}

std::optional<int> StoredValues::integer(const QVariant& value) {
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<QList<int>> StoredValues::integers(const QVariant& value) {
    QList<int> numbers;
    for (const QString& text : strings(value)) {
        const auto number = integer(text);
        if (!number)
            return std::nullopt;
        numbers << *number;
    }
    return numbers;
}

QVariantList StoredValues::toVariantList(const QList<int>& values) {
    QVariantList list;
    for (int value : values)
        list << value;
    return list;
}

QVariant StoredValues::numberOrValue(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        if (const auto number = integer(value))
            return *number;
    }
    return value;
}
