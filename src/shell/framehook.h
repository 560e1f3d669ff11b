// framehook: what the frame window, the DDE server, the command line and the hand-over ask of modules that
// are built later or stand above the shell (prefix FrameHook, and the tables Frame*Hook). Each owner
// registers one table (FrameSetDocHook and its siblings), starting from the neutral table and replacing the
// calls it answers, so no member is ever null. Until then every call gives the neutral answer written beside
// it. Who registers each table is said above it.
// Success convention: as each member says; "0 done" members follow the command handlers' results (0 done,
// 2 cancelled, other values failed).
#pragma once

#include <windows.h>

#include <cstdint>

// The document layer: the file and edit commands, the workspace, typing and the clipboard (the document
// subsystem's file commands, typing, workspace and clipboard modules register it).
struct FrameDocHook {
    int (*openDocumentFile)(const char *path); // opens and shows a file: 0 done. Neutral: 1 (not opened).
    // Opens a file for the command line, created when missing, and shows it at the line (0: no line given):
    // the window that shows it, or null (neutral: null, nothing opened).
    void *(*openFileAtLine)(const char *path, int32_t line);
    void (*activateWindow)(void *window);      // a window openFileAtLine gave. Nothing.
    int (*newUntitled)(const char *extension); // a new "New%04d%s" file: 0 done. Neutral: 1.
    int (*insertFile)(const char *path);       // the file's text at the current selection: 0 done. Neutral 1.
    int (*loadClipFile)(const char *path);     // 0 loaded. Neutral: 1.
    // A workspace file, or the default "GLOBAL.WK3" for null, restoring its windows when asked. Neutral: no.
    bool (*loadWorkspace)(const char *path, bool restoreWindows);
    void (*linkClipboard)(); // the "Clipboard" document follows the system clipboard. Nothing.
    // The frame is activated: take the system clipboard when another program owns it, and have every file
    // buffer's read-only and changed-on-disk checks made again soon. Nothing.
    void (*activated)();
    void (*endTypingRun)();               // nothing
    void (*endCommandEdit)();             // nothing
    void (*renderClipboard)(UINT format); // WM_RENDERFORMAT, or 0 for WM_RENDERALLFORMATS. Nothing.
};

// Source windows and printing (the display subsystem's source window and printing modules register it).
struct FrameDisplayHook {
    // Prints a file by name: opens it (or finds it open), prints it and closes it again when it was not open.
    // True when printed. Neutral: false.
    bool (*printFileByName)(const char *path, bool showDialog);
    void (*focusFrontWindow)(); // the focus goes to the front source window. Nothing.
};

// The shell's later modules: start-up and closing, configuration, status bar and toolbars, the dialog
// engine, and the window classes of the modules above the window library (start-up registers it, taking
// in the status bar's, the configuration's and the toolbars' answers).
struct FrameShellHook {
    // Start-up's main initialisation, run once the frame exists: the arguments, the show state, and
    // whether the program should close when done. False ends the start. Neutral: true, nothing done.
    bool (*initApp)(int32_t count, char **args, int show, bool *quitWhenDone);
    bool (*registerClasses)(HINSTANCE instance); // neutral: true
    bool (*queryCloseApp)(bool save);            // may the program close? Neutral: yes.
    void (*shutdownApp)();                       // nothing
    bool (*modalState)();                        // a modal state blocks activation work. Neutral: no.
    void (*recoveryTimer)();                     // timer 1 of the frame. Nothing.
    void (*settingChange)(); // re-ready the drawing layer, status bar, formatter and fonts. Nothing.
    // A configuration file, or the global one for null. Neutral: false.
    bool (*loadConfig)(const char *path);
    void (*setFrameTitle)(); // nothing
    // The client area: the status bar's height at the bottom and the rebar's at the top (neutral 0 both);
    // the rebar is given the frame's new width first. The status bar paints its part (true when it is on).
    int32_t (*statusBarHeight)();
    int32_t (*rebarHeight)();
    void (*rebarResize)(int32_t width);
    bool (*paintStatusBar)(HWND frame, HDC dc); // neutral: false
    // Notifications go to the toolbars: the answer, and whether the rebar's height changed. Neutral: 0, no.
    LRESULT (*toolbarNotify)(NMHDR *notify, bool *heightChanged);
    bool (*contextMenu)(HWND window, int x, int y);      // true when a menu was shown. Neutral: false.
    void (*dialogIdle)(HWND dialog);                     // a modal dialog is idle. Nothing.
    bool (*realizePalette)(HWND frame, bool foreground); // true when colours changed. Neutral: false.
};

// Projects and symbols (the project and symbol modules register it).
struct FrameSymbolHook {
    bool (*projectIsOpen)(); // neutral: no
    // "-p" and "-pt" (ptForm: the project layer's flag of that form is set first): true when the project is
    // open. Neutral: false.
    bool (*openProject)(const char *name, bool ptForm);
    void (*closeCurrentProject)(); // nothing
    // A bare name on the command line looked up as a symbol of the project: a file symbol opens that file,
    // another symbol is shown at its definition; true when found. Neutral: false.
    bool (*openProjectSymbol)(const char *name);
    bool (*showSymbol)(const char *name);    // "-f": the definition shown; neutral false
    int (*projAddFile)(const char *path);    // 1 when that fails, 0 done or no project. Neutral: 0.
    int (*projRemoveFile)(const char *path); // the same
    void (*closeCompletionPopup)();          // nothing
};

// The macro layer (the event macros register it).
struct FrameMacroHook {
    void (*appStart)(); // the event macro "AppStart". Nothing.
};

const FrameDocHook *FrameDocNeutral();
const FrameDisplayHook *FrameDisplayNeutral();
const FrameShellHook *FrameShellNeutral();
const FrameSymbolHook *FrameSymbolNeutral();
const FrameMacroHook *FrameMacroNeutral();

// Registration: the table is copied; null puts the neutral one back.
void FrameSetDocHook(const FrameDocHook *hook);
void FrameSetDisplayHook(const FrameDisplayHook *hook);
void FrameSetShellHook(const FrameShellHook *hook);
void FrameSetSymbolHook(const FrameSymbolHook *hook);
void FrameSetMacroHook(const FrameMacroHook *hook);

// The tables in use.
const FrameDocHook &FrameDoc();
const FrameDisplayHook &FrameDisplay();
const FrameShellHook &FrameShell();
const FrameSymbolHook &FrameSymbol();
const FrameMacroHook &FrameMacro();
