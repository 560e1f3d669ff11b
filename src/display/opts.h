// opts: the program's option words, the display options record and the colour record (prefixes Opt, and the
// shared names g_options ... g_decorOptions). Every subsystem from the display up reads them: source windows,
// the formatter and the style sheet the display options and the colours; the shell's configuration file
// loads and saves them and its preferences edit them. They are plain variables: a reader tests a bit, a
// writer that changes one calls the shell's SetConfigDirty. The display options record and the colour record
// hold their defaults from the start, as the display reads them before any configuration is loaded.
//
// Stored forms (little-endian, written as they lie in memory):
//   DisplayOptions, 44 bytes: word 0 g_viewOptions; words 1-4 reserved; word 5 the space width and the
//     delimiter width characters in its first two bytes; word 6 g_viewOptions2; word 7 g_decorOptions;
//     words 8-10 reserved.
//   ColorRecord, 172 bytes: word 0 1313; word 1 the writer's version; words 2-9 zero; word 10 the number of
//     colours (13); words 11-23 the colours as 0x00BBGGRR (OPT_COLOR_*); the rest zero.
//
// Success convention: nothing here can fail.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "the stored records are written as they lie");

// g_options: the main option bits.
enum : uint32_t {
    OPT_BACKGROUND_SYNC = 1u << 0,      // "Background synchronization every n minutes"
    OPT_KEEP_UNDO_AFTER_SAVE = 1u << 1, // "Preserve Undo data and revision marks after saving"
    OPT_PARSE_BEFORE_LOOKUP = 1u << 2,  // "Parse locally before lookup"
    OPT_SAVE_ALL_NO_PROMPT = 1u << 3,   // "Save All operation saves without prompts"
    OPT_SUPPRESS_WARNINGS = 1u << 6,    // "Suppress warning messages"
    OPT_CASCADE_NEW = 1u << 7,          // "Cascade new windows"
    OPT_MATCH_PARENS = 1u << 11,        // "Highlight matching parentheses while typing"
    OPT_PAGE_KEEPS_CURSOR = 1u << 12,   // "Keep cursor in window when paging up and down"
    OPT_ALWAYS_SEARCH_PATH = 1u << 13,  // "Search symbol path, even if symbol is found in current project"
    OPT_ADD_NEW_FILES = 1u << 14,       // "Add new files automatically"
    OPT_SYNC_ON_OPEN = 1u << 16,        // "Synchronize on startup and project open"
    OPT_AUTO_COMPLETION = 1u << 18,     // "Use automatic symbol completion window"
    OPT_SLEEP_IN_BACKGROUND = 1u << 20, // "Sleep when Veltrix is in background"
    OPT_IGNORE_NAMESPACES = 1u << 22,   // "Ignore namespace declarations"
    OPT_SHARING = 1u << 23,             // "Sharing: Let other programs modify files"
    OPT_BACKGROUND_RELOAD = 1u << 24,   // "Reload externally modified files in background"
    OPT_SAVE_ON_DEACTIVATE = 1u << 25,  // "Save all files when Veltrix program is deactivated"
    OPT_ASK_RELOAD = 1u << 26,          // "Ask before reloading modified files"
    OPT_EDIT_READ_ONLY = 1u << 27,      // "Allow editing read-only file buffers"
    OPT_CONFIRM_DELETE = 1u << 29,      // "Confirm all file deletions"
};

