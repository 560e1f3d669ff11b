// wildcard: file-name patterns (prefix Wildcard). The match walks name and pattern once, remembering the
// last "*" seen: on a mismatch it lets that star swallow one more character and tries again from there.
// Only the last star matters (an earlier one can never need to swallow more), so a name is matched in time
// proportional to its length times the pattern's, with no recursion.
#include "base/wildcard.h"

static char WildcardFold(char c) {
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

bool WildcardMatch(const char *name, const char *pattern) {
    const char *star = nullptr; // the pattern just past the last "*"
    const char *resume = name;  // where the name goes on when that star swallows one more character
    while (*name) {
        if (*pattern == '*') {
            star = ++pattern;
            resume = name;
        } else if (*pattern && (*pattern == '?' || WildcardFold(*pattern) == WildcardFold(*name))) {
            pattern++;
            name++;
        } else if (star) {
            pattern = star;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') pattern++;
    return *pattern == 0;
}
