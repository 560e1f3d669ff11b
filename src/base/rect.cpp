// rect: plain arithmetic on rectangles and points, and the system's mapping between window coordinates.
#include "base/rect.h"

#include "base/utilil.h"

// ---- Rectangles and points

void RectSet(RECT *rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    rect->left = left;
    rect->top = top;
    rect->right = right;
    rect->bottom = bottom;
}

bool RectContains(const RECT *rect, int32_t x, int32_t y) {
    return x >= rect->left && x < rect->right && y >= rect->top && y < rect->bottom;
}

bool SpanOverlap(int32_t a, int32_t b, int32_t c, int32_t d) {
    return a < d && c < b;
}

bool RectIntersects(const RECT *a, const RECT *b) {
    return SpanOverlap(a->left, a->right, b->left, b->right) &&
           SpanOverlap(a->top, a->bottom, b->top, b->bottom);
}

void RectFromOriginSize(RECT *rect, const Xywh *xywh) {
    RectSet(rect, xywh->x, xywh->y, xywh->x + xywh->w, xywh->y + xywh->h);
}

void RectToOriginSize(const RECT *rect, Xywh *xywh) {
    *xywh = {rect->left, rect->top, RectWidth(rect), RectHeight(rect)};
}

void RectCenterIn(RECT *rect, const RECT *outer) {
    int32_t w = RectWidth(rect), h = RectHeight(rect);
    RectMoveTo(rect, (RectWidth(outer) - w + 1) / 2, (RectHeight(outer) - h + 1) / 2);
}

void RectInset(RECT *rect, int32_t dx, int32_t dy) {
    RectSet(rect, rect->left + dx, rect->top + dy, rect->right - dx, rect->bottom - dy);
}

void RectOffset(RECT *rect, int32_t dx, int32_t dy) {
    RectSet(rect, rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy);
}

void RectMoveTo(RECT *rect, int32_t x, int32_t y) {
    RectOffset(rect, x - rect->left, y - rect->top);
}

void RectUnion(RECT *rect, const RECT *other) {
    if (RectIsEmpty(other)) return;
    if (RectIsEmpty(rect)) {
        *rect = *other;
        return;
    }
    RectSet(rect, Min(rect->left, other->left), Min(rect->top, other->top), Max(rect->right, other->right),
            Max(rect->bottom, other->bottom));
}

// The point ends inside: at most one less than the exclusive right and bottom edges.
void PointClampToRect(POINT *point, const RECT *rect) {
    point->x = Max(rect->left, Min(point->x, rect->right - 1));
    point->y = Max(rect->top, Min(point->y, rect->bottom - 1));
}

POINT PointFromLParam(LPARAM lParam) {
    return POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)};
}

uint32_t PackWords(int32_t low, int32_t high) {
    return ((uint32_t)high << 16) | ((uint32_t)low & 0xFFFF);
}

void PointMapWindows(HWND from, HWND to, POINT *point) {
    MapWindowPoints(from, to, point, 1);
}

void WndClientToScreenRect(HWND window, RECT *rect) {
    MapWindowPoints(window, nullptr, (POINT *)rect, 2);
}

void WndScreenToClientRect(HWND window, RECT *rect) {
    MapWindowPoints(nullptr, window, (POINT *)rect, 2);
}

void WndScreenToClientXywh(HWND window, Xywh *xywh) {
    POINT origin = {xywh->x, xywh->y};
    MapWindowPoints(nullptr, window, &origin, 1);
    xywh->x = origin.x;
    xywh->y = origin.y;
}
