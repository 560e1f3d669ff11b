// dochook: what the document core asks of the subsystems above it (prefix DocHook, and the tables Doc*Hook):
// source windows and display, the shell, languages, the symbol database and projects, the browsing windows,
// search and the macro layer. Each upper subsystem registers one table of functions at start-up
// (DocSetDisplayHook and its siblings); until then, and after a null registration, every call gives the
// neutral answer listed beside it: nothing happens, 0, null or "no". A registrant starts from the neutral
// table (DocDisplayNeutral and its siblings) and replaces the calls it answers, so no member is ever null.
// Success convention of the document core: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include "base/file.h"

#include <cstdint>

struct DtaStyle;
struct FileBuffer;
struct LangScan;
struct LineLexCache;
struct LineRecord;
struct TagList;
struct TextPos;
class Lang;

// Source windows and the formatter.
struct DocDisplayHook {
    void (*retitleDocSw)(FileBuffer *doc);                                                // nothing
    void (*swRefreshDocType)(FileBuffer *doc);                                            // nothing
    void (*swInvalidateDocLines)(FileBuffer *doc, int kind, int32_t first, int32_t last); // nothing
    void (*swRepaintDocLines)(FileBuffer *doc, int32_t first, int32_t last);              // nothing
    void (*swShiftDocLines)(FileBuffer *doc, int32_t line, int32_t delta);                // nothing
    void (*swNoteEditShift)(FileBuffer *doc, int32_t line, int32_t delta);                // nothing
    void *(*swFindByDoc)(FileBuffer *doc);             // null: no window shows it
    void (*swMoveCaret)(int32_t line, int32_t column); // nothing
    void (*swLexCacheReplaced)(FileBuffer *doc, LineLexCache *old, LineLexCache *now); // nothing
    // The line positions the windows of a buffer keep, in undo snapshots: 1 when written or read (neutral:
    // nothing is written or read, 1).
    int (*swWriteDocPositions)(int file, FileBuffer *doc);
    int (*swReadDocPositions)(int file, FileBuffer *doc);
    void (*swApplyDocPositions)(FileBuffer *doc); // nothing
    // Selections, types and styles. A window is the display layer's own record, passed through.
    int32_t (*swColumnFromX)(void *window, int32_t line, int32_t x);      // 0
    int32_t (*swXFromColumn)(void *window, int32_t line, int32_t column); // 0
    void (*flushFormatCache)();                                           // nothing
    void (*redrawAllSw)();                                                // nothing
    int32_t (*swCharWidth)(FileBuffer *doc);                              // 0
    uint32_t (*styleDefaultFore)();                                       // 0x000000 (black)
    uint32_t (*styleDefaultBack)();                                       // 0xFFFFFF (white)
    uint32_t (*styleBaseColour13)();                                      // 0xFFFFFF, as the background
    uint32_t (*styleFillFlags)(); // font flags of a fill colour other than the background: 0
    void (*printColours)(uint32_t *fore, uint32_t *back);           // black on white
    int (*styleApplyText)(const char *text, const DtaStyle *style); // 0
    // The selection history records the current buffer's position (before an undo step begins): 1 when
    // recorded, 0 (neutral) when no buffer is current.
    int (*pushSelectionHistory)();
    // After an undo or redo: the current window's remembered line, when at or past the line count, becomes
    // 0; the current window, or every window, repaints its invalid lines at once; the current window scrolls
    // its selection into view. Nothing.
    void (*swResetLinePastEnd)(int32_t lineCount);
    void (*swUpdateCurrent)();
    void (*swUpdateAll)();
    void (*showSelection)();
};

