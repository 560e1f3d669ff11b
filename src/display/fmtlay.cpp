// fmtlay: laying out a formatted line (prefix FmtLay, FmtLook): each run's style resolved over the base
// appearance under the display options, its font from the formatter's font table, its characters measured
// (tabs, fixed white space, expansion, double-byte characters, italic seams), and the operation stream
// written: attribute changes only where they differ, then the run; HTML style changes and side-buffer
// copies in HTML mode; the right-margin guide in the line-drawing stream. Then the line's metrics.
#include "base/heap.h"
#include "base/num.h"
#include "base/utilil.h"
#include "display/opts.h"
#include "display/fmtfont.h"
#include "display/fmtrec.h"

#include <cctype>
#include <cstring>

enum {
    FMT_PAREN_STEP = 15, // percent of size per nesting level
    FMT_VISIBLE_TAB = 187,
    FMT_VISIBLE_BLANK = 183,
    FMT_LINK_CLOSE = 4, // "</a>"
};

// ---- Looks

void FmtLooksForget(FmtState *s) {
    if (s->looks) memset(s->looks, 0, sizeof(FmtLook) * (size_t)s->lookCount);
    s->lookStamp = StyleStamp();
}

static bool FmtLayGrey(uint32_t color) {
    int32_t r = color & 0xFF, g = color >> 8 & 0xFF, b = color >> 16 & 0xFF;
    return Abs(r - g) <= 10 && Abs(g - b) <= 10 && Abs(r - b) <= 10;
}

// Whether a property of the style counts under the display options.
static bool FmtLayPropCounts(const FmtState *s, int32_t style, const StyleProp *prop) {
    bool colour = prop->key == STYLE_FORE || prop->key == STYLE_BACK;
    if (s->draft && !colour && prop->key != STYLE_INVERSE && prop->key != STYLE_STRIKE) return false;
    if ((s->view & VIEW_COLOR_ONLY) && style != STYLE_SYMBOL_CHARS && !colour) return false;
    if ((s->view & VIEW_MONOCHROME) && colour && !FmtLayGrey((uint32_t)prop->value)) return false;
    return true;
}

static int32_t FmtLayUnderlineDescent(int32_t kind) {
    switch (kind) {
    case STYLE_UNDERLINE_SINGLE: return 2;
    case STYLE_UNDERLINE_DOUBLE: return 4;
    case STYLE_UNDERLINE_DOTTED:
    case STYLE_UNDERLINE_THICK: return 3;
    }
    return 0;
}

static void FmtLookProp(FmtLook *k, const StyleProp *prop) {
    switch (prop->key) {
    case STYLE_ABOVE: k->above = prop->value; break;
    case STYLE_BELOW: k->below = prop->value; break;
    case STYLE_EXPANDED: k->expanded = prop->value; break;
    case STYLE_CAPS: k->caps = prop->value; break;
    case STYLE_KEEP_NEXT: k->keepNext = prop->value != 0; break;
    default: StyleApplyProp(prop, &k->app);
    }
    if (prop->key == STYLE_UNDERLINE) k->underlineDescent = FmtLayUnderlineDescent(prop->value & 7);
}

static void FmtLookMake(FmtState *s, int32_t style, int32_t level, bool selected, FmtLook *k) {
    memset(k, 0, sizeof *k);
    k->app = s->base;
    unsigned char scratch[STYLE_RECORD_MAX];
    int32_t size, offset = 8;
    const unsigned char *record = StyleResolve(StyleCurrent(), style, scratch, &size);
    StyleProp prop;
    while (StylePropNext(record, size, &offset, &prop))
        if (FmtLayPropCounts(s, style, &prop)) FmtLookProp(k, &prop);
    if (style == STYLE_PARENTHESES && (s->view & VIEW_SCALE_PARENS) && level > 0)
        k->app.font.size = (uint16_t)NumMulDiv(k->app.font.size, 100 + FMT_PAREN_STEP * level, 100);
    if (k->app.flags & STYLE_APP_INVERSE) {
        k->app.fore = ~k->app.fore & 0xFFFFFF;
        k->app.back = ~k->app.back & 0xFFFFFF;
        k->app.flags &= ~STYLE_APP_INVERSE;
    }
    if (selected) {
        k->app.fore = StyleColorFore(STYLE_SELECTION);
        k->app.back = StyleColorBack(STYLE_SELECTION);
    }
    k->font = FmtFontIndex(s->mode, &k->app.font);
    k->valid = true;
}

