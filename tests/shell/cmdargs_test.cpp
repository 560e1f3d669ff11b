// Command lines split into arguments:
// - blanks separate, quotes keep blanks and are dropped, "" is an empty argument, the text is cut in place;
// - at most the given number of arguments;
// - a whole line is copied, never cut: every argument of a line far past 255 characters arrives;
// - options as whole words after "-" or "/", in either case, ended by the end or a character that is not a
//   letter or digit.
#include "shell/cmdargs.h"

#include "base/heap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> CmdArgsTestSplit(const std::string &line) {
    CmdArgs args;
    EXPECT_TRUE(CmdArgsMake(line.c_str(), &args));
    std::vector<std::string> out(args.args, args.args + args.count);
    CmdArgsFree(&args);
    return out;
}

TEST(CmdArgs, SplitAtBlanksKeepingQuotedBlanks) {
    struct Case {
        const char *line;
        std::vector<std::string> args;
    } cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"a", {"a"}},
        {"  a  b\tc ", {"a", "b", "c"}},
        {"\"a b.c\" d", {"a b.c", "d"}},
        {"x\"a b\"y z", {"xa by", "z"}},
        {"\"\" a", {"", "a"}},
        {"\"open to the end", {"open to the end"}},
        {"-i \"C:\\My Files\\a.c\" +12", {"-i", "C:\\My Files\\a.c", "+12"}},
    };
    for (const Case &c : cases) EXPECT_EQ(CmdArgsTestSplit(c.line), c.args) << c.line;
}

TEST(CmdArgs, TokenizeCutsInPlaceUpToTheMost) {
    char text[] = "one \"two three\" four";
    char *args[2];
    ASSERT_EQ(TokenizeCommandLine(text, args, 2), 2);
    EXPECT_STREQ(args[0], "one");
    EXPECT_STREQ(args[1], "two three");
    EXPECT_GE(args[0], text);
    EXPECT_LT(args[1], text + sizeof text);
}

TEST(CmdArgs, ALongLineArrivesWhole) {
    std::string line;
    std::vector<std::string> want;
    for (int i = 0; i < 100; i++) {
        want.push_back("argument-" + std::to_string(i));
        line += want.back() + " ";
    }
    ASSERT_GT(line.size(), 1000u);
    EXPECT_EQ(CmdArgsTestSplit(line), want);
    std::string single(2000, 'x');
    EXPECT_EQ(CmdArgsTestSplit(single), std::vector<std::string>{single});
}

TEST(CmdArgs, ACopyThatCannotBeHadHoldsNothing) {
    HeapFailNth(1);
    CmdArgs args;
    EXPECT_FALSE(CmdArgsMake("a b", &args));
    EXPECT_EQ(args.count, 0);
    EXPECT_EQ(args.text, nullptr);
    EXPECT_EQ(args.args, nullptr);
}

TEST(CmdArgs, SwitchesAreWholeWords) {
    char a0[] = "file.c", a1[] = "-UB", a2[] = "/pt", a3[] = "-p:x", a4[] = "-";
    char *args[] = {a0, a1, a2, a3, a4};
    struct Case {
        const char *name;
        bool present;
    } cases[] = {{"ub", true},     {"u", false},    {"pt", true}, {"p", true},
                 {"print", false}, {"file", false}, {"c", false}};
    for (const Case &c : cases) EXPECT_EQ(HasSwitch(5, args, c.name), c.present) << c.name;
    EXPECT_FALSE(HasSwitch(2, args, "pt")) << "only the arguments counted";
}

TEST(CmdArgs, OptionNames) {
    struct Case {
        const char *arg;
        bool option;
        const char *name;
    } cases[] = {{"-c", true, "c"},   {"/Print", true, "Print"}, {"-p:x", true, "p"},         {"-", true, ""},
                 {"file", false, ""}, {"+12", false, ""},        {"-abcdefgh", true, "abcde"}};
    for (const Case &c : cases) {
        char name[6];
        EXPECT_EQ(CmdArgsOptionName(c.arg, name, sizeof name), c.option) << c.arg;
        EXPECT_STREQ(name, c.name) << c.arg;
    }
}

} // namespace
