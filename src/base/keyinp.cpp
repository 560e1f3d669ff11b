// keyinp: key codes and input polling (prefixes Key, Mouse). KeyFromMsg turns a key or mouse message into one
// key code: the character or virtual key in the low byte, Shift 0x300, Ctrl 0x400, Alt 0x800, function keys
// 0x1000, mouse buttons 0x2000, keypad operators 0x4000, editing and navigation keys 0x8000. It keeps the
// lParam of the last Alt and Ctrl key-downs, so that AltGr (right Alt reported with a left Ctrl) is not taken
// for Ctrl+Alt.
#include "base/keyinp.h"

#include "base/monitor.h"
#include "base/seam.h"
#include "base/wnd.h"

#include <cctype>

enum : LPARAM {
    KEY_LPARAM_EXTENDED = 1 << 24,
    KEY_LPARAM_ALT = 1 << 29,
};

struct KeyCharRow {
    uint8_t virtualKey;
    char character;
};

static const KeyCharRow keyPadRows[] = {
    {VK_ADD, '+'},     {VK_SUBTRACT, '-'},  {VK_MULTIPLY, '*'}, {VK_DIVIDE, '/'},
    {VK_DECIMAL, '.'}, {VK_SEPARATOR, '5'}, {VK_NUMPAD0, '0'},  {VK_NUMPAD1, '1'},
    {VK_NUMPAD2, '2'}, {VK_NUMPAD3, '3'},   {VK_NUMPAD4, '4'},  {VK_NUMPAD5, '5'},
    {VK_NUMPAD6, '6'}, {VK_NUMPAD7, '7'},   {VK_NUMPAD8, '8'},  {VK_NUMPAD9, '9'},
};

// With Ctrl held no character message comes, so the punctuation keys are mapped here; a character of 0
// means the key gives no code.
static const KeyCharRow keyCtrlRows[] = {
    {VK_OEM_1, ';'},  {VK_OEM_PLUS, '='}, {VK_OEM_COMMA, ','}, {VK_OEM_MINUS, '-'}, {VK_OEM_PERIOD, '.'},
    {VK_OEM_2, '/'},  {VK_OEM_3, '`'},    {VK_OEM_4, '['},     {VK_OEM_5, '\\'},    {VK_OEM_6, ']'},
    {VK_OEM_7, '\''}, {VK_SCROLL, 0},     {VK_OEM_8, 0},       {VK_OEM_102, 0},
};

static const uint8_t keyNavKeys[] = {VK_INSERT, VK_DELETE, VK_RIGHT, VK_LEFT, VK_UP,  VK_DOWN,
                                     VK_NEXT,   VK_PRIOR,  VK_HOME,  VK_END,  VK_HELP};

static LPARAM keyLastAltDown;
static LPARAM keyLastCtrlDown;
static KeyAsyncStateFn keyAsyncState;
static KeyCanceledHook keyCanceled;

static void KeyResetSeams() {
    keyAsyncState = nullptr;
    keyCanceled = nullptr;
}

void KeySetTestAsyncState(KeyAsyncStateFn fn) {
    keyAsyncState = fn;
    SeamRegisterReset(KeyResetSeams);
}

static SHORT KeyAsync(int virtualKey) {
    return keyAsyncState ? keyAsyncState(virtualKey) : GetAsyncKeyState(virtualKey);
}

// Down as of the message being handled: the thread's key state, not the asynchronous one.
static int KeyIsDown(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

static const KeyCharRow *KeyFindRow(const KeyCharRow *rows, size_t count, int virtualKey) {
    for (size_t i = 0; i < count; i++)
        if (rows[i].virtualKey == virtualKey) return &rows[i];
    return nullptr;
}

static int KeyIsNav(int key) {
    for (uint8_t nav : keyNavKeys)
        if (nav == key) return 1;
    return 0;
}

static int KeyIsKeypadOperator(int virtualKey) {
    return virtualKey == VK_ADD || virtualKey == VK_SUBTRACT || virtualKey == VK_MULTIPLY ||
           virtualKey == VK_DIVIDE || virtualKey == VK_SEPARATOR;
}

bool KeyIsKeyMsg(UINT message) {
    return message == WM_KEYDOWN || message == WM_CHAR || message == WM_SYSKEYDOWN;
}

bool KeyIsMouseMsg(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK: return 1;
    }
    return 0;
}

