// keymap: the key map and key names (prefixes KeyMap, Key). The live map is one record of a count and a
// Handle of 8-byte bindings {u32 command, u32 key code}, newest first; every change marks the menus of the
// changed command for rebuilding, so that their key texts follow. Key codes are kept in one form: upper-cased
// (KeyUpcase) and with either Shift bit standing for both, as the key input module makes them.
//
// Key map section of the configuration file (little-endian):
//   u32 count; count x {u32 command, u32 key}; then for each binding whose command lies in 2000..3999, in
//   binding order, the user command's name as a length-prefixed string.
// The section is read whole before anything is kept: the count must fit the section, each name must lie
// inside it, and the section must end where the last name ends.
#include "shell/keymap.h"

#include "base/file.h"
#include "base/plexvar.h"
#include "base/str.h"
#include "base/utilil.h"
#include "base/heap.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"

#include <bit>
#include <cstdio>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "bindings are written as they lie in memory");

// The virtual keys that the key names and presets use.
constexpr int32_t KEY_VK_PRIOR = 0x21, KEY_VK_NEXT = 0x22, KEY_VK_END = 0x23, KEY_VK_HOME = 0x24;
constexpr int32_t KEY_VK_LEFT = 0x25, KEY_VK_UP = 0x26, KEY_VK_RIGHT = 0x27, KEY_VK_DOWN = 0x28;
constexpr int32_t KEY_VK_INSERT = 0x2D, KEY_VK_DELETE = 0x2E, KEY_VK_F1 = 0x70, KEY_VK_F16 = 0x7F;
constexpr int32_t KEY_MOUSE_BUTTON_BITS = KEY_MOUSE | 0x1F;

// Function key n.
static constexpr int32_t KeyFn(int n) {
    return KEY_FUNCTION | (KEY_VK_F1 + n - 1);
}

struct KeyNameRow {
    int32_t code;
    const char *name;
};

static const KeyNameRow keyPlainNames[] = {
    {'\r', "Enter"}, {'\t', "Tab"}, {'\b', "BackSpace"}, {' ', "Space"}, {0x1B, "Esc"},
};
static const KeyNameRow keyNavNames[] = {
    {KEY_VK_INSERT, "Ins"}, {KEY_VK_DELETE, "Del"}, {KEY_VK_RIGHT, "Right"}, {KEY_VK_LEFT, "Left"},
    {KEY_VK_UP, "Up"},      {KEY_VK_DOWN, "Down"},  {KEY_VK_PRIOR, "PgUp"},  {KEY_VK_NEXT, "PgDn"},
    {KEY_VK_HOME, "Home"},  {KEY_VK_END, "End"},
};
static const KeyNameRow keyMouseNames[] = {
    {KEY_MOUSE | KEY_MOUSE_RIGHT, "R Click"},
    {KEY_MOUSE | KEY_MOUSE_LEFT, "L Click"},
    {KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_RIGHT, "L+R Click"},
    {KEY_MOUSE | KEY_MOUSE_MIDDLE, "M Click"},
    {KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_MIDDLE | KEY_MOUSE_RIGHT, "L+M+R Click"},
    {KEY_MOUSE | KEY_MOUSE_X1, "Thumb 1 Click"},
    {KEY_MOUSE | KEY_MOUSE_X2, "Thumb 2 Click"},
};

