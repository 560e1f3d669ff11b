// insert: typing and insertion (prefix Insert, and the names of the typing run). Consecutive keystrokes on
// one source window form a typing run: the run opens one edit on the window's buffer, holds the caret's line
// in memory as the typing line (the line store answers reads of it from there), changes it there, shows it
// at once and sends one change notice per keystroke; the line goes to the scratch file only when the run
// moves to another line or ends. The run ends before any other command, on a mouse click, on deactivation,
// before a buffer closes and at exit (the callers are the source windows and the shell). The module also
// computes automatic and smart indentation, wraps words at the margin, re-indents braces, flashes the
// matching bracket, moves between the fields of a parameter list (Smart Tab) and inserts completions.
// Every operation acts on the current source window and its selection (the display hooks of
// doc/dochook.h).
// Success convention of the document core: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure; command handlers answer 0 done, 1 failed, 2 refused.
#pragma once

#include "base/keycode.h"
#include "doc/sln.h"

#include <cstdint>

struct DtaOptions;
struct FileBuffer;

enum : int32_t {
    TYPING_CMD_ENTER = 3,
    TYPING_CMD_BACKSPACE = 4,
    TYPING_CMD_TAB = 5,
    TYPING_CMD_DELETE = 15,
    TYPING_CMD_SMART_TAB = 485,
    TYPING_CMD_SIMPLE_TAB = 488,
    TYPING_CMD_KEYPAD_FIRST = 622, // 622 to 625 type "/", "*", "-" and "+"
    TYPING_CMD_KEYPAD_LAST = 625,
    TYPING_GROUP = 999,        // the Repeat Typing group of a typing run
    TYPING_MATCH_MS = 333,     // a matching bracket stays selected this long
    TYPING_MATCH_FAR_MS = 500, // or this long when it lies outside the window's lines
};

// The run. BeginTypingRun opens a run on the current window (only while the program runs): 1, or 0 when
// refused. EndTypingRunFlag writes the typing line out and, when asked, closes the run's edit: 1, or the
// result of EndEdit; while a hold is raised it does nothing and answers 1. EndTypingRun is
// EndTypingRunFlag(true).
int BeginTypingRun();
int EndTypingRun();
int EndTypingRunFlag(bool endEdit);
bool IsTypingRun();
FileBuffer *TypingRunBuffer();
bool TypingIsBusy(); // the run is being opened or ended
void TypingHoldBegin();
void TypingHoldEnd();
void SetOvertype(bool on); // ends the run first
bool IsOvertype();
// While batch mode is on, typed characters only move the selection: nothing is repainted, flashed or
// recorded. The previous mode.
bool TypingSetBatch(bool on);
bool IsTypingCommand(int32_t command); // Tab and the keypad character commands
void TypingInit();                     // start-up: the last typing time is now
uint32_t LastTypingTime();             // tick of the last typed key
// A buffer being freed: a run on it ends, whatever holds are raised.
void TypingForgetBuffer(FileBuffer *doc);

// Types one character (the low byte of the key code) at the current window's selection: 1 when something
// was typed or a tab was taken by Smart Tab or by the indentation of the selection.
int InsertTypedText(KeyCode key);
// The handler of "Enter" (3), "Backspace" (4), "Tab" (5), "Delete Character" (15), "Smart Tab" (485) and
// "Simple Tab" (488), which force the Smart Tab switch on or off for one tab, and 622 to 625.
int TypingCommand(int32_t command);
// The two interceptions of a typed tab: 1 when the tab was taken.
int SmartTab();
int TabIndentsSelection();
// Inserts a chosen completion over the word at the caret, which the name must extend (ignoring case and
// leading underscores); with parameters asked for, a function-like symbol gets its parameter list and the
// first parameter selected. 1 when something was inserted.
int InsertCompletion(const char *name, const void *symbol, bool withParams);

// Indentation. IndentForLine: the leading white space of the line that governs a line's indentation (empty
// when none does); 0, with out empty, when the position lies inside a comment. IndentWidthForLine: the
// display width a new line at `line` wants (0 inside a comment and on line 0). ReindentLine: the leading
// white space, tabs expanded, loses up to oldWidth columns and gains newWidth (tabs made again unless
// keepSpaces).
int IndentForLine(FileBuffer *doc, int32_t line, int32_t column, LineRecord *out);
int32_t IndentWidthForLine(FileBuffer *doc, int32_t line, int32_t column);
void ReindentLine(LineRecord *record, int32_t oldWidth, int32_t newWidth, int32_t tabWidth, bool keepSpaces);
// A line ends a statement: after blanking strings and comments it is empty, begins with "#", or its last
// character is ";" or "}"; never when that last character is "\".
bool IndentEndsStatement(const LineRecord *record);
// Splits line `line`, whose text `typing` holds, at a column for Enter: `typing` keeps the head and *tail
// receives the rest with the indentation the options give it (auto indent, smart indent); *caretColumn is
// where the caret goes on the new line. 1.
int SplitLineWithIndent(FileBuffer *doc, int32_t line, LineRecord *typing, LineRecord *tail, int32_t column,
                        const DtaOptions *options, int32_t *caretColumn);

int EnsureOneLine(FileBuffer *doc); // an empty line in a buffer that has none
// One line of text at the current window's selection (InsertTextAtSel).
int InsertTextAtCursor(const char *text);
