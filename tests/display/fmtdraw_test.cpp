// Drawing formatted lines into a DIB section: the row filled to its right end after a last colour change or
// run, the bands above and below a run on another background, a shadow at its offset, the rows of each
// underline kind, boxes and inverse spans, the line-drawing stream only with its mode bit, a line from the
// formatter drawn in its styles, and plain lines drawn by colour giving the pixels of drawing run by run.
#include "display/fmtdraw.h"

#include "display/fmtfont.h"
#include "fmttest.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

using namespace fmttest;

namespace {

// A 32-bit top-down DIB section in a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, (void **)&bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        uint32_t p = bits_[y * width_ + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    // The box of the pixels that pass the test; empty (right < left) when none do.
    template <class Test>
    RECT Bounds(Test test) const {
        RECT r = {width_, height_, -1, -1};
        for (int y = 0; y < height_; y++)
            for (int x = 0; x < width_; x++)
                if (test(Pixel(x, y))) {
                    r.left = x < r.left ? x : r.left;
                    r.top = y < r.top ? y : r.top;
                    r.right = x > r.right ? x : r.right;
                    r.bottom = y > r.bottom ? y : r.bottom;
                }
        return r;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    uint32_t *bits_;
};

const COLORREF WHITE = 0xFFFFFF, GREEN = 0x00FF00, RED = 0x0000FF, BLUE = 0xFF0000;

// A formatted line put together by hand: text, a font, and a stream.
struct HandLine {
    FmtLine line = {};
    std::string text;
    std::vector<int32_t> advances, columns;
    std::vector<FmtOp> ops;
    int32_t font;

    HandLine(const char *t, const char *face, int32_t size, std::vector<FmtOp> stream, int32_t above = 0) {
        FontDesc desc;
        FontDescInit(&desc, face, size);
        font = FmtFontIndex(0, &desc);
        const FmtFontMetrics &m = FmtFontAt(font)->metrics;
        text = t;
        for (char c : text) advances.push_back(m.widths[(unsigned char)c]), columns.push_back(0);
        ops = {{FMT_OP_FONT, font}};
        ops.insert(ops.end(), stream.begin(), stream.end());
        ops.push_back({FMT_OP_END, 0});
        line.ascent = m.ascent;
        line.descent = m.descent;
        line.spaceAbove = above;
        line.height = m.ascent + m.descent + above;
        line.startFore = 0;
        line.startBack = line.windowBack = WHITE;
        line.startShadow = WHITE;
        line.text = text.data();
        line.length = (int32_t)text.size();
        line.advances = advances.data();
        line.columns = columns.data();
        line.ops = ops.data();
        line.opCount = (int32_t)ops.size();
        for (int32_t a : advances) line.width += a;
    }
    void AddDrawing(std::vector<FmtOp> drawing) {
        int32_t streamCount = line.opCount;
        ops.insert(ops.end(), drawing.begin(), drawing.end());
        ops.push_back({FMT_OP_END, 0});
        line.ops = ops.data();
        line.opCount = streamCount;
        line.drawCount = (int32_t)ops.size() - streamCount;
        line.flags |= FMT_LINE_DRAWING;
    }
    int32_t Baseline(int32_t top) const { return top + line.spaceAbove + line.ascent; }
    int32_t BandBottom(int32_t top) const { return Baseline(top) + line.descent; }
};

bool IsDark(COLORREF c) {
    return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90;
}

bool IsRed(COLORREF c) {
    return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90;
}

class FmtDrawTest : public testing::Test {
protected:
    void SetUp() override { FmtFontFlush(); }
};

} // namespace

TEST_F(FmtDrawTest, RowFilledToItsEnd) {
    struct Case {
        const char *what;
        std::vector<FmtOp> stream;
        COLORREF run, rest;
    } cases[] = {
        {"a last colour change", {{FMT_OP_BACK, RED}, {FMT_OP_RUN, 3}, {FMT_OP_COLOR, BLUE}}, RED, WHITE},
        {"a last run on another background", {{FMT_OP_BACK, RED}, {FMT_OP_RUN, 3}}, RED, WHITE},
        {"a last run on the window background", {{FMT_OP_RUN, 3}}, WHITE, WHITE},
        {"no run at all", {}, WHITE, WHITE},
    };
    for (const Case &c : cases) {
        Canvas canvas(200, 40, GREEN);
        HandLine hand("   ", "Courier New", 40, c.stream);
        DrawFormattedLine(&hand.line, 0, canvas.dc(), 10, 5, 10, 190);
        int32_t middle = 5 + hand.line.height / 2;
        EXPECT_EQ(canvas.Pixel(12, middle), c.run) << c.what;
        EXPECT_EQ(canvas.Pixel(150, middle), c.rest) << c.what;
        EXPECT_EQ(canvas.Pixel(189, 5), c.rest) << c.what;
        EXPECT_EQ(canvas.Pixel(190, middle), GREEN) << c.what << ": the right end";
        EXPECT_EQ(canvas.Pixel(5, middle), GREEN) << c.what << ": left of the clip";
    }
}

