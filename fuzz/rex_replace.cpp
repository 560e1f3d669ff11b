// Fuzz target: replacement templates. The input holds an options byte, a buffer-size byte, then the pattern,
// the template and the line, separated by NULs. The first match in the line is replaced by the template's
// expansion. Expected: a replacement that does not fit changes nothing; one that fits keeps the text before
// the match and after it, ends with a NUL inside the buffer (the buffer is exactly its size, so a byte past
// it is a checker report) and moves the position past what it inserted.
#include "base/erc.h"
#include "base/rex.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>
#include <vector>

static std::string FuzzTakeText(const uint8_t *&data, size_t &size) {
    size_t n = strnlen((const char *)data, size);
    std::string text((const char *)data, n);
    size_t used = n < size ? n + 1 : n;
    data += used;
    size -= used;
    return text;
}

static void FuzzReplaceFirst(RexProg *prog, const RexTemplate *tmpl, const std::string &line, int caseFollow,
                             int32_t bufferSize) {
    std::vector<char> buffer(bufferSize);
    memcpy(buffer.data(), line.c_str(), line.size() + 1);
    int32_t length = (int32_t)line.size();
    RexSetForward(prog, 1);
    RexSetStart(prog, 0);
    if (!RexMatch(prog, buffer.data(), length)) return;
    int32_t pos = prog->start, matchEnd = prog->matchEnd, oldPos = pos;
    std::vector<char> before = buffer;
    if (!RexBuildReplacement(prog, tmpl, buffer.data(), &length, caseFollow, &pos, matchEnd, bufferSize)) {
        FuzzCheck(buffer == before && length == (int32_t)line.size(),
                  "a replacement that does not fit changes nothing");
        return;
    }
    FuzzCheck(length < bufferSize && strlen(buffer.data()) == (size_t)length,
              "the new text ends inside the buffer");
    int32_t tail = (int32_t)line.size() - matchEnd;
    FuzzCheck(memcmp(buffer.data(), line.c_str(), oldPos) == 0, "the text before the match stays");
    FuzzCheck(length - tail >= oldPos &&
                  memcmp(buffer.data() + length - tail, line.c_str() + matchEnd, tail) == 0,
              "the text after the match stays");
    FuzzCheck(pos > oldPos && pos <= length - tail + 1, "the position moves past the inserted text");
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    int options = data[0];
    int32_t bufferSize = 1 + data[1];
    data += 2;
    size -= 2;
    std::string pattern = FuzzTakeText(data, size);
    std::string templ = FuzzTakeText(data, size);
    std::string line = FuzzTakeText(data, size);
    if ((int32_t)line.size() >= bufferSize) line.resize(bufferSize - 1);

    RexProg *prog = nullptr;
    int regex = options & 1;
    if (RexCompile(pattern.c_str(), regex, options & 2, 0, &prog) == 1) {
        RexTemplate tmpl;
        if (RexParseTemplate(prog, &tmpl, templ.c_str(), options & 4 ? regex : 0)) {
            FuzzReplaceFirst(prog, &tmpl, line, options & 8, bufferSize);
            RexFreeTemplate(&tmpl);
        }
        RexFree(prog);
    }
    std::vector<char> buffer(bufferSize);
    memcpy(buffer.data(), line.c_str(), line.size() + 1);
    RexReplace(pattern.c_str(), templ.c_str(), options & 2, buffer.data(), bufferSize);
    FuzzCheck(memchr(buffer.data(), 0, bufferSize) != nullptr, "a replaced line ends inside its buffer");
    ErcClear();
    return 0;
}