// The two presets, by command in table order. Keypad keys carry both the navigation and the keypad flag.
static const KeyBinding keyPresetStandard[] = {
    {33, KeyFn(1)},                                         // Help...: F1
    {152, KeyFn(2)},                                        // Select Next Window: F2
    {152, KEY_SHIFT | KeyFn(2)},                            // Select Next Window: Shift+F2
    {152, KEY_CTRL | KeyFn(6)},                             // Select Next Window: Ctrl+F6
    {150, KeyFn(3)},                                        // Search Backward: F3
    {42, KeyFn(4)},                                         // Search Forward: F4
    {66, KeyFn(5)},                                         // Go To Line...: F5
    {66, KEY_CTRL | 'G'},                                   // Go To Line...: Ctrl+G
    {41, KeyFn(6)},                                         // Tile Two Windows: F6
    {61, KeyFn(7)},                                         // Browse Project Symbols...: F7
    {61, KEY_ALT | 'G'},                                    // Browse Project Symbols...: Alt+G
    {105, KeyFn(8)},                                        // Browse Local File Symbols...: F8
    {97, KeyFn(9)},                                         // Indent Left: F9
    {98, KeyFn(10)},                                        // Indent Right: F10
    {427, KeyFn(12)},                                       // Incremental Search...: F12
    {628, KEY_ALT | KeyFn(12)},                             // Draft View: Alt+F12
    {288, KEY_ALT | KeyFn(1)},                              // SDK Help...: Alt+F1
    {24, KEY_ALT | KeyFn(4)},                               // Exit: Alt+F4
    {110, KEY_ALT | KeyFn(5)},                              // New Window: Alt+F5
    {153, KEY_ALT | KeyFn(6)},                              // Close Window: Alt+F6
    {153, KEY_CTRL | KeyFn(4)},                             // Close Window: Ctrl+F4
    {290, KEY_ALT | KeyFn(7)},                              // Sort Symbol Window: Alt+F7
    {291, KEY_ALT | KeyFn(8)},                              // Symbol Window: Alt+F8
    {155, KEY_ALT | KeyFn(10)},                             // Zoom Window: Alt+F10
    {155, KEY_CTRL | KeyFn(10)},                            // Zoom Window: Ctrl+F10
    {113, KEY_SHIFT | KeyFn(1)},                            // Select Previous Window: Shift+F1
    {278, KEY_SHIFT | KeyFn(3)},                            // Search Backward for Selection: Shift+F3
    {277, KEY_SHIFT | KeyFn(4)},                            // Search Forward for Selection: Shift+F4
    {128, KEY_SHIFT | KeyFn(5)},                            // Select Word: Shift+F5
    {130, KEY_SHIFT | KeyFn(6)},                            // Select Line: Shift+F6
    {129, KEY_SHIFT | KeyFn(7)},                            // Select Sentence: Shift+F7
    {129, KEY_CTRL | '.'},                                  // Select Sentence: Ctrl+.
    {430, KEY_SHIFT | KeyFn(8)},                            // Highlight Word: Shift+F8
    {46, KEY_SHIFT | KeyFn(9)},                             // Go To Next Link: Shift+F9
    {46, KEY_CTRL | KEY_SHIFT | 'L'},                       // Go To Next Link: Ctrl+Shift+L
    {54, KEY_SHIFT | KeyFn(10)},                            // Show File Status: Shift+F10
    {310, KEY_CTRL | KeyFn(1)},                             // Start Recording: Ctrl+F1
    {311, KEY_CTRL | KeyFn(2)},                             // Stop Recording: Ctrl+F2
    {312, KEY_CTRL | KeyFn(3)},                             // Play Recording: Ctrl+F3
    {87, KEY_CTRL | 'Z'},                                   // Undo: Ctrl+Z
    {87, KEY_ALT | '\b'},                                   // Undo: Alt+BackSpace
    {88, KEY_CTRL | 'Y'},                                   // Redo: Ctrl+Y
    {90, KEY_CTRL | 'X'},                                   // Cut: Ctrl+X
    {90, KEY_SHIFT | KEY_NAV | KEY_VK_DELETE},              // Cut: Shift+Del
    {91, KEY_CTRL | 'C'},                                   // Copy: Ctrl+C
    {91, KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_RIGHT},     // Copy: L+R Click
    {92, KEY_CTRL | 'V'},                                   // Paste: Ctrl+V
    {92, KEY_SHIFT | KEY_NAV | KEY_VK_INSERT},              // Paste: Shift+Ins
    {27, KEY_ALT},                                          // Activate Menu Bar: Alt alone
    {118, KEY_ALT | 'F'},                                   // Activate File Menu: Alt+F
    {119, KEY_ALT | 'E'},                                   // Activate Edit Menu: Alt+E
    {120, KEY_ALT | 'S'},                                   // Activate Search Menu: Alt+S
    {121, KEY_ALT | 'P'},                                   // Activate Project Menu: Alt+P
    {122, KEY_ALT | 'W'},                                   // Activate Window Menu: Alt+W
    {284, KEY_ALT | 'H'},                                   // Activate Help Menu: Alt+H
    {283, KEY_ALT | 'O'},                                   // Activate Options Menu: Alt+O
    {343, KEY_ALT | 'V'},                                   // Activate View Menu: Alt+V
    {143, KEY_ALT | '-'},                                   // Activate System Doc Menu: Alt+-
    {373, KEY_ALT | ' '},                                   // Activate System Menu: Alt+Space
    {634, KEY_ALT | 'K'},                                   // Activate Work Menu: Alt+K
    {292, KEY_SHIFT | KEY_NAV | KEY_VK_END},                // Select To End Of Line: Shift+End
    {315, KEY_SHIFT | KEY_NAV | KEY_VK_HOME},               // Select To Start Of Line: Shift+Home
    {313, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_LEFT},    // Select Word Left: Ctrl+Shift+Left
    {314, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_RIGHT},   // Select Word Right: Ctrl+Shift+Right
    {145, KEY_SHIFT | KEY_NAV | KEY_VK_LEFT},               // Select Char Left: Shift+Left
    {146, KEY_SHIFT | KEY_NAV | KEY_VK_RIGHT},              // Select Char Right: Shift+Right
    {147, KEY_SHIFT | KEY_NAV | KEY_VK_UP},                 // Select Line Up: Shift+Up
    {148, KEY_SHIFT | KEY_NAV | KEY_VK_DOWN},               // Select Line Down: Shift+Down
    {361, KEY_SHIFT | KEY_NAV | KEY_VK_NEXT},               // Select Page Down: Shift+PgDn
    {361, KEY_SHIFT | KEY_KEYPAD | KEY_NAV | KEY_VK_NEXT},  // Select Page Down: Shift+(KeyPad) PgDn
    {362, KEY_SHIFT | KEY_NAV | KEY_VK_PRIOR},              // Select Page Up: Shift+PgUp
    {362, KEY_SHIFT | KEY_KEYPAD | KEY_NAV | KEY_VK_PRIOR}, // Select Page Up: Shift+(KeyPad) PgUp
    {253, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_HOME},    // Select To Top Of File: Ctrl+Shift+Home
    {254, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_END},     // Select To End Of File: Ctrl+Shift+End
    {12, KEY_NAV | KEY_VK_PRIOR},                           // Page Up: PgUp
    {12, KEY_KEYPAD | KEY_NAV | KEY_VK_PRIOR},              // Page Up: (KeyPad) PgUp
    {11, KEY_NAV | KEY_VK_NEXT},                            // Page Down: PgDn
    {11, KEY_KEYPAD | KEY_NAV | KEY_VK_NEXT},               // Page Down: (KeyPad) PgDn
    {36, KEY_CTRL | KEY_NAV | KEY_VK_NEXT},                 // Scroll Half Page Down: Ctrl+PgDn
    {36, KEY_CTRL | KEY_KEYPAD | KEY_NAV | KEY_VK_NEXT},    // Scroll Half Page Down: Ctrl+(KeyPad) PgDn
    {36, KEY_KEYPAD | '*'},                                 // Scroll Half Page Down: (KeyPad) *
    {35, KEY_CTRL | KEY_NAV | KEY_VK_PRIOR},                // Scroll Half Page Up: Ctrl+PgUp
    {35, KEY_CTRL | KEY_KEYPAD | KEY_NAV | KEY_VK_PRIOR},   // Scroll Half Page Up: Ctrl+(KeyPad) PgUp
    {35, KEY_KEYPAD | '/'},                                 // Scroll Half Page Up: (KeyPad) /
    {26, KEY_ALT | KEY_NAV | KEY_VK_UP},                    // Scroll Line Up: Alt+Up
    {25, KEY_ALT | KEY_NAV | KEY_VK_DOWN},                  // Scroll Line Down: Alt+Down
    {124, KEY_ALT | KEY_NAV | KEY_VK_LEFT},                 // Scroll Left: Alt+Left
    {123, KEY_ALT | KEY_NAV | KEY_VK_RIGHT},                // Scroll Right: Alt+Right
    {18, KEY_CTRL | KEY_NAV | KEY_VK_HOME},                 // Top Of File: Ctrl+Home
    {18, KEY_CTRL | KEY_KEYPAD | KEY_NAV | KEY_VK_HOME},    // Top Of File: Ctrl+(KeyPad) Home
    {21, KEY_CTRL | KEY_NAV | KEY_VK_END},                  // Bottom Of File: Ctrl+End
    {21, KEY_CTRL | KEY_KEYPAD | KEY_NAV | KEY_VK_END},     // Bottom Of File: Ctrl+(KeyPad) End
    {17, KEY_NAV | KEY_VK_HOME},                            // Beginning Of Line: Home
    {19, KEY_KEYPAD | KEY_NAV | KEY_VK_HOME},               // Top Of Window: (KeyPad) Home
    {20, KEY_NAV | KEY_VK_END},                             // End Of Line: End
    {22, KEY_KEYPAD | KEY_NAV | KEY_VK_END},                // Bottom Of Window: (KeyPad) End
    {7, KEY_NAV | KEY_VK_UP},                               // Cursor Up: Up
    {7, KEY_KEYPAD | KEY_NAV | KEY_VK_UP},                  // Cursor Up: (KeyPad) Up
    {8, KEY_NAV | KEY_VK_DOWN},                             // Cursor Down: Down
    {8, KEY_KEYPAD | KEY_NAV | KEY_VK_DOWN},                // Cursor Down: (KeyPad) Down
    {9, KEY_NAV | KEY_VK_LEFT},                             // Cursor Left: Left
    {9, KEY_KEYPAD | KEY_NAV | KEY_VK_LEFT},                // Cursor Left: (KeyPad) Left
    {10, KEY_NAV | KEY_VK_RIGHT},                           // Cursor Right: Right
    {10, KEY_KEYPAD | KEY_NAV | KEY_VK_RIGHT},              // Cursor Right: (KeyPad) Right
    {13, KEY_CTRL | KEY_NAV | KEY_VK_LEFT},                 // Word Left: Ctrl+Left
    {14, KEY_CTRL | KEY_NAV | KEY_VK_RIGHT},                // Word Right: Ctrl+Right
    {158, KEY_KEYPAD | '-'},                                // Function Up: (KeyPad) -
    {159, KEY_KEYPAD | '+'},                                // Function Down: (KeyPad) +
    {131, KEY_CTRL | '-'},                                  // Select Block: Ctrl+-
    {132, KEY_ALT | '='},                                   // Select Match: Alt+=
    {486, KEY_ALT | KEY_KEYPAD | '+'},                      // Go To Next Change: Alt+(KeyPad) +
    {487, KEY_ALT | KEY_KEYPAD | '-'},                      // Go To Previous Change: Alt+(KeyPad) -
    {161, KEY_ALT | ']'},                                   // Jump To Match: Alt+]
    {38, KEY_CTRL | '9'},                                   // Paren Left: Ctrl+9
    {37, KEY_CTRL | '0'},                                   // Paren Right: Ctrl+0
    {39, KEY_CTRL | KEY_SHIFT | '['},                       // Block Up: Ctrl+Shift+[
    {40, KEY_CTRL | KEY_SHIFT | ']'},                       // Block Down: Ctrl+Shift+]
    {149, KEY_CTRL | KEY_ALT | ']'},                        // End Of Selection: Ctrl+Alt+]
    {160, KEY_CTRL | KEY_ALT | '['},                        // Beginning Of Selection: Ctrl+Alt+[
    {107, KEY_ALT | 'M'},                                   // Go Back Toggle: Alt+M
    {43, KEY_ALT | ','},                                    // Go Back: Alt+comma
    {43, KEY_MOUSE | KEY_MOUSE_X1},                         // Go Back: Thumb 1 Click
    {106, KEY_ALT | '.'},                                   // Go Forward: Alt+.
    {106, KEY_MOUSE | KEY_MOUSE_X2},                        // Go Forward: Thumb 2 Click
    {309, KEY_CTRL | '\\'},                                 // Repeat Typing: Ctrl+backslash
    {56, KEY_CTRL | 'N'},                                   // New: Ctrl+N
    {57, KEY_CTRL | 'O'},                                   // Open...: Ctrl+O
    {58, KEY_CTRL | 'W'},                                   // Close: Ctrl+W
    {117, KEY_CTRL | KEY_SHIFT | 'W'},                      // Close All: Ctrl+Shift+W
    {104, KEY_CTRL | KEY_SHIFT | 'N'},                      // Next File...: Ctrl+Shift+N
    {59, KEY_CTRL | 'S'},                                   // Save: Ctrl+S
    {89, KEY_CTRL | 'A'},                                   // Save All: Ctrl+A
    {60, KEY_CTRL | KEY_SHIFT | 'S'},                       // Save As...: Ctrl+Shift+S
    {142, KEY_CTRL | KEY_SHIFT | 'O'},                      // Reload File: Ctrl+Shift+O
    {329, KEY_ALT | 'L'},                                   // Activate Symbol Window: Alt+L
    {100, KEY_CTRL | 'R'},                                  // Renumber...: Ctrl+R
    {62, KEY_CTRL | 'F'},                                   // Search...: Ctrl+F
    {125, KEY_CTRL | KEY_SHIFT | 'F'},                      // Search Files...: Ctrl+Shift+F
    {295, KEY_CTRL | '/'},                                  // Lookup References...: Ctrl+/
    {63, KEY_CTRL | 'H'},                                   // Replace...: Ctrl+H
    {126, KEY_CTRL | KEY_SHIFT | 'H'},                      // Replace Files...: Ctrl+Shift+H
    {84, KEY_CTRL | 'L'},                                   // Jump To Link: Ctrl+L
    {86, KEY_CTRL | '='},                                   // Jump To Definition: Ctrl+=
    {86,
     KEY_CTRL | KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_SELECT}, // Jump To Definition: Ctrl+L Click (select)
    {86, KEY_CTRL | KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_DOUBLE}, // Jump To Definition: Ctrl+Double L Click
    {441, KEY_ALT | '0'},                                           // Jump To Base Type: Alt+0
    {23, KEY_NAV | KEY_VK_INSERT},                                  // Toggle Insert Mode: Ins
    {108, KEY_CTRL | 'M'},                                          // Bookmark...: Ctrl+M
    {85, KEY_CTRL | KEY_SHIFT | 'M'},                               // Selection History...: Ctrl+Shift+M
    {82, KEY_ALT | '/'},                                            // Symbol Info...: Alt+/
    {82, KEY_CTRL | KEY_MOUSE | KEY_MOUSE_RIGHT | KEY_MOUSE_SELECT}, // Symbol Info...: Ctrl+R Click (select)
    {417, KEY_CTRL | '\t'},                                          // Last Window: Ctrl+Tab
    {417, KEY_CTRL | KEY_SHIFT | '\t'},                              // Last Window: Ctrl+Shift+Tab
    {69, KEY_ALT | 'T'},                                             // Document Options...: Alt+T
    {347, KEY_CTRL | '\''},                                          // Smart Rename...: Ctrl+'
    {411, KEY_CTRL | 'E'},                                           // Complete Symbol: Ctrl+E
    {74, KEY_ALT | KEY_SHIFT | 'N'},                                 // New Project...: Alt+Shift+N
    {75, KEY_ALT | KEY_SHIFT | 'P'},                                 // Open Project...: Alt+Shift+P
    {76, KEY_ALT | KEY_SHIFT | 'W'},                                 // Close Project: Alt+Shift+W
    {78, KEY_ALT | KEY_SHIFT | 'A'},                                 // Add File...: Alt+Shift+A
    {79, KEY_ALT | KEY_SHIFT | 'R'},                                 // Remove File...: Alt+Shift+R
    {116, KEY_ALT | KEY_SHIFT | 'S'},                                // Synchronize Files...: Alt+Shift+S
    {4, '\b'},                                                       // Backspace: BackSpace
    {4, KEY_SHIFT | '\b'},                                           // Backspace: Shift+BackSpace
    {15, KEY_NAV | KEY_VK_DELETE},                                   // Delete Character: Del
    {15, KEY_KEYPAD | KEY_NAV | KEY_VK_DELETE},                      // Delete Character: (KeyPad) Del
    {102, KEY_CTRL | 'K'},                                           // Copy Line: Ctrl+K
    {255, KEY_CTRL | KEY_SHIFT | 'K'},                               // Copy Line Right: Ctrl+Shift+K
    {101, KEY_CTRL | 'P'},                                           // Paste Line: Ctrl+P
    {16, KEY_CTRL | 'U'},                                            // Cut Line: Ctrl+U
    {94, KEY_CTRL | 'I'},                                            // Insert Line: Ctrl+I
    {30, KEY_CTRL | ';'},                                            // Cut Line Right: Ctrl+semicolon
    {28, KEY_CTRL | ','},                                            // Cut Word: Ctrl+comma
    {95, KEY_CTRL | ' '},                                            // Insert Line Before Next: Ctrl+Space
    {96, KEY_CTRL | 'J'},                                            // Join Lines: Ctrl+J
    {137, KEY_CTRL | '\r'},                                          // Insert New Line: Ctrl+Enter
    {344, KEY_CTRL | KEY_SHIFT | 'X'},                               // Cut To Clip...: Ctrl+Shift+X
    {103, KEY_CTRL | KEY_NAV | KEY_VK_DELETE},                       // Copy To Clip...: Ctrl+Del
    {53, KEY_CTRL | KEY_NAV | KEY_VK_INSERT},                        // Paste From Clip...: Ctrl+Ins
    {109, KEY_CTRL | KEY_ALT | ' '},                                 // Redraw Screen: Ctrl+Alt+Space
    {134, KEY_SHIFT | KEY_MOUSE | KEY_MOUSE_LEFT},                   // Select To: Shift+L Click
    {151, KEY_ALT | KEY_MOUSE | KEY_MOUSE_LEFT},                     // Make Column Selection: Alt+L Click
    {3, '\r'},                                                       // Enter: Enter
    {3, '\r'},                                                       // Enter: Enter
    {3, KEY_KEYPAD | '\r'},                                          // Enter: (KeyPad) Enter
    {2, 0x1B},                                                       // unnamed command 2: Esc
    {5, '\t'},                                                       // Tab: Tab
    {6, KEY_SHIFT | '\t'},                                           // Back Tab: Shift+Tab
    {488, KEY_CTRL | KEY_ALT | '\t'},                                // Simple Tab: Ctrl+Alt+Tab
    {31, KEY_MOUSE | KEY_MOUSE_LEFT},                                // unnamed command 31: L Click
    {31, KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_DOUBLE},             // unnamed command 31: Double L Click
};

