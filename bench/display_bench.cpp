// display_bench: formatting and drawing a screen of source text. The first run writes a generated C file of
// 1,000,000 lines (functions, comments, strings, numbers, tabs; about 40 characters a line) into the
// temporary folder and reuses it later. It loads the file, registers a C-like scanner through the
// formatter's language hook (lexer states kept in the buffer's lexer cache), and formats and draws the rows
// of a 1920 x 1080 screen from line 500,000 in Courier New 10 pt with the default style sheet into a DIB
// section. The floor is one ExtTextOut per row of the same text in one font and colour into the same DIB.
// Rows: warm (every cache filled by an earlier paint) and cold (the formatter's fonts and looks, the font
// layer's fonts and the line fetch cache emptied before each paint; the lexer states stay, as the language
// layer keeps them). Each figure is the median of 41 rounds of one paint of each kind. The last line sums up
// the rows against their targets: "display: K of N rows within target".
#include "base/file.h"
#include "base/filecache.h"
#include "base/heap.h"
#include "display/fmtdraw.h"
#include "display/fmtfont.h"
#include "display/fmthook.h"
#include "display/format.h"
#include "display/style.h"
#include "doc/dlex.h"
#include "doc/doc.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/doclang.h"
#include "doc/dta.h"
#include "doc/rgl.h"
#include "shell/hubinit.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/pen.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum {
    BENCH_LINES = 1000000,
    BENCH_FIRST = 500000,
    BENCH_WIDTH = 1920,
    BENCH_HEIGHT = 1080,
    BENCH_PAINTS = 41,
    BENCH_LANG = 1,
};

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

std::string TempPath(const char *name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

// Eleven lines a function: a comment, the head, a body with a string, numbers, a loop and tabs.
bool WriteBenchFile(const std::string &path) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    for (int n = 0, written = 0; written < BENCH_LINES; n++) {
        char block[11][96];
        snprintf(block[0], 96, "/* Function %d: adds the terms of a row. */", n);
        snprintf(block[1], 96, "static int sum_row_%d(int a, int b)", n);
        snprintf(block[2], 96, "{");
        snprintf(block[3], 96, "\tint total = a * %d + b; // running sum", n % 977);
        snprintf(block[4], 96, "\tconst char *name = \"row %d of the table\";", n);
        snprintf(block[5], 96, "\tfor (int i = 0; i < %d; i++) {", 16 + n % 48);
        snprintf(block[6], 96, "\t\ttotal += i * 0x%X - (b >> 2);", n % 4096);
        snprintf(block[7], 96, "\t}");
        snprintf(block[8], 96, "\treturn total + (int)strlen(name);");
        snprintf(block[9], 96, "}");
        snprintf(block[10], 96, "%s", "");
        for (int i = 0; i < 11 && written < BENCH_LINES; i++, written++) fprintf(f, "%s\r\n", block[i]);
    }
    return fclose(f) == 0;
}

// ---- The C-like language

bool IsWord(int c) {
    return isalnum(c) || c == '_';
}

bool IsKeyword(const char *word, int32_t n) {
    static const char *const keywords[] = {"char",   "const",  "for",  "if",    "int",
                                           "return", "static", "void", "while", "unsigned"};
    for (const char *k : keywords)
        if ((int32_t)strlen(k) == n && memcmp(k, word, n) == 0) return true;
    return false;
}

int32_t ScanComment(FmtToken *t, int32_t from) {
    const char *close = strstr(t->text + from, "*/");
    t->kind = 4;
    if (!close) {
        t->stateOut = (t->stateOut & ~0x70u) | 0x10u;
        return t->length;
    }
    t->stateOut &= ~0x70u;
    return (int32_t)(close - t->text) + 2;
}

