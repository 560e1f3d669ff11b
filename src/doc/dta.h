// dta: document types (prefix Dta, and the buffer-level option questions Doc...). A document type says how
// the files whose names match it are edited, shown and parsed: its wildcard list, its language, its editing
// and display options, its screen and printer fonts, and an optional pattern that picks symbols out of files
// without a parser. The table of types is one global record of parallel lists (type i is entry i of each),
// filled with the built-in types on first use, saved in the configuration file, brought up to date when an
// older configuration is loaded, and edited by the Document Options dialog. Languages are bound by name: a
// type's language index is recomputed from its language name after every change (unknown names: 0, "None").
// Without a table (before the configuration defaults), every name is of type 0 with the default options.
// Success convention of the document core: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure; a failed read sets the current error.
//
// The configuration section (DtaWrite, DtaRead), little-endian, in this order:
//   count                32-bit number of types (at least 1: type 0 is "Default")
//   options              32-bit byte length = count x 48, then the DtaOptions records
//   names                StbWrite form (base/stb.h)
//   wildcard lists       StbWrite form, items separated by ";"
//   custom patterns      StbWrite form (regular expressions, may be empty)
//   fonts                32-bit byte length = count x 80, then the DtaFont records
//   language names       StlWrite form (base/stl.h); only in configurations newer than version 0x3000066
// Every list holds count entries; tab widths lie in 1..20, margins in 10..4092 and custom tag types in 0..58.
#pragma once

#include "base/heap.h"
#include "base/stb.h"
#include "base/stl.h"
#include "ui/fontdesc.h"

#include <cstddef>
#include <cstdint>

struct FileBuffer;
struct FontRecord;

// An option entry (48 bytes, twelve 32-bit words), stored in configurations.
struct DtaOptions {
    uint32_t flags;    // DTA_*
    int32_t tabWidth;  // 1..20
    int32_t margin;    // 10..4092
    int32_t width2;    // a second width: 4, or the tab width after upgrading an older configuration
    int32_t reserved4; // 0
    int32_t reserved5; // 0
    int32_t language;  // language index, recomputed from the language name after every change
    int32_t customTag; // symbol type + 1 of the symbols the custom pattern finds, 0 none
    int32_t reserved[4];
};
static_assert(sizeof(DtaOptions) == 48, "a document type's options are twelve 32-bit words");

// Flags of an option entry (the Document Options dialog's labels).
enum : uint32_t {
    DTA_WORD_WRAP = 1u << 0,         // "Word Wrap"
    DTA_OLD_AUTO_INDENT = 1u << 1,   // read only when upgrading
    DTA_EXPAND_TABS = 1u << 2,       // "Expand tabs"
    DTA_ENTER_NEW_LINE = 1u << 3,    // "Enter key -> new line"
    DTA_STATUS_FORM = 3u << 4,       // 0 "Line, Col, Symbol", 1 "Line, Col, Char, Byte"
    DTA_USE_DEFAULT = 1u << 6,       // "Use options from Default type"
    DTA_NOT_IN_PROJECTS = 1u << 7,   // "Include when adding to projects" cleared
    DTA_MARGIN_PIXELS = 1u << 8,     // the margin counts pixels, and typing does not expand tabs
    DTA_EMULATE_SCREEN = 1u << 9,    // "Emulate screen fonts when printing"
    DTA_LINE_UP_WHITE = 1u << 10,    // "Line up white space" (the font's narrow-punctuation bit)
    DTA_VISIBLE_TABS = 1u << 12,     // "Visible tabs"
    DTA_LINE_NUMBERS = 1u << 13,     // "Show line numbers"
    DTA_RIGHT_MARGIN = 1u << 14,     // "Show right margin"
    DTA_AUTO_INDENT_MASK = 3u << 15, // 0 "None", 1 "Simple", 2 "Smart"
    DTA_AUTO_INDENT_SIMPLE = 1u << 15,
    DTA_AUTO_INDENT_SMART = 2u << 15,
    DTA_INDENT_OPEN = 1u << 17,    // "Indent Open Brace"
    DTA_INDENT_CLOSE = 1u << 18,   // "Indent Close Brace"
    DTA_BIT19 = 1u << 19,          // set in the defaults; no control
    DTA_PAGE_BREAKS = 1u << 20,    // "Show page breaks"
    DTA_SYMBOL_WINDOW = 1u << 21,  // "Symbol Window"
    DTA_AUTO_COMPLETE = 1u << 22,  // "Allow auto-complete"
    DTA_SMART_PASTE = 1u << 23,    // "Allow intelligent paste"
    DTA_VISIBLE_SPACES = 1u << 24, // "Visible spaces"
    DTA_DEFAULT_FLAGS = 0x6E8408,  // bits 3, 10, 15, 17, 18, 19, 21, 22
};
enum {
    DTA_TAB_MIN = 1,
    DTA_TAB_MAX = 20,
    DTA_MARGIN_MIN = 10,
    DTA_MARGIN_MAX = 4092,
    DTA_SYMBOL_TYPES = 58, // custom tag types run 0..58 (a symbol type + 1)
};

