// cmdedit: the edit commands (prefix CmdEdit, and the commands' own names). Least form: the editing options
// at a selection, inserting an indented line, and "Indent Right"; the other commands of the Edit menu come
// with their own work.
// Success convention of the document core: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure; command handlers answer 0 done, 1 failed, 2 refused.
#pragma once

#include <cstdint>

struct DtaOptions;
struct FileBuffer;
struct Sel;

enum : int32_t { CMD_INDENT_RIGHT = 98 };

// The editing options of the document type in effect at the selection's start.
void EditOptionsAtSel(const Sel *sel, DtaOptions *out);
// Inserts a line at `at`, inside one edit, and puts the current window's caret on it when the window shows
// the buffer: an empty line at column 0 when the type has no auto indent, else the leading white space of
// the first non-blank line from `like` downwards (as tabs, or as blanks with Expand tabs) with the caret
// after it. 1 on success.
int InsertIndentedLine(FileBuffer *doc, int32_t at, int32_t like);
// "Indent Right" (98): inside one edit, every non-empty line of the current window's selection gets a tab
// (tab-width blanks with Expand tabs) at its start, but for preprocessor lines (first non-blank "#") unless
// "Indent commands affect #-preprocessor statements" is on. A selection becomes the whole lines it covered;
// an insertion point stays on its text.
int CmdIndentRight(int32_t command);
