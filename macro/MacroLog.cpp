// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroLog.h"

Q_LOGGING_CATEGORY(lcMacro, "quellar.macro")
