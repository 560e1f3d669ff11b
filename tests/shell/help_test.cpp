// Help through a recording table of the help engines' calls (no help window ever opens):
// - the program's help: the welcome page, a command's topic by its name, the keyword cut at 255 characters,
//   HTML Help loaded once and initialised, every lookup quiet when it is missing;
// - shutdown: HTML Help uninitialised and the WinHelp file quit only when each was used;
// - the pre-translation step only once HTML Help is loaded;
// - the reference files: "SDK Help..." and "HTML Help..." with and without a word at the caret, the set-up
//   dialog run when the registry value is missing (cancelled: nothing looked up; chosen: stored and used);
// - "Tramontel on the Web" through the shell, failing when the shell does;
// - help mode: the prompt, suspended messages and the help cursor; the next command opens its topic instead
//   of running, except "Help Mode" itself and command 2; leaving it resumes the messages.
#include "cmdtest.h"

#include "base/reg.h"
#include "base/toolbox.h"
#include "shell/cmdrun.h"
#include "shell/help.h"
#include "shell/status.h"
#include "support/vxtest.h"

#include <htmlhelp.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct HtmlCall {
    UINT command;
    std::string file;
    std::string keyword; // of a keyword lookup
    bool indexOnFail;
    int linkSize;
    DWORD_PTR data; // of an uninitialisation
};

struct WinHelpCall {
    std::string file;
    UINT command;
    std::string keyword;
};

std::vector<HtmlCall> htmlCalls;
std::vector<WinHelpCall> winHelpCalls;
std::vector<std::string> shellCalls; // "verb file"
int htmlLoads;
bool htmlTakes;        // the answer to a pre-translation
INT_PTR shellResult;   // what the shell answers
std::string caretWord; // what the word-at-caret hook answers

const DWORD fakeCookie = 77;
HWND const fakeHelpWindow = (HWND)0x4321;

HWND WINAPI FakeHtmlHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data) {
    if (command == HH_PRETRANSLATEMESSAGE) return htmlTakes ? fakeHelpWindow : nullptr;
    HtmlCall call = {command, file ? file : "", "", false, 0, 0};
    if (command == HH_INITIALIZE) *(DWORD *)data = fakeCookie;
    if (command == HH_UNINITIALIZE) call.data = data;
    if (command == HH_KEYWORD_LOOKUP) {
        const HH_AKLINK *link = (const HH_AKLINK *)data;
        call.keyword = link->pszKeywords;
        call.indexOnFail = link->fIndexOnFail != FALSE;
        call.linkSize = link->cbStruct;
    }
    htmlCalls.push_back(call);
    return fakeHelpWindow;
}

HelpHtmlHelpFn LoadFakeHtmlHelp() {
    htmlLoads++;
    return FakeHtmlHelp;
}

HelpHtmlHelpFn LoadNothing() {
    htmlLoads++;
    return nullptr;
}

BOOL WINAPI FakeWinHelp(HWND, LPCSTR file, UINT command, ULONG_PTR data) {
    winHelpCalls.push_back({file, command, command == HELP_KEY ? (const char *)data : ""});
    return TRUE;
}

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT) {
    shellCalls.push_back(std::string(verb) + " " + file);
    return (HINSTANCE)shellResult;
}

const HelpOsCalls fakeCalls = {LoadFakeHtmlHelp, FakeWinHelp, FakeShellExecute};

const char programDir[] = "C:\\Program Files\\Veltrix";
const char welcome[] = "C:\\Program Files\\Veltrix\\Veltrix.chm::/Welcome.htm";
const char ownHelp[] = "C:\\Program Files\\Veltrix\\Veltrix.chm";

