// Fuzz target: the execute string of a DDE client. The input's first byte chooses the verb that answers
// non-zero (by its first letter); the rest is the client's memory block, which may hold no NUL. Expected:
// nothing is read past the block (the checkers see to that), each item runs with a verb and an argument that
// lie within the text and are ended, the items run in the order of the text, a stop comes from the verb
// that answers non-zero and ends the run there, and the text is never written to.
#include "shell/ddeexec.h"

#include "base/heap.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>
#include <vector>

struct FuzzRun {
    char stopLetter;
    int items;
    bool stopped;
    size_t textLength;
};

static int FuzzVerb(const char *verb, const char *argument, void *user) {
    FuzzRun *run = (FuzzRun *)user;
    FuzzCheck(!run->stopped, "nothing runs after a stop");
    FuzzCheck(strlen(verb) <= run->textLength && strlen(argument) <= run->textLength,
              "verb and argument come from the text");
    run->items++;
    run->stopped = verb[0] && verb[0] == run->stopLetter;
    return run->stopped ? 1 : 0;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    int32_t handles = HLiveCount();
    std::vector<char> block(data + 1, data + size);
    std::vector<char> before = block;
    FuzzRun run = {(char)data[0], 0, false, block.size()};
    DdeExecStatus status = DdeExecParse(block.empty() ? "" : block.data(), block.size(), FuzzVerb, &run);
    FuzzCheck(block == before, "the text is never written to");
    FuzzCheck((status == DDE_EXEC_STOPPED) == run.stopped, "a stop comes from the verb");
    FuzzCheck(status >= DDE_EXEC_DONE && status <= DDE_EXEC_SYNTAX, "a known status");
    FuzzCheck(HLiveCount() == handles, "nothing is left behind");
    return 0;
}
