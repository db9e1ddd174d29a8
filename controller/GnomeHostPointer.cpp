// SPDX-License-Identifier: GPL-3.0-or-later
// GLib first: its headers use names that Qt's keywords would rewrite.
#include <gio/gio.h>

#include "GnomeHostPointer.h"

#include <algorithm>
#include <climits>

namespace {

const char* const kDoubleClickKey = "double-click";
const char* const kSpeedKey = "speed";
const char* const kAccelProfileKey = "accel-profile";
const char* const kAccelOn = "default";
const char* const kAccelOff = "flat";
constexpr double kNeutralSpeed = 10.0;
constexpr double kSpeedSpan = 10.0;

bool committed(gboolean accepted) {
    if (!accepted)
        return false;
    g_settings_sync();
    return true;
}

} // namespace

const char* const GnomeHostPointer::kSchema = "org.gnome.desktop.peripherals.mouse";

bool GnomeHostPointer::isAvailable() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, kSchema, TRUE);
    if (!schema)
        return false;
    g_settings_schema_unref(schema);
    return true;
}

GnomeHostPointer::GnomeHostPointer() : m_settings(isAvailable() ? g_settings_new(kSchema) : nullptr) {}

GnomeHostPointer::~GnomeHostPointer() {
    if (m_settings)
        g_object_unref(m_settings);
}

double GnomeHostPointer::gnomeSpeedOf(unsigned int speed) {
    const double scaled = (static_cast<double>(speed) - kNeutralSpeed) / kSpeedSpan;
    return std::clamp(scaled, -1.0, 1.0);
}

std::optional<HostPointer::MouseParameters> GnomeHostPointer::mouseParameters() {
    if (!m_settings)
        return std::nullopt;
    gchar* profile = g_settings_get_string(m_settings, kAccelProfileKey);
    MouseParameters parameters;
    parameters.acceleration = g_strcmp0(profile, kAccelOff) != 0 ? 1 : 0;
    g_free(profile);
    return parameters;
}

bool GnomeHostPointer::setMouseParameters(const MouseParameters& parameters) {
    if (!m_settings)
        return false;
    const char* profile = parameters.acceleration != 0 ? kAccelOn : kAccelOff;
    return committed(g_settings_set_string(m_settings, kAccelProfileKey, profile));
}

bool GnomeHostPointer::setWheelScrollLines(unsigned int) {
    return false;
}

bool GnomeHostPointer::setDoubleClickTime(unsigned int milliseconds) {
    if (!m_settings || milliseconds > static_cast<unsigned int>(INT_MAX))
        return false;
    return committed(g_settings_set_int(m_settings, kDoubleClickKey, static_cast<gint>(milliseconds)));
}

bool GnomeHostPointer::setMouseSpeed(unsigned int speed) {
    if (!m_settings)
        return false;
    return committed(g_settings_set_double(m_settings, kSpeedKey, gnomeSpeedOf(speed)));
}