// g_options2.
enum : uint32_t {
    OPT2_MAKE_BACKUPS = 1u << 0,          // "Make backup files when saving"
    OPT2_SOURCE_TIPS = 1u << 1,           // Source Tips "Short" (with bit 2: "Verbose")
    OPT2_SOURCE_TIPS_VERBOSE = 1u << 2,   //
    OPT2_DETAILED_COMPLETION = 1u << 3,   // "Use detailed completion window"
    OPT2_PATH_IF_NOT_FOUND = 1u << 4,     // "Search project symbol path if symbol not found"
    OPT2_SMART_TAB = 1u << 5,             // "Use Smart Tab for field selections"
    OPT2_COM_MACROS = 1u << 6,            // "Parse standard COM macros"
    OPT2_RESULTS_SHIFT = 7,               // bits 7-8: 0 ask, 1 replace, 2 append old Search Results
    OPT2_RESULTS_MASK = 3u << 7,          //
    OPT2_INSERT_PARAMETERS = 1u << 9,     // "Insert parameters for functions"
    OPT2_MATCH_SYLLABLES = 1u << 10,      // "Match syllables while typing (slower)"
    OPT2_MATCH_MEMBERS = 1u << 11,        // "Match members while typing"
    OPT2_COMPLETE_IN_COMMENTS = 1u << 12, // "Use completion window inside comments"
    OPT2_COMPLETE_CASE = 1u << 13,        // "Use case-sensitive matching"
    OPT2_LOAD_SELECTION = 1u << 14,       // "Automatically load selection into Find pattern"
    OPT2_IGNORE_PACKAGES = 1u << 15,      // "Ignore package declarations"
    OPT2_CTRL_Z_EOF = 1u << 16,           // "Assume ^Z (ASCII 26) is End-Of-File"
    OPT2_STRICT_CONFIRM = 1u << 17,       // "Use stricter confirmation dialog"
    OPT2_TAB_SELECTS_ITEM = 1u << 18,     // "Tab key selects item"
    OPT2_CROSS_LANGUAGE = 1u << 19,       // "Find symbols across different language types"
    OPT2_OVERWRITE_READ_ONLY = 1u << 20,  // "Save over read-only files without prompting"
    OPT2_TAB_INDENTS = 1u << 22,          // "Typing tab indents line, regardless of selection"
    OPT2_TAB_REPLACES = 1u << 23,         // "Typing tab replaces current selection"
    OPT2_TRIM_ON_SAVE = 1u << 24,         // "Remove extra white space when saving"
    OPT2_SAVE_ALL_QUERIES = 1u << 25,     // "Save All operation will query on each file separately"
    OPT2_SELECT_PASTED_LINES = 1u << 26,  // "Always select pasted text after pasting whole lines"
    OPT2_JUMP_TO_FIRST = 1u << 27,        // "Automatically jump to first result"
};

// g_options3.
enum : uint32_t {
    OPT3_SMART_PASTE = 1u << 0,         // "Use intelligent paste"
    OPT3_NET_SYMBOLS = 1u << 1,         // "Use .Net Framework symbols with C#"
    OPT3_INDENT_PREPROCESSOR = 1u << 2, // "Indent commands affect #-preprocessor statements"
    OPT3_RESELECT_REPLACED = 1u << 3,   // "Reselect original lines after Replace operation"
    OPT3_BLOCK_CURSOR = 1u << 4,        // "Use block cursor shape"
    OPT3_DRAG_DROP = 1u << 5,           // "Allow Drag-and-Drop editing"
    OPT3_OPEN_FILE_SYMBOLS = 1u << 6,   // "Find symbols in open files not part of the current project"
    OPT3_REMOVE_MISSING = 1u << 7,      // "Remove missing files from project"
    OPT3_SAME_MONITOR = 1u << 8,        // "Keep dialogs on the same monitor as the main window"
    OPT3_EVENT_HANDLERS = 1u << 9,      // "Enable event handlers"
    OPT3_PURGE_BACKUPS = 1u << 10,      // "Remove backup files older than (days)"
};

// g_viewOptions: windows and display.
enum : uint32_t {
    VIEW_SYNTAX_FORMATTING = 1u << 0,   // "Use Syntax Formatting"
    VIEW_STATUS_BAR = 1u << 2,          // "Status Bar"
    VIEW_PAGE_NUMBER = 1u << 3,         // "Page number in status bar"
    VIEW_TOOLBAR = 1u << 4,             // "Tool Bar"
    VIEW_PROJECT_WINDOW = 1u << 5,      // "Project Window"
    VIEW_HSCROLL = 1u << 6,             // "Horizontal scroll bars for each new window"
    VIEW_CLIP_WINDOW = 1u << 7,         // "Clip Window"
    VIEW_CONTEXT_WINDOW = 1u << 8,      // "Context Window"
    VIEW_SMOOTH_SCROLL = 1u << 9,       // "Smooth scrolling windows"
    VIEW_REVISION_MARKS = 1u << 10,     // "Show line revision marks in left margin"
    VIEW_BOOKMARKS = 1u << 11,          // "Show book marks in left margin"
    VIEW_EXACT_CASE = 1u << 12,         // "Show exact case of file names"
    VIEW_TILE_LINKS = 1u << 13,         // "Tile source and destination windows for Source Link commands"
    VIEW_DECLARATIONS = 1u << 14,       // "Symbol declarations"
    VIEW_LOCAL_DECLARATIONS = 1u << 15, // "Function local symbol declarations"
    VIEW_COLOR_ONLY = 1u << 16,         // "Use only color formatting"
    VIEW_SCALE_PARENS = 1u << 17,       // "Scale nested parentheses"
    VIEW_LOCAL_REFERENCES = 1u << 18,   // "References to function-local symbols"
    VIEW_GLOBAL_REFERENCES = 1u << 19,  // "References to non-function-local symbols"
    VIEW_MEMBER_REFERENCES = 1u << 20,  // "References to members"
    VIEW_QUALIFY_MEMBERS = 1u << 21,    // "Qualify references to members (slower)"
    VIEW_RELATION_WINDOWS = 1u << 22,   // "Relation Window(s)"
    VIEW_SEARCH_SYMBOL_PATH = 1u << 23, // "Search in the Project Symbol Path (slower)"
    VIEW_COMMENT_STYLES = 1u << 24,     // "Special comment styles"
    VIEW_INACTIVE_CODE = 1u << 25,      // "Inactive conditional code blocks"
    VIEW_READ_ONLY_MARK = 1u << 26,     // "Show read-only file names with ! mark"
    VIEW_MONOCHROME = 1u << 27,         // "Use no color formatting (monochrome)"
    VIEW_FLAT_TOOLBARS = 1u << 28,      // "Use flat style toolbars"
    VIEW_QUALIFY_FUNCTIONS = 1u << 29,  // "Qualify references to functions (slower)"
    VIEW_WINDOWS_BY_TITLE = 1u << 30,   // the Window menu and Window List sorted by title (clear: by usage)
};

