// theme: the run-time binding of "UxTheme.dll" (prefix Theme). One table holds the library handle and the
// nine entries, each looked up once on first use and null when missing; a bit per entry says it was looked
// up. The themes-enabled flag is the user's setting, on until the application says otherwise.
#include "ui/theme.h"

#include "base/seam.h"
#include "base/toolbox.h"
#include "base/sysprobe.h"

#include <cstddef>
#include <cstring>

enum { THEME_APP_ALL = 7 }; // non-client area, controls and web content

struct ThemeEntry {
    const char *name;
    size_t offset; // of the entry in ThemeCalls
};

static const ThemeEntry themeEntries[] = {
    {"IsThemeActive", offsetof(ThemeCalls, isThemeActive)},
    {"IsAppThemed", offsetof(ThemeCalls, isAppThemed)},
    {"OpenThemeData", offsetof(ThemeCalls, openThemeData)},
    {"CloseThemeData", offsetof(ThemeCalls, closeThemeData)},
    {"DrawThemeBackground", offsetof(ThemeCalls, drawThemeBackground)},
    {"GetThemeFont", offsetof(ThemeCalls, getThemeFont)},
    {"IsThemePartDefined", offsetof(ThemeCalls, isThemePartDefined)},
    {"SetThemeAppProperties", offsetof(ThemeCalls, setThemeAppProperties)},
    {"EnableThemeDialogTexture", offsetof(ThemeCalls, enableThemeDialogTexture)},
};

static HMODULE themeLibrary;
static bool themeLoaded;
static ThemeCalls themeCalls;
static uint32_t themeLooked; // bit i: entry i was looked up
static bool themeEnabled = true;
static const ThemeCalls *themeTest;

typedef void (*ThemeAnyFn)();

static ThemeAnyFn *ThemeSlot(size_t offset) {
    return (ThemeAnyFn *)((char *)&themeCalls + offset);
}

// The entry at that offset of the table, looked up the first time it is wanted.
static ThemeAnyFn ThemeEntryAt(size_t offset) {
    if (!themeLoaded) return nullptr;
    for (size_t i = 0; i < sizeof themeEntries / sizeof themeEntries[0]; i++) {
        if (themeEntries[i].offset != offset) continue;
        if (!(themeLooked & 1u << i)) {
            themeLooked |= 1u << i;
            *ThemeSlot(offset) = themeTest ? *(const ThemeAnyFn *)((const char *)themeTest + offset)
                                           : (ThemeAnyFn)GetProcAddress(themeLibrary, themeEntries[i].name);
        }
        return *ThemeSlot(offset);
    }
    return nullptr;
}

#define THEME_ENTRY(field) ((decltype(ThemeCalls::field))ThemeEntryAt(offsetof(ThemeCalls, field)))

bool ThemeLoad() {
    if (themeLoaded) return true;
    themeCalls = {};
    themeLooked = 0;
    if (!themeTest) themeLibrary = LoadLibraryA("UxTheme.dll");
    themeLoaded = themeTest || themeLibrary;
    return themeLoaded;
}

void ThemeUnload() {
    if (themeLibrary) FreeLibrary(themeLibrary);
    themeLibrary = nullptr;
    themeLoaded = false;
    themeCalls = {};
    themeLooked = 0;
}

static void ThemeResetSeams() {
    ThemeUnload();
    themeTest = nullptr;
    themeEnabled = true;
}

void ThemeSetTestLibrary(const ThemeCalls *calls) {
    ThemeUnload();
    themeTest = calls;
    SeamRegisterReset(ThemeResetSeams);
}

static bool ThemeBarred() {
    return SysIsRemoteSession() && ToolboxRemote()->noThemes;
}

void ThemeSetAppProperties(bool enabled) {
    if (!themeLoaded) return;
    themeEnabled = enabled;
    auto setProperties = THEME_ENTRY(setThemeAppProperties);
    if (!setProperties) return;
    setProperties(enabled && !ThemeBarred() ? THEME_APP_ALL : 0);
}

void ThemeEnableDialogTexture(HWND window, DWORD flags) {
    if (!themeLoaded || ThemeBarred()) return;
    if (auto enable = THEME_ENTRY(enableThemeDialogTexture)) enable(window, flags);
}

static bool ThemeUsable() {
    return themeLoaded && !ThemeBarred() && themeEnabled;
}

bool ThemeIsAppThemed() {
    if (!ThemeUsable()) return false;
    auto isAppThemed = THEME_ENTRY(isAppThemed);
    return !isAppThemed || isAppThemed();
}

bool ThemeIsActive() {
    if (!ThemeUsable()) return false;
    auto isActive = THEME_ENTRY(isThemeActive);
    if (isActive && !isActive()) return false;
    return ThemeIsAppThemed();
}

HTHEME ThemeOpen(HWND window, const wchar_t *className) {
    auto open = THEME_ENTRY(openThemeData);
    return open ? open(window, className) : nullptr;
}

int32_t ThemeClose(HTHEME theme) {
    auto close = THEME_ENTRY(closeThemeData);
    return close ? close(theme) : 1;
}

int32_t ThemeDrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT *rect, const RECT *clip) {
    auto draw = THEME_ENTRY(drawThemeBackground);
    return draw ? draw(theme, dc, part, state, rect, clip) : 1;
}

// The system answers with a wide face name; the program's fonts are described in the ANSI code page.
int32_t ThemeGetFont(HTHEME theme, HDC dc, int part, int state, LOGFONTA *out) {
    auto getFont = THEME_ENTRY(getThemeFont);
    if (!getFont) return 1;
    LOGFONTW wide = {};
    HRESULT result = getFont(theme, dc, part, state, THEME_PROPERTY_FONT, &wide);
    memcpy(out, &wide, offsetof(LOGFONTA, lfFaceName));
    WideCharToMultiByte(CP_ACP, 0, wide.lfFaceName, -1, out->lfFaceName, LF_FACESIZE, nullptr, nullptr);
    out->lfFaceName[LF_FACESIZE - 1] = 0;
    return result;
}

bool ThemeIsPartDefined(HTHEME theme, int part, int state) {
    auto isDefined = THEME_ENTRY(isThemePartDefined);
    return !isDefined || isDefined(theme, part, state);
}
