// doc: file buffers (prefix Doc): the record of one open document, the one global list of them, the document
// id counter, creation and freeing, lookups and titles, the hidden "Clipboard" and "Scratch" buffers, output
// and search-results buffers, opening a file into a buffer, and the read-only refresh. A buffer's lines live
// in the line store (doc/docfetch.h); loading and saving its text are doc/docfile.h; every change goes
// through the edit protocol (doc/docedit.h).
// Success convention: 1 (or a pointer, or a number) for success, 0, null or -1 for failure; failures that the
// user must see set the current error or the pending edit error.
#pragma once

#include "base/file.h"
#include "base/heap.h"
#include "base/plex.h"
#include "base/plexvar.h"
#include "base/stl.h"

#include <cstdint>

class Lang;
struct LineLexCache;
struct MarkSet;
struct TagList;

// Flag bits of FileBuffer::flags.
enum : uint32_t {
    DOC_MODIFIED = 1u << 0,          // changed since load or save
    DOC_LAST_LINE_ENDED = 1u << 1,   // the last line ends with a line end
    DOC_NO_PROJECT_ASK = 1u << 2,    // never offered for a project, no " *" in titles
    DOC_BINARY = 1u << 3,            // control characters other than tab, or bytes of 128 and above
    DOC_HIDDEN = 1u << 4,            // internal hidden buffer
    DOC_HIDDEN_SAVED = 1u << 5,      // keeps bit 4 while all buffers are closed
    DOC_CLIP = 1u << 6,              // clip buffer
    DOC_MACRO_LANG = 1u << 7,        // the language is the macro language
    DOC_NO_WINDOW = 1u << 9,         // kept without a window
    DOC_OUTPUT = 1u << 11,           // custom-command output
    DOC_SEARCH_TYPE = 1u << 12,      // document type 2 (search results)
    DOC_FOREIGN_RUNS = 1u << 13,     // runs refer to the backing file of another buffer
    DOC_RUNS_COPIED = 1u << 14,      // runs of this buffer were copied into another buffer
    DOC_TEMP_COPY = 1u << 15,        // the backing file is a temporary copy of the named file
    DOC_LONG_LINE = 1u << 16,        // the loader met a line of 65,535 bytes or more
    DOC_READONLY = 1u << 17,         //
    DOC_TOKEN_MACRO_LANG = 1u << 21, // the language is the token-macro language
    DOC_CLOSE_DEFERRED = 1u << 22,   // marked for deferred closing
    DOC_CTRL_Z = 1u << 23,           // the file ended with ^Z; one is written back
    DOC_REMAP_RUNS = 1u << 24,       // runs are renumbered when file numbers change (recovery)
    DOC_SEARCH_RESULTS = 1u << 25,   // the results of a search
    DOC_PROJECT_BIT27 = 1u << 27,    // copy of the project record's flag bit 27
    DOC_SYSTEM = 1u << 28,           // system buffer: not closed by Close, skipped by buffer-wide walks
    DOC_PROJ_REPARSE = 1u << 29,     // project parse-state bit
    DOC_UNAVAILABLE_RUNS = 1u << 30, // a run refers to a file marked unavailable
};

// Document types chosen without a name.
enum { DOC_TYPE_DEFAULT = 0, DOC_TYPE_OUTPUT = 1, DOC_TYPE_SEARCH_RESULTS = 2 };

// Line-end styles.
enum { EOL_NONE = 0, EOL_CRLF = 1, EOL_LF = 2, EOL_CR = 3 };

// One open document, fields in the stored order of the design (pointers grow on 64-bit). In memory only.
struct FileBuffer {
    FileBuffer *pdocNext;    // next buffer of the global list
    uint32_t reserved1;      //
    int32_t lnMac;           // line count; a new buffer has 1 (the empty last line), an emptied one 0
    int32_t fn;              // file number of the backing file, -1 when none of its own
    Handle *hpstrName;       // full path as a length-prefixed string
    uint32_t eol;            // EOL_*
    uint32_t flags;          // DOC_*
    Handle *hrgl;            // line-run table (doc/rgl.h)
    Handle *hrgcb;           // 16-bit stored line lengths, one per line
    int32_t cEditNest;       // open edits
    int32_t iProj;           // project slot, -1 none
    int32_t ifileProj;       // index of the file in that project, -1 none
    uint32_t reserved2;      //
    TagList *ptgl;           // the buffer's tag list, owned
    uint32_t wChangeAux;     // reset to 0 by every change
    int32_t ilang;           // language index
    Lang *plang;             // language object of ilang; never owned
    LineLexCache *plexcache; // line lexer cache, owned
    int32_t idta;            // document type
    int32_t dtaStamp;        // taken from the document type when applied
    uint32_t reserved3[2];   //
    Handle *hcapture;        // capture record of a custom command writing into the buffer
    Handle *hpstrTitle;      // title that replaces the file name, null when none
    uint32_t reserved4;      //
    MarkSet *rgmrk[3];       // mark sets 1 to 3
    int32_t fnUndo;          // undo temporary file, -1 none
    PlexVar *hplvUndo;       // undo steps
    int32_t iudrCur;         // undo steps below the current state
    Handle *hszClipSource;   // clip buffers: where the clip came from
    Handle *hszClipDoc;      // clip buffers: the document it came from
    Handle *haux;            // freed with the buffer
    int32_t cUndoSuspend;    // undo recording suspended while above 0
    FileInfo fileInfo;       // the backing file at load or at the last save
    FileInfo fileInfo2;      // zero at creation
    int32_t cSave;           // save generation: 0 at load, +1 at each save
    Plex *pplex;             // freed with the buffer
    uint32_t docId;          // from the "DocID" counter
    Stl *pstl;               // freed with the buffer
    int32_t cChange;         // 1 at creation, +1 at every change notice
    int32_t cSaveConfirmed;  // save generation the user agreed to undo past; -1 at creation
    uint32_t reserved5;      //
    void *pextra;            // null at creation
    uint32_t wExtra;         // 0 at creation
    uint32_t tickUsed;       // last use: creation, and a file opened into it
    int32_t cUse;            // use count of other subsystems; not 0: never closed by the idle close
    int32_t reserved6;       //
    uint32_t tickChecked;    // last read-only refresh
};

