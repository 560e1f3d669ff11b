// ddeexec: the execute-string reader (prefix DdeExec). It works on a private, NUL-terminated copy of the
// string and cuts the verb and the argument in place, so arguments of any length need no buffer of their
// own and nothing is read past the text the client gave.
#include "shell/ddeexec.h"

#include "base/heap.h"

#include <cstring>

static bool DdeExecIsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

static char *DdeExecSkipBlanks(char *at) {
    while (DdeExecIsBlank(*at)) at++;
    return at;
}

// The quoted argument that opens at `at`: its closing quote, or null when the text ends first.
static char *DdeExecClosingQuote(char *at) {
    for (at++; *at && *at != '"'; at++)
        if (*at == '\\' && at[1]) at++;
    return *at ? at : nullptr;
}

// Reads "(argument)" at `at`, cutting the argument in place: where reading goes on, or null on a syntax
// error.
static char *DdeExecArgument(char *at, char **argument) {
    at = DdeExecSkipBlanks(at);
    if (*at != '(') return nullptr;
    at = DdeExecSkipBlanks(at + 1);
    if (*at == '"') {
        char *close = DdeExecClosingQuote(at);
        if (!close) return nullptr;
        *argument = at + 1;
        *close = 0;
        at = DdeExecSkipBlanks(close + 1);
        if (*at != ')') return nullptr;
    } else {
        char *close = strchr(at, ')');
        if (!close) return nullptr;
        *argument = at;
        char *end = close;
        while (end > at && DdeExecIsBlank(end[-1])) end--;
        *end = 0;
        at = close;
    }
    *at = 0;
    return at + 1;
}

// Reads one item at `at` (at its "["): runs it and says how the string goes on; *next is where reading
// continues after its "]".
static DdeExecStatus DdeExecItem(char *at, DdeExecRunFn run, void *user, char **next) {
    char *verb = DdeExecSkipBlanks(at + 1);
    char *end = verb;
    while (*end && *end != '(' && *end != '[' && *end != ']' && !DdeExecIsBlank(*end)) end++;
    char *argument = nullptr;
    char *after = DdeExecArgument(end, &argument);
    if (!after) return DDE_EXEC_SYNTAX;
    *end = 0; // the verb's end was a blank or the "(" already read
    if (run(verb, argument, user) != 0) return DDE_EXEC_STOPPED;
    after = DdeExecSkipBlanks(after);
    if (*after != ']') return DDE_EXEC_SYNTAX;
    *next = after + 1;
    return DDE_EXEC_DONE;
}

DdeExecStatus DdeExecParse(const char *text, size_t length, DdeExecRunFn run, void *user) {
    size_t used = 0;
    while (used < length && text[used]) used++;
    char *copy = (char *)MemAlloc(used + 1);
    if (!copy) return DDE_EXEC_SYNTAX;
    memcpy(copy, text, used);
    copy[used] = 0;
    DdeExecStatus status = DDE_EXEC_DONE;
    char *at = DdeExecSkipBlanks(copy);
    while (*at == '[' && status == DDE_EXEC_DONE) {
        status = DdeExecItem(at, run, user, &at);
        if (status == DDE_EXEC_DONE) at = DdeExecSkipBlanks(at);
    }
    MemFree(copy);
    return status;
}
