// sel: selections (prefix Sel). A stream selection's text is the range of the edit protocol; a column
// selection's columns are asked of its window line by line (the display layer's SwColumnFromX).
#include "doc/sel.h"

#include "base/heap.h"
#include "base/utilil.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/docsel.h"

// ---- Making ----

Sel *SelAlloc(FileBuffer *doc) {
    Sel *sel = (Sel *)MemAlloc(sizeof(Sel));
    if (sel) sel->doc = doc;
    return sel;
}

Sel *SelNew(FileBuffer *doc, int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn) {
    Sel *sel = SelAlloc(doc);
    if (sel) SelSet(sel, firstLine, firstColumn, lastLine, lastColumn);
    return sel;
}

Sel *SelNewAt(FileBuffer *doc, int32_t line, int32_t column) {
    return SelNew(doc, line, column, line, column);
}

Sel *SelNewFromRange(FileBuffer *doc, const Car *range) {
    Sel *sel = SelAlloc(doc);
    if (sel) SelSetRange(sel, range);
    return sel;
}

Sel *SelNewWholeDoc(FileBuffer *doc) {
    if (doc->lnMac <= 0) return SelNew(doc, 0, 0, 0, 0);
    int32_t last = doc->lnMac - 1;
    int32_t end = GetLineLength(doc, last);
    if (doc->flags & DOC_LAST_LINE_ENDED) {
        uint32_t stored = DocStoredLength(doc, last);
        end = stored > DOC_COLUMN_END ? (int32_t)DOC_COLUMN_END : (int32_t)stored;
    }
    return SelNew(doc, 0, 0, last, end);
}

Sel *SelDuplicate(const Sel *sel) {
    return (Sel *)MemDup(sel, sizeof *sel);
}

// ---- Setting ----

void SelCopy(const Sel *from, Sel *to) {
    *to = *from;
}

void SelCopyRange(const Sel *from, Sel *to) {
    to->range = from->range;
}

void SelSet(Sel *sel, int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn) {
    sel->flags &= ~SEL_COLUMN;
    CarSet(&sel->range, firstLine, firstColumn, lastLine, lastColumn);
}

void SelSetRange(Sel *sel, const Car *range) {
    SelSet(sel, range->firstLine, range->firstColumn, range->lastLine, range->lastColumn);
}

void SelSetAt(Sel *sel, int32_t line, int32_t column) {
    SelSet(sel, line, column, line, column);
}

void SelCollapseToStart(Sel *sel) {
    SelSetAt(sel, sel->range.firstLine, sel->range.firstColumn);
}

void SelSetColumn(Sel *sel, int32_t firstLine, int32_t leftX, int32_t lastLine, int32_t rightX,
                  void *window) {
    sel->flags |= SEL_COLUMN;
    sel->window = window;
    sel->leftX = leftX;
    sel->rightX = rightX;
    CarSet(&sel->range, firstLine, 0, lastLine, DOC_COLUMN_END);
}

void SelClear(Sel *sel) {
    sel->flags &= ~SEL_COLUMN;
    CarClear(&sel->range);
}

void SelMoveTo(Sel *sel, int32_t line, int32_t column, bool toLineEnd) {
    Car r = sel->range;
    int32_t dl = line - r.firstLine, dc = column - r.firstColumn;
    bool oneLine = r.firstLine == r.lastLine;
    r.firstLine += dl;
    r.lastLine += dl;
    r.firstColumn += dc;
    if (oneLine) r.lastColumn += dc;
    if (toLineEnd) r.lastColumn = DOC_COLUMN_END;
    CarSet(&sel->range, r.firstLine, r.firstColumn, r.lastLine, r.lastColumn);
}

void SelNormalize(Sel *sel) {
    if (!(sel->flags & SEL_COLUMN)) CarNormalize(sel->doc, &sel->range);
}

void SelClampToDoc(Sel *sel) {
    CarClampToDoc(sel->doc, &sel->range);
    if (!sel->range.nonEmpty) sel->flags &= ~SEL_COLUMN;
}

void SelAdjustForLines(Sel *sel, int32_t line, int32_t count) {
    CarAdjustForLines(&sel->range, sel->doc, line, count);
    if (!sel->range.nonEmpty) sel->flags &= ~SEL_COLUMN;
}