TEST_F(FmtDrawTest, BandsAroundARunOnAnotherBackground) {
    Canvas canvas(200, 60, GREEN);
    HandLine hand("   ", "Courier New", 40, {{FMT_OP_BACK, RED}, {FMT_OP_RUN, 3}}, 6);
    hand.line.spaceBelow = 4;
    hand.line.height += 4;
    DrawFormattedLine(&hand.line, 0, canvas.dc(), 0, 0, 0, 190);
    EXPECT_EQ(canvas.Pixel(2, 2), WHITE) << "above the band";
    EXPECT_EQ(canvas.Pixel(2, hand.Baseline(0) - 1), RED) << "the band";
    EXPECT_EQ(canvas.Pixel(2, hand.line.height - 2), WHITE) << "below the band";
    EXPECT_EQ(canvas.Pixel(2, hand.line.height + 1), GREEN);
}

TEST_F(FmtDrawTest, ShadowAtItsOffset) {
    Canvas canvas(300, 120, WHITE);
    HandLine hand("MW", "Arial", 160, {{FMT_OP_SHADOW, (int32_t)(0x03000000 | RED)}, {FMT_OP_RUN, 2}});
    DrawFormattedLine(&hand.line, 0, canvas.dc(), 10, 10, 0, 300);
    RECT text = canvas.Bounds(IsDark), shadow = canvas.Bounds(IsRed);
    ASSERT_GE(text.right, text.left);
    ASSERT_GE(shadow.right, shadow.left) << "the shadow shows";
    EXPECT_EQ(shadow.right - text.right, 3);
    EXPECT_EQ(shadow.bottom - text.bottom, 3);
}

TEST_F(FmtDrawTest, UnderlineRows) {
    for (int32_t kind = 1; kind <= 4; kind++) {
        Canvas canvas(200, 60, WHITE);
        HandLine hand("    ", "Courier New", 80,
                      {{FMT_OP_COLOR, BLUE}, {FMT_OP_UNDERLINE, kind}, {FMT_OP_RUN, 4}});
        DrawFormattedLine(&hand.line, 0, canvas.dc(), 0, 0, 0, 200);
        int32_t y = hand.Baseline(0), b = hand.BandBottom(0), middle = (y + b + 1) / 2, t = (b - y) / 3;
        std::vector<int32_t> rows;
        if (kind == 1 || kind == 3) rows = {middle};
        if (kind == 2) rows = {y + t, y + t + (t > 2 ? t : 2)};
        if (kind == 4) rows = {middle - 1, middle};
        int32_t width = hand.line.width;
        for (int32_t row = 0; row < hand.line.height; row++) {
            bool expected = std::find(rows.begin(), rows.end(), row) != rows.end();
            int32_t blue = 0;
            for (int32_t x = 0; x < width; x++) blue += canvas.Pixel(x, row) == BLUE;
            if (!expected)
                EXPECT_EQ(blue, 0) << "kind " << kind << " row " << row;
            else if (kind == 3)
                EXPECT_EQ(blue, (width + 1) / 2) << "dotted, row " << row;
            else
                EXPECT_EQ(blue, width) << "kind " << kind << " row " << row;
        }
    }
}

