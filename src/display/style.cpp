// style: the style sheet (prefix Style, StyleSheet). The sheet is a plexvar of style records with the name
// list and two words of its own behind the container's header; the current sheet is one module global with a
// change stamp. Every reader of a record goes through StyleRecord, which answers an index outside the sheet
// with the empty style, so a stale parent, a language's unknown style (-1) or a stored value past the count
// never reads outside the sheet. Stored sections are read into a new sheet and checked whole before the
// caller sees it.
#include "display/style.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/heap.h"
#include "base/ident.h"
#include "base/num.h"
#include "base/str.h"
#include "base/utilil.h"
#include "display/opts.h"

#include <cstring>
#include <initializer_list>

static_assert(sizeof(FontDesc) == 36);

enum {
    STYLE_ENTRY = 8,            // key and value
    STYLE_FONT_ENTRY = 9,       // key, value and the face's NUL
    STYLE_LIST_START = 8,       // the property list follows flags and the reserved word
    STYLE_OLD_BUILTINS = 59,    // built-in styles of configurations of version 0x3000002 and older
    STYLE_NAMES_CAPACITY = 160, // first room of a name list
};

// Configuration versions at which the stored sheet changed.
enum : uint32_t {
    STYLE_VERSION_OLD_BUILTINS = 0x3000002, // and older: 59 built-in styles
    STYLE_VERSION_RENAMED = 0x3000006,      // below: styles 24, 21 and 31 had other names
    STYLE_VERSION_TODO = 0x332000B,         // below: style 120 had another name
};

static const unsigned char styleEmpty[STYLE_RECORD_EMPTY] = {};

static StyleSheet *styleCurrent;
static uint32_t styleStamp;
static StyleLangsHook styleLangsHook;

// ---- Records

static int32_t StyleGet32(const unsigned char *at) {
    return PlexVarGetLE(at);
}

static void StylePut32(unsigned char *at, int32_t v) {
    PlexVarPutLE(at, v);
}

int32_t StyleCount(const StyleSheet *sheet) {
    return sheet ? PlexVarCount(&sheet->pv) : 0;
}

const unsigned char *StyleRecord(const StyleSheet *sheet, int32_t index, int32_t *outSize) {
    if (index < 0 || index >= StyleCount(sheet)) {
        if (outSize) *outSize = STYLE_RECORD_EMPTY;
        return styleEmpty;
    }
    if (outSize) *outSize = PlexVarLength(&sheet->pv, index);
    return PlexVarElem(&sheet->pv, index);
}

// The entry at an offset, checked against the record's size: its key, value, face and length.
static bool StyleEntryAt(const unsigned char *record, int32_t size, int32_t offset, StyleProp *out,
                         int32_t *outLength) {
    if (offset < STYLE_LIST_START || offset + STYLE_ENTRY > size) return false;
    out->key = StyleGet32(record + offset);
    out->value = StyleGet32(record + offset + 4);
    out->face = nullptr;
    *outLength = STYLE_ENTRY;
    if (out->key != STYLE_FONT) return true;
    const void *nul = memchr(record + offset + STYLE_ENTRY, 0, size - offset - STYLE_ENTRY);
    if (!nul) return false;
    out->face = (const char *)record + offset + STYLE_ENTRY;
    *outLength = STYLE_FONT_ENTRY + (int32_t)strlen(out->face);
    return true;
}

bool StylePropNext(const unsigned char *record, int32_t size, int32_t *offset, StyleProp *out) {
    int32_t length;
    if (!StyleEntryAt(record, size, *offset, out, &length) || out->key == 0) return false;
    *offset += length;
    return true;
}

bool StyleRecordValid(const unsigned char *record, int32_t size, int32_t *outUsed) {
    if (size < STYLE_RECORD_EMPTY) return false;
    int32_t limit = size < STYLE_RECORD_MAX ? size : STYLE_RECORD_MAX;
    StyleProp prop;
    int32_t offset = STYLE_LIST_START, length;
    while (StyleEntryAt(record, limit, offset, &prop, &length)) {
        offset += length;
        if (prop.key == 0) {
            if (outUsed) *outUsed = offset;
            return true;
        }
    }
    return false;
}

static bool StyleRecordHasParent(const unsigned char *record, int32_t size) {
    StyleProp prop;
    for (int32_t offset = STYLE_LIST_START; StylePropNext(record, size, &offset, &prop);)
        if (prop.key == STYLE_PARENT) return true;
    return false;
}

static void StyleFixFlags(unsigned char *record, int32_t size) {
    uint32_t flags = (uint32_t)StyleGet32(record);
    flags = StyleRecordHasParent(record, size) ? flags | STYLE_HAS_PARENT : flags & ~STYLE_HAS_PARENT;
    StylePut32(record, (int32_t)flags);
}

static int32_t StylePropLength(const StyleProp *prop) {
    return prop->key == STYLE_FONT ? STYLE_FONT_ENTRY + (int32_t)strlen(prop->face ? prop->face : "")
                                   : STYLE_ENTRY;
}

static void StyleCut(unsigned char *record, int32_t *size, int32_t offset, int32_t length) {
    memmove(record + offset, record + offset + length, *size - offset - length);
    *size -= length;
}

// Inserts the entry before the terminating one; false when the record would pass 280 bytes.
static bool StyleAppendProp(unsigned char *record, int32_t *size, const StyleProp *prop) {
    int32_t length = StylePropLength(prop), at = *size - STYLE_ENTRY;
    if (*size + length > STYLE_RECORD_MAX) return false;
    memmove(record + at + length, record + at, STYLE_ENTRY);
    StylePut32(record + at, prop->key);
    StylePut32(record + at + 4, prop->value);
    if (prop->key == STYLE_FONT) strcpy((char *)record + at + STYLE_ENTRY, prop->face ? prop->face : "");
    *size += length;
    if (prop->key == STYLE_PARENT) StylePut32(record, StyleGet32(record) | STYLE_HAS_PARENT);
    return true;
}