static const KeyBinding keyPresetClassic[] = {
    {11, KEY_CTRL | 'C'},                                 // Page Down: Ctrl+C
    {11, KEY_NAV | KEY_VK_NEXT},                          // Page Down: PgDn
    {11, KEY_KEYPAD | KEY_NAV | KEY_VK_NEXT},             // Page Down: (KeyPad) PgDn
    {12, KEY_CTRL | 'R'},                                 // Page Up: Ctrl+R
    {12, KEY_NAV | KEY_VK_PRIOR},                         // Page Up: PgUp
    {12, KEY_KEYPAD | KEY_NAV | KEY_VK_PRIOR},            // Page Up: (KeyPad) PgUp
    {36, KEY_CTRL | 'N'},                                 // Scroll Half Page Down: Ctrl+N
    {36, KEY_KEYPAD | '*'},                               // Scroll Half Page Down: (KeyPad) *
    {35, KEY_CTRL | 'U'},                                 // Scroll Half Page Up: Ctrl+U
    {35, KEY_KEYPAD | '/'},                               // Scroll Half Page Up: (KeyPad) /
    {25, KEY_CTRL | 'Z'},                                 // Scroll Line Down: Ctrl+Z
    {26, KEY_CTRL | 'W'},                                 // Scroll Line Up: Ctrl+W
    {18, KEY_CTRL | KEY_NAV | KEY_VK_HOME},               // Top Of File: Ctrl+Home
    {18, KEY_CTRL | KEY_KEYPAD | KEY_NAV | KEY_VK_HOME},  // Top Of File: Ctrl+(KeyPad) Home
    {21, KEY_CTRL | KEY_NAV | KEY_VK_END},                // Bottom Of File: Ctrl+End
    {21, KEY_CTRL | KEY_KEYPAD | KEY_NAV | KEY_VK_END},   // Bottom Of File: Ctrl+(KeyPad) End
    {124, KEY_CTRL | KEY_NAV | KEY_VK_LEFT},              // Scroll Left: Ctrl+Left
    {123, KEY_CTRL | KEY_NAV | KEY_VK_RIGHT},             // Scroll Right: Ctrl+Right
    {17, KEY_NAV | KEY_VK_HOME},                          // Beginning Of Line: Home
    {17, KEY_CTRL | '['},                                 // Beginning Of Line: Ctrl+[
    {19, KEY_KEYPAD | KEY_NAV | KEY_VK_HOME},             // Top Of Window: (KeyPad) Home
    {20, KEY_NAV | KEY_VK_END},                           // End Of Line: End
    {20, KEY_CTRL | ']'},                                 // End Of Line: Ctrl+]
    {22, KEY_KEYPAD | KEY_NAV | KEY_VK_END},              // Bottom Of Window: (KeyPad) End
    {7, KEY_CTRL | 'E'},                                  // Cursor Up: Ctrl+E
    {7, KEY_NAV | KEY_VK_UP},                             // Cursor Up: Up
    {7, KEY_KEYPAD | KEY_NAV | KEY_VK_UP},                // Cursor Up: (KeyPad) Up
    {8, KEY_CTRL | 'X'},                                  // Cursor Down: Ctrl+X
    {8, KEY_NAV | KEY_VK_DOWN},                           // Cursor Down: Down
    {8, KEY_KEYPAD | KEY_NAV | KEY_VK_DOWN},              // Cursor Down: (KeyPad) Down
    {9, KEY_CTRL | 'S'},                                  // Cursor Left: Ctrl+S
    {9, KEY_NAV | KEY_VK_LEFT},                           // Cursor Left: Left
    {9, KEY_KEYPAD | KEY_NAV | KEY_VK_LEFT},              // Cursor Left: (KeyPad) Left
    {10, KEY_CTRL | 'D'},                                 // Cursor Right: Ctrl+D
    {10, KEY_NAV | KEY_VK_RIGHT},                         // Cursor Right: Right
    {10, KEY_KEYPAD | KEY_NAV | KEY_VK_RIGHT},            // Cursor Right: (KeyPad) Right
    {13, KEY_CTRL | 'A'},                                 // Word Left: Ctrl+A
    {14, KEY_CTRL | 'F'},                                 // Word Right: Ctrl+F
    {107, KEY_CTRL | 'L'},                                // Go Back Toggle: Ctrl+L
    {43, KEY_CTRL | 'B'},                                 // Go Back: Ctrl+B
    {43, KEY_MOUSE | KEY_MOUSE_X1},                       // Go Back: Thumb 1 Click
    {106, KEY_CTRL | 'V'},                                // Go Forward: Ctrl+V
    {106, KEY_MOUSE | KEY_MOUSE_X2},                      // Go Forward: Thumb 2 Click
    {46, KEY_ALT | 'T'},                                  // Go To Next Link: Alt+T
    {46, KEY_ALT | KEY_NAV | KEY_VK_RIGHT},               // Go To Next Link: Alt+Right
    {46, KEY_SHIFT | KeyFn(9)},                           // Go To Next Link: Shift+F9
    {158, KEY_KEYPAD | '-'},                              // Function Up: (KeyPad) -
    {159, KEY_KEYPAD | '+'},                              // Function Down: (KeyPad) +
    {145, KEY_SHIFT | KEY_NAV | KEY_VK_LEFT},             // Select Char Left: Shift+Left
    {146, KEY_SHIFT | KEY_NAV | KEY_VK_RIGHT},            // Select Char Right: Shift+Right
    {313, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_LEFT},  // Select Word Left: Ctrl+Shift+Left
    {314, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_RIGHT}, // Select Word Right: Ctrl+Shift+Right
    {147, KEY_SHIFT | KEY_NAV | KEY_VK_UP},               // Select Line Up: Shift+Up
    {148, KEY_SHIFT | KEY_NAV | KEY_VK_DOWN},             // Select Line Down: Shift+Down
    {131, KEY_CTRL | '-'},                                // Select Block: Ctrl+-
    {131, KEY_SHIFT | KeyFn(3)},                          // Select Block: Shift+F3
    {132, KEY_CTRL | '='},                                // Select Match: Ctrl+=
    {132, KEY_SHIFT | KeyFn(4)},                          // Select Match: Shift+F4
    {161, KEY_ALT | ']'},                                 // Jump To Match: Alt+]
    {38, KEY_CTRL | '9'},                                 // Paren Left: Ctrl+9
    {37, KEY_CTRL | '0'},                                 // Paren Right: Ctrl+0
    {39, KEY_CTRL | KEY_SHIFT | '['},                     // Block Up: Ctrl+Shift+[
    {40, KEY_CTRL | KEY_SHIFT | ']'},                     // Block Down: Ctrl+Shift+]
    {129, KEY_CTRL | '.'},                                // Select Sentence: Ctrl+.
    {129, KEY_SHIFT | KeyFn(7)},                          // Select Sentence: Shift+F7
    {149, KEY_CTRL | KEY_ALT | ']'},                      // End Of Selection: Ctrl+Alt+]
    {160, KEY_CTRL | KEY_ALT | '['},                      // Beginning Of Selection: Ctrl+Alt+[
    {405, KEY_ALT | KEY_NAV | KEY_VK_LEFT},               // Go To Previous Link: Alt+Left
    {253, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_HOME},  // Select To Top Of File: Ctrl+Shift+Home
    {254, KEY_CTRL | KEY_SHIFT | KEY_NAV | KEY_VK_END},   // Select To End Of File: Ctrl+Shift+End
    {27, KEY_ALT | '\b'},                                 // Activate Menu Bar: Alt+BackSpace
    {27, KEY_ALT},                                        // Activate Menu Bar: Alt alone
    {118, KEY_CTRL | KEY_ALT | 'F'},                      // Activate File Menu: Ctrl+Alt+F
    {119, KEY_CTRL | KEY_ALT | 'E'},                      // Activate Edit Menu: Ctrl+Alt+E
    {120, KEY_CTRL | KEY_ALT | 'S'},                      // Activate Search Menu: Ctrl+Alt+S
    {121, KEY_CTRL | KEY_ALT | 'P'},                      // Activate Project Menu: Ctrl+Alt+P
    {122, KEY_CTRL | KEY_ALT | 'W'},                      // Activate Window Menu: Ctrl+Alt+W
    {284, KEY_CTRL | KEY_ALT | 'H'},                      // Activate Help Menu: Ctrl+Alt+H
    {283, KEY_CTRL | KEY_ALT | 'O'},                      // Activate Options Menu: Ctrl+Alt+O
    {343, KEY_CTRL | KEY_ALT | 'V'},                      // Activate View Menu: Ctrl+Alt+V
    {634, KEY_CTRL | KEY_ALT | 'K'},                      // Activate Work Menu: Ctrl+Alt+K
    {88, KEY_ALT | 'Y'},                                  // Redo: Alt+Y
    {309, KEY_CTRL | '\\'},                               // Repeat Typing: Ctrl+backslash
    {56, KEY_ALT | 'N'},                                  // New: Alt+N
    {57, KEY_ALT | 'O'},                                  // Open...: Alt+O
    {58, KEY_ALT | 'W'},                                  // Close: Alt+W
    {117, KEY_ALT | KEY_SHIFT | 'W'},                     // Close All: Alt+Shift+W
    {104, KEY_ALT | 'P'},                                 // Next File...: Alt+P
    {59, KEY_ALT | 'S'},                                  // Save: Alt+S
    {89, KEY_ALT | 'A'},                                  // Save All: Alt+A
    {60, KEY_ALT | KEY_SHIFT | 'S'},                      // Save As...: Alt+Shift+S
    {142, KEY_ALT | KEY_SHIFT | 'O'},                     // Reload File: Alt+Shift+O
    {329, KEY_ALT | 'L'},                                 // Activate Symbol Window: Alt+L
    {100, KEY_ALT | 'R'},                                 // Renumber...: Alt+R
    {62, KEY_ALT | 'F'},                                  // Search...: Alt+F
    {125, KEY_ALT | KEY_SHIFT | 'F'},                     // Search Files...: Alt+Shift+F
    {295, KEY_CTRL | '/'},                                // Lookup References...: Ctrl+/
    {347, KEY_CTRL | '\''},                               // Smart Rename...: Ctrl+'
    {63, KEY_ALT | 'H'},                                  // Replace...: Alt+H
    {126, KEY_ALT | KEY_SHIFT | 'H'},                     // Replace Files...: Alt+Shift+H
    {66, KEY_ALT | 'G'},                                  // Go To Line...: Alt+G
    {66, KeyFn(5)},                                       // Go To Line...: F5
    {84, KEY_ALT | KEY_NAV | KEY_VK_UP},                  // Jump To Link: Alt+Up
    {24, KEY_ALT | 'Q'},                                  // Exit: Alt+Q
    {24, KEY_ALT | KeyFn(4)},                             // Exit: Alt+F4
    {86, KEY_ALT | '='},                                  // Jump To Definition: Alt+=
    {86,
     KEY_CTRL | KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_SELECT}, // Jump To Definition: Ctrl+L Click (select)
    {86, KEY_CTRL | KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_DOUBLE}, // Jump To Definition: Ctrl+Double L Click
    {441, KEY_ALT | '0'},                                           // Jump To Base Type: Alt+0
    {23, KEY_ALT | KEY_NAV | KEY_VK_INSERT},                        // Toggle Insert Mode: Alt+Ins
    {108, KEY_CTRL | 'M'},                                          // Bookmark...: Ctrl+M
    {85, KEY_ALT | 'M'},                                            // Selection History...: Alt+M
    {82, KEY_ALT | '/'},                                            // Symbol Info...: Alt+/
    {82, KEY_CTRL | KEY_MOUSE | KEY_MOUSE_RIGHT | KEY_MOUSE_SELECT}, // Symbol Info...: Ctrl+R Click (select)
    {411, KEY_CTRL | 'Q'},                                           // Complete Symbol: Ctrl+Q
    {75, KEY_ALT | KEY_SHIFT | 'P'},                                 // Open Project...: Alt+Shift+P
    {78, KEY_ALT | KEY_SHIFT | 'A'},                                 // Add File...: Alt+Shift+A
    {79, KEY_ALT | KEY_SHIFT | 'R'},                                 // Remove File...: Alt+Shift+R
    {116, KEY_ALT | KEY_SHIFT | 'U'},                                // Synchronize Files...: Alt+Shift+U
    {87, KEY_ALT | 'U'},                                             // Undo: Alt+U
    {90, KEY_ALT | 'X'},                                             // Cut: Alt+X
    {91, KEY_ALT | 'C'},                                             // Copy: Alt+C
    {91, KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_RIGHT},              // Copy: L+R Click
    {102, KEY_CTRL | 'K'},                                           // Copy Line: Ctrl+K
    {255, KEY_CTRL | KEY_SHIFT | 'K'},                               // Copy Line Right: Ctrl+Shift+K
    {92, KEY_ALT | 'V'},                                             // Paste: Alt+V
    {92, KEY_NAV | KEY_VK_INSERT},                                   // Paste: Ins
    {92, KEY_KEYPAD | KEY_NAV | KEY_VK_INSERT},                      // Paste: (KeyPad) Ins
    {101, KEY_CTRL | 'P'},                                           // Paste Line: Ctrl+P
    {16, KEY_CTRL | 'Y'},                                            // Cut Line: Ctrl+Y
    {30, KEY_CTRL | 'H'},                                            // Cut Line Right: Ctrl+H
    {28, KEY_CTRL | 'T'},                                            // Cut Word: Ctrl+T
    {94, KEY_CTRL | 'I'},                                            // Insert Line: Ctrl+I
    {95, KEY_CTRL | 'O'},                                            // Insert Line Before Next: Ctrl+O
    {15, KEY_CTRL | 'G'},                                            // Delete Character: Ctrl+G
    {15, KEY_NAV | KEY_VK_DELETE},                                   // Delete Character: Del
    {15, KEY_KEYPAD | KEY_NAV | KEY_VK_DELETE},                      // Delete Character: (KeyPad) Del
    {96, KEY_CTRL | 'J'},                                            // Join Lines: Ctrl+J
    {137, KEY_CTRL | '\r'},                                          // Insert New Line: Ctrl+Enter
    {103, KEY_CTRL | KEY_NAV | KEY_VK_DELETE},                       // Copy To Clip...: Ctrl+Del
    {53, KEY_CTRL | KEY_NAV | KEY_VK_INSERT},                        // Paste From Clip...: Ctrl+Ins
    {417, KEY_CTRL | '\t'},                                          // Last Window: Ctrl+Tab
    {417, KEY_CTRL | KEY_SHIFT | '\t'},                              // Last Window: Ctrl+Shift+Tab
    {33, KeyFn(1)},                                                  // Help...: F1
    {152, KeyFn(2)},                                                 // Select Next Window: F2
    {152, KEY_ALT | KeyFn(2)},                                       // Select Next Window: Alt+F2
    {152, KEY_CTRL | KeyFn(6)},                                      // Select Next Window: Ctrl+F6
    {152, KEY_CTRL | ' '},                                           // Select Next Window: Ctrl+Space
    {150, KeyFn(3)},                                                 // Search Backward: F3
    {42, KeyFn(4)},                                                  // Search Forward: F4
    {41, KeyFn(6)},                                                  // Tile Two Windows: F6
    {61, KeyFn(7)},                                                  // Browse Project Symbols...: F7
    {105, KeyFn(8)},                                                 // Browse Local File Symbols...: F8
    {97, KeyFn(9)},                                                  // Indent Left: F9
    {98, KeyFn(10)},                                                 // Indent Right: F10
    {427, KeyFn(12)},                                                // Incremental Search...: F12
    {628, KEY_ALT | KeyFn(12)},                                      // Draft View: Alt+F12
    {110, KEY_ALT | KeyFn(5)},                                       // New Window: Alt+F5
    {153, KEY_ALT | KeyFn(6)},                                       // Close Window: Alt+F6
    {153, KEY_CTRL | KeyFn(4)},                                      // Close Window: Ctrl+F4
    {153, KEY_CTRL | KeyFn(4)},                                      // Close Window: Ctrl+F4
    {155, KEY_ALT | KeyFn(10)},                                      // Zoom Window: Alt+F10
    {155, KEY_ALT | ' '},                                            // Zoom Window: Alt+Space
    {44, KEY_SHIFT | KeyFn(1)},                                      // Select All: Shift+F1
    {133, KEY_SHIFT | KeyFn(2)},                                     // Select Function or Symbol: Shift+F2
    {128, KEY_SHIFT | KeyFn(5)},                                     // Select Word: Shift+F5
    {130, KEY_SHIFT | KeyFn(6)},                                     // Select Line: Shift+F6
    {361, KEY_SHIFT | KEY_NAV | KEY_VK_NEXT},                        // Select Page Down: Shift+PgDn
    {361, KEY_SHIFT | KEY_KEYPAD | KEY_NAV | KEY_VK_NEXT},           // Select Page Down: Shift+(KeyPad) PgDn
    {362, KEY_SHIFT | KEY_NAV | KEY_VK_PRIOR},                       // Select Page Up: Shift+PgUp
    {362, KEY_SHIFT | KEY_KEYPAD | KEY_NAV | KEY_VK_PRIOR},          // Select Page Up: Shift+(KeyPad) PgUp
    {430, KEY_SHIFT | KeyFn(8)},                                     // Highlight Word: Shift+F8
    {54, KEY_SHIFT | KeyFn(10)},                                     // Show File Status: Shift+F10
    {310, KEY_CTRL | KeyFn(1)},                                      // Start Recording: Ctrl+F1
    {311, KEY_CTRL | KeyFn(2)},                                      // Stop Recording: Ctrl+F2
    {312, KEY_CTRL | KeyFn(3)},                                      // Play Recording: Ctrl+F3
    {109, KEY_CTRL | KEY_ALT | ' '},                                 // Redraw Screen: Ctrl+Alt+Space
    {134, KEY_SHIFT | KEY_MOUSE | KEY_MOUSE_LEFT},                   // Select To: Shift+L Click
    {151, KEY_ALT | KEY_MOUSE | KEY_MOUSE_LEFT},                     // Make Column Selection: Alt+L Click
    {4, '\b'},                                                       // Backspace: BackSpace
    {4, KEY_SHIFT | '\b'},                                           // Backspace: Shift+BackSpace
    {3, '\r'},                                                       // Enter: Enter
    {3, '\r'},                                                       // Enter: Enter
    {3, KEY_KEYPAD | '\r'},                                          // Enter: (KeyPad) Enter
    {2, 0x1B},                                                       // unnamed command 2: Esc
    {5, '\t'},                                                       // Tab: Tab
    {488, KEY_CTRL | KEY_ALT | '\t'},                                // Simple Tab: Ctrl+Alt+Tab
    {6, KEY_SHIFT | '\t'},                                           // Back Tab: Shift+Tab
    {31, KEY_MOUSE | KEY_MOUSE_LEFT},                                // unnamed command 31: L Click
    {31, KEY_MOUSE | KEY_MOUSE_LEFT | KEY_MOUSE_DOUBLE},             // unnamed command 31: Double L Click
};

