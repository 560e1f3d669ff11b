// toolbar: toolbars on the common controls' "ToolbarWindow32" and their tooltip texts (prefixes Toolbar and
// TipNeedText). A toolbar is made from the caller's static button list: the first bitmap gives the button
// size, every button's bitmap goes into a masked image list (magenta is transparent), and the record keeps
// the bitmaps until the window goes. A subclass frees the record at WM_DESTROY and notes a resize made with a
// mouse button held (the user dragging a rebar band) as a configuration change.
#include "ui/toolbar.h"

#include "base/erc.h"
#include "base/keyinp.h"
#include "base/seam.h"
#include "base/str.h"
#include "base/sysprobe.h"
#include "base/wnd.h"
#include "ui/tip.h"

#include <cstring>

const char ercToolbarCreate[] = "Unable to create toolbar";

static const char toolbarProp[] = "htb";
static const char toolbarTipsProp[] = "htbTips"; // on the toolbar's tooltip window: the toolbar's record
static const COLORREF toolbarMaskColor = RGB(255, 0, 255);
enum : UINT {
    TOOLBAR_TIP_DELAY_SHOW = 1000,    // ms before a tip shows
    TOOLBAR_TIP_DELAY_HIDE = 15000,   // ms before a shown tip goes
    TOOLBAR_DEFAULT_BUTTON_SIZE = 16, // without any bitmap
};

static ToolbarHooks toolbarHooks;
static char toolbarTipBuffer[TOOLBAR_TIP_MAX];

// ---- Hooks

static void ToolbarResetHooks() {
    toolbarHooks = {};
}

void ToolbarSetHooks(const ToolbarHooks *hooks) {
    toolbarHooks = hooks ? *hooks : ToolbarHooks{};
    SeamRegisterReset(ToolbarResetHooks);
}

// ---- Start-up

bool ToolbarInit() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    return TipRegisterClass();
}

// ---- The record

static ToolbarElem *ToolbarElemAt(const ToolbarInfo *toolbar, int32_t index) {
    return (ToolbarElem *)PlexElem(&toolbar->plex, index);
}

static void ToolbarFree(ToolbarInfo *toolbar) {
    for (int32_t i = 0; i < PlexCount(&toolbar->plex); i++)
        if (HBITMAP bitmap = ToolbarElemAt(toolbar, i)->bitmap) DeleteObject(bitmap);
    if (toolbar->images) ImageList_Destroy(toolbar->images);
    PlexFree(&toolbar->plex);
}

ToolbarInfo *ToolbarFromWindow(HWND window) {
    return window ? (ToolbarInfo *)GetPropA(window, toolbarProp) : nullptr;
}

static HBITMAP ToolbarLoadBitmap(const ToolbarButton *button) {
    char name[TOOLBAR_BITMAP_NAME];
    size_t length = strnlen(button->bitmap, sizeof name - 1); // a name filling its field may lack the NUL
    memcpy(name, button->bitmap, length);
    name[length] = 0;
    return LoadBitmapA(GetModuleHandleA(nullptr), name);
}

// The size of the list's first bitmap (the default without any); false when that bitmap is missing.
static bool ToolbarButtonSize(const ToolbarButton *buttons, SIZE *size, bool *anyBitmap) {
    *size = {TOOLBAR_DEFAULT_BUTTON_SIZE, TOOLBAR_DEFAULT_BUTTON_SIZE};
    *anyBitmap = false;
    for (const ToolbarButton *button = buttons; button->type != TOOLBAR_END; button++) {
        if (button->type == TOOLBAR_SEPARATOR) continue;
        *anyBitmap = true;
        HBITMAP bitmap = ToolbarLoadBitmap(button);
        BITMAP info;
        bool known = bitmap && GetObjectA(bitmap, sizeof info, &info);
        if (known) *size = {info.bmWidth, info.bmHeight};
        if (bitmap) DeleteObject(bitmap);
        return known;
    }
    return true;
}

// ---- Creation