// The shell's option words and preferences that the document core reads. The neutral record: CR LF for new
// buffers, every option off, no backup folder, unlimited undo.
struct DocOptions {
    uint32_t eolDefault = 1;        // line-end style of new buffers: 1 CR LF, 2 LF, 3 CR
    bool parseInBackground = false; // option bit 0: mark saved and synchronised files for a later parse
    bool keepCopiesAfterSave =
        false;                    // option bit 1: a temporary-copy buffer is not copied again after a save
    bool backSavedByCopy = false; // option bit 23: back saved and loaded files by a temporary copy
    bool markReadOnly = false;    // option bit 26: "!" before the caption of a read-only buffer
    bool editReadOnly = false;    // option bit 27: read-only buffers may be changed
    bool ctrlZEndsText = false;   // a ^Z byte ends a file's text
    bool makeBackups = false;     // the first save after loading keeps the previous file in the backup folder
    bool trimOnSave = false;      // remove trailing blanks when saving
    bool purgeBackups = false;    // delete backups older than purgeDays
    int32_t purgeDays = 0;        //
    bool changedLineMarks = false;  // display option: changed lines are marked in the margin
    bool batchWork = false;         // batch work: no questions about projects
    bool fileBusyState = false;     // state bit 5: a file that cannot be opened for writing is reported busy
    int32_t undoLevels = 0;         // 0 or less: no limit
    bool programSourceView = false; // second option word, bit 0: program source shown as such
    bool logUndoSpace = false;      // the log switch of the undo layer: running out of undo space is logged
    char backupDir[256] = {};       // empty: no backups
};

struct DocShellHook {
    void (*status)(const char *text); // the status bar's message field; "" clears it. Nothing.
    void (*statusSuspend)();          // nothing
    void (*statusResume)();           // nothing
    void (*busyBegin)();              // the shell's busy count around loads. Nothing.
    void (*busyEnd)();                // nothing
    // A new, empty, unique file "TFXXXXXX" in the program's temporary folder, open in the file layer: its
    // file number, the path in outPath (256 bytes) when given; -1 (neutral) when none can be made.
    int (*makeTempFile)(char *outPath);
    bool (*inputPending)();              // false
    void (*resetErrorState)();           // nothing
    FileBuffer *(*currentDoc)();         // null: no current buffer
    const DocOptions *(*options)();      // the neutral record
    int32_t (*setConfigDirty)(int flag); // the configuration changed: its new change count (neutral 0)
    void (*beep)(int kind); // a beep of the sound layer's kinds (3: the error beep). Nothing.
};

struct DocLangHook {
    Lang *(*getLang)(int32_t index);                                                            // null
    void (*onLinesChanged)(Lang *lang, int type, FileBuffer *doc, int32_t first, int32_t last); // nothing
    void (*onDocumentFree)(Lang *lang, FileBuffer *doc);                                        // nothing
    int32_t (*langGetVersion)(int32_t index);                                                   // 0
    bool (*langIsProgramSource)(int32_t index);                                                 // false
    void (*markDocForReparse)(FileBuffer *doc);                                                 // nothing
    void (*ensureDocParsed)(FileBuffer *doc, bool background);                                  // nothing
    void (*loadStoredSymbolList)(FileBuffer *doc, int32_t limit);                               // nothing
    void (*refreshTokenMacros)(FileBuffer *doc);                                                // nothing
    void (*lexCacheReplaced)(FileBuffer *doc, LineLexCache *old, LineLexCache *now);            // nothing
    // The language table by name: -1 when no language has the name (neutral: only "None", index 0, is
    // known); the name of an index into out (256 bytes), returned (neutral: "None" for 0, else "").
    int32_t (*getLangIndex)(const char *name);
    char *(*getLangName)(int32_t index, char *out);
    bool (*langViewFlag)(int32_t index); // false
    // The language object's operations on a buffer (lang is the buffer's own, null while no language
    // layer is registered). Neutral: the buffer's own language, no comments, lexer state 0 (answering 0),
    // no scan (0), and a parse that finds nothing and succeeds (1).
    int32_t (*getLangIndexAt)(Lang *lang, FileBuffer *doc, int32_t line, int32_t column);
    bool (*isInComment)(Lang *lang, FileBuffer *doc, int32_t line, int32_t column);
    int (*getLexStateAt)(Lang *lang, FileBuffer *doc, int32_t line, int32_t column, uint32_t *out);
    int (*beginLineScan)(Lang *lang, FileBuffer *doc, int32_t first, int o1, int o2, int o3, int o4, int kind,
                         LangScan **out);
    int (*nextScanLine)(Lang *lang, FileBuffer *doc, LineRecord *record, int32_t *line, LangScan *scan);
    int (*parseDriver)(Lang *lang, void *output, FileBuffer *doc, const TextPos *start, const TextPos *end,
                       int flags);
    int (*parsePatterns)(Lang *lang, void *output, FileBuffer *doc, int32_t first, int32_t last, int flags,
                         const char *patterns, int32_t setting);
    void (*parseBufferPublish)(FileBuffer *doc); // the symbol windows show the tag list again. Nothing.
};

