// dta: document types (prefix Dta). Globals: the current table, the scratch options record that
// DtaGetBufferOptions fills, the file aliases (a hashed string list of {file name, alias} items), the cached
// index of the macro language's type, the one-entry cache of DtaTypeOfFile, and the fallback font record
// that stands while there is no table.
#include "doc/dta.h"

#include "base/erc.h"
#include "base/file.h"
#include "base/fileprim.h"
#include "base/path.h"
#include "base/plexvar.h"
#include "base/str.h"
#include "base/stlmult.h"
#include "base/strfile.h"
#include "base/toolbox.h"
#include "base/utilil.h"
#include "base/wildcard.h"
#include "doc/doc.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/doclang.h"

#include <cstring>

const char ercDtaInit[] = "Could not initialize document types.";

static const char dtaAliasFile[] = "FileAlias.txt";

enum {
    DTA_TEXT = 256,           // buffers of names, wildcard lists, patterns
    DTA_NAMES_BYTES = 10,     // the lists' first sizes
    DTA_NAMES_SLOTS = 5,      //
    DTA_LANGUAGES_ITEMS = 10, //
    DTA_ALIAS_BUCKETS = 201,  //
    DTA_TAB_DEFAULT = 4,      //
    DTA_MARGIN_DEFAULT = 80,  //
    DTA_SCRATCH_MARGIN = 60,  //
    DTA_FONT_POINTS = 8,      //
    DTA_QUARTER_POINTS = 4,   // quarter points per point
    DTA_TYPE_SEARCH = 2,      // the "Search Results" type
    DTA_POST_LOAD_TYPES = 3,  // types 0 to 2 are never added to projects after a load
    DTA_MACRO_UNKNOWN = -2,   // the macro type's cache is empty
    DTA_PRINTER = 1,          // the font layer's printer device
};

// Configuration versions at which the stored form or the built-in types changed.
enum : uint32_t { DTA_VERSION_LANGUAGE_NAMES = 0x3000066 };

static DtaTable dtaTable;
static DtaOptions dtaScratch;
static Stl *dtaAliases;
static int32_t dtaMacroType = DTA_MACRO_UNKNOWN;
static char dtaFileCachePath[DTA_TEXT];
static int32_t dtaFileCacheLang;
static bool dtaFileCached;
static DtaFont dtaFallbackFont;
static bool dtaFallbackMade;

static const char *const dtaSymbolNames[DTA_SYMBOL_TYPES][2] = {
    {"Function", "Functions"},
    {"Macro", "Macros"},
    {"Structure", "Structures"},
    {"Union", "Unions"},
    {"Type Definition", "Type Definitions"},
    {"Variable", "Variables"},
    {"Constant", "Constants"},
    {"Enumeration", "Enumerations"},
    {"Custom Tag", "Custom Tags"},
    {"Editor Macro", "Editor Macros"},
    {"Class", "Classes"},
    {"Method", "Methods"},
    {"Enum Constant", "Enum Constants"},
    {"Function Prototype", "Function Prototypes"},
    {"#-Directive", "#-Directives"},
    {"Search Result", "Search Results"},
    {"Label", "Labels"},
    {"Structure Member", "Structure Members"},
    {"Interface", "Interfaces"},
    {"Resource", "Resources"},
    {"File", "Files"},
    {"Class Placeholder", "Class Placeholders"},
    {"Inline Type Reference", "Inline Type References"},
    {"Base Class Reference", "Base Class References"},
    {"Directory", "Directories"},
    {"Function Template", "Function Templates"},
    {"Class Template", "Class Templates"},
    {"Class Template Placeholder", "Class Template Placeholders"},
    {"Package", "Packages"},
    {"Namespace", "Namespaces"},
    {"Token Macro", "Token Macros"},
    {"Code Block", "Code Blocks"},
    {"Parameter", "Parameter"},
    {"Parsing Error", "Parsing Errors"},
    {"HTML Tag Excerpt", "HTML Tag Excerpts"},
    {"HTML Title", "HTML Titles"},
    {"Method Prototype", "Method Prototypes"},
    {"IDL Module", "IDL Modules"},
    {"IDL Library", "IDL Libraries"},
    {"IDL Interface", "IDL Interfaces"},
    {"C++ Template", "C++ Templates"},
    {"Template Parameter", "Template Parameters"},
    {"Imported Package", "Imported Packages"},
    {"CSS Rule Selector", "CSS Rule Selectors"},
    {"C# Class Property", "C# Class Properties"},
    {"C# Indexer", "C# Indexers"},
    {"C# Event", "C# Events"},
    {"VHDL Entity", "VHDL Entities"},
    {"VHDL Architecture", "VHDL Architectures"},
    {"VHDL Component", "VHDL Components"},
    {"VHDL Process", "VHDL Processes"},
    {"VHDL Configuration", "VHDL Configurations"},
    {"Type Reference", "Type References"},
    {"External Variable", "External Variables"},
    {"Alias", "Aliases"},
    {"Alias Target", "Alias Targets"},
    {"Type Parameter", "Type Parameters"},
    {"Macro Event", "Macro Events"},
};

const char *DtaSymbolTypeName(int32_t symbolType, bool plural) {
    if (symbolType < 0 || symbolType >= DTA_SYMBOL_TYPES) return "";
    return dtaSymbolNames[symbolType][plural ? 1 : 0];
}

// ---- The table's lists ----

static DtaOptions *DtaEntryIn(const DtaTable *table, int32_t i) {
    return (DtaOptions *)table->options->ptr + i;
}

static DtaFont *DtaFontIn(const DtaTable *table, int32_t i) {
    return (DtaFont *)table->fonts->ptr + i;
}

static bool DtaValid(int32_t type) {
    return type >= 0 && type < dtaTable.count;
}

// A type index that can be read: out-of-range indexes read as Default.
static int32_t DtaReadable(int32_t type) {
    return DtaValid(type) ? type : 0;
}

