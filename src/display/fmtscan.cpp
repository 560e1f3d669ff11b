// fmtscan: a line's text into styled runs (prefix FmtScan): the line fetched (or the text
// override), the line number in front, the language and lexer state of the line, the local symbols of the
// enclosing function, then token by token from the language's scanner: symbol styles, highlighted words,
// comment headings, end-comments after closing braces, operator substitutions, inactive code and the style
// override. The shown text differs from the buffer's: insertions carry FMT_COLUMN_INSERTED in their column,
// and a removed character simply has no shown character, so every later column keeps its own number.
#include "display/fmtrec.h"

#include "base/utilil.h"
#include "display/opts.h"
#include "display/html.h"
#include "doc/docfetch.h"
#include "doc/doclang.h"

#include <cctype>
#include <cstdio>
#include <cstring>

enum {
    FMT_ARROW_DOWN = 175, // "Symbol" font: the label lies below the line
    FMT_ARROW_UP = 173,
    FMT_GUILLEMET_OPEN = 0xAB,
    FMT_GUILLEMET_CLOSE = 0xBB,
    FMT_LONG_BLOCK = 19, // "only for long blocks": more lines than this
    FMT_LEX_NEST = 0x70, // lexer state: range nesting
    FMT_LEX_PAREN_SHIFT = 10,
    FMT_LEX_MAX_SHIFT = 13,
    FMT_SYMBOL_TYPE_VARIABLE = 5,
    FMT_SYMBOL_TYPE_LABEL = 16,
    FMT_SYMBOL_TYPE_PARAMETER = 32,
    FMT_SYMBOL_TYPE_CODE_BLOCK = 31,
};

// ---- Emitting

static void FmtScanEmitRun(FmtState *s, int32_t at, int32_t n, int32_t style, int32_t level, uint32_t flags,
                           int32_t link) {
    FmtRun *last = s->runCount ? &s->runs[s->runCount - 1] : nullptr;
    if (last && !link && !last->link && last->style == style && last->level == level &&
        last->flags == flags && last->start + last->length == at) {
        last->length += n;
        return;
    }
    if (!FmtReserveRuns(s, 1)) return;
    s->runs[s->runCount++] = {at, n, style, level, flags, link};
}

// Appends shown characters: real ones take the columns from `column` on, inserted ones all carry `column`
// (the real character they precede) with the inserted bit. Characters before the first formatted column go.
static void FmtScanEmit(FmtState *s, const char *chars, int32_t n, int32_t column, bool inserted,
                        int32_t style, int32_t level, uint32_t flags = 0, int32_t link = 0) {
    if (column < s->startColumn) {
        if (inserted || column + n <= s->startColumn) return;
        int32_t skip = s->startColumn - column;
        chars += skip;
        n -= skip;
        column += skip;
    }
    if (n <= 0 || !FmtReserveText(s, n)) return;
    if (s->styleOverride >= 0) style = s->styleOverride;
    memcpy(s->text + s->length, chars, n);
    for (int32_t i = 0; i < n; i++)
        s->columns[s->length + i] = inserted ? column | FMT_COLUMN_INSERTED : column + i;
    FmtScanEmitRun(s, s->length, n, style, level, flags, link);
    s->length += n;
    s->text[s->length] = 0;
}

static void FmtScanEmitSource(FmtState *s, int32_t from, int32_t to, int32_t style, int32_t level = 0,
                              int32_t link = 0) {
    FmtScanEmit(s, s->scan + from, to - from, from, false, style, level, 0, link);
}

// ---- The line

static bool FmtScanReserve(FmtState *s, int32_t n) {
    if (n <= s->scanCapacity) return true;
    char *scan = (char *)MemRealloc(s->scan, (size_t)n + 16);
    if (!scan) return false;
    s->scan = scan;
    s->scanCapacity = n + 16;
    return true;
}

// The text scanned: the line, then a blank unless it is empty or ends in one, then character 1.
static void FmtScanFetch(FmtState *s, int32_t line) {
    const char *src = s->textOverride;
    int32_t n;
    if (src) {
        n = (int32_t)strlen(src);
    } else {
        GetLine(s->doc, line, &s->record);
        src = s->record.text;
        n = s->record.length;
    }
    s->lineLength = s->scanLength = 0;
    if (!FmtScanReserve(s, n + 3)) return;
    memcpy(s->scan, src, n);
    s->lineLength = s->scanLength = n;
    if (n > 0 && s->scan[n - 1] != ' ') s->scan[s->scanLength++] = ' ';
    s->scan[s->scanLength++] = 1;
    s->scan[s->scanLength] = 0;
}