static_assert(sizeof keyPresetStandard / sizeof *keyPresetStandard == 191, "the standard keys");
static_assert(sizeof keyPresetClassic / sizeof *keyPresetClassic == 190, "Veltrix Classic Keys");

// The keypad operators insert their character through these commands while no binding takes them.
struct KeyPadRow {
    int32_t key;
    int32_t command;
};
static const KeyPadRow keyPadCommands[] = {
    {KEY_KEYPAD | '/', 622},
    {KEY_KEYPAD | '*', 623},
    {KEY_KEYPAD | '-', 624},
    {KEY_KEYPAD | '+', 625},
};

static KeyMap keyMap;

static uint32_t KeyMapForm(KeyCode key) {
    if (key & KEY_SHIFT) key |= KEY_SHIFT;
    return (uint32_t)KeyUpcase(key);
}

static KeyBinding *KeyMapBindings(const KeyMap *map) {
    return map->bindings ? (KeyBinding *)map->bindings->ptr : nullptr;
}

const KeyMap *KeyMapLive() {
    return &keyMap;
}

int32_t KeyMapCount() {
    return (int32_t)keyMap.count;
}

bool KeyMapGet(int32_t position, KeyBinding *binding) {
    if (position < 0 || (uint32_t)position >= keyMap.count) return false;
    *binding = KeyMapBindings(&keyMap)[position];
    return true;
}