static DWORD ToolbarStyle(bool flat) {
    DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (flat) return style | TBSTYLE_FLAT;
    return SysComctlAbove471() ? style | TBSTYLE_TRANSPARENT : style;
}

// Appends the elements and fills the image list; false when a bitmap is missing or refused.
static bool ToolbarAddImages(ToolbarInfo *toolbar, const ToolbarButton *buttons) {
    for (const ToolbarButton *button = buttons; button->type != TOOLBAR_END; button++) {
        ToolbarElem *elem = (ToolbarElem *)PlexInsert(&toolbar->plex, -1, 1, nullptr);
        if (!elem) return false;
        elem->type = button->type;
        elem->command = button->command;
        elem->image = -1;
        if (button->type == TOOLBAR_SEPARATOR) continue;
        if (!(elem->bitmap = ToolbarLoadBitmap(button))) return false;
        elem->image = ImageList_AddMasked(toolbar->images, elem->bitmap, toolbarMaskColor);
        if (elem->image < 0) return false;
    }
    return true;
}

static BYTE ToolbarButtonStyle(int32_t type) {
    switch (type) {
    case TOOLBAR_CHECK: return TBSTYLE_CHECK;
    case TOOLBAR_SEPARATOR: return TBSTYLE_SEP;
    default: return TBSTYLE_BUTTON;
    }
}

static bool ToolbarAddButtons(ToolbarInfo *toolbar) {
    for (int32_t i = 0; i < PlexCount(&toolbar->plex); i++) {
        const ToolbarElem *elem = ToolbarElemAt(toolbar, i);
        TBBUTTON button = {};
        button.iBitmap = elem->image < 0 ? 0 : elem->image; // a separator's 0 is the default gap
        button.idCommand = elem->command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = ToolbarButtonStyle(elem->type);
        if (!SendMessageA(toolbar->window, TB_ADDBUTTONSA, 1, (LPARAM)&button)) return false;
    }
    return true;
}

static void ToolbarSizeWindow(ToolbarInfo *toolbar) {
    LRESULT button = SendMessageA(toolbar->window, TB_GETBUTTONSIZE, 0, 0);
    SIZE size = {toolbar->buttonCount * toolbar->buttonWidth, HIWORD(button)};
    if (SysComctlAbove471()) SendMessageA(toolbar->window, TB_GETMAXSIZE, 0, (LPARAM)&size);
    SetWindowPos(toolbar->window, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

static HWND ToolbarTips(const ToolbarInfo *toolbar) {
    return (HWND)SendMessageA(toolbar->window, TB_GETTOOLTIPS, 0, 0);
}

// The tooltip learns its toolbar, whose tooltip callback answers its requests for text.
static void ToolbarSetUpTips(ToolbarInfo *toolbar) {
    HWND tips = ToolbarTips(toolbar);
    if (!tips) return;
    SetPropA(tips, toolbarTipsProp, toolbar);
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(TOOLBAR_TIP_DELAY_HIDE, 0));
    SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(TOOLBAR_TIP_DELAY_SHOW, 0));
}

static LRESULT CALLBACK ToolbarSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Steps after the window exists; false on a failure, which leaves the freeing to the caller.
static bool ToolbarFill(ToolbarInfo *toolbar, const ToolbarButton *buttons, SIZE size, bool anyBitmap) {
    HWND window = toolbar->window;
    SendMessageA(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy));
    SendMessageA(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy));
    if (anyBitmap && !(toolbar->images = ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 8, 8)))
        return false;
    if (!ToolbarAddImages(toolbar, buttons)) return false;
    SendMessageA(window, TB_SETIMAGELIST, 0, (LPARAM)toolbar->images);
    return ToolbarAddButtons(toolbar);
}

