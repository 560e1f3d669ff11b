// format: the line formatter's life, setters, one-line cache and driver (prefixes Format, Fmt, and
// DeclStyleOf, RefStyleOf, FontSizeStep, DocStyleAt). The state is one global FmtState (fmtrec.h); its
// working buffers grow to whatever a line needs (4,092 characters and every insertion, one run per
// character), so a line is formatted in one pass and never restarted. FormatSaveState moves the whole state,
// buffers included, into a heap copy and leaves an empty one for the nested use.
#include "display/format.h"

#include "base/heap.h"
#include "base/str.h"
#include "base/utilil.h"
#include "display/opts.h"
#include "display/fmtcmt.h"
#include "display/fmtfont.h"
#include "display/fmtrec.h"
#include "doc/doc.h"
#include "doc/dta.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

static FmtState fmtState;
static int32_t fmtWork;

// The copy a save hands out when no formatting is open: restoring it changes nothing.
struct FmtSaved {
    FmtState state;
};
static FmtSaved fmtNothingSaved;

FmtState &FmtStateOf() {
    return fmtState;
}

// ---- Symbol styles

struct FmtTypeStyles {
    int16_t declaration;
    int16_t reference;
};

static const FmtTypeStyles fmtTypeStyles[] = {
    {63, 82},   {64, 83},   {65, 84},   {66, 85},  {67, 86},  {69, 87},  {70, 88},  {71, 89},  {81, 90},
    {73, 91},   {68, 92},   {61, 93},   {72, 94},  {74, 95},  {75, 96},  {76, 97},  {77, 98},  {60, 99},
    {78, 100},  {79, 101},  {80, 102},  {68, 92},  {109, 22}, {92, 22},  {80, 102}, {36, 38},  {36, 38},
    {36, 38},   {37, 39},   {44, 46},   {64, 83},  {0, 0},    {111, 34}, {68, 92},  {113, 0},  {115, 0},
    {118, 95},  {123, 121}, {124, 122}, {78, 100}, {17, 22},  {33, 40},  {17, 22},  {133, 22}, {134, 135},
    {138, 140}, {137, 139}, {17, 22},   {17, 22},  {17, 22},  {63, 82},  {17, 22},  {17, 22},  {69, 87},
    {142, 141}, {17, 22},   {144, 145}, {73, 91},
};
enum { FMT_SYMBOL_TYPES = 58 };
static_assert(sizeof fmtTypeStyles / sizeof fmtTypeStyles[0] == FMT_SYMBOL_TYPES);

// Symbol types the formatter names.
enum {
    FMT_TYPE_FUNCTION = 0,
    FMT_TYPE_LABEL = 16,
    FMT_TYPE_MEMBER = 17,
    FMT_TYPE_CODE_BLOCK = 31,
    FMT_TYPE_PARAMETER = 32,
    FMT_TYPE_TEMPLATE_PARAMETER = 41,
};

static constexpr uint64_t FmtTypes(std::initializer_list<int> types) {
    uint64_t set = 0;
    for (int t : types) set |= 1ull << t;
    return set;
}

// Types whose inner symbols are locals, and types that keep their own declaration style inside them.
static constexpr uint64_t fmtLocalScopes = FmtTypes({0, 11, 25, 50, 57});
static constexpr uint64_t fmtOwnStyleInside =
    FmtTypes({1, 2, 3, 4, 7, 10, 12, 13, 18, 26, 29, 36, 39, 54, 56});

int32_t RefStyleOf(int32_t type) {
    return type >= 0 && type < FMT_SYMBOL_TYPES ? fmtTypeStyles[type].reference : 0;
}

static bool FmtTypeIn(uint64_t set, int32_t type) {
    return type >= 0 && type < 64 && (set >> type & 1);
}

