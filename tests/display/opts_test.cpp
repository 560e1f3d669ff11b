// Options: the defaults of the option words and of the display options record (the display bits on, the
// syntax decorations and the symbol views off), the colour record's defaults for both colour depths, a fresh
// record of given colours (top bytes dropped, colours taken from the record itself), colour access by index
// (outside the table: black, "", nothing set), and the reset.
#include "display/opts.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Opts, Defaults) {
    OptReset();
    EXPECT_TRUE(g_viewOptions & VIEW_SYNTAX_FORMATTING);
    EXPECT_TRUE(g_viewOptions & VIEW_STATUS_BAR);
    EXPECT_TRUE(g_viewOptions & VIEW_WINDOWS_BY_TITLE);
    EXPECT_TRUE(g_viewOptions2 & VIEW2_VSCROLL);
    EXPECT_FALSE(g_viewOptions & (VIEW_COMMENT_STYLES | VIEW_INACTIVE_CODE | VIEW_DECLARATIONS |
                                  VIEW_LOCAL_REFERENCES | VIEW_MONOCHROME));
    EXPECT_FALSE(g_viewOptions2 & VIEW2_DRAFT);
    EXPECT_EQ(g_decorOptions, 0u);
    EXPECT_EQ(g_spaceWidthChar, '1');
    EXPECT_EQ(g_delimWidthChar, '1');
    DisplayOptions fresh;
    memset(&fresh, 0xFF, sizeof fresh);
    OptDisplayDefaults(&fresh);
    EXPECT_EQ(memcmp(&fresh, &g_displayOptions, sizeof fresh), 0) << "the reserved words zero";

    g_options = g_options2 = g_options3 = 0;
    OptSetDefaults();
    EXPECT_EQ(g_options,
              OPT_MATCH_PARENS | OPT_AUTO_COMPLETION | OPT_SHARING | OPT_BACKGROUND_RELOAD | OPT_ASK_RELOAD);
    EXPECT_EQ(g_options2, (uint32_t)OPT2_MAKE_BACKUPS);
    EXPECT_EQ(g_options3, OPT3_DRAG_DROP | OPT3_EVENT_HANDLERS | OPT3_PURGE_BACKUPS);
    EXPECT_EQ(g_backupDays, 200);
}

TEST(Opts, ColourDefaults) {
    ColorRecord few, many;
    OptColorDefaults(&few, false, 0x123456, 0x03320040);
    OptColorDefaults(&many, true, 0x123456, 0x03320040);
    EXPECT_EQ(few.magic, 1313u);
    EXPECT_EQ(few.version, 0x03320040u);
    EXPECT_EQ(few.count, 13u);
    EXPECT_EQ(few.colors[OPT_COLOR_SAVED_CHANGE], 0x00FF00u);
    EXPECT_EQ(many.colors[OPT_COLOR_SAVED_CHANGE], 0xBADDBDu);
    EXPECT_EQ(many.colors[OPT_COLOR_END_OF_FILE], 0xDCD6BCu);
    EXPECT_EQ(many.colors[OPT_COLOR_SELECTION_BAR], 0xE6E6E6u);
    EXPECT_EQ(few.colors[OPT_COLOR_APP_BACKGROUND], 0x123456u);
    EXPECT_EQ(few.reserved24[18], 0u);
}

TEST(Opts, RecordOfColours) {
    ColorRecord record;
    memset(&record, 0xAB, sizeof record);
    for (int32_t i = 0; i < OPT_COLOR_COUNT; i++) record.colors[i] = 0x01000000u * (uint32_t)i + (uint32_t)i;
    OptColorRecordMake(&record, record.colors, 7);
    EXPECT_EQ(record.magic, 1313u);
    EXPECT_EQ(record.version, 7u);
    EXPECT_EQ(record.count, 13u);
    EXPECT_EQ(record.reserved2[0], 0u);
    EXPECT_EQ(record.reserved24[18], 0u);
    for (int32_t i = 0; i < OPT_COLOR_COUNT; i++)
        EXPECT_EQ(record.colors[i], (uint32_t)i) << "colour " << i << " kept without its top byte";
}

TEST(Opts, ColoursByIndex) {
    OptReset();
    EXPECT_EQ(OptColor(OPT_COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_EQ(OptColor(OPT_COLOR_APP_BACKGROUND), 0x808080u);
    EXPECT_STREQ(OptColorName(OPT_COLOR_PRINT_TEXT), "Printed Default Text");
    EXPECT_STREQ(OptColorName(13), "");
    EXPECT_STREQ(OptColorName(-1), "");
    ColorRecord before = g_colorRecord;
    OptSetColor(13, 0x111111);
    OptSetColor(-1, 0x111111);
    EXPECT_EQ(memcmp(&before, &g_colorRecord, sizeof before), 0);
    EXPECT_EQ(OptColor(13), 0u);
    EXPECT_EQ(OptColor(-1), 0u);
    OptSetColor(OPT_COLOR_TEXT, 0x0000FF);
    EXPECT_EQ(OptColor(OPT_COLOR_TEXT), 0x0000FFu);
    g_viewOptions |= VIEW_MONOCHROME;
    OptReset();
    EXPECT_EQ(OptColor(OPT_COLOR_TEXT), 0u);
    EXPECT_FALSE(g_viewOptions & VIEW_MONOCHROME);
}
