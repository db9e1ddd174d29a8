// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Logging category of the application shell (entry, window, input, local channels).
Q_DECLARE_LOGGING_CATEGORY(lcApp)
