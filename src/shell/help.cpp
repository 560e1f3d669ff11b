// help: help mode, the program's help and the reference files (prefix Help). The help state: the mode flag;
// HTML Help's entry once loaded and the cookie its initialisation gave; whether the external WinHelp file was
// used (and which file, for its quit at shutdown). Windows-only: the help engines are the system's.
#include "shell/help.h"

#include "base/path.h"
#include "base/reg.h"
#include "base/seam.h"
#include "base/sysprobe.h"
#include "base/toolbox.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "shell/about.h"
#include "shell/cmd.h"
#include "shell/status.h"
#include "ui/dlgcom.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

const char helpWebAddress[] = "https://www.tramontel.com/veltrix/";

static const char helpModePrompt[] = "Select the command you want HELP on";
static const char helpFileName[] = "Veltrix.chm";
static const char helpWelcomeTopic[] = "Welcome.htm";
static const char helpNoWord[] = "MS Windows"; // the WinHelp file's own topic when the caret is on no word

enum { HELP_WORD_SIZE = 80 }; // the word at the caret: at most 79 characters

static HelpHtmlHelpFn HelpSystemLoadHtmlHelp() {
    return SysProc<HelpHtmlHelpFn>(LoadLibraryA("hhctrl.ocx"), "HtmlHelpA");
}

static const HelpOsCalls helpSystemCalls = {
    .loadHtmlHelp = HelpSystemLoadHtmlHelp,
    .winHelp = WinHelpA,
    .shellExecute = ShellExecuteA,
};

enum HelpHtmlState { HELP_HTML_UNTRIED, HELP_HTML_LOADED, HELP_HTML_MISSING };

static HelpOsCalls helpCalls = helpSystemCalls;
static HelpHooks helpHooks;
static bool helpModeOn;
static HelpHtmlState helpHtmlState;
static HelpHtmlHelpFn helpHtmlHelp;
static DWORD helpHtmlCookie;
static bool helpWinHelpUsed;
static char helpWinHelpFile[PATH_BUFFER]; // the file the WinHelp engine was last asked about

static void HelpForgetEngines() {
    helpHtmlState = HELP_HTML_UNTRIED;
    helpHtmlHelp = nullptr;
    helpHtmlCookie = 0;
    helpWinHelpUsed = false;
    helpWinHelpFile[0] = 0;
}

static void HelpResetSeams() {
    helpCalls = helpSystemCalls;
    helpHooks = {};
    HelpForgetEngines();
}

void HelpSetOsCalls(const HelpOsCalls *calls) {
    helpCalls = calls ? *calls : helpSystemCalls;
    HelpForgetEngines();
    SeamRegisterReset(HelpResetSeams);
}

void HelpSetHooks(const HelpHooks *hooks) {
    helpHooks = hooks ? *hooks : HelpHooks{};
    SeamRegisterReset(HelpResetSeams);
}

// ---- Help mode

void HelpModeBegin() {
    if (helpModeOn) return;
    helpModeOn = true;
    StatusPrintf("%s", helpModePrompt);
    StatusSuspend();
    CursorSetHelp();
}

bool HelpModeIsOn() {
    return helpModeOn;
}

// The prompt goes with the mode: the field waits for the next position update or message.
bool EndHelpMode() {
    if (!helpModeOn) return false;
    helpModeOn = false;
    StatusResume();
    if (strcmp(StatusGetMessage(), helpModePrompt) == 0) StatusPrintf(nullptr);
    CursorSet(LoadCursor(nullptr, IDC_ARROW));
    return true;
}

int CmdHelpMode(int32_t) {
    if (!EndHelpMode()) HelpModeBegin();
    return 0;
}

// ---- The program's help

// HTML Help's entry, loaded and initialised at the first lookup; null when it is missing.
static HelpHtmlHelpFn HelpHtml() {
    if (helpHtmlState == HELP_HTML_UNTRIED) {
        helpHtmlHelp = helpCalls.loadHtmlHelp ? helpCalls.loadHtmlHelp() : nullptr;
        helpHtmlState = helpHtmlHelp ? HELP_HTML_LOADED : HELP_HTML_MISSING;
        if (helpHtmlHelp) helpHtmlHelp(nullptr, nullptr, HH_INITIALIZE, (DWORD_PTR)&helpHtmlCookie);
    }
    return helpHtmlHelp;
}

// A keyword lookup in an HTML Help file; the index opens at the keyword when no topic has it.
static bool HelpHtmlKeyword(const char *file, const char *keyword) {
    HelpHtmlHelpFn htmlHelp = HelpHtml();
    if (!htmlHelp) return false;
    char cut[HELP_KEYWORD_MAX + 1];
    StrCopyMaxLen(keyword, cut, HELP_KEYWORD_MAX);
    HH_AKLINK link = {};
    link.cbStruct = sizeof link;
    link.pszKeywords = cut;
    link.fIndexOnFail = TRUE;
    return htmlHelp(WndGetAppFrame(), file, HH_KEYWORD_LOOKUP, (DWORD_PTR)&link) != nullptr;
}

static bool HelpHtmlTopic(const char *file) {
    HelpHtmlHelpFn htmlHelp = HelpHtml();
    return htmlHelp && htmlHelp(WndGetAppFrame(), file, HH_DISPLAY_TOPIC, 0) != nullptr;
}

