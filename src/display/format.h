// format: the line formatter (prefixes Format, Fmt, and DeclStyleOf, RefStyleOf, FontSizeStep, DocStyleAt).
// It turns one line of a file buffer into a formatted line: the text as shown, the pixel advance of every
// character, and a stream of drawing operations that give each token its style. It serves the screen,
// printing, HTML export and the questions which style or which pixel position a column has. Tokens come from
// the buffer's language and symbol styles from the file's tag list and the symbol database, both through
// fmthook; styles come from the current style sheet, fonts from fmtfont. Every use is bracketed by
// FormatBegin and FormatEnd (begins nest by count). Portable: drawing a formatted line is fmtdraw's.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
//
// The operation stream is pairs of 32-bit words {opcode, value} ending with {0, 0}; when the line has a
// line-drawing stream (FMT_LINE_DRAWING) a second stream of the same form follows the first one's end.
#pragma once

#include "display/style.h"

#include <cstdint>

struct FileBuffer;
struct Sel;

enum FmtMode : int32_t { FMT_SCREEN = 0, FMT_PRINTER = 1 };

enum FmtOpcode : int32_t {
    FMT_OP_END = 0,
    FMT_OP_RUN = 1,       // draw the next `value` characters as one run
    FMT_OP_COLOR = 2,     // text colour, also of the underlines begun from here
    FMT_OP_BACK = 3,      // background colour
    FMT_OP_SHADOW = 4,    // shadow colour, its offset in pixels in the high byte
    FMT_OP_FONT = 5,      // an index into the formatter's font table (fmtfont)
    FMT_OP_BOX = 6,       // end the pending box and start one of this kind (0 none)
    FMT_OP_UNDERLINE = 7, // end the pending underline and start one of this kind (STYLE_UNDERLINE_*)
    FMT_OP_INVERSE = 8,   // end the pending inverse span and start one when 1
    FMT_OP_PEN = 9,       // line drawing: a one-pixel pen of this colour
    FMT_OP_MOVE_TO =
        10, // line drawing: x in the low 16 bits, y in the high 16, signed, from the line's corner
    FMT_OP_LINE_TO = 11,
    FMT_OP_FONT_RECORD = 13, // opcode 5 while the font-record switch is on; ignored when drawing
    FMT_OP_SHIFT = 14,       // shift the next run right by this many pixels
    FMT_OP_STYLE = 15,       // HTML only: a style change (0 closes the span)
    FMT_OP_HTML = 16,        // HTML only: copy this many bytes of the HTML side buffer
};

struct FmtOp {
    int32_t op;
    int32_t value;
};

// Flags of a formatted line.
enum : uint32_t {
    FMT_LINE_IN_RANGE = 0x1,   // the line starts inside a comment or range
    FMT_LINE_PAGE_START = 0x2, // printing: the line starts a page
    FMT_LINE_KEEP_NEXT = 0x4,  // printing: keep the line with the next one (style key 21)
    FMT_LINE_DRAWING = 0x8,    // a line-drawing stream follows the operation stream
    FMT_LINE_SELECTED = 0x10,  // some of the line is selected
};

// Inserted characters (line numbers, arrows, annotations) carry this bit in their column, beside the column
// of the real character they precede.
enum : int32_t { FMT_COLUMN_INSERTED = 0x40000000, FMT_COLUMN_MASK = 0x3FFFFFFF };

