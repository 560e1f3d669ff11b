// graphprn: printing a graph window (prefix GraphPrint). A graph too large for one page is printed as a
// grid of equal cells, one cell per page, through the print manager, with the Print dialog shown.
#pragma once

#include "ui/printman.h"

#include <windows.h>

// Prints the graph of the window under the page setup; the job's result (false when cancelled or failed).
// The graph is laid out for the printer while it prints and for the screen again afterwards.
bool GraphPrint(HWND window, PrintSetup *setup, const char *name);
