// car: text ranges (prefix Car) and their split into a partial first line, whole lines and a partial last
// line (RangeSplitLines), which the range delete of the edit protocol works from.
#include "doc/car.h"

#include "doc/docfetch.h"

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