// g_viewOptions2.
enum : uint32_t {
    VIEW2_TEXTURES = 1u << 0,               // "Use background textures"
    VIEW2_MONO_TABSTOPS = 1u << 1,          // "Layout tabstops using monospace calculations"
    VIEW2_MONO_SPACES = 1u << 2,            // "Layout spaces using monospace calculations"
    VIEW2_MAXIMIZE_NEW = 1u << 3,           // "Maximize new windows"
    VIEW2_DRAFT = 1u << 14,                 // the "Draft View" toggle
    VIEW2_VSCROLL = 1u << 15,               // "Vertical scroll bars for each new window"
    VIEW2_GRADIENTS = 1u << 18,             // "Use color gradients"
    VIEW2_THEMING = 1u << 19,               // "Enable Theming"
    VIEW2_SMALL_LEADING = 1u << 20,         // "Smaller line heights (reduces font leading)"
    VIEW2_PROJECT_IN_BACKGROUND = 1u << 21, // "Show current project name in application background"
    VIEW2_ANIMATIONS = 1u << 22,            // "Enable Animations"
    VIEW2_TRIM_PATHS = 1u << 23,            // "Trim long path names with ellipses"
};

// g_decorOptions: syntax decorations.
enum : uint32_t {
    DECOR_SUBSTITUTIONS = 1u << 0,      // "Use operator substitutions listed below:" (enables bits 1-5, 7-10)
    DECOR_ARROW = 1u << 1,              // "->" as a right arrow
    DECOR_NOT_EQUAL = 1u << 2,          // "!="
    DECOR_LESS_EQUAL = 1u << 3,         // "<="
    DECOR_GREATER_EQUAL = 1u << 4,      // ">="
    DECOR_ASSIGN_ARROW = 1u << 5,       // "=" as a left arrow
    DECOR_DIVISION = 1u << 7,           // "/"
    DECOR_AND = 1u << 8,                // "&&"
    DECOR_OR = 1u << 9,                 // "||"
    DECOR_EQUAL = 1u << 10,             // "==" as "="
    DECOR_GOTO_ARROWS = 1u << 11,       // "Show arrows at goto statements"
    DECOR_END_COMMENTS = 1u << 12,      // "Annotate closing braces with end-comments"
    DECOR_END_COMMENTS_LONG = 1u << 13, // "Annotate closing braces only for long blocks"
};

// What new files end their lines with, and what a paste selects.
enum OptLineEnd : uint32_t { OPT_LINE_END_CRLF = 1, OPT_LINE_END_LF = 2, OPT_LINE_END_CR = 3 };
enum OptPasteSelect : uint32_t { OPT_PASTE_START = 0, OPT_PASTE_END = 1, OPT_PASTE_ALL = 2 };

struct DisplayOptions {
    uint32_t viewOptions; // g_viewOptions
    uint32_t reserved1[4];
    char spaceWidthChar; // a space is as wide as this character of the font; 0: its own width
    char delimWidthChar; // common delimiters are as wide as this one; 0: their own widths
    uint8_t reserved5[2];
    uint32_t viewOptions2; // g_viewOptions2
    uint32_t decorOptions; // g_decorOptions
    uint32_t reserved8[3];
};
static_assert(sizeof(DisplayOptions) == 44, "the display options record is eleven words");
static_assert(offsetof(DisplayOptions, spaceWidthChar) == 20 &&
              offsetof(DisplayOptions, viewOptions2) == 24 && offsetof(DisplayOptions, decorOptions) == 28);

