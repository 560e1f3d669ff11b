// pen: a singly linked list of cached pens, most recently used first, with a count (prefix Pen).
#include "ui/pen.h"

#include "base/heap.h"

struct PenNode {
    PenNode *next;
    HPEN pen;
    int32_t style;
    COLORREF color;
    int32_t width;
};

static PenNode *penList;
static int32_t penCount;

HPEN PenGet(int32_t style, COLORREF color, int32_t width) {
    for (PenNode **link = &penList; *link; link = &(*link)->next) {
        PenNode *node = *link;
        if (node->color != color || node->style != style || node->width != width) continue;
        *link = node->next;
        node->next = penList;
        penList = node;
        return node->pen;
    }
    HPEN pen = CreatePen(style, width, color);
    PenNode *node = pen ? (PenNode *)MemAlloc(sizeof(PenNode)) : nullptr;
    if (!node) {
        if (pen) DeleteObject(pen);
        return (HPEN)GetStockObject(BLACK_PEN);
    }
    *node = {penList, pen, style, color, width};
    penList = node;
    penCount++;
    return pen;
}

HPEN PenGetThin(int32_t style, COLORREF color) {
    return PenGet(style, color, 1);
}

HPEN PenSelectSolid(HDC dc, COLORREF color) {
    return (HPEN)SelectObject(dc, PenGet(PS_SOLID, color, 1));
}

void PenFreeAll() {
    while (PenNode *node = penList) {
        penList = node->next;
        DeleteObject(node->pen);
        MemFree(node);
    }
    penCount = 0;
}

void PenExit() {
    PenFreeAll();
}
