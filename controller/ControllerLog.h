// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging category of the controller.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcController)