class HelpTest : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        htmlCalls.clear();
        winHelpCalls.clear();
        shellCalls.clear();
        htmlLoads = 0;
        htmlTakes = false;
        shellResult = 42;
        caretWord.clear();
        HelpSetOsCalls(&fakeCalls);
        HelpHooks hooks = {[](char *word, int size) { snprintf(word, size, "%s", caretWord.c_str()); }};
        HelpSetHooks(&hooks);
        CmdRunSetMemoryProbe(PlentyOfMemory);
        ToolboxSetProgramDir(programDir);
        VxOpenSettings();
        RegDeleteValueA(RegUserProgramKey(), "WinHelpFile");
        RegDeleteValueA(RegUserProgramKey(), "HTMLHelpFile");
        Row(2, "");
        Row(33, "Help...").handler = CmdHelp;
        Row(62, "Search...");
        Row(65, "Help Mode").handler = CmdHelpMode;
        Row(90, "Cut");
        Row(288, "SDK Help...").handler = CmdSdkHelp;
        Row(345, "Setup WinHelp File").handler = CmdSetupWinHelp;
        Row(472, "Setup HTML Help").handler = CmdSetupHtmlHelp;
        Row(473, "HTML Help...").handler = CmdHtmlHelp;
        Row(613, "Tramontel on the Web").handler = CmdWebSite;
        Install();
    }
    void TearDown() override {
        EndHelpMode();
        StatusSetMessage("");
        ToolboxSetProgramDir("");
        CmdTest::TearDown();
    }
    static bool PlentyOfMemory(uint64_t *pageFile, uint64_t *address) {
        *pageFile = *address = 1ull << 30;
        return true;
    }
    // The lookups made, leaving out the initialisation that comes with the first one.
    static std::vector<HtmlCall> Lookups() {
        std::vector<HtmlCall> lookups;
        for (const HtmlCall &call : htmlCalls)
            if (call.command != HH_INITIALIZE) lookups.push_back(call);
        return lookups;
    }
    static void SetValue(const char *name, const char *value) { RegSetUser(name, value); }
    static std::string Value(const char *name) {
        char text[256] = "";
        RegQueryUser(name, text, sizeof text);
        return text;
    }
};

// ---- The program's help

TEST_F(HelpTest, HelpOpensTheWelcomePage) {
    EXPECT_TRUE(RunCommand(33, false));
    ASSERT_EQ(htmlCalls.size(), 2u);
    EXPECT_EQ(htmlCalls[0].command, (UINT)HH_INITIALIZE) << "HTML Help is initialised when it is loaded";
    EXPECT_EQ(htmlCalls[1].command, (UINT)HH_DISPLAY_TOPIC);
    EXPECT_EQ(htmlCalls[1].file, welcome);
}

TEST_F(HelpTest, ACommandsTopicIsItsName) {
    EXPECT_TRUE(HelpOnCommand(62));
    std::vector<HtmlCall> lookups = Lookups();
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].command, (UINT)HH_KEYWORD_LOOKUP);
    EXPECT_EQ(lookups[0].file, ownHelp);
    EXPECT_EQ(lookups[0].keyword, "Search...");
    EXPECT_TRUE(lookups[0].indexOnFail) << "the index opens at the keyword when no topic has it";
    EXPECT_EQ(lookups[0].linkSize, (int)sizeof(HH_AKLINK)) << "the platform's size, on 64-bit too";
}

TEST_F(HelpTest, KeywordsAreCutAt255AndEmptyOnesOpenTheWelcomePage) {
    std::string keyword(300, 'k');
    EXPECT_TRUE(HelpShowTopic(keyword.c_str()));
    EXPECT_TRUE(HelpShowTopic(""));
    std::vector<HtmlCall> lookups = Lookups();
    ASSERT_EQ(lookups.size(), 2u);
    EXPECT_EQ(lookups[0].keyword, std::string(255, 'k'));
    EXPECT_EQ(lookups[1].command, (UINT)HH_DISPLAY_TOPIC);
    EXPECT_EQ(lookups[1].file, welcome);
    EXPECT_EQ(htmlLoads, 1) << "HTML Help is loaded once";
}

TEST_F(HelpTest, WithoutHtmlHelpEveryLookupFailsQuietly) {
    HelpOsCalls calls = fakeCalls;
    calls.loadHtmlHelp = LoadNothing;
    HelpSetOsCalls(&calls);
    EXPECT_FALSE(HelpShowTopic("Search..."));
    EXPECT_FALSE(HelpShowTopic(nullptr));
    EXPECT_TRUE(RunCommand(33, false)) << "the command itself does not fail";
    EXPECT_EQ(htmlLoads, 1) << "a missing HTML Help is not looked for again";
    MSG msg = {};
    EXPECT_FALSE(HelpPreTranslate(&msg));
    EXPECT_TRUE(VxAlerts().empty());
}

