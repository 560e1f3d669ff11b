// cmdtab: the command table (prefix CmdTab). Each row keeps its number for good: key maps, menus and toolbars
// in configuration files store it. A row whose handler belongs to a subsystem that has not put it in yet runs
// CmdUnavailable ("Command not available."); its number, name, masks, group and class are already final.
//
// Masks follow what each handler needs: a current buffer (0x1, or 0x3 where the "Clipboard" document serves
// too), undo 0x10, redo 0x200, something to paste 0x20, a selection 0x100, a project 0x8 (one that is not
// read-only 0x400), more than one window 0x800, the recorder 0x2000 and 0x4000. Low resources (0x40) disable
// every command but the essential ones: those that save, close, exit and reach the menus.
#include "app/cmdtab.h"

#include "doc/cmdedit.h"
#include "doc/insert.h"
#include "doc/undo.h"
#include "shell/about.h"
#include "shell/advopt.h"
#include "shell/cmdrun.h"
#include "shell/prefs.h"
#include "shell/frame.h"
#include "shell/help.h"

namespace {

struct CmdTabMasks {
    uint32_t disable;
    uint32_t enable;
};

constexpr CmdTabMasks ESSENTIAL{0, 0};
constexpr CmdTabMasks ANY{CMD_STATE_LOW, 0};
constexpr CmdTabMasks VIEWING{CMD_STATE_LOW, CMD_STATE_BUFFER | CMD_STATE_CLIPBOARD};
constexpr CmdTabMasks EDITING{CMD_STATE_LOW, CMD_STATE_BUFFER};
constexpr CmdTabMasks SELECTION{CMD_STATE_LOW, CMD_STATE_SELECTION};
constexpr CmdTabMasks UNDO{CMD_STATE_LOW, CMD_STATE_UNDO};
constexpr CmdTabMasks REDO{CMD_STATE_LOW, CMD_STATE_REDO};
constexpr CmdTabMasks PASTE{CMD_STATE_LOW | CMD_STATE_NO_BUFFER, CMD_STATE_PASTE};
constexpr CmdTabMasks PROJECT{CMD_STATE_LOW, CMD_STATE_PROJECT};
constexpr CmdTabMasks PROJECT_ESSENTIAL{0, CMD_STATE_PROJECT};
constexpr CmdTabMasks PROJECT_CHANGE{CMD_STATE_LOW | CMD_STATE_READ_ONLY_PROJECT, CMD_STATE_PROJECT};
constexpr CmdTabMasks WINDOWS{CMD_STATE_LOW, CMD_STATE_WINDOWS};
constexpr CmdTabMasks WINDOWS_ESSENTIAL{0, CMD_STATE_WINDOWS};
constexpr CmdTabMasks CLOSING{0, CMD_STATE_BUFFER | CMD_STATE_CLIPBOARD};
constexpr CmdTabMasks SAVING{0, CMD_STATE_BUFFER};
constexpr CmdTabMasks RECORD_START{CMD_STATE_LOW | CMD_STATE_RECORDING, 0};
constexpr CmdTabMasks RECORD_STOP{0, CMD_STATE_RECORDING};
constexpr CmdTabMasks RECORD_PLAY{CMD_STATE_LOW, CMD_STATE_RECORDED};

constexpr CommandRecord Row(const char *name, CommandGroup group, CommandClass commandClass, uint32_t flags,
                            CmdTabMasks masks, const char *description, CommandHandler handler) {
    return {masks.disable, masks.enable, name, description, group, commandClass, flags, handler, 0, nullptr};
}

// A global command, offered on menus and keys and found by name.
constexpr CommandRecord Cmd(const char *name, CommandGroup group, CmdTabMasks masks, const char *description,
                            CommandHandler handler = CmdUnavailable) {
    return Row(name, group, CMD_CLASS_GLOBAL, 0, masks, description, handler);
}

// A command whose handler builds a submenu; it builds none until its subsystem puts its handler in.
constexpr CommandRecord Submenu(const char *name, CommandGroup group, CmdTabMasks masks,
                                const char *description) {
    return Row(name, group, CMD_CLASS_GLOBAL, CMD_FLAG_SUBMENU, masks, description, nullptr);
}

// A row without a fixed name: run by number (a key, a user command) and named, if at all, by a dynamic text.
constexpr CommandRecord Unnamed(CommandGroup group, CmdTabMasks masks, const char *description,
                                CommandHandler handler) {
    return Row("", group, CMD_CLASS_GLOBAL, CMD_FLAG_DIRECT, masks, description, handler);
}

// A custom-command slot of the build, source control and user tool groups.
constexpr CommandRecord Slot(CommandGroup group, const char *description) {
    return Unnamed(group, ANY, description, CmdUnavailable);
}

constexpr CommandRecord Reserved() {
    return Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr);
}

// A command of one kind of window, offered on that window's menu and run by it.
constexpr CommandRecord Local(CommandClass commandClass, const char *name, const char *description,
                              CommandHandler handler = CmdUnavailable) {
    return Row(name, CMD_GROUP_NONE, commandClass, 0, ANY, description, handler);
}

constexpr CommandRecord LocalSubmenu(CommandClass commandClass, const char *name, const char *description) {
    return Row(name, CMD_GROUP_NONE, commandClass, CMD_FLAG_SUBMENU, ANY, description, nullptr);
}

// The macro language's rows: its built-in functions, its keywords (which the interpreter reads itself) and
// its operators.
constexpr CommandRecord MacroFunction(const char *name) {
    return Row(name, CMD_GROUP_MACRO, CMD_CLASS_MACRO, 0, ANY, "Macro language function.", CmdUnavailable);
}

constexpr CommandRecord MacroKeyword(const char *name) {
    return Row(name, CMD_GROUP_MACRO, CMD_CLASS_MACRO, 0, ANY, "Macro language keyword.", nullptr);
}

constexpr CommandRecord MacroOperator(CommandHandler handler) {
    return Row("", CMD_GROUP_MACRO, CMD_CLASS_MACRO, CMD_FLAG_DIRECT, ANY, "", handler);
}

} // namespace

