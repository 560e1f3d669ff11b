// Visual styles through a fake library: the user's setting and SetThemeAppProperties, the remote-session bar,
// the answers of missing entries, each entry looked up once, the font's face converted, and no library.
#include "ui/theme.h"

#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<DWORD> appProperties;
int textureCalls;

BOOL WINAPI FakeActive() {
    return TRUE;
}
BOOL WINAPI FakeInactive() {
    return FALSE;
}
void WINAPI FakeSetProperties(DWORD flags) {
    appProperties.push_back(flags);
}
HRESULT WINAPI FakeTexture(HWND, DWORD) {
    textureCalls++;
    return S_OK;
}
HRESULT WINAPI FakeFont(HTHEME, HDC, int, int, int property, LOGFONTW *out) {
    EXPECT_EQ(property, THEME_PROPERTY_FONT);
    *out = {};
    out->lfHeight = -12;
    out->lfWeight = FW_BOLD;
    wcscpy(out->lfFaceName, L"Segoe UI");
    return S_OK;
}

class ThemeTest : public testing::Test {
protected:
    void SetUp() override {
        appProperties.clear();
        textureCalls = 0;
        calls = {};
        calls.isThemeActive = FakeActive;
        calls.isAppThemed = FakeActive;
        calls.setThemeAppProperties = FakeSetProperties;
        calls.enableThemeDialogTexture = FakeTexture;
        calls.getThemeFont = FakeFont;
        ThemeSetTestLibrary(&calls);
        ASSERT_TRUE(ThemeLoad());
    }
    ThemeCalls calls;
};

} // namespace

TEST_F(ThemeTest, SettingDecidesAppProperties) {
    ThemeSetAppProperties(false);
    EXPECT_FALSE(ThemeIsActive());
    ThemeSetAppProperties(true);
    EXPECT_TRUE(ThemeIsActive());
    EXPECT_EQ(appProperties, (std::vector<DWORD>{0, 7}));
}

TEST_F(ThemeTest, RemoteSessionBarsStyles) {
    UiRemoteSession({{"RemoteNoThemes", 1}});
    ThemeSetAppProperties(true);
    EXPECT_EQ(appProperties, (std::vector<DWORD>{0}));
    EXPECT_FALSE(ThemeIsActive());
    EXPECT_FALSE(ThemeIsAppThemed());
    ThemeEnableDialogTexture(nullptr, 6);
    EXPECT_EQ(textureCalls, 0);
}

TEST_F(ThemeTest, RemoteSessionWithoutBarKeepsStyles) {
    UiRemoteSession();
    ThemeSetAppProperties(true);
    EXPECT_EQ(appProperties, (std::vector<DWORD>{7}));
    EXPECT_TRUE(ThemeIsActive());
    ThemeEnableDialogTexture(nullptr, 6);
    EXPECT_EQ(textureCalls, 1);
}

TEST_F(ThemeTest, SystemStyleOffMeansInactive) {
    calls.isThemeActive = FakeInactive;
    ThemeSetTestLibrary(&calls);
    ThemeLoad();
    EXPECT_FALSE(ThemeIsActive());
    EXPECT_TRUE(ThemeIsAppThemed());
}

TEST_F(ThemeTest, MissingEntriesAnswerAsDocumented) {
    calls = {};
    ThemeSetTestLibrary(&calls);
    ThemeLoad();
    EXPECT_TRUE(ThemeIsActive());
    EXPECT_TRUE(ThemeIsAppThemed());
    EXPECT_EQ(ThemeOpen(nullptr, L"button"), nullptr);
    EXPECT_EQ(ThemeClose(nullptr), 1);
    RECT rect = {0, 0, 1, 1};
    EXPECT_EQ(ThemeDrawBackground(nullptr, nullptr, 3, 1, &rect, nullptr), 1);
    LOGFONTA font;
    EXPECT_EQ(ThemeGetFont(nullptr, nullptr, 0, 0, &font), 1);
    EXPECT_TRUE(ThemeIsPartDefined(nullptr, 3, 1));
    ThemeSetAppProperties(true); // no entry: nothing to call
}

TEST_F(ThemeTest, EntriesAreLookedUpOnce) {
    EXPECT_TRUE(ThemeIsActive());
    calls.isThemeActive = FakeInactive; // changes the table after the lookup
    EXPECT_TRUE(ThemeIsActive());
    ThemeUnload();
    ThemeLoad();
    EXPECT_FALSE(ThemeIsActive());
}

TEST_F(ThemeTest, FontFaceComesInAnsi) {
    LOGFONTA font = {};
    EXPECT_EQ(ThemeGetFont(nullptr, nullptr, 0, 0, &font), S_OK);
    EXPECT_STREQ(font.lfFaceName, "Segoe UI");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
}

TEST_F(ThemeTest, NothingWithoutLibrary) {
    ThemeUnload();
    ThemeSetAppProperties(true);
    EXPECT_TRUE(appProperties.empty());
    EXPECT_FALSE(ThemeIsActive());
    EXPECT_FALSE(ThemeIsAppThemed());
    EXPECT_EQ(ThemeOpen(nullptr, L"button"), nullptr);
}