// A type's fonts (80 bytes), stored in configurations.
struct DtaFont {
    uint32_t reserved[2]; // cleared whenever the table is made or read
    FontDesc screen;
    FontDesc printer;
};
static_assert(sizeof(DtaFont) == 80, "a document type's font record is 80 bytes");
static_assert(offsetof(DtaFont, screen) == 8 && offsetof(DtaFont, printer) == 44);

// The style record a type's text is drawn with (52 bytes), handed to the display layer.
struct DtaStyle {
    FontDesc font;
    uint32_t fore;  // text colour
    uint32_t back;  // background colour
    uint32_t fill;  // the display layer's further colour
    uint32_t flags; // font flags of the display layer, when the fill differs from the background
};
static_assert(sizeof(DtaStyle) == 52, "a style record is 52 bytes");

// The table: nine words, the lists parallel. In memory only (the pointers grow on 64-bit).
struct DtaTable {
    int32_t count;
    Handle *options; // count x DtaOptions
    Stb *names;      // slot value: the index at insertion
    Stb *wildcards;  // items separated by ";"
    Stb *patterns;   // custom parse patterns
    Handle *fonts;   // count x DtaFont
    int32_t changes; // raised by every change
    Stl *languages;  // the language name of each type
    uint32_t reserved;
};

extern const char ercDtaInit[]; // "Could not initialize document types."

// Table life. DtaTableInit frees the current table and makes it empty; DtaDefaults fills it with the
// built-in types and reads the file aliases.
int DtaTableInit();
void DtaTableFree(DtaTable *table);
void DtaTableExit();
int DtaDefaults();
const DtaTable *DtaCurrent();
int32_t DtaCount();

void DtaOptionsDefault(DtaOptions *out);
// Both descriptions of the face at size points; the stock fixed font's when the system lacks the face.
void DtaFontInit(DtaFont *font, const char *face, int32_t points);
void DtaFontDefault(DtaFont *font); // "Courier New" 8

// Changing the table. A null language name takes the name of the entry's language. 1 / 0 (the lists
// unchanged on failure).
int DtaInsert(int32_t index, const DtaOptions *entry, const char *name, const char *wildcards,
              const char *pattern, const char *language, const DtaFont *font);
int DtaAppend(const DtaOptions *entry, const char *name, const char *wildcards, const char *pattern,
              const char *language, const DtaFont *font);
int DtaAddDefault(const DtaOptions *entry, const char *name, const char *wildcards, const char *pattern,
                  const DtaFont *font);
int DtaReplace(int32_t index, const DtaOptions *entry, const char *name, const char *wildcards,
               const char *pattern, const char *language, const DtaFont *font);
void DtaDelete(int32_t index);
// Copies out (each out may be null; strings of 256 bytes).
void DtaGetType(int32_t index, DtaOptions *entry, char *name, char *wildcards, char *pattern, DtaFont *font);
void DtaGetLanguageName(int32_t index, char *out);
void DtaChanged();
void DtaBindLanguages();
void DtaApplyToBuffers();