TEST_F(FmtDrawTest, BoxesAndInverseSpans) {
    Canvas canvas(200, 60, WHITE);
    HandLine box("    ", "Courier New", 80,
                 {{FMT_OP_COLOR, RED}, {FMT_OP_BOX, 1}, {FMT_OP_RUN, 4}, {FMT_OP_BOX, 0}});
    DrawFormattedLine(&box.line, 0, canvas.dc(), 0, 0, 0, 200);
    int32_t top = box.line.spaceAbove;
    EXPECT_EQ(canvas.Pixel(0, top), RED);
    EXPECT_EQ(canvas.Pixel(1, top + 1), RED) << "the second frame, one pixel in";
    EXPECT_EQ(canvas.Pixel(2, top + 2), WHITE);
    EXPECT_EQ(canvas.Pixel(box.line.width - 1, top + 5), RED);
    Canvas inverse(200, 60, WHITE);
    HandLine span("    ", "Courier New", 80,
                  {{FMT_OP_INVERSE, 1}, {FMT_OP_RUN, 2}, {FMT_OP_INVERSE, 0}, {FMT_OP_RUN, 2}}, 4);
    DrawFormattedLine(&span.line, 0, inverse.dc(), 0, 0, 0, 200);
    EXPECT_EQ(inverse.Pixel(1, span.Baseline(0) - 1), 0x000000u) << "inverted";
    EXPECT_EQ(inverse.Pixel(1, 1), WHITE) << "above the text band";
    EXPECT_EQ(inverse.Pixel(span.advances[0] * 3, span.Baseline(0) - 1), WHITE) << "after the span";
}

TEST_F(FmtDrawTest, LineDrawingStreamOnlyWithItsModeBit) {
    for (uint32_t mode : {0u, (uint32_t)FMT_DRAW_LINES}) {
        Canvas canvas(200, 40, WHITE);
        HandLine hand("ab", "Courier New", 40, {{FMT_OP_RUN, 2}});
        hand.AddDrawing(
            {{FMT_OP_PEN, RED}, {FMT_OP_MOVE_TO, 50}, {FMT_OP_LINE_TO, 50 | hand.line.height << 16}});
        DrawFormattedLine(&hand.line, mode, canvas.dc(), 10, 5, 0, 200);
        EXPECT_EQ(canvas.Pixel(60, 6) == RED, mode != 0) << mode;
    }
}

TEST_F(FmtDrawTest, FormattedLineDrawnInItsStyles) {
    class Fixture : public FmtTest {
    public:
        void TestBody() override {}
        void Run() {
            SetUp();
            FileBuffer *doc = CDoc({"int x;"});
            FormatBegin(doc, FMT_SCREEN, nullptr);
            FormatLine(0);
            const FmtLine *l = FmtCurrentLine();
            Canvas canvas(300, 60, GREEN);
            DrawFormattedLine(l, 3, canvas.dc(), 0, 0, 0, 300);
            int32_t keyword = l->advances[0] + l->advances[1] + l->advances[2];
            RECT green = canvas.Bounds([](COLORREF c) {
                return GetGValue(c) > GetRValue(c) + 40 && GetGValue(c) > GetBValue(c) + 40 &&
                       GetGValue(c) < 200;
            });
            EXPECT_GE(green.left, 0) << "the keyword in green";
            EXPECT_LT(green.right, keyword + 2);
            EXPECT_EQ(canvas.Pixel(250, l->height / 2), StyleDefaultBack()) << "the row's rest";
            EXPECT_EQ(canvas.Pixel(250, l->height + 1), GREEN);
            FormatEnd();
            TearDown();
        }
    } fixture;
    fixture.Run();
}

TEST_F(FmtDrawTest, ByColourGivesThePixelsOfRunByRun) {
    class Fixture : public FmtTest {
    public:
        void TestBody() override {}
        void Run() {
            SetUp();
            FileBuffer *doc =
                CDoc({"\treturn total + (int)strlen(\"x\"); // sum", "/* a comment */ int b = 0x1F;"});
            for (int32_t line = 0; line < 2; line++) {
                FormatBegin(doc, FMT_SCREEN, nullptr);
                FormatLine(line);
                Canvas byColour(400, 40, GREEN), byRun(400, 40, GREEN);
                DrawFormattedLine(FmtCurrentLine(), 3, byColour.dc(), 5, 2, 5, 390);
                FmtDrawSetByColour(false);
                DrawFormattedLine(FmtCurrentLine(), 3, byRun.dc(), 5, 2, 5, 390);
                FmtDrawSetByColour(true);
                int32_t differ = 0;
                for (int y = 0; y < 40; y++)
                    for (int x = 0; x < 400; x++) differ += byColour.Pixel(x, y) != byRun.Pixel(x, y);
                EXPECT_EQ(differ, 0) << "line " << line;
                FormatEnd();
            }
            TearDown();
        }
    } fixture;
    fixture.Run();
}
