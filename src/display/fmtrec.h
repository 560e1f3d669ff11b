// fmtrec: the formatter's private record (the state between a begin and an end), shared by the formatter's
// modules: format (life, setters, cache, the line's driver), fmtscan (tokens into runs) and fmtlay (runs into
// the operation stream). In memory only; copied whole by FormatSaveState, its buffers moving with it.
#pragma once

#include "display/fmthook.h"
#include "display/format.h"
#include "display/textbuf.h"
#include "doc/sel.h"
#include "doc/sln.h"

#include <cstdint>

// A run of the shown text in one style.
struct FmtRun {
    int32_t start; // index into the shown text
    int32_t length;
    int32_t style;
    int32_t level;  // parenthesis nesting, 0..20
    uint32_t flags; // FMT_RUN_*
    int32_t link;   // HTML: the run is a link opened by this many bytes of the side buffer (0: none)
};
enum : uint32_t { FMT_RUN_SELECTED = 0x1 };

enum {
    FMT_LEVEL_MAX = 20,
    FMT_LINKS_MAX = 100, // link targets of one line
    FMT_PATH = 256,
    FMT_EXTENSION = 32,
};

// The appearance a run takes, cached per style (and level and selection) for one formatting.
struct FmtLook {
    bool valid;
    StyleAppearance app;
    int32_t font;  // fmtfont index
    int32_t above; // percent of the text height
    int32_t below;
    int32_t expanded; // percent of the average width
    int32_t caps;     // STYLE_CAPS_*
    bool keepNext;
    int32_t underlineDescent; // the descent an underline needs
};

// What a look depends on besides its style.
struct FmtLookKey {
    uint32_t styleStamp;
    uint32_t view, view2;
    int32_t mode;
    StyleAppearance base;
};

// The key of the one-line cache.
struct FmtCacheKey {
    bool valid;
    FileBuffer *doc;
    int32_t changes; // the buffer's change count
    int32_t line;
    int32_t mode;
    uint32_t view, view2, decor;
    uint32_t styleStamp;
    int32_t target;
    int32_t override;
    bool lineNumbers;
    bool selectionOn;
    Car selection;
    uint32_t selectionFlags;
    int32_t selectionLeft, selectionRight, selectionMode;
    uint32_t windowBack;
    FontDesc font;
    int32_t prefixX1, prefixX2;
    bool fontRecords;
    int32_t startColumn;
    int32_t tabWidth, margin;
    bool rightMargin, visibleTabs, visibleSpaces;
};

struct FmtState {
    int32_t depth;
    FileBuffer *doc;
    int32_t mode;
    void *dc;
    uint32_t windowBack;
    StyleAppearance base;
    uint32_t view, view2, decor;
    bool draft;
    int32_t tabWidth; // characters
    int32_t margin;   // the right-margin guide's column
    bool rightMargin; // the document type shows the guide
    bool visibleTabs;
    bool visibleSpaces;
    int32_t styleOverride;
    int32_t target;
    int32_t targetStyle;
    uint32_t htmlFlags;
    uint64_t linkTypes;
    char htmlFolder[FMT_PATH];
    char htmlExtension[FMT_EXTENSION];
    int32_t startColumn;
    int32_t openSpan;
    bool selectionOn;
    Sel selection;
    int32_t selectionMode;
    char *textOverride; // owned copy
    bool lineNumbers;
    int32_t prefixX1, prefixX2;
    bool fontRecords;
    FmtLocals locals;
    uint64_t typeSets[4]; // FormatInit's symbol-type sets (FMT_SET_*)
    // The line.
    int32_t lang;
    FmtLangSwitches switches;
    bool inRange;
    bool inactive;
    LineRecord record;
    char *scan; // the scanned text: the line, a blank and character 1
    int32_t scanLength;
    int32_t lineLength;
    int32_t scanCapacity;
    char *text; // the shown text and its columns
    int32_t *columns;
    int32_t *advances;
    int32_t length;
    int32_t prefixLength; // the line number's characters in front
    int32_t textCapacity;
    FmtRun *runs;
    int32_t runCount;
    int32_t runCapacity;
    FmtOp *ops;
    int32_t opCount;
    int32_t opCapacity;
    TextBuf html; // the HTML side buffer: the line's anchor, then each link's opening and closing tags
    int32_t anchorLength;
    int32_t links;
    FmtLook *looks;
    int32_t lookCount;
    uint32_t lookStamp;
    FmtLookKey lookKey; // what the looks were made under: they last across formattings while it holds
    int32_t baseFont;   // the base appearance's font index, -1 until known
    FmtLine line;
    FmtCacheKey cache;
    bool lineFailed; // a buffer could not grow: the line keeps what fits
};

// Symbol-type sets of the lookups.
enum { FMT_SET_FUNCTIONS = 0, FMT_SET_FUNCTIONS_VB = 1, FMT_SET_MEMBERS = 2, FMT_SET_QUALIFIERS = 3 };

FmtState &FmtStateOf();

// Growing the working buffers (false when out of memory: the line keeps what fits).
bool FmtReserveText(FmtState *s, int32_t n);
bool FmtReserveRuns(FmtState *s, int32_t n);
bool FmtReserveOps(FmtState *s, int32_t n);

// fmtscan: the line's text into runs (steps 2 to 6 of formatting a line), and the selection marked on them
// (the columns from..to of the shown line, step 7).
void FmtScanLine(FmtState *s, int32_t line);
void FmtScanMarkSelection(FmtState *s, int32_t from, int32_t to);
// fmtlay: the runs laid out into the formatted line (steps 8 and 9).
void FmtLayLine(FmtState *s);
// The look of a run (fmtlay), kept for the formatting.
const FmtLook *FmtLookOf(FmtState *s, int32_t style, int32_t level, bool selected);
void FmtLooksForget(FmtState *s);