// Sized by its rows: a row too many or too few conflicts with the declaration of CMD_ROW_COUNT rows.
const CommandRecord cmdTable[] = {
    /*   0 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /*   1 */ Cmd("Open Last", CMD_GROUP_FILE, ANY, "Opens the file that was closed last."),
    /*   2 */
    Unnamed(CMD_GROUP_APPLICATION, ESSENTIAL, "Cancels the current mode, selection or operation.",
            CmdUnavailable),
    /*   3 */ Cmd("Enter", CMD_GROUP_EDIT, EDITING, "Inserts a new line at the cursor.", TypingCommand),
    /*   4 */
    Cmd("Backspace", CMD_GROUP_EDIT, EDITING, "Deletes the character before the cursor, or the selection.",
        TypingCommand),
    /*   5 */
    Cmd("Tab", CMD_GROUP_EDIT, EDITING, "Inserts a tab, or indents the selected lines.", TypingCommand),
    /*   6 */
    Cmd("Back Tab", CMD_GROUP_EDIT, EDITING,
        "Moves the cursor back to the previous tab stop, or outdents the selected lines."),
    /*   7 */ Cmd("Cursor Up", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor up one line."),
    /*   8 */ Cmd("Cursor Down", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor down one line."),
    /*   9 */ Cmd("Cursor Left", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor left one character."),
    /*  10 */ Cmd("Cursor Right", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor right one character."),
    /*  11 */
    Cmd("Page Down", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls down one page and moves the cursor with it."),
    /*  12 */
    Cmd("Page Up", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls up one page and moves the cursor with it."),
    /*  13 */
    Cmd("Word Left", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the start of the previous word."),
    /*  14 */
    Cmd("Word Right", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the start of the next word."),
    /*  15 */
    Cmd("Delete Character", CMD_GROUP_EDIT, EDITING, "Deletes the character at the cursor, or the selection.",
        TypingCommand),
    /*  16 */ Cmd("Cut Line", CMD_GROUP_EDIT, EDITING, "Cuts the current line to the clipboard."),
    /*  17 */
    Cmd("Beginning Of Line", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the beginning of the line."),
    /*  18 */ Cmd("Top Of File", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the top of the file."),
    /*  19 */
    Cmd("Top Of Window", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the top line of the window."),
    /*  20 */ Cmd("End Of Line", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the end of the line."),
    /*  21 */
    Cmd("Bottom Of File", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the bottom of the file."),
    /*  22 */
    Cmd("Bottom Of Window", CMD_GROUP_NAVIGATION, VIEWING,
        "Moves the cursor to the bottom line of the window."),
    /*  23 */ Cmd("Toggle Insert Mode", CMD_GROUP_EDIT, ANY, "Switches between insert and overtype mode."),
    /*  24 */
    Cmd("Exit", CMD_GROUP_APPLICATION, ESSENTIAL, "Closes all files and exits the program.", CmdExit),
    /*  25 */ Cmd("Scroll Line Down", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls the window down one line."),
    /*  26 */ Cmd("Scroll Line Up", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls the window up one line."),
    /*  27 */ Cmd("Activate Menu Bar", CMD_GROUP_MENU, ESSENTIAL, "Activates the menu bar."),
    /*  28 */ Cmd("Cut Word", CMD_GROUP_EDIT, EDITING, "Cuts the word at the cursor to the clipboard."),
    /*  29 */
    Cmd("Cut Line Left", CMD_GROUP_EDIT, EDITING, "Cuts from the beginning of the line to the cursor."),
    /*  30 */ Cmd("Cut Line Right", CMD_GROUP_EDIT, EDITING, "Cuts from the cursor to the end of the line."),
    /*  31 */
    Unnamed(CMD_GROUP_ALL, ESSENTIAL, "Places the cursor where the mouse is clicked.", CmdUnavailable),
    /*  32 */ Unnamed(CMD_GROUP_NONE, ANY, "Custom Command or Editor Macro.", CmdUnavailable),
    /*  33 */ Cmd("Help...", CMD_GROUP_HELP, ESSENTIAL, "Opens the help contents.", CmdHelp),
    /*  34 */ Cmd("Rename...", CMD_GROUP_EDIT, EDITING, "Renames the current file."),
    /*  35 */ Cmd("Scroll Half Page Up", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls the window up half a page."),
    /*  36 */
    Cmd("Scroll Half Page Down", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls the window down half a page."),
    /*  37 */ Cmd("Paren Right", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the next parenthesis."),
    /*  38 */
    Cmd("Paren Left", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the previous parenthesis."),
    /*  39 */
    Cmd("Block Up", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the start of the enclosing block."),
    /*  40 */
    Cmd("Block Down", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the end of the enclosing block."),
    /*  41 */
    Cmd("Tile Two Windows", CMD_GROUP_WINDOWS, WINDOWS, "Tiles the two most recently used windows."),
    /*  42 */ Cmd("Search Forward", CMD_GROUP_SEARCH, VIEWING, "Searches forward for the search pattern."),
    /*  43 */
    Cmd("Go Back", CMD_GROUP_NAVIGATION, ANY, "Goes back to the previous location in the selection history."),
    /*  44 */ Cmd("Select All", CMD_GROUP_NAVIGATION, VIEWING, "Selects the whole file."),
    /*  45 */
    Cmd("Parse Source Links...", CMD_GROUP_NAVIGATION, VIEWING,
        "Parses the current file for source links, such as search results."),
    /*  46 */ Cmd("Go To Next Link", CMD_GROUP_NAVIGATION, ANY, "Goes to the next source link."),
    /*  47 */ Cmd("Go To First Link", CMD_GROUP_NAVIGATION, ANY, "Goes to the first source link."),
    /*  48 */ Unnamed(CMD_GROUP_NONE, ANY, "", CmdUnavailable),
    /*  49 */ Unnamed(CMD_GROUP_NONE, ANY, "", CmdUnavailable),
    /*  50 */
    Cmd("Blank Line Up", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor up to the previous blank line."),
    /*  51 */
    Cmd("Blank Line Down", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor down to the next blank line."),
    /*  52 */
    Cmd("Toggle Extend Mode", CMD_GROUP_NAVIGATION, VIEWING,
        "Switches extend mode on or off: cursor moves then extend the selection."),
    /*  53 */ Cmd("Paste From Clip...", CMD_GROUP_EDIT, EDITING, "Pastes the contents of a clip."),
    /*  54 */
    Cmd("Show File Status", CMD_GROUP_FILE, VIEWING,
        "Shows the current file's name, size and state in the status bar."),
    /*  55 */ Cmd("Custom Commands...", CMD_GROUP_OPTIONS, ANY, "Adds, changes and runs custom commands."),
    /*  56 */ Cmd("New", CMD_GROUP_FILE, ANY, "Creates a new file."),
    /*  57 */ Cmd("Open...", CMD_GROUP_FILE, ANY, "Opens a file."),
    /*  58 */ Cmd("Close", CMD_GROUP_FILE, CLOSING, "Closes the current file."),
    /*  59 */ Cmd("Save", CMD_GROUP_FILE, SAVING, "Saves the current file."),
    /*  60 */ Cmd("Save As...", CMD_GROUP_FILE, SAVING, "Saves the current file under a new name."),
    /*  61 */
    Cmd("Browse Project Symbols...", CMD_GROUP_SYMBOL, ANY,
        "Browses the symbols of the project and its symbol path."),
    /*  62 */ Cmd("Search...", CMD_GROUP_SEARCH, VIEWING, "Searches the current file for a pattern."),
    /*  63 */
    Cmd("Replace...", CMD_GROUP_EDIT, EDITING, "Replaces a pattern with new text in the current file."),
    /*  64 */
    Cmd("About Veltrix...", CMD_GROUP_APPLICATION, ANY, "Shows the program's version and copyright.",
        CmdAbout),
    /*  65 */
    Cmd("Help Mode", CMD_GROUP_HELP, ANY,
        "Switches help mode on: the next command shows its help instead of running.", CmdHelpMode),
    /*  66 */ Cmd("Go To Line...", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to a line number."),
    /*  67 */
    Cmd("Project Settings...", CMD_GROUP_OPTIONS, ANY, "Changes the settings of the current project."),
    /*  68 */ Cmd("Select Paragraph", CMD_GROUP_NAVIGATION, VIEWING, "Selects the paragraph at the cursor."),
    /*  69 */
    Cmd("Document Options...", CMD_GROUP_OPTIONS, ANY, "Changes the options of the document types."),
    /*  70 */ Cmd("Page Setup...", CMD_GROUP_OPTIONS, ANY, "Changes the page layout of printed files."),
    /*  71 */
    Cmd("Preferences...", CMD_GROUP_OPTIONS, ANY, "Changes the program's preferences.", CmdPreferences),
    /*  72 */
    Cmd("Key Assignments...", CMD_GROUP_OPTIONS, ANY, "Assigns keys and mouse buttons to commands."),
    /*  73 */ Cmd("Menu Assignments...", CMD_GROUP_OPTIONS, ANY, "Changes the commands on the menus."),
    /*  74 */ Cmd("New Project...", CMD_GROUP_PROJECT, ANY, "Creates a new project."),
    /*  75 */ Cmd("Open Project...", CMD_GROUP_PROJECT, ANY, "Opens a project."),
    /*  76 */ Cmd("Close Project", CMD_GROUP_PROJECT, PROJECT_ESSENTIAL, "Closes the current project."),
    /*  77 */ Cmd("Remove Project...", CMD_GROUP_PROJECT, ANY, "Removes a project and its data files."),
    /*  78 */ Cmd("Add File...", CMD_GROUP_PROJECT, PROJECT_CHANGE, "Adds files to the current project."),
    /*  79 */
    Cmd("Remove File...", CMD_GROUP_PROJECT, PROJECT_CHANGE, "Removes files from the current project."),
    /*  80 */
    Cmd("Reform Paragraph", CMD_GROUP_EDIT, EDITING, "Reformats the paragraph at the cursor to the margins."),
    /*  81 */
    Cmd("Project Report...", CMD_GROUP_PROJECT, PROJECT,
        "Writes a report of the current project's files and symbols."),
    /*  82 */
    Cmd("Symbol Info...", CMD_GROUP_SYMBOL, VIEWING, "Shows information about the symbol at the cursor."),
    /*  83 */
    Cmd("Add File List...", CMD_GROUP_PROJECT, PROJECT_CHANGE,
        "Adds the files named in a list file to the current project."),
    /*  84 */
    Cmd("Jump To Link", CMD_GROUP_NAVIGATION, ANY, "Jumps to the location of the current source link."),
    /*  85 */ Cmd("Selection History...", CMD_GROUP_NAVIGATION, ANY, "Lists the recently visited locations."),
    /*  86 */
    Cmd("Jump To Definition", CMD_GROUP_SYMBOL, VIEWING,
        "Jumps to the definition of the symbol at the cursor."),
    /*  87 */ Cmd("Undo", CMD_GROUP_EDIT, UNDO, "Undoes the last change.", CmdUndo),
    /*  88 */ Cmd("Redo", CMD_GROUP_EDIT, REDO, "Redoes the last undone change.", CmdRedo),
    /*  89 */ Cmd("Save All", CMD_GROUP_FILE, ESSENTIAL, "Saves all changed files."),
    /*  90 */ Cmd("Cut", CMD_GROUP_EDIT, SELECTION, "Cuts the selection to the clipboard."),
    /*  91 */ Cmd("Copy", CMD_GROUP_EDIT, SELECTION, "Copies the selection to the clipboard."),
    /*  92 */ Cmd("Paste", CMD_GROUP_EDIT, PASTE, "Pastes the clipboard at the cursor."),
    /*  93 */ Cmd("Cut Word Left", CMD_GROUP_EDIT, EDITING, "Cuts the word before the cursor."),
    /*  94 */ Cmd("Insert Line", CMD_GROUP_EDIT, EDITING, "Inserts a blank line at the cursor line."),
    /*  95 */
    Cmd("Insert Line Before Next", CMD_GROUP_EDIT, EDITING, "Inserts a blank line after the cursor line."),
    /*  96 */ Cmd("Join Lines", CMD_GROUP_EDIT, EDITING, "Joins the next line to the current line."),
    /*  97 */ Cmd("Indent Left", CMD_GROUP_EDIT, EDITING, "Outdents the selected lines by one tab stop."),
    /*  98 */
    Cmd("Indent Right", CMD_GROUP_EDIT, EDITING, "Indents the selected lines by one tab stop.",
        CmdIndentRight),
    /*  99 */ Cmd("Run Macro", CMD_GROUP_APPLICATION, ANY, "Runs the macro at the cursor."),
    /* 100 */
    Cmd("Renumber...", CMD_GROUP_EDIT, EDITING, "Renumbers a sequence of numbers in the selection."),
    /* 101 */
    Cmd("Paste Line", CMD_GROUP_EDIT, PASTE, "Pastes the clipboard as whole lines before the cursor line."),
    /* 102 */ Cmd("Copy Line", CMD_GROUP_EDIT, VIEWING, "Copies the current line to the clipboard."),
    /* 103 */ Cmd("Copy To Clip...", CMD_GROUP_EDIT, SELECTION, "Copies the selection to a clip."),
    /* 104 */ Cmd("Next File...", CMD_GROUP_FILE, ANY, "Closes the current file and opens another."),
    /* 105 */
    Cmd("Browse Local File Symbols...", CMD_GROUP_SYMBOL, VIEWING,
        "Browses the symbols of the current file."),
    /* 106 */
    Cmd("Go Forward", CMD_GROUP_NAVIGATION, ANY,
        "Goes forward to the next location in the selection history."),
    /* 107 */
    Cmd("Go Back Toggle", CMD_GROUP_NAVIGATION, ANY,
        "Goes back to the previous location, or forward again when repeated."),
    /* 108 */ Cmd("Bookmark...", CMD_GROUP_NAVIGATION, ANY, "Adds, removes and goes to bookmarks."),
    /* 109 */
    Cmd("Redraw Screen", CMD_GROUP_APPLICATION, ESSENTIAL, "Redraws every window of the program.",
        CmdRedrawScreen),
    /* 110 */ Cmd("New Window", CMD_GROUP_WINDOWS, VIEWING, "Opens a new window on the current file."),
    /* 111 */
    Cmd("Link Window...", CMD_GROUP_WINDOWS, WINDOWS,
        "Links the current window to another, so that they scroll together."),
    /* 112 */ Cmd("Show Clipboard", CMD_GROUP_WINDOWS, ANY, "Shows the clipboard contents in a window."),
    /* 113 */
    Cmd("Select Previous Window", CMD_GROUP_WINDOWS, WINDOWS_ESSENTIAL, "Activates the previous window."),
    /* 114 */
    Unnamed(CMD_GROUP_NONE, ESSENTIAL, "Activates a window listed on the Window menu.", CmdUnavailable),
    /* 115 */
    Cmd("Save Workspace...", CMD_GROUP_FILE, ANY, "Saves the open files and windows as a workspace."),
    /* 116 */
    Cmd("Synchronize Files...", CMD_GROUP_PROJECT, PROJECT,
        "Brings the project's symbol database up to date with its files."),
    /* 117 */ Cmd("Close All", CMD_GROUP_FILE, ESSENTIAL, "Closes all files."),
    /* 118 */ Cmd("Activate File Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the File menu."),
    /* 119 */ Cmd("Activate Edit Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the Edit menu."),
    /* 120 */ Cmd("Activate Search Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the Search menu."),
    /* 121 */ Cmd("Activate Project Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the Project menu."),
    /* 122 */ Cmd("Activate Window Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the Window menu."),
    /* 123 */ Cmd("Scroll Right", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls the window right."),
    /* 124 */ Cmd("Scroll Left", CMD_GROUP_NAVIGATION, VIEWING, "Scrolls the window left."),
    /* 125 */ Cmd("Search Files...", CMD_GROUP_SEARCH, ANY, "Searches many files for a pattern."),
    /* 126 */
    Cmd("Replace Files...", CMD_GROUP_SEARCH, ANY, "Replaces a pattern with new text in many files."),
    /* 127 */
    Cmd("Cut Selection or Paste", CMD_GROUP_EDIT, EDITING,
        "Cuts the selection, or pastes the clipboard when nothing is selected."),
    /* 128 */ Cmd("Select Word", CMD_GROUP_NAVIGATION, VIEWING, "Selects the word at the cursor."),
    /* 129 */ Cmd("Select Sentence", CMD_GROUP_NAVIGATION, VIEWING, "Selects the sentence at the cursor."),
    /* 130 */ Cmd("Select Line", CMD_GROUP_NAVIGATION, VIEWING, "Selects the line at the cursor."),
    /* 131 */ Cmd("Select Block", CMD_GROUP_NAVIGATION, VIEWING, "Selects the enclosing block."),
    /* 132 */
    Cmd("Select Match", CMD_GROUP_NAVIGATION, VIEWING,
        "Selects to the matching parenthesis, bracket or brace."),
    /* 133 */
    Cmd("Select Function or Symbol", CMD_GROUP_NAVIGATION, VIEWING,
        "Selects the function or symbol at the cursor."),
    /* 134 */
    Cmd("Select To", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection to where the mouse is clicked."),
    /* 135 */
    Unnamed(CMD_GROUP_PROJECT, PROJECT_CHANGE, "Brings the current project up to date (command-line switch).",
            CmdUnavailable),
    /* 136 */ Unnamed(CMD_GROUP_NONE, ANY, "Runs a user command.", CmdUnavailable),
    /* 137 */
    Cmd("Insert New Line", CMD_GROUP_EDIT, EDITING,
        "Inserts a new line after the cursor line and moves to it."),
    /* 138 */ Unnamed(CMD_GROUP_APPLICATION, ESSENTIAL, "", nullptr),
    /* 139 */ Cmd("Save Configuration...", CMD_GROUP_OPTIONS, ANY, "Saves the configuration to a file."),
    /* 140 */ MacroFunction("MINIMIZEWND"),
    /* 141 */
    Cmd("Exit and Suspend", CMD_GROUP_APPLICATION, ESSENTIAL,
        "Exits without saving and keeps the changes for recovery at the next start."),
    /* 142 */ Cmd("Reload File", CMD_GROUP_FILE, EDITING, "Reloads the current file from disk."),
    /* 143 */
    Cmd("Activate System Doc Menu", CMD_GROUP_MENU, ESSENTIAL,
        "Activates the system menu of the current window."),
    /* 144 */ Cmd("Create Key List", CMD_GROUP_OPTIONS, ANY, "Writes a list of the key assignments."),
    /* 145 */
    Cmd("Select Char Left", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one character left."),
    /* 146 */
    Cmd("Select Char Right", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one character right."),
    /* 147 */ Cmd("Select Line Up", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one line up."),
    /* 148 */ Cmd("Select Line Down", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one line down."),
    /* 149 */
    Cmd("End Of Selection", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the end of the selection."),
    /* 150 */ Cmd("Search Backward", CMD_GROUP_SEARCH, VIEWING, "Searches backward for the search pattern."),
    /* 151 */
    Cmd("Make Column Selection", CMD_GROUP_NAVIGATION, VIEWING,
        "Makes a column selection to where the mouse is clicked."),
    /* 152 */ Cmd("Select Next Window", CMD_GROUP_WINDOWS, WINDOWS_ESSENTIAL, "Activates the next window."),
    /* 153 */ Cmd("Close Window", CMD_GROUP_WINDOWS, CLOSING, "Closes the current window."),
    /* 154 */
    Cmd("Tile One Window", CMD_GROUP_WINDOWS, VIEWING, "Shows the current window alone, filling the frame."),
    /* 155 */ Cmd("Zoom Window", CMD_GROUP_WINDOWS, VIEWING, "Maximizes or restores the current window."),
    /* 156 */ MacroFunction("OPENMISCFILE"),
    /* 157 */
    Cmd("Restore Lines", CMD_GROUP_EDIT, EDITING,
        "Restores the changed lines of the selection to their saved text."),
    /* 158 */
    Cmd("Function Up", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the previous function or symbol."),
    /* 159 */
    Cmd("Function Down", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the next function or symbol."),
    /* 160 */
    Cmd("Beginning Of Selection", CMD_GROUP_NAVIGATION, VIEWING,
        "Moves the cursor to the beginning of the selection."),
    /* 161 */
    Cmd("Jump To Match", CMD_GROUP_NAVIGATION, VIEWING,
        "Moves the cursor to the matching parenthesis, bracket or brace."),
    /* 162 */ MacroFunction("GETWNDDIM"),
    /* 163 */ MacroFunction("ISBUFRW"),
    /* 164 */ MacroFunction("GETWNDLINEWIDTH"),
    /* 165 */ MacroKeyword("END"),
    /* 166 */ MacroKeyword("MACRO"),
    /* 167 */ MacroOperator(nullptr),
    /* 168 */ MacroKeyword("RETURN"),
    /* 169 */ MacroOperator(nullptr),
    /* 170 */ MacroFunction("CAT"),
    /* 171 */ MacroOperator(nullptr),
    /* 172 */ MacroOperator(nullptr),
    /* 173 */ MacroOperator(nullptr),
    /* 174 */ MacroOperator(nullptr),
    /* 175 */ MacroFunction("INC"),
    /* 176 */ MacroFunction("DEC"),
    /* 177 */ MacroFunction("ASK"),
    /* 178 */ MacroFunction("MSG"),
    /* 179 */ MacroOperator(CmdUnavailable),
    /* 180 */ MacroOperator(CmdUnavailable),
    /* 181 */ MacroOperator(nullptr),
    /* 182 */ MacroOperator(nullptr),
    /* 183 */ MacroOperator(CmdUnavailable),
    /* 184 */ MacroKeyword("STOP"),
    /* 185 */ MacroOperator(nullptr),
    /* 186 */ MacroOperator(nullptr),
    /* 187 */ MacroOperator(nullptr),
    /* 188 */ MacroOperator(nullptr),
    /* 189 */ MacroOperator(nullptr),
    /* 190 */ MacroOperator(nullptr),
    /* 191 */ MacroOperator(nullptr),
    /* 192 */ MacroOperator(nullptr),
    /* 193 */ MacroOperator(nullptr),
    /* 194 */ MacroKeyword("IF"),
    /* 195 */ MacroFunction("NEWBUF"),
    /* 196 */ MacroKeyword("WHILE"),
    /* 197 */ MacroKeyword("WEND"),
    /* 198 */ MacroKeyword("ELSE"),
    /* 199 */ MacroKeyword("ENDIF"),
    /* 200 */ MacroFunction("GETBUFHANDLE"),
    /* 201 */ MacroFunction("OPENBUF"),
    /* 202 */ MacroFunction("CLOSEBUF"),
    /* 203 */ MacroFunction("SAVEBUF"),
    /* 204 */ MacroFunction("SAVEBUFAS"),
    /* 205 */ MacroFunction("SETCURRENTBUF"),
    /* 206 */ MacroFunction("GETBUFLINE"),
    /* 207 */ MacroFunction("PUTBUFLINE"),
    /* 208 */ MacroFunction("INSBUFLINE"),
    /* 209 */ MacroFunction("APPENDBUFLINE"),
    /* 210 */ MacroFunction("DELBUFLINE"),
    /* 211 */ MacroFunction("CUTBUFLINE"),
    /* 212 */ MacroFunction("COPYBUFLINE"),
    /* 213 */ MacroFunction("PASTEBUFLINE"),
    /* 214 */ MacroFunction("GETBUFLINECOUNT"),
    /* 215 */ MacroFunction("GETBUFLINELENGTH"),
    /* 216 */ MacroOperator(nullptr),
    /* 217 */ MacroOperator(nullptr),
    /* 218 */ MacroFunction("GETCURRENTBUF"),
    /* 219 */ MacroFunction("SCROLLWNDTOLINE"),
    /* 220 */ MacroFunction("SCROLLWNDVERT"),
    /* 221 */ MacroFunction("SCROLLWNDHORIZ"),
    /* 222 */ MacroFunction("GETWNDHORIZSCROLL"),
    /* 223 */ MacroFunction("GETWNDVERTSCROLL"),
    /* 224 */ MacroFunction("RUNCMD"),
    /* 225 */ MacroFunction("ISCMDENABLED"),
    /* 226 */ MacroFunction("ISNUMBER"),
    /* 227 */ MacroFunction("NEWWND"),
    /* 228 */ MacroFunction("CLOSEWND"),
    /* 229 */ MacroFunction("GETWNDHANDLE"),
    /* 230 */ MacroFunction("GETCURRENTWND"),
    /* 231 */ MacroFunction("SETCURRENTWND"),
    /* 232 */ MacroFunction("MAXIMIZEWND"),
    /* 233 */ MacroFunction("RESTOREWND"),
    /* 234 */ MacroFunction("TOGGLEWNDMAX"),
    /* 235 */ MacroFunction("ISWNDMAX"),
    /* 236 */ MacroFunction("PUTENV"),
    /* 237 */ MacroFunction("GETREG"),
    /* 238 */ MacroFunction("SETREG"),
    /* 239 */ MacroFunction("DELREG"),
    /* 240 */ MacroOperator(nullptr),
    /* 241 */ MacroFunction("GETWNDLINECOUNT"),
    /* 242 */ MacroOperator(nullptr),
    /* 243 */ MacroFunction("CHARFROMASCII"),
    /* 244 */ MacroFunction("GETBUFLNCUR"),
    /* 245 */ MacroFunction("GETBUFSELTEXT"),
    /* 246 */ MacroFunction("ISWNDRESTORED"),
    /* 247 */ MacroFunction("ISWNDMIN"),
    /* 248 */ Cmd("Duplicate", CMD_GROUP_EDIT, EDITING, "Duplicates the selection or the current line."),
    /* 249 */ Unnamed(CMD_GROUP_NONE, ANY, "", CmdUnavailable),
    /* 250 */
    Cmd("Rebuild Project...", CMD_GROUP_PROJECT, PROJECT, "Parses every file of the current project again."),
    /* 251 */ Cmd("Insert File...", CMD_GROUP_EDIT, EDITING, "Inserts a file at the cursor."),
    /* 252 */ Cmd("Save Selection...", CMD_GROUP_FILE, SELECTION, "Saves the selection to a file."),
    /* 253 */
    Cmd("Select To Top Of File", CMD_GROUP_NAVIGATION, VIEWING,
        "Extends the selection to the top of the file."),
    /* 254 */
    Cmd("Select To End Of File", CMD_GROUP_NAVIGATION, VIEWING,
        "Extends the selection to the end of the file."),
    /* 255 */
    Cmd("Copy Line Right", CMD_GROUP_EDIT, VIEWING, "Copies from the cursor to the end of the line."),
    /* 256 */ Cmd("Save All Quietly", CMD_GROUP_FILE, ESSENTIAL, "Saves all changed files without asking."),
    /* 257 */ MacroFunction("STRLEN"),
    /* 258 */
    Cmd("Display Options...", CMD_GROUP_OPTIONS, ANY, "Changes the display options.", CmdPreferences),
    /* 259 */ MacroFunction("GETBUFNAME"),
    /* 260 */ MacroKeyword("{"),
    /* 261 */ MacroKeyword("{"),
    /* 262 */ MacroFunction("SETBUFSELTEXT"),
    /* 263 */
    Cmd("Load Configuration...", CMD_GROUP_OPTIONS, ANY, "Loads configuration settings from a file."),
    /* 264 */ Cmd("Link All Windows", CMD_GROUP_WINDOWS, WINDOWS, "Links all windows on the same file."),
    /* 265 */
    Cmd("Sync File Windows", CMD_GROUP_WINDOWS, WINDOWS,
        "Scrolls the other windows of the current file to the current position."),
    /* 266 */ MacroOperator(nullptr),
    /* 267 */ MacroFunction("STRTRUNC"),
    /* 268 */ MacroFunction("STRMID"),
    /* 269 */ MacroKeyword("CONTINUE"),
    /* 270 */ MacroKeyword("BREAK"),
    /* 271 */ MacroFunction("GETCURSYMBOL"),
    /* 272 */ MacroFunction("GETSYMBOLLINE"),
    /* 273 */ MacroFunction("ISUPPER"),
    /* 274 */ MacroFunction("TOUPPER"),
    /* 275 */ MacroFunction("SETBUFINS"),
    /* 276 */ MacroFunction("GETENV"),
    /* 277 */
    Cmd("Search Forward for Selection", CMD_GROUP_SEARCH, VIEWING, "Searches forward for the selected text."),
    /* 278 */
    Cmd("Search Backward for Selection", CMD_GROUP_SEARCH, VIEWING,
        "Searches backward for the selected text."),
    /* 279 */
    Cmd("Load Search String", CMD_GROUP_SEARCH, VIEWING, "Loads the selection as the search pattern."),
    /* 280 */ Cmd("Cascade Windows", CMD_GROUP_WINDOWS, VIEWING, "Arranges the windows in a cascade."),
    /* 281 */ Cmd("Tile Horizontal", CMD_GROUP_WINDOWS, VIEWING, "Tiles the windows one above the other."),
    /* 282 */ Cmd("Print...", CMD_GROUP_FILE, VIEWING, "Prints the current file or the selection."),
    /* 283 */ Cmd("Activate Options Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the Options menu."),
    /* 284 */ Cmd("Activate Help Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the Help menu."),
    /* 285 */ Cmd("Exit Windows", CMD_GROUP_APPLICATION, ESSENTIAL, "Closes all files and exits Windows."),
    /* 286 */
    Cmd("Restart Windows", CMD_GROUP_APPLICATION, ESSENTIAL, "Closes all files and restarts Windows."),
    /* 287 */ Cmd("Tile Vertical", CMD_GROUP_WINDOWS, VIEWING, "Tiles the windows side by side."),
    /* 288 */
    Cmd("SDK Help...", CMD_GROUP_HELP, ANY, "Looks up the word at the cursor in the SDK help file.",
        CmdSdkHelp),
    /* 289 */ Cmd("Project Window", CMD_GROUP_VIEW, ANY, "Shows or hides the project window."),
    /* 290 */
    Cmd("Sort Symbol Window", CMD_GROUP_OPTIONS, VIEWING, "Sorts the current window's symbol window."),
    /* 291 */ Cmd("Symbol Window", CMD_GROUP_VIEW, ANY, "Shows or hides the symbol window."),
    /* 292 */
    Cmd("Select To End Of Line", CMD_GROUP_NAVIGATION, VIEWING,
        "Extends the selection to the end of the line."),
    /* 293 */ Cmd("Delete File...", CMD_GROUP_FILE, ANY, "Deletes a file from disk."),
    /* 294 */
    Cmd("Browse Files...", CMD_GROUP_FILE, ANY, "Browses the files of the current project's folders."),
    /* 295 */
    Cmd("Lookup References...", CMD_GROUP_SYMBOL, ANY, "Searches the project for references to a symbol."),
    /* 296 */ MacroFunction("ICACHE"),
    /* 297 */ MacroFunction("GETKEY"),
    /* 298 */ MacroFunction("GETCHAR"),
    /* 299 */ MacroFunction("CHARFROMKEY"),
    /* 300 */ MacroFunction("FUNCFROMKEY"),
    /* 301 */ MacroFunction("ISCTRLKEYDOWN"),
    /* 302 */ MacroFunction("ISALTKEYDOWN"),
    /* 303 */ MacroFunction("ISFUNCKEY"),
    /* 304 */ MacroFunction("ASCIIFROMCHAR"),
    /* 305 */ MacroFunction("STARTMSG"),
    /* 306 */ MacroFunction("ENDMSG"),
    /* 307 */
    Cmd("Undo All", CMD_GROUP_EDIT, UNDO, "Undoes every change since the file was opened.", CmdUndo),
    /* 308 */ Cmd("Redo All", CMD_GROUP_EDIT, REDO, "Redoes every undone change.", CmdRedo),
    /* 309 */ Cmd("Repeat Typing", CMD_GROUP_EDIT, EDITING, "Repeats the last typing."),
    /* 310 */
    Cmd("Start Recording", CMD_GROUP_EDIT, RECORD_START, "Starts recording keystrokes and commands."),
    /* 311 */ Cmd("Stop Recording", CMD_GROUP_EDIT, RECORD_STOP, "Stops recording keystrokes and commands."),
    /* 312 */
    Cmd("Play Recording", CMD_GROUP_EDIT, RECORD_PLAY, "Plays back the recorded keystrokes and commands."),
    /* 313 */ Cmd("Select Word Left", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one word left."),
    /* 314 */
    Cmd("Select Word Right", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one word right."),
    /* 315 */
    Cmd("Select To Start Of Line", CMD_GROUP_NAVIGATION, VIEWING,
        "Extends the selection to the start of the line."),
    /* 316 */ Cmd("Sort Symbols By Name", CMD_GROUP_OPTIONS, ANY, "Sorts the symbol window by name."),
    /* 317 */ Cmd("Sort Symbols By Line", CMD_GROUP_OPTIONS, ANY, "Sorts the symbol window by line."),
    /* 318 */ Cmd("Sort Symbols By Type", CMD_GROUP_OPTIONS, ANY, "Sorts the symbol window by type."),
    /* 319 */ Cmd("Horizontal Scroll Bar", CMD_GROUP_VIEW, ANY, "Shows or hides the horizontal scroll bar."),
    /* 320 */ Cmd("Activate Context Menu", CMD_GROUP_MENU, ESSENTIAL, "Opens the context menu."),
    /* 321 */ Local(CMD_CLASS_LIST_WINDOW, "Hide", "Hides the window."),
    /* 322 */ MacroFunction("GETWNDSELLNFIRST"),
    /* 323 */ MacroFunction("GETWNDSELLNLAST"),
    /* 324 */ MacroFunction("GETWNDSELICHFIRST"),
    /* 325 */ MacroFunction("GETWNDSELICHLIM"),
    /* 326 */ Cmd("Main Toolbar", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the main toolbar."),
    /* 327 */ Cmd("Status Bar", CMD_GROUP_VIEW, ANY, "Shows or hides the status bar."),
    /* 328 */ Cmd("Activate Project Window", CMD_GROUP_NAVIGATION, ANY, "Activates the project window."),
    /* 329 */ Cmd("Activate Symbol Window", CMD_GROUP_NAVIGATION, ANY, "Activates the symbol window."),
    /* 330 */ Cmd("Clip Window", CMD_GROUP_VIEW, ANY, "Shows or hides the clip window."),
    /* 331 */ Cmd("Activate Clip Window", CMD_GROUP_NAVIGATION, ANY, "Activates the clip window."),
    /* 332 */
    Local(CMD_CLASS_LIST_WINDOW, "Rollup Window", "Rolls the window up to its title bar, or down again.",
          CmdRollupWindow),
    /* 333 */ Cmd("New Clip...", CMD_GROUP_EDIT, ANY, "Creates a new clip."),
    /* 334 */ Local(CMD_CLASS_CLIP_WINDOW, "Delete Clip", "Deletes the selected clip."),
    /* 335 */
    Local(CMD_CLASS_CLIP_WINDOW, "Clip Properties...", "Changes the properties of the selected clip."),
    /* 336 */ Cmd("Clip Window Properties...", CMD_GROUP_EDIT, ANY, "Changes the clip window's properties."),
    /* 337 */ Local(CMD_CLASS_CLIP_WINDOW, "Cut To Clip", "Cuts the selection to the selected clip."),
    /* 338 */ Local(CMD_CLASS_CLIP_WINDOW, "Copy To Clip", "Copies the selection to the selected clip."),
    /* 339 */ Local(CMD_CLASS_CLIP_WINDOW, "Paste From Clip", "Pastes the selected clip at the cursor."),
    /* 340 */ Local(CMD_CLASS_CLIP_WINDOW, "Edit Clip", "Opens the selected clip for editing."),
    /* 341 */ Cmd("Delete All Clips", CMD_GROUP_EDIT, ANY, "Deletes all clips."),
    /* 342 */ Cmd("Load File...", CMD_GROUP_FILE, ANY, "Opens a file chosen from the project's file list."),
    /* 343 */ Cmd("Activate View Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the View menu."),
    /* 344 */ Cmd("Cut To Clip...", CMD_GROUP_EDIT, SELECTION, "Cuts the selection to a clip."),
    /* 345 */ Cmd("Setup WinHelp File", CMD_GROUP_HELP, ANY, "Chooses the SDK help file.", CmdSetupWinHelp),
    /* 346 */ Local(CMD_CLASS_LIST_WINDOW, "Open", "Opens the selected item."),
    /* 347 */
    Cmd("Smart Rename...", CMD_GROUP_EDIT, EDITING,
        "Renames a symbol and its references throughout the project."),
    /* 348 */
    Local(CMD_CLASS_LIST_WINDOW, "Record New Default Properties",
          "Makes the window's properties the defaults for new windows."),
    /* 349 */ Cmd("Context Window", CMD_GROUP_VIEW, ANY, "Shows or hides the context window."),
    /* 350 */ Cmd("Activate Context Window", CMD_GROUP_NAVIGATION, ANY, "Activates the context window."),
    /* 351 */ Local(CMD_CLASS_CONTEXT_WINDOW, "Font...", "Changes the context window's font."),
    /* 352 */
    Local(CMD_CLASS_CONTEXT_WINDOW, "Jump To Definition", "Jumps to the definition of the symbol shown."),
    /* 353 */
    Local(CMD_CLASS_CONTEXT_WINDOW, "Lookup References...",
          "Searches the project for references to the symbol shown."),
    /* 354 */ Cmd("Split Window", CMD_GROUP_WINDOWS, VIEWING, "Splits the current window in two."),
    /* 355 */ Local(CMD_CLASS_CONTEXT_WINDOW, "Browse Project Symbols...", "Browses the project's symbols."),
    /* 356 */ Local(CMD_CLASS_CONTEXT_WINDOW, "Symbol Info...", "Shows information about the symbol shown."),
    /* 357 */
    Cmd("Activate Context Symbol List", CMD_GROUP_NAVIGATION, ANY,
        "Activates the context window's symbol list."),
    /* 358 */
    Cmd("Lock Context Window", CMD_GROUP_APPLICATION, ANY, "Keeps the context window on its current symbol."),
    /* 359 */
    Local(CMD_CLASS_CONTEXT_WINDOW, "Project-Wide Rename",
          "Renames the symbol shown and its references throughout the project."),
    /* 360 */
    Cmd("Context Window Properties...", CMD_GROUP_OPTIONS, ANY, "Changes the context window's properties."),
    /* 361 */ Cmd("Select Page Down", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one page down."),
    /* 362 */ Cmd("Select Page Up", CMD_GROUP_NAVIGATION, VIEWING, "Extends the selection one page up."),
    /* 363 */ Local(CMD_CLASS_SYMBOL_WINDOW, "Select Symbol", "Selects the symbol in its file."),
    /* 364 */ Local(CMD_CLASS_SYMBOL_WINDOW, "Cut Symbol", "Cuts the symbol's text to the clipboard."),
    /* 365 */ Local(CMD_CLASS_SYMBOL_WINDOW, "Copy Symbol", "Copies the symbol's text to the clipboard."),
    /* 366 */ Local(CMD_CLASS_SYMBOL_WINDOW, "Paste Symbol", "Pastes the clipboard before the symbol."),
    /* 367 */ Local(CMD_CLASS_SYMBOL_WINDOW, "Duplicate Symbol", "Duplicates the symbol's text."),
    /* 368 */ Local(CMD_CLASS_LIST_WINDOW, "Search List...", "Searches the list for text."),
    /* 369 */ Cmd("File Options...", CMD_GROUP_OPTIONS, ANY, "Changes the file options.", CmdPreferences),
    /* 370 */
    Cmd("Unimplemented Command", CMD_GROUP_APPLICATION, ESSENTIAL,
        "Undefined command; possibly from a newer version of Veltrix."),
    /* 371 */ Cmd("Reload Modified Files", CMD_GROUP_FILE, ANY, "Reloads every open file changed on disk."),
    /* 372 */
    Local(CMD_CLASS_FILE_BROWSER, "Remove File from Project...",
          "Removes the selected file from the project."),
    /* 373 */ Cmd("Activate System Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the program's system menu."),
    /* 374 */ MacroFunction("GETSYMBOLLOCATION"),
    /* 375 */ MacroFunction("JUMPTOLOCATION"),
    /* 376 */ MacroFunction("ISSHIFTKEYDOWN"),
    /* 377 */ MacroFunction("GETWNDSEL"),
    /* 378 */ MacroFunction("SETWNDSEL"),
    /* 379 */ MacroFunction("JUMPTOSYMBOLDEF"),
    /* 380 */ MacroFunction("TOLOWER"),
    /* 381 */ MacroFunction("ISLOWER"),
    /* 382 */ MacroFunction("GETCURRENTPROJ"),
    /* 383 */ MacroFunction("OPENPROJ"),
    /* 384 */ MacroFunction("CLOSEPROJ"),
    /* 385 */ MacroFunction("NEWPROJ"),
    /* 386 */ MacroFunction("GETPROJNAME"),
    /* 387 */ MacroFunction("GETPROJDIR"),
    /* 388 */ MacroFunction("GETPROJFILECOUNT"),
    /* 389 */ MacroFunction("GETPROJFILENAME"),
    /* 390 */ MacroFunction("GETPROJSYMCOUNT"),
    /* 391 */ MacroFunction("GETPROJSYMNAME"),
    /* 392 */ MacroFunction("GETPROJSYMLOCATION"),
    /* 393 */ MacroFunction("SYNCPROJ"),
    /* 394 */ MacroFunction("SYNCPROJEX"),
    /* 395 */ MacroFunction("GETBUFSYMCOUNT"),
    /* 396 */ MacroFunction("GETBUFSYMNAME"),
    /* 397 */ MacroFunction("GETBUFSYMLOCATION"),
    /* 398 */ MacroFunction("SEARCHFORREFS"),
    /* 399 */ MacroFunction("GETSOURCELINK"),
    /* 400 */ MacroFunction("DELETEPROJ"),
    /* 401 */ MacroFunction("SEARCHINBUF"),
    /* 402 */ MacroFunction("CLEARBUF"),
    /* 403 */ Reserved(),
    /* 404 */ MacroFunction("GETSYMBOLLOCATIONFROMLN"),
    /* 405 */ Cmd("Go To Previous Link", CMD_GROUP_NAVIGATION, ANY, "Goes to the previous source link."),
    /* 406 */ MacroFunction("GETSYMBOLLOCATIONEX"),
    /* 407 */ MacroFunction("SETSOURCELINK"),
    /* 408 */ Cmd("Syntax Color...", CMD_GROUP_OPTIONS, ANY, "Changes the colors of syntax formatting."),
    /* 409 */
    Cmd("Language Options...", CMD_GROUP_OPTIONS, ANY, "Changes the options of the languages.",
        CmdPreferences),
    /* 410 */
    Cmd("Activate Search Results", CMD_GROUP_NAVIGATION, ANY, "Activates the search results window."),
    /* 411 */ Cmd("Complete Symbol", CMD_GROUP_EDIT, EDITING, "Completes the symbol name at the cursor."),
    /* 412 */ MacroFunction("MAKECLIPBUF"),
    /* 413 */ MacroFunction("LOADSEARCHPATTERN"),
    /* 414 */ MacroFunction("BEEP"),
    /* 415 */ MacroFunction("GETNEXTWND"),
    /* 416 */ MacroFunction("GETWNDBUF"),
    /* 417 */
    Cmd("Last Window", CMD_GROUP_WINDOWS, WINDOWS_ESSENTIAL, "Activates the window that was active last."),
    /* 418 */
    Cmd("Create Command List", CMD_GROUP_OPTIONS, ANY,
        "Writes a list of all commands with their descriptions."),
    /* 419 */ MacroFunction("ISBUFDIRTY"),
    /* 420 */ MacroFunction("ADDFILETOPROJ"),
    /* 421 */ MacroFunction("REMOVEFILEFROMPROJ"),
    /* 422 */ MacroFunction("GETSYSTIME"),
    /* 423 */ MacroFunction("CMDFROMKEY"),
    /* 424 */ MacroFunction("ASSIGNKEYTOCMD"),
    /* 425 */ MacroFunction("KEYFROMCHAR"),
    /* 426 */ Cmd("Style Properties...", CMD_GROUP_OPTIONS, ANY, "Changes the styles of syntax formatting."),
    /* 427 */ Cmd("Incremental Search...", CMD_GROUP_SEARCH, VIEWING, "Searches forward as you type."),
    /* 428 */ Cmd("Keyword List...", CMD_GROUP_OPTIONS, ANY, "Edits the keyword lists of the languages."),
    /* 429 */
    Cmd("Save A Copy...", CMD_GROUP_FILE, EDITING, "Saves a copy of the current file under another name."),
    /* 430 */
    Cmd("Highlight Word", CMD_GROUP_VIEW, VIEWING, "Highlights every occurrence of the word at the cursor."),
    /* 431 */
    Cmd("Syntax Formatting...", CMD_GROUP_OPTIONS, ANY, "Changes the syntax formatting options.",
        CmdPreferences),
    /* 432 */
    Cmd("Incremental Search Backward...", CMD_GROUP_SEARCH, VIEWING, "Searches backward as you type."),
    /* 433 */
    Cmd("Generate Call Tree...", CMD_GROUP_SYMBOL, VIEWING,
        "Shows the tree of calls made by the function at the cursor."),
    /* 434 */ Cmd("Relation Window", CMD_GROUP_VIEW, ANY, "Shows or hides the relation window."),
    /* 435 */ Cmd("Activate Relation Window", CMD_GROUP_NAVIGATION, ANY, "Activates the relation window."),
    /* 436 */
    Cmd("Drag Line Up", CMD_GROUP_EDIT, EDITING, "Moves the current line or the selected lines up one line."),
    /* 437 */
    Cmd("Drag Line Down", CMD_GROUP_EDIT, EDITING,
        "Moves the current line or the selected lines down one line."),
    /* 438 */
    Cmd("Drag Line Up More", CMD_GROUP_EDIT, EDITING,
        "Moves the current line or the selected lines up several lines."),
    /* 439 */
    Cmd("Drag Line Down More", CMD_GROUP_EDIT, EDITING,
        "Moves the current line or the selected lines down several lines."),
    /* 440 */
    Cmd("Advanced Options...", CMD_GROUP_OPTIONS, ANY, "Changes the advanced options for troubleshooting.",
        CmdAdvancedOptions),
    /* 441 */
    Cmd("Jump To Base Type", CMD_GROUP_SYMBOL, VIEWING,
        "Jumps to the base type of the symbol at the cursor."),
    /* 442 */
    Cmd("Checkpoint", CMD_GROUP_FILE, EDITING,
        "Saves the current file and makes the saved text the base for change marks."),
    /* 443 */ Cmd("Checkpoint All", CMD_GROUP_FILE, ANY, "Checkpoints all open files."),
    /* 444 */
    Cmd("Restore File", CMD_GROUP_FILE, EDITING, "Restores the current file to its last checkpoint."),
    /* 445 */
    Cmd("Symbol Window Properties...", CMD_GROUP_OPTIONS, ANY, "Changes the symbol window's properties."),
    /* 446 */ Cmd("Line Numbers", CMD_GROUP_VIEW, VIEWING, "Shows or hides line numbers."),
    /* 447 */
    Local(CMD_CLASS_CONTEXT_WINDOW, "Line Numbers", "Shows or hides line numbers in the context window."),
    /* 448 */
    Cmd("Project Window Properties...", CMD_GROUP_OPTIONS, ANY, "Changes the project window's properties."),
    /* 449 */
    Cmd("Relation Window Properties...", CMD_GROUP_OPTIONS, ANY, "Changes the relation window's properties."),
    /* 450 */ Local(CMD_CLASS_RELATION_WINDOW, "Font...", "Changes the relation window's font."),
    /* 451 */ Local(CMD_CLASS_LIST_WINDOW, "Expand Special...", "Expands the selected item in a chosen way."),
    /* 452 */
    Local(CMD_CLASS_RELATION_WINDOW, "Jump To Definition...",
          "Jumps to the definition of the selected symbol."),
    /* 453 */
    Local(CMD_CLASS_RELATION_WINDOW, "Symbol Info...", "Shows information about the selected symbol."),
    /* 454 */
    Local(CMD_CLASS_RELATION_WINDOW, "Lookup References...",
          "Searches the project for references to the selected symbol."),
    /* 455 */
    Cmd("Lock Relation Window", CMD_GROUP_APPLICATION, ANY,
        "Keeps the relation window on its current symbol."),
    /* 456 */
    Cmd("Relation Graph Properties...", CMD_GROUP_OPTIONS, ANY,
        "Changes the relation window's graph properties."),
    /* 457 */ Local(CMD_CLASS_LIST_WINDOW, "Toolbar", "Shows or hides the window's toolbar."),
    /* 458 */ Cmd("Window List...", CMD_GROUP_WINDOWS, ANY, "Lists the open windows."),
    /* 459 */ Cmd("New Relation Window", CMD_GROUP_OPTIONS, ANY, "Opens a new relation window."),
    /* 460 */ Cmd("Project File List", CMD_GROUP_VIEW, ANY, "Shows the project window's file list."),
    /* 461 */ Cmd("Project Symbol List", CMD_GROUP_VIEW, ANY, "Shows the project window's symbol list."),
    /* 462 */
    Cmd("Project Symbol Classes", CMD_GROUP_VIEW, ANY, "Shows the project window's symbol classes."),
    /* 463 */
    Cmd("Color Options...", CMD_GROUP_OPTIONS, ANY, "Changes the program's colors.", CmdPreferences),
    /* 464 */
    Cmd("Search Project...", CMD_GROUP_SEARCH, PROJECT,
        "Searches the project's files for a symbol or pattern."),
    /* 465 */
    Cmd("Add and Remove Project Files...", CMD_GROUP_PROJECT, PROJECT_CHANGE,
        "Adds and removes files of the current project."),
    /* 466 */ Cmd("Project File Browser", CMD_GROUP_VIEW, ANY, "Shows the project window's file browser."),
    /* 467 */
    Cmd("Project Document Types", CMD_GROUP_VIEW, ANY, "Shows the project window's document types."),
    /* 468 */ Cmd("Internal Test", CMD_GROUP_NONE, ANY, "Does nothing; kept for testing.", CmdInternalTest),
    /* 469 */ Cmd("View Relation Outline", CMD_GROUP_VIEW, ANY, "Shows the relation window as an outline."),
    /* 470 */
    Cmd("View Relation Horizontal Graph", CMD_GROUP_VIEW, ANY,
        "Shows the relation window as a horizontal graph."),
    /* 471 */
    Cmd("View Relation Vertical Graph", CMD_GROUP_VIEW, ANY,
        "Shows the relation window as a vertical graph."),
    /* 472 */ Cmd("Setup HTML Help", CMD_GROUP_HELP, ANY, "Chooses the HTML help file.", CmdSetupHtmlHelp),
    /* 473 */
    Cmd("HTML Help...", CMD_GROUP_HELP, ANY, "Looks up the word at the cursor in the HTML help file.",
        CmdHtmlHelp),
    /* 474 */ Local(CMD_CLASS_FILE_BROWSER, "New File...", "Creates a new file in the selected folder."),
    /* 475 */ Local(CMD_CLASS_FILE_BROWSER, "Delete", "Deletes the selected file."),
    /* 476 */
    Local(CMD_CLASS_FILE_BROWSER, "New Directory...", "Creates a new folder in the selected folder."),
    /* 477 */ Local(CMD_CLASS_FILE_BROWSER, "Rename...", "Renames the selected file."),
    /* 478 */ Local(CMD_CLASS_LIST_WINDOW, "Show Details", "Shows or hides the list's details."),
    /* 479 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /* 480 */ Local(CMD_CLASS_LIST_WINDOW, "Expand", "Expands the selected item."),
    /* 481 */ Local(CMD_CLASS_LIST_WINDOW, "Collapse", "Collapses the selected item."),
    /* 482 */
    Cmd("Syntax Decorations...", CMD_GROUP_OPTIONS, ANY, "Changes the syntax decorations.", CmdPreferences),
    /* 483 */ Cmd("Clear Highlights", CMD_GROUP_VIEW, ANY, "Removes all word highlights."),
    /* 484 */
    Cmd("Next Relation Window View", CMD_GROUP_OPTIONS, ANY,
        "Switches the relation window to its next view."),
    /* 485 */
    Cmd("Smart Tab", CMD_GROUP_EDIT, EDITING, "Indents the line to the right position, or inserts a tab.",
        TypingCommand),
    /* 486 */
    Cmd("Go To Next Change", CMD_GROUP_NAVIGATION, VIEWING, "Moves the cursor to the next changed line."),
    /* 487 */
    Cmd("Go To Previous Change", CMD_GROUP_NAVIGATION, VIEWING,
        "Moves the cursor to the previous changed line."),
    /* 488 */ Cmd("Simple Tab", CMD_GROUP_EDIT, EDITING, "Inserts a tab character.", TypingCommand),
    /* 489 */
    Cmd("Smart Beginning Of Line", CMD_GROUP_NAVIGATION, VIEWING,
        "Moves the cursor to the first non-blank character of the line, or to the beginning."),
    /* 490 */
    Cmd("Smart End Of Line", CMD_GROUP_NAVIGATION, VIEWING,
        "Moves the cursor to the last non-blank character of the line, or to the end."),
    /* 491 */
    Cmd("Searching Options...", CMD_GROUP_OPTIONS, ANY, "Changes the searching options.", CmdPreferences),
    /* 492 */
    Cmd("Edit Condition...", CMD_GROUP_OPTIONS, ANY, "Edits the value of the selected parse condition."),
    /* 493 */
    Cmd("Jump To Prototype...", CMD_GROUP_SYMBOL, VIEWING,
        "Jumps to the prototype of the function at the cursor."),
    /* 494 */ Cmd("Typing Options...", CMD_GROUP_OPTIONS, ANY, "Changes the typing options.", CmdPreferences),
    /* 495 */
    Cmd("Symbol Lookup Options...", CMD_GROUP_OPTIONS, ANY, "Changes the symbol lookup options.",
        CmdPreferences),
    /* 496 */ Local(CMD_CLASS_LIST_WINDOW, "Copy List", "Copies the list to the clipboard."),
    /* 497 */
    LocalSubmenu(CMD_CLASS_RELATION_WINDOW, "View Relation", "Chooses the relation that the window shows."),
    /* 498 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 499 */ MacroFunction("BookmarksLookupName"),
    /* 500 */ MacroFunction("BookmarksAdd"),
    /* 501 */ MacroFunction("BookmarksDelete"),
    /* 502 */ MacroFunction("SetBufDirty"),
    /* 503 */ Unnamed(CMD_GROUP_NONE, ANY, "Opens a file from the recent files list.", CmdUnavailable),
    /* 504 */ Submenu("Recent Files", CMD_GROUP_MENU, ANY, "Lists the recently opened files."),
    /* 505 */ Submenu("Special Edit", CMD_GROUP_MENU, VIEWING, "Lists the special editing commands."),
    /* 506 */ Cmd("Uppercase", CMD_GROUP_EDIT, EDITING, "Changes the selection to uppercase."),
    /* 507 */ Cmd("Lowercase", CMD_GROUP_EDIT, EDITING, "Changes the selection to lowercase."),
    /* 508 */ Cmd("Toggle Case", CMD_GROUP_EDIT, EDITING, "Toggles the case of the selection."),
    /* 509 */
    Cmd("Insert ASCII...", CMD_GROUP_EDIT, EDITING, "Inserts a character chosen by its ASCII code."),
    /* 510 */ MacroFunction("GetProgramInfo"),
    /* 511 */ MacroFunction("GetProgramEnvironmentInfo"),
    /* 512 */ Cmd("Show Relations", CMD_GROUP_VIEW, ANY, "Shows the relations of the symbol at the cursor."),
    /* 513 */ Local(CMD_CLASS_LIST_WINDOW, "Transparency", "Makes the window transparent, or opaque again."),
    /* 514 */ MacroFunction("BookmarksCount"),
    /* 515 */ MacroFunction("BookmarksItem"),
    /* 516 */ MacroFunction("BookmarksLookupLine"),
    /* 517 */ MacroFunction("LextagFullName"),
    /* 518 */ MacroFunction("LextagNew"),
    /* 519 */ MacroFunction("LextagParent"),
    /* 520 */ MacroFunction("SymbolFromLextag"),
    /* 521 */ MacroFunction("SymbolLeafName"),
    /* 522 */ MacroFunction("SymbolContainerName"),
    /* 523 */ MacroFunction("SymbolRootContainerName"),
    /* 524 */ MacroFunction("LextagsNew"),
    /* 525 */ MacroFunction("LextagsFree"),
    /* 526 */ MacroFunction("LextagsCount"),
    /* 527 */ MacroFunction("LextagsItem"),
    /* 528 */ MacroFunction("LextagsAdd"),
    /* 529 */ MacroFunction("LextagsDelete"),
    /* 530 */ MacroFunction("LextagsDump"),
    /* 531 */ MacroFunction("LextagsParentTags"),
    /* 532 */ MacroFunction("LextagsParent"),
    /* 533 */ MacroFunction("GetBufLextags"),
    /* 534 */ MacroFunction("SetBufLextags"),
    /* 535 */ MacroFunction("RefreshWindows"),
    /* 536 */ MacroFunction("BufListCount"),
    /* 537 */ MacroFunction("BufListItem"),
    /* 538 */ MacroFunction("WndListCount"),
    /* 539 */ MacroFunction("WndListItem"),
    /* 540 */ MacroFunction("GetBufProps"),
    /* 541 */ MacroFunction("RenameBuf"),
    /* 542 */ MacroFunction("DumpMacroState"),
    /* 543 */ MacroFunction("SymbolChildren"),
    /* 544 */ MacroFunction("SymbolParent"),
    /* 545 */ MacroFunction("SymbolStructureType"),
    /* 546 */ MacroFunction("SymbolDeclaredType"),
    /* 547 */ MacroFunction("SymListCount"),
    /* 548 */ MacroFunction("SymListItem"),
    /* 549 */ MacroFunction("SymListInsert"),
    /* 550 */ MacroFunction("SymListRemove"),
    /* 551 */ MacroFunction("SymListNew"),
    /* 552 */ MacroFunction("SymListFree"),
    /* 553 */ MacroFunction("ReltreeCountNodes"),
    /* 554 */ MacroFunction("ReltreeRoot"),
    /* 555 */ MacroFunction("ReltreeSetRoot"),
    /* 556 */ MacroFunction("ReltreeExpandNode"),
    /* 557 */ MacroFunction("ReltreeCollapseNode"),
    /* 558 */ MacroFunction("ReltreeNew"),
    /* 559 */ MacroFunction("ReltreeFree"),
    /* 560 */ MacroFunction("RelnodeNew"),
    /* 561 */ MacroFunction("RelnodeCountChildren"),
    /* 562 */ MacroFunction("RelnodeFirstChild"),
    /* 563 */ MacroFunction("RelnodeNextSibling"),
    /* 564 */ MacroFunction("RelnodePrevSibling"),
    /* 565 */ MacroFunction("RelnodeParent"),
    /* 566 */ MacroFunction("RelnodeChildren"),
    /* 567 */ MacroFunction("RelnodeSymbol"),
    /* 568 */ MacroOperator(nullptr),
    /* 569 */ MacroOperator(nullptr),
    /* 570 */ MacroOperator(nullptr),
    /* 571 */ MacroOperator(nullptr),
    /* 572 */ MacroKeyword("Var"),
    /* 573 */ Cmd("Check In", CMD_GROUP_SOURCE_CONTROL, ANY, "Checks the current file in to source control."),
    /* 574 */
    Cmd("Check Out", CMD_GROUP_SOURCE_CONTROL, ANY, "Checks the current file out of source control."),
    /* 575 */
    Cmd("Undo Check Out", CMD_GROUP_SOURCE_CONTROL, ANY, "Undoes the check-out of the current file."),
    /* 576 */
    Cmd("Sync to Source Control Project", CMD_GROUP_SOURCE_CONTROL, ANY,
        "Synchronizes the project with its source control project."),
    /* 577 */
    Cmd("Sync File to Source Control Project", CMD_GROUP_SOURCE_CONTROL, ANY,
        "Synchronizes the current file with its source control project."),
    /* 578 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 579 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 580 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 581 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 582 */ Cmd("Build Project", CMD_GROUP_BUILD, ANY, "Builds the project."),
    /* 583 */ Cmd("Clean Build", CMD_GROUP_BUILD, ANY, "Cleans and builds the project."),
    /* 584 */ Cmd("Compile File", CMD_GROUP_BUILD, ANY, "Compiles the current file."),
    /* 585 */ Cmd("Run Project", CMD_GROUP_BUILD, ANY, "Runs the project."),
    /* 586 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 587 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 588 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 589 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 590 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 591 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 592 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 593 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 594 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 595 */ Slot(CMD_GROUP_USER_TOOL, "Runs a custom command."),
    /* 596 */ Submenu("Toolbars", CMD_GROUP_MENU, ANY, "Lists the toolbars."),
    /* 597 */ Cmd("Standard", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Standard toolbar."),
    /* 598 */ Cmd("Edit", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Edit toolbar."),
    /* 599 */ Cmd("Search", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Search toolbar."),
    /* 600 */ Cmd("Navigation", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Navigation toolbar."),
    /* 601 */ Cmd("Symbols", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Symbols toolbar."),
    /* 602 */ Cmd("Arrangement", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Arrangement toolbar."),
    /* 603 */ Cmd("View", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the View toolbar."),
    /* 604 */ Cmd("Help", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Help toolbar."),
    /* 605 */ Cmd("Source Control", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Source Control toolbar."),
    /* 606 */ Cmd("Build", CMD_GROUP_TOOLBAR, ANY, "Shows or hides the Build toolbar."),
    /* 607 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /* 608 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /* 609 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /* 610 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /* 611 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /* 612 */ Unnamed(CMD_GROUP_ALL, ESSENTIAL, "", nullptr),
    /* 613 */
    Cmd("Tramontel on the Web", CMD_GROUP_APPLICATION, ANY, "Opens the Tramontel web site.", CmdWebSite),
    /* 614 */ MacroOperator(nullptr),
    /* 615 */ Cmd("Refresh Relation Window", CMD_GROUP_APPLICATION, ANY, "Refreshes the relation window."),
    /* 616 */
    Cmd("General Options...", CMD_GROUP_OPTIONS, ANY, "Changes the general options.", CmdPreferences),
    /* 617 */ MacroFunction("ReplaceInBuf"),
    /* 618 */
    Cmd("Jump To Caller", CMD_GROUP_SYMBOL, VIEWING,
        "Jumps to a function that calls the function at the cursor."),
    /* 619 */ Cmd("Language Properties...", CMD_GROUP_OPTIONS, ANY, "Changes the properties of a language."),
    /* 620 */
    Cmd("Touch All Files in Relation", CMD_GROUP_APPLICATION, ANY,
        "Touches every file named in the relation window."),
    /* 621 */
    Cmd("Setup Common Projects...", CMD_GROUP_APPLICATION, ANY,
        "Creates projects for the standard libraries."),
    /* 622 */ Unnamed(CMD_GROUP_EDIT, EDITING, "Inserts the keypad's \"/\" character.", TypingCommand),
    /* 623 */ Unnamed(CMD_GROUP_EDIT, EDITING, "Inserts the keypad's \"*\" character.", TypingCommand),
    /* 624 */ Unnamed(CMD_GROUP_EDIT, EDITING, "Inserts the keypad's \"-\" character.", TypingCommand),
    /* 625 */ Unnamed(CMD_GROUP_EDIT, EDITING, "Inserts the keypad's \"+\" character.", TypingCommand),
    /* 626 */ MacroFunction("RelTypes"),
    /* 627 */ Reserved(),
    /* 628 */ Cmd("Draft View", CMD_GROUP_APPLICATION, ANY, "Switches draft view on or off."),
    /* 629 */ Cmd("Print Relation Window...", CMD_GROUP_APPLICATION, ANY, "Prints the relation window."),
    /* 630 */ Local(CMD_CLASS_FILE_BROWSER, "Search Files...", "Searches the files of the selected folder."),
    /* 631 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 632 */ Cmd("Vertical Scroll Bar", CMD_GROUP_VIEW, ANY, "Shows or hides the vertical scroll bar."),
    /* 633 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 634 */ Cmd("Activate Work Menu", CMD_GROUP_MENU, ESSENTIAL, "Activates the Work menu."),
    /* 635 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 636 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 637 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 638 */ MacroFunction("GetDesktopWnd"),
    /* 639 */ MacroFunction("GetApplicationWnd"),
    /* 640 */ MacroFunction("GetWndRect"),
    /* 641 */ MacroFunction("GetWndClientRect"),
    /* 642 */ MacroFunction("SetWndRect"),
    /* 643 */ MacroFunction("GetWndParent"),
    /* 644 */ MacroFunction("RunCmdLine"),
    /* 645 */ MacroFunction("ShellExecute"),
    /* 646 */ MacroFunction("PrintBuf"),
    /* 647 */ Local(CMD_CLASS_FILE_BROWSER, "Print File", "Prints the selected file."),
    /* 648 */
    Cmd("Calculate", CMD_GROUP_EDIT, EDITING,
        "Evaluates the expression before the cursor and replaces it by its value."),
    /* 649 */ Cmd("Delete Line", CMD_GROUP_EDIT, EDITING, "Deletes the current line."),
    /* 650 */
    Cmd("Remote Options...", CMD_GROUP_OPTIONS, ANY, "Changes the options for remote sessions.",
        CmdPreferences),
    /* 651 */ Cmd("Spaces To Tabs", CMD_GROUP_EDIT, EDITING, "Converts leading spaces to tabs."),
    /* 652 */ Cmd("Tabs To Spaces", CMD_GROUP_EDIT, EDITING, "Converts tabs to spaces."),
    /* 653 */ Unnamed(CMD_GROUP_EDIT, ESSENTIAL, "", nullptr),
    /* 654 */ Cmd("Visible Tabs and Spaces", CMD_GROUP_VIEW, VIEWING, "Shows or hides tabs and spaces."),
    /* 655 */ Cmd("Visible Tabs", CMD_GROUP_VIEW, VIEWING, "Shows or hides tabs."),
    /* 656 */ Cmd("Visible Spaces", CMD_GROUP_VIEW, VIEWING, "Shows or hides spaces."),
    /* 657 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 658 */
    Cmd("Parse File Now", CMD_GROUP_SYMBOL, EDITING, "Parses the current file's symbols now.",
        CmdParseFileNow),
    /* 659 */ MacroFunction("ADDFILELISTTOPROJ"),
    /* 660 */ MacroFunction("EMPTYPROJ"),
    /* 661 */ Cmd("Trim Whitespace", CMD_GROUP_EDIT, EDITING, "Removes trailing white space from the lines."),
    /* 662 */ MacroFunction("XposFromIch"),
    /* 663 */ MacroFunction("IchFromXpos"),
    /* 664 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 665 */ MacroFunction("NewProjEx"),
    /* 666 */ Unnamed(CMD_GROUP_NONE, ESSENTIAL, "", nullptr),
    /* 667 */ Cmd("Load Workspace...", CMD_GROUP_FILE, ANY, "Loads a workspace of files and windows."),
    /* 668 */ MacroFunction("AddConditionVariable"),
    /* 669 */ MacroFunction("DeleteConditionVariable"),
    /* 670 */ MacroFunction("GetSymbolFromCursor"),
    /* 671 */
    Cmd("Folder Options...", CMD_GROUP_OPTIONS, ANY, "Changes the program's folders.", CmdPreferences),
    /* 672 */
    Cmd("Special Window Color...", CMD_GROUP_WINDOWS, VIEWING,
        "Sets a special background color for the current window."),
    /* 673 */
    Cmd("Remove Special Window Color", CMD_GROUP_WINDOWS, VIEWING,
        "Removes the current window's special background color."),
    /* 674 */ MacroKeyword("EVENT"),
    /* 675 */ MacroKeyword("GLOBAL"),
    /* 676 */
    Cmd("Enable Event Handlers", CMD_GROUP_OPTIONS, ANY, "Switches the event handler macros on or off."),
    /* 677 */ Unnamed(CMD_GROUP_NONE, ANY, "", CmdUnavailable),
    /* 678 */ Unnamed(CMD_GROUP_NONE, ANY, "", CmdUnavailable),
    /* 679 */ Unnamed(CMD_GROUP_NONE, ANY, "", CmdUnavailable),
    /* 680 */ Unnamed(CMD_GROUP_NONE, ANY, "", CmdUnavailable),
    /* 681 */
    Cmd("Export Project to HTML...", CMD_GROUP_PROJECT, PROJECT,
        "Exports the project's files as HTML pages."),
    /* 682 */ Cmd("Save to HTML", CMD_GROUP_FILE, VIEWING, "Saves the current file as an HTML page."),
};

void CmdTabRegister() {
    CmdSetTable(cmdTable);
}