void SelShiftColumnX(Sel *sel, int32_t dx) {
    sel->leftX += dx;
    sel->rightX += dx;
}

// ---- Reading ----

void SelGetRange(Sel *sel, Car *out) {
    if (sel->flags & SEL_COLUMN)
        CarSet(&sel->range, sel->range.firstLine, 0, sel->range.lastLine, DOC_COLUMN_END);
    *out = sel->range;
}

int32_t SelFirstLine(const Sel *sel) {
    return sel->range.firstLine;
}

int32_t SelLastLine(const Sel *sel) {
    return sel->range.lastLine;
}

uint64_t SelStartPos(const Sel *sel) {
    return (uint64_t)(uint32_t)sel->range.firstLine | (uint64_t)(uint32_t)sel->range.firstColumn << 32;
}

void *SelWindow(const Sel *sel) {
    return (sel->flags & SEL_COLUMN) ? sel->window : DocDisplay().swFindByDoc(sel->doc);
}

Sel *SelClipToLines(const Sel *sel, int32_t from, int32_t to) {
    Car part;
    if (!CarIntersectLines(sel->doc, &sel->range, from, to, &part)) return nullptr;
    Sel *clip = SelDuplicate(sel);
    if (clip) clip->range = part;
    return clip;
}

bool SelIsEmpty(const Sel *sel) {
    return !sel->range.nonEmpty;
}

// Whole lines: a column selection, several lines, or one line from its start to at least its text's end.
static bool SelWholeLines(const Sel *sel) {
    const Car &r = sel->range;
    if (!r.nonEmpty) return false;
    if ((sel->flags & SEL_COLUMN) || r.firstLine != r.lastLine) return true;
    return r.firstColumn == 0 && r.lastColumn >= GetLineLength(sel->doc, r.lastLine);
}

bool SelCoversWholeLines(const Sel *sel) {
    return SelWholeLines(sel);
}

bool SelSpansWholeLines(const Sel *sel) {
    return SelWholeLines(sel);
}

bool SelEndsAtLineEnd(const Sel *sel) {
    return sel->range.nonEmpty && !(sel->flags & SEL_COLUMN) &&
           sel->range.lastColumn >= GetLineLength(sel->doc, sel->range.lastLine);
}

bool SelEndsAtDocLineEnd(const Sel *sel) {
    if ((sel->flags & SEL_COLUMN) || sel->range.firstColumn > 0) return false;
    if (sel->range.lastColumn < GetLineLength(sel->doc, sel->range.lastLine)) return false;
    return (sel->doc->flags & DOC_LAST_LINE_ENDED) != 0;
}

bool PosInRange(int32_t line, int32_t column, int32_t firstLine, int32_t firstColumn, int32_t lastLine,
                int32_t lastColumn) {
    int64_t key = TextPosKey(line, column);
    return key >= TextPosKey(firstLine, firstColumn) && key < TextPosKey(lastLine, lastColumn);
}

bool SelContainsPos(const Sel *sel, int32_t line, int32_t column) {
    const Car &r = sel->range;
    return PosInRange(line, column, r.firstLine, r.firstColumn, r.lastLine, r.lastColumn);
}

void SelLineSpan(const Sel *sel, int32_t *first, int32_t *last) {
    Sel lines = *sel;
    SelNormalize(&lines);
    const Car &r = lines.range;
    *first = r.firstLine;
    *last = r.nonEmpty && r.lastLine > r.firstLine && r.lastColumn == 0 ? r.lastLine - 1 : r.lastLine;
    *last = Min(*last, DocLastLine(sel->doc));
}

// ---- Stored bytes ----

// The offset of a position, a column past the text counting up to the line's stored end.
static uint64_t SelOffsetOf(const FileBuffer *doc, int32_t line, int32_t column) {
    if (line >= doc->lnMac) return DocByteSize(doc);
    uint32_t stored = line >= 0 ? DocStoredLength(doc, line) : 0;
    uint32_t within = column <= 0 ? 0 : (uint32_t)column < stored ? (uint32_t)column : stored;
    return DocOffsetOfLine(doc, line) + within;
}

void SelFromOffset(Sel *out, FileBuffer *doc, int32_t line, int32_t column, int64_t byteCount) {
    int32_t lastLine, lastColumn;
    uint64_t start = SelOffsetOf(doc, line, column);
    DocPosOfOffset(doc, start + (uint64_t)(byteCount > 0 ? byteCount : 0), &lastLine, &lastColumn);
    out->doc = doc;
    SelSet(out, line, column, lastLine, lastColumn);
}

