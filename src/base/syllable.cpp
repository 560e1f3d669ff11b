// syllable: splitting identifiers into syllables and matching typed syllables against names (prefix
// Syllable).
// A syllable is a piece of at least two characters that starts like an identifier; a case change or a
// separator ends one. Pieces after a separator have their first character upper-cased in the copy.
#include "base/syllable.h"

#include "base/utilil.h"

#include <cctype>
#include <cstddef>
#include <cstring>

bool CharIsIdentStart(int c) {
    return isalpha((unsigned char)c) || c == '$' || c == '_' || c == '~';
}

int SyllableStartsAt(const char *start, const char *end) {
    return end - start >= 2 && CharIsIdentStart(*start);
}

static void SyllableRecord(SyllableSplitRec *split, char *start, char *end, bool upperFirst) {
    if (split->count >= SYLLABLE_MAX || !SyllableStartsAt(start, end)) return;
    if (upperFirst) *start = (char)toupper((unsigned char)*start);
    split->entries[split->count++] = {0, start, end};
}

int SyllableSplit(const char *identifier, SyllableSplitRec *split) {
    split->count = 0;
    StrCopyMaxLen(identifier, split->text, 255);
    char *p = split->text;
    char *start = p;
    bool prevUpper = isupper((unsigned char)*p) != 0;
    for (; *p && split->count < SYLLABLE_MAX; p++) {
        unsigned char c = (unsigned char)*p;
        if (isalnum(c)) {
            bool upper = isupper(c) != 0;
            if (isalpha(c) && upper != prevUpper && p > start) {
                if (upper) { // lower to upper: 'findWindow' at 'W'
                    SyllableRecord(split, start, p, false);
                    start = p;
                } else if (p - 1 > start) { // upper to lower: 'HTMLFile' at 'i' starts 'File'
                    SyllableRecord(split, start, p - 1, false);
                    start = p - 1;
                }
            }
            if (isalpha(c)) prevUpper = upper;
            continue;
        }
        SyllableRecord(split, start, p, true);
        while (p[1] && !isalnum((unsigned char)p[1])) p++;
        start = p + 1;
        prevUpper = isupper((unsigned char)p[1]) != 0;
    }
    if (split->count < SYLLABLE_MAX && *start) SyllableRecord(split, start, start + strlen(start), true);
    return split->count;
}

static bool SyllablePrefixI(const SyllableEntry &typed, const SyllableEntry &name) {
    ptrdiff_t n = typed.end - typed.start;
    if (n > name.end - name.start) return false;
    for (ptrdiff_t i = 0; i < n; i++)
        if (CharCmpI(typed.start[i], name.start[i])) return false;
    return true;
}

// Every typed syllable, in order, must start a name syllable that no earlier typed syllable took.
int SyllableMatch(SyllableSplitRec *typed, SyllableSplitRec *name) {
    for (int j = 0; j < name->count; j++) name->entries[j].used = 0;
    for (int i = 0; i < typed->count; i++) {
        int j = 0;
        while (j < name->count &&
               (name->entries[j].used || !SyllablePrefixI(typed->entries[i], name->entries[j])))
            j++;
        if (j == name->count) return 0;
        name->entries[j].used = 1;
    }
    return 1;
}

void SyllableGet(const SyllableSplitRec *split, int n, char *buffer) {
    if (n < 0 || n >= split->count) {
        buffer[0] = 0;
        return;
    }
    const SyllableEntry &e = split->entries[n];
    StrCopyRange(e.start, e.end, buffer, 256);
}
