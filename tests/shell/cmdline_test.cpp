// The command line, applied through recording fakes of the modules it reaches:
// - arguments and options as a table: quotes keep blanks; "+12 f" opens at line 12, "+0 f" at line 1; "+"
//   alone and an unknown option report and the rest still applies; "-c", "-f", "-p", "-pt" and "-print" as
//   the last argument report; a ".CF3" loads after the files; "-pc" closes the project, forgets it and
//   retitles; "+name" is activated at the end; options are whole words in either case after "-" or "/";
//   "-u" and "-ub" run the project update, "-ub" and "-print" ask to quit;
// - the workspace: loaded last unless a project was named, its windows restored only without files;
// - bare names as project symbols while a project is open, unless the file exists;
// - a file name too long for a path is refused, not cut;
// - handed-over lines: applied in their folder with their command run by name, one per idle turn in order,
//   a text without its folder dropped.
#include "shell/cmdline.h"

#include "base/reg.h"
#include "shell/cmdargs.h"
#include "shell/frametest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CmdLineTest : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        FtInstallFakes();
        VxAlertsReset();
        folder = VxTempDir();
    }
    // Applies the line in the test's folder: the calls recorded, with each "F" of the expected calls standing
    // for the folder.
    CmdLineResult Apply(const std::string &line, bool loadWorkspace = false) {
        CmdArgs args;
        EXPECT_TRUE(CmdArgsMake(line.c_str(), &args));
        CmdLineResult result = {};
        EXPECT_TRUE(ProcessCommandLine(args.count, args.args, loadWorkspace, folder.c_str(), &result));
        command = result.command ? result.command : "";
        CmdArgsFree(&args);
        return result;
    }
    std::vector<std::string> Expand(std::vector<std::string> calls) {
        for (std::string &call : calls)
            if (size_t at = call.find(":F\\"); at != std::string::npos) call.replace(at + 1, 1, folder);
        return calls;
    }
    std::vector<std::string> AlertTexts() {
        std::vector<std::string> texts;
        for (const VxAlert &alert : VxAlerts()) texts.push_back(alert.text);
        return texts;
    }
    std::string folder;
    std::string command;
};

TEST_F(CmdLineTest, ArgumentsAndOptions) {
    struct Case {
        const char *line;
        std::vector<std::string> calls;
        std::vector<std::string> alerts;
        const char *command;
        bool quit;
    } cases[] = {
        {"\"a b.c\" d.c", {"open:F\\a b.c", "open:F\\d.c"}, {}, "", false},
        {"+12 f", {"open:F\\f@12"}, {}, "", false},
        {"+0 f", {"open:F\\f@1"}, {}, "", false},
        {"+12 f g", {"open:F\\f@12", "open:F\\g"}, {}, "", false},
        {"+ f", {"open:F\\f"}, {"Line number or file name should follow `+'."}, "", false},
        {"-zz f", {"open:F\\f"}, {"Invalid Option: -zz"}, "", false},
        {"- f", {"open:F\\f"}, {"Invalid Option: -"}, "", false},
        {"f -c", {"open:F\\f"}, {"You must specify a command name with the /c option."}, "", false},
        {"f -f", {"open:F\\f"}, {"You must specify a symbol name with the /f option."}, "", false},
        {"f -p", {"open:F\\f"}, {"You must specify a project name with the /p option."}, "", false},
        {"f -pt", {"open:F\\f"}, {"You must specify a project name with the /p option."}, "", false},
        {"f -print", {"open:F\\f"}, {"You must specify a file name with the /print option."}, "", false},
        {"x.CF3 a.c", {"open:F\\a.c", "config:F\\x.CF3"}, {}, "", false},
        {"y.cf a.c", {"open:F\\a.c", "config:F\\y.cf"}, {}, "", false},
        {"w.WK3", {"workspace:F\\w.WK3+windows"}, {}, "", false},
        {"-pc", {"close project", "config:global", "title"}, {}, "", false},
        {"+b.c a.c", {"open:F\\b.c", "open:F\\a.c", "activate:F\\b.c"}, {}, "", false},
        {"-f Sym a.c", {"open:F\\a.c", "symbol:Sym"}, {}, "", false},
        {"-c Five a.c", {"open:F\\a.c"}, {}, "Five", false},
        {"/C Five", {}, {}, "Five", false},
        {"-print p.c", {"print:F\\p.c"}, {}, "", true},
        {"-p Proj", {"project:Proj"}, {}, "", false},
        {"-PT Proj", {"project:Proj+t"}, {}, "", false},
        {"-i -N /s -u", {}, {}, "", false},
        {"-ub", {}, {}, "", true},
        {"-print p.c -c",
         {"print:F\\p.c"},
         {"You must specify a command name with the /c option."},
         "",
         true},
    };
    Row(135, "Update Project");
    Install();
    for (const Case &c : cases) {
        ftCalls.clear();
        VxAlertsReset();
        CmdLineResult result = Apply(c.line);
        EXPECT_EQ(ftCalls, Expand(c.calls)) << c.line;
        EXPECT_EQ(AlertTexts(), c.alerts) << c.line;
        EXPECT_EQ(command, c.command) << c.line;
        EXPECT_EQ(result.quitWhenDone, c.quit) << c.line;
    }
}

