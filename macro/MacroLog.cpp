#include "MacroLog.h"

Q_LOGGING_CATEGORY(lcMacro, "quellar.macro")
