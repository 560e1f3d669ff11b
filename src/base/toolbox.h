// toolbox: the library's own settings that the shell hands over at start-up (prefix Toolbox).
#pragma once

void ToolboxSetProgramDir(const char *folder);
void ToolboxSetUserDataDir(const char *folder);
const char *ToolboxProgramDir();  // "" until set
const char *ToolboxUserDataDir(); // "" until set