extern const char
    ercDocBinaryFile[]; // "%s is a binary file: it is not opened (\"BlockBinaryFiles\" is set)."
extern const char ercDocScratchFile[];   // "Cannot create Scratch File; possibly not enough space on disk..."
extern const char ercDocCurrentOutput[]; // "Cannot use the current file."

// Document ids: "DocID" in the program's per-user settings holds the last id handed out.
int DocIdInit();
uint32_t DocIdNext();

// Creation and freeing. With fTempFile the buffer starts on a new temporary file, else on the scratch file.
FileBuffer *DocCreate(const char *name, bool fTempFile);
FileBuffer *DocNew(const char *name);
// Frees everything the buffer owns; with fDelete (or a temporary-copy backing) its backing file is deleted.
void DocFree(FileBuffer *doc, bool fDelete);
// A new buffer with the lines of the model (runs shared, not text) and its bits 1, 6, 11 and 23.
FileBuffer *DocNewFrom(FileBuffer *model, const char *name, bool fTempFile);

// The hidden system buffers "Clipboard" and "Scratch" (start-up; 1 when both exist).
int DocCreateSystemDocs();
FileBuffer *DocClipboardDoc();
FileBuffer *DocScratchDoc();

// The list. DocIterNext: null gives the first buffer, else its successor; nonzero while one was produced.
int DocIterNext(FileBuffer **doc);
FileBuffer *DocListHead();
int32_t DocLiveCount();
void DocMoveToFront(FileBuffer *doc);
FileBuffer *DocFirstOther(FileBuffer *doc);

// Names and lookups. Names are compared ignoring case; a lookup takes back a deferred close.
void DocGetFileName(const FileBuffer *doc, char *out);          // 256 bytes
int DocGetFileNameP(const FileBuffer *doc, unsigned char *out); // its length + 1
FileBuffer *DocFindByFileName(const char *name);
FileBuffer *DocFindByFileNameP(const unsigned char *name);
FileBuffer *DocFindById(uint32_t id);
FileBuffer *DocFindByTitle(const char *title);
int DocSetName(FileBuffer *doc, const char *name); // 0 when out of memory (the old name stays)

// Titles (out buffers of 256 bytes).
void DocSetTitle(FileBuffer *doc, const char *title);
void DocSetTitleP(FileBuffer *doc, const unsigned char *title);
int DocGetTitleOverride(const FileBuffer *doc, char *out);
void DocGetTitle(FileBuffer *doc, char *out);
void DocGetCaption(FileBuffer *doc, char *out);
void DocSetClipSource(FileBuffer *doc, const char *source, const char *docName);
int DocSourceLabel(const FileBuffer *doc, char *out);

// Flags and queries. The setters return the buffer.
FileBuffer *DocSetSystem(FileBuffer *doc, bool on);
FileBuffer *DocSetFlagBit4(FileBuffer *doc, bool on);
FileBuffer *DocSetFlagBit9(FileBuffer *doc, bool on);
FileBuffer *DocSetLastLineEnded(FileBuffer *doc, bool on);
FileBuffer *DocSetNoProjectAsk(FileBuffer *doc, bool on);
bool DocIsModified(const FileBuffer *doc);
bool DocIsSearchResults(const FileBuffer *doc);
bool DocIsCaptureRunning(const FileBuffer *doc);
bool AnyCaptureRunning();
bool DocIsBlank(FileBuffer *doc);
bool DocIsClipboardOrSystem(const FileBuffer *doc);
bool DocTypeOption0Applies(const FileBuffer *doc);
int DocGetProject(const FileBuffer *doc); // the project slot, -1 when none
int32_t BeginBulkLoad();
int32_t EndBulkLoad();
bool DocInBulkLoad();

// Opening a file into a new buffer; from and to name a byte range (-1: the whole file).
FileBuffer *DocLoadFile(const char *path, int32_t iProj, bool fSync);
FileBuffer *DocLoadFileEx(const char *path, int32_t iProj, bool fSync, bool fLoadSymbols, bool fTempCopy,
                          int32_t from, int32_t to);

// Output buffers: a name with a folder is made absolute, a bare name joins the current project's folder.
FileBuffer *DocOpenOutput(const char *name, bool fAllowCurrent);
FileBuffer *DocOpenOutputEx(const char *name, bool fAllowCurrent, bool fNoQuestion);

void DocRefreshReadOnly(FileBuffer *doc);
void DocCloseProjectIfUnused(FileBuffer *doc);
void DocSetTypeFromName(FileBuffer *doc);
void DocSetType(FileBuffer *doc, int32_t type);

// Closes a backing file a buffer held, deleting it when asked; what the document core noted about the file
// (long-line lengths, line-end style) goes with its last reference.
void DocCloseBacking(int file, bool fDelete);

// Errors the user asked for again are told again: the reporter's memory of the last one is cleared first.
void DocReportError(const char *format, ...);
void DocReportCurrentError();
bool DocPathWritable(const char *path);
// Test seam: "BlockBinaryFiles" is read again at the next open.
void DocForgetBlockBinary();
