#include "DeviceLog.h"

Q_LOGGING_CATEGORY(lcDevice, "quellar.device")