bool StylePropMerge(unsigned char *record, int32_t *size, const StyleProp *prop, bool keepExisting) {
    StyleProp have;
    int32_t offset = STYLE_LIST_START, length;
    while (StyleEntryAt(record, *size, offset, &have, &length) && have.key != 0) {
        if (have.key == STYLE_SCALE && prop->key == STYLE_SIZE) {
            StylePut32(record + offset, STYLE_KEY_OVERRULED); // an absolute size overrules the scale
        } else if (have.key == STYLE_SIZE && prop->key == STYLE_SCALE) {
            return true; // an absolute size wins over a scale
        } else if (have.key == prop->key) {
            if (keepExisting && have.key != STYLE_SCALE) return true;
            if (have.key == STYLE_FONT) {
                StyleCut(record, size, offset, length);
                break;
            }
            if (have.key == STYLE_SCALE) {
                StylePut32(record + offset + 4, NumMulDiv(have.value, prop->value, 100));
            } else if (have.key == STYLE_PARENT && prop->value == 0) {
                StyleCut(record, size, offset, length);
                StyleFixFlags(record, *size);
            } else {
                StylePut32(record + offset + 4, prop->value);
            }
            return true;
        }
        offset += length;
    }
    if (prop->key == STYLE_PARENT && prop->value == 0) return true;
    return StyleAppendProp(record, size, prop);
}

// ---- Sheets

StyleSheet *StyleSheetCreate(int32_t capacity) {
    StyleSheet *sheet = (StyleSheet *)PlexVarCreateEx(sizeof(StyleSheet), capacity, 0);
    if (!sheet) return nullptr;
    sheet->names = StlCreate(STYLE_NAMES_CAPACITY);
    if (!sheet->names) {
        PlexVarFree(&sheet->pv);
        return nullptr;
    }
    sheet->version = STYLE_SHEET_VERSION;
    sheet->builtins = STYLE_BUILTINS;
    return sheet;
}

void StyleSheetFree(StyleSheet *sheet) {
    if (!sheet) return;
    if (sheet->names) StlFree(sheet->names);
    PlexVarFree(&sheet->pv);
}

StyleSheet *StyleSheetCopy(const StyleSheet *sheet) {
    StyleSheet *copy = (StyleSheet *)PlexVarDup(&sheet->pv, sizeof(StyleSheet));
    if (!copy) return nullptr;
    copy->names = StlDup(sheet->names);
    if (!copy->names) {
        PlexVarFree(&copy->pv);
        return nullptr;
    }
    return copy;
}

StyleSheet *StyleCurrent() {
    return styleCurrent;
}

uint32_t StyleStamp() {
    return styleStamp;
}

static void StyleChanged(const StyleSheet *sheet) {
    if (sheet == styleCurrent) styleStamp++;
}

void StyleSheetInstall(StyleSheet *sheet, bool refresh) {
    if (styleCurrent && styleCurrent != sheet) StyleSheetFree(styleCurrent);
    styleCurrent = sheet;
    styleStamp++;
    if (refresh) StyleSheetRefreshLangs();
}

int StyleSheetResetDefault() {
    StyleSheet *sheet = StyleSheetBuildDefault();
    if (!sheet) return 0;
    StyleSheetInstall(sheet, true);
    return 1;
}

void StyleSetLangsHook(StyleLangsHook hook) {
    styleLangsHook = hook;
}

void StyleSheetRefreshLangs() {
    if (styleLangsHook) styleLangsHook();
}

// ---- Properties of a sheet

// A style's record copied into a buffer of STYLE_RECORD_MAX bytes; false for an index outside the sheet.
static bool StyleCopyRecord(const StyleSheet *sheet, int32_t index, unsigned char *out, int32_t *outSize) {
    if (index < 0 || index >= StyleCount(sheet)) return false;
    int32_t size = PlexVarLength(&sheet->pv, index);
    if (size > STYLE_RECORD_MAX) return false; // 281 bytes or more: full
    memcpy(out, PlexVarElem(&sheet->pv, index), size);
    *outSize = size;
    return true;
}

static bool StyleStore(StyleSheet *sheet, int32_t index, unsigned char *record, int32_t size) {
    StyleFixFlags(record, size);
    if (!PlexVarSet(&sheet->pv, index, record, size)) return false;
    StyleChanged(sheet);
    return true;
}

bool StyleParentAllowed(const StyleSheet *sheet, int32_t parent, int32_t index) {
    int32_t count = StyleCount(sheet);
    if (index == 0 || parent == index) return false;
    for (int32_t at = parent, steps = 0; at > 0 && at < count && steps <= count; steps++) {
        if (at == index) return false;
        at = StyleGetParent(sheet, at);
    }
    return true;
}

bool StyleSetProperty(StyleSheet *sheet, int32_t index, const StyleProp *prop) {
    unsigned char record[STYLE_RECORD_MAX];
    int32_t size;
    if (!StyleCopyRecord(sheet, index, record, &size)) return false;
    if (prop->key == STYLE_PARENT && prop->value != 0) {
        bool inSheet = prop->value > 0 && prop->value < StyleCount(sheet);
        if (!inSheet || !StyleParentAllowed(sheet, prop->value, index)) return false;
    }
    if (!StylePropMerge(record, &size, prop, false)) return false;
    return StyleStore(sheet, index, record, size);
}

bool StyleSetParent(StyleSheet *sheet, int32_t index, int32_t parent) {
    StyleProp prop = {STYLE_PARENT, parent, nullptr};
    return StyleSetProperty(sheet, index, &prop);
}

bool StyleSetRecord(StyleSheet *sheet, int32_t index, const unsigned char *record, int32_t size) {
    unsigned char copy[STYLE_RECORD_MAX];
    int32_t used;
    if (index < 0 || index >= StyleCount(sheet) || !StyleRecordValid(record, size, &used)) return false;
    memcpy(copy, record, used);
    return StyleStore(sheet, index, copy, used);
}

// The offset and length of a key's entry in a record; false when absent.
static bool StyleFindEntry(const unsigned char *record, int32_t size, int32_t key, StyleProp *out,
                           int32_t *outOffset, int32_t *outLength) {
    StyleProp prop;
    int32_t length;
    for (int32_t offset = STYLE_LIST_START;
         StyleEntryAt(record, size, offset, &prop, &length) && prop.key != 0; offset += length) {
        if (prop.key != key) continue;
        if (out) *out = prop;
        if (outOffset) *outOffset = offset;
        if (outLength) *outLength = length;
        return true;
    }
    return false;
}

