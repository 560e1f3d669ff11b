// The pages of the Preferences whose changes show at once:
// - Display: "Maximize new windows" and "Cascade new windows" exclude each other in the page and in the
//   option words; a change takes effect at once; Cancel puts back the words and shows every element again;
//   smooth scrolling disabled in a remote session whose options disable it;
// - Syntax Decorations: the substitution switch enables the nine boxes without clearing their bits; Cancel
//   restores the bits changed live;
// - Syntax Formatting: each change stored at once;
// - Colors: the nine items, a colour chosen under "%s Color" taken at once, "Reset..." confirmed, Cancel
//   restores the colours;
// - Character Spacing: the characters (0 for an empty edit) and the three bits, the font layer told.
#include "prefstest.h"

#include "shell/cfgcolor.h"

namespace {

using namespace prefstest;

using PrefsDisplayTest = PrefsTest;
using PrefsViewTest = PrefsTest;

TEST_F(PrefsDisplayTest, MaximizeAndCascadeExcludeEachOther) {
    PrefsRecord record = Open(PREFS_DISPLAY);
    Change(PREFS_DISPLAY, record, PD_CASCADE, 1);
    EXPECT_TRUE(g_options & OPT_CASCADE_NEW);
    Change(PREFS_DISPLAY, record, PD_MAXIMIZE, 1);
    EXPECT_EQ(record.values[PD_CASCADE], 0);
    EXPECT_FALSE(g_options & OPT_CASCADE_NEW);
    EXPECT_TRUE(g_viewOptions2 & VIEW2_MAXIMIZE_NEW);
    Change(PREFS_DISPLAY, record, PD_CASCADE, 1);
    EXPECT_EQ(record.values[PD_MAXIMIZE], 0);
    EXPECT_FALSE(g_viewOptions2 & VIEW2_MAXIMIZE_NEW);
    EXPECT_TRUE(g_options & OPT_CASCADE_NEW);
}

TEST_F(PrefsDisplayTest, ChangesShowAtOnceAndCancelPutsThemBack) {
    PrefsRecord record = Open(PREFS_DISPLAY);
    DisplayOptions before = g_displayOptions;
    Change(PREFS_DISPLAY, record, PD_STATUS_BAR, 0);
    Change(PREFS_DISPLAY, record, PD_READ_ONLY_MARK, 1);
    Change(PREFS_DISPLAY, record, PD_MAXIMIZE, 1);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"status off", "retitle"}));
    EXPECT_FALSE(g_viewOptions & VIEW_STATUS_BAR);
    prefsAnswers.calls.clear();
    PrefsCancel(PREFS_DISPLAY, &record);
    EXPECT_EQ(memcmp(&g_displayOptions, &before, sizeof before), 0);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"status on", "toolbar on", "retitle", "theme"}));
}

TEST_F(PrefsDisplayTest, SmoothScrollingInARemoteSession) {
    PrefsRecord record = Open(PREFS_DISPLAY);
    EXPECT_TRUE(PrefsEnabled(PREFS_DISPLAY, &record, PD_SMOOTH));
    prefsAnswers.remote = true;
    EXPECT_TRUE(PrefsEnabled(PREFS_DISPLAY, &record, PD_SMOOTH)) << "the remote options allow it";
    g_remoteOptions[PREFS_REMOTE_NO_SMOOTH_SCROLL] = 1;
    EXPECT_FALSE(PrefsEnabled(PREFS_DISPLAY, &record, PD_SMOOTH));
    EXPECT_TRUE(PrefsEnabled(PREFS_DISPLAY, &record, PD_ANIMATIONS));
    g_remoteOptions[PREFS_REMOTE_NO_SMOOTH_SCROLL] = 0;
}

using PrefsDecorationsTest = PrefsTest;

TEST_F(PrefsDecorationsTest, SubstitutionsOffDisablesNineBoxesBitsKept) {
    g_decorOptions = DECOR_SUBSTITUTIONS | DECOR_ARROW | DECOR_OR | DECOR_END_COMMENTS;
    PrefsRecord record = Open(PREFS_DECORATIONS);
    for (int32_t c = PR_ARROW; c <= PR_OR; c++) EXPECT_TRUE(PrefsEnabled(PREFS_DECORATIONS, &record, c)) << c;
    Change(PREFS_DECORATIONS, record, PR_SUBSTITUTIONS, 0);
    for (int32_t c = PR_ARROW; c <= PR_OR; c++)
        EXPECT_FALSE(PrefsEnabled(PREFS_DECORATIONS, &record, c)) << c;
    EXPECT_TRUE(PrefsEnabled(PREFS_DECORATIONS, &record, PR_SCALE_PARENS));
    EXPECT_TRUE(PrefsEnabled(PREFS_DECORATIONS, &record, PR_END_COMMENTS_LONG));
    EXPECT_EQ(g_decorOptions, DECOR_ARROW | DECOR_OR | DECOR_END_COMMENTS) << "only the switch changed";
    EXPECT_EQ(record.values[PR_ARROW], 1);
    Change(PREFS_DECORATIONS, record, PR_END_COMMENTS, 0);
    EXPECT_FALSE(PrefsEnabled(PREFS_DECORATIONS, &record, PR_END_COMMENTS_LONG));
}