static bool DtaTableMake(DtaTable *table) {
    *table = DtaTable{};
    table->names = StbCreate(DTA_NAMES_BYTES, DTA_NAMES_SLOTS);
    table->wildcards = StbCreate(DTA_NAMES_BYTES, DTA_NAMES_SLOTS);
    table->patterns = StbCreate(DTA_NAMES_BYTES, DTA_NAMES_SLOTS);
    table->options = HAlloc(sizeof(DtaOptions));
    table->fonts = HAlloc(sizeof(DtaFont));
    table->languages = StlCreate(DTA_LANGUAGES_ITEMS);
    if (table->names && table->wildcards && table->patterns && table->options && table->fonts &&
        table->languages)
        return true;
    DtaTableFree(table);
    return false;
}

void DtaTableFree(DtaTable *table) {
    StbFree(&table->names);
    StbFree(&table->wildcards);
    StbFree(&table->patterns);
    HFree(table->options);
    HFree(table->fonts);
    StlFreeNull(&table->languages);
    *table = DtaTable{};
}

static void DtaClearCaches() {
    dtaMacroType = DTA_MACRO_UNKNOWN;
    dtaFileCached = false;
}

int DtaTableInit() {
    DtaTableFree(&dtaTable);
    DtaClearCaches();
    DtaOptionsDefault(&dtaScratch);
    dtaScratch.flags = DTA_ENTER_NEW_LINE;
    dtaScratch.margin = DTA_SCRATCH_MARGIN;
    return DtaTableMake(&dtaTable);
}

void DtaTableExit() {
    DtaTableFree(&dtaTable);
    StlFreeNull(&dtaAliases);
    DtaClearCaches();
}

const DtaTable *DtaCurrent() {
    return &dtaTable;
}

int32_t DtaCount() {
    return dtaTable.count;
}

// Room for one element at i of a block of count elements of size bytes; 0 when out of memory.
static int DtaBlockInsert(Handle *block, int32_t count, uint32_t size, int32_t i, const void *element) {
    void *base;
    if (!HResize(block, (uint32_t)(count + 1) * size, &base)) return 0;
    char *at = (char *)base + (size_t)i * size;
    memmove(at + size, at, (size_t)(count - i) * size);
    memcpy(at, element, size);
    return 1;
}

static void DtaBlockDelete(Handle *block, int32_t count, uint32_t size, int32_t i) {
    char *at = (char *)block->ptr + (size_t)i * size;
    memmove(at, at + size, (size_t)(count - i - 1) * size);
    HRealloc(block, (uint32_t)(count - 1) * size, 1);
}

// ---- Defaults and fonts ----

void DtaOptionsDefault(DtaOptions *out) {
    memset(out, 0, sizeof *out);
    out->flags = DTA_DEFAULT_FLAGS;
    out->tabWidth = DTA_TAB_DEFAULT;
    out->margin = DTA_MARGIN_DEFAULT;
    out->width2 = DTA_TAB_DEFAULT;
}

void DtaFontInit(DtaFont *font, const char *face, int32_t points) {
    memset(font, 0, sizeof *font);
    FontDescInit(&font->screen, face, points * DTA_QUARTER_POINTS);
    if (!DtaOsFaceAvailable(&font->screen)) DtaOsStockFixedFont(&font->screen);
    font->printer = font->screen;
}

void DtaFontDefault(DtaFont *font) {
    DtaFontInit(font, "Courier New", DTA_FONT_POINTS);
}

// ---- Changing the table ----

static void DtaNameOfLanguage(int32_t language, char *out) {
    out[0] = 0;
    DocLang().getLangName(language, out);
}

// The steps of an insert, undone in reverse when one fails.
enum DtaInsertStep {
    DTA_STEP_OPTIONS,
    DTA_STEP_NAMES,
    DTA_STEP_WILDCARDS,
    DTA_STEP_PATTERNS,
    DTA_STEP_FONTS
};

static void DtaUndoInsert(DtaTable *t, int32_t index, int done) {
    if (done > DTA_STEP_FONTS) DtaBlockDelete(t->fonts, t->count + 1, sizeof(DtaFont), index);
    if (done > DTA_STEP_PATTERNS) StbDelete(t->patterns, index);
    if (done > DTA_STEP_WILDCARDS) StbDelete(t->wildcards, index);
    if (done > DTA_STEP_NAMES) StbDelete(t->names, index);
    if (done > DTA_STEP_OPTIONS) DtaBlockDelete(t->options, t->count + 1, sizeof(DtaOptions), index);
}

int DtaInsert(int32_t index, const DtaOptions *entry, const char *name, const char *wildcards,
              const char *pattern, const char *language, const DtaFont *font) {
    DtaTable *t = &dtaTable;
    if (!t->options && !DtaTableInit()) return 0;
    if (index < 0 || index > t->count) index = t->count;
    char languageName[DTA_TEXT];
    if (!language) DtaNameOfLanguage(entry->language, languageName);
    DtaFont stored = *font;
    stored.reserved[0] = stored.reserved[1] = 0;
    int done = 0;
    bool ok = DtaBlockInsert(t->options, t->count, sizeof(DtaOptions), index, entry) && ++done &&
              StbInsertSz(t->names, index, name, index) && ++done &&
              StbInsertSz(t->wildcards, index, wildcards ? wildcards : "", 0) && ++done &&
              StbInsertSz(t->patterns, index, pattern ? pattern : "", 0) && ++done &&
              DtaBlockInsert(t->fonts, t->count, sizeof(DtaFont), index, &stored) && ++done &&
              StlInsertSz(t->languages, index, language ? language : languageName, 0);
    if (!ok) {
        DtaUndoInsert(t, index, done);
        return 0;
    }
    t->count++;
    DtaChanged();
    return 1;
}

int DtaAppend(const DtaOptions *entry, const char *name, const char *wildcards, const char *pattern,
              const char *language, const DtaFont *font) {
    return DtaInsert(-1, entry, name, wildcards, pattern, language, font);
}

