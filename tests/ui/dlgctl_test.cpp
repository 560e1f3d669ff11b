// The engine's own controls: the rule ("HLINE": its text, then an etched line at the text's middle to the
// right edge) and the user item ("USERITEM": painted through event 22, resizes reported as event 27);
// both are statics to the dialog manager.
#include "ui/dlgctl.h"

#include "ui/dlgtest.h"
#include "ui/draw.h"

#include <vector>

namespace {

struct Seen {
    int32_t event;
    int32_t code;
    void *ptr;
    intptr_t extra;
};
std::vector<Seen> seen;

intptr_t Callback(DlgObject *, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    if (event == DLG_EV_PAINT_USERITEM || event == DLG_EV_SIZE_USERITEM)
        seen.push_back({event, code, ptr, extra});
    return 0;
}

const DlgControl controls[] = {
    {{0, 1, 1, 40}, "Options", DLG_HLINE, 0, 10, 0, 0},
    {{2, 1, 3, 20}, nullptr, DLG_USERITEM, 0, 11, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
const DlgDesc desc = {{20, 60, 8, 50}, "Controls", Callback, DLG_ROW_FIRST | DLG_KEEP_POS, 0, controls};

class DlgCtlTest : public DlgFixture {
protected:
    void SetUp() override {
        DlgFixture::SetUp();
        seen.clear();
        data[0] = 0;
        dlg = DlgCreateModeless(&desc, 0, data, nullptr);
        ASSERT_NE(dlg, nullptr);
    }
    void TearDown() override {
        if (dlg) DestroyWindow(DlgGetWindow(dlg));
        DlgFixture::TearDown();
    }
    DlgSlot data[1];
    DlgObject *dlg = nullptr;
};

} // namespace

TEST_F(DlgCtlTest, RuleAfterItsText) {
    HWND rule = DlgGetControlWindow(dlg, 10);
    EXPECT_EQ(SendMessageA(rule, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    RedrawWindow(DlgGetWindow(dlg), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT client;
    GetClientRect(rule, &client);
    HDC dc = GetDC(rule);
    HGDIOBJ previous = SelectObject(dc, DlgGetFont());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SIZE text;
    GetTextExtentPoint32A(dc, "Options", 7, &text);
    int32_t y = tm.tmHeight / 2;
    COLORREF line = GetPixel(dc, client.right - 2, y), light = GetPixel(dc, client.right - 2, y + 1);
    COLORREF beforeText = GetPixel(dc, text.cx / 2, y + 1);
    bool inked = false;
    for (int x = 0; x < text.cx && !inked; x++)
        for (int row = 0; row < tm.tmHeight && !inked; row++)
            inked = GetPixel(dc, x, row) == drawMetrics.colorBtnText;
    SelectObject(dc, previous);
    ReleaseDC(rule, dc);
    EXPECT_EQ(line, drawMetrics.colorBtnShadow);
    EXPECT_EQ(light, RGB(255, 255, 255));
    EXPECT_NE(beforeText, RGB(255, 255, 255)) << "the line starts after the text";
    EXPECT_TRUE(inked) << "the text is drawn";
}

TEST_F(DlgCtlTest, UserItemPaintsAndSizesThroughTheCallback) {
    HWND item = DlgGetControlWindow(dlg, 11);
    EXPECT_EQ(SendMessageA(item, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    seen.clear();
    RedrawWindow(item, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, DLG_EV_PAINT_USERITEM);
    EXPECT_EQ(seen[0].code, 11);
    EXPECT_EQ(seen[0].ptr, item);
    EXPECT_NE(seen[0].extra, 0) << "the device context";
    seen.clear();
    SetWindowPos(item, nullptr, 0, 0, 70, 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, DLG_EV_SIZE_USERITEM);
    EXPECT_EQ(seen[0].extra, MAKELPARAM(70, 30));
}
