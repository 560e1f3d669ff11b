// fmtdraw: a formatted line drawn with GDI (prefix FmtDraw, and DrawFormattedLine). The text band runs from
// top + space above for ascent + descent pixels; runs are drawn on the baseline with the formatter's
// advances. A run on the window background is drawn opaque (or its shadow first, opaque, and the text over it
// transparent) across the whole row; a run on another background fills only the text band, and the bands
// above and below it take the window background. The row right of the last run takes the background of a
// last run or, when the stream ends otherwise, the window background.
// Every text call costs much more than the characters it draws, and changing the font or colour between
// calls more still, so a plain line (no shadow, decoration or shift) is drawn by colour: one call that also
// fills the whole row for the first font and colour on the window background, one call for each further
// font and colour (the other characters blanked, every position kept by the advances), then the runs on
// other backgrounds one by one. Glyphs land where drawing run after run puts them.
#include "display/fmtdraw.h"

#include "base/heap.h"
#include "base/seam.h"
#include "base/utilil.h"
#include "display/fmtfont.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/pen.h"

#include <cstring>

enum { FMT_DRAW_RUN_STACK = 512 };

static bool fmtDrawByColour = true;

static void FmtDrawSeamReset() {
    fmtDrawByColour = true;
}

void FmtDrawSetByColour(bool on) {
    fmtDrawByColour = on;
    SeamRegisterReset(FmtDrawSeamReset);
}

// A decoration begun at a position (underline, box, inverse span) and drawn when it ends.
struct FmtDrawSpan {
    int32_t kind;
    int32_t x;
    COLORREF color; // underlines: the text colour when it began
};

struct FmtDraw {
    const FmtLine *line;
    HDC dc;
    int32_t left, top, leftClip, rightEnd;
    int32_t bandTop, baseline, bandBottom, bottom;
    int32_t x;
    int32_t adjust;
    COLORREF fore, back, shadow;
    FmtDrawSpan underline, box, inverse;
    int32_t at; // the next character
    HFONT font; // the font the DC holds
};

static COLORREF FmtDrawColor(uint32_t value) {
    return (COLORREF)(value & 0xFFFFFF);
}

static bool FmtDrawOnWindow(const FmtDraw *d) {
    return FmtDrawColor(d->back) == FmtDrawColor(d->line->windowBack);
}

static void FmtDrawFill(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color) {
    if (x2 <= x1 || y2 <= y1) return;
    RECT r = {x1, y1, x2, y2};
    DrawFillRect(dc, &r, FmtDrawColor(color));
}

static void FmtDrawText(FmtDraw *d, int32_t x, int32_t y, UINT options, const RECT *clip, const INT *dx,
                        int32_t n) {
    ExtTextOutA(d->dc, x, y, options, clip, d->line->text + d->at, (UINT)n, dx);
}

// One run: its width from the advances; a pending shift moves it right and shrinks its first advance.
static void FmtDrawRun(FmtDraw *d, int32_t n, bool last) {
    const FmtLine *l = d->line;
    n = n < l->length - d->at ? n : l->length - d->at;
    if (n < 0) n = 0;
    INT stack[FMT_DRAW_RUN_STACK], *dx = (INT *)l->advances + d->at;
    int32_t width = 0;
    for (int32_t i = 0; i < n; i++) width += l->advances[d->at + i];
    if (d->adjust && n) {
        INT *copy = n <= FMT_DRAW_RUN_STACK ? stack : (INT *)MemAlloc(sizeof(INT) * (size_t)n);
        if (copy) {
            memcpy(copy, dx, sizeof(INT) * (size_t)n);
            copy[0] -= d->adjust;
            dx = copy;
        }
    }
    int32_t x = d->x + (dx != (INT *)l->advances + d->at ? d->adjust : 0), clipLeft = Max(d->leftClip, d->x);
    if (FmtDrawOnWindow(d)) {
        RECT clip = {clipLeft, d->top, last ? d->rightEnd : d->x + width, d->bottom};
        if (FmtDrawColor(d->shadow) != FmtDrawColor(d->back)) {
            int32_t offset = (int32_t)(d->shadow >> 24);
            SetTextColor(d->dc, FmtDrawColor(d->shadow));
            FmtDrawText(d, x + offset, d->baseline + offset, ETO_OPAQUE | ETO_CLIPPED, &clip, dx, n);
            SetTextColor(d->dc, FmtDrawColor(d->fore));
            FmtDrawText(d, x, d->baseline, ETO_CLIPPED, &clip, dx, n);
        } else {
            FmtDrawText(d, x, d->baseline, ETO_OPAQUE | ETO_CLIPPED, &clip, dx, n);
        }
    } else {
        int32_t right = d->x + width;
        FmtDrawFill(d->dc, clipLeft, d->top, right, d->bandTop, l->windowBack);
        FmtDrawFill(d->dc, clipLeft, d->bandBottom, right, d->bottom, l->windowBack);
        RECT band = {clipLeft, d->bandTop, right, d->bandBottom};
        FmtDrawText(d, x, d->baseline, ETO_OPAQUE | ETO_CLIPPED, &band, dx, n);
        if (last) FmtDrawFill(d->dc, right, d->top, d->rightEnd, d->bottom, l->windowBack);
    }
    if (dx != stack && dx != (INT *)l->advances + d->at) MemFree(dx);
    d->x += width;
    d->at += n;
    d->adjust = 0;
}