ToolbarInfo *ToolbarCreate(HWND parent, int32_t ownerId, ToolbarCreateFlags flags, intptr_t callerValue,
                           uint8_t callerBits, const ToolbarButton *buttons, ToolbarTipTextFn tipText) {
    SIZE size;
    bool anyBitmap;
    if (!buttons || buttons->type == TOOLBAR_END || !ToolbarButtonSize(buttons, &size, &anyBitmap)) {
        ErcSetAt(__FILE__, __LINE__, ercToolbarCreate);
        return nullptr;
    }
    ToolbarInfo *toolbar = (ToolbarInfo *)PlexCreateEx(sizeof(ToolbarInfo), sizeof(ToolbarElem), 8, 0);
    if (!toolbar) return nullptr;
    toolbar->flat = flags & TOOLBAR_FLAT;
    toolbar->window = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", ToolbarStyle(toolbar->flat), 0, 0, 0, 0,
                                      parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!toolbar->window || !ToolbarFill(toolbar, buttons, size, anyBitmap)) {
        if (toolbar->window) DestroyWindow(toolbar->window);
        ToolbarFree(toolbar);
        ErcSetAt(__FILE__, __LINE__, ercToolbarCreate);
        return nullptr;
    }
    toolbar->callerBits = callerBits & 0xF;
    toolbar->callerValue = callerValue;
    toolbar->buttonCount = PlexCount(&toolbar->plex);
    toolbar->ownerId = ownerId;
    toolbar->tipText = tipText;
    toolbar->buttonWidth = size.cx;
    toolbar->buttonHeight = size.cy;
    SendMessageA(toolbar->window, TB_AUTOSIZE, 0, 0);
    SetPropA(toolbar->window, toolbarProp, toolbar);
    toolbar->previousProc =
        (WNDPROC)SetWindowLongPtrA(toolbar->window, GWLP_WNDPROC, (LONG_PTR)ToolbarSubclassProc);
    if (!(flags & TOOLBAR_NO_MEASURE)) ToolbarSizeWindow(toolbar);
    ToolbarSetUpTips(toolbar);
    return toolbar;
}

// ---- The subclass

static LRESULT ToolbarOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ToolbarInfo *toolbar = ToolbarFromWindow(window);
    if (!toolbar) return DefWindowProcA(window, message, wParam, lParam);
    WNDPROC previous = toolbar->previousProc;
    if (HWND tips = ToolbarTips(toolbar)) RemovePropA(tips, toolbarTipsProp);
    RemovePropA(window, toolbarProp);
    SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)previous);
    ToolbarFree(toolbar);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

static LRESULT CALLBACK ToolbarSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) return ToolbarOnDestroy(window, message, wParam, lParam);
    if (message == WM_SIZE && MouseButtonsDown(2) && toolbarHooks.setConfigDirty)
        toolbarHooks.setConfigDirty(true);
    ToolbarInfo *toolbar = ToolbarFromWindow(window);
    WNDPROC previous = toolbar ? toolbar->previousProc : nullptr;
    return previous ? CallWindowProcA(previous, window, message, wParam, lParam)
                    : DefWindowProcA(window, message, wParam, lParam);
}

// ---- Operations

void ToolbarDestroy(ToolbarInfo *toolbar) {
    if (!toolbar) return;
    if (toolbar->window) {
        DestroyWindow(toolbar->window);
    } else {
        ToolbarFree(toolbar);
    }
}

void ToolbarCheck(ToolbarInfo *toolbar, int32_t command, bool checked) {
    SendMessageA(toolbar->window, TB_CHECKBUTTON, (WPARAM)command, MAKELPARAM(checked, 0));
}

