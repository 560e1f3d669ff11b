// dochook: the tables of services the document core asks of the subsystems above it (prefix DocHook), with
// the neutral answers that stand while a subsystem has not registered its table.
#include "doc/dochook.h"

#include "base/seam.h"
#include "base/utilil.h"
#include "doc/doc.h"

// ---- Neutral answers ----

static void DocHookNothingDoc(FileBuffer *) {}
static void DocHookNothing() {}
static void DocHookNothingDocLines(FileBuffer *, int32_t, int32_t) {}
static void DocHookNothingCache(FileBuffer *, LineLexCache *, LineLexCache *) {}

static void DocHookInvalidate(FileBuffer *, int, int32_t, int32_t) {}
static void *DocHookNoWindow(FileBuffer *) {
    return nullptr;
}
static void DocHookMoveCaret(int32_t, int32_t) {}
static int DocHookPositionsDone(int, FileBuffer *) {
    return 1;
}
static int DocHookNoHistory() {
    return 0;
}
static void DocHookNothingLine(int32_t) {}

static int32_t DocHookNoColumn(void *, int32_t, int32_t) {
    return 0;
}
static int32_t DocHookNoWidth(FileBuffer *) {
    return 0;
}
static uint32_t DocHookBlack() {
    return 0x000000;
}
static uint32_t DocHookWhite() {
    return 0xFFFFFF;
}
static uint32_t DocHookNoFlags0() {
    return 0;
}
static void DocHookPrintColours(uint32_t *fore, uint32_t *back) {
    *fore = 0x000000;
    *back = 0xFFFFFF;
}
static int DocHookNoStyle(const char *, const DtaStyle *) {
    return 0;
}

static const DocDisplayHook docDisplayNeutral = {
    .retitleDocSw = DocHookNothingDoc,
    .swRefreshDocType = DocHookNothingDoc,
    .swInvalidateDocLines = DocHookInvalidate,
    .swRepaintDocLines = DocHookNothingDocLines,
    .swShiftDocLines = DocHookNothingDocLines,
    .swNoteEditShift = DocHookNothingDocLines,
    .swFindByDoc = DocHookNoWindow,
    .swMoveCaret = DocHookMoveCaret,
    .swLexCacheReplaced = DocHookNothingCache,
    .swWriteDocPositions = DocHookPositionsDone,
    .swReadDocPositions = DocHookPositionsDone,
    .swApplyDocPositions = DocHookNothingDoc,
    .swColumnFromX = DocHookNoColumn,
    .swXFromColumn = DocHookNoColumn,
    .flushFormatCache = DocHookNothing,
    .redrawAllSw = DocHookNothing,
    .swCharWidth = DocHookNoWidth,
    .styleDefaultFore = DocHookBlack,
    .styleDefaultBack = DocHookWhite,
    .styleBaseColour13 = DocHookWhite,
    .styleFillFlags = DocHookNoFlags0,
    .printColours = DocHookPrintColours,
    .styleApplyText = DocHookNoStyle,
    .pushSelectionHistory = DocHookNoHistory,
    .swResetLinePastEnd = DocHookNothingLine,
    .swUpdateCurrent = DocHookNothing,
    .swUpdateAll = DocHookNothing,
    .showSelection = DocHookNothing,
};

static const DocOptions docOptionsNeutral{};

static void DocHookStatus(const char *) {}
static int DocHookNoTempFile(char *outPath) {
    if (outPath) outPath[0] = 0;
    return -1;
}
static bool DocHookNoInput() {
    return false;
}
static FileBuffer *DocHookNoDoc() {
    return nullptr;
}
static const DocOptions *DocHookOptions() {
    return &docOptionsNeutral;
}
static void DocHookNoBeep(int) {}

static int32_t DocHookConfigDirty(int) {
    return 0;
}

static const DocShellHook docShellNeutral = {
    .status = DocHookStatus,
    .statusSuspend = DocHookNothing,
    .statusResume = DocHookNothing,
    .busyBegin = DocHookNothing,
    .busyEnd = DocHookNothing,
    .makeTempFile = DocHookNoTempFile,
    .inputPending = DocHookNoInput,
    .resetErrorState = DocHookNothing,
    .currentDoc = DocHookNoDoc,
    .options = DocHookOptions,
    .setConfigDirty = DocHookConfigDirty,
    .beep = DocHookNoBeep,
};