static void FmtDrawLineH(HDC dc, int32_t x1, int32_t x2, int32_t y, COLORREF color) {
    HPEN old = PenSelectSolid(dc, color);
    MoveToEx(dc, x1, y, nullptr);
    LineTo(dc, x2, y);
    SelectObject(dc, old);
}

static void FmtDrawUnderlineIn(const FmtDraw *d, int32_t x1, int32_t x2, int32_t kind, COLORREF color,
                               int32_t offset) {
    int32_t y = d->baseline + offset, b = d->bandBottom + offset, middle = (y + b + 1) / 2;
    x1 += offset;
    x2 += offset;
    switch (kind) {
    case STYLE_UNDERLINE_SINGLE: FmtDrawLineH(d->dc, x1, x2, middle, color); break;
    case STYLE_UNDERLINE_DOUBLE: {
        int32_t t = (b - y) / 3;
        FmtDrawLineH(d->dc, x1, x2, y + t, color);
        FmtDrawLineH(d->dc, x1, x2, y + t + (t > 2 ? t : 2), color);
        break;
    }
    case STYLE_UNDERLINE_DOTTED: DrawDottedLineH(d->dc, x1, middle, x2, color); break;
    case STYLE_UNDERLINE_THICK:
        FmtDrawLineH(d->dc, x1, x2, middle - 1, color);
        FmtDrawLineH(d->dc, x1, x2, middle, color);
        break;
    }
}

static void FmtDrawUnderline(const FmtDraw *d, const FmtDrawSpan *span) {
    if (!span->kind || d->x <= span->x) return;
    if (FmtDrawColor(d->shadow) != FmtDrawColor(d->back))
        FmtDrawUnderlineIn(d, span->x, d->x, span->kind, FmtDrawColor(d->shadow), (int32_t)(d->shadow >> 24));
    FmtDrawUnderlineIn(d, span->x, d->x, span->kind, span->color, 0);
}

