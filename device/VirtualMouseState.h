// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole memory of the virtual mouse as plain data, so a test can build,
// inspect and compare it. Also carries its INI form (virtual-device.ini).

#include <QString>
#include <array>
#include <cstdint>
#include <map>

struct VirtualMouseState {
    using Byte = std::uint8_t;
    using Rgb = std::array<Byte, 3>;

    static constexpr int kKeyMatrices = 4;
    static constexpr int kMacroSlots = 12;
    static constexpr int kPictures = 5;

    // Function option (03H / 83H); 01H writes the same report rate.
    Byte sensorType = 1;
    Byte reportRate = 1;
    Byte option1 = 0;
    Byte option2 = 0;
    Byte activeKeyMatrix = 0; // 02H
    std::array<Byte, 5> gunData{};
    std::map<Byte, Rgb> ledInstruct; // 07H: three option bytes by type
    Byte dpiStageCount = 6;
    Byte currentStage = 1;
    std::array<Byte, 8> dpiCodes{};
    Byte ledEffect = 0;
    Byte ledOption1 = 0;
    Byte ledOption2 = 0;
    Byte xSensitivity = 0;
    Byte ySensitivity = 0;
    std::array<Byte, 4> stageColors4{};
    std::array<Byte, 24> stageColors24{};
    std::array<std::array<Byte, 64>, kKeyMatrices> keyMatrices{};
    std::array<std::array<Byte, 128>, kMacroSlots> macros{};

    // Keyboard family blocks, kept so every command has somewhere to land.
    std::array<Byte, 6> ledType{}; // option, effect, speed, light, color, direction
    Byte keyboardMode = 0;
    std::array<Byte, 512> keyboardKeyMatrix{};
    std::array<Byte, 21> keySwitches{};
    std::array<std::array<Byte, 512>, kPictures> pictures{};
    std::map<Byte, std::array<Byte, 192>> keyboardMacros;
    std::map<Byte, Rgb> colors;
    std::uint32_t recoveryRequests = 0;

    bool operator==(const VirtualMouseState&) const = default;

    // Memory of a mouse fresh from the factory.
    static VirtualMouseState factory();

    QString toIni() const;
    // Reads what toIni() (or an older run) wrote; missing or malformed keys keep factory values.
    static VirtualMouseState fromIniFile(const QString& path);
};