// Slots: two per style of the sheet (unselected, selected), two for any index outside it, then two per
// nesting level of the parentheses.
const FmtLook *FmtLookOf(FmtState *s, int32_t style, int32_t level, bool selected) {
    int32_t count = StyleCount(StyleCurrent()), slots = (count + 1 + FMT_LEVEL_MAX) * 2;
    if (s->lookCount != slots) {
        FmtLook *looks = (FmtLook *)MemRealloc(s->looks, sizeof(FmtLook) * (size_t)slots);
        if (looks) {
            s->looks = looks;
            s->lookCount = slots;
            FmtLooksForget(s);
        }
    }
    int32_t slot = style >= 0 && style < count ? style : count;
    if (style == STYLE_PARENTHESES && level > 0) slot = count + level;
    slot = slot * 2 + (selected ? 1 : 0);
    static FmtLook spare;
    FmtLook *k = slot < s->lookCount ? &s->looks[slot] : &spare;
    if (!k->valid || k == &spare) FmtLookMake(s, style, level, selected, k);
    return k;
}

// ---- The stream

static void FmtLayOp(FmtState *s, int32_t op, int32_t value) {
    if (!FmtReserveOps(s, 1)) return;
    s->ops[s->opCount++] = {op, value};
}

// What the stream has set so far.
struct FmtLayCurrent {
    uint32_t fore, back, shadow;
    int32_t font;
    uint32_t underline, box;
    int32_t style; // HTML: the span the stream has opened (0 none)
};

static uint32_t FmtLayShadow(const FmtState *s, const FmtLook *k) {
    uint32_t shadow = k->app.shadow & 0xFFFFFF;
    if (shadow == (s->base.back & 0xFFFFFF)) return shadow;
    return shadow | (uint32_t)FontSizeStep(&k->app.font) << 24;
}

static void FmtLayAttributes(FmtState *s, const FmtLook *k, FmtLayCurrent *cur) {
    uint32_t underline = k->app.flags & STYLE_APP_UNDERLINE;
    uint32_t box = (k->app.flags & STYLE_APP_BOX) >> STYLE_APP_BOX_SHIFT, shadow = FmtLayShadow(s, k);
    if (k->app.fore != cur->fore) FmtLayOp(s, FMT_OP_COLOR, (int32_t)(cur->fore = k->app.fore));
    if (k->app.back != cur->back) FmtLayOp(s, FMT_OP_BACK, (int32_t)(cur->back = k->app.back));
    if (underline != cur->underline) FmtLayOp(s, FMT_OP_UNDERLINE, (int32_t)(cur->underline = underline));
    if (box != cur->box) FmtLayOp(s, FMT_OP_BOX, (int32_t)(cur->box = box));
    if (k->font != cur->font)
        FmtLayOp(s, s->fontRecords ? FMT_OP_FONT_RECORD : FMT_OP_FONT, cur->font = k->font);
    if (shadow != cur->shadow) FmtLayOp(s, FMT_OP_SHADOW, (int32_t)(cur->shadow = shadow));
}

// ---- Characters

static bool FmtLayWord(int c) {
    return isalnum(c) || c == '_' || c >= 0x80;
}

// Capitalisation of a run's words, in place; a "0X" that starts a word is shown as "0x".
static void FmtLayCaps(FmtState *s, int32_t from, int32_t to, int32_t caps) {
    for (int32_t i = from; i < to;) {
        if (!FmtLayWord((unsigned char)s->text[i])) {
            i++;
            continue;
        }
        int32_t end = i, upper = 0, lower = 0;
        while (end < to && FmtLayWord((unsigned char)s->text[end])) {
            upper += isupper((unsigned char)s->text[end]) != 0;
            lower += islower((unsigned char)s->text[end]) != 0;
            end++;
        }
        bool mixed = upper && lower;
        bool change = caps == STYLE_CAPS_UPPER || caps == STYLE_CAPS_LOWER || caps == STYLE_CAPS_FIRST ||
                      (caps == STYLE_CAPS_FIRST_PARTIAL && !mixed) || (caps == STYLE_CAPS_EXPAND && mixed);
        for (int32_t k = i; change && k < end; k++) {
            unsigned char c = (unsigned char)s->text[k];
            bool up =
                caps == STYLE_CAPS_UPPER || caps == STYLE_CAPS_EXPAND || (caps != STYLE_CAPS_LOWER && k == i);
            s->text[k] = (char)(up ? toupper(c) : tolower(c));
        }
        if (end - i >= 2 && s->text[i] == '0' && s->text[i + 1] == 'X' && s->lang) s->text[i + 1] = 'x';
        i = end;
    }
}

