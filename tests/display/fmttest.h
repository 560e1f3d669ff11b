// What the display's tests share: a fixture with the document core's (doc/doctest.h), the default style
// sheet and display settings with the symbol views and end-comments on, and stand-ins for the layers above display registered through the formatter's
// hooks: a small C-like language (its scanner, lexer states, local symbols, switches) and a tag table for the
// file's symbols and the symbol database's lookups. Helpers read a formatted line back as runs.
#pragma once

#include "base/toolbox.h"
#include "display/opts.h"
#include "display/fmtcmt.h"
#include "display/fmtfont.h"
#include "display/fmthook.h"
#include "display/format.h"
#include "display/style.h"
#include "doc/doctest.h"
#include "doc/dochook.h"
#include "doc/doclang.h"
#include "doc/dta.h"
#include "doc/sel.h"

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fmttest {

enum : uint32_t {
    LEX_NEST = 0x10, // one level of range nesting: inside a block comment
    LEX_PAREN = 0x400,
    LEX_PAREN_MASK = 0x1C00,
};
enum { LANG_C = 1 };

// The views and decorations the cases expect on besides the defaults, which leave them off: symbol
// declarations and references, special comments, inactive code, and end-comments on long blocks.
enum : uint32_t {
    FMT_TEST_VIEWS = VIEW_DECLARATIONS | VIEW_LOCAL_DECLARATIONS | VIEW_LOCAL_REFERENCES |
                     VIEW_GLOBAL_REFERENCES | VIEW_MEMBER_REFERENCES | VIEW_COMMENT_STYLES |
                     VIEW_INACTIVE_CODE,
    FMT_TEST_DECORATIONS = DECOR_END_COMMENTS | DECOR_END_COMMENTS_LONG,
};

inline bool IsWord(int c) {
    return isalnum(c) || c == '_';
}

// The C-like scanner: blanks, block and line comments (headings "//1" to "//4", "// TODO:", comments after
// code), strings, numbers, keywords, parentheses, delimiters, and runs of other characters.
inline int32_t ScanLineComment(const char *text, int32_t start, int32_t *kind) {
    const char *after = text + start + 2;
    bool code = false;
    for (int32_t i = 0; i < start; i++) code = code || (text[i] != ' ' && text[i] != '\t');
    if (*after >= '1' && *after <= '4' && !isdigit((unsigned char)after[1]))
        *kind = 103 + (*after - '1');
    else if (strncmp(after, " TODO:", 6) == 0)
        *kind = 120;
    else
        *kind = code ? 107 : 125;
    return (int32_t)strlen(text);
}

// The deepest parenthesis level the group opened at text reaches on the line.
inline uint32_t DeepestAhead(const char *text, uint32_t depth) {
    uint32_t deepest = depth;
    for (; *text; text++) {
        if (*text == '(')
            deepest = ++depth > deepest ? depth : deepest;
        else if (*text == ')' && depth && --depth == 0)
            break;
    }
    return deepest < 7 ? deepest : 7;
}

inline bool Scan(FmtToken *t) {
    const char *text = t->text;
    int32_t i = t->start, n = t->length;
    t->stateOut = t->stateIn;
    auto block = [&](int32_t from) {
        const char *close = strstr(text + from, "*/");
        t->kind = 4;
        if (!close) {
            t->stateOut = (t->stateOut & ~0x70u) | LEX_NEST;
            return n;
        }
        t->stateOut &= ~0x70u;
        return (int32_t)(close - text) + 2;
    };
    char c = text[i];
    if (t->stateIn & 0x70) {
        t->end = block(i);
    } else if (c == ' ' || c == '\t') {
        while (i < n && (text[i] == ' ' || text[i] == '\t')) i++;
        t->end = i, t->kind = FMT_KIND_BLANKS;
    } else if (c == '/' && text[i + 1] == '*') {
        t->end = block(i + 2);
    } else if (c == '/' && text[i + 1] == '/') {
        t->end = ScanLineComment(text, i, &t->kind);
    } else if (c == '"') {
        i++;
        while (i < n && text[i] != '"') i++;
        t->end = i < n ? i + 1 : n, t->kind = 5;
    } else if (isdigit((unsigned char)c)) {
        while (i < n && (isalnum((unsigned char)text[i]) || text[i] == '.')) i++;
        t->end = i, t->kind = 1;
    } else if (IsWord((unsigned char)c)) {
        while (i < n && IsWord((unsigned char)text[i])) i++;
        std::string word(text + t->start, i - t->start);
        static const std::set<std::string> keywords = {"int", "return", "if", "while", "void", "goto", "for"};
        t->end = i, t->kind = keywords.count(word) ? 6 : 0;
    } else if (c == '(' || c == ')') {
        uint32_t depth = t->stateIn >> 10 & 7, deepest = t->stateIn >> 13 & 7;
        if (c == '(' && !deepest) deepest = DeepestAhead(text + i, depth);
        depth = c == '(' ? (depth < 7 ? depth + 1 : 7) : (depth ? depth - 1 : 0);
        if (!depth && c == ')') deepest = 0;
        t->stateOut = (t->stateOut & ~(LEX_PAREN_MASK | 0xE000u)) | depth << 10 | deepest << 13;
        t->end = i + 1, t->kind = 127;
    } else if (strchr("{};,[]", c)) {
        t->end = i + 1, t->kind = 3;
    } else {
        while (i < n && text[i] != ' ' && !IsWord((unsigned char)text[i]) && !strchr("{};,[]()\"", text[i]) &&
               text[i] != 1)
            i++;
        t->end = i > t->start ? i : t->start + 1, t->kind = 0;
    }
    return true;
}

// The lexer state at a line's start: every line above scanned from state 0.
inline int LexStateAt(Lang *, FileBuffer *doc, int32_t line, int32_t, uint32_t *out) {
    uint32_t state = 0;
    for (int32_t l = 0; l < line; l++) {
        LineRecord record;
        GetLine(doc, l, &record);
        std::string text(record.text, record.length);
        text += " \x01";
        FmtToken t = {doc, l, LANG_C, text.c_str(), (int32_t)text.size(), 0, 0, 0, state, 0};
        while (t.start < t.length) {
            Scan(&t);
            t.start = t.end;
            t.stateIn = t.stateOut;
        }
        state = t.stateIn;
    }
    *out = state;
    return 1;
}

inline void Switches(int32_t lang, FmtLangSwitches *out) {
    memset(out, 0, sizeof *out);
    out->syntaxFormatting = lang == LANG_C;
    out->cFamily = lang == LANG_C;
    strcpy(out->headingMarker, lang == LANG_C ? "//" : "");
}

// The file's symbols and the database.
struct World {
    std::vector<FmtSymbol> tags;
    std::vector<FmtSymbol> locals; // returned by the local parse for lines inside localsFirst..localsLast
    int32_t localsFirst = -1, localsLast = -1;
    int localParses = 0;
    std::map<std::string, int32_t> database; // name -> type
    std::map<std::string, std::pair<std::string, int32_t>> definitions;
    std::map<std::string, int32_t> highlighted;
    std::string sourceFolder;
    std::vector<std::string> lookups; // names looked up
};

inline World &TheWorld() {
    static World world;
    return world;
}

inline FmtSymbol Symbol(const char *name, int32_t type, int32_t line, int32_t column, int32_t lineCount,
                        int32_t nameLine = -1, int32_t nameColumn = -1, int32_t parentType = -1) {
    FmtSymbol s = {};
    s.type = type;
    s.parentType = parentType;
    s.line = line;
    s.column = column;
    s.lineCount = lineCount;
    s.nameLine = nameLine < 0 ? line : nameLine;
    s.nameColumn = nameColumn < 0 ? column : nameColumn;
    strncpy(s.name, name, FMT_NAME_MAX - 1);
    return s;
}

inline bool TagAt(FileBuffer *, int32_t, int32_t, const char *name, FmtSymbol *out) {
    for (const FmtSymbol &s : TheWorld().tags)
        if (strcmp(s.name, name) == 0) return *out = s, true;
    return false;
}

inline bool TagEndingAt(FileBuffer *, int32_t line, int32_t, FmtSymbol *out) {
    for (const FmtSymbol &s : TheWorld().tags)
        if (s.line + s.lineCount == line + 1) return *out = s, true;
    return false;
}

inline int32_t Lookup(FileBuffer *, const char *name, uint64_t types, uint32_t, char *path, int32_t *line) {
    TheWorld().lookups.push_back(name);
    auto found = TheWorld().database.find(name);
    if (found == TheWorld().database.end() || !(types >> found->second & 1)) return -1;
    auto def = TheWorld().definitions.find(name);
    if (path) strcpy(path, def != TheWorld().definitions.end() ? def->second.first.c_str() : "");
    if (line) *line = def != TheWorld().definitions.end() ? def->second.second : -1;
    return found->second;
}

inline void SourceFolder(FileBuffer *, char *out) {
    strcpy(out, TheWorld().sourceFolder.c_str());
}

inline bool ParseLocals(FileBuffer *, int32_t line, FmtLocals *out) {
    World &w = TheWorld();
    w.localParses++;
    if (line < w.localsFirst || line > w.localsLast) return false;
    out->first = w.localsFirst;
    out->last = w.localsLast;
    for (const FmtSymbol &s : w.locals) FmtLocalsAdd(out, &s);
    return true;
}

inline bool Highlighted(const char *word, int32_t length, int32_t *kind) {
    auto found = TheWorld().highlighted.find(std::string(word, length));
    if (found == TheWorld().highlighted.end()) return false;
    *kind = found->second;
    return true;
}

// One run of a formatted line as the stream draws it.
struct RunOf {
    std::string text;
    uint32_t fore, back;
    int32_t font;
    int32_t style; // HTML mode only, else -1
};

inline std::vector<RunOf> Runs(const FmtLine *l) {
    std::vector<RunOf> runs;
    uint32_t fore = l->startFore, back = l->startBack;
    int32_t font = -1, style = -1, at = 0;
    for (int32_t i = 0; i < l->opCount && l->ops[i].op != FMT_OP_END; i++) {
        const FmtOp &op = l->ops[i];
        if (op.op == FMT_OP_COLOR)
            fore = (uint32_t)op.value;
        else if (op.op == FMT_OP_BACK)
            back = (uint32_t)op.value;
        else if (op.op == FMT_OP_FONT)
            font = op.value;
        else if (op.op == FMT_OP_STYLE)
            style = op.value;
        else if (op.op == FMT_OP_RUN) {
            runs.push_back({std::string(l->text + at, op.value), fore, back, font, style});
            at += op.value;
        }
    }
    return runs;
}

inline std::string Shown(const FmtLine *l) {
    return std::string(l->text, l->length);
}

class FmtTest : public doctest::DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        ToolboxSetProgramDir(doctest::TempDir().c_str());
        ASSERT_TRUE(DtaDefaults());
        OptReset();
        SetOptions(FMT_TEST_VIEWS, FMT_TEST_DECORATIONS);
        StyleSheetInstall(StyleSheetBuildDefault(), false);
        FormatInit();
        TheWorld() = World{};
        FmtLangHook lang = *FmtLangNeutral();
        lang.switches = Switches;
        lang.scanStyledToken = Scan;
        lang.parseLocals = ParseLocals;
        lang.highlightedWord = Highlighted;
        FmtSetLangHook(&lang);
        FmtSymbolHook symbols = *FmtSymbolNeutral();
        symbols.tagAt = TagAt;
        symbols.tagEndingAt = TagEndingAt;
        symbols.lookup = Lookup;
        symbols.sourceFolder = SourceFolder;
        FmtSetSymbolHook(&symbols);
        DocLangHook docLang = *DocLangNeutral();
        docLang.getLexStateAt = LexStateAt;
        DocSetLangHook(&docLang);
    }
    void TearDown() override {
        while (FormatDepth()) FormatEnd();
        FormatExit();
        CLineFlush();
        StyleSheetInstall(nullptr, false);
        OptReset();
        DocTest::TearDown();
        DtaTableExit();
        ToolboxSetProgramDir("");
    }
    // A buffer of the C-like language holding the lines.
    FileBuffer *CDoc(const std::vector<std::string> &lines, const char *name = "a.c") {
        std::string text;
        for (const std::string &l : lines) text += l + "\r\n";
        FileBuffer *doc = doctest::Load(name, text);
        EXPECT_NE(doc, nullptr);
        if (doc) doc->ilang = LANG_C;
        return doc;
    }
    // Formats one line of the buffer in a fresh formatting (closed by TearDown or Done).
    const FmtLine *Format(FileBuffer *doc, int32_t line) {
        if (!FormatDepth()) FormatBegin(doc, FMT_SCREEN, nullptr);
        FormatLine(line);
        return FmtCurrentLine();
    }
    void Done() {
        while (FormatDepth()) FormatEnd();
    }
    void SetOptions(uint32_t viewOn, uint32_t decorOn = 0, uint32_t view2On = 0) {
        g_viewOptions |= viewOn;
        g_decorOptions |= decorOn;
        g_viewOptions2 |= view2On;
    }
    int32_t StyleAt(FileBuffer *doc, int32_t line, int32_t column) { return DocStyleAt(doc, line, column); }
    // The index of the first character of `what` in the shown text.
    int32_t ShownAt(const FmtLine *l, const std::string &what) { return (int32_t)Shown(l).find(what); }
    int32_t XAt(const FmtLine *l, int32_t shown) {
        int32_t x = 0;
        for (int32_t i = 0; i < shown; i++) x += l->advances[i];
        return x;
    }
    // The buffer's document type with more flags (and a margin column when not 0).
    void SetTypeFlags(FileBuffer *doc, uint32_t flags, int32_t margin) {
        DtaOptions options;
        char name[256], wildcards[256], pattern[256];
        DtaFont font;
        DtaGetType(doc->idta, &options, name, wildcards, pattern, &font);
        options.flags |= flags;
        if (margin) options.margin = margin;
        ASSERT_TRUE(DtaReplace(doc->idta, &options, name, wildcards, pattern, nullptr, &font));
    }
    int32_t CountOps(const FmtLine *l, int32_t op) {
        int32_t n = 0;
        for (int32_t i = 0; i < l->opCount; i++) n += l->ops[i].op == op;
        return n;
    }
    int32_t Width(char c, int32_t font) {
        const FmtFont *f = FmtFontAt(font);
        return f ? f->metrics.widths[(unsigned char)c] : 0;
    }
};

} // namespace fmttest
