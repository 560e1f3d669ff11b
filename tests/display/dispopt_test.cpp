// Display settings: the defaults of the options record and of the colour record for both colour depths,
// colour access by index (outside the table: black, nothing set), and the reset.
#include "display/dispopt.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(DispOpt, Defaults) {
    DispReset();
    const DisplayOptions &o = DispOptions();
    EXPECT_TRUE(o.view & VIEW_SYNTAX_FORMATTING);
    EXPECT_TRUE(o.view & VIEW_SPECIAL_COMMENTS);
    EXPECT_FALSE(o.view & VIEW_MONOCHROME);
    EXPECT_EQ(o.decor, (uint32_t)(DECOR_END_COMMENTS | DECOR_LONG_BLOCKS));
    EXPECT_EQ(o.spaceWidthChar, '1');
    EXPECT_EQ(o.delimWidthChar, '1');
    DisplayColors few, many;
    DispColorsDefault(&few, false, 0x123456);
    DispColorsDefault(&many, true, 0x123456);
    EXPECT_EQ(few.magic, 1313u);
    EXPECT_EQ(few.count, 13u);
    EXPECT_EQ(few.colors[DISP_COLOR_SAVED_CHANGE], 0x00FF00u);
    EXPECT_EQ(many.colors[DISP_COLOR_SAVED_CHANGE], 0xBADDBDu);
    EXPECT_EQ(many.colors[DISP_COLOR_END_OF_FILE], 0xDCD6BCu);
    EXPECT_EQ(many.colors[DISP_COLOR_SELECTION_BAR], 0xE6E6E6u);
    EXPECT_EQ(few.colors[DISP_COLOR_APP_BACKGROUND], 0x123456u);
    EXPECT_EQ(few.reserved24[18], 0u);
}

TEST(DispOpt, ColoursByIndex) {
    DispReset();
    EXPECT_EQ(DispColor(DISP_COLOR_WINDOW), 0xFFFFFFu);
    EXPECT_STREQ(DispColorName(DISP_COLOR_PRINT_TEXT), "Printed Default Text");
    EXPECT_STREQ(DispColorName(13), "");
    DisplayColors before = DispColors();
    DispSetColor(13, 0x111111);
    DispSetColor(-1, 0x111111);
    EXPECT_EQ(memcmp(&before, &DispColors(), sizeof before), 0);
    EXPECT_EQ(DispColor(13), 0u);
    DispSetColor(DISP_COLOR_TEXT, 0x0000FF);
    EXPECT_EQ(DispColor(DISP_COLOR_TEXT), 0x0000FFu);
    DispReset();
    EXPECT_EQ(DispColor(DISP_COLOR_TEXT), 0u);
}
