// doc: file buffers (prefix Doc). Globals: the head of the buffer list (new buffers first), the count of
// live buffers, the count of bulk-load brackets, the current document id, the "BlockBinaryFiles" switch read
// once, and the two hidden system buffers.
#include "doc/doc.h"

#include "base/erc.h"
#include "base/os.h"
#include "base/path.h"
#include "base/str.h"
#include "base/pstr.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "base/heap.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/docfile.h"
#include "doc/dochook.h"
#include "doc/doclang.h"
#include "doc/insert.h"
#include "doc/docmrk.h"
#include "doc/docproj.h"
#include "doc/dta.h"
#include "doc/undo.h"
#include "ui/dlgalert.h"
#include "ui/dlgcom.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>

const char ercDocBinaryFile[] = "%s is a binary file and is not opened (\"BlockBinaryFiles\" is set).";
const char ercDocCurrentOutput[] = "Cannot use the current file.";
static const char docIdValue[] = "DocID";
static const char docBlockBinaryValue[] = "BlockBinaryFiles";
static const char *const docBinaryExtensions[] = {".exe", ".dll", ".bmp", ".dib"};

enum {
    DOC_STORED_SYMBOLS_LIMIT = 300,
    DOC_CAPTURE_STOPPED = 0x2, // state word bit 1 of a capture record
    DOC_ANSWER_YES = 6,        // the system's IDYES
};

static FileBuffer *docHead;
static int32_t docLiveCount;
static int32_t docBulkLoads;
static uint32_t docIdCurrent;
static int32_t docBlockBinary = -1; // -1 until read
static FileBuffer *docClipboard;
static FileBuffer *docScratch;

// ---- Errors ----

// The error reporter shows a code once until it changes; a message the user asked for again is told again.
void DocReportError(const char *erc, ...) {
    ErcClear();
    va_list args;
    va_start(args, erc);
    ErcSetV(erc, args);
    va_end(args);
    ErcReport();
}

void DocReportCurrentError() {
    char text[ERC_TEXT_MAX];
    if (!ErcGetText(text)) return;
    DocReportError("%s", text);
}

// ---- Document ids ----

int DocIdInit() {
    int32_t id;
    if (OsSettingGetInt(docIdValue, &id)) {
        docIdCurrent = (uint32_t)id;
    } else {
        docIdCurrent = 0;
        OsSettingSetInt(docIdValue, 0);
    }
    return 1;
}

// Read again each time, so that ids keep growing across instances.
uint32_t DocIdNext() {
    int32_t id;
    if (OsSettingGetInt(docIdValue, &id)) docIdCurrent = (uint32_t)id;
    docIdCurrent++;
    OsSettingSetInt(docIdValue, (int32_t)docIdCurrent);
    return docIdCurrent;
}

// ---- Creation and freeing ----

// The buffer's one empty line: CR LF at the end of its first file.
static bool DocWriteFirstLine(FileBuffer *doc, int file) {
    uint32_t at;
    if (file == ScratchFileNumber()) {
        int64_t where = ScratchFileAppend(nullptr, "", 0);
        if (where < 0) return false;
        at = (uint32_t)where;
    } else {
        at = FileGetSize(file);
        FileSeek(file, at);
        if (!FileWriteExact(file, "\r\n", 2)) return false;
        DocFileStyleSet(file, EOL_CRLF);
    }
    LineRun *run = DocGetRun(doc, 0);
    *run = LineRun{0, file == ScratchFileNumber() ? RUN_SCRATCH : 0u, at, 0};
    RunSetFile(run, file);
    DocLengths(doc)[0] = 2;
    return true;
}

static void DocFreeParts(FileBuffer *doc, int tempFile) {
    if (doc->hrgl) RunTableFree(doc->hrgl);
    if (doc->hrgcb) HFree(doc->hrgcb);
    if (doc->hpstrName) HFree(doc->hpstrName);
    if (tempFile >= 0) FileCloseDelete(tempFile);
    MemFree(doc);
}

