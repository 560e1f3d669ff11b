// Fonts and their cache: descriptions (case-blind faces, the 30-character face cut, LOGFONT both ways, the
// character-set class), the zoom of screen fonts (its clamp, freeing, the bold copy that keeps its size, the
// remote scale set by the probe), measuring (leading cut, narrow punctuation, code pages and the ASCII-safe
// flag), releasing handles beyond the 21 most recent fonts, and the stamp of freed records.
#include "ui/font.h"

#include "base/heap.h"
#include "base/reg.h"
#include "base/num.h"
#include "base/sysprobe.h"
#include "ui/draw.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

FontDesc Desc(const char *face, int32_t size, uint16_t style = 0, uint8_t charset = 0) {
    FontDesc desc;
    FontDescInit(&desc, face, size);
    desc.style = style;
    desc.charset = charset;
    return desc;
}

LONG HeightOf(HFONT font) {
    LOGFONTA logFont = {};
    GetObjectA(font, sizeof logFont, &logFont);
    return logFont.lfHeight;
}

class FontTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        FontInit();
    }
    void TearDown() override {
        FontExit();
        FontSetZoom(100);
        FontSetKeepLeading(false);
        FontSetMeasureChars('x', ' ');
        DrawExit();
    }
};

} // namespace

TEST_F(FontTest, FacesDifferingInCaseShareRecord) {
    FontDesc a = Desc("Courier New", 40), b = Desc("COURIER NEW", 40);
    FontRecord *record = FontGet(DRAW_SCREEN, &a);
    EXPECT_EQ(FontGet(DRAW_SCREEN, &b), record);
    EXPECT_NE(record->font, nullptr);
    FontDesc bold = Desc("Courier New", 40, FONT_BOLD), other = Desc("Courier New", 40, 0, 1);
    EXPECT_NE(FontGet(DRAW_SCREEN, &bold), record);
    EXPECT_NE(FontGet(DRAW_SCREEN, &other), record);
    EXPECT_NE(FontGet(DRAW_PRINTER, &a), record);
}

