#include "device/devicelog.h"

Q_LOGGING_CATEGORY(lcDevice, "kv730.device")
