// ident: the identifier order of names in lists and symbol tables (prefixes StrCmpIdent, PstrCmpIdent and
// their prefix tests): case-blind, leading underscores skipped, then fewer underscores first.
#include "base/ident.h"

#include "base/utilil.h"

#include <cstring>

// A string in the identifier comparisons: its characters and its length (a C string's is its strlen).
struct IdentText {
    const unsigned char *s;
    size_t n;
};

static IdentText IdentOfSz(const char *s) {
    return {(const unsigned char *)s, strlen(s)};
}

static IdentText IdentOfPstr(const unsigned char *p) {
    return {p + 1, p[0]};
}

static int IdentAt(IdentText t, size_t i) {
    return i < t.n ? t.s[i] : 0;
}

static size_t IdentSkipUnderscores(IdentText *t) {
    size_t k = 0;
    while (k < t->n && t->s[k] == '_') k++;
    t->s += k;
    t->n -= k;
    return k;
}

static int IdentCmpChar(int a, int b, int exact) {
    return exact ? a - b : CharCmpI((unsigned char)a, (unsigned char)b);
}

// Compares the rests after the underscores over at most limit characters.
static int IdentCmpRest(IdentText a, IdentText b, size_t limit, int exact) {
    for (size_t i = 0; i < limit; i++) {
        int ca = IdentAt(a, i), cb = IdentAt(b, i);
        if (int d = IdentCmpChar(ca, cb, exact)) return d;
        if (!ca) break;
    }
    return 0;
}

static int IdentCompare(IdentText a, IdentText b, int exact) {
    if (IdentAt(a, 0) != '_' && IdentAt(b, 0) != '_') {
        if (int d = IdentCmpChar(IdentAt(a, 0), IdentAt(b, 0), exact)) return d;
    }
    size_t ua = IdentSkipUnderscores(&a), ub = IdentSkipUnderscores(&b);
    size_t limit = (a.n > b.n ? a.n : b.n) + 1;
    if (int d = IdentCmpRest(a, b, limit, exact)) return d;
    return (int)ua - (int)ub;
}

int StrCmpIdent(const char *a, const char *b) {
    return IdentCompare(IdentOfSz(a), IdentOfSz(b), 0);
}

int PstrCmpIdent(const unsigned char *a, const unsigned char *b) {
    return IdentCompare(IdentOfPstr(a), IdentOfPstr(b), 0);
}

int StrCmpIdentExact(const char *a, const char *b) {
    return IdentCompare(IdentOfSz(a), IdentOfSz(b), 1);
}

int PstrCmpIdentExact(const unsigned char *a, const unsigned char *b) {
    return IdentCompare(IdentOfPstr(a), IdentOfPstr(b), 1);
}

int StrCmpIdentPrefix(const char *name, const char *s) {
    IdentText a = IdentOfSz(name), b = IdentOfSz(s);
    IdentSkipUnderscores(&a);
    IdentSkipUnderscores(&b);
    return IdentCmpRest(a, b, a.n, 0);
}

static int IdentIsPrefix(IdentText prefix, IdentText s) {
    IdentSkipUnderscores(&prefix);
    IdentSkipUnderscores(&s);
    return prefix.n <= s.n && IdentCmpRest(prefix, s, prefix.n, 0) == 0;
}

bool StrHasPrefixIdentI(const char *prefix, const char *s) {
    return IdentIsPrefix(IdentOfSz(prefix), IdentOfSz(s));
}

bool PstrIsIdentPrefix(const unsigned char *prefix, const unsigned char *s) {
    return IdentIsPrefix(IdentOfPstr(prefix), IdentOfPstr(s));
}