int32_t DeclStyleOf(const FmtSymbol *symbol) {
    int32_t type = symbol->type;
    if (type < 0 || type >= FMT_SYMBOL_TYPES) return 0;
    if (type == FMT_TYPE_CODE_BLOCK || type == FMT_TYPE_PARAMETER || type == FMT_TYPE_TEMPLATE_PARAMETER)
        return fmtTypeStyles[type].declaration;
    bool local = symbol->parentType == FMT_TYPE_CODE_BLOCK || FmtTypeIn(fmtLocalScopes, symbol->parentType);
    bool ownStyle = type == FMT_TYPE_LABEL || type == FMT_TYPE_MEMBER || FmtTypeIn(fmtOwnStyleInside, type);
    return local && !ownStyle ? (int32_t)STYLE_DECLARE_LOCAL : fmtTypeStyles[type].declaration;
}

int32_t FontSizeStep(const FontDesc *font) {
    if (font->size <= 27) return 0;
    return font->size / 80 > 1 ? font->size / 80 : 1;
}

// ---- Life

void FormatInit() {
    FmtState *s = &fmtState;
    s->typeSets[FMT_SET_FUNCTIONS] = FmtTypes({0, 1, 11, 13, 25, 30, 36, 50});
    s->typeSets[FMT_SET_FUNCTIONS_VB] = FmtTypes({0, 1, 9, 11, 13, 25, 30, 36, 44, 50, 57});
    s->typeSets[FMT_SET_MEMBERS] = FmtTypes({11, 12, 17, 36, 44, 45, 46});
    s->typeSets[FMT_SET_QUALIFIERS] = FmtTypes({2, 3, 7, 10, 18, 21, 26, 27, 28, 29, 37, 38, 39, 54});
    FlushFormatCache();
}

static void FmtFreeBuffers(FmtState *s) {
    MemFree(s->scan);
    MemFree(s->text);
    MemFree(s->columns);
    MemFree(s->advances);
    MemFree(s->runs);
    MemFree(s->ops);
    MemFree(s->looks);
    MemFree(s->textOverride);
    TextBufFree(&s->html);
    FmtLocalsClear(&s->locals);
}

void FormatExit() {
    FmtFreeBuffers(&fmtState);
    uint64_t sets[4];
    memcpy(sets, fmtState.typeSets, sizeof sets);
    memset(&fmtState, 0, sizeof fmtState);
    memcpy(fmtState.typeSets, sets, sizeof sets);
    FmtFontFlush();
}

static void FmtBaseFont(FmtState *s, FontDesc *out) {
    if (s->doc)
        DocGetFontDesc(s->doc, s->mode == FMT_PRINTER, out);
    else
        FontDescInit(out, "Courier New", 40);
    if (!s->draft) return;
    StyleAppearance draft = {};
    draft.font = *out;
    StyleGetAppearance(StyleCurrent(), STYLE_DRAFT_VIEW, &draft);
    *out = draft.font;
}

static void FmtBaseAppearance(FmtState *s) {
    memset(&s->base, 0, sizeof s->base);
    FmtBaseFont(s, &s->base.font);
    bool printing = s->mode == FMT_PRINTER;
    s->base.fore = printing ? OptColor(OPT_COLOR_PRINT_TEXT) : StyleDefaultFore();
    s->base.back = printing ? OptColor(OPT_COLOR_PRINT_WINDOW) : StyleDefaultBack();
    s->base.shadow = (printing ? s->base.back : StyleDefaultShadow()) & 0xFFFFFF;
    s->windowBack = s->base.back;
}

static void FmtDocOptions(FmtState *s) {
    DtaOptions options;
    if (s->doc)
        DtaGetOptions(s->doc->idta, &options);
    else
        DtaOptionsDefault(&options);
    s->tabWidth = options.tabWidth > 0 ? options.tabWidth : 4;
    s->margin = options.margin;
    s->rightMargin = (options.flags & DTA_RIGHT_MARGIN) != 0;
    s->visibleTabs = (options.flags & DTA_VISIBLE_TABS) != 0;
    s->visibleSpaces = (options.flags & DTA_VISIBLE_SPACES) != 0;
}