int32_t KeyMapFind(KeyCode key) {
    uint32_t code = KeyMapForm(key);
    const KeyBinding *bindings = KeyMapBindings(&keyMap);
    for (uint32_t i = 0; i < keyMap.count; i++)
        if (bindings[i].key == code) return (int32_t)i;
    return -1;
}

// Printable characters are typed, never looked up: binding one cannot change typing.
int32_t KeyToCommand(KeyCode key) {
    if (key >= ' ' && key <= '~') return 0;
    int32_t position = KeyMapFind(key);
    if (position >= 0) return (int32_t)KeyMapBindings(&keyMap)[position].command;
    for (const KeyPadRow &pad : keyPadCommands)
        if (KeyMapForm(key) == (uint32_t)pad.key) return pad.command;
    return 0;
}

bool KeyMapNextForCommand(const KeyMap *map, int32_t command, int32_t *position, KeyBinding *binding) {
    const KeyBinding *bindings = KeyMapBindings(map);
    for (uint32_t i = *position < 0 ? 0 : (uint32_t)*position + 1; i < map->count; i++) {
        if (bindings[i].command != (uint32_t)command) continue;
        *binding = bindings[i];
        *position = (int32_t)i;
        return true;
    }
    return false;
}

KeyCode KeyForCommand(int32_t command) {
    int32_t position = -1;
    KeyBinding binding;
    return KeyMapNextForCommand(&keyMap, command, &position, &binding) ? (KeyCode)binding.key : 0;
}