int DtaAddDefault(const DtaOptions *entry, const char *name, const char *wildcards, const char *pattern,
                  const DtaFont *font) {
    return DtaInsert(-1, entry, name, wildcards, pattern, nullptr, font);
}

int DtaReplace(int32_t index, const DtaOptions *entry, const char *name, const char *wildcards,
               const char *pattern, const char *language, const DtaFont *font) {
    if (!DtaValid(index) || !DtaInsert(index, entry, name, wildcards, pattern, language, font)) return 0;
    DtaDelete(index + 1);
    return 1;
}

void DtaDelete(int32_t index) {
    DtaTable *t = &dtaTable;
    if (!DtaValid(index)) return;
    DtaBlockDelete(t->options, t->count, sizeof(DtaOptions), index);
    DtaBlockDelete(t->fonts, t->count, sizeof(DtaFont), index);
    StbDelete(t->names, index);
    StbDelete(t->wildcards, index);
    StbDelete(t->patterns, index);
    StlDelete(t->languages, index);
    StbTrim(t->names);
    StbTrim(t->wildcards);
    StbTrim(t->patterns);
    t->count--;
    DtaChanged();
}

static void DtaStbText(const Stb *list, int32_t index, char *out) {
    if (out) StbGetString(list, index, out);
}

void DtaGetType(int32_t index, DtaOptions *entry, char *name, char *wildcards, char *pattern, DtaFont *font) {
    if (!DtaValid(index)) return;
    if (entry) *entry = *DtaEntryIn(&dtaTable, index);
    DtaStbText(dtaTable.names, index, name);
    DtaStbText(dtaTable.wildcards, index, wildcards);
    DtaStbText(dtaTable.patterns, index, pattern);
    if (font) *font = *DtaFontIn(&dtaTable, index);
}

static void DtaLanguageNameIn(const DtaTable *table, int32_t index, char *out) {
    unsigned char pstr[DTA_TEXT];
    out[0] = 0;
    if (!table->languages || index >= StlCount(table->languages)) return;
    StlGetString(table->languages, index, pstr);
    memcpy(out, pstr + 1, pstr[0]);
    out[pstr[0]] = 0;
}

void DtaGetLanguageName(int32_t index, char *out) {
    out[0] = 0;
    if (DtaValid(index)) DtaLanguageNameIn(&dtaTable, index, out);
}

void DtaChanged() {
    dtaTable.changes++;
    DtaClearCaches();
    DtaBindLanguages();
    DocSearch().searchCachesReset();
}

void DtaBindLanguages() {
    char name[DTA_TEXT];
    for (int32_t i = 0; i < dtaTable.count; i++) {
        DtaLanguageNameIn(&dtaTable, i, name);
        int32_t language = DocLang().getLangIndex(name);
        DtaEntryIn(&dtaTable, i)->language = language < 0 ? 0 : language;
    }
}

// Every buffer takes its type from its name again (indexes move when types come and go); the windows of
// shown buffers are refreshed, their symbol windows shown or hidden as their types now say.
void DtaApplyToBuffers() {
    DocShell().setConfigDirty(0);
    for (FileBuffer *doc = nullptr; DocIterNext(&doc);) {
        DocSetTypeFromName(doc);
        if (!DocDisplay().swFindByDoc(doc)) continue;
        DocDisplay().swRefreshDocType(doc);
        DocBrowse().symbolWindowRefresh(doc);
    }
    DocDisplay().redrawAllSw();
}

// ---- Lookups ----

static int32_t DtaFindByNameIn(const DtaTable *table, const char *name) {
    char own[DTA_TEXT];
    for (int32_t i = 0; i < table->count; i++) {
        StbGetString(table->names, i, own);
        if (StrEqualI(own, name)) return i;
    }
    return -1;
}

int32_t DtaFindByName(const char *name) {
    return DtaFindByNameIn(&dtaTable, name);
}

int32_t DtaFindByLanguage(int32_t language) {
    for (int32_t i = 0; i < dtaTable.count; i++)
        if (DtaEntryIn(&dtaTable, i)->language == language) return i;
    return 0;
}

int32_t DtaMacroTypeIndex() {
    if (dtaMacroType != DTA_MACRO_UNKNOWN) return dtaMacroType;
    dtaMacroType = -1;
    for (int32_t i = 0; i < dtaTable.count && dtaMacroType < 0; i++)
        if (DtaEntryIn(&dtaTable, i)->language == LANG_MACRO) dtaMacroType = i;
    return dtaMacroType;
}

int32_t DtaTypeLanguage(int32_t type) {
    return dtaTable.count ? DtaEntryIn(&dtaTable, DtaReadable(type))->language : 0;
}

int32_t DtaTypeTagType(int32_t type) {
    return dtaTable.count ? DtaEntryIn(&dtaTable, DtaReadable(type))->customTag : 0;
}

int32_t DtaTypeStamp(int32_t) {
    return dtaTable.changes;
}

bool DtaTypeInProjects(int32_t type) {
    if (type == DOC_TYPE_DEFAULT) return false;
    DtaOptions options;
    DtaGetOptions(type, &options);
    return !(options.flags & DTA_NOT_IN_PROJECTS);
}

// The items of a wildcard list one by one, each normalised ('/' to '\', trailing blanks cut); empty items
// are passed over. The callback answers true to stop.
template <typename F>
static bool DtaEachItem(const char *list, F &&f) {
    char item[DTA_TEXT];
    while (*list) {
        const char *end = strchr(list, ';');
        int32_t n = end ? (int32_t)(end - list) : (int32_t)strlen(list);
        StrCopyN(list, Min(n, DTA_TEXT - 1), item);
        PathNormalize(item);
        if (item[0] && f(item)) return true;
        list += end ? n + 1 : n;
    }
    return false;
}

// The file's alias when the alias list holds its name.
static void DtaAliasOf(const char *name, char *out) {
    StrCopyMaxLen(name, out, DTA_TEXT - 1);
    unsigned char *item = dtaAliases ? StlFind(dtaAliases, name, 0) : nullptr;
    const unsigned char *subs[STL_MULT_MAX];
    if (!item || StlMultSplit(item, subs) < 2) return;
    const unsigned char *alias = subs[1] + 4;
    memcpy(out, alias + 1, alias[0]);
    out[alias[0]] = 0;
}