bool StyleRemoveProperty(StyleSheet *sheet, int32_t index, int32_t key) {
    unsigned char record[STYLE_RECORD_MAX];
    int32_t size, offset, length;
    if (!StyleCopyRecord(sheet, index, record, &size)) return false;
    if (!StyleFindEntry(record, size, key, nullptr, &offset, &length)) return true;
    StyleCut(record, &size, offset, length);
    return StyleStore(sheet, index, record, size);
}

bool StyleFindPropertyIn(const StyleSheet *sheet, int32_t index, int32_t key, StyleProp *out) {
    int32_t size;
    const unsigned char *record = StyleRecord(sheet, index, &size);
    return StyleFindEntry(record, size, key, out, nullptr, nullptr);
}

bool StyleFindProperty(int32_t index, int32_t key, StyleProp *out) {
    return StyleFindPropertyIn(styleCurrent, index, key, out);
}

int32_t StyleGetParent(const StyleSheet *sheet, int32_t index) {
    StyleProp prop;
    if (!StyleFindPropertyIn(sheet, index, STYLE_PARENT, &prop)) return 0;
    return prop.value > 0 && prop.value < StyleCount(sheet) ? prop.value : 0;
}

const unsigned char *StyleResolve(const StyleSheet *sheet, int32_t index, unsigned char *scratch,
                                  int32_t *outSize) {
    int32_t size;
    const unsigned char *record = StyleRecord(sheet, index, &size);
    if (!(StyleGet32(record) & STYLE_HAS_PARENT)) {
        *outSize = size;
        return record;
    }
    memcpy(scratch, styleEmpty, STYLE_RECORD_EMPTY);
    int32_t merged = STYLE_RECORD_EMPTY, count = StyleCount(sheet);
    // A stored sheet may hold a cycle: the walk stops after count + 1 lists.
    for (int32_t at = index, steps = 0; steps <= count; steps++) {
        int32_t parent = 0;
        StyleProp prop;
        for (int32_t offset = STYLE_LIST_START; StylePropNext(record, size, &offset, &prop);) {
            if (prop.key == STYLE_PARENT)
                parent = prop.value;
            else if (prop.key != STYLE_KEY_OVERRULED)
                StylePropMerge(scratch, &merged, &prop, true);
        }
        if (parent <= 0 || parent >= count) break;
        at = parent;
        record = StyleRecord(sheet, at, &size);
    }
    *outSize = merged;
    return scratch;
}

bool StyleGetResolvedProp(int32_t index, int32_t key, int32_t *outValue) {
    unsigned char scratch[STYLE_RECORD_MAX];
    int32_t size;
    const unsigned char *record = StyleResolve(styleCurrent, index, scratch, &size);
    StyleProp prop;
    if (!StyleFindEntry(record, size, key, &prop, nullptr, nullptr)) return false;
    *outValue = prop.value;
    return true;
}

static void StyleSetStyleBit(FontDesc *font, uint16_t bit, int32_t on) {
    font->style = on ? (uint16_t)(font->style | bit) : (uint16_t)(font->style & ~bit);
}

static void StyleApplyFace(const StyleProp *prop, FontDesc *font) {
    memset(font->face, 0, sizeof font->face);
    StrCopyMaxLen(prop->face ? prop->face : "", font->face, FONT_FACE_MAX);
    uint16_t style = (uint16_t)(font->style & ~(FONT_PITCH_FAMILY | FONT_CHARSET_CLASS));
    style |= (uint16_t)((prop->value & 0xFF) << 8);
    style |= (uint16_t)(((prop->value >> 8) & 7) << FONT_CLASS_SHIFT);
    font->style = style;
    font->charset = (uint8_t)(prop->value >> 16);
}

void StyleApplyProp(const StyleProp *prop, StyleAppearance *app) {
    switch (prop->key) {
    case STYLE_FORE: app->fore = (uint32_t)prop->value; break;
    case STYLE_BACK: app->back = (uint32_t)prop->value; break;
    case STYLE_BOLD: StyleSetStyleBit(&app->font, FONT_BOLD, prop->value); break;
    case STYLE_ITALIC: StyleSetStyleBit(&app->font, FONT_ITALIC, prop->value); break;
    case STYLE_UNDERLINE: app->flags = (app->flags & ~STYLE_APP_UNDERLINE) | (prop->value & 7); break;
    case STYLE_FONT: StyleApplyFace(prop, &app->font); break;
    case STYLE_SIZE: app->font.size = (uint16_t)prop->value; break;
    case STYLE_SCALE: app->font.size = (uint16_t)NumMulDiv(app->font.size, prop->value, 100); break;
    case STYLE_BOX:
        app->flags = (app->flags & ~STYLE_APP_BOX) | (prop->value & 3) << STYLE_APP_BOX_SHIFT;
        break;
    case STYLE_INVERSE:
        app->flags = prop->value ? app->flags | STYLE_APP_INVERSE : app->flags & ~STYLE_APP_INVERSE;
        break;
    case STYLE_FIXED_WHITE: StyleSetStyleBit(&app->font, FONT_NARROW_PUNCT, prop->value); break;
    case STYLE_STRIKE: StyleSetStyleBit(&app->font, FONT_STRIKEOUT, prop->value); break;
    case STYLE_SHADOW: app->shadow = (app->shadow & 0xFF000000) | ((uint32_t)prop->value & 0xFFFFFF); break;
    }
}

void StyleGetAppearance(const StyleSheet *sheet, int32_t index, StyleAppearance *app) {
    unsigned char scratch[STYLE_RECORD_MAX];
    int32_t size;
    const unsigned char *record = StyleResolve(sheet, index, scratch, &size);
    StyleProp prop;
    for (int32_t offset = STYLE_LIST_START; StylePropNext(record, size, &offset, &prop);)
        StyleApplyProp(&prop, app);
}

bool StyleIsEmpty(int32_t index) {
    int32_t size;
    const unsigned char *record = StyleRecord(styleCurrent, index, &size);
    return StyleGet32(record + STYLE_LIST_START) == 0;
}