TEST_F(HelpTest, PreTranslationOnlyOnceHtmlHelpIsLoaded) {
    MSG msg = {};
    htmlTakes = true;
    EXPECT_FALSE(HelpPreTranslate(&msg));
    EXPECT_EQ(htmlLoads, 0) << "a message never loads HTML Help";
    HelpShowTopic(nullptr);
    EXPECT_TRUE(HelpPreTranslate(&msg));
    htmlTakes = false;
    EXPECT_FALSE(HelpPreTranslate(&msg));
}

TEST_F(HelpTest, ShutdownClosesOnlyWhatWasUsed) {
    HelpTerm();
    EXPECT_TRUE(htmlCalls.empty());
    EXPECT_TRUE(winHelpCalls.empty());

    HelpOnCommand(62);
    htmlCalls.clear();
    HelpTerm();
    ASSERT_EQ(htmlCalls.size(), 1u);
    EXPECT_EQ(htmlCalls[0].command, (UINT)HH_UNINITIALIZE);
    EXPECT_EQ(htmlCalls[0].data, (DWORD_PTR)fakeCookie);
    EXPECT_TRUE(winHelpCalls.empty());

    SetValue("WinHelpFile", "D:\\ref\\win32.hlp");
    EXPECT_TRUE(RunCommand(288, false));
    htmlCalls.clear();
    winHelpCalls.clear();
    HelpTerm();
    EXPECT_TRUE(htmlCalls.empty()) << "HTML Help was uninitialised already";
    ASSERT_EQ(winHelpCalls.size(), 1u);
    EXPECT_EQ(winHelpCalls[0].command, (UINT)HELP_QUIT);
    EXPECT_EQ(winHelpCalls[0].file, "D:\\ref\\win32.hlp");
}

// ---- The reference files

TEST_F(HelpTest, SdkHelpLooksUpTheWordAtTheCaret) {
    SetValue("WinHelpFile", "D:\\ref\\win32.hlp");
    struct {
        const char *word;
        const char *asked;
    } cases[] = {{"CreateWindowEx", "CreateWindowEx"}, {"", "MS Windows"}};
    for (const auto &c : cases) {
        winHelpCalls.clear();
        caretWord = c.word;
        EXPECT_TRUE(RunCommand(288, false));
        ASSERT_EQ(winHelpCalls.size(), 1u) << c.word;
        EXPECT_EQ(winHelpCalls[0].file, "D:\\ref\\win32.hlp");
        EXPECT_EQ(winHelpCalls[0].command, (UINT)HELP_KEY);
        EXPECT_EQ(winHelpCalls[0].keyword, c.asked);
    }
    EXPECT_TRUE(VxAlerts().empty()) << "no set-up while the value is there";
}

TEST_F(HelpTest, AMissingReferenceFileRunsItsSetUp) {
    caretWord = "lstrlen";
    EXPECT_FALSE(RunCommand(288, false)) << "cancelled";
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].kind, VX_ALERT_OPEN);
    EXPECT_EQ(VxAlerts()[0].text, "Locate the SDK WinHelp File");
    EXPECT_TRUE(winHelpCalls.empty()) << "nothing is looked up without the file";
    EXPECT_EQ(Value("WinHelpFile"), "");

    VxAlertsReset();
    VxOpenAnswer("E:\\sdk\\win32.hlp");
    EXPECT_TRUE(RunCommand(288, false));
    EXPECT_EQ(Value("WinHelpFile"), "E:\\sdk\\win32.hlp");
    ASSERT_EQ(winHelpCalls.size(), 1u);
    EXPECT_EQ(winHelpCalls[0].file, "E:\\sdk\\win32.hlp");
    EXPECT_EQ(winHelpCalls[0].keyword, "lstrlen");
}

