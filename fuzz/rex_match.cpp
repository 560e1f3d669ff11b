// Fuzz target: regular expressions compiled from arbitrary patterns and run over arbitrary lines. The first
// byte holds the options (regular expression or plain string, case, whole words, direction) and the start
// offset; the pattern follows up to a NUL, then the text. Expected: compiling gives 1, 0 or -1 and a
// program within its node and group limits; every match lies inside the text and its groups inside the
// line; searching on from each match moves on and comes to an end; a literal program gives its pattern
// back.
#include "base/erc.h"
#include "base/rex.h"
#include "base/str.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>

enum { FUZZ_MAX_MATCHES = 1000 };

static void FuzzCheckMatch(const RexProg *prog, int32_t length) {
    int32_t start, end;
    RexGetMatch(prog, &start, &end);
    FuzzCheck(0 <= start && start <= end && end <= length, "a match lies inside the text");
    const uint32_t *spans = RexGroupSpans(prog);
    for (int32_t g = 0; g < RexGroupCount(prog); g++)
        FuzzCheck((int32_t)(spans[g] & 0xFFFF) <= length && (int32_t)(spans[g] >> 16) <= length,
                  "a group lies inside the text");
}

// Forward, the caller moves the start past each match (one further after an empty one); backward, each
// search goes on before the last match by itself. Either way the matches come to an end.
static void FuzzSearchAll(RexProg *prog, const std::string &text, int forward, int32_t from) {
    int32_t length = (int32_t)text.size(), last = forward ? -1 : length + 1;
    RexSetForward(prog, forward);
    RexSetStart(prog, from);
    for (int n = 0; n < FUZZ_MAX_MATCHES && RexMatch(prog, text.c_str(), length); n++) {
        FuzzCheckMatch(prog, length);
        int32_t start, end;
        RexGetMatch(prog, &start, &end);
        // An anchor alone ("$" at the end, "^" on an empty line) is found again from where it was found.
        if (!forward && start == last && start == end && (start == 0 || start == length)) break;
        FuzzCheck(forward ? start > last : start < last, "searching on moves on");
        last = start;
        if (forward) RexSetStart(prog, end > start ? end : start + 1);
        if (prog->start > length) break;
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    int options = data[0];
    std::string rest((const char *)data + 1, size - 1);
    size_t cut = rest.find('\0');
    std::string pattern = rest.substr(0, cut);
    std::string text = cut == std::string::npos ? "" : rest.substr(cut + 1);
    text.resize(strlen(text.c_str()));

    RexProg *prog = nullptr;
    int regex = options & 1;
    int result = RexCompile(pattern.c_str(), regex, options & 2, options & 4, &prog);
    FuzzCheck(result >= -1 && result <= 1 && (result == 1) == (prog != nullptr), "compiling answers");
    ErcClear();
    if (!prog) return 0;
    FuzzCheck(prog->nodeCount <= REX_NODE_MAX && prog->groupCount <= REX_GROUP_MAX, "a program fits");
    char literal[256];
    if (!regex && RexGetLiteral(prog, literal, sizeof literal))
        FuzzCheck(strlen(literal) <= pattern.size() &&
                      MemEqualI(literal, pattern.c_str(), (int)strlen(literal)),
                  "a plain string gives its pattern back");
    int32_t from = (int32_t)((options >> 4) % (text.size() + 1));
    FuzzSearchAll(prog, text, 1, from);
    FuzzSearchAll(prog, text, 0, (int32_t)text.size() - from);
    RexFree(prog);
    return 0;
}