static void FmtScanLanguage(FmtState *s, int32_t line) {
    s->lang = s->doc && !s->textOverride ? DocLangAt(s->doc, line, 0) : s->doc ? s->doc->ilang : 0;
    FmtLang().switches(s->lang, &s->switches);
    uint32_t state = 0;
    if (s->doc && !s->textOverride) DocLexStateAtLine(s->doc, line, &state);
    s->line.lexState = state;
    s->inRange = (state & FMT_LEX_NEST) != 0;
    s->inactive =
        s->doc && !s->textOverride && (s->view & VIEW_INACTIVE_CODE) && DocLineRegionStart(s->doc, line);
}

static bool FmtScanSyntax(const FmtState *s) {
    return (s->view & VIEW_SYNTAX_FORMATTING) && s->switches.syntaxFormatting;
}

// Decorations: substitutions, arrows and annotations need syntax formatting, and no monochrome or draft view.
static bool FmtScanDecorations(const FmtState *s) {
    return FmtScanSyntax(s) && !(s->view & VIEW_MONOCHROME) && !s->draft;
}

static void FmtScanLocals(FmtState *s, int32_t line) {
    if (!(s->view & (VIEW_LOCAL_DECLARATIONS | VIEW_LOCAL_REFERENCES)) || !s->doc || s->textOverride) return;
    if (s->locals.first >= 0 && line >= s->locals.first && line <= s->locals.last) return;
    FmtLocalsClear(&s->locals);
    if (!FmtLang().parseLocals(s->doc, line, &s->locals) || s->locals.first < 0) {
        FmtLocalsClear(&s->locals);
        s->locals.first = s->locals.last = line; // no function here: asked again on the next line
    }
}

// ---- Identifiers

static bool FmtScanWordChar(int c) {
    return isalnum(c) || c == '_' || c == '$' || c >= 0x80;
}

static bool FmtScanWordStart(int c) {
    return FmtScanWordChar(c) && !isdigit(c);
}

// The text before a position, blanks skipped, ends with the operator.
static bool FmtScanPrecededBy(const FmtState *s, int32_t at, const char *op) {
    while (at > 0 && (s->scan[at - 1] == ' ' || s->scan[at - 1] == '\t')) at--;
    int32_t n = (int32_t)strlen(op);
    return at >= n && memcmp(s->scan + at - n, op, n) == 0;
}

static bool FmtScanFollowedBy(const FmtState *s, int32_t at, const char *op) {
    while (at < s->lineLength && (s->scan[at] == ' ' || s->scan[at] == '\t')) at++;
    return strncmp(s->scan + at, op, strlen(op)) == 0;
}

// What an identifier shows: its style, an arrow to insert before it (0 none) and a link (HTML).
struct FmtScanIdent {
    int32_t style;
    int arrow;
    int32_t link;
};

static int32_t FmtScanLocalStyle(const FmtState *s, const FmtSymbol *local, int32_t line, int32_t column) {
    bool declared = local->nameLine == line && local->nameColumn == column;
    if (declared) return s->view & VIEW_LOCAL_DECLARATIONS ? DeclStyleOf(local) : -1;
    if (!(s->view & VIEW_LOCAL_REFERENCES)) return -1;
    if (local->type == FMT_SYMBOL_TYPE_PARAMETER) return STYLE_REF_TO_PARAMETER;
    if (local->type == FMT_SYMBOL_TYPE_LABEL) return STYLE_REF_TO_LABEL;
    return STYLE_REF_TO_LOCAL;
}

// A link to a definition: "<a href=\"page#LNn\">" into the side buffer; its length, 0 when none is made.
static int32_t FmtScanLink(FmtState *s, const char *path, int32_t line) {
    if (!(s->htmlFlags & FMT_HTML_LINKS) || s->links >= FMT_LINKS_MAX || line < 0) return 0;
    char href[FMT_PATH * 2] = "";
    if (path && *path && !HtmlLinkTarget(s->doc, path, s->htmlFolder, s->htmlExtension, href)) return 0;
    int32_t before = s->html.length;
    TextBufPrintf(&s->html, "<a href=\"%s#LN%d\">", href, line + 1);
    if (s->html.failed) return 0;
    s->links++;
    return s->html.length - before;
}

