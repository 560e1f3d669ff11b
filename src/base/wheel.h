// wheel: the mouse wheel (prefix Wheel): whether there is one, the system's own wheel message or the older
// registered ones, and how many lines a notch scrolls.
#pragma once

#include <windows.h>

void WheelInit();
bool WheelIsPresent();
bool WheelIsLegacy();
int WheelLinesPerNotch();               // -1: the system scrolls by pages
int WheelLines(WPARAM wParam, int max); // lines to scroll for a wheel message, positive downwards, 1..max
bool WheelIsNative();
UINT WheelRollMessage(); // the registered message of the older wheel, (UINT)-1 when none