TEST_F(FontTest, FaceWithoutNulIsCutAt30) {
    FontDesc stored;
    memset(&stored, 0, sizeof stored);
    memset(stored.face, 'a', sizeof stored.face); // 31 bytes, no NUL
    stored.size = 40;
    LOGFONTA logFont;
    FontDescToLogFont(DRAW_SCREEN, &stored, &logFont);
    EXPECT_EQ(strlen(logFont.lfFaceName), 30u);
    FontDesc thirty = Desc("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 40);
    EXPECT_TRUE(FontDescEqual(&stored, &thirty));
    EXPECT_EQ(FontGet(DRAW_SCREEN, &stored)->desc.face[30], 0);
    memset(logFont.lfFaceName, 'b', 31);
    logFont.lfFaceName[31] = 0;
    FontDesc back;
    FontDescFromLogFont(DRAW_SCREEN, &logFont, &back);
    EXPECT_EQ(strlen(back.face), 30u);
}

TEST_F(FontTest, LogFontBothWays) {
    FontDesc desc = Desc("@Arial", 48, FONT_BOLD | FONT_ITALIC | FONT_UNDERLINE | 0x3100, 0);
    LOGFONTA logFont;
    FontDescToLogFont(DRAW_SCREEN, &desc, &logFont);
    EXPECT_STREQ(logFont.lfFaceName, "Arial");
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    EXPECT_TRUE(logFont.lfItalic && logFont.lfUnderline && !logFont.lfStrikeOut);
    EXPECT_EQ(logFont.lfPitchAndFamily, 0x31);
    EXPECT_EQ(logFont.lfHeight, -NumMulDiv(48, drawMetrics.dpiY, 288));
    logFont.lfWeight = 599;
    logFont.lfPitchAndFamily = 0xFF;
    logFont.lfCharSet = 161;
    FontDesc back;
    FontDescFromLogFont(DRAW_SCREEN, &logFont, &back);
    EXPECT_EQ(back.style, FONT_ITALIC | FONT_UNDERLINE | 0x7300);
    EXPECT_EQ(back.size, 48);
    EXPECT_EQ(back.charset, 161);
    EXPECT_STREQ(back.face, "Arial");
    EXPECT_EQ(FontSizeToPoints(41), 10);
    EXPECT_EQ(FontSizeToPoints(42), 11);
}

TEST_F(FontTest, CharacterSetFromClass) {
    struct Case {
        int charsetClass;
        uint8_t charset;
        BYTE expected;
    } cases[] = {{0, 0, ANSI_CHARSET},
                 {1, 0, DEFAULT_CHARSET},
                 {2, 0, SYMBOL_CHARSET},
                 {7, 0, OEM_CHARSET},
                 {7, 128, SHIFTJIS_CHARSET}};
    for (const Case &c : cases) {
        FontDesc desc = Desc("Courier New", 40, (uint16_t)(c.charsetClass << FONT_CLASS_SHIFT), c.charset);
        LOGFONTA logFont;
        FontDescToLogFont(DRAW_SCREEN, &desc, &logFont);
        EXPECT_EQ(logFont.lfCharSet, c.expected) << c.charsetClass << " " << (int)c.charset;
    }
}

TEST_F(FontTest, ZoomScalesScreenFontsWithinLimits) {
    EXPECT_EQ(FontSetZoom(50), 100);
    EXPECT_EQ(FontZoomedSize(DRAW_SCREEN, 3), 2);
    EXPECT_EQ(FontZoomedSize(DRAW_SCREEN, 1), 2);
    EXPECT_EQ(FontSetZoom(400), 50);
    EXPECT_EQ(FontZoomedSize(DRAW_SCREEN, 300), 1000);
    EXPECT_EQ(FontZoomedSize(DRAW_PRINTER, 300), 300);
    FontDesc desc = Desc("Arial", 300);
    HFONT font = FontCreate(DRAW_SCREEN, &desc);
    EXPECT_EQ(HeightOf(font), -NumMulDiv(1000, drawMetrics.dpiY, 288));
    DeleteObject(font);
    EXPECT_EQ(FontSetZoom(0), 400);
    EXPECT_EQ(FontSetZoom(0), 400);
}

TEST_F(FontTest, ZoomChangeRemakesScreenFonts) {
    FontDesc desc = Desc("Arial", 40);
    LONG plain = HeightOf(FontGet(DRAW_SCREEN, &desc)->font);
    FontSetZoom(200);
    EXPECT_EQ(HeightOf(FontGet(DRAW_SCREEN, &desc)->font), -NumMulDiv(80, drawMetrics.dpiY, 288));
    EXPECT_NE(plain, -NumMulDiv(80, drawMetrics.dpiY, 288));
}

TEST_F(FontTest, BoldCopyKeepsZoomedHeight) {
    FontSetZoom(200);
    FontDesc desc = Desc("Arial", 40);
    HFONT font = FontCreate(DRAW_SCREEN, &desc);
    HFONT bold = FontCreateBold(DRAW_SCREEN, DRAW_SCREEN, font);
    EXPECT_EQ(HeightOf(bold), HeightOf(font));
    LOGFONTA logFont = {};
    GetObjectA(bold, sizeof logFont, &logFont);
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    DeleteObject(bold);
    DeleteObject(font);
}

TEST_F(FontTest, RemoteScaleSetsZoomAtProbe) {
    FontInstallHooks();
    SysProbe(nullptr);
    EXPECT_EQ(FontSetZoom(0), 100);
    UiRemoteSession({{"RemoteScalePercent", 150}});
    SysProbe(nullptr);
    EXPECT_EQ(FontSetZoom(0), 150);
}

TEST_F(FontTest, LeadingCutUnlessKept) {
    FontDesc desc = Desc("Times New Roman", 48);
    TEXTMETRICA cut = FontGet(DRAW_SCREEN, &desc)->metrics;
    EXPECT_FALSE(FontSetKeepLeading(true));
    FontRecord *kept = FontGet(DRAW_SCREEN, &desc);
    int32_t half = (kept->metrics.tmInternalLeading + 1) / 2;
    EXPECT_EQ(cut.tmHeight, kept->metrics.tmHeight - half);
    EXPECT_EQ(cut.tmAscent, kept->metrics.tmAscent - half);
    EXPECT_EQ(cut.tmInternalLeading, kept->metrics.tmInternalLeading - half);
    EXPECT_EQ(kept->lineHeight, kept->metrics.tmHeight + kept->metrics.tmExternalLeading);
    EXPECT_EQ(FontLineHeight(DRAW_SCREEN, kept->font), kept->lineHeight);
}

TEST_F(FontTest, NarrowPunctuationAndMeasuringCharacters) {
    FontSetMeasureChars('0', 'W');
    FontDesc plain = Desc("Arial", 40), narrow = Desc("Arial", 40, FONT_NARROW_PUNCT);
    FontRecord *p = FontGet(DRAW_SCREEN, &plain);
    EXPECT_EQ(p->avgWidth, p->widths['0']);
    EXPECT_EQ(p->secondWidth, p->widths[' ']);
    EXPECT_EQ(p->widths[0], 0);
    EXPECT_TRUE(p->abcValid);
    FontRecord *n = FontGet(DRAW_SCREEN, &narrow);
    for (unsigned char c : {'!', '-', '/', '|'}) EXPECT_EQ(n->widths[c], n->avgWidth) << c;
    EXPECT_EQ(n->secondWidth, n->widths['W']);
}

TEST_F(FontTest, CodePagesAndAsciiSafety) {
    struct Case {
        uint8_t charset;
        uint32_t codePage;
        bool asciiSafe;
    } cases[] = {{SHIFTJIS_CHARSET, 932, true},
                 {HANGUL_CHARSET, 1252, true},
                 {RUSSIAN_CHARSET, 1251, true},
                 {0, 0, true}};
    for (const Case &c : cases) {
        FontDesc desc = Desc("Arial", 40, 0, c.charset);
        FontRecord *record = FontGet(DRAW_SCREEN, &desc);
        EXPECT_EQ(record->codePage, c.codePage) << (int)c.charset;
        EXPECT_EQ(record->asciiSafe, c.asciiSafe) << (int)c.charset;
    }
    struct Table {
        int charset;
        uint32_t codePage;
    } table[] = {{128, 932},  {130, 1361}, {136, 936},  {161, 1253}, {162, 1254}, {163, 874},
                 {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874},  {238, 1250},
                 {0, 1252},   {129, 1252}, {134, 1252}, {255, 1252}};
    for (const Table &t : table) EXPECT_EQ(CharsetToCodePage(t.charset), t.codePage) << t.charset;
}

TEST_F(FontTest, ReleaseKeepsHandlesOf21MostRecent) {
    FontRecord *records[23];
    for (int i = 0; i < 23; i++) {
        FontDesc desc = Desc("Arial", 40 + i);
        records[i] = FontGet(DRAW_SCREEN, &desc);
    }
    FontRelease();
    EXPECT_EQ(records[0]->font, nullptr); // the oldest two lie beyond the first 21
    EXPECT_EQ(records[1]->font, nullptr);
    for (int i = 2; i < 23; i++) EXPECT_NE(records[i]->font, nullptr) << i;
    FontDesc oldest = Desc("Arial", 40);
    EXPECT_EQ(FontGet(DRAW_SCREEN, &oldest), records[0]);
    EXPECT_NE(records[0]->font, nullptr);
    FontTrim(DRAW_PRINTER, 0); // screen fonts are not the printer's
    EXPECT_NE(records[2]->font, nullptr);
    FontTrim(FONT_ALL_DEVICES, 30); // fewer records than kept: nothing
    EXPECT_NE(records[2]->font, nullptr);
}

TEST_F(FontTest, FreeDeviceLeavesOtherDevice) {
    FontDesc desc = Desc("Arial", 40);
    FontRecord *screen = FontGet(DRAW_SCREEN, &desc);
    FontGet(DRAW_PRINTER, &desc);
    FontFreeDevice(DRAW_PRINTER);
    EXPECT_EQ(FontGet(DRAW_SCREEN, &desc), screen);
}

TEST_F(FontTest, DefaultRecordWhenNoneCanBeMade) {
    HeapFailNth(1);
    FontDesc desc = Desc("Arial", 40);
    FontRecord *record = FontGet(DRAW_SCREEN, &desc);
    HeapFailNth(0);
    EXPECT_EQ(record->font, (HFONT)GetStockObject(DEVICE_DEFAULT_FONT));
    EXPECT_GT(record->lineHeight, 0);
    EXPECT_NE(FontGet(DRAW_SCREEN, &desc), record);
}

TEST_F(FontTest, RecordStampRisesWhenRecordsAreFreed) {
    FontDesc desc = Desc("Arial", 40);
    FontRecord *record = FontGet(DRAW_SCREEN, &desc);
    uint32_t stamp = FontRecordStamp();
    FontTrim(FONT_ALL_DEVICES, 0);
    EXPECT_EQ(FontRecordStamp(), stamp) << "released handles keep the records";
    EXPECT_EQ(FontGet(DRAW_SCREEN, &desc), record);
    FontFreeDevice(DRAW_SCREEN);
    EXPECT_NE(FontRecordStamp(), stamp);
}
