// fmthook: what the formatter asks of the languages and of the symbol database above it (prefix FmtSetLangHook,
// FmtSetSymbolHook, FmtLang, FmtSymbols, FmtLocals). Each is one table that the upper subsystem registers at
// start-up; until then, and after a null registration, every member gives its neutral answer: no language
// switches (a line is one run of style 0), no scanner, no local symbols, no highlighted words, no symbols and
// no lookups. A registrant starts from the neutral table and replaces what it answers, so no member is null.
// Portable.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include <cstdint>

struct FileBuffer;

enum {
    FMT_NAME_MAX = 80,   // symbol names: up to 79 characters and the NUL
    FMT_MARKER_MAX = 16, // heading markers: up to 15 characters and the NUL
    FMT_KIND_BLANKS = 0x8000,
};

// The switches of a language (by index) that formatting reads.
struct FmtLangSwitches {
    bool syntaxFormatting;              // "Use Syntax Formatting": styles, decorations and annotations
    bool cFamily;                       // members also follow "->" and "::"
    bool visualBasic;                   // "<>" is not-equal; calls need no parenthesis
    char headingMarker[FMT_MARKER_MAX]; // what begins a heading or to-do comment ("//"); "" none
};

// One token of a line: the formatter sets the buffer, line, language, text, start and incoming state; the
// scanner sets the end (after the start), the kind (a style index, FMT_KIND_BLANKS for blanks) and the
// outgoing state. The text is the line with a blank (unless it is empty or ends in one) and the character 1
// appended, NUL-terminated.
struct FmtToken {
    FileBuffer *doc;
    int32_t line;
    int32_t lang;
    const char *text;
    int32_t length;
    int32_t start;
    int32_t end;
    int32_t kind;
    uint32_t stateIn;
    uint32_t stateOut;
};

// A symbol of the file's tag list or of the symbol database.
struct FmtSymbol {
    int32_t type;       // symbol type, 0..57
    int32_t parentType; // the enclosing symbol's type, -1 at the top level
    int32_t line;       // where its extent begins
    int32_t column;
    int32_t lineCount;
    int32_t nameLine; // where its name is declared
    int32_t nameColumn;
    char name[FMT_NAME_MAX];
};

// The local symbols of the function around a line: the lines the table covers and its symbols. Filled by the
// language's local parse through FmtLocalsAdd.
struct FmtLocals {
    int32_t first; // first and last line covered; first -1: no table
    int32_t last;
    int32_t count;
    int32_t capacity;
    FmtSymbol *symbols;
};
void FmtLocalsInit(FmtLocals *locals);
void FmtLocalsClear(FmtLocals *locals);                        // frees the symbols; first becomes -1
bool FmtLocalsAdd(FmtLocals *locals, const FmtSymbol *symbol); // false when out of memory
const FmtSymbol *FmtLocalsFind(const FmtLocals *locals, const char *name, int32_t length);

struct FmtLangHook {
    void (*switches)(int32_t lang, FmtLangSwitches *out); // all off
    bool (*scanStyledToken)(FmtToken *token);             // false: no scanner
    // The local symbols of the function enclosing the line (the table's range set even when it holds none);
    // false: no function there.
    bool (*parseLocals)(FileBuffer *doc, int32_t line, FmtLocals *out);
    bool (*highlightedWord)(const char *word, int32_t length, int32_t *outKind); // false
};

// Lookup flags.
enum : uint32_t {
    FMT_LOOKUP_CALL = 0x1,        // the name is called
    FMT_LOOKUP_SYMBOL_PATH = 0x2, // search the project symbol path too
};

struct FmtSymbolHook {
    // The symbol of that name that the file's tag list shows at the position (the first match of the
    // scopes around it that is not hidden); false: none.
    bool (*tagAt)(FileBuffer *doc, int32_t line, int32_t column, const char *name, FmtSymbol *out);
    // A symbol of the file whose extent ends with the line (its first line plus its line count is the line
    // after it), closed by the brace at the column; false: none.
    bool (*tagEndingAt)(FileBuffer *doc, int32_t line, int32_t column, FmtSymbol *out);
    // The symbol database's lookup of a name among a set of types (bit n: symbol type n): the type found or
    // -1; the file (256 bytes) and line of its definition when asked (either may be null).
    int32_t (*lookup)(FileBuffer *doc, const char *name, uint64_t types, uint32_t flags, char *outPath,
                      int32_t *outLine);
    // The source folder of the buffer's project, "" when none (256 bytes).
    void (*sourceFolder)(FileBuffer *doc, char *out);
};

const FmtLangHook *FmtLangNeutral();
const FmtSymbolHook *FmtSymbolNeutral();
// Registration: the table is copied; null puts the neutral table back.
void FmtSetLangHook(const FmtLangHook *hook);
void FmtSetSymbolHook(const FmtSymbolHook *hook);
const FmtLangHook &FmtLang();
const FmtSymbolHook &FmtSymbols();
