// Shared support of the dialog engine's tests.
#include "ui/dlgtest.h"

#include "ui/draw.h"
#include "ui/listbox.h"

#include <cstring>

void DlgFixture::SetUp() {
    ASSERT_TRUE(DrawInit(nullptr));
    ASSERT_TRUE(DlgInit(GetModuleHandleA(nullptr)));
    ASSERT_TRUE(DlgRegisterClasses(GetModuleHandleA(nullptr)));
    ASSERT_TRUE(ListboxRegisterClass());
}

void DlgFixture::TearDown() {
    DlgTerm();
    DrawExit();
}

// ---- Templates

namespace {

struct TplReader {
    const uint8_t *p;
    uint16_t Word() {
        uint16_t w;
        memcpy(&w, p, 2);
        p += 2;
        return w;
    }
    uint32_t Dword() {
        uint32_t d;
        memcpy(&d, p, 4);
        p += 4;
        return d;
    }
    std::string Wide() {
        std::string s;
        while (uint16_t c = Word()) s += (char)c;
        return s;
    }
    void Align(const uint8_t *base) {
        while ((p - base) % 4) p++;
    }
};

} // namespace

DlgTpl DlgReadTemplate(const DLGTEMPLATE *tmpl) {
    const auto *base = (const uint8_t *)tmpl;
    TplReader r = {base};
    DlgTpl t;
    t.style = r.Dword();
    r.Dword();
    t.count = r.Word();
    t.x = (int16_t)r.Word();
    t.y = (int16_t)r.Word();
    t.cx = (int16_t)r.Word();
    t.cy = (int16_t)r.Word();
    r.Word(); // menu
    r.Word(); // class
    t.caption = r.Wide();
    t.pointSize = r.Word();
    t.face = r.Wide();
    for (int i = 0; i < t.count; i++) {
        r.Align(base);
        DlgTplItem item;
        item.style = r.Dword();
        r.Dword();
        item.x = (int16_t)r.Word();
        item.y = (int16_t)r.Word();
        item.cx = (int16_t)r.Word();
        item.cy = (int16_t)r.Word();
        item.id = r.Word();
        item.className = r.Wide();
        item.text = r.Wide();
        item.dataSize = r.Word();
        item.data.assign(r.p, r.p + item.dataSize);
        r.p += item.dataSize;
        t.items.push_back(item);
    }
    return t;
}

// ---- Scripts

static std::vector<DlgStep> dlgSteps;
static size_t dlgNextStep;
static int dlgTurns;

static bool DlgScriptHook(DlgObject *dlg) {
    dlgTurns++;
    if (dlgNextStep >= dlgSteps.size()) return false;
    DlgStep step = dlgSteps[dlgNextStep++];
    step(dlg);
    return true;
}

void DlgScript(std::vector<DlgStep> steps) {
    dlgSteps = std::move(steps);
    dlgNextStep = 0;
    dlgTurns = 0;
    DlgSetTestHook(DlgScriptHook);
}

int DlgScriptTurns() {
    return dlgTurns;
}

void DlgClick(DlgObject *dlg, int32_t code) {
    SendMessageA(DlgGetControlWindow(dlg, code), BM_CLICK, 0, 0);
}

// The key goes to the control that has the focus; when another test program took the activation meanwhile
// (the programs run side by side on one display), to the dialog itself, which handles the keys alike.
void DlgPressKey(DlgObject *dlg, UINT virtualKey) {
    HWND window = DlgGetWindow(dlg), focus = GetFocus();
    HWND target = focus && (focus == window || IsChild(window, focus)) ? focus : window;
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void DlgTypeChars(HWND window, const char *text) {
    for (const char *c = text; *c; c++) PostMessageA(window, WM_CHAR, (WPARAM)(unsigned char)*c, 1);
}

HWND DlgFindByLabel(DlgObject *dlg, const char *label) {
    for (HWND child = GetWindow(DlgGetWindow(dlg), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[256] = "";
        GetWindowTextA(child, text, sizeof text);
        std::string plain;
        for (const char *c = text; *c; c++)
            if (*c != '&') plain += *c;
        if (plain == label) return child;
    }
    return nullptr;
}
