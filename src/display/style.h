// style: the style sheet (prefix Style, StyleSheet). Every character a source window, a printed page or an
// HTML page shows is drawn in a style: a named set of display properties. The sheet holds the 146 built-in
// styles at fixed indexes and the custom styles the user adds above them; a style may name a parent and then
// inherits every property it does not set itself. One sheet is current; it is replaced whole, never edited
// in place by the dialogs. Portable but for two facts of the display (style_win.cpp, style_posix.cpp): the
// system's window-text colour and whether the display shows more than 256 colours.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
//
// A style record (an element of the sheet; the same bytes in memory and in the configuration file, words
// little-endian): offset 0 flags (bit 0: the list holds a parent, key 19; recomputed after every change),
// offset 4 zero, offset 8 the property list: entries {key: 32 bits, value: 32 bits}; an entry of key 6 is
// followed by the font face name and its NUL (9 bytes plus the name's length in all); the list ends with an
// entry {0, 0}. An empty style is 16 bytes; a record never exceeds 280. Each key is held at most once (key
// 0x80000000 marks a scale that an absolute size overruled: no reader knows it).
//
// The configuration section: the name list (the string list's file form), then the sheet's container in the
// plexvar file form with 292 bytes of its own header after the container's 44: word 0 zero (the name list,
// which is written before the container), word 1 the sheet version 0x3000001, word 2 the number of built-in
// styles in its low 16 bits, then zeros (336 header bytes in all). A section is read whole and checked (every
// record well-formed within 280 bytes, every name naming a style) before it replaces anything.
#pragma once

#include "base/plexvar.h"
#include "base/stl.h"
#include "display/textbuf.h"
#include "ui/fontdesc.h"

#include <cstdint>

// Property keys (the Style Properties dialog's labels).
enum StyleKey : int32_t {
    STYLE_FORE = 1,      // "Foreground": 0x00BBGGRR
    STYLE_BACK = 2,      // "Background"
    STYLE_BOLD = 3,      // "Bold": 1 on, 0 off
    STYLE_ITALIC = 4,    // "Italic"
    STYLE_UNDERLINE = 5, // "Underline": STYLE_UNDERLINE_*
    STYLE_FONT = 6,  // "Font Name": bits 0-7 pitch and family, 8-10 character-set code, 16-23 character set
    STYLE_SIZE = 7,  // "Size": quarter points
    STYLE_SCALE = 8, // "Scale": percent of the base size; scales along the parent chain multiply
    STYLE_BOX = 9,   // no dialog control: two bits carried into the appearance (bits 3-4)
    STYLE_INVERSE = 10,     // "Inverse"
    STYLE_FIXED_WHITE = 11, // "Fixed White Space"
    STYLE_STRIKE = 12,      // "Strike-Thru"
    STYLE_SHADOW = 13,      // "Shadow": colour
    STYLE_ABOVE = 14,       // "Above Line": percent of the text height
    STYLE_BELOW = 15,       // "Below Line"
    STYLE_EXPANDED = 16,    // "Expanded": percent of the average character width
    STYLE_PARENT = 19,      // "Parent Style": index, 0 none
    STYLE_CAPS = 20,        // "All Caps": STYLE_CAPS_*
    STYLE_KEEP_NEXT = 21,   // "Print together with next line"
};
enum : int32_t { STYLE_KEY_OVERRULED = (int32_t)0x80000000 };

enum StyleUnderline : int32_t {
    STYLE_UNDERLINE_NONE = 0,
    STYLE_UNDERLINE_SINGLE = 1,
    STYLE_UNDERLINE_DOUBLE = 2,
    STYLE_UNDERLINE_DOTTED = 3,
    STYLE_UNDERLINE_THICK = 4,
};
enum StyleCaps : int32_t {
    STYLE_CAPS_NONE = 0,
    STYLE_CAPS_UPPER = 1,
    STYLE_CAPS_LOWER = 2,
    STYLE_CAPS_FIRST = 3,
    STYLE_CAPS_FIRST_PARTIAL = 4, // first upper, only for words of one case
    STYLE_CAPS_EXPAND = 5,        // only mixed-case words
};

