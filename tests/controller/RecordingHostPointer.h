#pragma once
// HostPointer double: keeps the host's values, records every call and refuses on demand.

#include "HostPointer.h"

#include <QStringList>

class RecordingHostPointer : public HostPointer {
public:
    MouseParameters parameters{6, 10, 1};
    bool refuse = false;
    QStringList calls;

    std::optional<MouseParameters> mouseParameters() override {
        calls << QStringLiteral("get");
        if (refuse)
            return std::nullopt;
        return parameters;
    }
    bool setMouseParameters(const MouseParameters& given) override {
        calls << QStringLiteral("mouse %1 %2 %3").arg(given.threshold1).arg(given.threshold2).arg(given.acceleration);
        if (!refuse)
            parameters = given;
        return !refuse;
    }
    bool setWheelScrollLines(unsigned int lines) override {
        calls << QStringLiteral("lines %1").arg(lines);
        return !refuse;
    }
    bool setDoubleClickTime(unsigned int milliseconds) override {
        calls << QStringLiteral("click %1").arg(milliseconds);
        return !refuse;
    }
    bool setMouseSpeed(unsigned int speed) override {
        calls << QStringLiteral("speed %1").arg(speed);
        return !refuse;
    }
};