static void FmtClearRequests(FmtState *s) {
    s->styleOverride = -1;
    s->target = -1;
    s->htmlFlags = 0;
    s->startColumn = 0;
    s->openSpan = 0;
    s->selectionOn = false;
    s->selectionMode = FMT_SELECT_COLUMNS;
    MemFree(s->textOverride);
    s->textOverride = nullptr;
    s->lineNumbers = false;
    s->fontRecords = false;
    s->prefixX1 = s->prefixX2 = 0;
}

void FormatBegin(FileBuffer *doc, int32_t mode, void *dc) {
    FmtState *s = &fmtState;
    if (s->depth++ > 0) return;
    s->doc = doc;
    s->mode = mode == FMT_PRINTER ? FMT_PRINTER : FMT_SCREEN;
    s->dc = dc;
    s->view = g_viewOptions;
    s->view2 = g_viewOptions2;
    s->decor = g_decorOptions;
    s->draft = (s->view2 & VIEW2_DRAFT) != 0;
    FmtBaseAppearance(s);
    FmtDocOptions(s);
    FmtClearRequests(s);
    FmtLocalsClear(&s->locals);
    s->lang = -1;
    FmtLookKey key;
    memset(&key, 0, sizeof key);
    key.styleStamp = StyleStamp();
    key.view = s->view;
    key.view2 = s->view2;
    key.mode = s->mode;
    key.base = s->base;
    if (memcmp(&key, &s->lookKey, sizeof key) != 0) FmtLooksForget(s);
    memcpy(&s->lookKey, &key, sizeof key);
    s->baseFont = -1;
}

void FormatEnd() {
    FmtState *s = &fmtState;
    if (s->depth == 0 || --s->depth > 0) return;
    FmtLocalsClear(&s->locals);
    MemFree(s->textOverride);
    s->textOverride = nullptr;
    s->htmlFlags = 0;
    TextBufClear(&s->html);
}

int32_t FormatDepth() {
    return fmtState.depth;
}

void FormatReset() {
    fmtState.cache.valid = false;
    FmtLooksForget(&fmtState);
}

FmtSaved *FormatSaveState() {
    if (fmtState.depth == 0) return &fmtNothingSaved;
    FmtSaved *saved = (FmtSaved *)MemAlloc(sizeof(FmtSaved));
    if (!saved) return nullptr;
    saved->state = fmtState;
    uint64_t sets[4];
    memcpy(sets, fmtState.typeSets, sizeof sets);
    memset(&fmtState, 0, sizeof fmtState);
    memcpy(fmtState.typeSets, sets, sizeof sets);
    return saved;
}

void FormatRestoreState(FmtSaved *saved) {
    if (!saved || saved == &fmtNothingSaved) return;
    FmtFreeBuffers(&fmtState);
    fmtState = saved->state;
    MemFree(saved);
}

void FlushFormatCache() {
    CLineFlush();
    fmtState.cache.valid = false;
    FmtLooksForget(&fmtState);
    fmtState.baseFont = -1;
    FmtFontFlush();
}

void FlushFormatCacheOf(FileBuffer *doc) {
    if (fmtState.cache.doc == doc) FlushFormatCache();
}

// ---- Setters

void FormatSetBackground(uint32_t color) {
    fmtState.windowBack = color & 0xFFFFFF;
}

void FormatSetTargetColumn(int32_t column) {
    fmtState.target = column;
}

void FormatSetHtml(uint32_t flags, uint64_t linkTypes, const char *folder, const char *extension,
                   int32_t startColumn) {
    FmtState *s = &fmtState;
    s->htmlFlags = flags;
    s->linkTypes = linkTypes;
    StrCopyMaxLen(folder ? folder : "", s->htmlFolder, FMT_PATH - 1);
    StrCopyMaxLen(extension ? extension : "", s->htmlExtension, FMT_EXTENSION - 1);
    s->startColumn = startColumn > 0 ? startColumn : 0;
    s->openSpan = 0;
}