static FileBuffer *DocAllocate(const char *name, int file) {
    FileBuffer *doc = (FileBuffer *)MemAlloc(sizeof(FileBuffer));
    if (!doc) return nullptr;
    doc->hrgl = RunTableCreate(sizeof(LineRun));
    doc->hrgcb = HAlloc(8);
    if (name) doc->hpstrName = PstrHandleFromSz(name);
    if (doc->hrgl && doc->hrgcb && (!name || doc->hpstrName) && DocWriteFirstLine(doc, file)) return doc;
    DocFreeParts(doc, -1);
    return nullptr;
}

FileBuffer *DocCreate(const char *name, bool fTempFile) {
    int file = fTempFile ? DocShell().makeTempFile(nullptr) : ScratchFileNumber();
    if (file < 0) return nullptr;
    FileBuffer *doc = DocAllocate(name, file);
    if (!doc) {
        if (fTempFile) FileCloseDelete(file);
        return nullptr;
    }
    doc->docId = DocIdNext();
    doc->pdocNext = docHead;
    docHead = doc;
    doc->tickUsed = doc->tickChecked = TickNow();
    doc->lnMac = 1;
    doc->fn = fTempFile ? file : -1;
    doc->flags = DOC_LAST_LINE_ENDED;
    doc->iProj = doc->ifileProj = doc->fnUndo = doc->cSaveConfirmed = -1;
    doc->eol = DocOpt().eolDefault;
    doc->cChange = 1;
    docLiveCount++;
    DocSetTypeFromName(doc);
    return doc;
}

FileBuffer *DocNew(const char *name) {
    return DocCreate(name, false);
}

static void DocUnlink(FileBuffer *doc) {
    for (FileBuffer **link = &docHead; *link; link = &(*link)->pdocNext)
        if (*link == doc) {
            *link = doc->pdocNext;
            return;
        }
}

void DocCloseBacking(int file, bool fDelete) {
    int32_t refCount = FileRefCount(file);
    if (refCount == 0) return;
    if (fDelete || refCount <= 1) {
        DocLongLinesDropFile(file);
        DocFileStyleSet(file, EOL_NONE);
    }
    if (fDelete)
        FileCloseDelete(file);
    else
        FileClose(file);
}

// A file whose runs other buffers share is copied out to them before this buffer lets go of it: its slot
// could otherwise be taken by another file while their runs still name it.
static void DocReleaseBacking(FileBuffer *doc, bool fDelete) {
    if (doc->fn < 0) return;
    int32_t refCount = FileRefCount(doc->fn);
    bool last = refCount > 0 && (refCount <= 1 || fDelete || (doc->flags & DOC_TEMP_COPY));
    if (last && FileHasDocLines(doc->fn)) DocDetachFile(doc->fn, doc);
    DocCloseBacking(doc->fn, fDelete || (doc->flags & DOC_TEMP_COPY));
    doc->fn = -1;
}

void DocFree(FileBuffer *doc, bool fDelete) {
    if (!doc) return;
    TypingForgetBuffer(doc);
    DocResetFetchCache();
    RunTableResetCache();
    if (DocEditLineBuffer() == doc) DocClearEditLine();
    DocLang().onDocumentFree(doc->plang, doc);
    if (doc->ptgl) DocSymbol().tglFree(doc->ptgl);
    doc->ptgl = nullptr;
    DocReleaseBacking(doc, fDelete);
    for (Handle *h : {doc->hpstrTitle, doc->hszClipSource, doc->hszClipDoc, doc->haux})
        if (h) HFree(h);
    if (doc->pplex) PlexFree(doc->pplex);
    if (doc->pstl) StlFree(doc->pstl);
    DocSetLexCache(doc, nullptr);
    UndoFree(doc);
    DocFreeMarkSets(doc);
    DocUnlink(doc);
    if (doc == docClipboard) docClipboard = nullptr;
    if (doc == docScratch) docScratch = nullptr;
    DocFreeParts(doc, -1);
    docLiveCount--;
}

FileBuffer *DocNewFrom(FileBuffer *model, const char *name, bool fTempFile) {
    FileBuffer *doc = DocCreate(name, fTempFile);
    if (!doc) return nullptr;
    UndoSuspend(doc);
    bool ok = DocEmpty(doc) == 0 && (model->lnMac == 0 || DocCopyLines(model, 0, model->lnMac, doc, 0, 0));
    UndoResume(doc);
    if (!ok) {
        DocFree(doc, false);
        return nullptr;
    }
    const uint32_t copied = DOC_LAST_LINE_ENDED | DOC_CLIP | DOC_OUTPUT | DOC_CTRL_Z;
    doc->flags = (doc->flags & ~copied) | (model->flags & copied);
    return doc;
}

