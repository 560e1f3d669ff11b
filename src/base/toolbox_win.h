// toolbox_win: the library's settings read from and written to the registry.
#pragma once

#include <windows.h>

bool ToolboxInit(HKEY key);              // defaults, then the values the key holds
void ToolboxReadRemoteOptions(HKEY key); // a missing value keeps the option's current value
void ToolboxWriteRemoteOptions(HKEY key);