bool KeyMapAdd(int32_t command, KeyCode key) {
    uint32_t bytes = (keyMap.count + 1) * (uint32_t)sizeof(KeyBinding);
    if (!keyMap.bindings) keyMap.bindings = HAlloc(bytes);
    if (!keyMap.bindings || !HRealloc(keyMap.bindings, bytes, 0)) return false;
    KeyBinding *bindings = KeyMapBindings(&keyMap);
    memmove(bindings + 1, bindings, keyMap.count * sizeof(KeyBinding));
    bindings[0] = {(uint32_t)command, KeyMapForm(key)};
    keyMap.count++;
    CmdMenuInvalidate(command);
    return true;
}

int32_t KeyMapDelete(int32_t position) {
    if (position < 0 || (uint32_t)position >= keyMap.count) return (int32_t)keyMap.count;
    KeyBinding *bindings = KeyMapBindings(&keyMap);
    int32_t command = (int32_t)bindings[position].command;
    keyMap.count--;
    memmove(bindings + position, bindings + position + 1, (keyMap.count - position) * sizeof(KeyBinding));
    CmdMenuInvalidate(command);
    return (int32_t)keyMap.count;
}

static bool KeyMapFromTable(const KeyBinding *table, uint32_t count, KeyMap *out) {
    Handle *bindings = HAllocCopy(count * (uint32_t)sizeof(KeyBinding), table);
    if (!bindings) return false;
    KeyBinding *stored = (KeyBinding *)bindings->ptr;
    for (uint32_t i = 0; i < count; i++) stored[i].key = KeyMapForm((KeyCode)stored[i].key);
    *out = {count, bindings};
    return true;
}