static void FmtDrawFrame(HDC dc, const RECT *r, HPEN pen) {
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r->left, r->top, r->right, r->bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

static void FmtDrawBox(const FmtDraw *d, const FmtDrawSpan *span) {
    if (!span->kind || d->x <= span->x) return;
    RECT r = {span->x, d->bandTop, d->x, d->bandBottom};
    if (span->kind == 3) {
        FmtDrawFrame(d->dc, &r, PenGetThin(PS_SOLID, drawMetrics.colorHighlight));
        return;
    }
    HPEN pen = PenGetThin(PS_SOLID, span->color);
    FmtDrawFrame(d->dc, &r, pen);
    InflateRect(&r, -span->kind, -span->kind);
    FmtDrawFrame(d->dc, &r, pen);
}

static void FmtDrawInverse(const FmtDraw *d, const FmtDrawSpan *span) {
    if (!span->kind || d->x <= span->x) return;
    RECT r = {span->x, d->bandTop, d->x, d->bandBottom};
    InvertRect(d->dc, &r);
}

static void FmtDrawSwitch(FmtDraw *d, FmtDrawSpan *span, int32_t kind,
                          void (*draw)(const FmtDraw *, const FmtDrawSpan *)) {
    draw(d, span);
    *span = {kind, d->x, FmtDrawColor(d->fore)};
}

// The font of a table entry: the font cache's record kept with the entry while the cache frees no record
// (finding it again by its description costs more than drawing a run).
static HFONT FmtDrawHandle(int32_t index) {
    FmtFont *font = FmtFontEntry(index);
    if (!font) return nullptr;
    FontRecord *record = (FontRecord *)font->osFont;
    if (!record || font->osStamp != FontRecordStamp() || !record->font) {
        record = FontGet(font->device, &font->desc);
        font->osFont = record;
        font->osStamp = FontRecordStamp();
    }
    return record->font;
}

static void FmtDrawFont(FmtDraw *d, int32_t index) {
    HFONT handle = FmtDrawHandle(index);
    if (!handle || handle == d->font) return;
    SelectObject(d->dc, handle);
    d->font = handle;
}

static void FmtDrawOp(FmtDraw *d, const FmtOp *op, bool last) {
    switch (op->op) {
    case FMT_OP_RUN: FmtDrawRun(d, op->value, last); break;
    case FMT_OP_COLOR: SetTextColor(d->dc, FmtDrawColor(d->fore = (uint32_t)op->value)); break;
    case FMT_OP_BACK: SetBkColor(d->dc, FmtDrawColor(d->back = (uint32_t)op->value)); break;
    case FMT_OP_SHADOW: d->shadow = (uint32_t)op->value; break;
    case FMT_OP_FONT: FmtDrawFont(d, op->value); break;
    case FMT_OP_BOX: FmtDrawSwitch(d, &d->box, op->value, FmtDrawBox); break;
    case FMT_OP_UNDERLINE: FmtDrawSwitch(d, &d->underline, op->value, FmtDrawUnderline); break;
    case FMT_OP_INVERSE: FmtDrawSwitch(d, &d->inverse, op->value, FmtDrawInverse); break;
    case FMT_OP_SHIFT: d->adjust = op->value; break;
    }
}

static int32_t FmtDrawCoord(int32_t packed, bool high) {
    return (int32_t)(int16_t)(high ? (uint32_t)packed >> 16 : (uint32_t)packed & 0xFFFF);
}

static void FmtDrawLines(const FmtDraw *d) {
    const FmtLine *l = d->line;
    HGDIOBJ before = GetCurrentObject(d->dc, OBJ_PEN);
    for (int32_t i = l->opCount; i < l->opCount + l->drawCount && l->ops[i].op != FMT_OP_END; i++) {
        const FmtOp &op = l->ops[i];
        int32_t px = d->left + FmtDrawCoord(op.value, false), py = d->top + FmtDrawCoord(op.value, true);
        if (op.op == FMT_OP_PEN)
            SelectObject(d->dc, PenGetThin(PS_SOLID, FmtDrawColor((uint32_t)op.value)));
        else if (op.op == FMT_OP_MOVE_TO)
            MoveToEx(d->dc, px, py, nullptr);
        else if (op.op == FMT_OP_LINE_TO)
            LineTo(d->dc, px, py);
    }
    SelectObject(d->dc, before);
}

static void FmtDrawBegin(FmtDraw *d, const FmtLine *l, HDC dc, int32_t x, int32_t y) {
    memset(d, 0, sizeof *d);
    d->line = l;
    d->dc = dc;
    d->left = d->x = x;
    d->top = y;
    d->bandTop = y + l->spaceAbove;
    d->baseline = d->bandTop + l->ascent;
    d->bandBottom = d->baseline + l->descent;
    d->bottom = y + l->height;
    d->fore = l->startFore;
    d->back = l->startBack;
    d->shadow = l->startShadow;
    d->underline = {(int32_t)(l->startFlags & STYLE_APP_UNDERLINE), x, FmtDrawColor(l->startFore)};
    d->box = {(int32_t)((l->startFlags & STYLE_APP_BOX) >> STYLE_APP_BOX_SHIFT), x,
              FmtDrawColor(l->startFore)};
    d->inverse = {(l->startFlags & STYLE_APP_INVERSE) ? 1 : 0, x, 0};
    d->font = (HFONT)GetCurrentObject(dc, OBJ_FONT);
}

// ---- Drawing by colour

// A run of a plain line: where it starts, its characters, and what it is drawn with.
struct FmtDrawPiece {
    int32_t at, n, x, width;
    uint32_t fore, back;
    int32_t font;
    bool drawn;
};

enum { FMT_DRAW_PIECES = 256 };

// The pieces of a plain line; false when the line needs the run-by-run drawing (a shadow, a decoration, a
// shift, or more runs than the table holds).
static bool FmtDrawPlain(const FmtLine *l, int32_t left, FmtDrawPiece *pieces, int32_t *count) {
    if (l->startFlags) return false;
    uint32_t fore = l->startFore, back = l->startBack, shadow = l->startShadow;
    int32_t font = -1, at = 0, x = left, n = 0;
    for (int32_t i = 0; i < l->opCount && l->ops[i].op != FMT_OP_END; i++) {
        const FmtOp &op = l->ops[i];
        switch (op.op) {
        case FMT_OP_COLOR: fore = (uint32_t)op.value; break;
        case FMT_OP_BACK: back = (uint32_t)op.value; break;
        case FMT_OP_SHADOW: shadow = (uint32_t)op.value; break;
        case FMT_OP_FONT: font = op.value; break;
        case FMT_OP_RUN: {
            if (n == FMT_DRAW_PIECES || FmtDrawColor(shadow) != FmtDrawColor(back)) return false;
            int32_t length = Max(0, Min(op.value, l->length - at)), width = 0;
            for (int32_t k = 0; k < length; k++) width += l->advances[at + k];
            pieces[n++] = {at, length, x, width, fore, back, font, false};
            at += length;
            x += width;
            break;
        }
        case FMT_OP_BOX:
        case FMT_OP_UNDERLINE:
        case FMT_OP_INVERSE:
        case FMT_OP_SHIFT:
            if (op.value) return false;
            break;
        }
    }
    *count = n;
    return true;
}

static bool FmtDrawOnWindowBack(const FmtLine *l, const FmtDrawPiece *p) {
    return FmtDrawColor(p->back) == FmtDrawColor(l->windowBack);
}

// The characters of one font and colour of the pieces on the window background, drawn in one call: only
// their characters, each advance reaching to the next of them, so every glyph lands at its place in the
// line. The first call also fills the row with the window background.
struct FmtDrawGroupText {
    char *text;
    INT *dx;
};

// False when the group holds nothing but blanks: it draws nothing then (the row's fill does its part).
static bool FmtDrawGroup(FmtDraw *d, FmtDrawPiece *pieces, int32_t count, int32_t first, FmtDrawGroupText *g,
                         bool fill) {
    const FmtLine *l = d->line;
    const FmtDrawPiece &head = pieces[first];
    int32_t n = 0, end = head.x;
    bool inked = false;
    for (int32_t i = first; i < count; i++) {
        FmtDrawPiece &p = pieces[i];
        if (p.drawn || !FmtDrawOnWindowBack(l, &p) || p.font != head.font || p.fore != head.fore) continue;
        if (n && p.n) g->dx[n - 1] += p.x - end; // the gap up to this piece
        memcpy(g->text + n, l->text + p.at, p.n);
        memcpy(g->dx + n, l->advances + p.at, sizeof(INT) * (size_t)p.n);
        for (int32_t k = 0; k < p.n && !inked; k++) inked = g->text[n + k] != ' ';
        n += p.n;
        end = p.x + p.width;
        p.drawn = true;
    }
    if (!inked) return false;
    FmtDrawFont(d, head.font);
    SetTextColor(d->dc, FmtDrawColor(head.fore));
    RECT row = {Max(d->leftClip, d->left), d->top, d->rightEnd, d->bottom};
    ExtTextOutA(d->dc, head.x, d->baseline, (fill ? ETO_OPAQUE : 0) | ETO_CLIPPED, &row, g->text, (UINT)n,
                g->dx);
    return true;
}

static void FmtDrawByColour(FmtDraw *d, FmtDrawPiece *pieces, int32_t count) {
    const FmtLine *l = d->line;
    char stackText[FMT_DRAW_RUN_STACK];
    INT stackDx[FMT_DRAW_RUN_STACK];
    bool small = l->length < FMT_DRAW_RUN_STACK;
    FmtDrawGroupText g = {small ? stackText : (char *)MemAlloc((size_t)l->length + 1),
                          small ? stackDx : (INT *)MemAlloc(sizeof(INT) * ((size_t)l->length + 1))};
    if (g.text && g.dx) {
        SetBkColor(d->dc, FmtDrawColor(l->windowBack));
        bool filled = false;
        // One font after the other (switching fonts costs most): the font the DC holds first, the font the
        // line starts with last, so that the next line likely finds it selected.
        int32_t home = count ? pieces[0].font : -1;
        for (int32_t pass = 0; pass < 3; pass++) {
            for (int32_t i = 0; i < count; i++) {
                if (pieces[i].drawn || !FmtDrawOnWindowBack(l, &pieces[i])) continue;
                bool held = FmtDrawHandle(pieces[i].font) == d->font;
                if ((pass == 0 && !held) || (pass == 1 && pieces[i].font == home)) continue;
                int32_t font = pieces[i].font;
                for (int32_t k = i; k < count; k++) {
                    if (pieces[k].drawn || !FmtDrawOnWindowBack(l, &pieces[k]) || pieces[k].font != font)
                        continue;
                    if (FmtDrawGroup(d, pieces, count, k, &g, !filled)) filled = true;
                }
            }
        }
        if (!filled) {
            RECT row = {Max(d->leftClip, d->left), d->top, d->rightEnd, d->bottom};
            ExtTextOutA(d->dc, d->left, d->baseline, ETO_OPAQUE, &row, "", 0, nullptr);
        }
        for (int32_t i = 0; i < count; i++) {
            const FmtDrawPiece &p = pieces[i];
            if (FmtDrawOnWindowBack(l, &p)) continue;
            FmtDrawFont(d, p.font);
            SetTextColor(d->dc, FmtDrawColor(p.fore));
            SetBkColor(d->dc, FmtDrawColor(p.back));
            RECT band = {Max(d->leftClip, p.x), d->bandTop, p.x + p.width, d->bandBottom};
            ExtTextOutA(d->dc, p.x, d->baseline, ETO_OPAQUE | ETO_CLIPPED, &band, l->text + p.at, (UINT)p.n,
                        (const INT *)l->advances + p.at);
        }
    }
    if (!small) {
        MemFree(g.text);
        MemFree(g.dx);
    }
}

// ---- The line

static void FmtDrawRuns(FmtDraw *d) {
    const FmtLine *line = d->line;
    SetTextColor(d->dc, FmtDrawColor(d->fore));
    SetBkColor(d->dc, FmtDrawColor(d->back));
    bool endedWithRun = false;
    for (int32_t i = 0; i < line->opCount && line->ops[i].op != FMT_OP_END; i++) {
        bool last = i + 1 >= line->opCount || line->ops[i + 1].op == FMT_OP_END;
        FmtDrawOp(d, &line->ops[i], last);
        endedWithRun = last && line->ops[i].op == FMT_OP_RUN;
    }
    if (!endedWithRun) {
        RECT rest = {Max(d->x, d->leftClip), d->top, d->rightEnd, d->bottom};
        SetBkColor(d->dc, FmtDrawColor(line->windowBack));
        if (rest.right > rest.left)
            ExtTextOutA(d->dc, rest.left, d->baseline, ETO_OPAQUE, &rest, "", 0, nullptr);
    }
    FmtDrawUnderline(d, &d->underline);
    FmtDrawBox(d, &d->box);
    FmtDrawInverse(d, &d->inverse);
}

void DrawFormattedLine(const FmtLine *line, uint32_t modeBits, HDC dc, int32_t x, int32_t y, int32_t leftClip,
                       int32_t rightEnd) {
    FmtDraw d;
    // Every text call fills its rectangle itself (ETO_OPAQUE), so glyphs are drawn transparent throughout.
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    SetBkMode(dc, TRANSPARENT);
    FmtDrawBegin(&d, line, dc, x, y);
    d.leftClip = leftClip;
    d.rightEnd = rightEnd;
    FmtDrawPiece pieces[FMT_DRAW_PIECES];
    int32_t count;
    if (fmtDrawByColour && FmtDrawPlain(line, x, pieces, &count))
        FmtDrawByColour(&d, pieces, count);
    else
        FmtDrawRuns(&d);
    if ((modeBits & FMT_DRAW_LINES) && (line->flags & FMT_LINE_DRAWING)) FmtDrawLines(&d);
}
