// cmdargs: a command line split into arguments, and its options read as whole words (prefix CmdArgs, and the
// shell's TokenizeCommandLine and HasSwitch). An option is an argument that starts with "-" or "/"; its name
// is the run of letters and digits after that, compared ignoring case ("-ub" is the option "ub", never "u").
#pragma once

#include <cstdint>

// Splits the text in place at blanks: a double-quoted part keeps its blanks and loses its quotes
// ("a"b" "c" is the one argument ab c, and "" an empty one). Fills at most max arguments, pointers into
// the text, and returns how many it filled.
int32_t TokenizeCommandLine(char *text, char **args, int32_t max);

// True when an argument is the option: "-" or "/", the name, then the end or a character that is not part
// of a name.
bool HasSwitch(int32_t count, char *const *args, const char *name);

// The name of an option argument, cut to fit out (size bytes); false, and "", for an argument that is not an
// option.
bool CmdArgsOptionName(const char *arg, char *out, int size);

// A private copy of a whole command line, split: the text and the argument pointers into it, in one owner.
struct CmdArgs {
    char *text;
    char **args;
    int32_t count;
};
bool CmdArgsMake(const char *line, CmdArgs *out); // false, and nothing held, when memory fails
void CmdArgsFree(CmdArgs *args);
