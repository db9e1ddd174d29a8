// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Logging category of the device link (discovery, transport, worker, virtual mouse).

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcDevice)
