// Execute strings of DDE clients:
// - items run in order with their verbs and arguments: bare (trimmed) or quoted (kept as they stand,
//   backslashes and all, a backslash keeping a quote inside), empty, with blanks between the parts;
// - a verb answering non-zero stops the string; text that does not start with "[" ends it;
// - syntax errors: a missing "(", ")" or "]", an unclosed quote, a quote not followed by ")"; items before
//   them have run, and "]" is looked for only after the item ran;
// - the length bounds the reading (text without a NUL), and arguments of any length arrive whole.
#include "shell/ddeexec.h"

#include "base/heap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DdeExecTestRun {
    std::vector<std::string> items; // "VERB|argument"
    std::string stopAt;             // the verb that answers non-zero
};

int DdeExecTestVerb(const char *verb, const char *argument, void *user) {
    DdeExecTestRun *run = (DdeExecTestRun *)user;
    run->items.push_back(std::string(verb) + "|" + argument);
    return run->stopAt == verb ? 1 : 0;
}

DdeExecStatus DdeExecTestParse(const std::string &text, DdeExecTestRun *run) {
    return DdeExecParse(text.data(), text.size(), DdeExecTestVerb, run);
}

TEST(DdeExec, ItemsRunInOrder) {
    struct Case {
        const char *text;
        DdeExecStatus status;
        std::vector<std::string> items;
    } cases[] = {
        {"", DDE_EXEC_DONE, {}},
        {"[OPEN(a.c)]", DDE_EXEC_DONE, {"OPEN|a.c"}},
        {"[OPEN(\"a b.c\")][CLOSE()]", DDE_EXEC_DONE, {"OPEN|a b.c", "CLOSE|"}},
        {"  [ open ( \"C:\\dir\\x.c\" ) ]  [new( .cpp )] ", DDE_EXEC_DONE, {"open|C:\\dir\\x.c", "new|.cpp"}},
        {"[RUN(\"say \\\"hi\\\"\")]", DDE_EXEC_DONE, {"RUN|say \\\"hi\\\""}},
        {"[A(x)]junk[B(y)]", DDE_EXEC_DONE, {"A|x"}},
        {"OPEN(a.c)", DDE_EXEC_DONE, {}},
        {"[(x)]", DDE_EXEC_DONE, {"|x"}},
        {"[A(x)][STOP(y)][B(z)]", DDE_EXEC_STOPPED, {"A|x", "STOP|y"}},
        {"[STOP(y)", DDE_EXEC_STOPPED, {"STOP|y"}},
        {"[OPEN(\"x.c\")", DDE_EXEC_SYNTAX, {"OPEN|x.c"}},
        {"[A(x)][OPEN x.c]", DDE_EXEC_SYNTAX, {"A|x"}},
        {"[OPEN]", DDE_EXEC_SYNTAX, {}},
        {"[OPEN(x.c]", DDE_EXEC_SYNTAX, {}},
        {"[OPEN(\"x.c)]", DDE_EXEC_SYNTAX, {}},
        {"[OPEN(\"x.c\"z)]", DDE_EXEC_SYNTAX, {}},
        {"[OPEN(\"x\\", DDE_EXEC_SYNTAX, {}},
        {"[", DDE_EXEC_SYNTAX, {}},
        {"[A(x) B", DDE_EXEC_SYNTAX, {"A|x"}},
    };
    for (const Case &c : cases) {
        DdeExecTestRun run;
        run.stopAt = "STOP";
        EXPECT_EQ(DdeExecTestParse(c.text, &run), c.status) << c.text;
        EXPECT_EQ(run.items, c.items) << c.text;
    }
}

TEST(DdeExec, TheLengthBoundsTheReading) {
    const char text[] = "[A(x)][B(y)]";
    DdeExecTestRun run;
    EXPECT_EQ(DdeExecParse(text, 6, DdeExecTestVerb, &run), DDE_EXEC_DONE);
    EXPECT_EQ(run.items, std::vector<std::string>{"A|x"});
    run.items.clear();
    EXPECT_EQ(DdeExecParse(text, 9, DdeExecTestVerb, &run), DDE_EXEC_SYNTAX);
    EXPECT_EQ(run.items, std::vector<std::string>{"A|x"});
    // A block without a NUL: a heap copy of exactly its bytes, so a read past it is caught by the checkers.
    std::vector<char> block(text, text + 12);
    run.items.clear();
    EXPECT_EQ(DdeExecParse(block.data(), block.size(), DdeExecTestVerb, &run), DDE_EXEC_DONE);
    EXPECT_EQ(run.items.size(), 2u);
    const char nul[] = "[A(x)]\0[B(y)]";
    run.items.clear();
    EXPECT_EQ(DdeExecParse(nul, sizeof nul, DdeExecTestVerb, &run), DDE_EXEC_DONE);
    EXPECT_EQ(run.items, std::vector<std::string>{"A|x"}) << "a NUL ends the string";
}

TEST(DdeExec, ArgumentsOfAnyLength) {
    std::string name(100000, 'n');
    DdeExecTestRun run;
    EXPECT_EQ(DdeExecTestParse("[OPEN(\"" + name + "\")][OPEN(" + name + ")]", &run), DDE_EXEC_DONE);
    EXPECT_EQ(run.items, (std::vector<std::string>{"OPEN|" + name, "OPEN|" + name}));
}

TEST(DdeExec, NoCopyNoRun) {
    HeapFailNth(1);
    DdeExecTestRun run;
    EXPECT_EQ(DdeExecTestParse("[A(x)]", &run), DDE_EXEC_SYNTAX);
    EXPECT_TRUE(run.items.empty());
}

} // namespace
