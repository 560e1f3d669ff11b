// docsel: selection-level buffer operations (prefix Paste), least form: stream and column pastes, and
// inserting a line of text through the "Scratch" buffer.
#include "doc/docsel.h"

#include "base/heap.h"
#include "base/utilil.h"
#include "doc/cmdedit.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "ui/dlgalert.h"

const char ercPasteSameBuffer[] = "Can't paste to the same file buffer.";

enum { PASTE_SELECT_START = 0, PASTE_SELECT_END = 1, PASTE_SELECT_TEXT = 2 };

int PasteStreamAt(FileBuffer *target, int32_t line, int32_t column, Sel *source) {
    Car from, to;
    SelGetRange(source, &from);
    CarSet(&to, line, column, line, column);
    return DocCopyRange(source->doc, &from, target, &to);
}

// The columns [from, to) of source line j that a column paste takes.
static void PasteSourceColumns(Sel *source, const RangeParts &p, int32_t j, int32_t *from, int32_t *to) {
    if (source->flags & SEL_COLUMN) {
        *from = DocDisplay().swColumnFromX(source->window, j, source->leftX);
        *to = DocDisplay().swColumnFromX(source->window, j, source->rightX);
    } else if (j == p.firstLine) {
        *from = p.firstFrom;
        *to = p.firstTo;
    } else if (j == p.lastLine) {
        *from = 0;
        *to = p.lastTo;
    } else if (p.wholeFirst >= 0 && j >= p.wholeFirst && j < p.wholeFirst + p.wholeCount) {
        *from = 0;
        *to = DOC_COLUMN_END;
    } else {
        *from = *to = 0;
    }
}

// One piece into line i of the target at a column (the line padded with blanks to reach it).
static int PastePieceAt(FileBuffer *target, int32_t i, int32_t column, const char *piece) {
    static LineRecord record;
    if (i < target->lnMac)
        GetLine(target, i, &record);
    else
        LineClear(&record);
    column = Max(column, 0);
    if (column > record.length) LineInsertFill(&record, record.length, ' ', column - record.length);
    if (column > record.length || (*piece && !LineInsertSz(&record, column, piece))) {
        EditErrorSet(EDIT_ERR_NOT_ALLOWED, target);
        return 0;
    }
    return i < target->lnMac ? ReplaceLine(target, i, &record) : InsertLine(target, -1, &record);
}

int PasteColumnAt(FileBuffer *target, int32_t line, int32_t column, Sel *source, void *window) {
    static char piece[LINE_TEXT_MAX + 1];
    int32_t anchor = window ? DocDisplay().swXFromColumn(window, line, column) : 0;
    if (!BeginEdit(target)) return 0;
    RangeParts parts;
    RangeSplitLines(source->doc, &source->range, &parts);
    int32_t last = Min(source->range.lastLine, DocLastLine(source->doc));
    int ok = 1;
    for (int32_t j = source->range.firstLine, i = line; ok && j <= last; j++, i++) {
        int32_t from, to;
        PasteSourceColumns(source, parts, j, &from, &to);
        GetLineSubstring(source->doc, j, from, to, piece);
        int32_t at = window ? DocDisplay().swColumnFromX(window, i, anchor) : column;
        ok = PastePieceAt(target, i, at, piece);
    }
    return EndEdit(target) && ok;
}

// ---- Inserting a line of text ----

static int PasteFillScratch(FileBuffer *scratch, const char *text) {
    if (!BeginEdit(scratch)) return 0;
    int ok = DocEmpty(scratch) == 0 && InsertLineSz(scratch, 0, text);
    scratch->flags &= ~DOC_LAST_LINE_ENDED;
    return EndEdit(scratch) && ok;
}

// A pending new line on the target: text that brings its own line ends goes to the start of the line;
// anything else goes on a new indented line made there.
static int PastePendingLine(Sel *target, const Sel *source) {
    if (!(target->flags & SEL_NEW_LINE)) return 1;
    target->flags &= ~SEL_NEW_LINE;
    int32_t line = target->range.firstLine;
    if ((source->doc->flags & DOC_LAST_LINE_ENDED) || source->range.lastLine >= 2) {
        SelSetAt(target, line, 0);
        return 1;
    }
    if (!InsertIndentedLine(target->doc, line, line)) return 0;
    static LineRecord record;
    GetLine(target->doc, line, &record);
    SelSetAt(target, line, record.length);
    return 1;
}

// The pasted text as the preference chooses it to be left.
static void PasteOutSelection(Sel *target, int32_t line, int32_t column, int64_t bytes) {
    Sel pasted = *target;
    SelFromOffset(&pasted, target->doc, line, column, bytes);
    if (DocOpt().afterPasteSelect == PASTE_SELECT_START)
        SelSetAt(&pasted, line, column);
    else if (DocOpt().afterPasteSelect != PASTE_SELECT_TEXT)
        SelSetAt(&pasted, pasted.range.lastLine, pasted.range.lastColumn);
    SelCopy(&pasted, target);
}

// The whole of the source buffer over the target selection, without intelligent paste.
static int PastePlain(FileBuffer *source, Sel *target) {
    FileBuffer *doc = target->doc;
    if (source == doc) {
        AlertError(ercPasteSameBuffer);
        return 0;
    }
    if (source->lnMac == 0 || !BeginEdit(doc)) return 0;
    Sel *whole = SelNewWholeDoc(source);
    int ok = whole && PastePendingLine(target, whole);
    if (ok) {
        SelNormalize(target);
        int32_t line = target->range.firstLine, column = target->range.firstColumn;
        if (target->flags & SEL_COLUMN)
            column = DocDisplay().swColumnFromX(target->window, line, target->leftX);
        ok = SelCopyTextTo(whole, target);
        if (ok) PasteOutSelection(target, line, column, SelByteLength(whole));
    }
    MemFree(whole);
    return EndEdit(doc) && ok;
}

int InsertTextAtSel(Sel *sel, const char *text) {
    FileBuffer *scratch = DocScratchDoc();
    if (!scratch || !PasteFillScratch(scratch, text) || !PastePlain(scratch, sel)) return 0;
    void *window = DocDisplay().swFindByDoc(sel->doc);
    if (window) DocDisplay().setSwSelectionFromSel(window, sel);
    return 1;
}
