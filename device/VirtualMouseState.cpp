// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualMouseState.h"

#include <QByteArray>
#include <QSettings>
#include <QStringList>
#include <span>

namespace {

using Byte = VirtualMouseState::Byte;

// Visits every fixed-size field with its INI key, so writing and reading share one list.
template <typename State, typename ScalarFn, typename BlockFn>
void visitFields(State& s, ScalarFn scalar, BlockFn block) {
    scalar("function/sensorType", s.sensorType);
    scalar("function/reportRate", s.reportRate);
    scalar("function/option1", s.option1);
    scalar("function/option2", s.option2);
    scalar("mouse/activeKeyMatrix", s.activeKeyMatrix);
    block("mouse/gunData", std::span(s.gunData));
    scalar("dpi/stageCount", s.dpiStageCount);
    scalar("dpi/currentStage", s.currentStage);
    block("dpi/codes", std::span(s.dpiCodes));
    scalar("light/effect", s.ledEffect);
    scalar("light/option1", s.ledOption1);
    scalar("light/option2", s.ledOption2);
    block("light/stageColors4", std::span(s.stageColors4));
    block("light/stageColors24", std::span(s.stageColors24));
    scalar("sensor/x", s.xSensitivity);
    scalar("sensor/y", s.ySensitivity);
    for (int i = 0; i < VirtualMouseState::kKeyMatrices; ++i)
        block(QStringLiteral("keyMatrix/%1").arg(i + 1), std::span(s.keyMatrices[static_cast<std::size_t>(i)]));
    for (int i = 0; i < VirtualMouseState::kMacroSlots; ++i)
        block(QStringLiteral("macro/%1").arg(i + 1), std::span(s.macros[static_cast<std::size_t>(i)]));
    block("keyboard/ledType", std::span(s.ledType));
    scalar("keyboard/mode", s.keyboardMode);
    block("keyboard/keyMatrix", std::span(s.keyboardKeyMatrix));
    block("keyboard/keySwitches", std::span(s.keySwitches));
    for (int i = 0; i < VirtualMouseState::kPictures; ++i)
        block(QStringLiteral("picture/%1").arg(i), std::span(s.pictures[static_cast<std::size_t>(i)]));
}

QString hexOf(std::span<const Byte> bytes) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())).toHex());
}

bool readHex(const QString& text, std::span<Byte> out) {
    const QByteArray raw = QByteArray::fromHex(text.toLatin1());
    if (raw.size() != static_cast<qsizetype>(out.size()))
        return false;
    std::copy(raw.begin(), raw.end(), out.begin());
    return true;
}

struct IniWriter {
    QString text;
    QString group;

    void put(const QString& key, const QString& value) {
        const QString keyGroup = key.section(QLatin1Char('/'), 0, 0);
        if (keyGroup != group) {
            text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + QLatin1Char('[') + keyGroup +
                    QStringLiteral("]\n");
            group = keyGroup;
        }
        text += key.section(QLatin1Char('/'), 1) + QLatin1Char('=') + value + QLatin1Char('\n');
    }
};

template <typename Value> void putMap(IniWriter& out, const QString& group, const std::map<Byte, Value>& map) {
    for (const auto& [key, value] : map)
        out.put(group + QLatin1Char('/') + QString::number(key), hexOf(std::span(value)));
}

template <typename Value> void readMap(const QSettings& ini, const QString& group, std::map<Byte, Value>& map) {
    for (const QString& key : ini.allKeys()) {
        if (!key.startsWith(group + QLatin1Char('/')))
            continue;
        bool ok = false;
        const uint index = key.section(QLatin1Char('/'), 1).toUInt(&ok);
        Value value{};
        if (ok && index <= 0xFF && readHex(ini.value(key).toString(), std::span(value)))
            map[static_cast<Byte>(index)] = value;
    }
}

} // namespace

VirtualMouseState VirtualMouseState::factory() {
    VirtualMouseState state;
    // The standard button assignment the pages start from: 16 entries of 4 bytes.
    static constexpr std::array<std::uint32_t, 16> kDefaultMatrix{
        0x0100f000, 0x0100f100, 0x0100f200, 0x0f002e00, 0x0f000500, 0x08000101, 0x07000300, 0,
        0,          0,          0,          0,          0,          0,          0x04000100, 0x04000200};
    for (std::size_t i = 0; i < kDefaultMatrix.size(); ++i) {
        for (std::size_t b = 0; b < 4; ++b)
            state.keyMatrices[0][i * 4 + b] = static_cast<Byte>(kDefaultMatrix[i] >> (24 - 8 * b));
    }
    return state;
}

QString VirtualMouseState::toIni() const {
    IniWriter out;
    visitFields(
        *this, [&](const QString& key, Byte value) { out.put(key, QString::number(value)); },
        [&](const QString& key, std::span<const Byte> bytes) { out.put(key, hexOf(bytes)); });
    putMap(out, QStringLiteral("ledInstruct"), ledInstruct);
    putMap(out, QStringLiteral("keyboardMacro"), keyboardMacros);
    putMap(out, QStringLiteral("color"), colors);
    out.put(QStringLiteral("keyboard/recoveryRequests"), QString::number(recoveryRequests));
    return out.text;
}

VirtualMouseState VirtualMouseState::fromIniFile(const QString& path) {
    VirtualMouseState state = factory();
    const QSettings ini(path, QSettings::IniFormat);
    visitFields(
        state,
        [&](const QString& key, Byte& value) {
            bool ok = false;
            const uint read = ini.value(key).toString().toUInt(&ok);
            if (ok && read <= 0xFF)
                value = static_cast<Byte>(read);
        },
        [&](const QString& key, std::span<Byte> bytes) {
            std::array<Byte, 512> scratch{};
            const std::span<Byte> target(scratch.data(), bytes.size());
            if (readHex(ini.value(key).toString(), target))
                std::copy(target.begin(), target.end(), bytes.begin());
        });
    readMap(ini, QStringLiteral("ledInstruct"), state.ledInstruct);
    readMap(ini, QStringLiteral("keyboardMacro"), state.keyboardMacros);
    readMap(ini, QStringLiteral("color"), state.colors);
    state.recoveryRequests = ini.value(QStringLiteral("keyboard/recoveryRequests"), 0).toUInt();
    return state;
}