TEST_F(PrefsDecorationsTest, CancelRestoresTheBitsChangedLive) {
    g_decorOptions = DECOR_SUBSTITUTIONS | DECOR_EQUAL;
    PrefsRecord record = Open(PREFS_DECORATIONS);
    Change(PREFS_DECORATIONS, record, PR_EQUAL, 0);
    Change(PREFS_DECORATIONS, record, PR_GOTO_ARROWS, 1);
    Change(PREFS_DECORATIONS, record, PR_SCALE_PARENS, 1);
    EXPECT_EQ(g_decorOptions, DECOR_SUBSTITUTIONS | DECOR_GOTO_ARROWS);
    EXPECT_TRUE(g_viewOptions & VIEW_SCALE_PARENS);
    PrefsCancel(PREFS_DECORATIONS, &record);
    EXPECT_EQ(g_decorOptions, DECOR_SUBSTITUTIONS | DECOR_EQUAL);
    EXPECT_FALSE(g_viewOptions & VIEW_SCALE_PARENS);
}

TEST_F(PrefsViewTest, FormattingStoredAtOnce) {
    PrefsRecord record = Open(PREFS_FORMATTING);
    EXPECT_EQ(record.values[PX_FORMATTING], 1);
    Change(PREFS_FORMATTING, record, PX_QUALIFY_FUNCTIONS, 1);
    EXPECT_TRUE(g_viewOptions & VIEW_QUALIFY_FUNCTIONS);
    Change(PREFS_FORMATTING, record, PX_FORMATTING, 0);
    EXPECT_FALSE(g_viewOptions & VIEW_SYNTAX_FORMATTING);
}

using PrefsColorsTest = PrefsTest;

TEST_F(PrefsColorsTest, ItemsChoosingResettingAndCancel) {
    const int32_t items[] = {1, 0, 11, 10, 9, 2, 3, 4, 12};
    for (int32_t i = 0; i < 9; i++) EXPECT_EQ(PrefsColorOfItem(i), items[i]);
    EXPECT_EQ(PrefsColorOfItem(9), -1);
    ColorRecord defaults;
    ConfigColorDefaults(&defaults);
    ConfigApplyColors(&defaults, false);
    PrefsRecord record = Open(PREFS_COLORS);
    record.values[PC_ITEM] = 0;
    PrefsColorChoose(&record);
    EXPECT_EQ(prefsAnswers.calls.back(), "color Default Text Color");
    EXPECT_EQ(ConfigGetColor(1), 0x123456u);
    Change(PREFS_COLORS, record, PC_GRADIENTS, 1);
    EXPECT_TRUE(g_viewOptions2 & VIEW2_GRADIENTS);
    PrefsCancel(PREFS_COLORS, &record);
    EXPECT_EQ(ConfigGetColor(1), 0u);
    EXPECT_FALSE(g_viewOptions2 & VIEW2_GRADIENTS);

    ConfigSetColor(4, 0x1);
    VxAlertAnswer(7);
    PrefsColorReset();
    EXPECT_EQ(ConfigGetColor(4), 0x1u) << "No keeps the colours";
    EXPECT_EQ(VxAlerts().back().text, "Are you sure you want to return to the default color settings?");
    VxAlertAnswer(6);
    PrefsColorReset();
    EXPECT_EQ(ConfigGetColor(4), defaults.colors[4]);
}

TEST_F(PrefsViewTest, CharacterSpacing) {
    PrefsRecord record;
    PrefsSpacingCreate(&record);
    EXPECT_EQ(record.values[0], '1');
    record.values[0] = 0;
    record.values[1] = 'W';
    record.values[4] = 1;
    PrefsSpacingApply(&record);
    EXPECT_EQ(g_spaceWidthChar, 0);
    EXPECT_EQ(g_delimWidthChar, 'W');
    EXPECT_TRUE(g_viewOptions2 & VIEW2_SMALL_LEADING);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"spacing"}));
}

} // namespace