bool KeyMapReset(int preset) {
    KeyMap fresh;
    bool classic = preset == 2;
    const KeyBinding *table = classic ? keyPresetClassic : keyPresetStandard;
    uint32_t count = classic ? sizeof keyPresetClassic / sizeof *keyPresetClassic
                             : sizeof keyPresetStandard / sizeof *keyPresetStandard;
    if (!KeyMapFromTable(table, count, &fresh)) return false;
    KeyMapInstall(&fresh);
    return true;
}

bool KeyMapCopy(KeyMap *out) {
    *out = {};
    if (!keyMap.bindings) return true;
    Handle *copy = HDup(keyMap.bindings);
    if (!copy) return false;
    *out = {keyMap.count, copy};
    return true;
}

void KeyMapInstall(KeyMap *map) {
    KeyMapFree(&keyMap);
    keyMap = *map;
    *map = {};
}

void KeyMapFree(KeyMap *map) {
    HFree(map->bindings);
    *map = {};
}

bool KeyMapRightClickBound() {
    const KeyBinding *bindings = KeyMapBindings(&keyMap);
    for (uint32_t i = 0; i < keyMap.count; i++) {
        uint32_t key = bindings[i].key;
        if (key == (KEY_MOUSE | KEY_MOUSE_RIGHT) || key == (KEY_MOUSE | KEY_MOUSE_SELECT | KEY_MOUSE_RIGHT))
            return true;
    }
    return false;
}

// ---- Key names

