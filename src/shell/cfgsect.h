// cfgsect: the configuration's other sections (prefixes ConfigSect and the owners cfg*Owner, helpers
// CfgSect): the display options record, the reserved record, the search options, the project report
// settings, the owners of the key map and the document types, and the stand-ins of the slots whose owners
// are not registered. Also the two display questions the configuration answers: which browsing windows show
// (ConfigActivateWindows) and whether backgrounds are textured (UseBackgroundTextures).
//
// Sections (little-endian, stored as they lie in memory):
//   slot 0  the 44-byte display options record (display/opts.h);
//   slot 2  32 zero bytes, read and ignored;
//   slot 5  the four 20-byte search option records (shell/srchopt.h);
//   slot 10 the 68-byte project report settings: 8 words, then the report's font description;
//   slot 8  the languages: a chain of 56-byte headers (u32 language slot, 0 in the last; u32 at 8 the next
//           header's offset; u32 at 12, 16 and 20 the offsets of the keyword list, the parse conditions and
//           the 896-byte property record, 0 when absent), each followed by its records; offsets are from the
//           start of the file;
//   slot 19 the relation windows: u32 number of windows, 128 zero bytes, a 5896-byte record, then per window
//           a 5896-byte record and the string lists it refers to.
// A slot without an owner keeps a fixed-size record as it was read (none until a file had one) and writes it
// back; a variable one (custom commands, languages, style sheet, relation windows) is checked and skipped,
// and written empty.
#pragma once

#include "shell/config.h"
#include "ui/fontdesc.h"

#include <cstdint>

struct ProjectReportSettings {
    uint32_t words[8];
    FontDesc font;
};
static_assert(sizeof(ProjectReportSettings) == 68, "the project report settings are 68 bytes");

extern ProjectReportSettings g_projectReport;

// The records that other owners store, carried whole while those owners are not registered; and slot 2.
template <uint32_t Size>
struct ConfigCarriedRecord {
    uint8_t bytes[Size];
};
using ConfigPrinterRecord = ConfigCarriedRecord<216>;
using ConfigProjectWindowRecord = ConfigCarriedRecord<684>;
using ConfigClipWindowRecord = ConfigCarriedRecord<624>;
using ConfigSymbolWindowRecord = ConfigCarriedRecord<212>;
using ConfigContextWindowRecord = ConfigCarriedRecord<660>;
using ConfigStyleRecord = ConfigCarriedRecord<1480>;
using ConfigToolbarRecord = ConfigCarriedRecord<5024>;
using ConfigTypeFilterRecord = ConfigCarriedRecord<16>;
using ConfigReservedRecord = ConfigCarriedRecord<32>;
static_assert(sizeof(ConfigPrinterRecord) == 216 && sizeof(ConfigProjectWindowRecord) == 684 &&
                  sizeof(ConfigClipWindowRecord) == 624 && sizeof(ConfigSymbolWindowRecord) == 212 &&
                  sizeof(ConfigContextWindowRecord) == 660 && sizeof(ConfigStyleRecord) == 1480 &&
                  sizeof(ConfigToolbarRecord) == 5024 && sizeof(ConfigTypeFilterRecord) == 16 &&
                  sizeof(ConfigReservedRecord) == 32,
              "the stored sizes of the carried records");

// Defaults: every byte 0xFF, then words 2 and 7 zero and the font "Courier New" 10 points.
void ConfigReportDefaults(ProjectReportSettings *out);

// Shows or hides the project, clip and context windows and every relation window by the display options.
void ConfigActivateWindows();
bool UseBackgroundTextures(); // "Use background textures" is on and no visual style is in use

// A header of the languages section's chain.
struct ConfigLangHeader {
    uint32_t slot; // the language's slot in the language table; 0 in the last header
    uint32_t reserved4;
    uint32_t next;       // the offset of the next header
    uint32_t keywords;   // the offset of the keyword list, 0 when none
    uint32_t conditions; // the offset of the parse conditions, 0 when none
    uint32_t properties; // the offset of the 896-byte property record, 0 when none
    uint32_t reserved[8];
};
static_assert(sizeof(ConfigLangHeader) == 56, "a language header is 56 bytes");

// The languages section's chain: every header, its records and the next header inside the section, later
// headers further on, each language slot below 100 and named once; the chain ends at slot 0.
bool ConfigLanguagesCheck(int file, const ConfigSection *section);
bool ConfigRelationCheck(int file, const ConfigSection *section);

// The key map and the document types, registered by the program at start-up. The key map section of an
// older file is brought up to date on apply: keys that later versions bound are bound where they are free.
extern const ConfigOwner configKeyMapOwner;
extern const ConfigOwner configDocTypesOwner;

// The owners of the configuration's own sections and the stand-ins of the others.
extern const ConfigOwner cfgDisplayOwner;
extern const ConfigOwner cfgReservedOwner;
extern const ConfigOwner cfgSearchOwner;
extern const ConfigOwner cfgReportOwner;
const ConfigOwner *CfgBuiltInOwner(int32_t slot);
