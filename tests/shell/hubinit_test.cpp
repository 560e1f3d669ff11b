// Start-up, the frame window and the services used by the library and the document core:
// - the frame window: the class registers, the window is titled "Veltrix", closing it ends the loop with 0;
// - the day count of the backup purge (years of 365 days, months of 30, never negative);
// - temporary files from the "TFXXXXXX" template: unique, empty, open, and never taking an existing name;
// - the flagged input-pending test.
#include "shell/hubinit.h"

#include "base/file.h"
#include "base/inputpend.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

SYSTEMTIME Date(int year, int month, int day) {
    SYSTEMTIME t = {};
    t.wYear = (WORD)year;
    t.wMonth = (WORD)month;
    t.wDay = (WORD)day;
    t.wHour = 23; // the time of day plays no part
    return t;
}

TEST(HubDaysBetween, CountsYearsMonthsAndDays) {
    struct Case {
        SYSTEMTIME now, then;
        int32_t expected;
    } cases[] = {
        {Date(2024, 5, 10), Date(2024, 5, 10), 0},
        {Date(2024, 5, 10), Date(2024, 5, 3), 7},
        {Date(2024, 3, 1), Date(2024, 2, 28), 3},  // a month is 30 days
        {Date(2025, 1, 1), Date(2024, 12, 31), 5}, // and a year 365
        {Date(2024, 5, 10), Date(2023, 5, 10), 365},
        {Date(2024, 5, 10), Date(2024, 6, 1), 0}, // a date after now is not negative
        {Date(1999, 1, 1), Date(2024, 1, 1), 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DaysBetween(&c.now, &c.then), c.expected)
            << c.now.wYear << "-" << c.now.wMonth << "-" << c.now.wDay << " / " << c.then.wYear << "-"
            << c.then.wMonth << "-" << c.then.wDay;
    }
}

class HubTempFile : public testing::Test {
protected:
    void SetUp() override {
        folder = VxTempDir();
        HubSetTempDir(folder.c_str());
    }
    void TearDown() override { HubSetTempDir(""); }
    std::string folder;
};

TEST_F(HubTempFile, NamesAreUniqueAndFilesEmpty) {
    std::set<std::string> names;
    int files[5];
    for (int &file : files) {
        char path[256] = {};
        file = MakeTempFile(path);
        ASSERT_GE(file, 0);
        std::string p = path;
        ASSERT_EQ(p.substr(0, folder.size() + 1), folder + "\\");
        std::string name = p.substr(folder.size() + 1);
        EXPECT_EQ(name.substr(0, 3), "TFX") << "the template's first three characters lead the name";
        EXPECT_EQ(FileGetSize(file), 0u);
        EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
        names.insert(p);
    }
    EXPECT_EQ(names.size(), 5u);
    ASSERT_TRUE(FileWriteExact(files[0], "data", 4));
    for (int file : files) FileClose(file);

    int file = MakeTempFile(nullptr);
    EXPECT_GE(file, 0);
    FileClose(file);

    char path[256];
    HubSetTempDir((folder + "\\no such folder").c_str());
    EXPECT_EQ(MakeTempFile(path), -1);
    EXPECT_STREQ(path, "<temp file>");
}

TEST(HubInputPendingIf, OnlyWhenAsked) {
    InputPendingReset();
    InputPendingInterrupt();
    EXPECT_EQ(InputPendingIf(0), 0);
    EXPECT_EQ(InputPendingIf(1), 1);
    InputPendingReset();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(InputPendingIf(1), 0);
}

TEST(HubFrame, ClosingTheFrameEndsTheLoopWithZero) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(HubRegisterFrameClass(instance));
    HWND frame = HubCreateFrame(instance, SW_SHOWNOACTIVATE);
    ASSERT_NE(frame, nullptr);
    char title[64];
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Veltrix");
    char cls[64];
    GetClassNameA(frame, cls, sizeof cls);
    EXPECT_STREQ(cls, "vx_Frame");
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(HubMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(frame));
}

} // namespace