// ---- The hidden system buffers ----

static FileBuffer *DocMakeSystem(const char *name) {
    FileBuffer *doc = DocNew(name);
    if (doc) DocSetSystem(DocSetFlagBit9(DocSetFlagBit4(doc, true), true), true);
    return doc;
}

int DocCreateSystemDocs() {
    if (!docClipboard) docClipboard = DocMakeSystem("Clipboard");
    if (!docScratch) docScratch = DocMakeSystem("Scratch");
    return docClipboard && docScratch;
}

FileBuffer *DocClipboardDoc() {
    return docClipboard;
}
FileBuffer *DocScratchDoc() {
    return docScratch;
}

// ---- The list ----

int DocIterNext(FileBuffer **doc) {
    *doc = *doc ? (*doc)->pdocNext : docHead;
    return *doc != nullptr;
}

FileBuffer *DocListHead() {
    return docHead;
}

int32_t DocLiveCount() {
    return docLiveCount;
}

void DocMoveToFront(FileBuffer *doc) {
    if (doc == docHead) return;
    DocUnlink(doc);
    doc->pdocNext = docHead;
    docHead = doc;
}

FileBuffer *DocFirstOther(FileBuffer *doc) {
    for (FileBuffer *d = docHead; d; d = d->pdocNext)
        if (d != doc && !(d->flags & DOC_NO_WINDOW)) return d;
    return nullptr;
}

// ---- Names and lookups ----

void DocGetFileName(const FileBuffer *doc, char *out) {
    out[0] = 0;
    if (!doc || !doc->hpstrName) return;
    const unsigned char *pstr = (const unsigned char *)doc->hpstrName->ptr;
    memcpy(out, pstr + 1, pstr[0]);
    out[pstr[0]] = 0;
}

int DocGetFileNameP(const FileBuffer *doc, unsigned char *out) {
    out[0] = 0;
    if (doc && doc->hpstrName)
        memcpy(out, doc->hpstrName->ptr, ((unsigned char *)doc->hpstrName->ptr)[0] + 1);
    return out[0] + 1;
}

int DocSetName(FileBuffer *doc, const char *name) {
    Handle *h = PstrHandleFromSz(name);
    if (!h) return 0;
    if (doc->hpstrName) HFree(doc->hpstrName);
    doc->hpstrName = h;
    return 1;
}

FileBuffer *DocFindByFileName(const char *name) {
    unsigned char pstr[256];
    PstrFromSz(name, pstr);
    return DocFindByFileNameP(pstr);
}

FileBuffer *DocFindByFileNameP(const unsigned char *name) {
    for (FileBuffer *doc = docHead; doc; doc = doc->pdocNext) {
        const unsigned char *own = doc->hpstrName ? (const unsigned char *)doc->hpstrName->ptr : nullptr;
        if (own && own[0] == name[0] && MemEqualI(own + 1, name + 1, name[0])) {
            doc->flags &= ~DOC_CLOSE_DEFERRED;
            return doc;
        }
    }
    return nullptr;
}

FileBuffer *DocFindById(uint32_t id) {
    for (FileBuffer *doc = docHead; doc; doc = doc->pdocNext)
        if (doc->docId == id) return doc;
    return nullptr;
}

FileBuffer *DocFindByTitle(const char *title) {
    char own[256];
    for (FileBuffer *doc = docHead; doc; doc = doc->pdocNext)
        if (DocGetTitleOverride(doc, own) && StrEqualI(own, title)) return doc;
    return nullptr;
}

// ---- Titles ----

void DocSetTitle(FileBuffer *doc, const char *title) {
    if (doc->hpstrTitle) HFree(doc->hpstrTitle);
    doc->hpstrTitle = title ? PstrHandleFromSz(title) : nullptr;
}

void DocSetTitleP(FileBuffer *doc, const unsigned char *title) {
    if (doc->hpstrTitle) HFree(doc->hpstrTitle);
    doc->hpstrTitle = title ? PstrHandleDup(title) : nullptr;
}