enum {
    STYLE_RECORD_MAX = 280,
    STYLE_RECORD_EMPTY = 16,
    STYLE_BUILTINS = 146,
    STYLE_NAME_MAX = 256, // name buffers: up to 255 characters and the NUL
    STYLE_SHEET_OWN_HEADER = 292,
    STYLE_SHEET_HEADER = PLEXVAR_FILE_HEADER + STYLE_SHEET_OWN_HEADER, // 336 stored header bytes
    STYLE_COUNT_MAX = 65536,                                           // styles a sheet may hold
};
enum : uint32_t {
    STYLE_HAS_PARENT = 0x1, // record flags
    STYLE_SHEET_VERSION = 0x3000001,
};
static_assert(STYLE_SHEET_HEADER == 336, "the stored sheet header is 336 bytes");

// Built-in styles the program names.
enum StyleIndex : int32_t {
    STYLE_DEFAULT_TEXT = 0,
    STYLE_NUMBER = 1,
    STYLE_OPERATOR = 2,
    STYLE_DELIMITER = 3,
    STYLE_COMMENT = 4,
    STYLE_STRING = 5,
    STYLE_KEYWORD = 6,
    STYLE_CONTROL = 7,
    STYLE_DECLARATION = 17,
    STYLE_REF_TO_LOCAL = 21,
    STYLE_REFERENCE = 22,
    STYLE_DIRECTIVE = 24,
    STYLE_LINE_NUMBER = 25,
    STYLE_HIGHLIGHT = 30,
    STYLE_SYMBOL_CHARS = 31,
    STYLE_REF_TO_PARAMETER = 34,
    STYLE_SELECTION = 41,
    STYLE_DECLARE_LOCAL = 59,
    STYLE_DECLARE_FUNCTION = 63,
    STYLE_REF_TO_FUNC = 82,
    STYLE_REF_TO_GLOBAL_VAR = 87,
    STYLE_REF_TO_METHOD = 93,
    STYLE_REF_TO_LABEL = 98,
    STYLE_REF_TO_MEMBER = 99,
    STYLE_COMMENT_HEADING_1 = 103,
    STYLE_COMMENT_HEADING_4 = 106,
    STYLE_COMMENT_RIGHT = 107,
    STYLE_INACTIVE_CODE = 110,
    STYLE_DECLARE_PARAMETER = 111,
    STYLE_AUTO_ANNOTATIONS = 112,
    STYLE_COMMENT_TODO = 120,
    STYLE_COMMENT_SINGLE = 125,
    STYLE_COMMENT_MULTI = 126,
    STYLE_PARENTHESES = 127,
    STYLE_DRAFT_VIEW = 136,
};

// A property: its key and value, and for key 6 the face name (null: empty).
struct StyleProp {
    int32_t key;
    int32_t value;
    const char *face;
};

// Appearance flags.
enum : uint32_t {
    STYLE_APP_UNDERLINE = 0x7, // underline kind (key 5)
    STYLE_APP_BOX = 0x18,      // the key-9 value
    STYLE_APP_INVERSE = 0x80,  // key 10
    STYLE_APP_BOX_SHIFT = 3,
};

// What drawing and export need of a resolved style, in memory only. The font's style word: bit 0 bold, 1
// italic, 2 strike-through, 4 fixed white space, 5-7 the character-set code, 8-15 pitch and family.
struct StyleAppearance {
    uint32_t flags; // STYLE_APP_*
    uint32_t fore;
    uint32_t back;
    uint32_t shadow; // key 13 replaces the low 24 bits only
    FontDesc font;
};

// The sheet: the container's header, then its own fields. In memory only (the name list pointer grows on
// 64-bit); its stored header is the 336 bytes above.
struct StyleSheet {
    PlexVar pv;       // elements: the style records
    Stl *names;       // {name, index}, sorted by identifier order; owned
    uint32_t version; // STYLE_SHEET_VERSION
    int32_t builtins; // built-in styles (146; 59 in sheets of configurations of version 0x3000002 and older)
};

// ---- Sheets
StyleSheet *StyleSheetCreate(int32_t capacity);
StyleSheet *StyleSheetBuildDefault();
void StyleSheetFree(StyleSheet *sheet);
StyleSheet *StyleSheetCopy(const StyleSheet *sheet);
// The current sheet (null before one is installed). Installing frees the previous one; a null sheet only
// frees it. With refresh the languages re-resolve their style names.
StyleSheet *StyleCurrent();
void StyleSheetInstall(StyleSheet *sheet, bool refresh);
int StyleSheetResetDefault(); // 0 when out of memory (the current sheet stays)
void StyleSheetRefreshLangs();
int32_t StyleCount(const StyleSheet *sheet); // 0 for null
// A change counter raised by every install and every change of the current sheet, for caches.
uint32_t StyleStamp();

