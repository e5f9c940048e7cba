#include "view/viewlog.h"

Q_LOGGING_CATEGORY(lcView, "kv730.view")