bool StyleHasChildren(const StyleSheet *sheet, int32_t index) {
    for (int32_t i = 0; i < StyleCount(sheet); i++)
        if (i != index && StyleGetParent(sheet, i) == index && index > 0) return true;
    return false;
}

// ---- Names

static char *StylePstrToSz(const unsigned char *pstr, char *out) {
    memcpy(out, pstr + 1, pstr[0]);
    out[pstr[0]] = 0;
    return out;
}

static const char *const styleBuiltinNames[STYLE_BUILTINS] = {
    "Default Text",
    "Number",
    "Operator",
    "Delimiter",
    "Comment",
    "String",
    "Keyword",
    "Control",
    "Special",
    "Boolean",
    "Debug",
    "Null Value",
    "System",
    "API 1",
    "API 2",
    "API 3",
    "API 4",
    "Declaration",
    "Big",
    "Buggy",
    "Caution",
    "Ref To Local",
    "Reference",
    "Critical",
    "Directive",
    "Line Number",
    "Error",
    "External",
    "Expensive",
    "Fast",
    "Highlight",
    "Symbol Characters",
    "Frozen",
    "Declare Template Parameter",
    "Ref to Parameter",
    "Handle",
    "Declare Template",
    "Declare Package",
    "Ref to Template",
    "Ref to Package",
    "Ref to Template Parameter",
    "Selection",
    "New",
    "Old",
    "Declare Namespace",
    "Private",
    "Ref to Namespace",
    "Protected",
    "Public",
    "Remote",
    "Result",
    "Reserved",
    "Review",
    "Slow",
    "Small",
    "Temporary",
    "Toolbox",
    "Unused",
    "Utility",
    "Declare Local",
    "Declare Member",
    "Declare Method",
    "Declare Method Inline",
    "Declare Function",
    "Declare Macro",
    "Declare Struct",
    "Declare Union",
    "Declare Typedef",
    "Declare Class",
    "Declare Var",
    "Declare Constant",
    "Declare Enum",
    "Declare Enum Const",
    "Declare Edit Macro",
    "Declare Prototype",
    "Preprocessor",
    "Search Result Heading",
    "Label",
    "Declare Interface",
    "Declare Resource",
    "File",
    "Declare Custom Tag",
    "Ref to Func",
    "Ref to Macro",
    "Ref to Struct",
    "Ref to Union",
    "Ref to Typedef",
    "Ref to Global Var",
    "Ref to Const",
    "Ref to Enum",
    "Ref to Custom",
    "Ref to EdMacro",
    "Ref to Class",
    "Ref to Method",
    "Ref to EnumConst",
    "Ref to Proto",
    "Ref to Preproc",
    "Ref to Search",
    "Ref to Label",
    "Ref to Member",
    "Ref to Interface",
    "Ref to Resource",
    "Ref to File",
    "Comment Heading 1",
    "Comment Heading 2",
    "Comment Heading 3",
    "Comment Heading 4",
    "Comment Right",
    "Ref to Base Class",
    "Ref to Inline Type",
    "Inactive Code",
    "Declare Parameter",
    "Auto Annotations",
    "HTML Tag Excerpt",
    "API 5",
    "HTML Title",
    "Perl POD",
    "Perl End Script",
    "Declare Method Prototype",
    "Ref to Method Prototype",
    "Comment To Do",
    "Ref to IDL Module",
    "Ref to IDL Library",
    "Declare IDL Module",
    "Declare IDL Library",
    "Comment Single Line",
    "Comment Multi Line",
    "Parentheses",
    "HTML Body Text",
    "HTML Tag",
    "Standard Property",
    "Standard Function",
    "Standard Object",
    "Declare CSS Selector",
    "Declare C# Property",
    "Ref to C# Property",
    "Draft View",
    "Declare C# Event",
    "Declare C# Indexer",
    "Ref to C# Event",
    "Ref to C# Indexer",
    "Ref to Alias",
    "Declare Alias",
    "CDATA Section",
    "Declare Type Parameter",
    "Ref to Type Parameter",
};

const char *StyleBuiltinName(int32_t index) {
    return index >= 0 && index < STYLE_BUILTINS ? styleBuiltinNames[index] : "";
}

// Built-in names answer for the indexes below the sheet's built-in count (146 at most); the name list for
// the others (an older sheet's custom styles among them).
static char *StyleNameIn(const StyleSheet *sheet, int32_t index, char *out) {
    out[0] = 0;
    if (!sheet || index < 0 || index >= StyleCount(sheet)) return out;
    if (index < sheet->builtins && index < STYLE_BUILTINS) return strcpy(out, styleBuiltinNames[index]);
    int32_t at;
    if (StlFindValue(sheet->names, index, &at)) {
        StylePstrToSz(StlItemPstr(StlItem(sheet->names, at)), out);
    } else if (index < STYLE_BUILTINS) {
        strcpy(out, styleBuiltinNames[index]);
    }
    return out;
}

// Identifier order, names equal in it ordered by their exact characters and then by index: the order of a
// list never depends on the order it was sorted from.
static int StyleCompareNames(const void *a, const void *b) {
    const unsigned char *x = StlItemPstr(a), *y = StlItemPstr(b);
    if (int d = PstrCmpIdent(x, y)) return d;
    if (int d = PstrCmpIdentExact(x, y)) return d;
    int32_t u = StlItemValue(a), v = StlItemValue(b);
    return u < v ? -1 : u > v;
}

static void StyleSortNames(StyleSheet *sheet) {
    StlSortBy(sheet->names, StyleCompareNames);
}

char *StyleGetName(int32_t index, char *out) {
    return StyleNameIn(styleCurrent, index, out);
}

int32_t StyleFindByName(const StyleSheet *sheet, const char *name) {
    int32_t at;
    if (!sheet || !StlSearchSzIdent(sheet->names, name, &at)) return -1;
    return StlItemValue(StlItem(sheet->names, at));
}

static bool StyleNameBlank(const char *name) {
    return !name || !*StrSkipBlanks(name);
}