int32_t DtaFindTypeForFile(const char *path) {
    char name[DTA_TEXT], list[DTA_TEXT];
    DtaAliasOf(PathGetName(path), name);
    int32_t firstMatch = -1, catchAll = -1;
    for (int32_t t = 0; t < dtaTable.count; t++) {
        StbGetString(dtaTable.wildcards, t, list);
        bool exact = DtaEachItem(list, [&](const char *item) {
            if (StrEqualI(item, name)) return true;
            if (strcmp(item, "*") == 0)
                catchAll = t;
            else if (firstMatch < 0 && WildcardMatch(name, item))
                firstMatch = t;
            return false;
        });
        if (exact) return t;
    }
    return firstMatch >= 0 ? firstMatch : catchAll >= 0 ? catchAll : DOC_TYPE_DEFAULT;
}

int32_t DtaTypeOfFile(const char *path) {
    if (dtaFileCached && StrEqualI(path, dtaFileCachePath)) return dtaFileCacheLang;
    dtaFileCacheLang = DtaTypeLanguage(DtaFindTypeForFile(path));
    StrCopyMaxLen(path, dtaFileCachePath, DTA_TEXT - 1);
    dtaFileCached = true;
    return dtaFileCacheLang;
}

bool DtaFileMatchesType(const char *path, int32_t type) {
    if (!DtaValid(type)) return false;
    char list[DTA_TEXT];
    const char *name = PathGetName(path);
    StbGetString(dtaTable.wildcards, type, list);
    return DtaEachItem(list,
                       [&](const char *item) { return StrEqualI(item, name) || WildcardMatch(name, item); });
}

int DtaListKnownFiles(Stl *list, DtaFileFilter filter) {
    FileFindSlot slot;
    FileFindInitSlot(&slot);
    FileFindData found;
    char name[DTA_TEXT];
    int ok = 1;
    for (bool first = true; ok && FileFindEx(&slot, first, FIND_FILES, "*.*", &found, name, sizeof name);
         first = false)
        if (DtaFindTypeForFile(name) != DOC_TYPE_DEFAULT && (!filter || filter(name)))
            ok = StlAppendSz(list, name, 0);
    FileFindCloseSlot(&slot);
    return ok;
}

// ---- File aliases ----

static char *DtaTrim(char *s) {
    while (*s == ' ' || *s == '\t') s++;
    char *end = s + strlen(s);
    while (end > s && (end[-1] == ' ' || end[-1] == '\t')) *--end = 0;
    return s;
}

// One line "name = alias" into the list: the first '=' that no backslash escapes splits it (an escaped '='
// belongs to the name). Empty lines, comments (';' or '/') and lines without an alias are passed over.
static int DtaAliasLine(Stl *list, char *text) {
    text = DtaTrim(text);
    if (!*text || *text == ';' || *text == '/') return 1;
    char *w = text, *r = text;
    for (; *r && *r != '='; r++) {
        if (r[0] == '\\' && r[1] == '=') r++;
        *w++ = *r;
    }
    if (*r != '=') return 1;
    char *alias = DtaTrim(r + 1);
    *w = 0;
    char *name = DtaTrim(text);
    if (!*alias || !*name) return 1;
    return StlMultInsert2(list, -1, name, 0, alias, 0);
}

static Stl *DtaReadAliases(FileBuffer *doc) {
    static LineRecord record;
    Stl *list = StlCreateHashed(DTA_NAMES_SLOTS, DTA_ALIAS_BUCKETS);
    for (int32_t line = 0; list && line < doc->lnMac; line++) {
        GetLine(doc, line, &record);
        if (!DtaAliasLine(list, record.text)) StlFreeNull(&list);
    }
    if (list && !StlBuildHash(list, DTA_ALIAS_BUCKETS)) StlFreeNull(&list);
    return list;
}

int DtaLoadFileAliases() {
    char path[DTA_TEXT];
    PathJoin(ToolboxProgramDir(), dtaAliasFile, path);
    FileBuffer *doc = DocFindByFileName(path), *made = nullptr;
    FileOsInfo info;
    if (!doc && FileOsPathInfo(path, &info)) made = doc = DocLoadFile(path, -1, false);
    if (!doc) return 0;
    Stl *list = DtaReadAliases(doc);
    if (made) DocFree(made, false);
    if (!list) return 0;
    StlFreeNull(&dtaAliases);
    dtaAliases = list;
    DtaClearCaches();
    return 1;
}

// ---- Options ----

int DtaGetOptions(int32_t type, DtaOptions *out) {
    if (!dtaTable.count) {
        DtaOptionsDefault(out);
        return 0;
    }
    *out = *DtaEntryIn(&dtaTable, DtaReadable(type));
    if (!(out->flags & DTA_USE_DEFAULT)) return 0;
    DtaOptions own = *out;
    *out = *DtaEntryIn(&dtaTable, DOC_TYPE_DEFAULT);
    out->language = own.language;
    out->customTag = own.customTag;
    out->flags = (out->flags & ~DTA_NOT_IN_PROJECTS) | (own.flags & DTA_NOT_IN_PROJECTS);
    return 1;
}

int DtaGetBufferOptions(const FileBuffer *doc) {
    return DtaGetOptions(doc->idta, &dtaScratch);
}

const DtaOptions *DtaScratchOptions() {
    return &dtaScratch;
}

static uint32_t DtaFlagsOf(const FileBuffer *doc) {
    DtaOptions options;
    DtaGetOptions(doc->idta, &options);
    return options.flags;
}

int32_t DtaTabWidth(const FileBuffer *doc) {
    DtaOptions options;
    DtaGetOptions(doc->idta, &options);
    return options.tabWidth;
}