template <size_t N>
static const char *KeyNameIn(const KeyNameRow (&rows)[N], int32_t code) {
    for (const KeyNameRow &row : rows)
        if (row.code == code) return row.name;
    return nullptr;
}

static void KeyMouseName(KeyCode key, char *text, int max) {
    if (key & KEY_MOUSE_DOUBLE) StrAppendMax("Double ", text, max);
    const char *button = KeyNameIn(keyMouseNames, key & KEY_MOUSE_BUTTON_BITS);
    StrAppendMax(button ? button : "Mouse Click", text, max);
    if (key & KEY_MOUSE_SELECT) StrAppendMax(" (select)", text, max);
}

// The key's own name after its prefixes: a code that no table names keeps only its prefixes.
static void KeyBaseName(KeyCode key, char *text, int max) {
    int32_t low = key & 0xFF;
    if (key & KEY_MOUSE) {
        KeyMouseName(key, text, max);
    } else if (key & KEY_FUNCTION) {
        char name[8];
        snprintf(name, sizeof name, "F%d", low - KEY_VK_F1 + 1);
        if (low >= KEY_VK_F1 && low <= KEY_VK_F16) StrAppendMax(name, text, max);
    } else if (key & KEY_NAV) {
        if (const char *name = KeyNameIn(keyNavNames, low)) StrAppendMax(name, text, max);
    } else if (const char *name = KeyNameIn(keyPlainNames, low)) {
        StrAppendMax(name, text, max);
    } else if (low != 0) {
        const char character[2] = {(char)low, 0};
        StrAppendMax(character, text, max);
    }
}

void KeyCodeName(KeyCode key, char *text, int size) {
    if (size <= 0) return;
    int max = size - 1;
    text[0] = 0;
    if (key & KEY_CTRL) StrAppendMax("Ctrl+", text, max);
    if (key & KEY_ALT) StrAppendMax("Alt+", text, max);
    if (key & KEY_SHIFT) StrAppendMax("Shift+", text, max);
    if (key & KEY_KEYPAD) StrAppendMax("(KeyPad) ", text, max);
    KeyBaseName(key, text, max);
}

Stb *KeyNamesOfCommand(int32_t command, bool full) {
    Stb *names = StbCreate(0, 0);
    if (!names || command == 0) return names;
    KeyBinding binding;
    for (int32_t position = -1; KeyMapNextForCommand(&keyMap, command, &position, &binding);) {
        char name[KEY_NAME_MAX];
        KeyCodeName((KeyCode)binding.key, name, sizeof name);
        if (!StbAppendSz(names, name, position)) {
            StbFree(&names);
            return nullptr;
        }
        if (!full) break;
    }
    return names;
}

// ---- The configuration section

static bool KeyMapIsUserCommand(uint32_t command) {
    return command >= (uint32_t)CMD_USER_FIRST && command <= (uint32_t)CMD_USER_LAST;
}

bool KeyMapWrite(int file) {
    unsigned char count[4];
    PlexVarPutLE(count, (int32_t)keyMap.count);
    const KeyBinding *bindings = KeyMapBindings(&keyMap);
    if (!FileWriteExact(file, count, 4)) return false;
    if (keyMap.count && !FileWriteExact(file, bindings, (int32_t)(keyMap.count * sizeof(KeyBinding))))
        return false;
    for (uint32_t i = 0; i < keyMap.count; i++) {
        if (!KeyMapIsUserCommand(bindings[i].command)) continue;
        UserCommand entry;
        UserCommandGet((int32_t)bindings[i].command, &entry);
        unsigned char name[256];
        PstrFromSz(entry.name, name);
        if (!FileWriteExact(file, name, name[0] + 1)) return false;
    }
    return true;
}

// A section read whole: its bindings and the names of its user commands, back to back as stored.
struct KeyMapSection {
    KeyMap map;
    unsigned char *names;
};

static void KeyMapSectionFree(KeyMapSection *section) {
    KeyMapFree(&section->map);
    MemFree(section->names);
}

// Reads the names behind the bindings; the section must end where the last name ends.
static bool KeyMapReadNames(int file, KeyMapSection *section, uint32_t left) {
    // Each binding has at most one name of at most 256 bytes: more is refused before it is read.
    if (left > (uint64_t)section->map.count * 256) return false;
    section->names = (unsigned char *)MemAlloc(left ? left : 1);
    if (!section->names) return false;
    const KeyBinding *bindings = KeyMapBindings(&section->map);
    uint32_t used = 0;
    for (uint32_t i = 0; i < section->map.count; i++) {
        if (!KeyMapIsUserCommand(bindings[i].command)) continue;
        unsigned char *name = section->names + used;
        if (used >= left || !FileReadExact(file, name, 1)) return false;
        if (name[0] > left - used - 1 || !FileReadExact(file, name + 1, name[0])) return false;
        used += name[0] + 1u;
    }
    return used == left;
}

static bool KeyMapReadSection(int file, uint32_t size, KeyMapSection *section) {
    unsigned char count[4];
    if (size < 4 || size > PlexVarFileLeft(file) || !FileReadExact(file, count, 4)) return false;
    section->map.count = (uint32_t)PlexVarGetLE(count);
    uint64_t bytes = (uint64_t)section->map.count * sizeof(KeyBinding);
    if (bytes > size - 4 || bytes > INT32_MAX) return false;
    section->map.bindings = HAlloc((uint32_t)bytes);
    if (!section->map.bindings || !FileReadExact(file, section->map.bindings->ptr, (int32_t)bytes))
        return false;
    return KeyMapReadNames(file, section, size - 4 - (uint32_t)bytes);
}

// Keeps the bindings that name a command: user commands are found again by name, and the indexes that no
// command of this program or a later one can have are dropped.
static void KeyMapKeepCommands(KeyMapSection *section) {
    KeyBinding *bindings = KeyMapBindings(&section->map);
    const unsigned char *name = section->names;
    uint32_t kept = 0;
    for (uint32_t i = 0; i < section->map.count; i++) {
        KeyBinding binding = bindings[i];
        if (KeyMapIsUserCommand(binding.command)) {
            char text[256];
            memcpy(text, name + 1, name[0]);
            text[name[0]] = 0;
            name += name[0] + 1;
            binding.command = (uint32_t)GetUserCommandId(text);
            if (binding.command == 0) continue;
        } else if (binding.command >= (uint32_t)CMD_USER_FIRST) {
            continue;
        }
        binding.key = KeyMapForm((KeyCode)binding.key);
        bindings[kept++] = binding;
    }
    section->map.count = kept;
}

bool KeyMapRead(int file, uint32_t size, KeyMap *out) {
    *out = {};
    KeyMapSection section = {};
    if (!KeyMapReadSection(file, size, &section)) {
        KeyMapSectionFree(&section);
        return false;
    }
    KeyMapKeepCommands(&section);
    *out = section.map;
    section.map = {};
    KeyMapSectionFree(&section);
    return true;
}