int32_t StyleAddCustom(const char *name, int32_t copyFrom) {
    StyleSheet *sheet = styleCurrent;
    if (!sheet || StyleNameBlank(name) || StyleFindByName(sheet, name) >= 0) return -1;
    int32_t index = StyleCount(sheet), size = STYLE_RECORD_EMPTY;
    const unsigned char *record = copyFrom == -1 ? styleEmpty : StyleRecord(sheet, copyFrom, &size);
    unsigned char copy[STYLE_RECORD_MAX];
    memcpy(copy, record, size); // the source moves when the pool grows
    if (index >= STYLE_COUNT_MAX || !PlexVarInsert(&sheet->pv, -1, copy, size)) return -1;
    int32_t at;
    if (!StlInsertSortedSz(sheet->names, &at, name, index)) {
        PlexVarDelete(&sheet->pv, index);
        return -1;
    }
    StyleChanged(sheet);
    StyleSheetRefreshLangs();
    return index;
}

// A record whose parent is the deleted style loses it; parents above it move down with their styles.
static void StyleDropParent(StyleSheet *sheet, int32_t i, int32_t deleted) {
    unsigned char *record = PlexVarElem(&sheet->pv, i);
    int32_t size = PlexVarLength(&sheet->pv, i), offset;
    StyleProp prop;
    if (!StyleFindEntry(record, size, STYLE_PARENT, &prop, &offset, nullptr)) return;
    if (prop.value == deleted)
        StyleRemoveProperty(sheet, i, STYLE_PARENT);
    else if (prop.value > deleted)
        StylePut32(record + offset + 4, prop.value - 1);
}

bool StyleDeleteCustom(int32_t index) {
    StyleSheet *sheet = styleCurrent;
    if (!sheet || index < STYLE_BUILTINS || index >= StyleCount(sheet)) return false;
    for (int32_t i = 0; i < StyleCount(sheet); i++)
        if (i != index) StyleDropParent(sheet, i, index);
    int32_t at;
    if (StlFindValue(sheet->names, index, &at)) StlDelete(sheet->names, at);
    StlAdjustValues(sheet->names, index, -1);
    PlexVarDelete(&sheet->pv, index);
    StyleChanged(sheet);
    StyleSheetRefreshLangs();
    return true;
}

// ---- The default sheet

enum { STYLE_ROW_STYLES = 40, STYLE_ROW_PROPS = 6 };

// One row of the defaults: the properties set on each style in order, or, for the two lists, the record of
// each style replaced by them.
struct StyleDefaultRow {
    bool replace;
    int16_t styles[STYLE_ROW_STYLES]; // ended by -1
    StyleProp props[STYLE_ROW_PROPS]; // ended by key 0
};

enum : int32_t {
    STYLE_PITCH_FIXED = 1,         // "Courier New" and "Verdana"
    STYLE_PITCH_VARIABLE = 2,      // "Arial"
    STYLE_SYMBOL_CHARSET = 2 << 8, // "Symbol": character-set code 2, pitch byte 0
};

static constexpr StyleProp StyleDef(int32_t key, int32_t value) {
    return {key, value, nullptr};
}
static constexpr StyleProp StyleDefFace(int32_t value, const char *face) {
    return {STYLE_FONT, value, face};
}

