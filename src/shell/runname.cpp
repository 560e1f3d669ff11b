// runname: running custom commands and macros by name (prefix RunName).
#include "shell/runname.h"

#include "ui/dlgalert.h"

int RunCustomOrMacroByName(const char *name) {
    AlertError("Unknown command or macro: %s", name);
    return 1;
}
