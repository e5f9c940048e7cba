#include "formats/formatslog.h"

Q_LOGGING_CATEGORY(lcFormats, "kv730.formats")