// Where the layout stands.
struct FmtLayPos {
    int32_t x;
    int32_t origin;  // x where the text starts (after the line-number prefix)
    int32_t nominal; // the display column of the fixed-pitch layout (tabs expanded)
    int32_t blanks;  // fixed white space: blanks in a row before the current character
    int32_t baseAvg;
};

static int32_t FmtLayTab(const FmtState *s, const FmtLayPos *p, bool fixedWhite) {
    int32_t stop = (p->nominal / s->tabWidth + 1) * s->tabWidth;
    if (fixedWhite && (s->view2 & VIEW2_MONO_TABSTOPS)) {
        int32_t advance = p->origin + stop * p->baseAvg - p->x;
        return advance > 0 ? advance : p->baseAvg;
    }
    int32_t tab = s->tabWidth * p->baseAvg, rel = p->x - p->origin;
    if (tab <= 0) return p->baseAvg;
    return rel >= 0 ? tab - rel % tab : -rel;
}

// Blanks before a non-blank that follows two or more of them narrow (down to nothing) so that the text
// after them starts where the fixed-pitch layout puts it.
static void FmtLayAlign(FmtState *s, int32_t i, FmtLayPos *p) {
    int32_t target = p->origin + p->nominal * p->baseAvg;
    for (int32_t k = i - 1; k >= i - p->blanks && p->x > target; k--) {
        int32_t cut = Min(s->advances[k], p->x - target);
        s->advances[k] -= cut;
        p->x -= cut;
    }
}

static void FmtLayChars(FmtState *s, const FmtRun *run, const FmtLook *k, const FmtFontMetrics *m,
                        FmtLayPos *p) {
    bool fixedWhite = (k->app.font.style & FONT_NARROW_PUNCT) != 0;
    int32_t extra = k->expanded ? NumMulDiv(m->avgWidth, k->expanded, 100) : 0;
    int32_t end = run->start + run->length;
    for (int32_t i = run->start; i < end; i++) {
        unsigned char c = (unsigned char)s->text[i];
        if (i == s->prefixLength) {
            p->origin = p->x;
            p->nominal = 0;
        }
        if (fixedWhite && c != ' ' && c != '\t' && p->blanks >= 2 && (s->view2 & VIEW2_MONO_SPACES))
            FmtLayAlign(s, i, p);
        int32_t advance;
        if (c == '\t')
            advance = FmtLayTab(s, p, fixedWhite);
        else if (c == ' ' && fixedWhite)
            advance = m->blankWidth;
        else
            advance = m->widths[c];
        if (m->leadByte[c] && i + 1 < end) {
            advance += m->widths[(unsigned char)s->text[i + 1]];
            s->advances[i + 1] = 0;
        }
        s->advances[i] = advance + extra;
        p->x += advance + extra;
        p->blanks = fixedWhite && c == ' ' ? p->blanks + 1 : 0;
        p->nominal = c == '\t' ? (p->nominal / s->tabWidth + 1) * s->tabWidth : p->nominal + 1;
        if (m->leadByte[c] && i + 1 < end) i++, p->nominal++;
    }
}