int DocGetTitleOverride(const FileBuffer *doc, char *out) {
    out[0] = 0;
    if (!doc->hpstrTitle) return 0;
    const unsigned char *pstr = (const unsigned char *)doc->hpstrTitle->ptr;
    memcpy(out, pstr + 1, pstr[0]);
    out[pstr[0]] = 0;
    return 1;
}

static void DocDisplayName(FileBuffer *doc, char *out) {
    char name[256];
    DocGetFileName(doc, name);
    if (doc->fn < 0) {
        StrCopyMaxLen(name, out, 255);
        PathDisplayForm(out);
    } else {
        bool relative = doc->iProj >= 0 && doc->iProj == DocSymbol().currentProject();
        DocSymbol().projFileDisplayName(name, relative, out);
    }
    PathAbbreviate(out);
}

void DocGetTitle(FileBuffer *doc, char *out) {
    char title[256];
    bool hasTitle = DocGetTitleOverride(doc, title);
    if (hasTitle && (doc->flags & DOC_OUTPUT)) {
        snprintf(out, 256, "%s%s", title, doc->hcapture ? " (Running)" : " (Final)");
        return;
    }
    if (hasTitle && !(doc->flags & DOC_CLIP)) {
        StrCopyMaxLen(title, out, 255);
        return;
    }
    if (!hasTitle) DocDisplayName(doc, title);
    if ((doc->flags & DOC_CLIP) && doc != docClipboard)
        snprintf(out, 256, "Clip: %s", title);
    else
        StrCopyMaxLen(title, out, 255);
}

void DocGetCaption(FileBuffer *doc, char *out) {
    char title[256];
    DocGetTitle(doc, title);
    bool star = (doc->flags & DOC_MODIFIED) && !(doc->flags & (DOC_NO_PROJECT_ASK | DOC_CLIP));
    bool bang = (doc->flags & DOC_READONLY) && DocOpt().markReadOnly;
    snprintf(out, 256, "%s%s%s", bang ? "!" : "", title, star ? " *" : "");
}

static void DocSetText(Handle **slot, const char *text) {
    if (*slot) HFree(*slot);
    *slot = text ? SzHandleDup(text) : nullptr;
}

void DocSetClipSource(FileBuffer *doc, const char *source, const char *docName) {
    DocSetText(&doc->hszClipSource, source);
    DocSetText(&doc->hszClipDoc, docName);
}

int DocSourceLabel(const FileBuffer *doc, char *out) {
    out[0] = 0;
    if (!(doc->flags & DOC_CLIP)) return 0;
    const char *source = doc->hszClipSource ? (const char *)doc->hszClipSource->ptr : nullptr;
    const char *name = doc->hszClipDoc ? (const char *)doc->hszClipDoc->ptr : nullptr;
    if (name && *name)
        snprintf(out, 256, "%s from %s", name, source ? source : "");
    else
        snprintf(out, 256, "Source: %s", source && *source ? source : "Unknown");
    return 1;
}

// ---- Flags and queries ----

static FileBuffer *DocSetBit(FileBuffer *doc, uint32_t bit, bool on) {
    doc->flags = on ? doc->flags | bit : doc->flags & ~bit;
    return doc;
}

FileBuffer *DocSetSystem(FileBuffer *doc, bool on) {
    return DocSetBit(doc, DOC_SYSTEM, on);
}
FileBuffer *DocSetFlagBit4(FileBuffer *doc, bool on) {
    return DocSetBit(doc, DOC_HIDDEN, on);
}
FileBuffer *DocSetFlagBit9(FileBuffer *doc, bool on) {
    return DocSetBit(doc, DOC_NO_WINDOW, on);
}
FileBuffer *DocSetLastLineEnded(FileBuffer *doc, bool on) {
    return DocSetBit(doc, DOC_LAST_LINE_ENDED, on);
}
FileBuffer *DocSetNoProjectAsk(FileBuffer *doc, bool on) {
    return DocSetBit(doc, DOC_NO_PROJECT_ASK, on);
}

bool DocIsModified(const FileBuffer *doc) {
    return (doc->flags & DOC_MODIFIED) != 0;
}