TEST_F(HelpTest, HtmlHelpLooksUpTheWordInItsOwnFile) {
    EXPECT_FALSE(RunCommand(473, false));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Locate the HTML Help File");
    EXPECT_TRUE(htmlCalls.empty()) << "HTML Help is not even loaded";

    SetValue("HTMLHelpFile", "D:\\ref\\msdn.chm");
    caretWord = "GetDC";
    EXPECT_TRUE(RunCommand(473, false));
    caretWord = "";
    EXPECT_TRUE(RunCommand(473, false));
    std::vector<HtmlCall> lookups = Lookups();
    ASSERT_EQ(lookups.size(), 2u);
    EXPECT_EQ(lookups[0].command, (UINT)HH_KEYWORD_LOOKUP);
    EXPECT_EQ(lookups[0].file, "D:\\ref\\msdn.chm");
    EXPECT_EQ(lookups[0].keyword, "GetDC");
    EXPECT_EQ(lookups[1].command, (UINT)HH_DISPLAY_TOPIC) << "no word: the file's own first page";
    EXPECT_EQ(lookups[1].file, "D:\\ref\\msdn.chm");
}

TEST_F(HelpTest, SetUpCommandsStartFromTheStoredFile) {
    SetValue("HTMLHelpFile", "D:\\ref\\old.chm");
    VxOpenAnswer("D:\\ref\\new.chm");
    EXPECT_TRUE(RunCommand(472, false));
    EXPECT_EQ(Value("HTMLHelpFile"), "D:\\ref\\new.chm");
    EXPECT_FALSE(RunCommand(345, false)) << "cancelled";
    EXPECT_EQ(Value("WinHelpFile"), "");
}

// ---- The web site

TEST_F(HelpTest, TheWebSiteOpensThroughTheShell) {
    EXPECT_TRUE(RunCommand(613, false));
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0], std::string("open ") + helpWebAddress);
    shellResult = 2; // file not found
    EXPECT_FALSE(RunCommand(613, false));
    EXPECT_EQ(LastCommandResult(), 1);
}

// ---- Help mode

TEST_F(HelpTest, HelpModeTakesTheNextCommandForItsTopic) {
    StatusPrintf("Line 12  Col 4");
    EXPECT_TRUE(RunCommand(65, false));
    EXPECT_TRUE(HelpModeIsOn());
    EXPECT_STREQ(StatusGetMessage(), "Select the command you want HELP on");
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HELP));
    StatusPrintf("Line 13  Col 4");
    EXPECT_STREQ(StatusGetMessage(), "Select the command you want HELP on") << "messages are suspended";

    EXPECT_TRUE(RunCommand(90, false));
    EXPECT_TRUE(cmdTestCalls.empty()) << "the command does not run";
    EXPECT_FALSE(HelpModeIsOn());
    std::vector<HtmlCall> lookups = Lookups();
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].keyword, "Cut");
    EXPECT_STREQ(StatusGetMessage(), "") << "the prompt goes; the position is written again";
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
    StatusPrintf("Line 13  Col 4");
    EXPECT_STREQ(StatusGetMessage(), "Line 13  Col 4") << "messages are resumed";

    EXPECT_TRUE(RunCommand(90, false));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{90}));
}

TEST_F(HelpTest, HelpModeItselfAndCommandTwoOpenNoTopic) {
    for (int32_t command : {65, 2}) {
        HelpModeBegin();
        EXPECT_TRUE(RunCommand(command, false));
        EXPECT_FALSE(HelpModeIsOn()) << command;
        EXPECT_FALSE(StatusIsSuspended()) << command;
    }
    EXPECT_TRUE(htmlCalls.empty());
    EXPECT_TRUE(cmdTestCalls.empty());
}

TEST_F(HelpTest, ATopicEndsHelpModeAndAMessageShownMeanwhileStays) {
    HelpModeBegin();
    HelpModeBegin(); // a second begin changes nothing
    StatusSetMessage("Canceled");
    HelpShowTopic("Context Window");
    EXPECT_FALSE(HelpModeIsOn());
    EXPECT_FALSE(StatusIsSuspended()) << "one begin, one resume";
    EXPECT_STREQ(StatusGetMessage(), "Canceled") << "only the prompt is taken away";
    EXPECT_FALSE(EndHelpMode()) << "it was off";
}

} // namespace
