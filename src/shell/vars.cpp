// vars: the shared state words (g_ names); modules read and set them directly.
#include "shell/vars.h"

int32_t g_appRunState = APP_STARTING;
uint32_t g_appFlags = 0;
