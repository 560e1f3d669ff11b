// Document types on Windows: a type's font of a face the system lacks describes the stock fixed font, a
// face the system has is kept (size in quarter points, printer as screen), and a buffer's font comes from
// the window library's font cache with its system font.
#include "doc/dta.h"

#include "ui/draw.h"
#include "ui/font.h"
#include "doctest.h"

#include <windows.h>

namespace {

using namespace doctest;

class DtaWinTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        ASSERT_TRUE(DrawInit(nullptr));
        FontInit();
    }
    void TearDown() override {
        DocTest::TearDown();
        DtaTableExit();
        FontExit();
        DrawExit();
    }
};

// The face the system makes for a request, read back from a DC.
std::string MadeFace(const char *face) {
    FontDesc desc;
    FontDescInit(&desc, face, 40);
    HFONT font = FontCreate(DRAW_SCREEN, &desc);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char made[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof made, made);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return made;
}

TEST_F(DtaWinTest, FaceTheSystemLacks) {
    DtaFont font;
    DtaFontInit(&font, "No Such Face Qwzx", 10);
    FontDesc stock;
    ASSERT_TRUE(FontFromStock(ANSI_FIXED_FONT, &stock));
    EXPECT_TRUE(FontDescEqual(&font.screen, &stock)) << font.screen.face << " for " << stock.face;
    EXPECT_TRUE(FontDescEqual(&font.printer, &stock));

    std::string present = MadeFace("Arial"); // whatever face the system makes stands for one it has
    ASSERT_FALSE(present.empty());
    DtaFontInit(&font, present.c_str(), 10);
    EXPECT_EQ(std::string(font.screen.face), present);
    EXPECT_EQ(font.screen.size, 40);
    EXPECT_TRUE(FontDescEqual(&font.screen, &font.printer));
}

TEST_F(DtaWinTest, BufferFontFromTheCache) {
    ASSERT_TRUE(DtaDefaults());
    FileBuffer *doc = Load("f.c", "x\r\n");
    FontDesc desc;
    DocGetFontDesc(doc, false, &desc);
    FontRecord *record = DocGetFont(doc, false);
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(FontDescEqual(&record->desc, &desc));
    EXPECT_EQ(record->device, DRAW_SCREEN);
    EXPECT_EQ(DocGetFontHandle(doc, false), (void *)record->font);
    EXPECT_NE(DocGetFontHandle(doc, false), nullptr);
}

} // namespace