static Lang *DocHookNoLang(int32_t) {
    return nullptr;
}
static void DocHookLangLines(Lang *, int, FileBuffer *, int32_t, int32_t) {}
static void DocHookLangFree(Lang *, FileBuffer *) {}
static int32_t DocHookZero(int32_t) {
    return 0;
}
static bool DocHookNo(int32_t) {
    return false;
}
static void DocHookParsed(FileBuffer *, bool) {}
static void DocHookStored(FileBuffer *, int32_t) {}

static const char docHookLangNone[] = "None";

static int32_t DocHookLangIndex(const char *name) {
    return StrEqualI(name, docHookLangNone) ? 0 : -1;
}
static char *DocHookLangName(int32_t index, char *out) {
    StrCopyMaxLen(index == 0 ? docHookLangNone : "", out, 255);
    return out;
}
static int32_t DocHookOwnLang(Lang *, FileBuffer *doc, int32_t, int32_t) {
    return doc->ilang;
}
static bool DocHookNoComment(Lang *, FileBuffer *, int32_t, int32_t) {
    return false;
}
static int DocHookLexState(Lang *, FileBuffer *, int32_t, int32_t, uint32_t *out) {
    *out = 0;
    return 0;
}
static int DocHookNoScan(Lang *, FileBuffer *, int32_t, int, int, int, int, int, LangScan **out) {
    *out = nullptr;
    return 0;
}
static int DocHookNoScanLine(Lang *, FileBuffer *, LineRecord *, int32_t *, LangScan *) {
    return 0;
}
static int DocHookParseDone(Lang *, void *, FileBuffer *, const TextPos *, const TextPos *, int) {
    return 1;
}
static int DocHookPatterns(Lang *, void *, FileBuffer *, int32_t, int32_t, int, const char *, int32_t) {
    return 1;
}

static const DocLangHook docLangNeutral = {
    .getLang = DocHookNoLang,
    .onLinesChanged = DocHookLangLines,
    .onDocumentFree = DocHookLangFree,
    .langGetVersion = DocHookZero,
    .langIsProgramSource = DocHookNo,
    .markDocForReparse = DocHookNothingDoc,
    .ensureDocParsed = DocHookParsed,
    .loadStoredSymbolList = DocHookStored,
    .refreshTokenMacros = DocHookNothingDoc,
    .lexCacheReplaced = DocHookNothingCache,
    .getLangIndex = DocHookLangIndex,
    .getLangName = DocHookLangName,
    .langViewFlag = DocHookNo,
    .getLangIndexAt = DocHookOwnLang,
    .isInComment = DocHookNoComment,
    .getLexStateAt = DocHookLexState,
    .beginLineScan = DocHookNoScan,
    .nextScanLine = DocHookNoScanLine,
    .parseDriver = DocHookParseDone,
    .parsePatterns = DocHookPatterns,
    .parseBufferPublish = DocHookNothingDoc,
};

static int32_t DocHookNoProject() {
    return -1;
}
static void DocHookSlot(int32_t) {}
static int32_t DocHookNoFile(int32_t, const char *) {
    return -1;
}
static int DocHookNotAdded(int32_t, FileBuffer *) {
    return 0;
}
static void DocHookRename(int32_t, int32_t, const char *) {}
static void DocHookDisplayName(const char *path, bool, char *out) {
    StrCopyMaxLen(path, out, 255);
}
static uint32_t DocHookNoFlags(int32_t) {
    return 0;
}
static void DocHookNoFolder(int32_t, char *out) {
    out[0] = 0;
}
static int DocHookNoInfo(int32_t, int32_t, FileInfo *out) {
    *out = FileInfo{};
    return 0;
}
static void DocHookSaved(int32_t, const char *) {}
static void DocHookParseState(int32_t, FileBuffer *, int, int) {}
static int DocHookUpdated(int32_t, FileBuffer *) {
    return 1;
}
static void DocHookTglFree(TagList *) {}
static void DocHookTglLines(TagList *, int, int32_t, int32_t) {}
static void DocHookTglShift(TagList *, int32_t, int32_t, int32_t) {}
static void DocHookTglDirty(TagList *, int32_t) {}

static bool DocHookNotChanged(int32_t, FileBuffer *, bool) {
    return false;
}

