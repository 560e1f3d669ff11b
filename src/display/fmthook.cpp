// fmthook: the formatter's tables of the languages and the symbol database (prefix FmtSetLangHook,
// FmtSetSymbolHook, FmtLang, FmtSymbols, FmtLocals). Each setter registers the reset that puts both tables
// back to neutral.
#include "display/fmthook.h"

#include "base/heap.h"
#include "base/seam.h"

#include <cstring>

static void FmtNeutralSwitches(int32_t, FmtLangSwitches *out) {
    memset(out, 0, sizeof *out);
}
static bool FmtNeutralScan(FmtToken *) {
    return false;
}
static bool FmtNeutralLocals(FileBuffer *, int32_t, FmtLocals *) {
    return false;
}
static bool FmtNeutralWord(const char *, int32_t, int32_t *) {
    return false;
}
static bool FmtNeutralTagAt(FileBuffer *, int32_t, int32_t, const char *, FmtSymbol *) {
    return false;
}
static bool FmtNeutralTagEnding(FileBuffer *, int32_t, int32_t, FmtSymbol *) {
    return false;
}
static int32_t FmtNeutralLookup(FileBuffer *, const char *, uint64_t, uint32_t, char *, int32_t *) {
    return -1;
}
static void FmtNeutralFolder(FileBuffer *, char *out) {
    out[0] = 0;
}

static const FmtLangHook fmtLangNeutral = {
    .switches = FmtNeutralSwitches,
    .scanStyledToken = FmtNeutralScan,
    .parseLocals = FmtNeutralLocals,
    .highlightedWord = FmtNeutralWord,
};
static const FmtSymbolHook fmtSymbolNeutral = {
    .tagAt = FmtNeutralTagAt,
    .tagEndingAt = FmtNeutralTagEnding,
    .lookup = FmtNeutralLookup,
    .sourceFolder = FmtNeutralFolder,
};

static FmtLangHook fmtLang = fmtLangNeutral;
static FmtSymbolHook fmtSymbols = fmtSymbolNeutral;

const FmtLangHook *FmtLangNeutral() {
    return &fmtLangNeutral;
}

const FmtSymbolHook *FmtSymbolNeutral() {
    return &fmtSymbolNeutral;
}

static void FmtHookReset() {
    fmtLang = fmtLangNeutral;
    fmtSymbols = fmtSymbolNeutral;
}

void FmtSetLangHook(const FmtLangHook *hook) {
    fmtLang = hook ? *hook : fmtLangNeutral;
    SeamRegisterReset(FmtHookReset);
}

void FmtSetSymbolHook(const FmtSymbolHook *hook) {
    fmtSymbols = hook ? *hook : fmtSymbolNeutral;
    SeamRegisterReset(FmtHookReset);
}

const FmtLangHook &FmtLang() {
    return fmtLang;
}

const FmtSymbolHook &FmtSymbols() {
    return fmtSymbols;
}

// ---- Local symbol tables

void FmtLocalsInit(FmtLocals *locals) {
    memset(locals, 0, sizeof *locals);
    locals->first = -1;
    locals->last = -1;
}

void FmtLocalsClear(FmtLocals *locals) {
    MemFree(locals->symbols);
    FmtLocalsInit(locals);
}

bool FmtLocalsAdd(FmtLocals *locals, const FmtSymbol *symbol) {
    if (locals->count == locals->capacity) {
        int32_t capacity = locals->capacity ? locals->capacity * 2 : 16;
        FmtSymbol *grown = (FmtSymbol *)MemRealloc(locals->symbols, sizeof(FmtSymbol) * (size_t)capacity);
        if (!grown) return false;
        locals->symbols = grown;
        locals->capacity = capacity;
    }
    locals->symbols[locals->count++] = *symbol;
    return true;
}

const FmtSymbol *FmtLocalsFind(const FmtLocals *locals, const char *name, int32_t length) {
    for (int32_t i = 0; i < locals->count; i++) {
        const char *have = locals->symbols[i].name;
        if (strncmp(have, name, length) == 0 && have[length] == 0) return &locals->symbols[i];
    }
    return nullptr;
}
