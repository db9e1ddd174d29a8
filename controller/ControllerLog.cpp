// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControllerLog.h"

Q_LOGGING_CATEGORY(lcController, "quellar.controller")