// Project flag bits the document core reads.
enum { DOC_PROJ_READONLY = 1u << 1, DOC_PROJ_BIT27 = 1u << 27 };

struct DocSymbolHook {
    int32_t (*currentProject)();                                               // -1: none
    bool (*projIsBusy)(int32_t slot);                                          // false
    void (*projClose)(int32_t slot);                                           // nothing
    int32_t (*projFindFile)(int32_t slot, const char *path);                   // -1
    int (*projAddFile)(int32_t slot, FileBuffer *doc);                         // 0
    void (*projRenameFile)(int32_t slot, int32_t fileIndex, const char *path); // nothing
    // The display form of a file name, relative to the project's folder when asked; the neutral answer
    // copies the path.
    void (*projFileDisplayName)(const char *path, bool relative, char *out);
    uint32_t (*projFlags)(int32_t slot);                                                  // 0
    void (*projFolder)(int32_t slot, char *out);                                          // ""
    int (*projStoredFileInfo)(int32_t slot, int32_t fileIndex, FileInfo *out);            // 0: nothing stored
    void (*projNoteFileSaved)(int32_t slot, const char *path);                            // nothing
    void (*projSetFileParseState)(int32_t slot, FileBuffer *doc, int reparse, int other); // nothing
    int (*projUpdateFile)(int32_t slot, FileBuffer *doc);                                 // 1
    void (*tglFree)(TagList *tgl);                                                        // nothing
    void (*tglOnLinesChanged)(TagList *tgl, int type, int32_t first, int32_t last);       // nothing
    void (*tglShiftLines)(TagList *tgl, int32_t line, int32_t delta, int32_t depth);      // nothing
    void (*tglSetDirtyMark)(TagList *tgl, int32_t value);                                 // nothing
    // The project's entry for the buffer's file is marked for re-parse, or (with checkFile) its stored time
    // and size differ from the file's: false.
    bool (*projFileChanged)(int32_t slot, FileBuffer *doc, bool checkFile);
};

struct DocBrowseHook {
    void (*ctwNoteDocChanged)(FileBuffer *doc);   // nothing
    void (*pwRefresh)();                          // nothing
    void (*symbolWindowRefresh)(FileBuffer *doc); // nothing
};

struct DocSearchHook {
    int (*searchResultsOption)(); // 0: ask; 1 replace, 2 append an existing results buffer
    void (*searchCachesReset)();  // forget the cached document and type state. Nothing.
};

struct DocMacroHook {
    bool (*macroRunningFrom)(FileBuffer *doc);        // false
    void (*macroNoteDocEdited)(FileBuffer *doc);      // nothing
    void (*macroEventDocumentSave)(const char *path); // nothing
    void (*stopCapture)(FileBuffer *doc);             // nothing
};

// The neutral tables, to start a registration from.
const DocDisplayHook *DocDisplayNeutral();
const DocShellHook *DocShellNeutral();
const DocLangHook *DocLangNeutral();
const DocSymbolHook *DocSymbolNeutral();
const DocBrowseHook *DocBrowseNeutral();
const DocSearchHook *DocSearchNeutral();
const DocMacroHook *DocMacroNeutral();
const DocOptions *DocOptionsNeutral();

// Registration: the table is copied; null puts the neutral table back.
void DocSetDisplayHook(const DocDisplayHook *hook);
void DocSetShellHook(const DocShellHook *hook);
void DocSetLangHook(const DocLangHook *hook);
void DocSetSymbolHook(const DocSymbolHook *hook);
void DocSetBrowseHook(const DocBrowseHook *hook);
void DocSetSearchHook(const DocSearchHook *hook);
void DocSetMacroHook(const DocMacroHook *hook);

// The tables in use.
const DocDisplayHook &DocDisplay();
const DocShellHook &DocShell();
const DocLangHook &DocLang();
const DocSymbolHook &DocSymbol();
const DocBrowseHook &DocBrowse();
const DocSearchHook &DocSearch();
const DocMacroHook &DocMacro();
inline const DocOptions &DocOpt() {
    return *DocShell().options();
}

// Every table back to neutral (registered with the seam reset by each setter).
void DocHookReset();
