// InfoLog is header-only; this file gives its signal a home (moc output).
#include "pages/info_log.h"