// The formatted line: one record kept by the formatter, valid until the next FormatLine or FormatEnd. In
// memory only.
struct FmtLine {
    int32_t mode;
    FileBuffer *doc;
    int32_t line;
    uint32_t lexState; // the lexer state at the line's start
    int32_t width;     // pixels
    int32_t height;    // ascent + descent + space above + space below
    int32_t ascent;
    int32_t descent;
    int32_t spaceAbove;
    int32_t spaceBelow;
    uint32_t startFlags; // the appearance at the start: STYLE_APP_UNDERLINE, STYLE_APP_BOX, STYLE_APP_INVERSE
    uint32_t startFore;
    uint32_t startBack;
    uint32_t startShadow; // low 24 bits the colour, high 8 the offset
    uint32_t flags;       // FMT_LINE_*
    uint32_t windowBack;  // the window background of the formatting
    int32_t prefixX1;     // the pixel extent of the line-number prefix (FormatSetPrefixExtent)
    int32_t prefixX2;
    int32_t targetStyle; // the style at the target column, 0 when none
    FmtOp *ops;          // the operation stream, then (FMT_LINE_DRAWING) the line-drawing stream
    int32_t opCount;     // pairs of the operation stream, its terminator included
    int32_t drawCount;   // pairs of the line-drawing stream, its terminator included; 0 without one
    int32_t *advances;   // one per character of the text
    int32_t *columns;    // the buffer column of each character (FMT_COLUMN_INSERTED for inserted ones)
    char *text;          // the text as shown, NUL-terminated
    int32_t length;
    const char *html; // HTML mode: the side buffer: the line's anchor, then what opcode 16 copies
    int32_t htmlLength;
    int32_t htmlAnchor; // the anchor's bytes at the buffer's start
};

// How a selection is marked (FormatSetSelectionMode).
enum FmtSelectionMode : int32_t {
    FMT_SELECT_COLUMNS = 0, // by the selection's columns (a column selection: by its pixel edges)
    FMT_SELECT_WHOLE = 1,   // every line the selection meets, wholly
};

// HTML mode (FormatSetHtml).
enum : uint32_t {
    FMT_HTML_ON = 0x1,
    FMT_HTML_LINKS = 0x2, // references with a known definition become links
};

// ---- Life
void FormatInit();
void FormatExit();
void FormatBegin(FileBuffer *doc, int32_t mode, void *dc);
void FormatEnd();
void FormatReset();
int32_t FormatDepth(); // open begins
// A copy of the open formatting, the current one emptied for a nested use; FormatRestoreState puts it back
// and frees the copy. With no formatting open the copy is a marker that restores nothing. Null when out of
// memory (nothing changed).
struct FmtSaved;
FmtSaved *FormatSaveState();
void FormatRestoreState(FmtSaved *saved);
void FlushFormatCache();
void FlushFormatCacheOf(FileBuffer *doc);

// ---- Setters (for the open formatting)
void FormatSetBackground(uint32_t color);
void FormatSetTargetColumn(int32_t column); // -1 none
// HTML mode: FMT_HTML_* switches, the links' symbol types (bit n: type n), the export's folder and
// extension for link targets, and the first column formatted.
void FormatSetHtml(uint32_t flags, uint64_t linkTypes, const char *folder, const char *extension,
                   int32_t startColumn);
void FormatSetStyleOverride(int32_t style); // -1 none
void FormatSetLineNumbers(bool on);
// The selection to mark (copied): a stream selection by its columns, a column selection by its pixel edges,
// taken as x positions from the formatted line's left edge. Selected characters take the colours of style
// 41 "Selection".
void FormatSetSelection(bool on, const Sel *sel);
void FormatSetSelectionMode(int32_t mode);    // FMT_SELECT_*
void FormatSetTextOverride(const char *text); // null: the buffer's lines again
void FormatSetPrefixExtent(int32_t x1, int32_t x2);
void FormatSetFontRecords(bool on); // opcode 13 in place of 5
// The HTML span left open by the last line written; WriteHtmlLine reads and stores it.
int32_t FormatOpenSpan();
void FormatSetOpenSpan(int32_t style);
char *FormatLineNumberFormat(FileBuffer *doc, int32_t line, char *out); // the number of a line, one-based

// ---- Formatting
int32_t FormatLine(int32_t line);
const FmtLine *FmtCurrentLine();
int32_t FmtColumnAtX(int32_t x);
int32_t FmtXOfColumn(int32_t column);
int32_t DocStyleAt(FileBuffer *doc, int32_t line, int32_t column);
// Lines formatted since the start (a test and benchmark probe: a cached line does not count).
int32_t FormatWorkCount();

// ---- Symbol styles
int32_t DeclStyleOf(const struct FmtSymbol *symbol);
int32_t RefStyleOf(int32_t type);
// The shadow offset of a font: 0 up to 27 quarter points, else one pixel per 80 (at least 1).
int32_t FontSizeStep(const FontDesc *font);
