// syllable: identifier syllables, so that 'FiWi' finds 'FindWindow' and 'find_window' (prefix Syllable).
#pragma once

#include <cstdint>

enum { SYLLABLE_MAX = 20 };

struct SyllableEntry {
    int32_t used;
    const char *start; // first character, inside the split's copy
    const char *end;   // just past the last character
};

// A split of one identifier. The entries point into the record's own copy, so the record must not be copied
// by value once split.
struct SyllableSplitRec {
    int32_t count;
    SyllableEntry entries[SYLLABLE_MAX];
    char text[256];
};

int SyllableSplit(const char *identifier, SyllableSplitRec *split);
int SyllableStartsAt(const char *start, const char *end);
int SyllableMatch(SyllableSplitRec *typed, SyllableSplitRec *name);
void SyllableGet(const SyllableSplitRec *split, int n, char *buffer);
bool CharIsIdentStart(int c);