// The named colours, in the colour record's order.
enum : int32_t {
    OPT_COLOR_WINDOW = 0,          // "Window Background"
    OPT_COLOR_TEXT = 1,            // "Default Text"
    OPT_COLOR_CHANGE = 2,          // "Change Marks"
    OPT_COLOR_SAVED_CHANGE = 3,    // "Saved Change Marks"
    OPT_COLOR_END_OF_FILE = 4,     // "End of File"
    OPT_COLOR_SELECTION_TEXT = 5,  // "Selection Text"
    OPT_COLOR_SELECTION_BACK = 6,  // "Selection Background"
    OPT_COLOR_CURRENT_TEXT = 7,    // "Current Line Text"
    OPT_COLOR_CURRENT_BACK = 8,    // "Current Line Background"
    OPT_COLOR_PRINT_WINDOW = 9,    // "Printed Window Background"
    OPT_COLOR_PRINT_TEXT = 10,     // "Printed Default Text"
    OPT_COLOR_SELECTION_BAR = 11,  // "Selection Bar"
    OPT_COLOR_APP_BACKGROUND = 12, // "Application Background": the frame's background behind the windows
    OPT_COLOR_COUNT = 13,
    OPT_COLOR_MAGIC = 1313,
};

struct ColorRecord {
    uint32_t magic;   // OPT_COLOR_MAGIC
    uint32_t version; // of the program that made the record
    uint32_t reserved2[8];
    uint32_t count; // OPT_COLOR_COUNT
    uint32_t colors[OPT_COLOR_COUNT];
    uint32_t reserved24[19];
};
static_assert(sizeof(ColorRecord) == 172, "the colour record is 43 words");
static_assert(offsetof(ColorRecord, count) == 40 && offsetof(ColorRecord, colors) == 44);

extern uint32_t g_options;
extern uint32_t g_options2;
extern uint32_t g_options3;
extern DisplayOptions g_displayOptions;
extern uint32_t &g_viewOptions;  // g_displayOptions.viewOptions
extern uint32_t &g_viewOptions2; // g_displayOptions.viewOptions2
extern uint32_t &g_decorOptions; // g_displayOptions.decorOptions
extern char &g_spaceWidthChar;
extern char &g_delimWidthChar;
extern int32_t g_recoverySeconds;     // seconds without typing before recovery data is written, at least 1
extern int32_t g_syncMinutes;         // minutes between background project synchronisations
extern int32_t g_backupDays;          // age after which backups are removed, 0..16000
extern int32_t g_undoSteps;           // undo steps kept
extern int32_t g_openCommand;         // the command "Open" runs
extern uint32_t g_pasteSelect;        // OptPasteSelect
extern uint32_t g_lineEndFormat;      // OptLineEnd
extern uint32_t g_spaceBetweenParams; // completion inserts spaces between parameters (0 or 1)
extern uint32_t g_spaceAfterFuncName; // completion inserts a space after a function's name (0 or 1)
extern ColorRecord g_colorRecord;

enum : int32_t {
    OPT_OPEN_COMMAND_DEFAULT = 460, // "Project File List"
    OPT_SYNC_MINUTES_DEFAULT = 60,
    OPT_RECOVERY_SECONDS_DEFAULT = 15,
    OPT_UNDO_STEPS_DEFAULT = 1000,
    OPT_BACKUP_DAYS_DEFAULT = 200,
    OPT_BACKUP_DAYS_MAX = 16000,
};

// The option words and numbers at their defaults (the display options record and the colours are the
// configuration's, which sets them with the rest of its defaults).
void OptSetDefaults();
// The display options record at its defaults: the status bar, the toolbar, syntax formatting, both scroll
// bars, the margin marks and the Window menu by title on, every decoration off, the widths' characters '1'.
void OptDisplayDefaults(DisplayOptions *out);

// The default colours by the display's depth (manyColours: more than 256 colours), the application
// background the one given (the system's own colour for it), in a record stamped with the writer's version.
void OptColorDefaults(ColorRecord *out, bool manyColours, uint32_t appBackground, uint32_t version);
// A fresh record of the colours (OPT_COLOR_COUNT of them; each without its top byte, which would make it a
// palette index), the words around them as this program writes them. The colours may lie in *out.
void OptColorRecordMake(ColorRecord *out, const uint32_t *colors, uint32_t version);
const char *OptColorName(int32_t index); // "Window Background"; "" outside the table

// One colour of g_colorRecord (OPT_COLOR_*); 0 (black) outside the table.
inline uint32_t OptColor(int32_t index) {
    return index >= 0 && index < OPT_COLOR_COUNT ? g_colorRecord.colors[index] : 0;
}
// Sets one colour of g_colorRecord as given; one outside the table changes nothing.
void OptSetColor(int32_t index, uint32_t color);

// The display options record and the colours back as the program starts with them (the colours of 256, a
// grey application background); the test programs' reset.
void OptReset();