static const DocSymbolHook docSymbolNeutral = {
    .currentProject = DocHookNoProject,
    .projIsBusy = DocHookNo,
    .projClose = DocHookSlot,
    .projFindFile = DocHookNoFile,
    .projAddFile = DocHookNotAdded,
    .projRenameFile = DocHookRename,
    .projFileDisplayName = DocHookDisplayName,
    .projFlags = DocHookNoFlags,
    .projFolder = DocHookNoFolder,
    .projStoredFileInfo = DocHookNoInfo,
    .projNoteFileSaved = DocHookSaved,
    .projSetFileParseState = DocHookParseState,
    .projUpdateFile = DocHookUpdated,
    .tglFree = DocHookTglFree,
    .tglOnLinesChanged = DocHookTglLines,
    .tglShiftLines = DocHookTglShift,
    .tglSetDirtyMark = DocHookTglDirty,
    .projFileChanged = DocHookNotChanged,
};

static const DocBrowseHook docBrowseNeutral = {
    .ctwNoteDocChanged = DocHookNothingDoc,
    .pwRefresh = DocHookNothing,
    .symbolWindowRefresh = DocHookNothingDoc,
};

static int DocHookAsk() {
    return 0;
}

static const DocSearchHook docSearchNeutral = {.searchResultsOption = DocHookAsk,
                                               .searchCachesReset = DocHookNothing};

static bool DocHookNotRunning(FileBuffer *) {
    return false;
}
static void DocHookSaveEvent(const char *) {}

static const DocMacroHook docMacroNeutral = {
    .macroRunningFrom = DocHookNotRunning,
    .macroNoteDocEdited = DocHookNothingDoc,
    .macroEventDocumentSave = DocHookSaveEvent,
    .stopCapture = DocHookNothingDoc,
};

// ---- The tables in use ----

static DocDisplayHook docDisplay = docDisplayNeutral;
static DocShellHook docShell = docShellNeutral;
static DocLangHook docLang = docLangNeutral;
static DocSymbolHook docSymbol = docSymbolNeutral;
static DocBrowseHook docBrowse = docBrowseNeutral;
static DocSearchHook docSearch = docSearchNeutral;
static DocMacroHook docMacro = docMacroNeutral;

const DocDisplayHook *DocDisplayNeutral() {
    return &docDisplayNeutral;
}
const DocShellHook *DocShellNeutral() {
    return &docShellNeutral;
}
const DocLangHook *DocLangNeutral() {
    return &docLangNeutral;
}
const DocSymbolHook *DocSymbolNeutral() {
    return &docSymbolNeutral;
}
const DocBrowseHook *DocBrowseNeutral() {
    return &docBrowseNeutral;
}
const DocSearchHook *DocSearchNeutral() {
    return &docSearchNeutral;
}
const DocMacroHook *DocMacroNeutral() {
    return &docMacroNeutral;
}
const DocOptions *DocOptionsNeutral() {
    return &docOptionsNeutral;
}

void DocHookReset() {
    docDisplay = docDisplayNeutral;
    docShell = docShellNeutral;
    docLang = docLangNeutral;
    docSymbol = docSymbolNeutral;
    docBrowse = docBrowseNeutral;
    docSearch = docSearchNeutral;
    docMacro = docMacroNeutral;
}

template <typename T>
static void DocHookSet(T *table, const T *hook, const T &neutral) {
    *table = hook ? *hook : neutral;
    SeamRegisterReset(DocHookReset);
}

void DocSetDisplayHook(const DocDisplayHook *hook) {
    DocHookSet(&docDisplay, hook, docDisplayNeutral);
}
void DocSetShellHook(const DocShellHook *hook) {
    DocHookSet(&docShell, hook, docShellNeutral);
}
void DocSetLangHook(const DocLangHook *hook) {
    DocHookSet(&docLang, hook, docLangNeutral);
}
void DocSetSymbolHook(const DocSymbolHook *hook) {
    DocHookSet(&docSymbol, hook, docSymbolNeutral);
}
void DocSetBrowseHook(const DocBrowseHook *hook) {
    DocHookSet(&docBrowse, hook, docBrowseNeutral);
}
void DocSetSearchHook(const DocSearchHook *hook) {
    DocHookSet(&docSearch, hook, docSearchNeutral);
}
void DocSetMacroHook(const DocMacroHook *hook) {
    DocHookSet(&docMacro, hook, docMacroNeutral);
}

const DocDisplayHook &DocDisplay() {
    return docDisplay;
}
const DocShellHook &DocShell() {
    return docShell;
}
const DocLangHook &DocLang() {
    return docLang;
}
const DocSymbolHook &DocSymbol() {
    return docSymbol;
}
const DocBrowseHook &DocBrowse() {
    return docBrowse;
}
const DocSearchHook &DocSearch() {
    return docSearch;
}
const DocMacroHook &DocMacro() {
    return docMacro;
}