// ---- Records and properties. An index outside 0..count-1 reads as an empty style.
const unsigned char *StyleRecord(const StyleSheet *sheet, int32_t index, int32_t *outSize);
// Well-formed: a list that ends within the size and within 280 bytes; the size the list really takes (its
// terminator's end) in outUsed.
bool StyleRecordValid(const unsigned char *record, int32_t size, int32_t *outUsed);
// One property merged into a record (buffer of STYLE_RECORD_MAX bytes, size counting the terminator);
// false (no change) when the record would pass 280 bytes.
bool StylePropMerge(unsigned char *record, int32_t *size, const StyleProp *prop, bool keepExisting);
// The next entry of a list from *offset (8 at first); false at its end.
bool StylePropNext(const unsigned char *record, int32_t size, int32_t *offset, StyleProp *out);
bool StyleSetProperty(StyleSheet *sheet, int32_t index, const StyleProp *prop);
bool StyleSetParent(StyleSheet *sheet, int32_t index, int32_t parent);
bool StyleSetRecord(StyleSheet *sheet, int32_t index, const unsigned char *record, int32_t size);
bool StyleRemoveProperty(StyleSheet *sheet, int32_t index, int32_t key);
bool StyleFindPropertyIn(const StyleSheet *sheet, int32_t index, int32_t key, StyleProp *out);
bool StyleFindProperty(int32_t index, int32_t key, StyleProp *out); // the current sheet
int32_t StyleGetParent(const StyleSheet *sheet, int32_t index);     // 0: none
// The effective list: the style's own record when it has no parent, else merged into scratch (a buffer of
// STYLE_RECORD_MAX bytes). The size in outSize.
const unsigned char *StyleResolve(const StyleSheet *sheet, int32_t index, unsigned char *scratch,
                                  int32_t *outSize);
bool StyleGetResolvedProp(int32_t index, int32_t key, int32_t *outValue); // the current sheet
void StyleGetAppearance(const StyleSheet *sheet, int32_t index, StyleAppearance *inOut);
// Applies one property of a resolved list to an appearance (keys that only the formatter reads are left).
void StyleApplyProp(const StyleProp *prop, StyleAppearance *inOut);
bool StyleIsEmpty(int32_t index); // the current sheet
bool StyleHasChildren(const StyleSheet *sheet, int32_t index);
bool StyleParentAllowed(const StyleSheet *sheet, int32_t parent, int32_t index);

// ---- Names and custom styles (the current sheet)
char *StyleGetName(int32_t index, char *out); // out of STYLE_NAME_MAX bytes; "" when none
const char *StyleBuiltinName(int32_t index);  // "" outside 0..145
int32_t StyleFindByName(const StyleSheet *sheet, const char *name); // -1 when none
int32_t StyleAddCustom(const char *name, int32_t copyFrom);         // the new index, or -1
bool StyleDeleteCustom(int32_t index);

// ---- Configuration section
int StyleSheetSave(int file, const StyleSheet *sheet);
// The stored sheet, converted by the configuration's version; null (and nothing changed) when the section
// cannot be read or is not sound. *outChanged tells that a conversion changed it (the configuration must be
// saved again).
StyleSheet *StyleSheetLoad(int file, uint32_t configVersion, bool *outChanged);
// The foreground of styles 0 to 16 from an older colour table of 17 entries (entries equal to the first one
// skipped); the first entry becomes the default text colour.
void StyleSheetTakeOldColors(StyleSheet *sheet, const uint32_t colors[17]);

// ---- CSS: the sheet as rules laid over a base appearance; the number of characters appended.
int32_t StyleSheetWriteCss(const StyleSheet *sheet, TextBuf *out, const StyleAppearance *base, bool wrapped);

// ---- Colours of the current sheet
uint32_t StyleDefaultFore();
uint32_t StyleDefaultBack();
uint32_t StyleDefaultShadow(); // key 13 of style 0, else StyleDefaultBack
uint32_t StyleColorFore(int32_t index);
uint32_t StyleColorBack(int32_t index);
uint32_t StyleContrastGrey();

// Hook: the languages re-resolve the style names of their keyword lists, comment and range definitions,
// and the highlighted words (nothing while unset).
typedef void (*StyleLangsHook)();
void StyleSetLangsHook(StyleLangsHook hook);

// The display's side (style_win.cpp, style_posix.cpp).
uint32_t StyleOsWindowText();
bool StyleOsManyColours();
