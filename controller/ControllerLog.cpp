#include "ControllerLog.h"

Q_LOGGING_CATEGORY(lcController, "quellar.controller")
