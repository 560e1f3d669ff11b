// Fuzz target: scanning arguments and words out of a line of text. The input is the line (up to its first
// NUL), preceded by one byte that gives the out buffer's size. Expected: every scan stays inside its buffer
// (each is exactly its size, so a byte past it is a checker report), moves forward through the line and
// ends at its end; escaping and unescaping give the text back, or a prefix of it when the escape was cut.
#include "base/str.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>
#include <vector>

static void FuzzScanArgs(const std::string &line, int size) {
    std::vector<char> out(size);
    const char *end = line.c_str() + line.size();
    const char *cursor = line.c_str();
    while (StrNextArg(&cursor, out.data(), size)) {
        FuzzCheck(strlen(out.data()) < (size_t)size, "an argument fits its buffer");
        FuzzCheck(cursor > line.c_str() && cursor <= end, "the cursor stays in the line");
    }
    FuzzCheck(*cursor == 0 && out[0] == 0, "the arguments end at the end of the line");
}

static void FuzzScanWords(const std::string &line, int size) {
    std::vector<char> out(size);
    const char *end = line.c_str() + line.size();
    for (const char *s = StrSkipBlanks(line.c_str()); *s; s = StrSkipBlanks(s)) {
        const char *next = StrNextWord(s, out.data(), size);
        FuzzCheck(next > s && next <= end, "a word moves forward inside the line");
        FuzzCheck(strlen(out.data()) < (size_t)size, "a word fits its buffer");
        if (CharIsQuote(*s)) FuzzCheck(StrSkipQuoted(s) == next, "a quoted word ends where its quote does");
        s = next;
    }
}

static void FuzzEscapeRoundTrip(const std::string &line, int size) {
    std::vector<char> escaped(size), back(size);
    StrEscape(line.c_str(), escaped.data(), size);
    StrUnescape(escaped.data(), back.data());
    FuzzCheck(line.compare(0, strlen(back.data()), back.data()) == 0, "unescaping gives the text back");
    if (strlen(escaped.data()) + 2 < (size_t)size)
        FuzzCheck(line == back.data(), "an escape that was not cut comes back whole");
    std::string quoted = line;
    StrUnquote(quoted.data());
    FuzzCheck(strlen(quoted.c_str()) <= line.size(), "unquoting only shortens");
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    int outSize = 1 + data[0] % 64;
    std::string line((const char *)data + 1, size - 1);
    line.resize(strlen(line.c_str()));
    FuzzScanArgs(line, outSize);
    FuzzScanWords(line, outSize);
    FuzzEscapeRoundTrip(line, outSize);
    return 0;
}
