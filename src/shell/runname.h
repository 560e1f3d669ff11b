// runname: running custom commands and macros by name (prefix RunName). The dispatcher hands it every name
// that names no command of the table.
#pragma once

// Runs the custom command or macro of that name: 0 when it ran, else non-zero. For now there are neither
// custom commands nor macros, so every name is reported as "Unknown command or macro: %s".
int RunCustomOrMacroByName(const char *name);
