// fmtcmt: the C block-comment test (prefix CLine). The cache holds one buffer, line and answer. A scan walks
// a line's text outside string and character literals (backslash escapes skipped), where "//" ends the code
// of the line, "/*" opens a comment and "*/" closes it.
#include "display/fmtcmt.h"

#include "base/seam.h"
#include "doc/doc.h"
#include "doc/docfetch.h"
#include "doc/sln.h"

#include <cstring>

enum { CLINE_LOOK_BACK = 400 };

struct CLineCache {
    FileBuffer *doc;
    int32_t line;
    int answer;
};

static CLineCache clineCache;
static CLineRowHook clineRowHook;
static LineRecord clineRecord;

void CLineFlush() {
    clineCache.doc = nullptr;
}

static void CLineHookReset() {
    clineRowHook = nullptr;
}

void CLineSetRowHook(CLineRowHook hook) {
    clineRowHook = hook;
    SeamRegisterReset(CLineHookReset);
}

// Past a literal that starts at text[i] (a quote): the index after its closing quote, or the line's end.
static int32_t CLineSkipLiteral(const char *text, int32_t n, int32_t i) {
    char quote = text[i++];
    while (i < n && text[i] != quote) i += text[i] == '\\' ? 2 : 1;
    return i < n ? i + 1 : n;
}

// Walks a line from `from` with the comment state `inside`; the state at its end.
static bool CLineWalk(const char *text, int32_t n, int32_t from, bool inside) {
    for (int32_t i = from; i < n;) {
        if (inside) {
            if (text[i] == '*' && i + 1 < n && text[i + 1] == '/')
                inside = false, i += 2;
            else
                i++;
        } else if (text[i] == '"' || text[i] == '\'') {
            i = CLineSkipLiteral(text, n, i);
        } else if (text[i] == '/' && i + 1 < n && text[i + 1] == '/') {
            return false;
        } else if (text[i] == '/' && i + 1 < n && text[i + 1] == '*') {
            inside = true, i += 2;
        } else {
            i++;
        }
    }
    return inside;
}

// The first "/*" of a line outside literals and before any "//"; -1 when none.
static int32_t CLineFindOpen(const char *text, int32_t n) {
    for (int32_t i = 0; i < n;) {
        if (text[i] == '"' || text[i] == '\'') {
            i = CLineSkipLiteral(text, n, i);
        } else if (text[i] == '/' && i + 1 < n && (text[i + 1] == '/' || text[i + 1] == '*')) {
            return text[i + 1] == '*' ? i : -1;
        } else {
            i++;
        }
    }
    return -1;
}

static const LineRecord *CLineText(FileBuffer *doc, int32_t line) {
    GetLine(doc, line, &clineRecord);
    return &clineRecord;
}

// The line after the cached one, answered from the cached line's text when it allows: a line without any
// of "/*", "*/" and "//" keeps the answer, and outside a comment a "//" before them keeps it 0.
static bool CLineFromPrevious(FileBuffer *doc, int *answer) {
    const LineRecord *r = CLineText(doc, clineCache.line);
    const char *open = strstr(r->text, "/*"), *close = strstr(r->text, "*/"), *line = strstr(r->text, "//");
    if (!open && !close && !line) {
        *answer = clineCache.answer;
        return true;
    }
    bool lineFirst = line && (!open || line < open) && (!close || line < close);
    if (clineCache.answer == 0 && lineFirst) {
        *answer = 0;
        return true;
    }
    return false;
}

static int CLineScanFrom(FileBuffer *doc, int32_t line) {
    int32_t stop = line - CLINE_LOOK_BACK > 0 ? line - CLINE_LOOK_BACK : 0;
    for (int32_t k = line - 1; k >= stop; k--) {
        const LineRecord *r = CLineText(doc, k);
        int32_t open = CLineFindOpen(r->text, r->length);
        if (open < 0) continue;
        bool inside = CLineWalk(r->text, r->length, open, false);
        for (int32_t next = k + 1; next < line; next++) {
            r = CLineText(doc, next);
            inside = CLineWalk(r->text, r->length, 0, inside);
        }
        return inside ? 1 : 0;
    }
    return 0;
}

static int CLineAnswer(FileBuffer *doc, int32_t line) {
    int answer;
    if (clineCache.doc == doc && line == clineCache.line + 1 && CLineFromPrevious(doc, &answer))
        return answer;
    if (clineRowHook && (answer = clineRowHook(doc, line)) >= 0) return answer;
    return CLineScanFrom(doc, line);
}

int CLineStartsInComment(FileBuffer *doc, int32_t line) {
    if (!doc || line <= 0 || line >= doc->lnMac) return 0;
    if (clineCache.doc == doc && clineCache.line == line) return clineCache.answer;
    int answer = CLineAnswer(doc, line);
    clineCache = {doc, line, answer};
    return answer;
}