void FormatSetStyleOverride(int32_t style) {
    fmtState.styleOverride = style;
}

void FormatSetLineNumbers(bool on) {
    fmtState.lineNumbers = on;
}

void FormatSetSelection(bool on, const Sel *sel) {
    fmtState.selectionOn = on && sel;
    if (fmtState.selectionOn) fmtState.selection = *sel;
}

void FormatSetSelectionMode(int32_t mode) {
    fmtState.selectionMode = mode;
}

void FormatSetTextOverride(const char *text) {
    MemFree(fmtState.textOverride);
    fmtState.textOverride = text ? SzDup(text) : nullptr;
}

void FormatSetPrefixExtent(int32_t x1, int32_t x2) {
    fmtState.prefixX1 = x1;
    fmtState.prefixX2 = x2;
}

void FormatSetFontRecords(bool on) {
    fmtState.fontRecords = on;
}

int32_t FormatOpenSpan() {
    return fmtState.openSpan;
}

void FormatSetOpenSpan(int32_t style) {
    fmtState.openSpan = style;
}

char *FormatLineNumberFormat(FileBuffer *doc, int32_t line, char *out) {
    bool wide = doc && doc->lnMac >= 100001;
    snprintf(out, 16, wide ? "%07u: " : "%05u: ", (unsigned)(line + 1));
    return out;
}

// ---- Working buffers

static bool FmtGrow(void **block, int32_t *capacity, int32_t need, size_t unit) {
    if (need <= *capacity) return true;
    int32_t grown = need + need / 2 + 64;
    void *moved = MemRealloc(*block, unit * (size_t)grown);
    if (!moved) return false;
    *block = moved;
    *capacity = grown;
    return true;
}

bool FmtReserveText(FmtState *s, int32_t n) {
    int32_t need = s->length + n + 1, capacity = s->textCapacity;
    void *text = s->text, *columns = s->columns, *advances = s->advances;
    int32_t c1 = capacity, c2 = capacity, c3 = capacity;
    bool ok =
        FmtGrow(&text, &c1, need, 1) && FmtGrow(&columns, &c2, need, 4) && FmtGrow(&advances, &c3, need, 4);
    s->text = (char *)text;
    s->columns = (int32_t *)columns;
    s->advances = (int32_t *)advances;
    s->textCapacity = Min(Min(c1, c2), c3);
    if (!ok) s->lineFailed = true;
    return ok;
}

bool FmtReserveRuns(FmtState *s, int32_t n) {
    void *runs = s->runs;
    bool ok = FmtGrow(&runs, &s->runCapacity, s->runCount + n, sizeof(FmtRun));
    s->runs = (FmtRun *)runs;
    if (!ok) s->lineFailed = true;
    return ok;
}

bool FmtReserveOps(FmtState *s, int32_t n) {
    void *ops = s->ops;
    bool ok = FmtGrow(&ops, &s->opCapacity, s->opCount + n, sizeof(FmtOp));
    s->ops = (FmtOp *)ops;
    if (!ok) s->lineFailed = true;
    return ok;
}

// ---- Formatting a line

static void FmtMakeKey(const FmtState *s, int32_t line, FmtCacheKey *key) {
    memset(key, 0, sizeof *key);
    key->valid = true;
    key->doc = s->doc;
    key->changes = s->doc ? s->doc->cChange : 0;
    key->line = line;
    key->mode = s->mode;
    key->view = s->view;
    key->view2 = s->view2;
    key->decor = s->decor;
    key->styleStamp = StyleStamp();
    key->target = s->target;
    key->override = s->styleOverride;
    key->lineNumbers = s->lineNumbers;
    key->selectionOn = s->selectionOn;
    if (s->selectionOn) {
        key->selection = s->selection.range;
        key->selectionFlags = s->selection.flags;
        key->selectionLeft = s->selection.leftX;
        key->selectionRight = s->selection.rightX;
        key->selectionMode = s->selectionMode;
    }
    key->windowBack = s->windowBack;
    key->font = s->base.font;
    key->prefixX1 = s->prefixX1;
    key->prefixX2 = s->prefixX2;
    key->fontRecords = s->fontRecords;
    key->startColumn = s->startColumn;
    key->tabWidth = s->tabWidth;
    key->margin = s->margin;
    key->rightMargin = s->rightMargin;
    key->visibleTabs = s->visibleTabs;
    key->visibleSpaces = s->visibleSpaces;
}