// Where an italic font meets another one, its overhang (and the character's reach out of its cell) is added
// at the seam: as extra width of the italic run's last character, or as a shift of an italic run that
// follows; not after a blank.
static void FmtLaySeam(FmtState *s, const FmtFont *previous, int32_t last, const FmtFont *font,
                       const FmtRun *run, FmtLayPos *p) {
    if (!previous || previous == font || last < 0 || s->text[last] == ' ' || s->text[last] == '\t') return;
    const FmtFontMetrics &pm = previous->metrics, &m = font->metrics;
    bool wasItalic = previous->desc.style & FONT_ITALIC, isItalic = font->desc.style & FONT_ITALIC;
    if (wasItalic) {
        int32_t reach = pm.abcValid ? -pm.abcC[(unsigned char)s->text[last]] : 0;
        int32_t extra = pm.overhang + (reach > 0 ? reach : 0);
        s->advances[last] += extra;
        p->x += extra;
    } else if (isItalic) {
        int32_t reach = m.abcValid ? -m.abcA[(unsigned char)s->text[run->start]] : 0;
        int32_t shift = m.overhang + (reach > 0 ? reach : 0);
        if (shift > 0) FmtLayOp(s, FMT_OP_SHIFT, shift);
    }
}

// ---- The line

// The line's metrics as its runs are laid out: the largest ascent and descent of its fonts (the descent at
// least what its underlines need), and the largest spaces above and below.
struct FmtLayMetrics {
    int32_t ascent, descent, above, below;
};

static void FmtLayMeasureRun(const FmtLook *k, const FmtFontMetrics *m, FmtLayMetrics *out) {
    int32_t height = m->ascent + m->descent;
    out->ascent = Max(out->ascent, m->ascent);
    out->descent = Max(out->descent, Max(m->descent, k->underlineDescent));
    if (k->above) out->above = Max(out->above, NumMulDiv(height, k->above, 100));
    if (k->below) out->below = Max(out->below, NumMulDiv(height, k->below, 100));
}

static void FmtLayTarget(FmtState *s, const FmtRun *run) {
    if (s->target < 0) return;
    for (int32_t i = run->start; i < run->start + run->length; i++)
        if (s->columns[i] == s->target) s->line.targetStyle = run->style;
}

// HTML: a link's opening tag before its run, the run's span, and after it the closing tag; each copy from
// the side buffer closes the open span.
static void FmtLayHtmlBefore(FmtState *s, const FmtRun *run, FmtLayCurrent *cur) {
    if (!(s->htmlFlags & FMT_HTML_ON)) return;
    if (run->link) {
        FmtLayOp(s, FMT_OP_HTML, run->link);
        cur->style = 0;
    }
    if (run->style != cur->style) FmtLayOp(s, FMT_OP_STYLE, cur->style = run->style);
}

static void FmtLayHtmlAfter(FmtState *s, const FmtRun *run, FmtLayCurrent *cur) {
    if (!(s->htmlFlags & FMT_HTML_ON) || !run->link) return;
    FmtLayOp(s, FMT_OP_HTML, FMT_LINK_CLOSE);
    cur->style = 0;
}

// A tab is shown as a blank; with visible tabs or spaces the real tabs and blanks show as their marks. HTML
// keeps the text as it is.
static void FmtLayVisibleWhite(FmtState *s) {
    if (s->htmlFlags & FMT_HTML_ON) return;
    for (int32_t i = 0; i < s->length; i++) {
        bool real = !(s->columns[i] & FMT_COLUMN_INSERTED);
        if (s->text[i] == '\t')
            s->text[i] = real && s->visibleTabs ? (char)FMT_VISIBLE_TAB : ' ';
        else if (s->text[i] == ' ' && real && s->visibleSpaces)
            s->text[i] = (char)FMT_VISIBLE_BLANK;
    }
}

static int32_t FmtLayPoint(int32_t x, int32_t y) {
    return (int32_t)((uint32_t)(x & 0xFFFF) | (uint32_t)(y & 0xFFFF) << 16);
}

// The right-margin guide of the document type: screen lines of the buffer's own text only.
static void FmtLayMarginGuide(FmtState *s, int32_t origin, int32_t baseAvg) {
    s->line.drawCount = 0;
    if (!s->rightMargin || s->mode != FMT_SCREEN || s->target >= 0 || s->textOverride) return;
    int32_t x = origin + s->margin * baseAvg, before = s->opCount;
    FmtLayOp(s, FMT_OP_PEN, (int32_t)StyleContrastGrey());
    FmtLayOp(s, FMT_OP_MOVE_TO, FmtLayPoint(x, 0));
    FmtLayOp(s, FMT_OP_LINE_TO, FmtLayPoint(x, s->line.height));
    FmtLayOp(s, FMT_OP_END, 0);
    s->line.drawCount = s->opCount - before;
    s->line.flags |= FMT_LINE_DRAWING;
}