static bool FmtScanTagStyle(FmtState *s, const char *word, int32_t line, int32_t column, FmtScanIdent *out) {
    FmtSymbol tag;
    if (!(s->view & VIEW_DECLARATIONS) || !FmtSymbols().tagAt(s->doc, line, column, word, &tag)) return false;
    if (tag.nameLine == line && tag.nameColumn == column) {
        out->style = DeclStyleOf(&tag);
        return true;
    }
    out->style = tag.type == FMT_SYMBOL_TYPE_LABEL      ? STYLE_REF_TO_LABEL
                 : tag.type == FMT_SYMBOL_TYPE_VARIABLE ? STYLE_REF_TO_LOCAL
                                                        : RefStyleOf(tag.type);
    if (tag.type == FMT_SYMBOL_TYPE_LABEL && (s->decor & DECOR_GOTO_ARROWS) && FmtScanDecorations(s))
        out->arrow = tag.nameLine > line ? FMT_ARROW_DOWN : FMT_ARROW_UP;
    if ((s->htmlFlags & FMT_HTML_ON) && (s->linkTypes >> tag.type & 1))
        out->link = FmtScanLink(s, nullptr, tag.nameLine);
    return true;
}

static int32_t FmtScanLookup(FmtState *s, const char *word, uint64_t types, uint32_t flags,
                             FmtScanIdent *out) {
    char path[FMT_PATH] = "";
    int32_t line = -1;
    bool wantLink = (s->htmlFlags & FMT_HTML_LINKS) != 0;
    int32_t type = FmtSymbols().lookup(s->doc, word, types, flags, wantLink ? path : nullptr,
                                       wantLink ? &line : nullptr);
    if (type < 0) return 0;
    if (wantLink && type < 64 && (s->linkTypes >> type & 1)) out->link = FmtScanLink(s, path, line);
    return RefStyleOf(type);
}

static FmtScanIdent FmtScanIdentStyle(FmtState *s, int32_t line, int32_t start, int32_t end) {
    FmtScanIdent ident = {0, 0, 0};
    char word[FMT_NAME_MAX];
    StrCopyMaxLen(s->scan + start, word, Min(end - start, FMT_NAME_MAX - 1));
    bool member =
        FmtScanPrecededBy(s, start, ".") ||
        (s->switches.cFamily && (FmtScanPrecededBy(s, start, "->") || FmtScanPrecededBy(s, start, "::")));
    bool call = FmtScanFollowedBy(s, end, "(");
    bool qualifier = FmtScanFollowedBy(s, end, "::");
    if (!member) {
        if (const FmtSymbol *local = FmtLocalsFind(&s->locals, word, (int32_t)strlen(word))) {
            int32_t style = FmtScanLocalStyle(s, local, line, start);
            if (style >= 0) return {style, 0, 0};
        }
        if (FmtScanTagStyle(s, word, line, start, &ident)) return ident;
    }
    uint32_t flags = (call ? (uint32_t)FMT_LOOKUP_CALL : 0u) |
                     (s->view & VIEW_SEARCH_SYMBOL_PATH ? (uint32_t)FMT_LOOKUP_SYMBOL_PATH : 0u);
    if (member) {
        if (!(s->view & VIEW_MEMBER_REFERENCES)) return ident;
        if (!(s->view & VIEW_QUALIFY_MEMBERS))
            ident.style = call ? STYLE_REF_TO_METHOD : STYLE_REF_TO_MEMBER;
        else
            ident.style = FmtScanLookup(s, word, s->typeSets[FMT_SET_MEMBERS], flags, &ident);
        return ident;
    }
    if (!(s->view & VIEW_GLOBAL_REFERENCES)) return ident;
    uint64_t functions = s->typeSets[s->switches.visualBasic ? FMT_SET_FUNCTIONS_VB : FMT_SET_FUNCTIONS];
    if (call && !(s->view & VIEW_QUALIFY_FUNCTIONS)) {
        ident.style = STYLE_REF_TO_FUNC;
        if (s->htmlFlags & FMT_HTML_LINKS) FmtScanLookup(s, word, functions, flags, &ident); // for its link
        return ident;
    }
    uint64_t types = qualifier ? s->typeSets[FMT_SET_QUALIFIERS] : call ? functions : ~0ull;
    ident.style = FmtScanLookup(s, word, types, flags, &ident);
    return ident;
}

// ---- Comments, braces and operators

static bool FmtScanHeadingKind(int32_t kind) {
    return (kind >= STYLE_COMMENT_HEADING_1 && kind <= STYLE_COMMENT_HEADING_4) || kind == STYLE_COMMENT_TODO;
}

