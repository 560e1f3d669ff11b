// docsel: selection-level buffer operations (prefix Paste), least form: stream and column pastes.
#include "doc/docsel.h"

#include "base/utilil.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"

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