TEST_F(CmdLineTest, UpdatesRunTheProjectUpdateAfterTheArguments) {
    Row(135, "Update Project");
    Install();
    Apply("-u");
    EXPECT_EQ(cmdTestCalls, std::vector<int32_t>{135});
    cmdTestCalls.clear();
    EXPECT_TRUE(Apply("-ub a.c").quitWhenDone);
    EXPECT_EQ(cmdTestCalls, std::vector<int32_t>{135});
    EXPECT_EQ(ftCalls, Expand({"open:F\\a.c"}));
}

TEST_F(CmdLineTest, ClosingTheProjectForgetsIt) {
    VxOpenSettings();
    RegSetString(RegUserProgramKey(), "CurrentProject", "Old");
    Apply("-pc");
    char name[32] = "?";
    EXPECT_TRUE(RegQueryBuf(RegUserProgramKey(), "CurrentProject", name, sizeof name));
    EXPECT_STREQ(name, "");
    RegDeleteValueA(RegUserProgramKey(), "CurrentProject");
}

TEST_F(CmdLineTest, TheWorkspaceLoadsLastUnlessAProjectWasNamed) {
    Apply("", true);
    EXPECT_EQ(ftCalls, std::vector<std::string>{"workspace:default+windows"});
    ftCalls.clear();
    Apply("a.c", true);
    EXPECT_EQ(ftCalls, Expand({"open:F\\a.c", "workspace:default"}));
    ftCalls.clear();
    Apply("-f Sym", true);
    EXPECT_EQ(ftCalls, (std::vector<std::string>{"workspace:default", "symbol:Sym"}));
    ftCalls.clear();
    Apply("-p Proj a.c", true);
    EXPECT_EQ(ftCalls, Expand({"project:Proj", "open:F\\a.c"}));
}

TEST_F(CmdLineTest, BareNamesAreProjectSymbolsUnlessTheFileExists) {
    fclose(VxFileOpen(folder + "\\real.c", "w"));
    Apply("Foo");
    EXPECT_EQ(ftCalls, Expand({"open:F\\Foo"})) << "no project is open";
    ftProjectOpen = true;
    ftSymbolFound = true;
    ftCalls.clear();
    Apply("Foo real.c sub\\Bar");
    EXPECT_EQ(ftCalls, Expand({"project symbol:Foo", "open:F\\real.c", "open:F\\sub\\Bar"}));
    ftSymbolFound = false;
    ftCalls.clear();
    Apply("Foo");
    EXPECT_EQ(ftCalls, Expand({"project symbol:Foo", "open:F\\Foo"})) << "a name found nowhere is a new file";
}

TEST_F(CmdLineTest, ANameTooLongForAPathIsRefusedWhole) {
    std::string name(300, 'n');
    Apply(name + " a.c");
    EXPECT_EQ(ftCalls, Expand({"open:F\\a.c"}));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text.rfind("File name too long: nnn", 0), 0u);
}

TEST_F(CmdLineTest, HandedOverLinesApplyInTheirFolderOneATurn) {
    Row(5, "Five");
    Install();
    std::string other = folder + "\\sub";
    VxMakeDir(other);
    ASSERT_TRUE(CmdLineQueueRequest((folder + ";-c Five a.c").c_str()));
    ASSERT_TRUE(CmdLineQueueRequest("no folder here"));
    ASSERT_TRUE(CmdLineQueueRequest((other + ";\"b c.c\" -ub").c_str()));
    EXPECT_TRUE(CmdLineRequestPending());
    EXPECT_TRUE(CmdLineRequestStep());
    EXPECT_EQ(ftCalls, Expand({"open:F\\a.c"}));
    EXPECT_EQ(cmdTestCalls, std::vector<int32_t>{5});
    EXPECT_TRUE(CmdLineRequestStep()) << "a text without its folder is taken and dropped";
    EXPECT_EQ(ftCalls.size(), 1u);
    EXPECT_TRUE(CmdLineRequestStep());
    EXPECT_EQ(ftCalls.back(), "open:" + other + "\\b c.c");
    EXPECT_FALSE(CmdLineRequestPending());
    EXPECT_FALSE(CmdLineRequestStep());
    CmdLineRequestsFree();
}

} // namespace