// The cache answers only for plain lines: a text override or HTML mode always formats again.
static bool FmtCached(const FmtState *s, const FmtCacheKey *key) {
    if (!s->cache.valid || s->textOverride || s->htmlFlags) return false;
    return memcmp(&s->cache, key, sizeof *key) == 0;
}

// Step 7: the selection's columns on the line marked on the runs. A column selection is known by its pixel
// edges, so the line is laid out once to find the columns under them.
static void FmtSelect(FmtState *s, int32_t line) {
    const Sel *sel = &s->selection;
    if (!s->selectionOn || line < sel->range.firstLine || line > sel->range.lastLine) return;
    int32_t from = 0, to = FMT_COLUMN_MASK;
    if (s->selectionMode == FMT_SELECT_WHOLE) {
        FmtScanMarkSelection(s, from, to);
        return;
    }
    if (sel->flags & SEL_COLUMN) {
        FmtLayLine(s);
        from = FmtColumnAtX(sel->leftX);
        to = FmtColumnAtX(sel->rightX);
    } else {
        if (line == sel->range.firstLine) from = sel->range.firstColumn;
        if (line == sel->range.lastLine) to = sel->range.lastColumn;
    }
    if (from < to) FmtScanMarkSelection(s, from, to);
}

int32_t FormatLine(int32_t line) {
    FmtState *s = &fmtState;
    FmtCacheKey key;
    FmtMakeKey(s, line, &key);
    if (FmtCached(s, &key)) return s->mode;
    if (s->lookStamp != StyleStamp()) FmtLooksForget(s);
    fmtWork++;
    s->lineFailed = false;
    FmtScanLine(s, line);
    FmtSelect(s, line);
    FmtLayLine(s);
    memcpy(&s->cache, &key, sizeof key);
    return s->mode;
}

const FmtLine *FmtCurrentLine() {
    return &fmtState.line;
}

int32_t FormatWorkCount() {
    return fmtWork;
}

// The column a character stands for: its own, or for an inserted one the column it precedes.
static int32_t FmtColumnOf(const FmtLine *l, int32_t i) {
    return l->columns[i] & FMT_COLUMN_MASK;
}

int32_t FmtColumnAtX(int32_t x) {
    const FmtLine *l = &fmtState.line;
    int32_t at = 0;
    for (int32_t i = 0; i < l->length; i++) {
        at += l->advances[i];
        if (x < at) return FmtColumnOf(l, i);
    }
    for (int32_t i = l->length - 1; i >= 0; i--)
        if (!(l->columns[i] & FMT_COLUMN_INSERTED)) return FmtColumnOf(l, i) + 1;
    return l->length ? FmtColumnOf(l, l->length - 1) : 0;
}

int32_t FmtXOfColumn(int32_t column) {
    const FmtLine *l = &fmtState.line;
    int32_t x = 0;
    for (int32_t i = 0; i < l->length; i++) {
        if (!(l->columns[i] & FMT_COLUMN_INSERTED) && l->columns[i] >= column) return x;
        x += l->advances[i];
    }
    return x;
}

int32_t DocStyleAt(FileBuffer *doc, int32_t line, int32_t column) {
    FmtSaved *saved = FormatSaveState();
    if (!saved) return 0;
    FormatBegin(doc, FMT_SCREEN, nullptr);
    FormatSetTargetColumn(column);
    FormatLine(line);
    int32_t style = fmtState.line.targetStyle;
    FormatEnd();
    FormatRestoreState(saved);
    return style;
}
