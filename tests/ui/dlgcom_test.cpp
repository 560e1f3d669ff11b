// The common dialogs through their table of system calls, answered with filled buffers:
// - open: the folder it starts in (a full path's, "." for a bare name), the record's size (the version-4
//   size below NT 5), flags, the default extension added only to a name without one, several files as full
//   paths and one as one, the filter index both ways, Cancel leaving the path alone, the layers' open hook;
// - save: size, flags, the owner, the default extension handed on, the filter index;
// - font: screen and printer fonts (dropped without a printer, the screen's offered when nothing is left)
//   and the font description round trip; colour: sixteen white custom colours, the colour both ways;
// - folder: an existing folder answers, a missing one or one without a path does not; the item list is freed.
#include "ui/dlgcom.h"

#include "base/path.h"
#include "base/stl.h"
#include "support/vxtest.h"
#include "ui/draw.h"
#include "ui/font.h"
#include "ui/printtest.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// What the fake dialogs saw and what they answer.
struct Seen {
    DWORD size = 0, flags = 0, filterIndex = 0;
    std::string folder, title, defaultExt, file;
    HWND owner = nullptr;
    HDC dc = nullptr;
    std::vector<COLORREF> custom;
    COLORREF color = 0; // the colour the colour dialog starts at
    int freed = 0;
};
Seen seen;
bool answerOk;
std::string answerBuffer; // NULs included
DWORD answerFilterIndex;
LOGFONTA answerFont;
std::string answerFolder; // "" : the item has no path

bool FakeFile(tagOFNA *ofn) {
    seen.size = ofn->lStructSize;
    seen.flags = ofn->Flags;
    seen.folder = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
    seen.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";
    seen.defaultExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    seen.file = ofn->lpstrFile;
    seen.owner = ofn->hwndOwner;
    seen.filterIndex = ofn->nFilterIndex;
    if (!answerOk) return false;
    memcpy(ofn->lpstrFile, answerBuffer.data(), answerBuffer.size());
    ofn->nFilterIndex = answerFilterIndex;
    return true;
}

bool FakeFont(tagCHOOSEFONTA *cf) {
    seen.size = cf->lStructSize;
    seen.flags = cf->Flags;
    seen.dc = cf->hDC;
    if (answerOk) *cf->lpLogFont = answerFont;
    return answerOk;
}

bool FakeColor(tagCHOOSECOLORA *cc) {
    seen.flags = cc->Flags;
    seen.custom.assign(cc->lpCustColors, cc->lpCustColors + 16);
    seen.color = cc->rgbResult;
    cc->rgbResult = RGB(1, 2, 3);
    return answerOk;
}

ITEMIDLIST fakeItem;

_ITEMIDLIST *FakeBrowse(_browseinfoA *bi) {
    seen.flags = bi->ulFlags;
    seen.title = bi->lpszTitle ? bi->lpszTitle : "";
    return answerOk ? &fakeItem : nullptr;
}

bool FakePathOf(const _ITEMIDLIST *, char *path) {
    strcpy(path, answerFolder.c_str());
    return !answerFolder.empty();
}

void FakeFree(_ITEMIDLIST *) {
    seen.freed++;
}

uint32_t FakeError() {
    return 0;
}

const AskDialogCalls fakeCalls = {FakeFile,   FakeFile,   FakeFont, FakeColor,
                                  FakeBrowse, FakePathOf, FakeFree, FakeError};

class AskTest : public testing::Test {
protected:
    void SetUp() override {
        seen = Seen{};
        answerOk = true;
        answerBuffer.clear();
        answerFilterIndex = 0;
        answerFolder.clear();
        AskSetDialogCalls(&fakeCalls);
        AskSetOpenHook(nullptr); // the dialogs themselves
        AskSetSaveHook(nullptr);
    }
    static void Answer(const std::string &buffer) { answerBuffer = buffer + std::string(2, '\0'); }
};

// ---- Open

TEST_F(AskTest, OpenStartsInThePathsFolder) {
    struct Case {
        const char *path, *folder;
    };
    const Case cases[] = {{"C:\\src\\a.c", "C:\\src"}, {"a.c", "."}, {"C:\\a.c", "C:\\"}};
    for (const Case &c : cases) {
        char path[256];
        strcpy(path, c.path);
        answerOk = false;
        EXPECT_FALSE(AskOpenFile("Open File", nullptr, nullptr, path));
        EXPECT_EQ(seen.folder, c.folder) << c.path;
        EXPECT_EQ(seen.file, c.path) << "the name it starts with";
        EXPECT_STREQ(path, c.path) << "Cancel leaves the path";
    }
}