// A heading or to-do comment that starts with the language's marker (and a heading's digit) and has text
// after the blanks that follow: where that text starts, else -1.
static int32_t FmtScanHeadingText(const FmtState *s, int32_t kind, int32_t start, int32_t end) {
    const char *marker = s->switches.headingMarker;
    int32_t n = (int32_t)strlen(marker);
    if (!n || end - start < n || memcmp(s->scan + start, marker, n) != 0) return -1;
    int32_t at = start + n;
    if (kind != STYLE_COMMENT_TODO && at < end && s->scan[at] == '1' + (kind - STYLE_COMMENT_HEADING_1)) at++;
    while (at < end && (s->scan[at] == ' ' || s->scan[at] == '\t')) at++;
    return at < end ? at : -1;
}

static int32_t FmtScanCommentKind(const FmtState *s, int32_t kind) {
    bool special = (s->view & VIEW_COMMENT_STYLES) && !s->draft;
    if ((FmtScanHeadingKind(kind) || kind == STYLE_COMMENT_RIGHT) && !special) return STYLE_COMMENT_SINGLE;
    return kind;
}

// " «end name» " after a closing brace that ends a symbol of the file.
static void FmtScanAnnotate(FmtState *s, int32_t line, int32_t column) {
    if (!(s->decor & DECOR_END_COMMENTS) || !FmtScanDecorations(s) || !s->doc || s->textOverride) return;
    FmtSymbol tag;
    if (!FmtSymbols().tagEndingAt(s->doc, line, column, &tag)) return;
    if ((s->decor & DECOR_END_COMMENTS_LONG) && tag.lineCount <= FMT_LONG_BLOCK) return;
    if (tag.type == FMT_SYMBOL_TYPE_CODE_BLOCK && DocCharAt(s->doc, tag.line, tag.column) == '{') return;
    char note[FMT_NAME_MAX + 16];
    int n = snprintf(note, sizeof note, " %cend %s%c ", FMT_GUILLEMET_OPEN, tag.name, FMT_GUILLEMET_CLOSE);
    FmtScanEmit(s, note, n, column + 1, true, STYLE_AUTO_ANNOTATIONS, 0);
}

struct FmtScanSubstitution {
    const char *op;
    uint32_t bit;
    unsigned char symbol;
};

static const FmtScanSubstitution fmtScanSubstitutions[] = {
    {"->", DECOR_ARROW, 174},      {"!=", DECOR_NOT_EQUAL, 185},     {"==", DECOR_EQUAL, '='},
    {"<=", DECOR_LESS_EQUAL, 163}, {">=", DECOR_GREATER_EQUAL, 179}, {"=", DECOR_ASSIGN_ARROW, 172},
    {"/", DECOR_DIVISION, 184},    {"&&", DECOR_AND, 199},           {"||", DECOR_OR, 200},
};

// The character an operator token is shown as in the "Symbol" font; 0 when it stays as it is.
static int FmtScanSubstitute(const FmtState *s, int32_t start, int32_t end) {
    if (!(s->decor & DECOR_SUBSTITUTIONS) || !FmtScanDecorations(s)) return 0;
    const char *token = s->scan + start;
    int32_t n = end - start;
    if (s->switches.visualBasic && n == 2 && memcmp(token, "<>", 2) == 0) token = "!=";
    for (const FmtScanSubstitution &sub : fmtScanSubstitutions)
        if ((int32_t)strlen(sub.op) == n && memcmp(token, sub.op, n) == 0 && (s->decor & sub.bit))
            return sub.symbol;
    return 0;
}

// ---- Tokens

// The nesting level a parenthesis is shown at: its depth counted from the deepest level of its group.
static int32_t FmtScanParenLevel(const FmtToken *t, char c) {
    uint32_t state = c == '(' ? t->stateOut : t->stateIn;
    int32_t depth = (int32_t)(state >> FMT_LEX_PAREN_SHIFT & 7),
            deepest = (int32_t)(state >> FMT_LEX_MAX_SHIFT & 7);
    return Clamp(deepest - depth, 0, FMT_LEVEL_MAX);
}