bool DocIsSearchResults(const FileBuffer *doc) {
    return (doc->flags & DOC_SEARCH_TYPE) && !(doc->flags & DOC_SEARCH_RESULTS);
}

bool DocIsCaptureRunning(const FileBuffer *doc) {
    return doc->hcapture && !(*(const uint32_t *)doc->hcapture->ptr & DOC_CAPTURE_STOPPED);
}

bool AnyCaptureRunning() {
    for (FileBuffer *doc = docHead; doc; doc = doc->pdocNext)
        if (DocIsCaptureRunning(doc)) return true;
    return false;
}

bool DocIsBlank(FileBuffer *doc) {
    return doc->lnMac == 0 || (doc->lnMac == 1 && GetLineLength(doc, 0) == 0);
}

bool DocIsClipboardOrSystem(const FileBuffer *doc) {
    return doc == docClipboard || (doc->flags & DOC_SYSTEM);
}

bool DocTypeOption0Applies(const FileBuffer *doc) {
    if (doc->ilang != 0 && DocLang().langIsProgramSource(doc->ilang)) return false;
    DtaOptions options;
    DtaGetOptions(doc->idta, &options);
    return (options.flags & DTA_WORD_WRAP) != 0;
}

int DocGetProject(const FileBuffer *doc) {
    return doc->iProj;
}

int32_t BeginBulkLoad() {
    return ++docBulkLoads;
}

int32_t EndBulkLoad() {
    if (docBulkLoads > 0) docBulkLoads--;
    return docBulkLoads;
}

bool DocInBulkLoad() {
    return docBulkLoads > 0;
}

// ---- Opening a file ----

static bool DocBlockedBinary(const char *path) {
    if (docBlockBinary < 0) {
        int32_t value;
        docBlockBinary = OsSettingGetInt(docBlockBinaryValue, &value) ? value : 1;
    }
    if (!docBlockBinary) return false;
    const char *ext = PathGetExt(path);
    for (const char *blocked : docBinaryExtensions)
        if (StrEqualI(ext, blocked)) return true;
    return false;
}

void DocForgetBlockBinary() {
    docBlockBinary = -1;
}

// Membership, the read-only project and bit 27; 1 when the stored symbols are current.
static bool DocJoinProjectOnLoad(FileBuffer *doc, int32_t iProj, int32_t ifile, bool fCompare) {
    if (iProj < 0 || ifile < 0) return false;
    DocSetProject(doc, iProj, ifile);
    if (DocSymbol().projFlags(iProj) & DOC_PROJ_READONLY) FileForceReadOnly(doc->fn);
    if (!fCompare) return false;
    FileInfo stored, actual;
    return DocSymbol().projStoredFileInfo(iProj, ifile, &stored) && FileGetInfo(doc->fn, &actual) &&
           FileInfoEqual(&stored, &actual);
}

static bool DocLoadText(FileBuffer *doc, int32_t from, int32_t to) {
    bool whole = from < 0;
    if (whole ? FileGetSize(doc->fn) == 0 : to <= from) {
        doc->flags &= ~DOC_LAST_LINE_ENDED; // an empty file gains no line end when it is saved
        return true;
    }
    DocShell().busyBegin();
    bool ok = KsadOfTextFile(doc, doc->fn, from, to) != 0;
    DocShell().busyEnd();
    return ok;
}

static void DocSyncSymbols(FileBuffer *doc, bool current, bool fSync, bool fLoadSymbols) {
    if (!current && fSync && doc->iProj >= 0 && !DocSymbol().projIsBusy(doc->iProj)) {
        if (DocOpt().parseInBackground) {
            DocSetProjParseState(doc, 1, 1);
            return;
        }
        char name[256], text[300];
        DocGetFileName(doc, name);
        snprintf(text, sizeof text, "Synchronizing %s", name);
        DocShell().status(text);
        DocShell().statusSuspend();
        DocUpdateProjectSymbols(doc);
        DocShell().statusResume();
    } else if (current && fLoadSymbols) {
        DocLang().loadStoredSymbolList(doc, DOC_STORED_SYMBOLS_LIMIT);
    }
}

static FileBuffer *DocLoadFailed(FileBuffer *doc) {
    DocReportCurrentError();
    DocFree(doc, false);
    return nullptr;
}