static const StyleDefaultRow styleDefaultRows[] = {
    {false, {7, -1}, {StyleDef(STYLE_FORE, 0x0000FF), StyleDef(STYLE_BOLD, 1)}},
    {false, {1, -1}, {StyleDef(STYLE_FORE, 0x0000FF), StyleDefFace(STYLE_PITCH_FIXED, "Courier New")}},
    {false, {11, -1}, {StyleDef(STYLE_FORE, 0x0000FF)}},
    {false, {6, 2, 12, -1}, {StyleDef(STYLE_FORE, 0x008000)}},
    {false, {3, -1}, {StyleDef(STYLE_FORE, 0x800080), StyleDef(STYLE_KEEP_NEXT, 1)}},
    {false, {9, -1}, {StyleDef(STYLE_FORE, 0x800080)}},
    {false, {8, -1}, {StyleDef(STYLE_FORE, 0x800080), StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_ITALIC, 1)}},
    {false, {127, -1}, {StyleDef(STYLE_PARENT, 3)}},
    {false,
     {10, -1},
     {StyleDef(STYLE_FORE, 0x0000FF), StyleDef(STYLE_ITALIC, 1),
      StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_DOTTED)}},
    {false, {13, -1}, {StyleDef(STYLE_FORE, 0x008080)}},
    {false, {14, -1}, {StyleDef(STYLE_FORE, 0x800080)}},
    {false, {15, -1}, {StyleDef(STYLE_FORE, 0x000080)}},
    {false, {4, -1}, {StyleDef(STYLE_FORE, 0xFF0000), StyleDefFace(STYLE_PITCH_FIXED, "Verdana")}},
    {false, {125, 126, -1}, {StyleDef(STYLE_PARENT, 4)}},
    {false,
     {103, -1},
     {StyleDef(STYLE_PARENT, 4), StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_SCALE, 150),
      StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_THICK), StyleDefFace(STYLE_PITCH_VARIABLE, "Arial")}},
    {false,
     {104, -1},
     {StyleDef(STYLE_PARENT, 4), StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_SCALE, 130),
      StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_SINGLE), StyleDefFace(STYLE_PITCH_VARIABLE, "Arial")}},
    {false,
     {105, -1},
     {StyleDef(STYLE_PARENT, 4), StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_SCALE, 120),
      StyleDefFace(STYLE_PITCH_VARIABLE, "Arial")}},
    {false,
     {106, -1},
     {StyleDef(STYLE_PARENT, 4), StyleDef(STYLE_BOLD, 1), StyleDefFace(STYLE_PITCH_VARIABLE, "Arial")}},
    {false, {107, -1}, {StyleDef(STYLE_PARENT, 4), StyleDef(STYLE_SCALE, 90), StyleDef(STYLE_ITALIC, 1)}},
    {false,
     {120, -1},
     {StyleDef(STYLE_PARENT, 4), StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_SCALE, 120),
      StyleDef(STYLE_BACK, 0x00FFFF), StyleDefFace(STYLE_PITCH_VARIABLE, "Arial")}},
    {false,
     {112, -1},
     {StyleDef(STYLE_PARENT, 4), StyleDef(STYLE_SCALE, 90), StyleDef(STYLE_FORE, 0x808080)}},
    {false, {24, -1}, {StyleDef(STYLE_PARENT, 7)}},
    {false, {136, -1}, {StyleDefFace(STYLE_PITCH_FIXED, "Courier New")}},
    {false, {25, -1}, {StyleDefFace(STYLE_PITCH_FIXED, "Courier New"), StyleDef(STYLE_FORE, 0x808080)}},
    {false,
     {30, -1},
     {StyleDef(STYLE_FORE, 0x000000), StyleDef(STYLE_BACK, 0x00FFFF), StyleDef(STYLE_BOLD, 1)}},
    {false, {41, -1}, {StyleDef(STYLE_FORE, 0xFFFFFF), StyleDef(STYLE_BACK, 0x800000)}},
    {false, {31, -1}, {StyleDefFace(STYLE_SYMBOL_CHARSET, "Symbol")}},
    {false, {110, 143, -1}, {StyleDef(STYLE_FORE, 0x808080)}},
    {false, {128, -1}, {StyleDef(STYLE_FIXED_WHITE, 0)}},
    {false, {129, -1}, {StyleDef(STYLE_FORE, 0x800080)}},
    {false, {22, -1}, {StyleDef(STYLE_FORE, 0x008000)}},
    {true,
     {21,  99,  93,  82, 83,  84,  85, 86, 92, 87, 88,  89,  94, 91,  95,  119, 96,  97,  98,
      100, 101, 102, 90, 108, 109, 34, 39, 38, 46, 121, 122, 40, 135, 139, 140, 141, 145, -1},
     {StyleDef(STYLE_PARENT, 22)}},
    {false, {21, -1}, {StyleDef(STYLE_FORE, 0x808000)}},
    {false, {34, -1}, {StyleDef(STYLE_PARENT, 21), StyleDef(STYLE_BOLD, 1)}},
    {false, {87, -1}, {StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_ITALIC, 1), StyleDef(STYLE_FORE, 0x800080)}},
    {false, {88, -1}, {StyleDef(STYLE_FORE, 0x0000FF)}},
    {false, {94, -1}, {StyleDef(STYLE_PARENT, 88)}},
    {false, {82, -1}, {StyleDef(STYLE_BOLD, 1)}},
    {false, {83, 95, -1}, {StyleDef(STYLE_PARENT, 82)}},
    {false, {119, -1}, {StyleDef(STYLE_PARENT, 93)}},
    {false, {17, -1}, {StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_FORE, 0x800000)}},
    {true,
     {59, 60, 61, 62, 63, 64, 65, 66, 67,  68,  69,  70, 71,  72,  73,  74,  118, 75,  76,
      77, 78, 79, 80, 81, 37, 36, 44, 111, 123, 124, 33, 133, 134, 137, 138, 142, 144, -1},
     {StyleDef(STYLE_PARENT, 17)}},
    {false,
     {77, -1},
     {StyleDef(STYLE_FORE, 0x0000FF), StyleDef(STYLE_SCALE, 110),
      StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_SINGLE)}},
    {false,
     {63, -1},
     {StyleDef(STYLE_SCALE, 150), StyleDef(STYLE_SHADOW, 0xC0C0C0), StyleDef(STYLE_KEEP_NEXT, 1),
      StyleDefFace(STYLE_PITCH_VARIABLE, "Arial")}},
    {false, {74, 61, 62, 36, 73, -1}, {StyleDef(STYLE_PARENT, 63)}},
    {false, {118, -1}, {StyleDef(STYLE_PARENT, 61)}},
    {false,
     {65, -1},
     {StyleDef(STYLE_SCALE, 120), StyleDef(STYLE_SHADOW, 0xC0C0C0), StyleDef(STYLE_KEEP_NEXT, 1)}},
    {false, {67, 66, 71, -1}, {StyleDef(STYLE_PARENT, 65)}},
    {false, {68, -1}, {StyleDef(STYLE_PARENT, 65), StyleDef(STYLE_SCALE, 120)}},
    {false, {78, -1}, {StyleDef(STYLE_PARENT, 68)}},
    {false,
     {124, 123, -1},
     {StyleDef(STYLE_SCALE, 150), StyleDef(STYLE_SHADOW, 0xC0C0C0), StyleDef(STYLE_KEEP_NEXT, 1)}},
    {false, {76, -1}, {StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_SINGLE)}},
    {false,
     {115, -1},
     {StyleDef(STYLE_FORE, 0x0000FF), StyleDef(STYLE_BOLD, 1), StyleDef(STYLE_SCALE, 130),
      StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_SINGLE)}},
    {false, {133, -1}, {StyleDef(STYLE_SCALE, 120)}},
    {false,
     {111, 33, 144, -1},
     {StyleDef(STYLE_PARENT, 17), StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_SINGLE)}},
    {false,
     {40, 145, -1},
     {StyleDef(STYLE_PARENT, 22), StyleDef(STYLE_UNDERLINE, STYLE_UNDERLINE_SINGLE),
      StyleDef(STYLE_BOLD, 1)}},
    {false, {131, -1}, {StyleDef(STYLE_PARENT, 82)}},
    {false, {130, -1}, {StyleDef(STYLE_PARENT, 99)}},
    {false, {132, -1}, {StyleDef(STYLE_PARENT, 92)}},
};

static bool StyleApplyRow(StyleSheet *sheet, const StyleDefaultRow *row) {
    for (const int16_t *s = row->styles; *s >= 0; s++) {
        if (row->replace && !StyleSetRecord(sheet, *s, styleEmpty, STYLE_RECORD_EMPTY)) return false;
        for (const StyleProp *p = row->props; p->key; p++)
            if (!StyleSetProperty(sheet, *s, p)) return false;
    }
    return true;
}