// The program folder as start-up recorded it; before that, the folder of the program's file.
static void HelpProgramDir(char *folder) {
    if (ToolboxProgramDir()[0]) {
        StrCopyMaxLen(ToolboxProgramDir(), folder, PATH_MAX_CHARS);
        return;
    }
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    module[PATH_MAX_CHARS] = 0;
    PathSplit(module, folder, nullptr);
}

bool HelpShowTopic(const char *keyword) {
    EndHelpMode();
    char folder[PATH_BUFFER], file[PATH_BUFFER];
    HelpProgramDir(folder);
    PathJoin(folder, helpFileName, file);
    if (keyword && keyword[0]) return HelpHtmlKeyword(file, keyword);
    char topic[PATH_BUFFER + sizeof helpWelcomeTopic + 3];
    snprintf(topic, sizeof topic, "%s::/%s", file, helpWelcomeTopic);
    return HelpHtmlTopic(topic);
}

bool HelpOnCommand(int32_t command) {
    char name[CMD_NAME_MAX];
    GetCommandName(command, name, sizeof name);
    return HelpShowTopic(name);
}

int CmdHelp(int32_t) {
    HelpShowTopic(nullptr);
    return 0;
}

bool HelpPreTranslate(MSG *msg) {
    if (helpHtmlState != HELP_HTML_LOADED) return false;
    return helpHtmlHelp(nullptr, nullptr, HH_PRETRANSLATEMESSAGE, (DWORD_PTR)msg) != nullptr;
}

void HelpTerm() {
    if (helpHtmlState == HELP_HTML_LOADED) helpHtmlHelp(nullptr, nullptr, HH_UNINITIALIZE, helpHtmlCookie);
    if (helpWinHelpUsed && helpCalls.winHelp)
        helpCalls.winHelp(WndGetAppFrame(), helpWinHelpFile, HELP_QUIT, 0);
    HelpForgetEngines();
    AboutTerm();
}

// ---- The reference files

// A reference file the user locates once: its registry value and the set-up dialog that asks for it.
struct HelpReference {
    const char *value;
    const char *title;
    const char *filter;
    const char *defaultExt;
    const char *defaultPath; // where the dialog starts when the value is missing
};

static const HelpReference helpWinHelpReference = {"WinHelpFile", "Locate the SDK WinHelp File",
                                                   "Help Files (*.hlp)\0*.hlp\0", ".hlp", "win31wh.hlp"};
static const HelpReference helpHtmlReference = {"HTMLHelpFile", "Locate the HTML Help File",
                                                "HTML Help Files (*.chm)\0*.chm\0", ".chm", ""};

static bool HelpReferencePath(const HelpReference *reference, char *path) {
    path[0] = 0;
    return RegQueryUser(reference->value, path, PATH_BUFFER) && path[0];
}

// The set-up command: 0 when a file was chosen and stored, 2 when the dialog was cancelled.
static int HelpSetUpReference(const HelpReference *reference) {
    char path[PATH_BUFFER];
    if (!HelpReferencePath(reference, path)) StrCopyMaxLen(reference->defaultPath, path, PATH_MAX_CHARS);
    if (!AskOpenFile(reference->title, reference->filter, reference->defaultExt, path)) return 2;
    return RegSetUser(reference->value, path) == ERROR_SUCCESS ? 0 : 1;
}

int CmdSetupWinHelp(int32_t) {
    return HelpSetUpReference(&helpWinHelpReference);
}

int CmdSetupHtmlHelp(int32_t) {
    return HelpSetUpReference(&helpHtmlReference);
}

// The file's path; when the value is missing the set-up runs first. False when it is still missing.
static bool HelpReferenceFile(const HelpReference *reference, char *path) {
    if (HelpReferencePath(reference, path)) return true;
    HelpSetUpReference(reference);
    return HelpReferencePath(reference, path);
}

static void HelpWordAtCaret(char *word) {
    word[0] = 0;
    if (helpHooks.wordAtCaret) helpHooks.wordAtCaret(word, HELP_WORD_SIZE);
}

int CmdSdkHelp(int32_t) {
    char file[PATH_BUFFER], word[HELP_WORD_SIZE];
    if (!HelpReferenceFile(&helpWinHelpReference, file)) return 2;
    HelpWordAtCaret(word);
    if (!word[0]) strcpy(word, helpNoWord);
    if (!helpCalls.winHelp) return 0;
    strcpy(helpWinHelpFile, file);
    helpWinHelpUsed = true;
    helpCalls.winHelp(WndGetAppFrame(), file, HELP_KEY, (ULONG_PTR)word);
    return 0;
}

// Without a word the file opens at its own first page.
int CmdHtmlHelp(int32_t) {
    char file[PATH_BUFFER], word[HELP_WORD_SIZE];
    if (!HelpReferenceFile(&helpHtmlReference, file)) return 2;
    HelpWordAtCaret(word);
    if (word[0])
        HelpHtmlKeyword(file, word);
    else
        HelpHtmlTopic(file);
    return 0;
}

// The shell answers a number above 32 when it opened the address.
int CmdWebSite(int32_t) {
    if (!helpCalls.shellExecute) return 1;
    HINSTANCE result =
        helpCalls.shellExecute(WndGetAppFrame(), "open", helpWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
    return (intptr_t)result > 32 ? 0 : 1;
}
