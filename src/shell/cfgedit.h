// cfgedit: the edit options section of the configuration file (prefix ConfigEdit, and the symbol path
// ConfigSetSymbolPath): the option words g_options, g_options2 and g_options3 and the numbers of the
// preferences, packed into a 52-byte record, followed by the project symbol path.
//
// Section (slot 1), little-endian: the 52-byte record (13 words; which file bit holds which option bit is
// the table in cfgedit.cpp; word 6 bit 6 is always set and says the long form of the path follows); the
// symbol path as a length-prefixed string cut to 255 characters; the same path in long form (a u32 length
// counting the NUL, the characters and the NUL). A reader takes the long form when word 6 bit 6 is set, else
// the short one.
#pragma once

#include "shell/config.h"

#include <cstdint>

struct ConfigEditRecord {
    uint32_t words[13];
};
static_assert(sizeof(ConfigEditRecord) == 52, "the edit options record is 13 words");

enum : uint32_t { CONFIG_EDIT_LONG_PATH = 1u << 6 }; // word 6: the long form of the symbol path follows

// The record from the live option words and numbers, and the live words from a record (the numbers kept
// within their bounds: at least one second and one minute, backups kept 0 to 16000 days, a known line-end
// format and paste selection, else their defaults).
void ConfigEditGather(ConfigEditRecord *out);
void ConfigEditSpread(const ConfigEditRecord *record);

// The project symbol path: project files separated by ';', at most 2559 characters. Setting it marks the
// configuration changed.
void ConfigSetSymbolPath(const char *text);
const char *ConfigSymbolPath(); // "" when there is none

extern const ConfigOwner cfgEditOwner;
