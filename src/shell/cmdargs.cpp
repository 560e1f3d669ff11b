// cmdargs: splitting command lines and reading option names (prefix CmdArgs). A copied line is never cut
// short: every argument of a long line reaches the program whole.
#include "shell/cmdargs.h"

#include "base/heap.h"
#include "base/str.h"
#include "base/utilil.h"

#include <cctype>
#include <cstring>

static bool CmdArgsIsBlank(char c) {
    return c == ' ' || c == '\t';
}

static bool CmdArgsIsNameChar(char c) {
    return isalnum((unsigned char)c) != 0;
}

// Copies one argument from *read onwards to write, dropping its quotes; *read ends past the blank that
// ended it.
static void CmdArgsTake(char **read, char *write) {
    char *r = *read;
    bool quoted = false;
    while (*r && (quoted || !CmdArgsIsBlank(*r))) {
        if (*r == '"')
            quoted = !quoted;
        else
            *write++ = *r;
        r++;
    }
    if (*r) r++;
    *write = 0; // at most where the ending blank was, which is already read
    *read = r;
}

int32_t TokenizeCommandLine(char *text, char **args, int32_t max) {
    int32_t count = 0;
    char *read = text;
    for (;;) {
        while (CmdArgsIsBlank(*read)) read++;
        if (!*read || count >= max) break;
        args[count++] = read;
        CmdArgsTake(&read, read);
    }
    return count;
}

static const char *CmdArgsName(const char *arg) {
    return arg[0] == '-' || arg[0] == '/' ? arg + 1 : nullptr;
}

bool HasSwitch(int32_t count, char *const *args, const char *name) {
    size_t length = strlen(name);
    for (int32_t i = 0; i < count; i++) {
        const char *at = CmdArgsName(args[i]);
        if (at && strlen(at) >= length && MemEqualI(at, name, (int)length) && !CmdArgsIsNameChar(at[length]))
            return true;
    }
    return false;
}

bool CmdArgsOptionName(const char *arg, char *out, int size) {
    out[0] = 0;
    const char *at = CmdArgsName(arg);
    if (!at) return false;
    int n = 0;
    while (CmdArgsIsNameChar(at[n])) n++;
    if (n > size - 1) n = size - 1;
    memcpy(out, at, (size_t)n);
    out[n] = 0;
    return true;
}

bool CmdArgsMake(const char *line, CmdArgs *out) {
    *out = {};
    size_t length = strlen(line);
    // An argument takes at least one character and the blank after it.
    int32_t most = (int32_t)(length / 2 + 1);
    char *text = (char *)MemDup(line, length + 1);
    char **args = (char **)MemAlloc(sizeof(char *) * (size_t)most);
    if (!text || !args) {
        MemFree(text);
        MemFree(args);
        return false;
    }
    out->text = text;
    out->args = args;
    out->count = TokenizeCommandLine(text, args, most);
    return true;
}

void CmdArgsFree(CmdArgs *args) {
    MemFree(args->text);
    MemFree(args->args);
    *args = {};
}