static void FmtLayStart(FmtState *s, FmtLine *l) {
    l->mode = s->mode;
    l->doc = s->doc;
    l->width = l->height = l->ascent = l->descent = l->spaceAbove = l->spaceBelow = 0;
    l->startFlags = s->base.flags & (STYLE_APP_UNDERLINE | STYLE_APP_BOX);
    l->startFore = s->base.fore;
    l->startBack = s->base.back;
    l->startShadow = s->base.shadow & 0xFFFFFF;
    l->flags = s->inRange ? (uint32_t)FMT_LINE_IN_RANGE : 0u;
    l->windowBack = s->windowBack;
    l->prefixX1 = s->prefixX1;
    l->prefixX2 = s->prefixX2;
    l->targetStyle = 0;
    s->opCount = 0;
}

static void FmtLayFinish(FmtState *s, FmtLine *l, const FmtLayMetrics *metrics, int32_t x) {
    l->ascent = metrics->ascent;
    l->descent = metrics->descent;
    l->spaceAbove = metrics->above;
    l->spaceBelow = metrics->below;
    l->height = metrics->ascent + metrics->descent + metrics->above + metrics->below;
    l->width = x;
    l->ops = s->ops;
    l->opCount = s->opCount;
    l->advances = s->advances;
    l->columns = s->columns;
    l->text = s->text;
    l->length = s->length;
    l->html = TextBufText(&s->html);
    l->htmlLength = s->html.length;
    l->htmlAnchor = s->anchorLength;
}

void FmtLayLine(FmtState *s) {
    FmtLine *l = &s->line;
    FmtLayStart(s, l);
    if (!FmtFontAt(s->baseFont)) s->baseFont = FmtFontIndex(s->mode, &s->base.font);
    const FmtFont *baseFont = FmtFontAt(s->baseFont);
    static FmtFont noFont;
    if (!baseFont) baseFont = &noFont;
    FmtLayPos p = {0, 0, 0, 0, Max(baseFont->metrics.avgWidth, 1)};
    FmtLayMetrics metrics = {baseFont->metrics.ascent, baseFont->metrics.descent, 0, 0};
    FmtLayCurrent cur = {l->startFore,
                         l->startBack,
                         l->startShadow,
                         -1,
                         l->startFlags & STYLE_APP_UNDERLINE,
                         (l->startFlags & STYLE_APP_BOX) >> STYLE_APP_BOX_SHIFT,
                         0};
    if (s->htmlFlags & FMT_HTML_ON) cur.style = s->openSpan;
    const FmtFont *previous = nullptr;
    for (int32_t r = 0; r < s->runCount; r++) {
        const FmtRun *run = &s->runs[r];
        const FmtLook *k = FmtLookOf(s, run->style, run->level, run->flags & FMT_RUN_SELECTED);
        const FmtFont *font = FmtFontAt(k->font);
        if (!font) font = baseFont;
        if (k->caps) FmtLayCaps(s, run->start, run->start + run->length, k->caps);
        FmtLaySeam(s, previous, run->start - 1, font, run, &p);
        FmtLayAttributes(s, k, &cur);
        FmtLayHtmlBefore(s, run, &cur);
        FmtLayChars(s, run, k, &font->metrics, &p);
        FmtLayOp(s, FMT_OP_RUN, run->length);
        FmtLayHtmlAfter(s, run, &cur);
        FmtLayMeasureRun(k, &font->metrics, &metrics);
        FmtLayTarget(s, run);
        if (k->keepNext) l->flags |= FMT_LINE_KEEP_NEXT;
        if (run->flags & FMT_RUN_SELECTED) l->flags |= FMT_LINE_SELECTED;
        previous = font;
    }
    if (s->prefixLength >= s->length) p.origin = p.x;
    FmtLayOp(s, FMT_OP_END, 0);
    int32_t streamCount = s->opCount;
    FmtLayVisibleWhite(s);
    FmtLayFinish(s, l, &metrics, p.x);
    FmtLayMarginGuide(s, p.origin, p.baseAvg);
    l->ops = s->ops;
    l->opCount = streamCount;
}
