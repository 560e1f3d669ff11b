// cfgcolor: the colours of the configuration (prefix Config...Color, helpers CfgColor): the 13 colours of the
// colour record (display/opts.h, which holds their names and their two default tables) as the Preferences
// edit them, and the record's section (slot 20) of the configuration file.
#pragma once

#include "display/opts.h"
#include "shell/config.h"

#include <cstdint>

enum { CONFIG_COLOR_NAME_MAX = 32 }; // a buffer that holds any colour's name

uint32_t ConfigGetColor(int32_t index); // 0 outside 0..12
// The name the Colors page shows ("Window Background"); "" outside 0..12.
void ConfigColorName(int32_t index, char *out);
// Sets one colour; the application background repaints the frame's MDI background. An index outside 0..12
// changes nothing.
void ConfigSetColor(int32_t index, uint32_t color);
// Takes a whole record's colours, repaints the MDI background and, when asked, every window.
void ConfigApplyColors(const ColorRecord *record, bool redraw);
// The defaults by the display's colour depth, the application background the system's.
void ConfigColorDefaults(ColorRecord *out);

extern const ConfigOwner cfgColorOwner;
