// InfoLog is header-only; this file gives its signal a home (moc output).
#include "app/info_log.h"
