#include "app/applog.h"

Q_LOGGING_CATEGORY(lcApp, "kv730.app")
