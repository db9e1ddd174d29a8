// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging category of the macro and gun subsystem.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMacro)