KeyCode KeyFromMouseMsg(UINT message, WPARAM wParam) {
    UINT mk = LOWORD(wParam);
    KeyCode code = KEY_MOUSE;
    if (mk & MK_CONTROL) code |= KEY_CTRL;
    if (mk & MK_SHIFT) code |= KEY_SHIFT;
    if (KeyIsDown(VK_MENU)) code |= KEY_ALT;
    int held = (mk & MK_LBUTTON ? KEY_MOUSE_LEFT : 0) | (mk & MK_RBUTTON ? KEY_MOUSE_RIGHT : 0) |
               (mk & MK_MBUTTON ? KEY_MOUSE_MIDDLE : 0) | (mk & MK_XBUTTON1 ? KEY_MOUSE_X1 : 0) |
               (mk & MK_XBUTTON2 ? KEY_MOUSE_X2 : 0);
    switch (message) {
    case WM_LBUTTONDOWN: return code | KEY_MOUSE_LEFT | held;
    case WM_RBUTTONDOWN: return code | KEY_MOUSE_RIGHT | held;
    case WM_MBUTTONDOWN: return code | KEY_MOUSE_MIDDLE | held;
    case WM_LBUTTONDBLCLK: return code | KEY_MOUSE_DOUBLE | KEY_MOUSE_LEFT;
    case WM_RBUTTONDBLCLK: return code | KEY_MOUSE_DOUBLE | KEY_MOUSE_RIGHT;
    case WM_MBUTTONDBLCLK: return code | KEY_MOUSE_DOUBLE | KEY_MOUSE_MIDDLE;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK: {
        int extra = HIWORD(wParam) == XBUTTON2 ? KEY_MOUSE_X2 : KEY_MOUSE_X1;
        return code | extra | (held & (KEY_MOUSE_LEFT | KEY_MOUSE_RIGHT | KEY_MOUSE_MIDDLE));
    }
    }
    return 0;
}

// The right Alt of some layouts arrives as a left Ctrl plus a right Alt; it types characters and is not
// reported as Ctrl+Alt.
static int KeyIsAltGr() {
    return (keyLastAltDown & KEY_LPARAM_EXTENDED) && !(keyLastCtrlDown & KEY_LPARAM_EXTENDED) &&
           KeyIsDown(VK_MENU) && KeyIsDown(VK_CONTROL);
}

// The modifiers of a key-down or character message.
static KeyCode KeyModifierFlags(const MSG *msg, int altGr) {
    KeyCode flags = 0;
    if (!altGr && (msg->lParam & KEY_LPARAM_ALT)) flags |= KEY_ALT;
    if (!altGr && KeyIsDown(VK_CONTROL)) flags |= KEY_CTRL;
    if (KeyIsDown(VK_SHIFT)) flags |= KEY_SHIFT;
    return flags;
}

// Flags and replacement character of a key that is neither a letter nor a digit. Returns 0 for a keypad digit
// typed with Alt alone, which the system composes into a character itself.
static int KeyClassify(int virtualKey, KeyCode *flags, int *key) {
    if (virtualKey >= VK_F1 && virtualKey <= VK_F16) {
        *flags |= KEY_FUNCTION;
        return 1;
    }
    int markedDecimal = 0;
    const KeyCharRow *pad = KeyFindRow(keyPadRows, sizeof keyPadRows / sizeof *keyPadRows, virtualKey);
    if (pad) {
        if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9 && (*flags & KEY_MODIFIERS) == KEY_ALT) {
            *flags = 0;
            return 0;
        }
        if (KeyIsKeypadOperator(virtualKey)) *flags |= KEY_KEYPAD;
        // '.' is the code of VK_DELETE: the decimal key must not turn into Delete.
        markedDecimal = virtualKey == VK_DECIMAL && (GetKeyState(VK_NUMLOCK) & 1);
        *key = (uint8_t)pad->character;
    }
    if (!(*flags & (KEY_FUNCTION | KEY_KEYPAD)) && !markedDecimal && KeyIsNav(*key)) *flags |= KEY_NAV;
    return 1;
}

// Alt+Tab, Alt+Esc and Ctrl+Esc belong to the system's task switching.
static int KeyIsSystemSwitch(int virtualKey, KeyCode flags) {
    KeyCode modifiers = flags & KEY_MODIFIERS;
    return (modifiers == KEY_ALT && (virtualKey == VK_TAB || virtualKey == VK_ESCAPE)) ||
           (modifiers == KEY_CTRL && virtualKey == VK_ESCAPE);
}

// The character that the system makes of the key, taken from the queue; 0 when none came.
static int KeyTakeCharacter(MSG *msg) {
    MSG ch;
    TranslateMessage(msg);
    if (PeekMessageA(&ch, msg->hwnd, WM_CHAR, WM_CHAR, PM_REMOVE) ||
        PeekMessageA(&ch, msg->hwnd, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE))
        return (uint8_t)ch.wParam;
    return -1;
}