bool Scan(FmtToken *t) {
    const char *text = t->text;
    int32_t i = t->start, n = t->length;
    char c = text[i];
    t->stateOut = t->stateIn;
    t->kind = 0;
    if (t->stateIn & 0x70) {
        t->end = ScanComment(t, i);
    } else if (c == ' ' || c == '\t') {
        while (i < n && (text[i] == ' ' || text[i] == '\t')) i++;
        t->end = i, t->kind = FMT_KIND_BLANKS;
    } else if (c == '/' && text[i + 1] == '*') {
        t->end = ScanComment(t, i + 2);
    } else if (c == '/' && text[i + 1] == '/') {
        t->end = n, t->kind = 107;
    } else if (c == '"') {
        for (i++; i < n && text[i] != '"'; i++) i += text[i] == '\\';
        t->end = i < n ? i + 1 : n, t->kind = 5;
    } else if (isdigit((unsigned char)c)) {
        while (i < n && IsWord((unsigned char)text[i])) i++;
        t->end = i, t->kind = 1;
    } else if (IsWord((unsigned char)c)) {
        while (i < n && IsWord((unsigned char)text[i])) i++;
        t->end = i, t->kind = IsKeyword(text + t->start, i - t->start) ? 6 : 0;
    } else if (c == '(' || c == ')') {
        t->end = i + 1, t->kind = 127;
    } else if (strchr("{};,[]", c)) {
        t->end = i + 1, t->kind = 3;
    } else {
        while (i < n && !IsWord((unsigned char)text[i]) && !strchr(" \t{};,[]()\"\x01", text[i])) i++;
        t->end = i > t->start ? i : t->start + 1;
    }
    return true;
}

uint32_t ScanLineState(FileBuffer *doc, int32_t line, uint32_t state) {
    static LineRecord record;
    GetLine(doc, line, &record);
    record.text[record.length] = ' ';
    record.text[record.length + 1] = 1;
    record.text[record.length + 2] = 0;
    FmtToken t = {doc, line, BENCH_LANG, record.text, record.length + 2, 0, 0, 0, state, 0};
    for (; t.start < t.length; t.start = t.end, t.stateIn = t.stateOut) Scan(&t);
    return t.stateIn;
}

// The state at a line's start, from the nearest line the buffer's lexer cache knows.
int LexStateAt(Lang *, FileBuffer *doc, int32_t line, int32_t, uint32_t *out) {
    LineLexCache *cache = DocGetLexCache(doc);
    if (!cache) {
        DocSetLexCache(doc, LexCacheNew(doc, nullptr));
        cache = DocGetLexCache(doc);
    }
    if (cache) LexCacheSync(cache);
    int32_t from = cache ? LexCacheNearestValid(cache, line) : -1;
    uint32_t state = 0;
    if (from < 0)
        from = 0;
    else
        LexCacheGetState(cache, from, &state);
    for (int32_t l = from; l < line; l++) {
        state = ScanLineState(doc, l, state) & 0xFFFF;
        if (cache) LexCacheSetState(cache, l + 1, state);
    }
    *out = state;
    return 1;
}

void Switches(int32_t lang, FmtLangSwitches *out) {
    memset(out, 0, sizeof *out);
    out->syntaxFormatting = lang == BENCH_LANG;
    out->cFamily = true;
    strcpy(out->headingMarker, "//");
}

// ---- The screen

