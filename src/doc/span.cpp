// span: span lists (prefix Span). The list is a plex of elements of the owner's size, growing by 10.
#include "doc/span.h"

#include "base/heap.h"
#include "base/plex.h"
#include "doc/car.h"
#include "doc/doc.h"

#include <cstring>

enum { SPAN_QUANTUM = 10, SPAN_INSERTED = 1, SPAN_DELETED = 2, SPAN_ALL = 4 };

SpanList *SpanListCreate(FileBuffer *doc, Lang *lang, int32_t elementSize) {
    SpanList *list = (SpanList *)MemAlloc(sizeof(SpanList));
    if (!list) return nullptr;
    if (elementSize < (int32_t)sizeof(Span)) elementSize = (int32_t)sizeof(Span);
    list->spans = PlexCreate(elementSize, 0, 0);
    if (!list->spans) {
        MemFree(list);
        return nullptr;
    }
    PlexSetGrowth(list->spans, SPAN_QUANTUM);
    list->doc = doc;
    list->lang = lang;
    return list;
}

void SpanListFree(SpanList *list) {
    if (!list) return;
    PlexFree(list->spans);
    MemFree(list);
}

void SpanListClear(SpanList *list) {
    PlexClear(list->spans);
}

static void SpanSetKeys(Span *span) {
    span->startKey = TextPosKey(span->startLine, span->startColumn);
    span->endKey = TextPosKey(span->endLine, span->endColumn);
}

int32_t SpanListAdd(SpanList *list, const Span *span) {
    Span *added = (Span *)PlexInsert(list->spans, -1, 1, span);
    if (!added) return -1;
    added->reserved = 0;
    SpanSetKeys(added);
    return PlexCount(list->spans) - 1;
}

int32_t SpanListCount(const SpanList *list) {
    return PlexCount(list->spans);
}

Span *SpanListAt(const SpanList *list, int32_t i) {
    return (Span *)PlexElem(list->spans, i);
}

Span *SpanListFind(const SpanList *list, int32_t line, int32_t column) {
    if (line == 0 && column == 0) return nullptr;
    int64_t key = TextPosKey(line, column);
    for (int32_t i = 0; i < SpanListCount(list); i++) {
        Span *span = SpanListAt(list, i);
        if (span->startKey <= key && key < span->endKey) return span;
    }
    return nullptr;
}

static void SpanShift(SpanList *list, int32_t first, int32_t delta) {
    for (int32_t i = 0; i < SpanListCount(list); i++) {
        Span *span = SpanListAt(list, i);
        if (span->startLine >= first) span->startLine += delta;
        if (span->endLine >= first) span->endLine += delta;
        SpanSetKeys(span);
    }
}

void SpanListOnChange(SpanList *list, int kind, int32_t first, int32_t last) {
    if (!list || SpanListCount(list) == 0) return;
    int32_t count = last - first + 1;
    if (kind == SPAN_INSERTED) {
        SpanShift(list, first, count);
    } else if (kind == SPAN_DELETED) {
        bool everyLine = first == 0 && list->doc && (int64_t)last + 1 >= list->doc->lnMac;
        if (everyLine)
            SpanListClear(list);
        else
            SpanShift(list, first, -count);
    } else if (kind == SPAN_ALL) {
        SpanListClear(list);
    }
}

int64_t SpanLength(const Span *span) {
    return span->endKey - span->startKey;
}