// The rows that depend on the display: the default text takes the system's text colour, and strings a
// pale background only where more than 256 colours show it.
static bool StyleApplyDisplayDefaults(StyleSheet *sheet) {
    StyleProp text = {STYLE_FORE, (int32_t)StyleOsWindowText(), nullptr};
    StyleProp string = {STYLE_FORE, 0x800000, nullptr}, pale = {STYLE_BACK, 0xBBFFFF, nullptr};
    return StyleSetProperty(sheet, STYLE_DEFAULT_TEXT, &text) &&
           StyleSetProperty(sheet, STYLE_STRING, &string) &&
           (!StyleOsManyColours() || StyleSetProperty(sheet, STYLE_STRING, &pale));
}

static bool StyleAddBuiltins(StyleSheet *sheet) {
    for (int32_t i = 0; i < STYLE_BUILTINS; i++)
        if (!PlexVarInsert(&sheet->pv, -1, styleEmpty, STYLE_RECORD_EMPTY) ||
            !StlAppendSz(sheet->names, styleBuiltinNames[i], i))
            return false;
    StyleSortNames(sheet);
    return true;
}

StyleSheet *StyleSheetBuildDefault() {
    StyleSheet *sheet = StyleSheetCreate(STYLE_BUILTINS);
    if (!sheet) return nullptr;
    bool ok = StyleAddBuiltins(sheet) && StyleApplyDisplayDefaults(sheet);
    for (const StyleDefaultRow &row : styleDefaultRows) ok = ok && StyleApplyRow(sheet, &row);
    if (!ok) {
        StyleSheetFree(sheet);
        return nullptr;
    }
    return sheet;
}

// ---- The configuration section

// A container written with the sheet's stored header: the container's own words, then the 292 bytes of the
// sheet (no pointer reaches the file). Capacities are written as the counts, so a sheet read and written
// again gives the same bytes. The header size given to the container is counted, not the record's size,
// which may carry tail padding.
struct StyleSheetImage {
    PlexVar pv;
    unsigned char own[STYLE_SHEET_OWN_HEADER];
};
static_assert(offsetof(StyleSheetImage, own) == sizeof(PlexVar));
static const int32_t styleImageHeader = (int32_t)sizeof(PlexVar) + STYLE_SHEET_OWN_HEADER;

static void StyleTrimCapacities(PlexVar *pv) {
    pv->plex.capacity = pv->plex.count;
    pv->poolCapacity = pv->poolUsed;
}

int StyleSheetSave(int file, const StyleSheet *sheet) {
    PlexVar names = sheet->names->pv;
    StyleTrimCapacities(&names);
    StyleSheetImage image;
    image.pv = sheet->pv;
    StyleTrimCapacities(&image.pv);
    memset(image.own, 0, sizeof image.own);
    StylePut32(image.own + 4, (int32_t)sheet->version);
    StylePut32(image.own + 8, sheet->builtins & 0xFFFF);
    return PlexVarWrite(&names, sizeof(PlexVar), file) && PlexVarWrite(&image.pv, styleImageHeader, file);
}

// Every record well-formed within 280 bytes (cut to the list it holds) and every name naming a style of the
// sheet.
static bool StyleSheetSound(StyleSheet *sheet) {
    int32_t count = StyleCount(sheet);
    if (count < 1 || count > STYLE_COUNT_MAX || !StlCheck(sheet->names)) return false;
    for (int32_t i = 0; i < count; i++) {
        unsigned char *record = PlexVarElem(&sheet->pv, i);
        int32_t size = PlexVarLength(&sheet->pv, i), used;
        if (size > STYLE_RECORD_MAX || !StyleRecordValid(record, size, &used)) return false;
        StyleFixFlags(record, used);
        if (used < size && !PlexVarSet(&sheet->pv, i, record, used)) return false;
    }
    for (int32_t i = 0; i < StlCount(sheet->names); i++) {
        int32_t value = StlItemValue(StlItem(sheet->names, i));
        if (value < 0 || value >= count) return false;
    }
    return true;
}

static bool StyleRenameBuiltin(StyleSheet *sheet, int32_t index) {
    int32_t at;
    if (!StlFindValue(sheet->names, index, &at)) return false;
    unsigned char name[STYLE_NAME_MAX];
    StlSet(sheet->names, at, PstrFromSz(styleBuiltinNames[index], name), index);
    return true;
}

static bool StyleSheetConvert(StyleSheet *sheet, uint32_t version) {
    bool changed = false;
    if (version <= STYLE_VERSION_OLD_BUILTINS) {
        sheet->builtins = STYLE_OLD_BUILTINS;
        changed = true;
    }
    if (version < STYLE_VERSION_RENAMED) {
        for (int32_t index : {STYLE_DIRECTIVE, STYLE_REF_TO_LOCAL, STYLE_SYMBOL_CHARS})
            StyleRenameBuiltin(sheet, index);
        changed = true;
    }
    if (version < STYLE_VERSION_TODO) StyleRenameBuiltin(sheet, STYLE_COMMENT_TODO);
    if (sheet->builtins > STYLE_BUILTINS) sheet->builtins = STYLE_BUILTINS;
    return changed;
}

// A sheet of fewer than 146 styles gets the missing built-in styles, records and names, from the default
// sheet: the formatter and the languages use every built-in index. Its own styles keep their indexes.
static bool StyleSheetComplete(StyleSheet *sheet) {
    StyleSheet *model = StyleSheetBuildDefault();
    if (!model) return false;
    bool ok = true;
    for (int32_t i = StyleCount(sheet); ok && i < STYLE_BUILTINS; i++) {
        int32_t size, at;
        const unsigned char *record = StyleRecord(model, i, &size);
        ok = PlexVarInsert(&sheet->pv, -1, record, size) &&
             (StyleFindByName(sheet, styleBuiltinNames[i]) >= 0 ||
              StlInsertSortedSz(sheet->names, &at, styleBuiltinNames[i], i));
    }
    StyleSheetFree(model);
    return ok;
}