TEST_F(AskTest, OpenRecordSizeAndFlags) {
    char path[256] = "a.c";
    Answer("C:\\src\\b.c");
    ASSERT_TRUE(AskOpenFile(nullptr, nullptr, nullptr, path));
    EXPECT_EQ(seen.size, sizeof(OPENFILENAMEA)) << "the system's own record";
    EXPECT_EQ(seen.title, "Open");
    EXPECT_EQ(seen.flags, (DWORD)(OFN_HIDEREADONLY | OFN_EXPLORER | OFN_FILEMUSTEXIST));
    Stl *list = StlCreate(4);
    ASSERT_TRUE(AskOpenFileEx("Add Files", nullptr, nullptr, path, list, false, nullptr));
    EXPECT_EQ(seen.flags, (DWORD)(OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ALLOWMULTISELECT));
    StlFree(list);

    UiSystemVersion(4, 0);
    ASSERT_TRUE(AskOpenFile(nullptr, nullptr, nullptr, path));
    EXPECT_EQ(seen.size, (DWORD)OPENFILENAME_SIZE_VERSION_400A) << "the older record below NT 5";
}

TEST_F(AskTest, OpenAddsTheDefaultExtensionToANameWithoutOne) {
    struct Case {
        const char *chosen, *ext, *result;
    };
    const Case cases[] = {
        {"C:\\src\\b", "c", "C:\\src\\b.c"},
        {"C:\\src\\b", ".c", "C:\\src\\b.c"},
        {"C:\\src\\b.h", "c", "C:\\src\\b.h"},
        {"C:\\src\\b", nullptr, "C:\\src\\b"},
    };
    for (const Case &c : cases) {
        char path[256] = "";
        Answer(c.chosen);
        ASSERT_TRUE(AskOpenFile(nullptr, nullptr, c.ext, path)) << c.chosen;
        EXPECT_STREQ(path, c.result) << c.chosen;
    }
    EXPECT_EQ(seen.defaultExt, "") << "no extension: none handed on";
}

std::vector<std::string> Names(const Stl *list) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < StlCount(list); i++) {
        unsigned char pstr[256];
        StlGetString(list, i, pstr);
        names.emplace_back((const char *)pstr + 1, pstr[0]);
    }
    return names;
}

TEST_F(AskTest, SeveralFilesComeAsFullPaths) {
    char path[256] = "C:\\src\\a.c";
    int filter = 2;
    Stl *list = StlCreate(4);
    Answer(std::string("C:\\src\0a\0b.h\0c", 14));
    answerFilterIndex = 3;
    ASSERT_TRUE(AskOpenFileEx(nullptr, "C (*.c)\0*.c\0", "c", path, list, true, &filter));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"C:\\src\\a.c", "C:\\src\\b.h", "C:\\src\\c.c"}));
    EXPECT_EQ(seen.filterIndex, 2u);
    EXPECT_EQ(filter, 3);
    EXPECT_STREQ(path, "C:\\src\\a.c") << "the list gets the names";

    StlClear(list);
    Answer("C:\\src\\one.c");
    ASSERT_TRUE(AskOpenFileEx(nullptr, nullptr, "c", path, list, true, nullptr));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"C:\\src\\one.c"}));
    StlFree(list);
}

int HookOpen(const char *, const char *, const char *, char *path) {
    strcpy(path, "C:\\picked\\x");
    return 1;
}

TEST_F(AskTest, OpenHookStandsForTheDialog) {
    AskSetOpenHook(HookOpen);
    char path[256] = "a.c";
    Stl *list = StlCreate(2);
    ASSERT_TRUE(AskOpenFileEx(nullptr, nullptr, "txt", path, list, true, nullptr));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"C:\\picked\\x.txt"}));
    EXPECT_EQ(seen.size, 0u) << "the system was not asked";
    StlFree(list);
}

// ---- Save

TEST_F(AskTest, SaveRecordFlagsAndOwner) {
    HWND focus = UiPopup(0, 0, 50, 50);
    SetFocus(focus);
    char path[256] = "C:\\out\\a.out";
    int filter = 1;
    Answer("C:\\out\\b.out");
    answerFilterIndex = 2;
    ASSERT_TRUE(AskSaveFile(nullptr, nullptr, ".out", path, &filter));
    EXPECT_STREQ(path, "C:\\out\\b.out");
    EXPECT_EQ(filter, 2);
    EXPECT_EQ(seen.size, sizeof(OPENFILENAMEA));
    EXPECT_EQ(seen.flags, 0x8806u);
    EXPECT_EQ(seen.title, "Save As");
    EXPECT_EQ(seen.folder, "C:\\out");
    EXPECT_EQ(seen.defaultExt, "out");
    if (GetFocus() == focus) {
        EXPECT_EQ(seen.owner, focus) << "owned by the focus window";
    }
    answerOk = false;
    EXPECT_FALSE(AskSaveFile("Output File", nullptr, nullptr, path, nullptr));
    EXPECT_EQ(seen.title, "Output File");
    DestroyWindow(focus);
}

