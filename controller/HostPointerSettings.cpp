// SPDX-License-Identifier: GPL-3.0-or-later
#include "HostPointerSettings.h"

#include "DevicePort.h"
#include "HostPointer.h"
#include "ProfileKeys.h"
#include "ProfileStore.h"
#include "SettingsValues.h"
#include "ValueRange.h"

#include <QDebug>

namespace {

// The half-dials offer steps 0 to 11; the scroll field 1 to 100 lines, or one screen.
constexpr unsigned int kLastStep = 11;
constexpr unsigned int kFewestLines = 1;
constexpr unsigned int kMostLines = 100;
constexpr unsigned int kOneScreen = 1000;

constexpr unsigned int kSlowestClickMs = 900;
constexpr unsigned int kClickStepMs = 70;
constexpr unsigned int kSpeedPerStep = 2;
constexpr unsigned int kSpeedForStepZero = 1;

} // namespace

HostPointerSettings::HostPointerSettings(ProfileStore& profiles, HostPointer& host, DevicePort& device, QObject* parent)
    : QObject(parent), m_profiles(profiles), m_host(host), m_device(device) {}

unsigned int HostPointerSettings::doubleClickTimeOf(unsigned int step) {
    // Steps beyond the slowest possible time would wrap below zero; the page offers 0..11.
    const unsigned int lastStep = kSlowestClickMs / kClickStepMs;
    return kSlowestClickMs - kClickStepMs * std::min(step, lastStep);
}

unsigned int HostPointerSettings::cursorSpeedOf(unsigned int step) {
    return step == 0 ? kSpeedForStepZero : kSpeedPerStep * step;
}

void HostPointerSettings::setScrollPinSwap(bool isSwap) {
    m_profiles.writeCurrent(ProfileKeys::kScrollSwap, isSwap);
    uchar type = 0;
    uchar option1 = 0;
    uchar option2 = 0;
    uchar rate = 0;
    m_device.getFunctionOption(type, option1, option2);
    m_device.getReportRate(rate);
    option1 = static_cast<uchar>((option1 & ~kScrollSwapBit) | (isSwap ? kScrollSwapBit : 0));
    m_device.setFunctionOption(type, rate, option1, option2);
}

bool HostPointerSettings::getScrollPinSwap() {
    return SettingsValues::boolean(m_profiles.current().value(ProfileKeys::kScrollSwap), false);
}

void HostPointerSettings::setAcceleration(bool acceleration) {
    std::optional<HostPointer::MouseParameters> parameters = m_host.mouseParameters();
    if (!parameters) {
        qDebug() << "setAcceleration Failed";
        return;
    }
    parameters->acceleration = acceleration ? 1 : 0;
    if (!m_host.setMouseParameters(*parameters))
        qDebug() << "setAcceleration Failed";
}

bool HostPointerSettings::getAcceleration() {
    const std::optional<HostPointer::MouseParameters> parameters = m_host.mouseParameters();
    if (!parameters) {
        qDebug() << "getAcceleration Failed";
        return false;
    }
    return parameters->acceleration != 0;
}

void HostPointerSettings::setCursorSpeed(uint cursorSpeed) {
    if (!ValueRange::check(cursorSpeed, 0, kLastStep, "setCursorSpeed", "step"))
        return;
    m_profiles.writeCurrent(ProfileKeys::kCursorSpeed, cursorSpeed);
    if (!m_host.setMouseSpeed(cursorSpeedOf(cursorSpeed)))
        qDebug() << "setCursorSpeed Failed";
}

uint HostPointerSettings::getCursorSpeed() {
    return storedStep(ProfileKeys::kCursorSpeed);
}

void HostPointerSettings::setVerticalScrollLines(uint lines) {
    if (lines != kOneScreen && !ValueRange::check(lines, kFewestLines, kMostLines, "setVerticalScrollLines", "lines"))
        return;
    m_profiles.writeCurrent(ProfileKeys::kVerticalScrollLines, lines);
    if (!m_host.setWheelScrollLines(lines))
        qDebug() << "setVerticalScrollLines Failed";
}

uint HostPointerSettings::getVerticalScrollLines() {
    return storedStep(ProfileKeys::kVerticalScrollLines);
}

void HostPointerSettings::setDoubleClickSpeed(uint speed) {
    if (!ValueRange::check(speed, 0, kLastStep, "setDoubleClickSpeed", "step"))
        return;
    m_profiles.writeCurrent(ProfileKeys::kDoubleClickSpeed, speed);
    if (!m_host.setDoubleClickTime(doubleClickTimeOf(speed)))
        qDebug() << "setDoubleClickSpeed Failed";
}

uint HostPointerSettings::getDoubleClickSpeed() {
    return storedStep(ProfileKeys::kDoubleClickSpeed);
}

uint HostPointerSettings::storedStep(const QString& key) {
    return SettingsValues::unsignedInteger(m_profiles.current().value(key), 0);
}
