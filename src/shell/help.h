// help: help mode and the program's help (prefix Help). The program's own help is the compiled HTML Help file
// "Veltrix.chm" in the program folder, opened at a keyword (a command's name, a dialog's caption) or at its
// welcome page; two reference files that the user locates ("WinHelpFile", "HTMLHelpFile" in the registry)
// look up the word at the caret. In help mode the next command does not run: the dispatcher ends the mode and
// opens the command's topic instead.
//
// The help engines are the system's: HTML Help is loaded from "hhctrl.ocx" at the first lookup (its entry
// looked up once); when it is missing, every lookup answers false quietly. The calls go through one table
// that tests replace, so that no test opens a help window.
//
// Success convention: lookups return true when the help engine opened its window; command handlers return
// 0 done, 1 failed, 2 cancelled.
#pragma once

#include <windows.h>

#include <cstdint>

enum { HELP_KEYWORD_MAX = 255 }; // longer keywords are cut

// Help mode. On: the status bar shows "Select the command you want HELP on", status messages are suspended
// and the help cursor is set. EndHelpMode leaves it (messages resumed, the prompt taken away, the arrow
// cursor back) and answers true when it was on.
void HelpModeBegin();
bool HelpModeIsOn();
bool EndHelpMode();

// The program's help at a keyword, or at its welcome page for null or "": leaves help mode first.
bool HelpShowTopic(const char *keyword);
// The name the lower layers call it by (dialogs' Help buttons open the dialog's caption).
inline void ShowHelpTopic(const char *topic) {
    HelpShowTopic(topic);
}
// The topic of a command: its name is the keyword. Every dialog's Help button and each preferences page
// calls it with its command.
bool HelpOnCommand(int32_t command);

// The main loop's pre-translation step: HTML Help takes the messages of its windows, once it is loaded.
bool HelpPreTranslate(MSG *msg);

// At shutdown: HTML Help uninitialised and the WinHelp file told to quit, each only when it was used; the
// About window's logo freed.
void HelpTerm();

// Command handlers: 33 "Help...", 65 "Help Mode", 288 "SDK Help...", 345 "Setup WinHelp File", 472 "Setup
// HTML Help", 473 "HTML Help...", 613 "Tramontel on the Web" (1 when the shell cannot open the address).
int CmdHelp(int32_t command);
int CmdHelpMode(int32_t command);
int CmdSdkHelp(int32_t command);
int CmdSetupWinHelp(int32_t command);
int CmdSetupHtmlHelp(int32_t command);
int CmdHtmlHelp(int32_t command);
int CmdWebSite(int32_t command);

// What help asks of the subsystems above the shell. Every member may be null, which gives the neutral answer
// in brackets.
struct HelpHooks {
    void (*wordAtCaret)(char *word, int size); // the symbol word at the front window's caret [""]
};
void HelpSetHooks(const HelpHooks *hooks); // null: all neutral

// The help engines' calls. loadHtmlHelp loads HTML Help and gives its entry, or null when it is missing; it
// is asked once.
typedef HWND(WINAPI *HelpHtmlHelpFn)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
struct HelpOsCalls {
    HelpHtmlHelpFn (*loadHtmlHelp)();
    BOOL(WINAPI *winHelp)(HWND window, LPCSTR file, UINT command, ULONG_PTR data);
    HINSTANCE(WINAPI *shellExecute)
    (HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show);
};
// Test seam: replaces the table (null: the system's) and forgets what was loaded and used.
void HelpSetOsCalls(const HelpOsCalls *calls);

extern const char helpWebAddress[]; // the maker's web site