void ToolbarRedraw(ToolbarInfo *toolbar) {
    RedrawWindow(toolbar->window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

static void ToolbarApplyFlat(ToolbarInfo *toolbar, bool flat) {
    DWORD style = (DWORD)SendMessageA(toolbar->window, TB_GETSTYLE, 0, 0);
    style = flat ? style | TBSTYLE_FLAT : style & ~(DWORD)TBSTYLE_FLAT;
    SendMessageA(toolbar->window, TB_SETSTYLE, 0, (LPARAM)style);
}

void ToolbarSetFlat(ToolbarInfo *toolbar, bool flat) {
    if (toolbar->flat == flat) return;
    toolbar->flat = flat;
    ToolbarApplyFlat(toolbar, flat);
    ToolbarRedraw(toolbar);
}

void ToolbarSetFlatRedraw(ToolbarInfo *toolbar, bool flat) {
    toolbar->flat = flat;
    bool isFlat = SendMessageA(toolbar->window, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT;
    if (isFlat != flat) ToolbarApplyFlat(toolbar, flat);
    ToolbarRedraw(toolbar);
}

void ToolbarShow(ToolbarInfo *toolbar, bool show) {
    ShowWindow(toolbar->window, show ? SW_SHOWNA : SW_HIDE);
}

void ToolbarMove(ToolbarInfo *toolbar, const RECT *rect) {
    WndMoveRect(toolbar->window, rect, true);
}

int32_t ToolbarWindowHeight(ToolbarInfo *toolbar) {
    if (!toolbar || !toolbar->window) return 0;
    RECT rect;
    GetWindowRect(toolbar->window, &rect);
    return rect.bottom - rect.top;
}

int32_t ToolbarHeight(ToolbarInfo *toolbar) {
    if (toolbar->window && IsWindowVisible(toolbar->window)) return ToolbarWindowHeight(toolbar);
    return toolbar->buttonHeight + 6;
}

void ToolbarDockRect(ToolbarInfo *toolbar, bool top, RECT *out) {
    GetClientRect(GetParent(toolbar->window), out);
    out->left += 8;
    out->top += 1;
    int32_t height = ToolbarHeight(toolbar);
    if (top) {
        out->bottom = out->top + height;
    } else {
        out->top = out->bottom - height;
    }
}

// ---- Tooltip texts

// Appends at most what the buffer holds; the text stays NUL-terminated.
static void ToolbarAppend(char *text, int size, const char *more) {
    StrAppendMax(more, text, size - 1);
}

void ToolbarTipText(int32_t command, char *text, int size) {
    if (size <= 0) return;
    text[0] = 0;
    if (toolbarHooks.commandName) toolbarHooks.commandName(command, text, size);
    int32_t key = toolbarHooks.keyForCommand ? toolbarHooks.keyForCommand(command) : 0;
    if (key && toolbarHooks.keyName) {
        char name[TOOLBAR_TIP_MAX] = "";
        toolbarHooks.keyName(key, name, sizeof name);
        ToolbarAppend(text, size, " (");
        ToolbarAppend(text, size, name);
        ToolbarAppend(text, size, ")");
    }
    const char *description = toolbarHooks.commandDescription ? toolbarHooks.commandDescription(command) : "";
    if (!description || !*description) return;
    ToolbarAppend(text, size, " - ");
    int32_t start = (int32_t)strlen(text);
    ToolbarAppend(text, size, description);
    text[start] = (char)(uintptr_t)CharLowerA((LPSTR)(uintptr_t)(unsigned char)text[start]);
    // The full stop goes only when the whole description fitted: a cut text ends wherever the cut fell.
    int32_t end = (int32_t)strlen(text);
    if (end - start == (int32_t)strlen(description) && end > start && text[end - 1] == '.') text[end - 1] = 0;
}

bool TipNeedText(NMHDR *notification) {
    if (!notification || notification->code != TTN_NEEDTEXTA) return false;
    NMTTDISPINFOA *info = (NMTTDISPINFOA *)notification;
    int32_t command = (int32_t)notification->idFrom;
    ToolbarInfo *toolbar =
        notification->hwndFrom ? (ToolbarInfo *)GetPropA(notification->hwndFrom, toolbarTipsProp) : nullptr;
    ToolbarTipTextFn fill = toolbar && toolbar->tipText ? toolbar->tipText : ToolbarTipText;
    toolbarTipBuffer[0] = 0;
    fill(command, toolbarTipBuffer, sizeof toolbarTipBuffer);
    info->lpszText = toolbarTipBuffer;
    info->hinst = nullptr;
    return true;
}

bool ToolbarPreTranslate(MSG *) {
    return false;
}
