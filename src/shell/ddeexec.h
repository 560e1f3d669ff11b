// ddeexec: reading the execute strings that DDE clients send (prefix DdeExec). A string is a series of
// items, each "[VERB(argument)]": the argument bare (up to the ")") or in double quotes (up to the matching
// quote, a backslash keeping the character after it inside; the quoted text is passed as it stands, so that
// the backslashes of paths stay). Blanks between the parts are skipped. Each item runs as soon as its ")"
// is read; an item whose verb answers non-zero stops the string. After an item that answered 0 a "]" must
// follow; reading goes on while the next item starts with "[", and anything else ends the string. A missing
// "(", ")" or "]" is a syntax error: the items before it have run.
#pragma once

#include <cstddef>
#include <cstdint>

enum DdeExecStatus : int32_t {
    DDE_EXEC_DONE = 0,    // every item ran, or the string ended
    DDE_EXEC_STOPPED = 1, // a verb answered non-zero
    DDE_EXEC_SYNTAX = 2,  // a syntax error
};

// Runs one item: the verb and its argument (both NUL-terminated, any length); 0 goes on.
typedef int (*DdeExecRunFn)(const char *verb, const char *argument, void *user);

// Reads at most length bytes of text (less when a NUL comes first); the text itself is never written to.
// DDE_EXEC_SYNTAX also when the working copy cannot be had.
DdeExecStatus DdeExecParse(const char *text, size_t length, DdeExecRunFn run, void *user);
