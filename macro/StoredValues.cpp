#include "StoredValues.h"

#include "SettingsValues.h"

std::optional<int> StoredValues::integer(const QVariant& value) {
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

std::optional<QList<int>> StoredValues::integers(const QVariant& value) {
    QList<int> numbers;
    for (const QString& text : SettingsValues::texts(value)) {
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
