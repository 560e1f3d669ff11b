// Rectangles and points: containment, overlap of rectangles and spans, centring, union, inset, offset and
// moves, origin-and-size forms, clamping a point, points from message parameters and packed words.
#include "base/rect.h"

#include <gtest/gtest.h>

TEST(Rect, HelpersTable) {
    RECT r;
    RectSet(&r, 10, 20, 30, 40);
    struct Contains {
        int x, y;
        int expected;
    } contains[] = {{10, 20, 1}, {29, 39, 1}, {30, 20, 0}, {10, 40, 0}, {9, 25, 0}};
    for (const Contains &c : contains) EXPECT_EQ(RectContains(&r, c.x, c.y), c.expected) << c.x << "," << c.y;

    struct Overlap {
        RECT other;
        int expected;
    } overlaps[] = {{{29, 39, 50, 50}, 1}, {{30, 20, 50, 40}, 0}, {{0, 0, 10, 20}, 0}, {{15, 0, 16, 100}, 1}};
    for (const Overlap &o : overlaps) EXPECT_EQ(RectIntersects(&r, &o.other), o.expected);
    EXPECT_EQ(SpanOverlap(0, 10, 10, 20), 0);
    EXPECT_EQ(SpanOverlap(0, 10, 9, 20), 1);
    EXPECT_EQ(SpanOverlap(5, 6, 0, 100), 1);

    struct Center {
        int width, height;
        RECT outer;
        int x, y;
    } centers[] = {{30, 10, {0, 0, 100, 50}, 35, 20},
                   {31, 11, {0, 0, 100, 50}, 35, 20},
                   {30, 10, {500, 500, 600, 550}, 35, 20}, // the outer origin is not added
                   {150, 10, {0, 0, 100, 50}, -24, 20}};
    for (const Center &c : centers) {
        RECT rect = {7, 7, 7 + c.width, 7 + c.height};
        RectCenterIn(&rect, &c.outer);
        EXPECT_EQ(rect.left, c.x);
        EXPECT_EQ(rect.top, c.y);
        EXPECT_EQ(RectWidth(&rect), c.width);
        EXPECT_EQ(RectHeight(&rect), c.height);
    }

    RECT u = {};
    RECT a = {10, 10, 20, 20}, b = {5, 15, 12, 30}, empty = {50, 50, 50, 60};
    RectUnion(&u, &a);
    RectUnion(&u, &empty);
    RectUnion(&u, &b);
    RECT expected = {5, 10, 20, 30};
    EXPECT_TRUE(EqualRect(&u, &expected));

    RECT moved = a;
    RectInset(&moved, 2, 3);
    RECT inset = {12, 13, 18, 17};
    EXPECT_TRUE(EqualRect(&moved, &inset));
    RectOffset(&moved, -12, 1);
    RectMoveTo(&moved, 100, 200);
    RECT at = {100, 200, 106, 204};
    EXPECT_TRUE(EqualRect(&moved, &at));
    Xywh xywh;
    RectToOriginSize(&at, &xywh);
    EXPECT_EQ(xywh.w, 6);
    RectFromOriginSize(&moved, &xywh);
    EXPECT_TRUE(EqualRect(&moved, &at));

    struct Clamp {
        POINT in, out;
    } clamps[] = {{{0, 0}, {10, 20}}, {{100, 100}, {29, 39}}, {{15, 25}, {15, 25}}};
    for (const Clamp &c : clamps) {
        POINT p = c.in;
        PointClampToRect(&p, &r);
        EXPECT_EQ(p.x, c.out.x);
        EXPECT_EQ(p.y, c.out.y);
    }

    POINT p = PointFromLParam((LPARAM)PackWords(-3, -40));
    EXPECT_EQ(p.x, -3);
    EXPECT_EQ(p.y, -40);
    EXPECT_EQ(PackWords(-1, 2), 0x0002FFFFu);
    EXPECT_EQ(PackWords(0x12345, 1), 0x00012345u);
}
