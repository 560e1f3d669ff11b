// theme: visual styles (prefix Theme). "UxTheme.dll" is loaded at run time, never linked, and each of its
// functions is looked up on first use. Every caller asks ThemeIsActive before drawing themed parts; without
// the library, with styles switched off by the user, or in a remote session that bars them
// ("RemoteNoThemes"), everything is drawn the classic way. A missing entry answers as each function says.
// Success: true, a handle or the system's result; failure false or null.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include <cstdint>

enum { THEME_PROPERTY_FONT = 210 }; // TMT_FONT

// Loads the library when it is not loaded yet; true when it is loaded.
bool ThemeLoad();
// Frees the library and forgets its entries (at shutdown).
void ThemeUnload();

// The user's setting: needs the library; stores the setting, then tells the system to theme the non-client
// area, controls and web content (7), or nothing (0), and always nothing in a remote session that bars
// styles.
void ThemeSetAppProperties(bool enabled);
// Dialog texture flags (the dialog procedure passes 6: enable with the tab texture); needs the library and
// is skipped in a remote session that bars styles.
void ThemeEnableDialogTexture(HWND window, DWORD flags);

// Styles are in use: the library is loaded, not barred, the setting on, the system's style active (true
// when it cannot be asked) and the program themed.
bool ThemeIsActive();
// The same guards, then whether the program is themed (true when the system cannot be asked).
bool ThemeIsAppThemed();

HTHEME ThemeOpen(HWND window, const wchar_t *className); // null when missing
int32_t ThemeClose(HTHEME theme);                        // 1 when missing
int32_t ThemeDrawBackground(HTHEME theme, HDC dc, int part, int state, const RECT *rect,
                            const RECT *clip);                                  // 1 when missing
int32_t ThemeGetFont(HTHEME theme, HDC dc, int part, int state, LOGFONTA *out); // 1 when missing
bool ThemeIsPartDefined(HTHEME theme, int part, int state);                     // true when missing

// Test seam: while set, the library counts as loaded with these entries (a null entry is missing); null
// goes back to the system's library, unloaded.
struct ThemeCalls {
    BOOL(WINAPI *isThemeActive)();
    BOOL(WINAPI *isAppThemed)();
    HTHEME(WINAPI *openThemeData)(HWND window, LPCWSTR classList);
    HRESULT(WINAPI *closeThemeData)(HTHEME theme);
    HRESULT(WINAPI *drawThemeBackground)
    (HTHEME theme, HDC dc, int part, int state, const RECT *rect, const RECT *clip);
    HRESULT(WINAPI *getThemeFont)(HTHEME theme, HDC dc, int part, int state, int property, LOGFONTW *out);
    BOOL(WINAPI *isThemePartDefined)(HTHEME theme, int part, int state);
    void(WINAPI *setThemeAppProperties)(DWORD flags);
    HRESULT(WINAPI *enableThemeDialogTexture)(HWND window, DWORD flags);
};
void ThemeSetTestLibrary(const ThemeCalls *calls);