struct Screen {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

Screen MakeScreen() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = BENCH_WIDTH;
    info.bmiHeader.biHeight = -BENCH_HEIGHT;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    Screen s;
    void *bits;
    s.dc = CreateCompatibleDC(nullptr);
    s.bitmap = CreateDIBSection(s.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    s.previous = SelectObject(s.dc, s.bitmap);
    return s;
}

// Formats and draws the rows from the first line down the screen; the number of rows drawn.
int32_t Paint(FileBuffer *doc, HDC dc) {
    FormatBegin(doc, FMT_SCREEN, dc);
    int32_t y = 0, rows = 0;
    for (int32_t line = BENCH_FIRST; line < doc->lnMac; line++, rows++) {
        FormatLine(line);
        const FmtLine *l = FmtCurrentLine();
        if (y + l->height > BENCH_HEIGHT) break;
        DrawFormattedLine(l, 3, dc, 0, y, 0, BENCH_WIDTH);
        y += l->height;
    }
    FormatEnd();
    GdiFlush();
    return rows;
}

void EmptyCaches() {
    FlushFormatCache();
    FontFreeDevice(DRAW_SCREEN);
    PenFreeAll();
    DocResetFetchCache();
    RunTableResetCache();
}

struct Floor {
    std::vector<std::string> texts;
    HFONT font;
    int32_t height;
};

Floor MakeFloor(FileBuffer *doc, int32_t rows, const FontDesc *desc) {
    Floor f;
    static LineRecord record;
    for (int32_t i = 0; i < rows; i++) {
        GetLine(doc, BENCH_FIRST + i, &record);
        f.texts.emplace_back(record.text, record.length);
    }
    f.height = FontGet(DRAW_SCREEN, desc)->lineHeight;
    f.font = FontCreate(DRAW_SCREEN, desc); // its own: emptying the font cache leaves it alone
    return f;
}

void PaintFloor(const Floor &f, HDC dc) {
    HGDIOBJ old = SelectObject(dc, f.font);
    SetTextColor(dc, 0x000000);
    SetBkColor(dc, 0xFFFFFF);
    int32_t y = 0;
    for (const std::string &text : f.texts) {
        RECT row = {0, y, BENCH_WIDTH, y + f.height};
        ExtTextOutA(dc, 0, y, ETO_OPAQUE, &row, text.data(), (UINT)text.size(), nullptr);
        y += f.height;
    }
    SelectObject(dc, old);
    GdiFlush();
}

template <class Paint>
double Timed(Paint paint) {
    auto start = std::chrono::steady_clock::now();
    paint();
    return Ms(start);
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Report(const char *what, double ms, double floor, double target) {
    double ratio = ms / floor;
    bool ok = ratio <= target;
    printf("%-6s %8.3f ms  %5.2f x the floor  target %.1f x  %s\n", what, ms, ratio, target,
           ok ? "ok" : "MISSES");
    return ok;
}

FileBuffer *LoadBenchDoc(const std::string &path, FontDesc *font) {
    FileBuffer *doc = DocLoadFile(path.c_str(), -1, false);
    if (!doc) return nullptr;
    doc->ilang = BENCH_LANG;
    FontDescInit(font, "Courier New", 40);
    font->style = 1 << 8; // fixed pitch
    DocSetFont(doc, font);
    return doc;
}

void RegisterHooks() {
    FmtLangHook lang = *FmtLangNeutral();
    lang.switches = Switches;
    lang.scanStyledToken = Scan;
    FmtSetLangHook(&lang);
    DocLangHook docLang = *DocLangNeutral();
    docLang.getLexStateAt = LexStateAt;
    DocSetLangHook(&docLang);
}

} // namespace

int main() {
    HeapInit();
    FileCacheInit(FILE_CACHE_DEFAULT_KB);
    DocShellHook shell = *DocShellNeutral();
    shell.makeTempFile = MakeTempFile;
    DocSetShellHook(&shell);
    if (!ScratchFileCreate() || !DrawInit(nullptr) || !FontInit()) {
        printf("cannot start: scratch file or drawing layer\n");
        return 1;
    }
    StyleSheetInstall(StyleSheetBuildDefault(), false);
    FormatInit();
    RegisterHooks();
    std::string path = TempPath("vx-display-bench.c");
    if (!WriteBenchFile(path)) {
        printf("cannot write the bench file in the temporary folder\n");
        return 1;
    }
    FontDesc font;
    FileBuffer *doc = LoadBenchDoc(path, &font);
    if (!doc) return 1;
    Screen screen = MakeScreen();
    int32_t rows = Paint(doc, screen.dc); // fills the lexer states down to the screen, and every cache
    Floor floor = MakeFloor(doc, rows, &font);
    printf("display_bench: %d lines, %d rows of %d x %d from line %d, Courier New 10 pt\n", doc->lnMac, rows,
           BENCH_WIDTH, BENCH_HEIGHT, BENCH_FIRST);
    // Rounds of one paint of each kind, so that a slow moment of the machine weighs on all of them alike.
    std::vector<double> floors, warms, colds;
    for (int i = 0; i < BENCH_PAINTS; i++) {
        floors.push_back(Timed([&] { PaintFloor(floor, screen.dc); }));
        warms.push_back(Timed([&] { Paint(doc, screen.dc); }));
        EmptyCaches();
        colds.push_back(Timed([&] { Paint(doc, screen.dc); }));
    }
    double floorMs = Median(floors), warm = Median(warms), cold = Median(colds);
    printf("floor  %8.3f ms  (one ExtTextOut per row)\n", floorMs);
    int within = Report("warm", warm, floorMs, 2.5) + Report("cold", cold, floorMs, 4.0);
    printf("display: %d of 2 rows within target\n", within);
    DeleteObject(floor.font);
    SelectObject(screen.dc, screen.previous);
    DeleteObject(screen.bitmap);
    DeleteDC(screen.dc);
    DocFree(doc, false);
    ScratchFileClose(false);
    return 0;
}