bool DtaAutoIndent(const FileBuffer *doc) {
    return (DtaFlagsOf(doc) & DTA_AUTO_INDENT_MASK) != 0;
}

bool DocShowLineNumbers(const FileBuffer *doc) {
    return (DtaFlagsOf(doc) & DTA_LINE_NUMBERS) != 0;
}

bool DocVisibleTabs(const FileBuffer *doc) {
    return (DtaFlagsOf(doc) & DTA_VISIBLE_TABS) != 0;
}

bool DocVisibleSpaces(const FileBuffer *doc) {
    return (DtaFlagsOf(doc) & DTA_VISIBLE_SPACES) != 0;
}

bool DocShowRightMargin(const FileBuffer *doc) {
    return (DtaFlagsOf(doc) & DTA_RIGHT_MARGIN) != 0;
}

bool DocShowPageBreaks(const FileBuffer *doc) {
    return (DtaFlagsOf(doc) & DTA_PAGE_BREAKS) != 0;
}

int32_t DocTabPixels(FileBuffer *doc) {
    return DtaTabWidth(doc) * DocDisplay().swCharWidth(doc);
}

bool DocIsProgramSourceView(const FileBuffer *doc) {
    return DocOpt().programSourceView && DocLang().langViewFlag(doc->ilang);
}

int DocStatusFieldCount(const FileBuffer *doc) {
    return doc->ilang != 0 || DtaTypeTagType(doc->idta) != 0 ? 5 : 4;
}

// ---- Fonts and styles ----

DtaFont *DtaFontRecord(int32_t type) {
    if (dtaTable.count) return DtaFontIn(&dtaTable, DtaReadable(type));
    if (!dtaFallbackMade) DtaFontDefault(&dtaFallbackFont);
    dtaFallbackMade = true;
    return &dtaFallbackFont;
}

DtaFont *DocFontRecord(const FileBuffer *doc) {
    return DtaFontRecord(doc->idta);
}

int DocSetFont(FileBuffer *doc, const FontDesc *desc) {
    Handle *own = nullptr;
    if (desc && !(own = HAllocCopy(sizeof(FontDesc), desc))) return 0;
    HFree(doc->haux);
    doc->haux = own;
    DocDisplay().flushFormatCache();
    return 1;
}

// The font a type's text is drawn with: printing, the printer font (the screen font when screen fonts are
// emulated); on the screen, the buffer's own font when it has one, else the type's screen font. The
// narrow-punctuation bit follows "Line up white space".
static void DtaFontOf(int32_t type, bool printing, const Handle *own, FontDesc *out) {
    DtaOptions options;
    DtaGetOptions(type, &options);
    const DtaFont *font = DtaFontRecord(type);
    if (printing)
        *out = options.flags & DTA_EMULATE_SCREEN ? font->screen : font->printer;
    else
        *out = own ? *(const FontDesc *)own->ptr : font->screen;
    out->style = (uint16_t)((out->style & ~FONT_NARROW_PUNCT) |
                            (options.flags & DTA_LINE_UP_WHITE ? (uint16_t)FONT_NARROW_PUNCT : 0));
}

void DocGetFontDesc(const FileBuffer *doc, bool printing, FontDesc *out) {
    DtaFontOf(doc->idta, printing, doc->haux, out);
}

FontRecord *DocGetFont(const FileBuffer *doc, bool printing) {
    FontDesc desc;
    DocGetFontDesc(doc, printing, &desc);
    return DtaOsFontGet(printing ? DTA_PRINTER : 0, &desc);
}

void *DocGetFontHandle(const FileBuffer *doc, bool printing) {
    return DtaOsFontHandle(DocGetFont(doc, printing));
}

static void DtaStyleColours(bool printing, DtaStyle *out) {
    if (printing) {
        DocDisplay().printColours(&out->fore, &out->back);
    } else {
        out->fore = DocDisplay().styleDefaultFore();
        out->back = DocDisplay().styleDefaultBack();
    }
    out->fill = DocDisplay().styleBaseColour13();
    out->flags = out->fill != out->back ? DocDisplay().styleFillFlags() : 0;
}

void DtaStyleRecord(int32_t type, bool printing, DtaStyle *out) {
    DtaFontOf(type, printing, nullptr, &out->font);
    DtaStyleColours(printing, out);
}

void DocStyleRecord(const FileBuffer *doc, bool printing, DtaStyle *out, FontRecord **outFont) {
    DocGetFontDesc(doc, printing, &out->font);
    DtaStyleColours(printing, out);
    if (outFont) *outFont = DocGetFont(doc, printing);
}

int DocTypeStyleText(int32_t type, const char *text) {
    DtaStyle style;
    DtaStyleRecord(type, false, &style);
    return DocDisplay().styleApplyText(text, &style);
}

// ---- The built-in types ----

struct DtaBuiltIn {
    const char *name;
    const char *wildcards;
    const char *pattern;
    int32_t language;
    uint32_t set;   // flags set on the default entry
    uint32_t clear; // flags cleared
    int32_t tabWidth;
    int32_t customTag;
    bool verdana; // "Verdana" 8, else "Courier New" 8
};

enum { DTA_CUSTOM_TAG = 9 }; // "Custom Tag" + 1

