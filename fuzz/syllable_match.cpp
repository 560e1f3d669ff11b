// Fuzz target: identifier syllables. The input is typed text and a name, separated by the first NUL; both
// are split and matched. Expected: at most 20 syllables, each of at least two characters inside the split's
// own copy and copied out whole by SyllableGet; every text matches itself, and the name matches the typed
// text the same way twice (a match leaves nothing behind that changes the next one).
#include "base/syllable.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>

static void FuzzCheckSplit(const SyllableSplitRec &split) {
    FuzzCheck(split.count >= 0 && split.count <= SYLLABLE_MAX, "at most 20 syllables");
    const char *textEnd = split.text + strlen(split.text);
    for (int i = 0; i < split.count; i++) {
        const SyllableEntry &e = split.entries[i];
        FuzzCheck(e.start >= split.text && e.end <= textEnd, "a syllable lies inside the copy");
        FuzzCheck(e.end - e.start >= 2 && SyllableStartsAt(e.start, e.end), "a syllable is a syllable");
        char buffer[256];
        SyllableGet(&split, i, buffer);
        FuzzCheck(std::string(buffer) == std::string(e.start, e.end), "SyllableGet copies the syllable");
    }
    char buffer[256] = "x";
    SyllableGet(&split, split.count, buffer);
    FuzzCheck(buffer[0] == 0, "SyllableGet past the count is empty");
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string input((const char *)data, size);
    size_t cut = input.find('\0');
    std::string typedText = input.substr(0, cut);
    std::string nameText = cut == std::string::npos ? "" : input.substr(cut + 1);

    SyllableSplitRec typed, name, again;
    SyllableSplit(typedText.c_str(), &typed);
    SyllableSplit(nameText.c_str(), &name);
    SyllableSplit(typedText.c_str(), &again);
    FuzzCheckSplit(typed);
    FuzzCheckSplit(name);

    FuzzCheck(SyllableMatch(&typed, &again) == 1, "a text matches itself");
    int first = SyllableMatch(&typed, &name);
    FuzzCheck(SyllableMatch(&typed, &name) == first, "a match does not change the next one");
    return 0;
}
