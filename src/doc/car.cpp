// car: text ranges (prefix Car) and their split into a partial first line, whole lines and a partial last
// line (RangeSplitLines), which the range delete of the edit protocol works from; text positions (TextPos).
#include "doc/car.h"

#include "base/utilil.h"
#include "doc/docfetch.h"

void TextPosNextLine(TextPos *pos, int32_t n) {
    pos->line += n;
    pos->column = 0;
    pos->reserved = 0;
}

void CarSet(Car *range, int32_t firstLine, int32_t firstColumn, int32_t lastLine, int32_t lastColumn) {
    *range = Car{firstLine, lastLine, firstColumn, lastColumn,
                 !(firstLine == lastLine && firstColumn == lastColumn)};
}

void CarClear(Car *range) {
    *range = Car{};
}

void CarNormalize(FileBuffer *doc, Car *range) {
    if (!range->nonEmpty) return;
    if (range->lastColumn == 0 && range->firstLine < range->lastLine) {
        range->lastLine--;
        range->lastColumn = DOC_COLUMN_END;
    }
    if (range->firstLine < range->lastLine && range->firstColumn > GetLineLength(doc, range->firstLine)) {
        range->firstLine++;
        range->firstColumn = 0;
    }
    CarSet(range, range->firstLine, range->firstColumn, range->lastLine, range->lastColumn);
}

// The furthest column of a line: with its line end for a non-empty range, else its text.
static int32_t CarColumnLimit(FileBuffer *doc, int32_t line, bool nonEmpty) {
    if (!nonEmpty) return GetLineLength(doc, line);
    uint32_t stored = DocStoredLength(doc, line);
    return stored > DOC_COLUMN_END ? (int32_t)DOC_COLUMN_END : (int32_t)stored;
}

void CarClampToDoc(FileBuffer *doc, Car *range) {
    int32_t last = DocLastLine(doc);
    Car r = *range;
    if (r.firstLine > last) {
        CarSet(range, last, 0, last, 0);
        r = *range;
    } else if (r.lastLine > last) {
        r.lastLine = last;
    }
    r.firstLine = ClampValue(r.firstLine, 0, last);
    r.lastLine = ClampValue(r.lastLine, 0, last);
    if (doc->lnMac > 0) {
        bool nonEmpty = r.nonEmpty != 0;
        r.firstColumn = ClampValue(r.firstColumn, 0, CarColumnLimit(doc, r.firstLine, nonEmpty));
        r.lastColumn = ClampValue(r.lastColumn, 0, CarColumnLimit(doc, r.lastLine, nonEmpty));
    } else {
        r.firstColumn = r.lastColumn = 0;
    }
    CarSet(range, r.firstLine, r.firstColumn, r.lastLine, r.lastColumn);
}

void CarAdjustForLines(Car *range, FileBuffer *doc, int32_t line, int32_t count) {
    if (line >= doc->lnMac) line = Max(doc->lnMac - 1, 0);
    int64_t end = (int64_t)line + (count < 0 ? -(int64_t)count : count);
    bool firstIn = range->firstLine >= line && range->firstLine <= end;
    bool lastIn = range->lastLine >= line && range->lastLine <= end;
    if (firstIn || lastIn) {
        CarSet(range, line, 0, line, 0);
        return;
    }
    if (range->firstLine >= line) range->firstLine += count;
    if (range->lastLine >= line) range->lastLine += count;
}

int CarIntersectLines(FileBuffer *doc, const Car *range, int32_t from, int32_t to, Car *out) {
    if (range->lastLine < from || range->firstLine > to) {
        CarClear(out);
        return 0;
    }
    Car r = *range;
    if (r.firstLine < from) {
        r.firstLine = from;
        r.firstColumn = 0;
    }
    if (r.lastLine > to) {
        r.lastLine = to;
        r.lastColumn = GetLineLength(doc, to) + 1;
    }
    CarSet(out, r.firstLine, r.firstColumn, r.lastLine, r.lastColumn);
    CarNormalize(doc, out);
    return out->nonEmpty;
}

bool CarReachesDocEnd(FileBuffer *doc, const Car *range) {
    return range->lastLine == DocLastLine(doc) && range->lastColumn >= GetLineLength(doc, range->lastLine);
}

bool CarOverlapsLines(const Car *range, int32_t from, int32_t to) {
    return !(range->lastLine < from || range->firstLine > to);
}

void RangeSplitLines(FileBuffer *doc, const Car *range, RangeParts *out) {
    *out = RangeParts{-1, 0, 0, -1, 0, -1, 0};
    if (!range->nonEmpty) return;
    Car r = *range;
    CarNormalize(doc, &r);
    int32_t first = r.firstLine, last = r.lastLine;
    if (r.firstColumn > 0) {
        *out = RangeParts{first, r.firstColumn, r.lastColumn, -1, 0, -1, 0};
        first++;
    }
    if (first <= last && GetLineLength(doc, last) >= r.lastColumn) {
        out->lastLine = last;
        out->lastTo = r.lastColumn;
        last--;
        if (out->firstLine >= 0) out->firstTo = DOC_COLUMN_END;
    }
    if (first <= last) {
        out->wholeFirst = first;
        out->wholeCount = last - first + 1;
        if (out->firstLine >= 0) out->firstTo = DOC_COLUMN_END;
    }
}