static const DtaBuiltIn dtaBuiltIns[] = {
    {"Default", "", "", 0, 0, DTA_SYMBOL_WINDOW, 0, 0, true},
    {"Custom Command Output", "", "", 0, DTA_NOT_IN_PROJECTS, 0, 0, 0, false},
    {"Search Results", "*.SearchResults", "", 5, 0, 0, 0, 0, false},
    {"C Source File", "*.c;*.h", "", 1, DTA_AUTO_INDENT_SMART | DTA_SMART_PASTE, DTA_AUTO_INDENT_MASK, 0, 0,
     false},
    {"C++ Source File", "*.cpp;*.hpp;*.cxx;*.hxx", "", 3, DTA_AUTO_INDENT_SMART | DTA_SMART_PASTE,
     DTA_AUTO_INDENT_MASK, 0, 0, false},
    {"C# Source File", "*.cs", "", 14, DTA_AUTO_INDENT_SMART | DTA_SMART_PASTE, DTA_AUTO_INDENT_MASK, 0, 0,
     false},
    {"Interface Definition File", "*.idl;*.odl", "", 12, 0, 0, 0, 0, false},
    {"x86 Asm Source File", "*.asm;*.inc", "", 2, 0, 0, 8, 0, false},
    {"Java Source File", "*.java;*.jav", "", 7, DTA_AUTO_INDENT_SMART | DTA_SMART_PASTE, DTA_AUTO_INDENT_MASK,
     0, 0, false},
    {"JavaScript File", "*.js;*.jse", "", 13, DTA_AUTO_INDENT_SMART, DTA_AUTO_INDENT_MASK, 0, 0, false},
    {"Perl Source File", "*.perl;*.prl;*.pl;*.pm", "", 9, 0, 0, 0, 0, false},
    {"Visual Basic Source File", "*.bas;*.frm;*.cls;*.vb;*.vbs", "", 10, 0, 0, 0, 0, false},
    {"Batch File", "*.bat;*.cmd", "^:\\(.*\\)$", 0, 0, 0, 0, DTA_CUSTOM_TAG, false},
    {"INI File", "*.ini", "^\\[\\(.*\\)\\]", 0, 0, 0, 0, DTA_CUSTOM_TAG, false},
    {"Link Def File", "*.def", "", 0, 0, 0, 0, 0, false},
    {"Make File", "*.mak", "", 15, 0, 0, 0, 0, false},
    {"Resource File", "*.rc", "", 6, 0, 0, 0, 0, false},
    {"Veltrix Macro File", "*.EM", "", LANG_MACRO, 0, 0, 0, 0, false},
    {"Plain Text", "*.txt", "", 0, DTA_WORD_WRAP, DTA_LINE_UP_WHITE, 0, 0, false},
    {"HTML File", "*.htm;*.html;*.asp;*.aspx;*.jsp", "", 8, 0, 0, 0, 0, false},
    {"Cascading Style Sheet", "*.css", "", 16, 0, 0, 0, 0, false},
    {"Output File", "*.out;KeyList.txt;CommandList.txt;SymList.txt", "", 0, DTA_NOT_IN_PROJECTS, 0, 0, 0,
     false},
    {"Token Macro File", "*.tom", "", LANG_TOKEN_MACRO, 0, 0, 0, 0, false},
    {"XML File", "*.xml;*.xsl", "", 19, 0, 0, 0, 0, false},
    {"VHDL File", "*.vhdl;*.vhd", "", 17, 0, 0, 0, 0, false},
};

int DtaDefaults() {
    if (!DtaTableInit()) return 0;
    DtaFont courier, verdana;
    DtaFontDefault(&courier);
    DtaFontInit(&verdana, "Verdana", DTA_FONT_POINTS);
    int ok = 1;
    for (const DtaBuiltIn &b : dtaBuiltIns) {
        DtaOptions entry;
        DtaOptionsDefault(&entry);
        entry.flags = (entry.flags & ~b.clear) | b.set;
        entry.language = b.language;
        entry.customTag = b.customTag;
        if (b.tabWidth) entry.tabWidth = b.tabWidth;
        ok = DtaAddDefault(&entry, b.name, b.wildcards, b.pattern, b.verdana ? &verdana : &courier) && ok;
    }
    DtaLoadFileAliases();
    return ok;
}

// ---- The configuration section ----

static int DtaWrite32(int file, uint32_t value) {
    unsigned char word[4];
    PlexVarPutLE(word, (int32_t)value);
    return FileWriteExact(file, word, 4);
}

static int DtaRead32(int file, int32_t *out) {
    unsigned char word[4];
    if (!FileReadExact(file, word, 4)) return 0;
    *out = PlexVarGetLE(word);
    return 1;
}

static int DtaWriteBlock(int file, const Handle *block, int32_t count, uint32_t size) {
    uint32_t bytes = (uint32_t)count * size;
    return DtaWrite32(file, bytes) && FileWriteExact(file, block->ptr, (int32_t)bytes);
}

int DtaWrite(int file, const DtaTable *table) {
    Stl *built = table->languages ? nullptr : DtaLanguageNamesFromIndexes(table);
    const Stl *languages = table->languages ? table->languages : built;
    int ok = languages && DtaWrite32(file, (uint32_t)table->count) &&
             DtaWriteBlock(file, table->options, table->count, sizeof(DtaOptions)) &&
             StbWrite(table->names, file) && StbWrite(table->wildcards, file) &&
             StbWrite(table->patterns, file) &&
             DtaWriteBlock(file, table->fonts, table->count, sizeof(DtaFont)) && StlWrite(languages, file);
    StlFreeNull(&built);
    return ok;
}

Stl *DtaLanguageNamesFromIndexes(const DtaTable *table) {
    Stl *list = StlCreate(Max(table->count, DTA_LANGUAGES_ITEMS));
    char name[DTA_TEXT];
    for (int32_t i = 0; list && i < table->count; i++) {
        DtaNameOfLanguage(DtaEntryIn(table, i)->language, name);
        if (!StlAppendSz(list, name, 0)) StlFreeNull(&list);
    }
    return list;
}

// Every list holds one entry per type, and there is a type 0 to fall back on.
static bool DtaTableSound(const DtaTable *t) {
    const int32_t most = (int32_t)(UINT32_MAX / sizeof(DtaFont));
    if (t->count < 1 || t->count > most) return false;
    return t->options->size == (uint32_t)t->count * sizeof(DtaOptions) &&
           t->fonts->size == (uint32_t)t->count * sizeof(DtaFont) && StbCount(t->names) == t->count &&
           StbCount(t->wildcards) == t->count && StbCount(t->patterns) == t->count &&
           (!t->languages || StlCount(t->languages) == t->count);
}

