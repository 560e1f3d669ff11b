// keycode: tests on key codes (prefix Key).
#include "base/keycode.h"

#include <cctype>

// Ctrl, Alt, function, mouse, keypad and navigation bits all mark a code that is no typed character; a mouse
// code's low byte is button bits (a left double click is 0x42, which is no 'B').
bool KeyIsPrintable(KeyCode key) {
    int ch = key & 0xFF;
    return !(key & 0xFC00) && ch >= 32 && ch <= 126;
}

KeyCode KeyUpcase(KeyCode key) {
    if (key & (KEY_FUNCTION | KEY_NAV)) return key;
    return (key & ~0xFF) | toupper(key & 0xFF);
}
