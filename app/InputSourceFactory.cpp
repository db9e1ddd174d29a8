// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputSourceFactory.h"

#include "WindowEventInputSource.h"
#include "X11RawInputSource.h"

#include <QGuiApplication>

bool InputSourceFactory::x11Available() {
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") && X11RawInputSource::displayAvailable();
}

std::unique_ptr<InputSource> InputSourceFactory::create() {
    if (x11Available())
        return std::make_unique<X11RawInputSource>();
    return std::make_unique<WindowEventInputSource>();
}