FileBuffer *DocLoadFile(const char *path, int32_t iProj, bool fSync) {
    return DocLoadFileEx(path, iProj, fSync, true, DocOpt().backSavedByCopy, -1, -1);
}

FileBuffer *DocLoadFileEx(const char *path, int32_t iProj, bool fSync, bool fLoadSymbols, bool fTempCopy,
                          int32_t from, int32_t to) {
    int32_t macroType = DtaMacroTypeIndex();
    if (macroType >= 0 && DtaFileMatchesType(path, macroType)) fTempCopy = true;
    if (iProj >= 0 && DocSymbol().projIsBusy(iProj)) fSync = false;
    if (DocBlockedBinary(path)) {
        DocReportError(ercDocBinaryFile, path);
        return nullptr;
    }
    FileBuffer *doc = DocNew(path);
    if (!doc) {
        DocReportCurrentError();
        return nullptr;
    }
    int32_t ifile = iProj >= 0 ? DocSymbol().projFindFile(iProj, path) : -1;
    doc->fn = FileOpenEx(path, FILE_OPEN_READONLY | FILE_OPEN_SEQ | FILE_OPEN_MAPPABLE);
    if (doc->fn < 0) return DocLoadFailed(doc);
    doc->tickUsed = TickNow();
    bool current = DocJoinProjectOnLoad(doc, iProj, ifile, fSync || fLoadSymbols);
    if (!DocInBulkLoad()) RestoreSourceLinks(doc, 0);
    if (fTempCopy && !DocInBulkLoad() && !DocBackByCopy(doc, DOC_COPY_KEEP_RUNS)) return DocLoadFailed(doc);
    if (!DocLoadText(doc, from, to)) return DocLoadFailed(doc);
    if (!(doc->flags & DOC_TEMP_COPY)) FileGetInfo(doc->fn, &doc->fileInfo);
    DocSetTypeFromName(doc);
    DocSyncSymbols(doc, current, fSync, fLoadSymbols);
    DocRefreshReadOnly(doc);
    return doc;
}

// ---- Output buffers ----

static void DocOutputPath(const char *name, char *out) {
    if (!PathIsBareName(name) || DocSymbol().currentProject() < 0) {
        if (!PathMakeFull(name, out)) StrCopyMaxLen(name, out, 255);
        return;
    }
    char folder[256];
    DocSymbol().projFolder(DocSymbol().currentProject(), folder);
    PathJoin(folder, name, out);
}

enum DocOutputAnswer { DOC_OUT_REPLACE = 0, DOC_OUT_APPEND = 1, DOC_OUT_NEW = 2, DOC_OUT_CANCEL = 3 };

static int DocAskOutput(FileBuffer *doc) {
    static const char *const buttons[] = {"Replace", "Append", "New...", "Cancel"};
    char text[512], name[256];
    if (DocIsSearchResults(doc)) {
        StrCopyMaxLen("Search Results already contains text.\nReplace it or Append to it?", text, 511);
    } else {
        DocGetFileName(doc, name);
        snprintf(text, sizeof text, "%s already contains text.\nReplace it or Append to it?", name);
    }
    int answer = AlertChoose(text, buttons, 4, DOC_OUT_REPLACE);
    return answer < 0 ? DOC_OUT_CANCEL : answer;
}

// The buffer that "New..." names: an open one, the existing file, or a new empty buffer. *made is set when
// this question made it.
static FileBuffer *DocOutputNew(FileBuffer *doc, FileBuffer **made) {
    bool results = DocIsSearchResults(doc);
    char path[256];
    DocGetFileName(doc, path);
    const char *filter = results ? "Search Results (*.SearchResults)\0*.SearchResults\0All Files (*.*)\0*.*\0"
                                 : "Output Files (*.out)\0*.out\0All Files (*.*)\0*.*\0";
    if (!AskSaveFile("Output File", filter, results ? ".SearchResults" : PathGetExt(path), path, nullptr))
        return doc;
    if (*made) DocFree(*made, false);
    *made = nullptr;
    FileBuffer *next = DocFindByFileName(path);
    if (next) return next;
    FileOsInfo info;
    next = FileOsPathInfo(path, &info) ? DocLoadFile(path, -1, false) : DocNew(path);
    if (!next) return nullptr;
    if (next->lnMac == 1 && !FileOsPathInfo(path, &info)) DocEmpty(next);
    if (results) next->flags |= DOC_SEARCH_TYPE | DOC_SEARCH_RESULTS;
    *made = next;
    return next;
}

