// keycode: the layout of a key code and the tests on it (prefix Key). Every keystroke and click that can run
// a command becomes one key code; the key map binds them and shows their names. Portable: the Windows-only
// key input module (base/keyinp.h) makes the codes from messages.
#pragma once

#include <cstdint>

// A key code: 32 bits of which the low 16 are used; 0 means no key. The low byte is a character, a virtual
// key (with KEY_FUNCTION or KEY_NAV) or mouse-button bits (with KEY_MOUSE).
typedef int32_t KeyCode;

enum : int32_t {
    KEY_SHIFT = 0x300, // both bits together
    KEY_CTRL = 0x400,
    KEY_ALT = 0x800,
    KEY_FUNCTION = 0x1000, // F1..F16, the low byte their virtual key
    KEY_MOUSE = 0x2000,
    KEY_KEYPAD = 0x4000, // keypad operator keys: + - * / and the separator
    KEY_NAV = 0x8000,    // editing and navigation keys, the low byte their virtual key
    KEY_MODIFIERS = KEY_SHIFT | KEY_CTRL | KEY_ALT,
    // Mouse buttons in the low byte of a mouse code.
    KEY_MOUSE_RIGHT = 0x01,
    KEY_MOUSE_LEFT = 0x02,
    KEY_MOUSE_MIDDLE = 0x04,
    KEY_MOUSE_X1 = 0x08,
    KEY_MOUSE_X2 = 0x10,
    KEY_MOUSE_DOUBLE = 0x40,
    KEY_MOUSE_SELECT = 0x80, // the click first makes a selection, then runs its command
};

bool KeyIsPrintable(KeyCode key); // no modifier other than Shift, not a named or mouse key, and 32..126
KeyCode KeyUpcase(KeyCode key);