StyleSheet *StyleSheetLoad(int file, uint32_t configVersion, bool *outChanged) {
    *outChanged = false;
    Stl *names = StlRead(file);
    PlexVar *pv = nullptr;
    if (!names || !PlexVarRead(&pv, styleImageHeader, file)) {
        if (names) StlFree(names);
        return nullptr;
    }
    const unsigned char *own = (const unsigned char *)pv + sizeof(PlexVar);
    uint32_t version = (uint32_t)StyleGet32(own + 4);
    int32_t builtins = StyleGet32(own + 8) & 0xFFFF;
    StyleSheet *sheet = (StyleSheet *)MemRealloc(pv, sizeof(StyleSheet));
    if (!sheet) {
        PlexVarFree(pv);
        StlFree(names);
        return nullptr;
    }
    sheet->names = names;
    sheet->version = version;
    sheet->builtins = builtins;
    if (!StyleSheetSound(sheet)) {
        StyleSheetFree(sheet);
        return nullptr;
    }
    *outChanged = StyleSheetConvert(sheet, configVersion);
    if (StyleCount(sheet) < STYLE_BUILTINS) {
        if (!StyleSheetComplete(sheet)) {
            StyleSheetFree(sheet);
            return nullptr;
        }
        *outChanged = true;
    }
    StyleSortNames(sheet);
    return sheet;
}

void StyleSheetTakeOldColors(StyleSheet *sheet, const uint32_t colors[17]) {
    for (int32_t i = 0; i < 17; i++) {
        if (colors[i] == colors[0]) continue;
        StyleProp fore = {STYLE_FORE, (int32_t)colors[i], nullptr};
        StyleSetProperty(sheet, i, &fore);
    }
    OptSetColor(OPT_COLOR_TEXT, colors[0]);
}

// ---- CSS

static void StyleCssColor(TextBuf *out, const char *property, uint32_t color) {
    TextBufPrintf(out, "%s: #%02x%02x%02x; ", property, color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF);
}

static void StyleCssRule(TextBuf *out, const StyleSheet *sheet, const char *selector, int32_t index,
                         const StyleAppearance *base) {
    StyleAppearance app = *base;
    StyleGetAppearance(sheet, index, &app);
    TextBufPrintf(out, ".%s {", selector);
    char face[FONT_FACE_MAX + 1];
    if (*FontDescFace(&app.font, face)) TextBufPrintf(out, "font-family: \"%s\"; ", face);
    if (app.font.style & FONT_BOLD) TextBufAppendSz(out, "font-weight: bold; ");
    if (app.font.style & FONT_ITALIC) TextBufAppendSz(out, "font-style: italic; ");
    StyleCssColor(out, "color", app.fore);
    StyleCssColor(out, "background-color", app.back);
    TextBufPrintf(out, "font-size: %dpt }\r\n\r\n", NumMulDiv(app.font.size, 1, 4));
}

// The name-list item of each index (-1 none), so that a sheet of many custom styles is written in one pass.
static int32_t *StyleNameItems(const StyleSheet *sheet) {
    int32_t count = StyleCount(sheet);
    int32_t *items = (int32_t *)MemAlloc(sizeof(int32_t) * (size_t)(count + 1));
    if (!items) return nullptr;
    for (int32_t i = 0; i < count; i++) items[i] = -1;
    for (int32_t i = StlCount(sheet->names) - 1; i >= 0; i--) {
        int32_t value = StlItemValue(StlItem(sheet->names, i));
        if (value >= 0 && value < count) items[value] = i;
    }
    return items;
}

static char *StyleCssName(const StyleSheet *sheet, const int32_t *items, int32_t index, char *out) {
    if (index < sheet->builtins && index < STYLE_BUILTINS)
        strcpy(out, styleBuiltinNames[index]);
    else if (items[index] >= 0)
        StylePstrToSz(StlItemPstr(StlItem(sheet->names, items[index])), out);
    else
        strcpy(out, StyleBuiltinName(index));
    for (char *c = out; *c; c++)
        if (*c == ' ' || *c == '\t') *c = '_';
    return out;
}

int32_t StyleSheetWriteCss(const StyleSheet *sheet, TextBuf *out, const StyleAppearance *base, bool wrapped) {
    int32_t start = out->length;
    int32_t *items = StyleNameItems(sheet);
    if (!items) return -1;
    if (wrapped) TextBufAppendSz(out, "<style type='text/css'><!--\r\n");
    StyleCssRule(out, sheet, "BODY", STYLE_DEFAULT_TEXT, base);
    char name[STYLE_NAME_MAX];
    for (int32_t i = 0; i < StyleCount(sheet) && !out->failed; i++)
        StyleCssRule(out, sheet, StyleCssName(sheet, items, i, name), i, base);
    TextBufAppendSz(out, "a:link {text-decoration: none}\r\n");
    TextBufAppendSz(out, "a:visited { text-decoration: none}\r\n");
    TextBufAppendSz(out, "a:hover {text-decoration: underline}\r\n");
    if (wrapped) TextBufAppendSz(out, "--></style>\r\n");
    MemFree(items);
    return out->failed ? -1 : out->length - start;
}

// ---- Colours

uint32_t StyleDefaultFore() {
    int32_t value;
    return StyleGetResolvedProp(STYLE_DEFAULT_TEXT, STYLE_FORE, &value) ? (uint32_t)value
                                                                        : OptColor(OPT_COLOR_TEXT);
}

uint32_t StyleDefaultBack() {
    int32_t value;
    return StyleGetResolvedProp(STYLE_DEFAULT_TEXT, STYLE_BACK, &value) ? (uint32_t)value
                                                                        : OptColor(OPT_COLOR_WINDOW);
}

uint32_t StyleDefaultShadow() {
    int32_t value;
    return StyleGetResolvedProp(STYLE_DEFAULT_TEXT, STYLE_SHADOW, &value) ? (uint32_t)value
                                                                          : StyleDefaultBack();
}

uint32_t StyleColorFore(int32_t index) {
    int32_t value;
    return StyleGetResolvedProp(index, STYLE_FORE, &value) ? (uint32_t)value : StyleDefaultFore();
}

uint32_t StyleColorBack(int32_t index) {
    int32_t value;
    return StyleGetResolvedProp(index, STYLE_BACK, &value) ? (uint32_t)value : StyleDefaultBack();
}

uint32_t StyleContrastGrey() {
    return StyleDefaultBack() == 0xC0C0C0 ? 0x808080 : 0xC0C0C0;
}