// Lookups.
int32_t DtaFindByName(const char *name);     // -1 when none
int32_t DtaFindByLanguage(int32_t language); // 0 (Default) when none
int32_t DtaMacroTypeIndex();                 // -1 when no type has the macro language
int32_t DtaTypeLanguage(int32_t type);
int32_t DtaTypeTagType(int32_t type);
int32_t DtaTypeStamp(int32_t type);
bool DtaTypeInProjects(int32_t type);
int32_t DtaFindTypeForFile(const char *path);
int32_t DtaTypeOfFile(const char *path); // the language of the file's type
bool DtaFileMatchesType(const char *path, int32_t type);
// Appends to list the files of the current folder whose type is not Default and that the filter (may be
// null) accepts; 0 when out of memory.
typedef bool (*DtaFileFilter)(const char *name);
int DtaListKnownFiles(Stl *list, DtaFileFilter filter);
int DtaLoadFileAliases();
const char *DtaSymbolTypeName(int32_t symbolType, bool plural); // "" outside 0..57

// Options. DtaGetOptions: nonzero when Default's options stood in ("Use options from Default type").
int DtaGetOptions(int32_t type, DtaOptions *out);
int DtaGetBufferOptions(const FileBuffer *doc); // into the scratch record
const DtaOptions *DtaScratchOptions();
int32_t DtaTabWidth(const FileBuffer *doc);
bool DtaAutoIndent(const FileBuffer *doc);
bool DocShowLineNumbers(const FileBuffer *doc);
bool DocVisibleTabs(const FileBuffer *doc);
bool DocVisibleSpaces(const FileBuffer *doc);
bool DocShowRightMargin(const FileBuffer *doc);
bool DocShowPageBreaks(const FileBuffer *doc);
int32_t DocTabPixels(FileBuffer *doc);
bool DocIsProgramSourceView(const FileBuffer *doc);
int DocStatusFieldCount(const FileBuffer *doc);

// Fonts and styles. The font object and its system font come from the window library's font cache.
// The buffer's own screen font (null: the type's again); 0 when out of memory (the old one stays).
int DocSetFont(FileBuffer *doc, const FontDesc *desc);
// The description DocGetFont asks the font cache for.
void DocGetFontDesc(const FileBuffer *doc, bool printing, FontDesc *out);
FontRecord *DocGetFont(const FileBuffer *doc, bool printing);
void *DocGetFontHandle(const FileBuffer *doc, bool printing); // the system font (HFONT)
void DtaStyleRecord(int32_t type, bool printing, DtaStyle *out);
void DocStyleRecord(const FileBuffer *doc, bool printing, DtaStyle *out, FontRecord **outFont);
DtaFont *DtaFontRecord(int32_t type);
DtaFont *DocFontRecord(const FileBuffer *doc);
int DocTypeStyleText(int32_t type, const char *text);

// The configuration section. DtaRead applies the upgrades a configuration of that version needs while
// reading; DtaUpgrade makes the read table current (taking its lists) and adds what older versions lack,
// then runs the steps of every load; DtaMerge replaces or appends each read type by name (the read table
// stays the caller's). DtaLanguageNamesFromIndexes: a list of the names of the entries' languages.
int DtaWrite(int file, const DtaTable *table);
int DtaRead(int file, DtaTable *out, uint32_t version);
void DtaUpgrade(DtaTable *loaded, uint32_t version);
void DtaMerge(const DtaTable *loaded);
Stl *DtaLanguageNamesFromIndexes(const DtaTable *table);

// The window library's side (dta_win.cpp; the native build's dta_posix.cpp has no fonts of the system: a
// face is taken as asked and no font object is made).
bool DtaOsFaceAvailable(const FontDesc *desc);
void DtaOsStockFixedFont(FontDesc *out);
FontRecord *DtaOsFontGet(int32_t device, const FontDesc *desc);
void *DtaOsFontHandle(FontRecord *font);