int64_t SelByteLength(const Sel *sel) {
    const Car &r = sel->range;
    return (int64_t)(SelOffsetOf(sel->doc, r.lastLine, r.lastColumn) -
                     SelOffsetOf(sel->doc, r.firstLine, r.firstColumn));
}

// ---- Visiting lines ----

static int SelVisit(Sel *sel, void *arg, SelLineProc proc, int32_t line, int32_t from, int32_t to) {
    static LineRecord record;
    GetLine(sel->doc, line, &record);
    return proc(sel, arg, line, &record, from, to == -1 ? record.length : to);
}

static int SelForEachColumnLine(Sel *sel, void *arg, SelLineProc proc) {
    int32_t last = Min(sel->range.lastLine, DocLastLine(sel->doc));
    for (int32_t line = sel->range.firstLine; line <= last; line++) {
        int32_t from = DocDisplay().swColumnFromX(sel->window, line, sel->leftX);
        int32_t to = DocDisplay().swColumnFromX(sel->window, line, sel->rightX);
        if (!SelVisit(sel, arg, proc, line, from, to)) return 0;
    }
    return 1;
}

int SelForEachLine(Sel *sel, void *arg, SelLineProc proc) {
    if (sel->flags & SEL_COLUMN) return SelForEachColumnLine(sel, arg, proc);
    RangeParts p;
    RangeSplitLines(sel->doc, &sel->range, &p);
    if (p.firstLine >= 0 && !SelVisit(sel, arg, proc, p.firstLine, p.firstFrom, p.firstTo)) return 0;
    for (int32_t i = 0; p.wholeFirst >= 0 && i < p.wholeCount; i++)
        if (!SelVisit(sel, arg, proc, p.wholeFirst + i, 0, -1)) return 0;
    return p.lastLine < 0 || SelVisit(sel, arg, proc, p.lastLine, 0, p.lastTo);
}

// ---- Editing ----

// Each line loses its characters between the two edges; lines with nothing there are left alone.
static int SelDeleteColumns(Sel *sel) {
    static LineRecord record;
    FileBuffer *doc = sel->doc;
    if (doc->lnMac == 0) {
        SelClear(sel);
        return 1;
    }
    int32_t first = sel->range.firstLine, last = Min(sel->range.lastLine, DocLastLine(doc));
    for (int32_t line = first; line <= last; line++) {
        GetLine(doc, line, &record);
        int32_t from = DocDisplay().swColumnFromX(sel->window, line, sel->leftX);
        int32_t to = DocDisplay().swColumnFromX(sel->window, line, sel->rightX);
        from = ClampValue(from, 0, record.length);
        to = ClampValue(to, from, record.length);
        if (to == from) continue;
        LineDeleteChars(&record, from, to - from);
        if (!ReplaceLine(doc, line, &record)) return 0;
    }
    SelSetAt(sel, first, DocDisplay().swColumnFromX(sel->window, first, sel->leftX));
    return 1;
}

int SelDeleteText(Sel *sel) {
    if (!BeginEdit(sel->doc)) return 0;
    int ok;
    if (sel->flags & SEL_COLUMN) {
        ok = SelDeleteColumns(sel);
    } else {
        Car range;
        SelGetRange(sel, &range);
        ok = DocDeleteRange(sel->doc, &range);
        if (ok) SelSetRange(sel, &range);
    }
    if (!EndEdit(sel->doc) || !ok) return 0;
    DocDisplay().pushSelectionHistory();
    return 1;
}

int SelCopyTextTo(Sel *source, Sel *target) {
    FileBuffer *doc = target->doc;
    if (!BeginEdit(doc)) return 0;
    int ok = SelDeleteText(target);
    if (ok) {
        int32_t line = target->range.firstLine, column = target->range.firstColumn;
        bool block = (source->flags & SEL_COLUMN) || (source->doc->flags & DOC_COLUMN_BLOCK);
        ok = block ? PasteColumnAt(doc, line, column, source, DocDisplay().swFindByDoc(doc))
                   : PasteStreamAt(doc, line, column, source);
    }
    return EndEdit(doc) && ok;
}