static FileBuffer *DocOutputRefuse(FileBuffer *made) {
    if (made) DocFree(made, false);
    return nullptr;
}

static FileBuffer *DocOutputQuestion(FileBuffer *doc, bool fAllowCurrent, FileBuffer *made) {
    for (;;) {
        if (!doc) return DocOutputRefuse(made);
        if (doc == DocShell().currentDoc() && !fAllowCurrent) {
            AlertError(ercDocCurrentOutput);
            return DocOutputRefuse(made);
        }
        if (DocIsBlank(doc)) return doc;
        int answer = DocIsSearchResults(doc) ? DocSearch().searchResultsOption() - 1 : -1;
        if (answer < DOC_OUT_REPLACE || answer > DOC_OUT_APPEND) answer = DocAskOutput(doc);
        switch (answer) {
        case DOC_OUT_REPLACE:
            DocEmpty(doc);
            DocDisplay().swRepaintDocLines(doc, 0, DOC_LINE_END);
            return doc;
        case DOC_OUT_APPEND: return doc;
        case DOC_OUT_NEW: doc = DocOutputNew(doc, &made); break;
        default: return DocOutputRefuse(made);
        }
    }
}

FileBuffer *DocOpenOutput(const char *name, bool fAllowCurrent) {
    return DocOpenOutputEx(name, fAllowCurrent, false);
}

FileBuffer *DocOpenOutputEx(const char *name, bool fAllowCurrent, bool fNoQuestion) {
    char path[256];
    DocOutputPath(name, path);
    FileBuffer *doc = DocFindByFileName(path);
    if (doc && fNoQuestion && fAllowCurrent) return doc;
    FileBuffer *made = nullptr;
    if (!doc) {
        made = doc = DocNew(path);
        if (!doc) return nullptr;
        DocEmpty(doc);
    }
    return DocOutputQuestion(doc, fAllowCurrent, made);
}

// ---- Read-only state, projects and types ----

bool DocPathWritable(const char *path) {
    FileOsInfo info;
    return !FileOsPathInfo(path, &info) || !(info.attributes & FILEOS_ATTR_READONLY);
}

void DocRefreshReadOnly(FileBuffer *doc) {
    char name[256];
    DocGetFileName(doc, name);
    bool readOnly = doc->fn >= 0 && !DocPathWritable(name);
    int32_t project = DocSymbol().currentProject();
    if (doc->fn >= 0 && !readOnly && doc->iProj >= 0 && doc->iProj == project)
        readOnly = (DocSymbol().projFlags(project) & DOC_PROJ_READONLY) != 0;
    DocSetBit(doc, DOC_READONLY, readOnly);
    doc->tickChecked = TickNow();
}

void DocCloseProjectIfUnused(FileBuffer *doc) {
    int32_t project = doc->iProj;
    if (project < 0 || project == DocSymbol().currentProject()) return;
    for (FileBuffer *d = docHead; d; d = d->pdocNext)
        if (d != doc && d->iProj == project) return;
    DocSymbol().projClose(project);
}

void DocSetTypeFromName(FileBuffer *doc) {
    char name[256];
    DocGetFileName(doc, name);
    int32_t type = (doc->flags & DOC_OUTPUT)        ? DOC_TYPE_OUTPUT
                   : (doc->flags & DOC_SEARCH_TYPE) ? DOC_TYPE_SEARCH_RESULTS
                                                    : DtaFindTypeForFile(name);
    DocSetType(doc, type);
}

// The state kept for the current buffer's type (its windows, the search layer's caches) is refreshed.
void DocSetType(FileBuffer *doc, int32_t type) {
    bool reparse = DocBindType(doc, type);
    DocSetBit(doc, DOC_SEARCH_TYPE, type == DOC_TYPE_SEARCH_RESULTS);
    if (reparse) DocLang().markDocForReparse(doc);
    if (doc != DocShell().currentDoc()) return;
    DocDisplay().swRefreshDocType(doc);
    DocSearch().searchCachesReset();
}
