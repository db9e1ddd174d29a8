// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging category of the configuration store.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcStore)
