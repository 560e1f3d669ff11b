// dispopt: the display settings that source windows, the formatter and the style sheet read (prefix
// Disp, and the option enums VIEW_*, VIEW2_*, DECOR_*): the display options record, whose words hold the
// view option words and the syntax decoration bits, and the colour record of the program's named colours.
// The shell loads, saves and edits both (the configuration's display options and colour sections, the
// Preferences); until it does, they hold their defaults. Portable.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
//
// The display options record (44 bytes, eleven little-endian words, stored as it lies in memory):
//   word 0   the view options (VIEW_*)
//   words 1-4  reserved, zero
//   word 5   byte 0 the character whose width blanks take, byte 1 the one common delimiters take (0: none)
//   word 6   the second view option word (VIEW2_*)
//   word 7   the syntax decoration bits (DECOR_*)
//   words 8-10 reserved, zero
// The colour record (172 bytes, 43 words): word 0 1313, word 1 the writer's program version, words 2-9 zero,
// word 10 13 (the number of colours), words 11-23 the colours (0x00BBGGRR, DISP_COLOR_*), the rest zero.
#pragma once

#include <cstddef>
#include <cstdint>

// View options (word 0), by the Preferences' labels.
enum : uint32_t {
    VIEW_SYNTAX_FORMATTING = 1u << 0,   // "&Use Syntax Formatting"
    VIEW_DECLARATIONS = 1u << 14,       // "Symbol &declarations"
    VIEW_LOCAL_DECLARATIONS = 1u << 15, // "Function local symbol d&eclarations"
    VIEW_COLOR_ONLY = 1u << 16,         // "Use only &color formatting"
    VIEW_SCALE_PARENS = 1u << 17,       // "Scale nested parentheses"
    VIEW_LOCAL_REFERENCES = 1u << 18,   // "References to function-&local symbols"
    VIEW_GLOBAL_REFERENCES = 1u << 19,  // "References to &non-function-local symbols"
    VIEW_MEMBER_REFERENCES = 1u << 20,  // "References to &members"
    VIEW_QUALIFY_MEMBERS = 1u << 21,    // "&Qualify references to members (slower)"
    VIEW_SYMBOL_PATH = 1u << 23,        // "Search in the &Project Symbol Path (slower)"
    VIEW_SPECIAL_COMMENTS = 1u << 24,   // "Special comment styles"
    VIEW_INACTIVE_CODE = 1u << 25,      // "Inactive conditional code blocks"
    VIEW_MONOCHROME = 1u << 27,         // "Use no color formatting (monochrome)"
    VIEW_QUALIFY_FUNCTIONS = 1u << 29,  // "Qualify references to &functions (slower)"
};

// Second view option word (word 6).
enum : uint32_t {
    VIEW2_MONOSPACE_TABS = 1u << 1,   // "Layout tabstops using monospace calculations"
    VIEW2_MONOSPACE_SPACES = 1u << 2, // "Layout spaces using monospace calculations"
    VIEW2_DRAFT = 1u << 14,           // the "Draft View" toggle
    VIEW2_GRADIENTS = 1u << 18,       // "Use color gradients"
    VIEW2_SMALL_LEADING = 1u << 20,   // "Smaller line heights (reduces font leading)"
};

// Syntax decorations (word 7).
enum : uint32_t {
    DECOR_SUBSTITUTIONS = 1u << 0, // "&Use operator substitutions listed below:"
    DECOR_ARROW = 1u << 1,         // "&Pointer field reference (->) uses right arrow"
    DECOR_NOT_EQUAL = 1u << 2,     // "&Not Equal (!=)"
    DECOR_LESS_EQUAL = 1u << 3,    // "&Less Than or Equal (<=)"
    DECOR_GREATER_EQUAL = 1u << 4, // "&Greater Than or Equal (>=)"
    DECOR_ASSIGN = 1u << 5,        // "A&ssignment (=) uses left arrow"
    DECOR_DIVIDE = 1u << 7,        // "Division (/)"
    DECOR_AND = 1u << 8,           // "Logical &AND (&&&&)"
    DECOR_OR = 1u << 9,            // "Logical &OR (||)"
    DECOR_EQUAL = 1u << 10,        // "&Equal (==) uses ="
    DECOR_GOTO_ARROWS = 1u << 11,  // "Show arrows at goto statements"
    DECOR_END_COMMENTS = 1u << 12, // "Annotate closing braces with end-comments"
    DECOR_LONG_BLOCKS = 1u << 13,  // "Annotate closing braces only for long blocks"
};

struct DisplayOptions {
    uint32_t view;
    uint32_t reserved1[4];
    char spaceWidthChar; // blanks measure as this character (0: as themselves)
    char delimWidthChar; // common delimiters measure as this character (0: as themselves)
    uint8_t reserved5[2];
    uint32_t view2;
    uint32_t decor;
    uint32_t reserved8[3];
};
static_assert(sizeof(DisplayOptions) == 44, "the display options record is eleven words");
static_assert(offsetof(DisplayOptions, spaceWidthChar) == 20 && offsetof(DisplayOptions, view2) == 24 &&
              offsetof(DisplayOptions, decor) == 28);

// The named colours, in the colour record's order.
enum DispColor : int32_t {
    DISP_COLOR_WINDOW = 0,          // "Window Background"
    DISP_COLOR_TEXT = 1,            // "Default Text"
    DISP_COLOR_CHANGE = 2,          // "Change Marks"
    DISP_COLOR_SAVED_CHANGE = 3,    // "Saved Change Marks"
    DISP_COLOR_END_OF_FILE = 4,     // "End of File"
    DISP_COLOR_SELECTION_TEXT = 5,  // "Selection Text"
    DISP_COLOR_SELECTION_BACK = 6,  // "Selection Background"
    DISP_COLOR_CURRENT_TEXT = 7,    // "Current Line Text"
    DISP_COLOR_CURRENT_BACK = 8,    // "Current Line Background"
    DISP_COLOR_PRINT_WINDOW = 9,    // "Printed Window Background"
    DISP_COLOR_PRINT_TEXT = 10,     // "Printed Default Text"
    DISP_COLOR_SELECTION_BAR = 11,  // "Selection Bar"
    DISP_COLOR_APP_BACKGROUND = 12, // "Application Background"
    DISP_COLORS = 13,
};

enum { DISP_COLORS_MAGIC = 1313 };

struct DisplayColors {
    uint32_t magic; // DISP_COLORS_MAGIC
    uint32_t version;
    uint32_t reserved2[8];
    uint32_t count; // DISP_COLORS
    uint32_t colors[DISP_COLORS];
    uint32_t reserved24[19];
};
static_assert(sizeof(DisplayColors) == 172, "the colour record is 43 words");
static_assert(offsetof(DisplayColors, colors) == 44);

// The records in use; the shell reads and writes them in place.
DisplayOptions &DispOptions();
DisplayColors &DispColors();

// The defaults: the view options, decorations and widths the program starts with; the colours of the
// display's depth (manyColours: more than 256 colours), colour 12 the system's application background.
void DispOptionsDefault(DisplayOptions *out);
void DispColorsDefault(DisplayColors *out, bool manyColours, uint32_t appBackground);

// One colour (DISP_COLOR_*); 0 (black) outside the table. Setting one outside the table does nothing.
uint32_t DispColor(int32_t index);
void DispSetColor(int32_t index, uint32_t color);
const char *DispColorName(int32_t index); // "" outside the table

// Both records back to their defaults (256 colours, grey application background); the test programs' reset.
void DispReset();