static void FmtScanToken(FmtState *s, const FmtToken *t) {
    int32_t start = t->start, end = Min(t->end, s->lineLength), kind = t->kind;
    if (start >= end || end <= s->startColumn) return;
    if (kind == FMT_KIND_BLANKS) kind = STYLE_DEFAULT_TEXT;
    int32_t level = 0;
    if (kind == STYLE_PARENTHESES && (s->view & VIEW_SCALE_PARENS))
        level = FmtScanParenLevel(t, s->scan[start]);
    FmtScanIdent ident = {kind, 0, 0};
    bool outside = (t->stateIn & FMT_LEX_NEST) == 0;
    if (kind == 0 && outside && FmtScanWordStart((unsigned char)s->scan[start]) && s->doc && !s->textOverride)
        ident = FmtScanIdentStyle(s, t->line, start, end);
    kind = ident.style;
    int32_t highlighted;
    if (FmtLang().highlightedWord(s->scan + start, end - start, &highlighted)) kind = highlighted;
    kind = FmtScanCommentKind(s, kind);
    if (FmtScanHeadingKind(kind)) {
        int32_t text = FmtScanHeadingText(s, kind, start, end);
        if (text >= 0) start = text;
    }
    if (s->inactive) kind = STYLE_INACTIVE_CODE;
    if (ident.arrow) {
        char arrow = (char)ident.arrow;
        FmtScanEmit(s, &arrow, 1, start, true, STYLE_SYMBOL_CHARS, 0);
    }
    if (int symbol =
            kind == STYLE_DEFAULT_TEXT || kind == STYLE_OPERATOR ? FmtScanSubstitute(s, start, end) : 0) {
        char c = (char)symbol;
        FmtScanEmit(s, &c, 1, start, false, STYLE_SYMBOL_CHARS, 0);
        return;
    }
    FmtScanEmitSource(s, start, end, kind, level, ident.link);
    if (ident.link) TextBufAppendSz(&s->html, "</a>");
    if (end - start == 1 && s->scan[start] == '}' && outside) FmtScanAnnotate(s, t->line, start);
}

static void FmtScanTokens(FmtState *s, int32_t line) {
    FmtToken t = {s->doc, line, s->lang, s->scan, s->scanLength, 0, 0, 0, s->line.lexState, 0};
    while (t.start < s->scanLength) {
        t.end = s->scanLength;
        t.kind = 0;
        t.stateOut = t.stateIn;
        if (!FmtLang().scanStyledToken(&t)) t.end = s->scanLength, t.kind = 0, t.stateOut = t.stateIn;
        if (t.end <= t.start || t.end > s->scanLength) t.end = t.start + 1;
        FmtScanToken(s, &t);
        t.start = t.end;
        t.stateIn = t.stateOut;
    }
}

static void FmtScanLineNumber(FmtState *s, int32_t line) {
    char number[16];
    FormatLineNumberFormat(s->doc, line, number);
    FmtScanEmit(s, number, (int32_t)strlen(number), 0, true, STYLE_LINE_NUMBER, 0);
}

void FmtScanLine(FmtState *s, int32_t line) {
    s->line.line = line;
    s->length = 0;
    s->runCount = 0;
    s->links = 0;
    TextBufClear(&s->html);
    if (FmtReserveText(s, 0)) s->text[0] = 0;
    if (s->htmlFlags & FMT_HTML_ON) TextBufPrintf(&s->html, "<a name=\"LN%d\"></a>", line + 1);
    s->anchorLength = s->html.length;
    FmtScanFetch(s, line);
    if (s->lineNumbers) FmtScanLineNumber(s, line);
    s->prefixLength = s->length;
    FmtScanLanguage(s, line);
    if (!FmtScanSyntax(s)) {
        FmtScanEmitSource(s, 0, s->lineLength, s->inactive ? STYLE_INACTIVE_CODE : STYLE_DEFAULT_TEXT);
        return;
    }
    FmtScanLocals(s, line);
    FmtScanTokens(s, line);
}

// ---- Selection

// Splits run r at shown index `at` (inside it); false when out of room.
static bool FmtScanSplitRun(FmtState *s, int32_t r, int32_t at) {
    if (!FmtReserveRuns(s, 1)) return false;
    FmtRun *run = &s->runs[r];
    memmove(run + 1, run, sizeof(FmtRun) * (size_t)(s->runCount - r));
    s->runCount++;
    int32_t left = at - run->start;
    run->length = left;
    run[1].start = at;
    run[1].length -= left;
    return true;
}

static bool FmtScanSelected(const FmtState *s, int32_t i, int32_t from, int32_t to) {
    int32_t column = s->columns[i];
    return !(column & FMT_COLUMN_INSERTED) && column >= from && column < to;
}

void FmtScanMarkSelection(FmtState *s, int32_t from, int32_t to) {
    for (int32_t r = 0; r < s->runCount; r++) {
        FmtRun *run = &s->runs[r];
        bool selected = FmtScanSelected(s, run->start, from, to);
        int32_t i = run->start + 1, end = run->start + run->length;
        while (i < end && FmtScanSelected(s, i, from, to) == selected) i++;
        if (i < end && !FmtScanSplitRun(s, r, i)) return;
        if (selected) s->runs[r].flags |= FMT_RUN_SELECTED;
    }
}