// ---- Font and colour

TEST_F(AskTest, FontKinds) {
    LOGFONTA font = {};
    answerOk = false;
    EXPECT_FALSE(AskFont(nullptr, &font, true, false));
    EXPECT_EQ(seen.size, sizeof(CHOOSEFONTA));
    EXPECT_EQ(seen.flags, (DWORD)(CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS));

    PrintTestScript noPrinter;
    noPrinter.noProfile = true;
    PrintTestInstall(noPrinter);
    AskFont(nullptr, &font, true, true);
    EXPECT_EQ(seen.flags, (DWORD)(CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS)) << "no printer: dropped";
    AskFont(nullptr, &font, false, true);
    EXPECT_EQ(seen.flags, (DWORD)(CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS)) << "nothing else left";

    PrintTestInstall();
    AskFont(nullptr, &font, true, true);
    EXPECT_EQ(seen.flags, (DWORD)(CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_PRINTERFONTS));
    EXPECT_NE(seen.dc, nullptr) << "the printer's context";
}

TEST_F(AskTest, FontDescriptionRoundTrip) {
    ASSERT_TRUE(DrawInit(nullptr));
    FontDesc desc;
    FontDescInit(&desc, "Courier New", 40);
    desc.style |= FONT_NARROW_PUNCT;
    answerFont = {};
    answerFont.lfHeight = -16;
    answerFont.lfWeight = FW_BOLD;
    strcpy(answerFont.lfFaceName, "Arial");
    ASSERT_TRUE(AskFontDesc("Font", DRAW_SCREEN, &desc));
    char face[31];
    EXPECT_STREQ(FontDescFace(&desc, face), "Arial");
    EXPECT_TRUE(desc.style & FONT_BOLD);
    EXPECT_TRUE(desc.style & FONT_NARROW_PUNCT) << "the dialog knows nothing of it";
    EXPECT_EQ(desc.size, 16 * 288 / drawMetrics.dpiY) << "quarter points of 16 pixels";
    answerOk = false;
    EXPECT_FALSE(AskFontDesc("Font", DRAW_SCREEN, &desc));
    EXPECT_STREQ(FontDescFace(&desc, face), "Arial") << "Cancel leaves it";
    DrawExit();
}

TEST_F(AskTest, ColorStartsAtTheCallersColour) {
    Color color = RGB(9, 8, 7);
    ASSERT_TRUE(AskColor(nullptr, &color));
    EXPECT_EQ(color, (Color)RGB(1, 2, 3));
    EXPECT_EQ(seen.color, RGB(9, 8, 7));
    EXPECT_EQ(seen.flags, (DWORD)(CC_RGBINIT | CC_FULLOPEN));
    EXPECT_EQ(seen.custom, std::vector<COLORREF>(16, RGB(255, 255, 255)));
    answerOk = false;
    color = RGB(9, 8, 7);
    EXPECT_FALSE(AskColor(nullptr, &color));
    EXPECT_EQ(color, (Color)RGB(9, 8, 7));
}

// ---- Folders

TEST_F(AskTest, OnlyAnExistingFolderAnswers) {
    std::string existing = VxTempDir();
    char path[256] = "C:\\start";
    answerFolder = existing;
    ASSERT_TRUE(AskFolder("Project Folder", path));
    EXPECT_EQ(std::string(path), existing);
    EXPECT_EQ(seen.title, "Project Folder");
    EXPECT_TRUE(seen.flags & BIF_RETURNONLYFSDIRS);
    EXPECT_EQ(seen.freed, 1) << "the item list goes back to the shell";

    answerFolder = existing + "\\missing";
    EXPECT_FALSE(AskFolder(nullptr, path));
    answerFolder = ""; // a virtual folder: no path
    strcpy(path, "C:\\start");
    EXPECT_FALSE(AskFolder(nullptr, path));
    EXPECT_STREQ(path, "C:\\start");
    answerOk = false;
    EXPECT_FALSE(AskFolder(nullptr, path));
    EXPECT_EQ(seen.freed, 3);
}

} // namespace
