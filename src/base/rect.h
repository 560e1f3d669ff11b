// rect: rectangles and points (prefixes Rect, Point and Xywh's helpers), and their mapping between windows.
#pragma once

#include <windows.h>

#include <cstdint>

// Rectangles and points. A rectangle's right and bottom are exclusive; an Xywh is origin and size.
struct Xywh {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};
inline int32_t RectWidth(const RECT *rect) {
    return rect->right - rect->left;
}
inline int32_t RectHeight(const RECT *rect) {
    return rect->bottom - rect->top;
}
inline bool RectIsEmpty(const RECT *rect) {
    return !(rect->left < rect->right && rect->top < rect->bottom);
}
inline int RectSetEmpty(RECT *rect) {
    rect->left = rect->top = rect->right = rect->bottom = 0;
    return 0;
}
void RectSet(RECT *rect, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool RectContains(const RECT *rect, int32_t x, int32_t y);
bool RectIntersects(const RECT *a, const RECT *b);            // they share at least one pixel
bool SpanOverlap(int32_t a, int32_t b, int32_t c, int32_t d); // [a, b) and [c, d) share a value
void RectFromOriginSize(RECT *rect, const Xywh *xywh);
void RectToOriginSize(const RECT *rect, Xywh *xywh);
// Keeps the size and moves to the middle of the outer rectangle's size; the outer origin is not added.
void RectCenterIn(RECT *rect, const RECT *outer);
void RectInset(RECT *rect, int32_t dx, int32_t dy);
void RectOffset(RECT *rect, int32_t dx, int32_t dy);
void RectMoveTo(RECT *rect, int32_t x, int32_t y);
void RectUnion(RECT *rect, const RECT *other); // an empty rectangle adds nothing
void PointClampToRect(POINT *point, const RECT *rect);
POINT PointFromLParam(LPARAM lParam); // signed low and high words
uint32_t PackWords(int32_t low, int32_t high);
void WndClientToScreenRect(HWND window, RECT *rect);
void WndScreenToClientRect(HWND window, RECT *rect);
void WndScreenToClientXywh(HWND window, Xywh *xywh);
void PointMapWindows(HWND from, HWND to, POINT *point);