static void KeyRememberModifierDown(const MSG *msg) {
    if (msg->wParam == VK_MENU) keyLastAltDown = msg->lParam;
    if (msg->wParam == VK_CONTROL) keyLastCtrlDown = msg->lParam;
}

static int KeyIsBareModifier(WPARAM virtualKey) {
    return virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU ||
           virtualKey == VK_NUMLOCK;
}

static KeyCode KeyFromKeyDown(MSG *msg) {
    KeyRememberModifierDown(msg);
    if (KeyIsBareModifier(msg->wParam)) return 0;
    int virtualKey = (int)msg->wParam;
    int key = virtualKey;
    KeyCode flags = KeyModifierFlags(msg, KeyIsAltGr());
    int letterOrDigit = (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
    int composed = !letterOrDigit && !KeyClassify(virtualKey, &flags, &key);
    if (!composed) {
        if (KeyIsSystemSwitch(virtualKey, flags)) {
            WndDefaultProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
            return 0;
        }
        msg->lParam &= ~KEY_LPARAM_ALT;
    }
    if (!(flags & KEY_CTRL)) {
        int ch = KeyTakeCharacter(msg);
        if (ch >= 0)
            key = ch;
        else if (!flags)
            return 0;
    } else {
        const KeyCharRow *row = KeyFindRow(keyCtrlRows, sizeof keyCtrlRows / sizeof *keyCtrlRows, key);
        if (row) key = (uint8_t)row->character;
    }
    // A key mapped to character 0 (Ctrl with Scroll Lock) is no key, rather than a bare Ctrl code that the
    // key map could bind.
    if (key == 255 || key == 0) return 0;
    if (flags == KEY_SHIFT && isalnum(key)) flags = 0; // the character carries its case
    if (flags & KEY_ALT) msg->lParam |= KEY_LPARAM_ALT;
    return key | flags;
}

KeyCode KeyFromMsg(MSG *msg) {
    if (KeyIsMouseMsg(msg->message)) return KeyFromMouseMsg(msg->message, msg->wParam);
    if (msg->message == WM_SYSKEYUP && msg->wParam == VK_MENU) {
        WndDefaultProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
        return 0;
    }
    if (!KeyIsKeyMsg(msg->message) || msg->wParam == 255) return 0;
    if (msg->message != WM_CHAR) return KeyFromKeyDown(msg);
    int altGr = KeyIsAltGr();
    return (KeyCode)(msg->wParam & 0xFF) | KeyModifierFlags(msg, altGr);
}

KeyCode KeyFromMsgParts(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return KeyFromMsg(&msg);
}

static int KeyPressedNow(int virtualKey) {
    return (KeyAsync(virtualKey) & 0x8001) == 0x8001;
}

static int KeyAsyncDown(int virtualKey) {
    return (KeyAsync(virtualKey) & 0x8000) != 0;
}

void KeySetCanceledHook(KeyCanceledHook hook) {
    keyCanceled = hook;
    SeamRegisterReset(KeyResetSeams);
}

static void KeyCanceled() {
    if (keyCanceled) keyCanceled();
}

int KeyCheckAbort() {
    if (KeyPressedNow(VK_CANCEL)) {
        KeyCanceled();
        return 1;
    }
    if (!KeyPressedNow(VK_ESCAPE)) return 0;
    if (KeyAsyncDown(VK_MENU) || KeyAsyncDown(VK_CONTROL) || KeyAsyncDown(VK_SHIFT)) return 0;
    KeyCanceled();
    // The Esc must not act a second time once the interrupted work returns to the main loop.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
    PeekMessageA(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
    return 1;
}

void KeyClearAbort() {
    KeyAsync(VK_CANCEL);
    KeyAsync(VK_ESCAPE);
}

int MouseButtonsDown(int flags) {
    int swapped = SysGetMetrics(SM_SWAPBUTTON) != 0;
    int primary = swapped ? VK_RBUTTON : VK_LBUTTON;
    int secondary = swapped ? VK_LBUTTON : VK_RBUTTON;
    if (flags & 1) return KeyAsyncDown(primary);
    if (flags & 2) return KeyAsyncDown(primary) || KeyAsyncDown(secondary);
    return 0;
}

void MouseClientPos(HWND window, POINT *point) {
    GetCursorPos(point);
    ScreenToClient(window, point);
}
