// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreLog.h"

Q_LOGGING_CATEGORY(lcStore, "quellar.store")