// Stored values are kept within what the options allow: a tab width of 0 would divide by zero, a tag type
// past the symbol types would name none.
static void DtaClampEntries(DtaTable *t) {
    for (int32_t i = 0; i < t->count; i++) {
        DtaOptions *e = DtaEntryIn(t, i);
        e->tabWidth = ClampValue(e->tabWidth, DTA_TAB_MIN, DTA_TAB_MAX);
        e->margin = ClampValue(e->margin, DTA_MARGIN_MIN, DTA_MARGIN_MAX);
        e->customTag = ClampValue(e->customTag, 0, DTA_SYMBOL_TYPES);
        DtaFont *f = DtaFontIn(t, i);
        f->reserved[0] = f->reserved[1] = 0;
        f->screen.face[FONT_FACE_MAX] = f->printer.face[FONT_FACE_MAX] = 0;
    }
}

// ---- Upgrades ----

// A type of the table that a row names gets a language, no custom tag type and no custom pattern.
static void DtaResetTypeIn(DtaTable *t, int32_t i, int32_t language) {
    if (i < 0 || i >= t->count) return;
    DtaEntryIn(t, i)->language = language;
    DtaEntryIn(t, i)->customTag = 0;
    unsigned char empty = 0;
    StbReplace(t->patterns, i, &empty, StbGetValue(t->patterns, i));
}

static bool DtaUpSearchResults(DtaTable *t) {
    DtaResetTypeIn(t, DtaFindByNameIn(t, "Search Results"), 5);
    return true;
}

static bool DtaUpResourceFile(DtaTable *t) {
    DtaResetTypeIn(t, DtaFindByNameIn(t, "Resource File"), 6);
    return true;
}

static bool DtaUpAutoIndent(DtaTable *t) {
    for (int32_t i = 0; i < t->count; i++) {
        DtaOptions *e = DtaEntryIn(t, i);
        uint32_t indent = e->flags & DTA_OLD_AUTO_INDENT ? (uint32_t)DTA_AUTO_INDENT_SIMPLE : 0u;
        e->flags = (e->flags & ~(DTA_AUTO_INDENT_MASK | DTA_PAGE_BREAKS)) | indent | DTA_INDENT_OPEN |
                   DTA_INDENT_CLOSE | DTA_SYMBOL_WINDOW;
    }
    return true;
}

static bool DtaUpSearchType(DtaTable *t) {
    DtaResetTypeIn(t, DTA_TYPE_SEARCH, 5);
    return true;
}

static bool DtaUpLanguageNames(DtaTable *t) {
    StlFreeNull(&t->languages);
    t->languages = DtaLanguageNamesFromIndexes(t);
    return t->languages != nullptr;
}

// The rows applied while reading, to the table being read.
struct DtaReadRow {
    uint32_t version;
    bool upTo; // the row applies up to the version, else below it
    bool (*apply)(DtaTable *t);
};

static const DtaReadRow dtaReadRows[] = {
    {0x200000E, true, DtaUpSearchResults},
    {0x200001A, false, DtaUpResourceFile},
    {0x3000023, false, DtaUpAutoIndent},
    {0x3000059, false, DtaUpSearchType},
    {DTA_VERSION_LANGUAGE_NAMES, true, DtaUpLanguageNames},
};

static bool DtaReadParts(int file, DtaTable *t, uint32_t version) {
    t->names = StbRead(file);
    t->wildcards = t->names ? StbRead(file) : nullptr;
    t->patterns = t->wildcards ? StbRead(file) : nullptr;
    t->fonts = t->patterns ? HandleRead(file) : nullptr;
    if (!t->fonts) return false;
    if (version > DTA_VERSION_LANGUAGE_NAMES && !(t->languages = StlRead(file))) return false;
    if (!DtaTableSound(t)) return false;
    DtaClampEntries(t);
    for (const DtaReadRow &row : dtaReadRows)
        if ((row.upTo ? version <= row.version : version < row.version) && !row.apply(t)) return false;
    return true;
}

int DtaRead(int file, DtaTable *out, uint32_t version) {
    *out = DtaTable{};
    if (!DtaRead32(file, &out->count) || !(out->options = HandleRead(file))) {
        *out = DtaTable{};
        return 0;
    }
    if (DtaReadParts(file, out, version)) return 1;
    DtaTableFree(out);
    ErcSetF(ercDtaInit);
    return 0;
}

// Later rows work on the current table.
static void DtaSetLanguage(int32_t i, int32_t language) {
    char name[DTA_TEXT];
    DtaNameOfLanguage(language, name);
    DtaEntryIn(&dtaTable, i)->language = language;
    unsigned char pstr[DTA_TEXT];
    if (i < StlCount(dtaTable.languages)) StlSet(dtaTable.languages, i, PstrFromSz(name, pstr), 0);
}

// A type the row adds, unless one of that name is there already.
static void DtaUpAdd(const char *name, const char *wildcards, int32_t language, const char *face) {
    if (DtaFindByName(name) >= 0) return;
    DtaOptions entry;
    DtaOptionsDefault(&entry);
    entry.language = language;
    DtaFont font;
    DtaFontInit(&font, face, DTA_FONT_POINTS);
    DtaAddDefault(&entry, name, wildcards, "", &font);
}

// A type the row replaces when present (keeping its options and font when asked), else adds.
static void DtaUpReplace(const char *name, const char *wildcards, int32_t language, const char *face,
                         bool keep) {
    int32_t i = DtaFindByName(name);
    if (i < 0) {
        DtaUpAdd(name, wildcards, language, face);
        return;
    }
    DtaOptions entry;
    DtaFont font;
    char pattern[DTA_TEXT];
    DtaGetType(i, &entry, nullptr, nullptr, pattern, &font);
    if (!keep) {
        DtaOptionsDefault(&entry);
        DtaFontInit(&font, face, DTA_FONT_POINTS);
        pattern[0] = 0;
    }
    entry.language = language;
    DtaReplace(i, &entry, name, wildcards, pattern, nullptr, &font);
}

static const char dtaCourier[] = "Courier New";
static const char dtaVerdana[] = "Verdana";

