// Errors: shown once until changed or cleared, the low-memory flag and hold count, error log lines; the
// alert and line-writer hooks (nothing shown or written while unset).
#include "base/erc.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

static const char ercTestOpen[] = "Cannot open file: %s";
static const char ercTestOther[] = "Cannot open file: %s"; // same text, a different error

TEST(Erc, ReportShowsOnceUntilChangedOrCleared) {
    ErcClear();
    VxAlertsReset();
    ErcSetF(ercTestOpen, "a.c");
    ErcReport();
    ErcSetF(ercTestOpen, "b.c");
    ErcReport();
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Error: Cannot open file: a.c");
    ErcSetF(ercTestOther, "c.c");
    ErcReport();
    ErcClear();
    ErcSetF(ercTestOpen, "d.c");
    ErcReport();
    ASSERT_EQ(VxAlerts().size(), 3u);
    EXPECT_EQ(VxAlerts()[2].text, "Error: Cannot open file: d.c");
    ErcClear();
    ErcReport();
    EXPECT_EQ(VxAlerts().size(), 3u);
}

TEST(Erc, TextAndClear) {
    char text[ERC_TEXT_MAX];
    ErcClear();
    strcpy(text, "junk");
    EXPECT_EQ(ErcGetText(text), 0);
    EXPECT_STREQ(text, "");
    std::string longArg(2000, 'x');
    ErcSetF(ercTestOpen, longArg.c_str());
    EXPECT_EQ(ErcGetText(text), 1);
    EXPECT_EQ(strlen(text), 511u) << "cut, never overrun";
    ErcSetSysF(1234, ercTestOpen, "z");
    EXPECT_EQ(ErcGetSysError(), 1234u);
    ErcClear();
    EXPECT_FALSE(ErcIsSet());
    EXPECT_EQ(ErcGetSysError(), 0u);
}

TEST(Erc, LowMemoryRule) {
    char text[ERC_TEXT_MAX];
    ErcClear();
    ErcSetLowMemory();
    EXPECT_FALSE(ErcLowMemorySeen());
    ErcSetSysAtF("mod", 7, ercLowMemory, 0);
    EXPECT_TRUE(ErcLowMemorySeen());
    ErcClearIfLowMemory();
    EXPECT_FALSE(ErcIsSet());

    ErcSetF(ercTestOpen, "kept.c");
    ErcHoldLowMemory();
    ErcSetSysF(0, ercLowMemory);
    EXPECT_EQ(ErcGet(), ercTestOpen);
    ErcGetText(text);
    EXPECT_STREQ(text, "Cannot open file: kept.c");
    EXPECT_FALSE(ErcLowMemorySeen());
    ErcSetF(ercLowMemory);
    EXPECT_EQ(ErcGet(), ercLowMemory) << "the plain setter ignores the hold";
    ErcReleaseLowMemory();
    ErcClearIfLowMemory();
    EXPECT_EQ(ErcGet(), ercLowMemory) << "ErcSetF does not raise the flag";
    ErcClear();
}

TEST(Erc, ErrorLogLine) {
    ErcClear();
    VxLogCaptureStart();
    ErcSetSysAtF("file.cpp", 42, ercTestOpen, 5, "x.c");
    ErcSetAt(nullptr, 0, ercTestOther);
    std::vector<std::string> lines = VxLogCaptureStop();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "ERROR! Cannot open file: x.c : system error=5, module=file.cpp line 42");
    EXPECT_EQ(lines[1].rfind("ERROR! Cannot open file: %s : system error=", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("module=(null) line 0"), std::string::npos);
    ErcClear();
}

static std::vector<std::string> ercShown, ercWritten;
static void ErcTestAlert(const char *message) {
    ercShown.push_back(message);
}
static void ErcTestWriter(const char *line) {
    ercWritten.push_back(line);
}

TEST(Erc, HooksReachTheirFakesAndAnswerNeutrallyWhenUnset) {
    ercShown.clear();
    ercWritten.clear();
    ErcClear();
    ErcSetAlertHook(ErcTestAlert);
    ErcSetLineWriter(ErcTestWriter);
    ErcSetAt("m.cpp", 3, ercTestOpen);
    ErcReport();
    ErcWriteLineF("n=%d", 4);
    EXPECT_EQ(ercShown, std::vector<std::string>{"Error: Cannot open file: %s"});
    ASSERT_EQ(ercWritten.size(), 2u);
    EXPECT_EQ(ercWritten[1], "n=4");

    ErcSetAlertHook(nullptr);
    ErcSetLineWriter(nullptr);
    ErcClear();
    VxAlertsReset();
    ErcSetAt("m.cpp", 4, ercTestOther);
    ErcReport();
    ErcWriteLine("lost");
    EXPECT_EQ(ercShown.size(), 1u);
    EXPECT_EQ(ercWritten.size(), 2u);
    EXPECT_TRUE(VxAlerts().empty());
    EXPECT_EQ(ErcGet(), ercTestOther) << "the error itself is kept";
    ErcClear();
}