static void DtaUpJava() {
    DtaUpAdd("Java Source File", "*.java;*.jav", 7, dtaCourier);
}
static void DtaUpHtml() {
    DtaUpAdd("HTML File", "*.html;*.htm;*.asp;*.jsp", 8, dtaVerdana);
}
static void DtaUpTokenMacro() {
    DtaUpAdd("Token Macro File", "*.tom", LANG_TOKEN_MACRO, dtaCourier);
}
static void DtaUpPerl() {
    DtaUpAdd("Perl Source Files", "*.perl;*.prl;*pl", 9, dtaCourier);
}

static void DtaUpSearchWildcards() {
    if (dtaTable.count <= DTA_TYPE_SEARCH) return;
    char list[DTA_TEXT];
    StbGetString(dtaTable.wildcards, DTA_TYPE_SEARCH, list);
    if (list[0]) StrAppendMax(";", list, DTA_TEXT - 1);
    StrAppendMax("*.SearchResults", list, DTA_TEXT - 1);
    unsigned char pstr[DTA_TEXT];
    StbReplace(dtaTable.wildcards, DTA_TYPE_SEARCH, PstrFromSz(list, pstr), 0);
}

static void DtaUpIdl() {
    DtaUpReplace("IDL Files", "*.idl", 12, dtaCourier, false);
}
static void DtaUpScripts() {
    DtaUpReplace("JavaScript File", "*.js", 13, dtaVerdana, false);
    DtaUpReplace("C# Source File", "*.cs", 14, dtaVerdana, false);
    DtaUpReplace("HTML File", "*.html;*.htm;*.asp;*.aspx;*.jsp", 8, dtaVerdana, true);
}
static void DtaUpCss() {
    DtaUpAdd("Cascading Style Sheet", "*.css", 16, dtaCourier);
}
static void DtaUpXml() {
    DtaUpAdd("XML File", "*.xml;*.xsl", 8, dtaVerdana);
}
static void DtaUpXmlLanguage() {
    int32_t i = DtaFindByName("XML File");
    if (i >= 0) DtaSetLanguage(i, 19);
}
static void DtaUpMake() {
    DtaUpAdd("Make File", "*.mak", 15, dtaCourier);
}
static void DtaUpBasic() {
    DtaUpAdd("Visual Basic Source File", "*.bas;*.frm;*.cls;*.vb;*.vbs", 10, dtaVerdana);
}

static void DtaUpFlagFromSource(uint32_t flag) {
    for (int32_t i = 0; i < dtaTable.count; i++) {
        DtaOptions *e = DtaEntryIn(&dtaTable, i);
        bool source = DocLang().langIsProgramSource(e->language);
        e->flags = source ? e->flags | flag : e->flags & ~flag;
    }
}
static void DtaUpAutoComplete() {
    DtaUpFlagFromSource(DTA_AUTO_COMPLETE);
}
static void DtaUpSmartPaste() {
    DtaUpFlagFromSource(DTA_SMART_PASTE);
}
static void DtaUpSecondWidth() {
    for (int32_t i = 0; i < dtaTable.count; i++)
        DtaEntryIn(&dtaTable, i)->width2 = DtaEntryIn(&dtaTable, i)->tabWidth;
}

struct DtaLaterRow {
    uint32_t version; // the row applies below it
    void (*apply)();
};

static const DtaLaterRow dtaLaterRows[] = {
    {0x2000028, DtaUpJava},
    {0x20A0004, DtaUpHtml},
    {0x3000028, DtaUpTokenMacro},
    {0x3000000, DtaUpPerl},
    {0x3000054, DtaUpSearchWildcards},
    {0x300005B, DtaUpIdl},
    {0x300006F, DtaUpScripts},
    {0x3000070, DtaUpCss},
    {0x3000071, DtaUpXml},
    {0x332000C, DtaUpXmlLanguage},
    {0x3000072, DtaUpMake},
    {0x3000074, DtaUpBasic},
    {0x3000080, DtaUpAutoComplete},
    {0x332000A, DtaUpSmartPaste},
    {0x332001A, DtaUpSecondWidth},
};

// The steps of every load: types 0 to 2 are never added to projects and use their own options; the
// language indexes are bound again from the names, and the change counter starts again from 0.
static void DtaAfterLoad() {
    for (int32_t i = 0; i < dtaTable.count; i++) {
        DtaOptions *e = DtaEntryIn(&dtaTable, i);
        if (i < DTA_POST_LOAD_TYPES) e->flags = (e->flags | DTA_NOT_IN_PROJECTS) & ~DTA_USE_DEFAULT;
        e->language = 0;
    }
    DtaChanged();
    dtaTable.changes = 0;
}

void DtaUpgrade(DtaTable *loaded, uint32_t version) {
    DtaTableFree(&dtaTable);
    dtaTable = *loaded;
    *loaded = DtaTable{};
    dtaTable.changes = 0;
    DtaBindLanguages();
    for (const DtaLaterRow &row : dtaLaterRows) {
        if (version >= row.version) continue;
        row.apply();
        DocShell().setConfigDirty(0);
    }
    DtaAfterLoad();
}

void DtaMerge(const DtaTable *loaded) {
    char name[DTA_TEXT], wildcards[DTA_TEXT], pattern[DTA_TEXT], language[DTA_TEXT];
    for (int32_t i = 0; i < loaded->count; i++) {
        StbGetString(loaded->names, i, name);
        StbGetString(loaded->wildcards, i, wildcards);
        StbGetString(loaded->patterns, i, pattern);
        DtaLanguageNameIn(loaded, i, language);
        const DtaOptions *entry = DtaEntryIn(loaded, i);
        const DtaFont *font = DtaFontIn(loaded, i);
        const char *named = loaded->languages ? language : nullptr;
        int32_t same = DtaFindByName(name);
        if (same >= 0)
            DtaReplace(same, entry, name, wildcards, pattern, named, font);
        else
            DtaAppend(entry, name, wildcards, pattern, named, font);
    }
    DtaAfterLoad();
}
